// The design checks of a solved calculation: the standard pipe size that is bought, and
// velocity, fullness, freeboard, near-critical flow and lining shear against their limits.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design/design_settings.h"
#include "core/design/standard_sizes.h"

namespace rivulet {

/// A solved section in base units (m, m/m, m³/s, m/s, Pa).
struct DesignInput {
  bool isPipe = false;
  double diameter = 0;
  double depth = 0;
  double slope = 0;
  double n = 0;
  double discharge = 0;
  double velocity = 0;
  /// None when the pipe runs full (no free surface).
  std::optional<double> froude;
  double maximumShear = 0;
  /// The family of the diameter's unit (inches or feet: US) picks the size list.
  UnitSystem sizeSystem = UnitSystem::SI;
  /// The family of the velocity's unit (a foot unit: US) picks the criteria.
  UnitSystem criteriaSystem = UnitSystem::SI;
};

/// One check. pass is empty when the check does not apply; value and limit are in unit
/// (the criteria system's: m/s or ft/s, m or ft, Pa or lb/ft², or none for ratios).
struct DesignCheck {
  std::string name;
  std::optional<bool> pass;
  std::optional<double> value;
  std::optional<double> limit;
  std::string unit;
  std::string text;
};

struct DesignResult {
  /// The size list used and the smallest size of it that carries the discharge within the
  /// depth ratio; both only for a pipe.
  std::optional<SizeList> list;
  std::optional<StandardSize> standard;
  /// Why no size was chosen, when none was.
  std::string sizeNote;
  std::vector<DesignCheck> checks;
  /// Every limit that applies is met (near-critical flow is a warning, not a limit).
  bool meetsLimits = true;
};

/// The checks of a solved section under the settings.
DesignResult EvaluateDesign(const DesignInput& input, const DesignSettings& settings);

/// The velocity, fullness, freeboard, near-critical and lining checks of a solved section
/// under criteria (those of input.criteriaSystem), without choosing a standard size.
std::vector<DesignCheck> LimitChecks(const DesignInput& input, const DesignCriteria& criteria);

/// "Pass", "Fail", "Warn" (near-critical flow) or "n/a": the mark of a check in words, so no
/// colour is needed to read it.
const char* CheckMark(const DesignCheck& check);

}  // namespace rivulet
