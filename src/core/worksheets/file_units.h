// Units of worksheet files: one table per kind of quantity, each entry with its ASCII name
// in files, the symbol the windows show and its exact factor to the SI base unit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hydraulics/units.h"

namespace rivulet {

/// Kinds of quantity a worksheet reads or reports. Base units: m, m², m/s, m³/s, m/m, Pa;
/// side slope H:V (horizontal per vertical), angle degree, kinematic viscosity m²/s, time s,
/// rainfall intensity m/s, drainage area m², pressure Pa.
enum class Dimension {
  None,
  Length,
  Area,
  Velocity,
  Discharge,
  Slope,
  Shear,
  SideSlope,
  Angle,
  KinematicViscosity,
  Time,
  RainfallIntensity,
  DrainageArea,
  Pressure,
};

/// Every dimension with units, in a fixed order (for lookups over all of them).
inline constexpr Dimension kDimensionsWithUnits[] = {Dimension::Length,
                                                     Dimension::Area,
                                                     Dimension::Velocity,
                                                     Dimension::Discharge,
                                                     Dimension::Slope,
                                                     Dimension::Shear,
                                                     Dimension::SideSlope,
                                                     Dimension::Angle,
                                                     Dimension::KinematicViscosity,
                                                     Dimension::Time,
                                                     Dimension::RainfallIntensity,
                                                     Dimension::DrainageArea,
                                                     Dimension::Pressure};

/// How a unit's number becomes the base value.
enum class UnitRule {
  Scale,       ///< base = value × factor
  Reciprocal,  ///< "1:x": base = factor / value
  SlopeAngle,  ///< a side's angle from the horizontal in degrees: base H:V = cot(value)
};

/// One unit of a dimension.
struct FileUnit {
  std::string_view name;    ///< ASCII name as written in files ("ft3/s")
  std::string_view symbol;  ///< as shown in windows and reports ("ft³/s")
  double factor;            ///< base units per unit (or per 1/x when reciprocal)
  bool reciprocal = false;
  UnitRule rule = reciprocal ? UnitRule::Reciprocal : UnitRule::Scale;
};

/// The units of a dimension in list order; empty for Dimension::None.
const std::vector<FileUnit>& FileUnits(Dimension dimension);

/// The unit of a dimension named name in a file (aliases such as "cfs" included), if any.
const FileUnit* FindFileUnit(Dimension dimension, std::string_view name);

/// The unit of a dimension shown as symbol in a window (or named so in a file), if any.
const FileUnit* FindUnitBySymbol(Dimension dimension, std::string_view symbol);

/// The unit results of a dimension take in a unit system (SI m, m², m/s, m³/s, m/m, Pa,
/// H:V, degrees, m²/s, min, mm/h, ha, kPa; US ft, ft², ft/s, ft³/s, ft/ft, lb/ft², H:V,
/// degrees, ft²/s, min, in/h, ac, psi); nullptr for Dimension::None.
const FileUnit* SystemUnit(Dimension dimension, UnitSystem system);

/// The system a unit belongs to: SI (m, mm, L/s, ha...) or US (ft, in, gpm, ac...); nullopt
/// for a unit both use (%, 1:x, H:V, degrees, minutes).
std::optional<UnitSystem> SystemOfUnit(const FileUnit& unit);

/// The unit a value in unit takes when converted to system: unit itself when it belongs to
/// system or to both, else the system's unit of the dimension.
const FileUnit& ConvertedUnit(Dimension dimension, const FileUnit& unit, UnitSystem system);

/// "SI" or "US" as read from a file; nullopt for anything else.
std::optional<UnitSystem> ParseUnitSystem(std::string_view text);
std::string_view UnitSystemName(UnitSystem system);

/// A value in the unit converted to base units (1:x of 0 gives infinity; a side at 0° from
/// the horizontal gives infinity, at 90° gives 0).
double ToBase(const FileUnit& unit, double value);

/// A value in base units converted to the unit (a base slope of 0 in 1:x gives infinity).
double FromBase(const FileUnit& unit, double base);

/// The dimension's name in messages ("length", "discharge").
std::string_view DimensionName(Dimension dimension);

/// The file names of a dimension's units joined for a message ("m/m, ft/ft, %, permille, 1:x").
std::string UnitNameList(Dimension dimension);

}  // namespace rivulet
