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
