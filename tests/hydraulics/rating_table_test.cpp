#include "core/hydraulics/rating_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/hydraulics/solver.h"
#include "hand_geometry.h"
#include "sheet_builder.h"
#include "support/near.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using testing::Inputs;
using testing::Solve;

constexpr double g = 9.80665;

using testing::Near;

struct ChannelCase {
  const char* name;
  RatingChannel channel;
  double top;  // m
};

const ChannelCase kChannels[] = {
    {"450 mm storm sewer", {Pipe(0.45), 0.005, 0.013}, 0.45},
    {"1.5 m culvert", {Pipe(1.5), 0.0004, 0.024}, 1.5},
    {"concrete rectangle", {Rectangle(2), 0.001, 0.015}, 1.6},
    {"V-ditch", {Triangle(3), 0.01, 0.022}, 0.6},
    {"grassed swale", {Trapezoid(0.6, 4), 0.005, 0.035}, 0.5},
    {"kerb and gutter", {Gutter(0.3, 50), 0.01, 0.016}, 0.1},
    {"gutter without pan", {Gutter(0, 20), 0.02, 0.016}, 0.08},
};

TEST(RatingTableTest, EveryRowMatchesTheTextbookFormulas) {
  for (const ChannelCase& c : kChannels) {
    SCOPED_TRACE(c.name);
    const RatingTable t = BuildRatingTable(c.channel, {RatingStep::Depth, 0, c.top, 11});
    ASSERT_EQ(t.problem, "");
    ASSERT_EQ(t.rows.size(), 11u);
    const bool pipe = c.channel.section.shape == SectionKind::Pipe;
    for (size_t i = 1; i < t.rows.size(); ++i) {
      const RatingRow& r = t.rows[i];
      SCOPED_TRACE(r.depth);
      EXPECT_TRUE(Near(r.depth, c.top * static_cast<double>(i) / 10, 1e-15));
      const Hand h = HandGeometry(c.channel.section, r.depth);
      const double v = std::pow(h.a / h.p, 2.0 / 3) * std::sqrt(c.channel.slope) / c.channel.n;
      EXPECT_TRUE(Near(r.area, h.a));
      EXPECT_TRUE(Near(r.velocity, v));
      EXPECT_TRUE(Near(r.discharge, v * h.a));
      EXPECT_EQ(r.percentFull.has_value(), pipe);
      if (pipe) {
        EXPECT_TRUE(Near(*r.percentFull, 100 * r.depth / c.channel.section.diameter));
      }
      if (pipe && i == 10) {
        EXPECT_FALSE(r.froude) << "a full pipe has no free surface";
      } else {
        ASSERT_TRUE(r.froude);
        EXPECT_TRUE(Near(*r.froude, v / std::sqrt(g * h.a / h.t), 1e-10));
      }
    }
    // The empty channel is the limit of a shallow one.
    const RatingRow& empty = t.rows.front();
    EXPECT_EQ(empty.depth, 0);
    EXPECT_EQ(empty.discharge, 0);
    EXPECT_EQ(empty.velocity, 0);
    EXPECT_EQ(empty.froude, 0.0);
  }
}

struct SolvedCase {
  const char* name;
  int section;
  bool velocityMode;
  Solve unknown;
  Inputs inputs;
  double tolerance;  // relative: an iterative unknown is as close as the solver converges
};

