// The design checks of the calculation sheet's last completed calculation, as the Flow
// Details panel, the details block of reports and the JSON output show them, and the
// "Use this size" command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design/design_checks.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

struct SheetDesign {
  DesignResult result;
  /// The results behind it are current (not modified since the calculation).
  bool current = true;
  /// The diameter was an input, not the unknown.
  bool diameterGiven = false;
  /// The diameter's list unit position, for writing a standard size back.
  int diameterUnit = 0;
  /// The design discharge (m³/s): the one asked for when the pipe surcharged.
  double discharge = 0;
  /// The sheet's units for the standard size's figures: list positions and names.
  int lengthUnit = 0;
  int velocityUnit = 0;
  int dischargeUnit = 0;
  std::string lengthName, velocityName, dischargeName;
  UnitSystem sizeSystem = UnitSystem::SI;
  UnitSystem criteriaSystem = UnitSystem::SI;
};

/// The checks of the primary solution; nullopt when no completed calculation stands behind
/// the sheet or it holds no water.
std::optional<SheetDesign> DesignOfSheet(const frmRivulet& form, const DesignSettings& settings);

/// A figure of the standard size in the sheet's units.
struct SizeFigure {
  std::string key;    ///< camelCase name for --json ("standardDiameterDepth")
  std::string label;  ///< "Depth"
  double value = 0;
  std::string unit;  ///< the sheet's unit name ("mm", "L/s", "%")
};

/// Diameter (in its list's unit), depth, velocity, percent full, full-flow capacity and
/// spare capacity of the standard size; empty when there is none.
std::vector<SizeFigure> StandardSizeFigures(const SheetDesign& design);

/// The design block that follows the flow details in a report, wrapped to width columns.
std::vector<std::string> DesignReportLines(const SheetDesign& design, size_t width);

/// The "design" member of a calculation's JSON object: standard size figures (null when
/// there is none) and the list of checks.
std::string DesignJson(const SheetDesign& design);

/// Writes the standard size into the diameter as an input (in the diameter's unit) and the
/// design discharge as the given flow (to 15 digits, switching the sheet to discharge first
/// when velocity was given), then recalculates with the depth as the unknown. False when
/// there is no size to use.
bool UseStandardSize(frmRivulet& form, const SheetDesign& design);

}  // namespace rivulet
