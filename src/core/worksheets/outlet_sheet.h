// The outlet structure worksheet (kind "outletStructure"): reads the devices list and the
// stages into the outlet rating and turns the rating into its table of records.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/structures/outlet.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The outlet structure kind: its devices list, stages and solve.
const WorksheetKind& OutletStructureKind();

/// What the rating is computed from, in base units.
struct OutletInputs {
  std::vector<OutletDevice> devices;
  double stageFrom = 0;
  double stageTo = 0;
  double stageStep = 0;
  std::optional<double> tailwaterElevation;
};

/// The devices and stages of an outlet document; throws WorksheetError naming the field
/// (the list, for a device) when one is missing or unreadable.
OutletInputs ReadOutletInputs(const Document& document);

/// The rating as CSV (comma-separated, "." decimals, CRLF): stage and total discharge, then
/// each device's discharge and regime, the units named in the header. A tab separator gives
/// what a spreadsheet takes from the clipboard.
std::string OutletRatingCsv(const OutletInputs& inputs, const OutletRating& rating,
                            const FileUnit& level, const FileUnit& discharge, char separator = ',');

/// What a solved outlet outcome carries for its window's drawing and curve.
struct OutletSolved {
  OutletInputs inputs;
  OutletRating rating;
};

}  // namespace rivulet
