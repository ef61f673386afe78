#include "core/worksheets/file_units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace rivulet {
namespace {

// Factors from the definitions, worked by hand: a change of any table entry shows here.
struct FactorCase {
  Dimension dimension;
  const char* name;
  double value;
  double base;
};

TEST(FileUnits, ConvertByExactDefinitions) {
  const FactorCase cases[] = {
      {Dimension::Length, "ft", 10, 3.048},
      {Dimension::Length, "in", 12, 0.3048},
      {Dimension::Length, "mm", 250, 0.25},
      {Dimension::Length, "cm", 3, 0.03},
      {Dimension::Area, "ft2", 1, 0.09290304},
      {Dimension::Area, "in2", 144, 0.09290304},
      {Dimension::Area, "cm2", 1e4, 1},
      {Dimension::Area, "mm2", 1e6, 1},
      {Dimension::Velocity, "ft/s", 1, 0.3048},
      {Dimension::Discharge, "ft3/s", 1, 0.028316846592},
      {Dimension::Discharge, "cfs", 1, 0.028316846592},
      {Dimension::Discharge, "L/s", 1000, 1},
      {Dimension::Discharge, "m3/d", 86400, 1},
      {Dimension::Discharge, "gpm", 60, 0.003785411784},
      {Dimension::Discharge, "MGD", 1, 3785.411784 / 86400},
      {Dimension::Slope, "%", 2, 0.02},
      {Dimension::Slope, "permille", 5, 0.005},
      {Dimension::Slope, "1:x", 200, 0.005},
      {Dimension::Slope, "ft/ft", 0.01, 0.01},
      {Dimension::Shear, "lb/ft2", 1, 47.880258980335840},
      {Dimension::SideSlope, "degrees", 45, 1},
      {Dimension::SideSlope, "degrees", 90, 0},
      {Dimension::SideSlope, "H:V", 3, 3},
      {Dimension::KinematicViscosity, "ft2/s", 1, 0.09290304},
      {Dimension::Time, "min", 15, 900},
      {Dimension::Time, "h", 2, 7200},
      {Dimension::RainfallIntensity, "mm/h", 36, 1e-5},
      {Dimension::RainfallIntensity, "in/h", 3.6, 2.54e-5},
      {Dimension::DrainageArea, "ha", 2, 2e4},
      {Dimension::DrainageArea, "ac", 1, 4046.8564224},
      {Dimension::DrainageArea, "km2", 1, 1e6},
      {Dimension::Pressure, "kPa", 9.80665, 9806.65},
      {Dimension::Pressure, "psi", 1, 6894.757293168361},
  };
  for (const FactorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FileUnit* unit = FindFileUnit(c.dimension, c.name);
    ASSERT_NE(unit, nullptr);
    // Relative 1e-15: the factors are exact decimals, only the last bit may differ.
    EXPECT_NEAR(ToBase(*unit, c.value), c.base, 1e-15 * c.base);
  }
}

TEST(FileUnits, EveryUnitRoundTripsAndIsFoundByNameAndSymbol) {
  for (Dimension d : kDimensionsWithUnits) {
    ASSERT_FALSE(FileUnits(d).empty());
    for (const FileUnit& u : FileUnits(d)) {
      SCOPED_TRACE(std::string(u.name));
      EXPECT_EQ(FindFileUnit(d, u.name), &u);
      EXPECT_EQ(FindUnitBySymbol(d, u.symbol), &u);
      // A side's angle lies between 0° and 180°.
      static constexpr double kAngles[] = {0.5, 26.565, 89.9, 135};
      static constexpr double kNumbers[] = {0.003, 1.0, 17.25, 12345.678};
      for (double v : u.rule == UnitRule::SlopeAngle ? kAngles : kNumbers) {
        EXPECT_NEAR(FromBase(u, ToBase(u, v)), v, 1e-14 * v);
      }
      // File names are ASCII; symbols may not be.
      for (char c : u.name) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    }
  }
}

TEST(FileUnits, UnknownOrForeignNamesAreNotFound) {
  EXPECT_EQ(FindFileUnit(Dimension::Length, "m2"), nullptr);
  EXPECT_EQ(FindFileUnit(Dimension::Area, "m"), nullptr);
  EXPECT_EQ(FindFileUnit(Dimension::Length, "FT"), nullptr);
  EXPECT_EQ(FindFileUnit(Dimension::Slope, "cfs"), nullptr);
  EXPECT_EQ(FindFileUnit(Dimension::None, "m"), nullptr);
  EXPECT_EQ(FindFileUnit(Dimension::Discharge, ""), nullptr);
}

TEST(FileUnits, SystemUnitsOfEachDimension) {
  const std::pair<Dimension, std::pair<const char*, const char*>> cases[] = {
      {Dimension::Length, {"m", "ft"}},        {Dimension::Area, {"m2", "ft2"}},
      {Dimension::Velocity, {"m/s", "ft/s"}},  {Dimension::Discharge, {"m3/s", "ft3/s"}},
      {Dimension::Slope, {"m/m", "ft/ft"}},    {Dimension::Shear, {"Pa", "lb/ft2"}},
      {Dimension::DrainageArea, {"ha", "ac"}}, {Dimension::RainfallIntensity, {"mm/h", "in/h"}},
      {Dimension::Pressure, {"kPa", "psi"}},   {Dimension::Time, {"min", "min"}},
      {Dimension::SideSlope, {"H:V", "H:V"}},  {Dimension::KinematicViscosity, {"m2/s", "ft2/s"}},
  };
  for (const auto& [d, names] : cases) {
    EXPECT_EQ(SystemUnit(d, UnitSystem::SI)->name, names.first);
    EXPECT_EQ(SystemUnit(d, UnitSystem::US)->name, names.second);
  }
  EXPECT_EQ(SystemUnit(Dimension::None, UnitSystem::US), nullptr);
  EXPECT_EQ(ParseUnitSystem("US"), UnitSystem::US);
  EXPECT_EQ(ParseUnitSystem("si"), std::nullopt);
}

TEST(FileUnits, ReciprocalSlopeOfZeroIsInfiniteNotACrash) {
  const FileUnit* oneIn = FindFileUnit(Dimension::Slope, "1:x");
  EXPECT_TRUE(std::isinf(ToBase(*oneIn, 0)));
  EXPECT_TRUE(std::isinf(FromBase(*oneIn, 0)));
}

}  // namespace
}  // namespace rivulet
