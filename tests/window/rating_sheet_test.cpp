#include "core/window/rating_sheet.h"

#include <gtest/gtest.h>

#include "unit_positions.h"

namespace rivulet {
namespace {

RatingSource Source(double topDepth, double topDischarge) {
  RatingSource s;
  s.defaultTopDepth = topDepth;
  s.defaultTopDischarge = topDischarge;
  return s;
}

// The window's units take the sheet's whenever the sheet changes one, and keep the
// window's own choice of the others.
TEST(RatingSettingsTest, UnitsFollowTheSheetsChangesOnly) {
  RatingSettings s;
  s.Follow(Source(1, 1), {kMm, 2, 0, kLitres});
  EXPECT_EQ(s.Units(), (RatingUnits{kMm, 2, 0, kLitres}));
  s.SetUnits({kFeet, 2, 0, kLitres});  // the user picks feet in the window
  s.Follow(Source(1, 1), {kMm, 2, 0, kLitres});
  EXPECT_EQ(s.Units().length, kFeet) << "an unchanged sheet leaves the window's choice";
  s.Follow(Source(1, 1), {kMm, 2, 0, kCubicMetres});
  EXPECT_EQ(s.Units(), (RatingUnits{kFeet, 2, 0, kCubicMetres}));
  s.Follow(Source(1, 1), {kMeters, 2, 0, kCubicMetres});
  EXPECT_EQ(s.Units().length, kMeters);
}

// The range is the sheet's default until the user sets one; a new step starts from its
// own default; what is shown is in the step's unit.
TEST(RatingSettingsTest, RangeFollowsTheDefaultUntilTheUserSetsOne) {
  RatingSettings s;
  s.Follow(Source(0.45, 0.2), {kMm, 2, 0, kLitres});
  EXPECT_EQ(s.From(), 0);
  EXPECT_EQ(s.To(), 0.45);
  EXPECT_DOUBLE_EQ(s.ShownTo(), 450);

  s.Follow(Source(0.6, 0.3), {kMm, 2, 0, kLitres});
  EXPECT_EQ(s.To(), 0.6) << "still the default: it follows";

  s.SetShownRange(100, 300);
  EXPECT_FALSE(s.RangeIsDefault());
  EXPECT_DOUBLE_EQ(s.From(), 0.1);
  EXPECT_DOUBLE_EQ(s.To(), 0.3);
  s.Follow(Source(0.9, 0.5), {kMm, 2, 0, kLitres});
  EXPECT_DOUBLE_EQ(s.To(), 0.3) << "the user's range stays";

  s.SetStep(RatingStep::Discharge);
  EXPECT_TRUE(s.RangeIsDefault());
  EXPECT_EQ(s.To(), 0.5);
  EXPECT_DOUBLE_EQ(s.ShownTo(), 500);  // L/s

  s.SetShownRange(10, 250);
  s.UseDefaultRange();
  EXPECT_EQ(s.To(), 0.5);
  const RatingRequest r = s.Request();
  EXPECT_EQ(r.step, RatingStep::Discharge);
  EXPECT_EQ(r.rows, kDefaultRatingRows);
}

struct DecimalsCase {
  const char* name;
  std::vector<double> depths;  // m
  int lengthUnit;
  int decimals;
  const char* largest;
};

TEST(RatingSheetTest, ColumnsShowFiveSignificantDigitsOfTheirLargestValue) {
  const DecimalsCase cases[] = {
      {"450 mm", {0, 0.009, 0.45}, kMm, 2, "450.00"},
      {"0.45 m", {0, 0.009, 0.45}, kMeters, 5, "0.45000"},
      {"4.5 m", {0, 4.5}, kMeters, 4, "4.5000"},
      {"shallow gutter in m", {0, 0.000048}, kMeters, 9, "0.000048000"},
      {"nothing but zero", {0}, kMeters, 4, "0.0000"},
  };
  for (const DecimalsCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RatingRow> rows;
    for (double y : c.depths) rows.push_back(RatingRow{y, 0, 0, 0, {}, {}});
    RatingUnits units;
    units.length = c.lengthUnit;
    const int decimals = RatingColumnDecimals(rows, RatingColumn::Depth, units);
    EXPECT_EQ(decimals, c.decimals);
    EXPECT_EQ(RatingCellText(RatingCellValue(rows.back(), RatingColumn::Depth, units), decimals),
              c.largest);
  }
  EXPECT_EQ(RatingCellText(std::nullopt, 3), "");
}

TEST(RatingSheetTest, HoverTextNamesEveryValueWithItsUnit) {
  const RatingRow row{0.2891627, 0.108, 1.3889, 0.15, 0.8123, 64.258};
  EXPECT_EQ(RatingRowText(row, {kMm, 2, 0, kLitres}),
            "Depth: 289.2 mm\nFlow Area: 0.108 m²\nVelocity: 1.389 m/s\nDischarge: 150 L/s\n"
            "Froude Number: 0.8123\nPercent Full: 64.26 %");
  const RatingRow full{1, 0.785, 1, 0.785, std::nullopt, 100};
  EXPECT_EQ(RatingRowText(full, {}).find("Froude"), std::string::npos);
}

}  // namespace
}  // namespace rivulet
