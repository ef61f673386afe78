// The design settings file RIVULET.DSN: the standard size lists (built-in and the user's),
// which list each unit system sizes from, and the criteria of each unit system. JSON,
// written beside the defaults file under the same folder rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/design/design_criteria.h"
#include "core/design/standard_sizes.h"

namespace rivulet {

inline constexpr char kDesignSettingsFileName[] = "RIVULET.DSN";
inline constexpr int kDesignSettingsVersion = 1;
/// Bounds that keep a hostile file from costing memory or time.
inline constexpr size_t kDesignSettingsMaxBytes = 1 << 20;
inline constexpr size_t kMaxSizeLists = 64;
inline constexpr size_t kMaxSizesPerList = 500;

struct DesignSettings {
  std::vector<SizeList> lists;
  std::string metricList;
  std::string usList;
  DesignCriteria metric;
  DesignCriteria us;

  /// The list chosen for the unit system (the built-in one when the name is not found).
  SizeList ListFor(UnitSystem system) const;
  const DesignCriteria& CriteriaFor(UnitSystem system) const;
};

/// The built-in lists, each chosen for its system, and the default criteria.
DesignSettings DefaultDesignSettings();

/// Reads the file's text into settings. Returns "" on success; otherwise a message naming
/// the field at fault, and settings is left as it was.
std::string ParseDesignSettings(std::string_view text, DesignSettings& settings);

/// The file's text for the settings (criteria in the units of their system: m/s, m, Pa or
/// ft/s, ft, lb/ft²).
std::string DesignSettingsText(const DesignSettings& settings);

}  // namespace rivulet
