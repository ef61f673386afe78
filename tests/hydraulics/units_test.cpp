#include "core/hydraulics/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/hydraulics/checked_math.h"
#include "digits.h"

namespace rivulet {
namespace {

using testing::MatchesFigure;
using testing::RelativelyNear;

const double kPi = 4 * std::atan(1.0);

double SideSlope(double v, int position, int direction) {
  return ConvertSideSlope(v, position, direction, kPi);
}

TEST(UnitsTest, WorkedConversions) {
  struct Row {
    const char* name;
    double actual;
    const char* figure;
  };
  const Row rows[] = {
      {"1 ft/s to m/s", ConvertVelocity(1, 2, kToBase), "0.3048"},
      {"1 m/s in ft/d", ConvertVelocity(1, 3, kFromBase), "283464.566929"},
      {"1 GPM to m3/s", ConvertDischarge(1, 6, kToBase), "0.0000757"},
      {"1 USMG/d to m3/s", ConvertDischarge(1, 11, kToBase), "0.043807870"},
      {"1 m3/s in ft3/s", ConvertDischarge(1, 4, kFromBase), "35.3146667"},
      {"12 inches", ConvertLength(12, 3, kToBase), "0.3048"},
      {"1 foot", ConvertLength(1, 4, kToBase), "0.3048"},
      {"45 degrees", SideSlope(45, 2, kToBase), "1.000000000000"},
      {"x = 2 in degrees", SideSlope(2, 2, kFromBase), "26.5650512"},
      {"0.5 y/1", SideSlope(0.5, 1, kToBase), "2"},
      {"5 at /1000", ConvertSlope(5, 0, kToBase), "0.005"},
      {"0.005 shown at /100", ConvertSlope(0.005, 1, kFromBase), "0.5"},
      {"1 in2 to m2", ConvertArea(1, 3, kToBase), "0.00064516"},
      {"1 m2 in cm2", ConvertArea(1, 1, kFromBase), "10000"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_TRUE(MatchesFigure(r.actual, r.figure));
  }
  // Lengths come out exactly equal whichever route they take.
  EXPECT_EQ(ConvertLength(12, 3, kToBase), ConvertLength(1, 4, kToBase));
  // A square and a cubic foot are the very doubles of std::pow, which files were written with.
  EXPECT_EQ(ConvertArea(1, 4, kToBase), std::pow(0.3048, 2));
  EXPECT_EQ(ConvertDischarge(1, 4, kToBase), std::pow(0.3048, 3));
}

// Every listed unit, in list order (files store the position), with the value of one
// unit written out by hand from the defining constants: 1 ft = 0.3048 m, 1 in = 0.0254 m,
// a day of 86400 s, the program's rounded gallons of 4.542 L and 3.785 L. A list entry
// that lost its conversion would come back unchanged and miss its figure; an entry added
// to a list without a row here fails the count.
TEST(UnitsTest, EveryListedUnitConvertsByItsOwnFactor) {
  using Convert = std::function<double(double, int, int)>;
  struct Unit {
    const char* name;
    double value;  // in the unit
    double base;   // the same quantity in the base unit
  };
  struct List {
    const char* kind;
    const std::vector<std::string>& entries;
    Convert convert;
    std::vector<Unit> units;
  };
  const double day = 86400, foot3 = 0.028316846592;
  const List lists[] = {
      {"velocity",
       VelocityUnits(),
       ConvertVelocity,
       {{"m/s", 1, 1}, {"m/d", day, 1}, {"ft/s", 1, 0.3048}, {"ft/d", day, 0.3048}}},
      {"discharge",
       DischargeUnits(),
       ConvertDischarge,
       {{"m\u00b3/s", 1, 1},
        {"m\u00b3/d", day, 1},
        {"L/s", 1, 0.001},
        {"L/d", day, 0.001},
        {"ft\u00b3/s", 1, foot3},
        {"ft\u00b3/d", day, foot3},
        {"GPM", 60, 0.004542},
        {"G/d", day, 0.004542},
        {"MG/d", day, 4542},
        {"USGPM", 60, 0.003785},
        {"USG/d", day, 0.003785},
        {"USMG/d", day, 3785}}},
      {"length",
       LengthUnits(),
       ConvertLength,
       {{"mm", 1, 0.001},
        {"cm", 1, 0.01},
        {"meters", 1, 1},
        {"inches", 1, 0.0254},
        {"feet", 1, 0.3048}}},
      {"area",
       AreaUnits(),
       ConvertArea,
       {{"mm\u00b2", 1, 1e-6},
        {"cm\u00b2", 1, 1e-4},
        {"m\u00b2", 1, 1},
        {"in\u00b2", 1, 0.00064516},
        {"feet\u00b2", 1, 0.09290304}}},
      {"slope",
       SlopeUnits(),
       ConvertSlope,
       {{"/1000", 1, 0.001}, {"/100", 1, 0.01}, {"/10", 1, 0.1}, {"/1", 1, 1}}},
      // The base of a side slope is x horizontal per 1 vertical.
      {"side slope",
       SideSlopeUnits(),
       SideSlope,
       {{"1/x", 2.5, 2.5}, {"y/1", 0.4, 2.5}, {"degrees", 30, std::sqrt(3.0)}}},
  };
  for (const List& list : lists) {
    SCOPED_TRACE(list.kind);
    ASSERT_EQ(list.entries.size(), list.units.size());
    for (size_t i = 0; i < list.units.size(); ++i) {
      const Unit& unit = list.units[i];
      const int position = static_cast<int>(i);
      SCOPED_TRACE(unit.name);
      EXPECT_EQ(list.entries[i], unit.name);
      // Relative: the program's chain and the hand figure round in different places.
      EXPECT_TRUE(RelativelyNear(list.convert(unit.value, position, kToBase), unit.base, 1e-14));
      EXPECT_TRUE(RelativelyNear(list.convert(unit.base, position, kFromBase), unit.value, 1e-14));
    }
    // The position after the last entry has no conversion.
    const int past = static_cast<int>(list.units.size());
    EXPECT_EQ(list.convert(2.5, past, kToBase), 2.5);
  }
}

TEST(UnitsTest, RoundTripEveryPosition) {
  using Convert = std::function<double(double, int, int)>;
  struct List {
    const char* name;
    const std::vector<std::string>& entries;
    Convert convert;
  };
  const List lists[] = {
      {"velocity", VelocityUnits(), ConvertVelocity},
      {"discharge", DischargeUnits(), ConvertDischarge},
      {"length", LengthUnits(), ConvertLength},
      {"area", AreaUnits(), ConvertArea},
      {"slope", SlopeUnits(), ConvertSlope},
      {"side slope", SideSlopeUnits(), SideSlope},
  };
  for (const List& list : lists) {
    for (int position = 0; position < static_cast<int>(list.entries.size()); ++position) {
      // Angles stay within the quarter turn the degrees unit covers.
      for (double value : {0.37, 2.5, 64.5}) {
        SCOPED_TRACE(std::string(list.name) + " " + list.entries[position]);
        const double base = list.convert(value, position, kToBase);
        EXPECT_TRUE(RelativelyNear(list.convert(base, position, kFromBase), value, 1e-13));
      }
    }
  }
}

TEST(UnitsTest, PositionOutsideListLeavesValue) {
  for (int position : {-1, 99}) {
    for (int direction : {kToBase, kFromBase}) {
      EXPECT_EQ(ConvertVelocity(3.5, position, direction), 3.5);
      EXPECT_EQ(ConvertDischarge(3.5, position, direction), 3.5);
      EXPECT_EQ(ConvertLength(3.5, position, direction), 3.5);
      EXPECT_EQ(ConvertArea(3.5, position, direction), 3.5);
      EXPECT_EQ(ConvertSlope(3.5, position, direction), 3.5);
      EXPECT_EQ(SideSlope(3.5, position, direction), 3.5);
    }
  }
}

TEST(UnitsTest, ReciprocalsOfZeroFault) {
  struct Row {
    const char* name;
    std::function<double()> convert;
  };
  const Row rows[] = {
      {"y = 0 to base", [] { return SideSlope(0, 1, kToBase); }},
      {"x = 0 to y/1", [] { return SideSlope(0, 1, kFromBase); }},
      {"x = 0 to degrees", [] { return SideSlope(0, 2, kFromBase); }},
      {"0 degrees to base", [] { return SideSlope(0, 2, kToBase); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_THROW(r.convert(), ArithmeticFault);
  }
}

}  // namespace
}  // namespace rivulet
