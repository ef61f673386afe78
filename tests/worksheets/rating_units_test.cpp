// The rating's units for a worksheet name the very units its results are shown in: each
// list position converts as the worksheet's own unit does.
#include "core/worksheets/rating_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/hydraulics/units.h"

namespace rivulet {
namespace {

struct DimensionCase {
  const char* result;
  Dimension dimension;
  double (*convert)(double, int, bool);
  int RatingUnits::*position;
};

double Length(double v, int u, bool to) { return ConvertLength(v, u, to ? kToBase : kFromBase); }
double Area(double v, int u, bool to) { return ConvertArea(v, u, to ? kToBase : kFromBase); }
double Velocity(double v, int u, bool to) {
  return ConvertVelocity(v, u, to ? kToBase : kFromBase);
}
double Discharge(double v, int u, bool to) {
  return ConvertDischarge(v, u, to ? kToBase : kFromBase);
}

TEST(RatingUnitsOfResults, EveryResultUnitMapsToTheSameUnitOfTheLists) {
  const DimensionCase cases[] = {
      {"depth", Dimension::Length, Length, &RatingUnits::length},
      {"flowArea", Dimension::Area, Area, &RatingUnits::area},
      {"velocity", Dimension::Velocity, Velocity, &RatingUnits::velocity},
      {"discharge", Dimension::Discharge, Discharge, &RatingUnits::discharge},
  };
  for (const DimensionCase& c : cases) {
    for (const FileUnit& unit : FileUnits(c.dimension)) {
      SCOPED_TRACE(std::string(c.result) + " in " + std::string(unit.name));
      Document d;
      d.resultUnits = UnitSystem::US;
      d.resultUnitChoices[c.result] = std::string(unit.name);
      const int position = RatingUnitsOfResults(d).*c.position;
      // 1.7 of the base unit reads the same in the list's unit as in the worksheet's
      // (relative); the lists' US gallon is the sheet's rounded 3.785 L, 1.1e-4 short of
      // the exact 3.785411784 L of worksheet files.
      const bool gallons = unit.name == "gpm" || unit.name == "MGD";
      const double shown = c.convert(1.7, position, false);
      EXPECT_NEAR(FromBase(unit, 1.7), shown, (gallons ? 1.2e-4 : 1e-12) * shown);
    }
  }
}

TEST(RatingUnitsOfResults, SystemsGiveTheirUnits) {
  Document d;
  EXPECT_EQ((RatingUnits{2, 2, 0, 0}), RatingUnitsOfResults(d));  // m, m², m/s, m³/s
  d.resultUnits = UnitSystem::US;
  EXPECT_EQ((RatingUnits{4, 4, 2, 4}), RatingUnitsOfResults(d));  // ft, ft², ft/s, ft³/s
  // A chosen unit of another dimension's name is not taken.
  d.resultUnitChoices["depth"] = "L/s";
  EXPECT_EQ(4, RatingUnitsOfResults(d).length);
}

}  // namespace
}  // namespace rivulet
