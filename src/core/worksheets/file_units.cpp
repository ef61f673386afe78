#include "core/worksheets/file_units.h"

#include <cmath>
#include <numbers>

namespace rivulet {
namespace {

// Exact definitions: international foot and inch, US gallon, pound-force from the
// avoirdupois pound and standard gravity.
constexpr double kFoot = 0.3048;
constexpr double kInch = 0.0254;
constexpr double kUsGallon = 3.785411784e-3;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kPoundForce = 0.45359237 * 9.80665;
constexpr double kAcre = 43560.0 * kFoot * kFoot;  // the US survey acre's 43,560 ft²
constexpr double kPoundPerSquareInch = kPoundForce / (kInch * kInch);

const std::vector<FileUnit> kNone;
const std::vector<FileUnit> kLength{{"m", "m", 1.0},
                                    {"cm", "cm", 0.01},
                                    {"mm", "mm", 0.001},
                                    {"ft", "ft", kFoot},
                                    {"in", "in", kInch}};
const std::vector<FileUnit> kArea{{"m2", "m²", 1.0},
                                  {"cm2", "cm²", 1e-4},
                                  {"mm2", "mm²", 1e-6},
                                  {"ft2", "ft²", kFoot* kFoot},
                                  {"in2", "in²", kInch* kInch}};
const std::vector<FileUnit> kVelocity{{"m/s", "m/s", 1.0}, {"ft/s", "ft/s", kFoot}};
const std::vector<FileUnit> kDischarge{{"m3/s", "m³/s", 1.0},
                                       {"L/s", "L/s", 0.001},
                                       {"m3/d", "m³/d", 1.0 / kSecondsPerDay},
                                       {"ft3/s", "ft³/s", kFoot* kFoot* kFoot},
                                       {"gpm", "gpm", kUsGallon / 60.0},
                                       {"MGD", "MGD", kUsGallon * 1e6 / kSecondsPerDay}};
const std::vector<FileUnit> kSlope{{"m/m", "m/m", 1.0},
                                   {"ft/ft", "ft/ft", 1.0},
                                   {"%", "%", 0.01},
                                   {"permille", "‰", 0.001},
                                   {"1:x", "1:x", 1.0, true}};
const std::vector<FileUnit> kShear{{"Pa", "Pa", 1.0},
                                   {"lb/ft2", "lb/ft²", kPoundForce / (kFoot * kFoot)}};
const std::vector<FileUnit> kSideSlope{{"H:V", "H:V", 1.0},
                                       {"degrees", "°", 1.0, false, UnitRule::SlopeAngle}};
const std::vector<FileUnit> kAngle{{"degrees", "°", 1.0}};
const std::vector<FileUnit> kKinematicViscosity{{"m2/s", "m²/s", 1.0},
                                                {"ft2/s", "ft²/s", kFoot* kFoot}};
const std::vector<FileUnit> kTime{{"min", "min", 60.0}, {"s", "s", 1.0}, {"h", "h", 3600.0}};
const std::vector<FileUnit> kIntensity{{"mm/h", "mm/h", 0.001 / 3600.0},
                                       {"in/h", "in/h", kInch / 3600.0}};
const std::vector<FileUnit> kDrainageArea{{"ha", "ha", 1e4},
                                          {"m2", "m²", 1.0},
                                          {"km2", "km²", 1e6},
                                          {"ac", "ac", kAcre},
                                          {"ft2", "ft²", kFoot* kFoot}};
const std::vector<FileUnit> kPressure{{"kPa", "kPa", 1000.0}, {"psi", "psi", kPoundPerSquareInch}};

struct Alias {
  Dimension dimension;
  std::string_view alias;
  std::string_view name;
};
constexpr Alias kAliases[] = {{Dimension::Discharge, "cfs", "ft3/s"}};

}  // namespace

const std::vector<FileUnit>& FileUnits(Dimension dimension) {
  switch (dimension) {
    case Dimension::Length:
      return kLength;
    case Dimension::Area:
      return kArea;
    case Dimension::Velocity:
      return kVelocity;
    case Dimension::Discharge:
      return kDischarge;
    case Dimension::Slope:
      return kSlope;
    case Dimension::Shear:
      return kShear;
    case Dimension::SideSlope:
      return kSideSlope;
    case Dimension::Angle:
      return kAngle;
    case Dimension::KinematicViscosity:
      return kKinematicViscosity;
    case Dimension::Time:
      return kTime;
    case Dimension::RainfallIntensity:
      return kIntensity;
    case Dimension::DrainageArea:
      return kDrainageArea;
    case Dimension::Pressure:
      return kPressure;
    case Dimension::None:
      break;
  }
  return kNone;
}

const FileUnit* FindFileUnit(Dimension dimension, std::string_view name) {
  for (const Alias& a : kAliases)
    if (a.dimension == dimension && a.alias == name) name = a.name;
  for (const FileUnit& u : FileUnits(dimension))
    if (u.name == name) return &u;
  return nullptr;
}

const FileUnit* FindUnitBySymbol(Dimension dimension, std::string_view symbol) {
  for (const FileUnit& u : FileUnits(dimension))
    if (u.symbol == symbol) return &u;
  return FindFileUnit(dimension, symbol);
}

const FileUnit* SystemUnit(Dimension dimension, UnitSystem system) {
  const std::vector<FileUnit>& units = FileUnits(dimension);
  if (units.empty()) return nullptr;
  if (system == UnitSystem::SI) return &units.front();
  switch (dimension) {
    case Dimension::Slope:
      return FindFileUnit(dimension, "ft/ft");
    case Dimension::Shear:
      return FindFileUnit(dimension, "lb/ft2");
    case Dimension::Discharge:
      return FindFileUnit(dimension, "ft3/s");
    case Dimension::Length:
      return FindFileUnit(dimension, "ft");
    case Dimension::Area:
      return FindFileUnit(dimension, "ft2");
    case Dimension::Velocity:
      return FindFileUnit(dimension, "ft/s");
    case Dimension::KinematicViscosity:
      return FindFileUnit(dimension, "ft2/s");
    case Dimension::RainfallIntensity:
      return FindFileUnit(dimension, "in/h");
    case Dimension::DrainageArea:
      return FindFileUnit(dimension, "ac");
    case Dimension::Pressure:
      return FindFileUnit(dimension, "psi");
    case Dimension::SideSlope:
    case Dimension::Angle:
    case Dimension::Time:
      return &units.front();
    case Dimension::None:
      break;
  }
  return nullptr;
}

std::optional<UnitSystem> SystemOfUnit(const FileUnit& unit) {
  static constexpr std::string_view kUs[] = {"ft",    "in",   "ft2", "in2",   "ft/s",
                                             "ft3/s", "gpm",  "MGD", "ft/ft", "lb/ft2",
                                             "ft2/s", "in/h", "ac",  "psi"};
  static constexpr std::string_view kShared[] = {"%",       "permille", "1:x", "H:V",
                                                 "degrees", "min",      "s",   "h"};
  for (std::string_view name : kUs)
    if (unit.name == name) return UnitSystem::US;
  for (std::string_view name : kShared)
    if (unit.name == name) return std::nullopt;
  return UnitSystem::SI;
}

const FileUnit& ConvertedUnit(Dimension dimension, const FileUnit& unit, UnitSystem system) {
  const std::optional<UnitSystem> own = SystemOfUnit(unit);
  if (!own || *own == system) return unit;
  const FileUnit* to = SystemUnit(dimension, system);
  return to ? *to : unit;
}

std::optional<UnitSystem> ParseUnitSystem(std::string_view text) {
  if (text == "SI") return UnitSystem::SI;
  if (text == "US") return UnitSystem::US;
  return std::nullopt;
}

std::string_view UnitSystemName(UnitSystem system) {
  return system == UnitSystem::SI ? "SI" : "US";
}

double ToBase(const FileUnit& unit, double value) {
  switch (unit.rule) {
    case UnitRule::Reciprocal:
      return unit.factor / value;
    case UnitRule::SlopeAngle:
      // 90° is a vertical side (no horizontal run); tan would give 1.6e16 there, not 0.
      if (value == 90.0) return 0.0;
      return 1.0 / std::tan(value * std::numbers::pi / 180.0);
    case UnitRule::Scale:
      break;
  }
  return value * unit.factor;
}

double FromBase(const FileUnit& unit, double base) {
  switch (unit.rule) {
    case UnitRule::Reciprocal:
      return unit.factor / base;
    case UnitRule::SlopeAngle:
      return std::atan2(1.0, base) * 180.0 / std::numbers::pi;
    case UnitRule::Scale:
      break;
  }
  return base / unit.factor;
}

std::string_view DimensionName(Dimension dimension) {
  switch (dimension) {
    case Dimension::Length:
      return "length";
    case Dimension::Area:
      return "area";
    case Dimension::Velocity:
      return "velocity";
    case Dimension::Discharge:
      return "discharge";
    case Dimension::Slope:
      return "slope";
    case Dimension::Shear:
      return "shear stress";
    case Dimension::SideSlope:
      return "side slope";
    case Dimension::Angle:
      return "angle";
    case Dimension::KinematicViscosity:
      return "kinematic viscosity";
    case Dimension::Time:
      return "time";
    case Dimension::RainfallIntensity:
      return "rainfall intensity";
    case Dimension::DrainageArea:
      return "drainage area";
    case Dimension::Pressure:
      return "pressure";
    case Dimension::None:
      break;
  }
  return "dimensionless";
}

std::string UnitNameList(Dimension dimension) {
  std::string list;
  for (const FileUnit& u : FileUnits(dimension)) {
    if (!list.empty()) list += ", ";
    list += u.name;
  }
  return list;
}

}  // namespace rivulet