// The row at the depth the solver found carries the discharge the solver reported: the
// table and the solver share the geometry and the one form of Manning's equation.
TEST(RatingTableTest, RowAtTheSolvedDepthReproducesTheSolversDischarge) {
  using namespace testing;
  const SolvedCase cases[] = {
      {"pipe, velocity from depth",
       kPipe,
       true,
       Solve::Row1,
       {"", "0.3", "0.45", "", "0.005", "0.013"},
       1e-15},
      {"pipe, depth from discharge",
       kPipe,
       false,
       Solve::Depth,
       {"0.15", "", "0.45", "", "0.005", "0.013"},
       1e-13},
      {"pipe, depth from velocity",
       kPipe,
       true,
       Solve::Depth,
       {"1.05", "", "1", "", "0.001", "0.013"},
       1e-13},
      {"rectangle, discharge from depth",
       kRectangle,
       false,
       Solve::Row1,
       {"", "0.8", "2", "", "0.001", "0.015"},
       1e-15},
      {"triangle, depth from discharge",
       kTriangle,
       false,
       Solve::Depth,
       {"0.05", "", "", "3", "0.01", "0.022"},
       1e-13},
      {"trapezoid, depth from discharge",
       kTrapezoid,
       false,
       Solve::Depth,
       {"0.25", "", "0.6", "4", "0.005", "0.035"},
       1e-13},
      {"gutter, depth from discharge",
       kGutter,
       false,
       Solve::Depth,
       {"0.04", "", "0.3", "50", "0.01", "0.016"},
       1e-13},
      {"trapezoid, width from discharge",
       kTrapezoid,
       false,
       Solve::Diam,
       {"2", "0.5", "", "2", "0.002", "0.015"},
       1e-13},
  };
  for (const SolvedCase& c : cases) {
    SCOPED_TRACE(c.name);
    CalculationSheet sheet;
    HydraulicState state;
    RecordingServices services;
    PrepareSheet(sheet, c.section, c.velocityMode);
    SelectUnknown(sheet, c.unknown);
    SetInputs(sheet, c.inputs);
    SolveManning(sheet, state, services);
    ASSERT_FALSE(state.noSolution);
    const SolveRecord& r = state.last;
    const RatingChannel channel{{r.section, r.diameter, r.width, r.side}, r.slope, r.n};
    const RatingRow at = RatingRowAt(channel, r.depth);
    EXPECT_TRUE(Near(at.discharge, r.discharge, c.tolerance));
    EXPECT_TRUE(Near(at.velocity, r.discharge / at.area, c.tolerance));

    // The middle row of a table centred on the solved depth is that depth: from 0 to twice
    // the depth, or for a pipe more than half full up to its crown.
    const double top = std::min(2 * r.depth, r.diameter > 0 ? r.diameter : 2 * r.depth);
    const RatingTable t =
        BuildRatingTable(channel, {RatingStep::Depth, 2 * r.depth - top, top, 201});
    ASSERT_EQ(t.rows.size(), 201u);
    EXPECT_TRUE(Near(t.rows[100].depth, r.depth, 1e-15));
    EXPECT_TRUE(Near(t.rows[100].discharge, r.discharge, std::max(c.tolerance, 1e-14)));
  }
}

// The pipe's curve peaks at the depth the peak search reports and nowhere beats it; the
// last row is full flow.
TEST(RatingTableTest, PipeCurvePeaksAtTheDetectedMaximum) {
  const RatingChannel pipes[] = {
      {Pipe(0.45), 0.005, 0.013}, {Pipe(1.5), 0.0004, 0.024}, {Pipe(0.1), 0.05, 0.009}};
  for (const RatingChannel& c : pipes) {
    SCOPED_TRACE(c.section.diameter);
    const double d = c.section.diameter;
    const int rows = 4001;
    const RatingTable t = BuildRatingTable(c, {RatingStep::Depth, 0, d, rows});
    ASSERT_EQ(t.rows.size(), static_cast<size_t>(rows));
    const auto top = std::max_element(t.rows.begin(), t.rows.end(),
                                      [](auto& a, auto& b) { return a.discharge < b.discharge; });
    const PipeFlowPoint peak = PipeMaximumFlow(d, c.slope, c.n);
    EXPECT_LE(std::abs(top->depth - peak.depth), d / (rows - 1));
    EXPECT_NEAR(peak.depth / d, 0.938, 0.001);
    EXPECT_LE(top->discharge, peak.discharge * (1 + 1e-15));
    EXPECT_TRUE(Near(top->discharge, peak.discharge, 1e-6));  // a flat top: half a step away
    EXPECT_EQ(t.rows.back().depth, d);
    EXPECT_TRUE(Near(t.rows.back().discharge, PipeFullFlow(d, c.slope, c.n).discharge, 1e-15));
    EXPECT_LT(t.rows.back().discharge, peak.discharge);
  }
}

