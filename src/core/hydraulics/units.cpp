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

bool ToBase(int direction) { return direction == kToBase; }

}  // namespace

const std::vector<std::string>& VelocityUnits() {
  static const std::vector<std::string> u{"m/s", "m/d", "ft/s", "ft/d"};
  return u;
}
const std::vector<std::string>& DischargeUnits() {
  static const std::vector<std::string> u{"m\u00b3/s",  "m\u00b3/d",  "L/s",   "L/d",
                                          "ft\u00b3/s", "ft\u00b3/d", "GPM",   "G/d",
                                          "MG/d",       "USGPM",      "USG/d", "USMG/d"};
  return u;
}
const std::vector<std::string>& LengthUnits() {
  static const std::vector<std::string> u{"mm", "cm", "meters", "inches", "feet"};
  return u;
}
const std::vector<std::string>& AreaUnits() {
  static const std::vector<std::string> u{"mm\u00b2", "cm\u00b2", "m\u00b2", "in\u00b2",
                                          "feet\u00b2"};
  return u;
}
const std::vector<std::string>& SideSlopeUnits() {
  static const std::vector<std::string> u{"1/x", "y/1", "degrees"};
  return u;
}
const std::vector<std::string>& SlopeUnits() {
  static const std::vector<std::string> u{"/1000", "/100", "/10", "/1"};
  return u;
}

// Operations run left to right as tabled, so results match the program's own digits.
double ConvertVelocity(double v, int position, int direction) {
  const bool in = ToBase(direction);
  switch (position) {
    case 0:
      return v;
    case 1:
      return in ? Checked(v / kDay) : Checked(v * kDay);
    case 2:
      return in ? Checked(v * kFoot) : Checked(v / kFoot);
    case 3:
      return in ? Checked(v * kFoot / kDay) : Checked(v / kFoot * kDay);
    default:
      return v;
  }
}

double ConvertDischarge(double v, int position, int direction) {
  const bool in = ToBase(direction);
  const double foot3 = Pow(kFoot, 3);
  switch (position) {
    case 0:
      return v;
    case 1:
      return in ? Checked(v / kDay) : Checked(v * kDay);
    case 2:
      return in ? Checked(v / 1000) : Checked(v * 1000);
    case 3:
      return in ? Checked(v / 1000 / kDay) : Checked(v * 1000 * kDay);
    case 4:
      return in ? Checked(v * foot3) : Checked(v / foot3);
    case 5:
      return in ? Checked(v * foot3 / kDay) : Checked(v / foot3 * kDay);
    case 6:
      return in ? Checked(v * kImperialGallon / kMinute) : Checked(v / kImperialGallon * kMinute);
    case 7:
      return in ? Checked(v * kImperialGallon / kDay) : Checked(v / kImperialGallon * kDay);
    case 8:
      return in ? Checked(v * kMillion * kImperialGallon / kDay)
                : Checked(v / kMillion / kImperialGallon * kDay);
    case 9:
      return in ? Checked(v * kUsGallon / kMinute) : Checked(v / kUsGallon * kMinute);
    case 10:
      return in ? Checked(v * kUsGallon / kDay) : Checked(v / kUsGallon * kDay);
    case 11:
      return in ? Checked(v * kMillion * kUsGallon / kDay)
                : Checked(v / kMillion / kUsGallon * kDay);
    default:
      return v;
  }
}

double ConvertLength(double v, int position, int direction) {
  const bool in = ToBase(direction);
  switch (position) {
    case 0:
      return in ? Checked(v / 1000) : Checked(v * 1000);
    case 1:
      return in ? Checked(v / 100) : Checked(v * 100);
    case 2:
      return v;
    case 3:
      return in ? Checked(v / 12 * kFoot) : Checked(v * 12 / kFoot);
    case 4:
      return in ? Checked(v * kFoot) : Checked(v / kFoot);
    default:
      return v;
  }
}

double ConvertArea(double v, int position, int direction) {
  const bool in = ToBase(direction);
  switch (position) {
    case 0:
      return in ? Checked(v / Pow(1000, 2)) : Checked(v * Pow(1000, 2));
    case 1:
      return in ? Checked(v / Pow(100, 2)) : Checked(v * Pow(100, 2));
    case 2:
      return v;
    case 3:
      return in ? Checked(v / Pow(12, 2) * Pow(kFoot, 2)) : Checked(v * Pow(12, 2) / Pow(kFoot, 2));
    case 4:
      return in ? Checked(v * Pow(kFoot, 2)) : Checked(v / Pow(kFoot, 2));
    default:
      return v;
  }
}

double ConvertSlope(double v, int position, int direction) {
  const bool in = ToBase(direction);
  switch (position) {
    case 0:
      return in ? Checked(v / 1000) : Checked(v * 1000);
    case 1:
      return in ? Checked(v / 100) : Checked(v * 100);
    case 2:
      return in ? Checked(v / 10) : Checked(v * 10);
    case 3:
      return Checked(v / 1);
    default:
      return v;
  }
}

double ConvertSideSlope(double v, int position, int direction, double pi) {
  const bool in = ToBase(direction);
  switch (position) {
    case 0:
      return v;
    case 1:
      return Div(1, v);
    case 2:
      if (in) {
        const double r = v / (360 / (2 * pi));
        return Div(std::sin(pi / 2 - r), std::sin(r));
      }
      return Checked(std::atan(Div(1, v)) * 360 / (2 * pi));
    default:
      return v;
  }
}

}  // namespace rivulet
