#include "core/hydraulics/units.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "core/hydraulics/checked_math.h"

namespace rivulet {
namespace {

// Exactly these constants: the gallons are the rounded ones files and users rely on.
constexpr double kFoot = 0.3048;
// The square and cube of a foot are the same doubles as std::pow(kFoot, 2) and
// std::pow(kFoot, 3), which the program has always used (the units test holds them).
constexpr double kSquareFoot = kFoot * kFoot;
constexpr double kCubicFoot = kFoot * kFoot * kFoot;
constexpr double kDay = 86400;
constexpr double kMinute = 60;
constexpr double kImperialGallon = 0.004542;
constexpr double kUsGallon = 0.003785;
constexpr double kMillion = 1000000;

/// One multiplication or division of a factor chain.
struct Step {
  bool multiply = true;
  double by = 1;
};
constexpr Step Times(double by) { return {true, by}; }
constexpr Step Over(double by) { return {false, by}; }

/// A unit whose value reaches the base unit by a chain of factors. The chain runs left to
/// right; the way back runs the same steps in the same order, each inverted (v * a / b
/// comes back as v / a * b), which is how the program has always rounded. No steps: the
/// base unit itself, returned untouched (not even checked for a finite value).
struct LinearUnit {
  constexpr LinearUnit(const char* unitName, std::initializer_list<Step> chain)
      : name(unitName), count(static_cast<int>(chain.size())) {
    int i = 0;
    for (const Step& step : chain) steps[static_cast<size_t>(i++)] = step;
  }
  const char* name;
  std::array<Step, 3> steps{};  // a longer chain does not compile
  int count;
};

// Constant tables, so that a conversion inside a search costs no start-up check.
constexpr LinearUnit kVelocityTable[] = {
    {"m/s", {}},
    {"m/d", {Over(kDay)}},
    {"ft/s", {Times(kFoot)}},
    {"ft/d", {Times(kFoot), Over(kDay)}},
};

constexpr LinearUnit kDischargeTable[] = {
    {"m\u00b3/s", {}},
    {"m\u00b3/d", {Over(kDay)}},
    {"L/s", {Over(1000)}},
    {"L/d", {Over(1000), Over(kDay)}},
    {"ft\u00b3/s", {Times(kCubicFoot)}},
    {"ft\u00b3/d", {Times(kCubicFoot), Over(kDay)}},
    {"GPM", {Times(kImperialGallon), Over(kMinute)}},
    {"G/d", {Times(kImperialGallon), Over(kDay)}},
    {"MG/d", {Times(kMillion), Times(kImperialGallon), Over(kDay)}},
    {"USGPM", {Times(kUsGallon), Over(kMinute)}},
    {"USG/d", {Times(kUsGallon), Over(kDay)}},
    {"USMG/d", {Times(kMillion), Times(kUsGallon), Over(kDay)}},
};

constexpr LinearUnit kLengthTable[] = {
    {"mm", {Over(1000)}},     {"cm", {Over(100)}},
    {"meters", {}},           {"inches", {Over(12), Times(kFoot)}},
    {"feet", {Times(kFoot)}},
};

constexpr LinearUnit kAreaTable[] = {
    {"mm\u00b2", {Over(1000 * 1000)}},
    {"cm\u00b2", {Over(100 * 100)}},
    {"m\u00b2", {}},
    {"in\u00b2", {Over(12 * 12), Times(kSquareFoot)}},
    {"feet\u00b2", {Times(kSquareFoot)}},
};

// "/1" is a step of its own, unlike the other base units: it refuses a non-finite value.
constexpr LinearUnit kSlopeTable[] = {
    {"/1000", {Over(1000)}},
    {"/100", {Over(100)}},
    {"/10", {Over(10)}},
    {"/1", {Over(1)}},
};

template <size_t N>
double ConvertLinear(const LinearUnit (&table)[N], double v, int position, int direction) {
  if (position < 0 || position >= static_cast<int>(N)) return v;
  const LinearUnit& unit = table[position];
  if (unit.count == 0) return v;
  const bool in = direction == kToBase;
  for (int i = 0; i < unit.count; ++i) {
    const Step& step = unit.steps[static_cast<size_t>(i)];
    v = step.multiply == in ? v * step.by : v / step.by;
  }
  return Checked(v);
}

double Unchanged(double v, double) { return v; }
double Reciprocal(double v, double) { return Div(1, v); }
double DegreesToBase(double v, double pi) {
  const double r = v / (360 / (2 * pi));
  return Div(std::sin(pi / 2 - r), std::sin(r));
}
double DegreesFromBase(double v, double pi) {
  return Checked(std::atan(Div(1, v)) * 360 / (2 * pi));
}

/// A side slope unit: its own pair of conversions, since degrees are not a factor.
struct SideSlopeUnit {
  const char* name;
  double (*toBase)(double v, double pi);
  double (*fromBase)(double v, double pi);
};

constexpr SideSlopeUnit kSideSlopeTable[] = {
    {"1/x", Unchanged, Unchanged},
    {"y/1", Reciprocal, Reciprocal},
    {"degrees", DegreesToBase, DegreesFromBase},
};

template <typename Unit, size_t N>
std::vector<std::string> Names(const Unit (&table)[N]) {
  std::vector<std::string> names;
  for (const auto& unit : table) names.push_back(unit.name);
  return names;
}

}  // namespace

const std::vector<std::string>& VelocityUnits() {
  static const std::vector<std::string> u = Names(kVelocityTable);
  return u;
}
const std::vector<std::string>& DischargeUnits() {
  static const std::vector<std::string> u = Names(kDischargeTable);
  return u;
}
const std::vector<std::string>& LengthUnits() {
  static const std::vector<std::string> u = Names(kLengthTable);
  return u;
}
const std::vector<std::string>& AreaUnits() {
  static const std::vector<std::string> u = Names(kAreaTable);
  return u;
}
const std::vector<std::string>& SideSlopeUnits() {
  static const std::vector<std::string> u = Names(kSideSlopeTable);
  return u;
}
const std::vector<std::string>& SlopeUnits() {
  static const std::vector<std::string> u = Names(kSlopeTable);
  return u;
}

double ConvertVelocity(double v, int position, int direction) {
  return ConvertLinear(kVelocityTable, v, position, direction);
}
double ConvertDischarge(double v, int position, int direction) {
  return ConvertLinear(kDischargeTable, v, position, direction);
}
double ConvertLength(double v, int position, int direction) {
  return ConvertLinear(kLengthTable, v, position, direction);
}
double ConvertArea(double v, int position, int direction) {
  return ConvertLinear(kAreaTable, v, position, direction);
}
double ConvertSlope(double v, int position, int direction) {
  return ConvertLinear(kSlopeTable, v, position, direction);
}

double ConvertSideSlope(double v, int position, int direction, double pi) {
  if (position < 0 || position >= static_cast<int>(std::size(kSideSlopeTable))) return v;
  const SideSlopeUnit& unit = kSideSlopeTable[position];
  return direction == kToBase ? unit.toBase(v, pi) : unit.fromBase(v, pi);
}

}  // namespace rivulet
