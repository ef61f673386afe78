#include "core/window/rating_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "unit_positions.h"

namespace rivulet {
namespace {

struct TicksCase {
  const char* name;
  double largest;  // shown units
  double top;
  std::vector<const char*> texts;
};

// The ends and ticks of the storm sewer's plot, round and awkward tops, tiny and huge
// values, and the degenerate ones that must still give a drawable axis.
TEST(RatingAxesTest, TopsAndTicksForRangesOfEveryScale) {
  const double inf = std::numeric_limits<double>::infinity();
  const TicksCase cases[] = {
      {"storm sewer depth, mm", 450, 500, {"0", "100", "200", "300", "400", "500"}},
      {"storm sewer discharge, L/s", 216.9, 250, {"0", "50", "100", "150", "200", "250"}},
      {"storm sewer velocity, m/s", 1.4, 1.5, {"0.0", "0.5", "1.0", "1.5"}},
      {"a round top stays", 500, 500, {"0", "100", "200", "300", "400", "500"}},
      {"just above a round top", 500.001, 600, {"0", "200", "400", "600"}},
      {"steps of 0.2 that add up inexactly", 0.55, 0.6, {"0.0", "0.2", "0.4", "0.6"}},
      {"a shallow gutter in metres", 3e-4, 3e-4, {"0.0000", "0.0001", "0.0002", "0.0003"}},
      {"a flood flow", 123456, 150000, {"0", "50000", "100000", "150000"}},
      {"nothing but zero", 0, 1, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
      {"negative", -3, 1, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
      {"not a number", std::nan(""), 1, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
      {"infinite", inf, 1, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
  };
  for (const TicksCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double top = NiceAxisTop(c.largest);
    EXPECT_NEAR(top, c.top, c.top * 1e-12) << "relative: the top is a product of the step";
    const std::vector<AxisTick> ticks = AxisTicks(top);
    ASSERT_EQ(ticks.size(), c.texts.size());
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(ticks[i].text, c.texts[i]) << i;
    EXPECT_EQ(ticks.front().value, 0);
    EXPECT_NEAR(ticks.back().value, top, top * 1e-12);
  }
}

// Over twelve decades and every leading digit: the top covers the largest value, is a
// whole number of steps, and leaves between three and eleven ticks to read.
TEST(RatingAxesTest, EveryTopCoversItsValueInAFewRoundSteps) {
  for (int decade = -6; decade <= 6; ++decade) {
    for (double lead = 1; lead < 10; lead += 0.37) {
      const double largest = lead * std::pow(10.0, decade);
      SCOPED_TRACE(largest);
      const double top = NiceAxisTop(largest);
      const double step = NiceAxisStep(top);
      EXPECT_GE(top, largest * (1 - 1e-9));
      const double steps = top / step;
      EXPECT_NEAR(steps, std::round(steps), 1e-9);
      EXPECT_GE(AxisTicks(top).size(), 3u);
      EXPECT_LE(AxisTicks(top).size(), 11u);
      const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
      EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                  std::abs(mantissa - 5) < 1e-9)
          << "step " << step;
    }
  }
}

RatingRow Row(double depth, double discharge, double velocity) {
  RatingRow r;
  r.depth = depth;
  r.discharge = discharge;
  r.velocity = velocity;
  return r;
}

TEST(RatingAxesTest, EndsCoverTheRowsAndTheFinerCurveInTheShownUnits) {
  const std::vector<RatingRow> rows{Row(0, 0, 0), Row(0.4, 0.2, 1.3)};
  // The curve peaks between two rows, as a pipe's discharge does below its crown.
  const std::vector<RatingRow> curve{Row(0, 0, 0), Row(0.38, 0.2169, 1.41), Row(0.4, 0.2, 1.3)};
  const RatingAxisEnds mm = RatingAxisEndsFor(rows, curve, {kMm, 2, 0, kLitres});
  EXPECT_DOUBLE_EQ(mm.depth, 400);
  EXPECT_DOUBLE_EQ(mm.discharge, 250) << "the rows alone would end at 200";
  EXPECT_DOUBLE_EQ(mm.velocity, 1.5);
  const RatingAxisEnds m = RatingAxisEndsFor(rows, {}, {kMeters, 2, 0, kCubicMetres});
  EXPECT_DOUBLE_EQ(m.depth, 0.4);
  EXPECT_DOUBLE_EQ(m.discharge, 0.2);
  EXPECT_DOUBLE_EQ(m.velocity, 1.5);
}

TEST(RatingAxesTest, MarksBeyondTheRowsDepthsAreLeftOff) {
  const std::vector<RatingRow> rows{Row(0.1, 0, 0), Row(0.3, 0, 0)};
  struct Case {
    const char* name;
    double depth;  // m
    bool within;
  };
  const Case cases[] = {
      {"below the first row", 0.0999, false},
      {"at the first row", 0.1, true},
      {"inside", 0.2, true},
      {"a last-digit slip above the top", 0.3 * (1 + 1e-13), true},
      {"a part in a billion above the top", 0.3 * (1 + 1e-9), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RatingMark mark;
    mark.row = Row(c.depth, 0, 0);
    EXPECT_EQ(MarkWithinRows(mark, rows, {kMm, 2, 0, kLitres}), c.within);
  }
  EXPECT_FALSE(MarkWithinRows(RatingMark{}, {}, {}));
}

TEST(RatingAxesTest, MarkLabelsNameThePointInTheShownUnits) {
  const RatingUnits units{kMm, 2, 0, kLitres};
  RatingMark solution{RatingMarkKind::Solution, Row(0.2891627, 0.15, 1.389), 0};
  EXPECT_EQ(RatingMarkLabel(solution, units), "Solution: 150 L/s at 289.2 mm");
  RatingMark critical{RatingMarkKind::Critical, Row(0.27157, 0.13, 1.2), 0.15};
  EXPECT_EQ(RatingMarkLabel(critical, units), "Critical depth 271.6 mm for 150 L/s")
      << "the critical depth names the discharge it belongs to, not the curve's";
  RatingMark full{RatingMarkKind::FullFlow, Row(0.45, 0.20158, 1.27), 0};
  EXPECT_EQ(RatingMarkLabel(full, {kMeters, 2, 0, kCubicMetres}),
            "Full flow: 0.2016 m³/s at 0.45 meters");
}

}  // namespace
}  // namespace rivulet