// Stepping discharges: each row carries its discharge at its depth, depths rise, and a
// pipe's range stops at its maximum, two-depth region included on the lower branch.
TEST(RatingTableTest, DischargeStepsLandOnTheirNormalDepths) {
  for (const ChannelCase& c : kChannels) {
    SCOPED_TRACE(c.name);
    const bool pipe = c.channel.section.shape == SectionKind::Pipe;
    const double qTop = RatingRowAt(c.channel, c.top).discharge;
    const double asked = pipe ? qTop * 1.2 : qTop;  // above a pipe's full flow and maximum
    const RatingTable t = BuildRatingTable(c.channel, {RatingStep::Discharge, 0, asked, 301});
    ASSERT_EQ(t.problem, "");
    ASSERT_EQ(t.rows.size(), 301u);
    double previous = -1;
    for (const RatingRow& r : t.rows) {
      EXPECT_GT(r.depth, previous);
      previous = r.depth;
      EXPECT_TRUE(Near(RatingRowAt(c.channel, r.depth).discharge, r.discharge, 1e-13))
          << r.discharge;
    }
    if (pipe) {
      const PipeFlowPoint peak =
          PipeMaximumFlow(c.channel.section.diameter, c.channel.slope, c.channel.n);
      ASSERT_TRUE(t.cutAt);
      EXPECT_EQ(*t.cutAt, peak.discharge);
      EXPECT_EQ(t.rows.back().depth, peak.depth);
      EXPECT_FALSE(NormalDepth(c.channel, peak.discharge * (1 + 1e-9)));
      // Full flow is carried lower down too, below the peak.
      const auto lower = NormalDepth(c.channel, qTop);
      ASSERT_TRUE(lower);
      EXPECT_LT(*lower, peak.depth);
      EXPECT_GT(*lower, 0.8 * c.channel.section.diameter);
    } else {
      EXPECT_FALSE(t.cutAt);
      EXPECT_TRUE(Near(t.rows.back().depth, c.top, 1e-13));
    }
  }
}

TEST(RatingTableTest, DepthsAboveThePipeCrownStopAtTheCrown) {
  const RatingChannel c{Pipe(0.6), 0.002, 0.013};
  const RatingTable t = BuildRatingTable(c, {RatingStep::Depth, 0.3, 0.9, 4});
  ASSERT_EQ(t.rows.size(), 4u);
  EXPECT_EQ(t.cutAt, 0.6);
  EXPECT_EQ(t.rows[0].depth, 0.3);
  EXPECT_EQ(t.rows[3].depth, 0.6);
  EXPECT_EQ(t.rows[3].percentFull, 100.0);
  EXPECT_TRUE(Near(*t.rows[0].percentFull, 50));
}

struct FailureCase {
  const char* name;
  RatingChannel channel;
  RatingRequest request;
  const char* problem;
};

