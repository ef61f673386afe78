#include "core/hydraulics/units.h"

#include <cmath>

#include "core/hydraulics/checked_math.h"

namespace rivulet {
namespace {

// Exactly these constants: the gallons are the rounded ones files and users rely on.
constexpr double kFoot = 0.3048;
constexpr double kDay = 86400;
constexpr double kMinute = 60;
constexpr double kImperialGallon = 0.004542;
constexpr double kUsGallon = 0.003785;
constexpr double kMillion = 1000000;

/// One multiplication or division of a factor chain.
struct Step {
  bool multiply;
  double by;
};
inline Step Times(double by) { return {true, by}; }
inline Step Over(double by) { return {false, by}; }

/// A unit whose value reaches the base unit by a chain of factors. The chain runs left to
/// right; the way back runs the same steps in the same order, each inverted (v * a / b
/// comes back as v / a * b), which is how the program has always rounded. No steps: the
/// base unit itself, returned untouched (not even checked for a finite value).
struct LinearUnit {
  std::string name;
  std::vector<Step> toBase;
};

using LinearTable = std::vector<LinearUnit>;

const LinearTable& VelocityTable() {
  static const LinearTable t{
      {"m/s", {}},
      {"m/d", {Over(kDay)}},
      {"ft/s", {Times(kFoot)}},
      {"ft/d", {Times(kFoot), Over(kDay)}},
  };
  return t;
}

const LinearTable& DischargeTable() {
  static const double foot3 = Pow(kFoot, 3);
  static const LinearTable t{
      {"m\u00b3/s", {}},
      {"m\u00b3/d", {Over(kDay)}},
      {"L/s", {Over(1000)}},
      {"L/d", {Over(1000), Over(kDay)}},
      {"ft\u00b3/s", {Times(foot3)}},
      {"ft\u00b3/d", {Times(foot3), Over(kDay)}},
      {"GPM", {Times(kImperialGallon), Over(kMinute)}},
      {"G/d", {Times(kImperialGallon), Over(kDay)}},
      {"MG/d", {Times(kMillion), Times(kImperialGallon), Over(kDay)}},
      {"USGPM", {Times(kUsGallon), Over(kMinute)}},
      {"USG/d", {Times(kUsGallon), Over(kDay)}},
      {"USMG/d", {Times(kMillion), Times(kUsGallon), Over(kDay)}},
  };
  return t;
}

const LinearTable& LengthTable() {
  static const LinearTable t{
      {"mm", {Over(1000)}},     {"cm", {Over(100)}},
      {"meters", {}},           {"inches", {Over(12), Times(kFoot)}},
      {"feet", {Times(kFoot)}},
  };
  return t;
}

const LinearTable& AreaTable() {
  static const LinearTable t{
      {"mm\u00b2", {Over(Pow(1000, 2))}},
      {"cm\u00b2", {Over(Pow(100, 2))}},
      {"m\u00b2", {}},
      {"in\u00b2", {Over(Pow(12, 2)), Times(Pow(kFoot, 2))}},
      {"feet\u00b2", {Times(Pow(kFoot, 2))}},
  };
  return t;
}

const LinearTable& SlopeTable() {
  // "/1" is a step of its own, unlike the other base units: it refuses a non-finite value.
  static const LinearTable t{
      {"/1000", {Over(1000)}},
      {"/100", {Over(100)}},
      {"/10", {Over(10)}},
      {"/1", {Over(1)}},
  };
  return t;
}

double ConvertLinear(const LinearTable& table, double v, int position, int direction) {
  if (position < 0 || position >= static_cast<int>(table.size())) return v;
  const std::vector<Step>& steps = table[static_cast<size_t>(position)].toBase;
  if (steps.empty()) return v;
  const bool in = direction == kToBase;
  for (const Step& step : steps) v = step.multiply == in ? v * step.by : v / step.by;
  return Checked(v);
}

/// A side slope unit: its own pair of conversions, since degrees are not a factor.
struct SideSlopeUnit {
  std::string name;
  double (*toBase)(double v, double pi);
  double (*fromBase)(double v, double pi);
};

double Unchanged(double v, double) { return v; }
double Reciprocal(double v, double) { return Div(1, v); }
double DegreesToBase(double v, double pi) {
  const double r = v / (360 / (2 * pi));
  return Div(std::sin(pi / 2 - r), std::sin(r));
}
double DegreesFromBase(double v, double pi) {
  return Checked(std::atan(Div(1, v)) * 360 / (2 * pi));
}

const std::vector<SideSlopeUnit>& SideSlopeTable() {
  static const std::vector<SideSlopeUnit> t{
      {"1/x", Unchanged, Unchanged},
      {"y/1", Reciprocal, Reciprocal},
      {"degrees", DegreesToBase, DegreesFromBase},
  };
  return t;
}

template <typename Table>
std::vector<std::string> Names(const Table& table) {
  std::vector<std::string> names;
  for (const auto& unit : table) names.push_back(unit.name);
  return names;
}

}  // namespace

const std::vector<std::string>& VelocityUnits() {
  static const std::vector<std::string> u = Names(VelocityTable());
  return u;
}
const std::vector<std::string>& DischargeUnits() {
  static const std::vector<std::string> u = Names(DischargeTable());
  return u;
}
const std::vector<std::string>& LengthUnits() {
  static const std::vector<std::string> u = Names(LengthTable());
  return u;
}
const std::vector<std::string>& AreaUnits() {
  static const std::vector<std::string> u = Names(AreaTable());
  return u;
}
const std::vector<std::string>& SideSlopeUnits() {
  static const std::vector<std::string> u = Names(SideSlopeTable());
  return u;
}
const std::vector<std::string>& SlopeUnits() {
  static const std::vector<std::string> u = Names(SlopeTable());
  return u;
}

double ConvertVelocity(double v, int position, int direction) {
  return ConvertLinear(VelocityTable(), v, position, direction);
}
double ConvertDischarge(double v, int position, int direction) {
  return ConvertLinear(DischargeTable(), v, position, direction);
}
double ConvertLength(double v, int position, int direction) {
  return ConvertLinear(LengthTable(), v, position, direction);
}
double ConvertArea(double v, int position, int direction) {
  return ConvertLinear(AreaTable(), v, position, direction);
}
double ConvertSlope(double v, int position, int direction) {
  return ConvertLinear(SlopeTable(), v, position, direction);
}

double ConvertSideSlope(double v, int position, int direction, double pi) {
  const std::vector<SideSlopeUnit>& table = SideSlopeTable();
  if (position < 0 || position >= static_cast<int>(table.size())) return v;
  const SideSlopeUnit& unit = table[static_cast<size_t>(position)];
  return direction == kToBase ? unit.toBase(v, pi) : unit.fromBase(v, pi);
}

}  // namespace rivulet
