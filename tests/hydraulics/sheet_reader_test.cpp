// The sheet reader: each box in the unit its list has chosen, into base units.
#include "core/hydraulics/sheet_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sheet_builder.h"

namespace rivulet {
namespace {

using testing::PrepareSheet;

constexpr double kPi = 3.14159265358979323846;

TEST(SheetReader, SectionOfEveryListPositionAndNone) {
  struct Row {
    int position;
    SectionKind expected;
  };
  const Row rows[] = {{0, SectionKind::Pipe},     {1, SectionKind::Rectangle},
                      {2, SectionKind::Triangle}, {3, SectionKind::Trapezoid},
                      {4, SectionKind::Gutter},   {-1, SectionKind::Gutter}};
  CalculationSheet sheet;
  for (const Row& row : rows) {
    PrepareSheet(sheet, 0, true);
    sheet.cboSection.SetListIndex(row.position);
    EXPECT_EQ(SectionOf(sheet), row.expected) << "position " << row.position;
    if (row.position >= 0) {
      EXPECT_EQ(SectionName(row.expected), SectionNames()[row.position]);
    }
  }
}

TEST(SheetReader, EachBoxInItsChosenUnit) {
  // Expected values by hand: 1 ft = 0.3048 m, 1 in = 0.0254 m, 1 L = 0.001 m³.
  struct Row {
    const char* name;
    bool velocityGiven;
    int flowUnit, lengthUnit, sideUnit, slopeUnit;
    const char *flow, *depth, *diam, *side, *slope;
    double flowBase, depthBase, diamBase, sideBase, slopeBase;
  };
  const Row rows[] = {
      {"velocity in ft/s, inches, 1/x, /1000", true, 2, 3, 0, 0, "10", "12", "18", "3", "5", 3.048,
       0.3048, 0.4572, 3, 0.005},
      {"discharge in L/s, mm, y/1, /100", false, 2, 0, 1, 1, "250", "300", "1200", "2", "2", 0.25,
       0.3, 1.2, 0.5, 0.02},
      {"discharge in ft³/s, feet, degrees, /1", false, 4, 4, 2, 3, "1", "2", "3", "45", "0.01",
       0.3048 * 0.3048 * 0.3048, 0.6096, 0.9144, 1, 0.01},
  };
  CalculationSheet sheet;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PrepareSheet(sheet, 3, row.velocityGiven);
    EXPECT_EQ(sheet.VelocityGiven(), row.velocityGiven);
    sheet.cboVelDis1.SetListIndex(row.flowUnit);
    sheet.cboDepth.SetListIndex(row.lengthUnit);
    sheet.cboDiam.SetListIndex(row.lengthUnit);
    sheet.cboSide.SetListIndex(row.sideUnit);
    sheet.cboSlope.SetListIndex(row.slopeUnit);
    testing::SetInputs(sheet, {row.flow, row.depth, row.diam, row.side, row.slope, "0.013"});
    EXPECT_NEAR(ReadFlow(sheet), row.flowBase, 1e-15 * row.flowBase);
    EXPECT_NEAR(ReadDepth(sheet), row.depthBase, 1e-15);
    EXPECT_NEAR(ReadDiameterRow(sheet), row.diamBase, 1e-15);
    EXPECT_NEAR(ReadSideSlope(sheet, kPi), row.sideBase, 1e-15);
    EXPECT_NEAR(ReadSlope(sheet), row.slopeBase, 1e-17);
    EXPECT_EQ(ReadManningN(sheet), 0.013);
  }
}

TEST(SheetReader, UnconvertibleSideSlopeFaultsAndReadsZeroForViews) {
  CalculationSheet sheet;
  PrepareSheet(sheet, 2, true);
  for (const int unit : {1, 2}) {  // a vertical rise of 0 per 1, an angle of 0 degrees
    sheet.cboSide.SetListIndex(unit);
    sheet.txtSide.SetText("0");
    EXPECT_THROW(ReadSideSlope(sheet, kPi), ArithmeticFault) << "unit " << unit;
    EXPECT_EQ(ReadOrZero([&] { return ReadSideSlope(sheet, kPi); }), 0.0);
  }
  sheet.cboSide.SetListIndex(1);
  sheet.txtSide.SetText("4");
  EXPECT_EQ(ReadOrZero([&] { return ReadSideSlope(sheet, kPi); }), 0.25);
}

}  // namespace
}  // namespace rivulet