TEST(RatingTableTest, ChannelsAndRangesWithoutARatingSayWhy) {
  const RatingRequest ok{RatingStep::Depth, 0, 1, 11};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const FailureCase cases[] = {
      {"pipe without diameter", {Pipe(0), 0.01, 0.013}, ok, "The pipe needs a diameter above 0."},
      {"rectangle without width",
       {Rectangle(0), 0.01, 0.013},
       ok,
       "The rectangle needs a width above 0."},
      {"flat triangle", {Triangle(0), 0.01, 0.013}, ok, "The triangle needs a side slope above 0."},
      {"trapezoid of nothing",
       {Trapezoid(0, 0), 0.01, 0.013},
       ok,
       "The section needs a width or a side slope above 0."},
      {"gutter with a negative side",
       {Gutter(1, -2), 0.01, 0.013},
       ok,
       "The section needs a width or a side slope above 0."},
      {"level channel", {Rectangle(1), 0, 0.013}, ok, "The channel slope must be above 0."},
      {"no roughness", {Rectangle(1), 0.01, 0}, ok, "Manning's n must be above 0."},
      {"one row",
       {Rectangle(1), 0.01, 0.013},
       {RatingStep::Depth, 0, 1, 1},
       "The number of rows must be from 2 to 1000000."},
      {"too many rows",
       {Rectangle(1), 0.01, 0.013},
       {RatingStep::Depth, 0, 1, 1000001},
       "The number of rows must be from 2 to 1000000."},
      {"range upside down",
       {Rectangle(1), 0.01, 0.013},
       {RatingStep::Depth, 1, 0.5, 11},
       "The range must start at 0 or more and end above its start."},
      {"negative start",
       {Rectangle(1), 0.01, 0.013},
       {RatingStep::Discharge, -1, 1, 11},
       "The range must start at 0 or more and end above its start."},
      {"not a number",
       {Rectangle(1), 0.01, 0.013},
       {RatingStep::Depth, 0, nan, 11},
       "The range must start at 0 or more and end above its start."},
      {"pipe depths from the crown",
       {Pipe(1), 0.01, 0.013},
       {RatingStep::Depth, 1, 2, 11},
       "The range starts at or above the pipe's crown."},
      {"pipe discharges beyond the peak",
       {Pipe(1), 0.001, 0.013},
       {RatingStep::Discharge, 5, 6, 11},
       "The range starts at or above the pipe's maximum discharge."},
      {"a depth whose area overflows",
       {Triangle(2), 0.01, 0.013},
       {RatingStep::Depth, 0, 1e200, 11},
       "The range is too large for this channel: its figures overflow."},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RatingTable t = BuildRatingTable(c.channel, c.request);
    EXPECT_EQ(t.problem, c.problem);
    EXPECT_TRUE(t.rows.empty());
    EXPECT_FALSE(t.cutAt);
  }
}

std::vector<RatingMarkKind> Kinds(const std::vector<RatingMark>& marks) {
  std::vector<RatingMarkKind> kinds;
  for (const RatingMark& m : marks) kinds.push_back(m.kind);
  return kinds;
}

TEST(RatingTableTest, MarksLieOnTheCurveAtTheirDepths) {
  using K = RatingMarkKind;
  const RatingChannel pipe{Pipe(1), 0.001, 0.013};
  const double q = RatingRowAt(pipe, 0.9).discharge;  // above full flow: two depths
  const double lower = *NormalDepth(pipe, q);
  const std::vector<RatingMark> marks = RatingMarks(pipe, RatingSolution{0.9, q, lower});
  ASSERT_EQ(Kinds(marks),
            (std::vector{K::Solution, K::Alternate, K::Critical, K::FullFlow, K::MaximumFlow}));
  EXPECT_EQ(marks[0].row.depth, 0.9);
  EXPECT_TRUE(Near(marks[1].row.discharge, q, 1e-13));
  EXPECT_EQ(marks[2].row.depth, CriticalDepth(pipe.section, q).depth);
  EXPECT_EQ(marks[2].forDischarge, q);
  EXPECT_EQ(marks[3].row.depth, 1);
  EXPECT_EQ(marks[4].row.depth, PipeMaximumFlow(1, 0.001, 0.013).depth);

  // Without a solution only the pipe's own capacities; an open channel has none of them.
  EXPECT_EQ(Kinds(RatingMarks(pipe, std::nullopt)), (std::vector{K::FullFlow, K::MaximumFlow}));
  const RatingChannel swale{Trapezoid(0.6, 4), 0.005, 0.035};
  const double qs = RatingRowAt(swale, 0.26).discharge;
  EXPECT_EQ(Kinds(RatingMarks(swale, RatingSolution{0.26, qs, std::nullopt})),
            (std::vector{K::Solution, K::Critical}));
  EXPECT_TRUE(RatingMarks({Rectangle(0), 0.01, 0.013}, RatingSolution{1, 1, {}}).empty());
}

}  // namespace
}  // namespace rivulet
