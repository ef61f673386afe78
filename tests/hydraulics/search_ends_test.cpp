// How the searches end: a cap that runs out says so and still hands back the last iterate,
// a cap just large enough does not, and the solver carries the worst end into its record.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/hydraulics/geometry.h"
#include "core/hydraulics/manning_check.h"
#include "core/hydraulics/searches.h"
#include "core/hydraulics/solver.h"
#include "core/hydraulics/units.h"
#include "digits.h"
#include "sheet_builder.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using testing::RelativelyNear;
using testing::Solve;

const double kPi = 4 * std::atan(1.0);
const double kEps = MachineEpsilon();
const SearchContext kTrapezoid{SectionKind::Trapezoid, kEps, kPi};
const SearchContext kPipe{SectionKind::Pipe, kEps, kPi};

// b = y = 1 m, S = 0.001, n = 0.013: two side slopes give 1.6 m/s (see searches_test).
SideSlopeSearch Trapezoid(double velocity) {
  return {.width = 1, .depth = 1, .velocity = velocity, .slope = 0.001, .n = 0.013};
}

TEST(SearchCapTest, ACapThatRunsOutSaysSo) {
  struct Row {
    const char* name;
    std::function<SearchResult()> search;
    SearchEnd end;
    int evaluations;
  };
  // The angle search needs 173 steps and Newton 8 iterations for 1.6 m/s: a cap of exactly
  // that converges, one less does not.
  const Row rows[] = {
      {"angle search, its own cap", [] { return SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.6)); },
       SearchEnd::Converged, 173},
      {"angle search, cap just enough",
       [] {
         return SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.6), {kAngleSearchTolerance, 173});
       },
       SearchEnd::Converged, 173},
      {"angle search, one step short",
       [] {
         return SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.6), {kAngleSearchTolerance, 172});
       },
       SearchEnd::HitCap, 172},
      {"angle search, no steps allowed",
       [] {
         return SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.6), {kAngleSearchTolerance, 0});
       },
       SearchEnd::HitCap, 0},
      {"angle search, target above the peak: the sides reach vertical",
       [] { return SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.7)); }, SearchEnd::NoBracket, 900},
      {"Newton, its own cap",
       [] {
         return NewtonSideSlope(kTrapezoid, Trapezoid(1.6), {kEps, kNewtonCap});
       },
       SearchEnd::Converged, 8},
      {"Newton, cap just enough",
       [] {
         return NewtonSideSlope(kTrapezoid, Trapezoid(1.6), {kEps, 8});
       },
       SearchEnd::Converged, 8},
      {"Newton, one iteration short",
       [] {
         return NewtonSideSlope(kTrapezoid, Trapezoid(1.6), {kEps, 7});
       },
       SearchEnd::HitCap, 7},
      {"Newton, no iterations allowed",
       [] {
         return NewtonSideSlope(kTrapezoid, Trapezoid(1.6), {kEps, 0});
       },
       SearchEnd::HitCap, 0},
      {"Newton wandering without a root runs into its own cap",
       [] {
         return NewtonSideSlope(kTrapezoid,
                                {.width = 1, .depth = 10, .velocity = 100, .slope = 1, .n = 0.013},
                                {kEps, kNewtonCap});
       },
       SearchEnd::HitCap, kNewtonCap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult r = row.search();
    EXPECT_EQ(r.end, row.end);
    EXPECT_EQ(r.evaluations, row.evaluations);
  }
}

TEST(SearchCapTest, ACappedSearchHandsBackItsLastIterate) {
  // From 1e-8° the angle rises by 0.1° a step while the sides are too steep: the third step
  // evaluates 0.2°, far from the 10.2° solution.
  const SearchResult r =
      SearchSideSlopeAngle(kTrapezoid, Trapezoid(1.6), {kAngleSearchTolerance, 3});
  EXPECT_EQ(r.end, SearchEnd::HitCap);
  const double angle = (1e-8 + 0.1) + 0.1;
  EXPECT_EQ(r.value, ConvertSideSlope(angle, testing::kDegrees, kToBase, kPi));
  // Newton stopped early: its last slope is not yet a root.
  const SearchResult n = NewtonSideSlope(kTrapezoid, Trapezoid(1.6), {kEps, 3});
  const double v = ManningVelocity(
      HydraulicRadius(TrapezoidArea(1, 1, n.value), TrapezoidPerimeter(1, 1, n.value)), 0.001,
      0.013);
  EXPECT_GT(std::abs(v - 1.6), 1e-6);
}

TEST(SearchCapTest, PipePeakSearch) {
  struct Row {
    const char* name;
    double eps;
    int cap;
    SearchEnd end;
    int evaluations;  // two to start, one per narrowing
  };
  const Row rows[] = {
      {"its own cap", kEps, kPeakSearchCap, SearchEnd::Converged, 76},
      {"cap just enough", kEps, 74, SearchEnd::Converged, 76},
      {"one narrowing short", kEps, 73, SearchEnd::HitCap, 75},
      {"a tolerance of 0 is never met: the bracket stalls at adjacent depths", 0, kPeakSearchCap,
       SearchEnd::HitCap, 2 + kPeakSearchCap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PipePeak peak = LocatePipePeak({SectionKind::Pipe, row.eps, kPi}, FlowQuantity::Velocity,
                                         1, 0.001, 0.013, row.cap);
    EXPECT_EQ(peak.end, row.end);
    EXPECT_EQ(peak.evaluations, row.evaluations);
    EXPECT_NEAR(peak.depth, 0.8128, 1e-4);  // capped or not, the best depth seen
  }
}

TEST(SearchCapTest, PartFullDepthCarriesTheCapOfItsPeakSearch) {
  // 1.095 m/s lies between the full-pipe velocity and the peak, so the depth comes from the
  // rising branch below the peak found first. With a tolerance of 0 that peak search runs
  // into its cap; the depth found below it still carries the target.
  const FlowTarget flow{FlowQuantity::Velocity, 1.095, 0.001, 0.013};
  const SearchResult normal = PartFullPipeDepth(kPipe, flow, 1);
  const SearchResult capped = PartFullPipeDepth({SectionKind::Pipe, 0, kPi}, flow, 1);
  EXPECT_EQ(normal.end, SearchEnd::Converged);
  EXPECT_EQ(capped.end, SearchEnd::HitCap);
  EXPECT_TRUE(RelativelyNear(capped.value, normal.value, 1e-12));
}

TEST(SolveRecordTest, CarriesTheWorstEndOfItsSearches) {
  struct Row {
    const char* name;
    int section;
    bool velocityMode;
    Solve unknown;
    testing::Inputs inputs;
    SearchEnd end;
    bool satisfiesManning;
  };
  const Row rows[] = {
      {"rectangle depth by bisection",
       testing::kRectangle,
       false,
       Solve::Depth,
       {"1", "", "2", "", "0.001", "0.013"},
       SearchEnd::Converged,
       true},
      {"trapezoid side slope and its alternate",
       testing::kTrapezoid,
       true,
       Solve::Side,
       {"1.6", "1", "1", "", "0.001", "0.013"},
       SearchEnd::Converged,
       true},
      {"pipe depth with an alternate",
       testing::kPipe,
       true,
       Solve::Depth,
       {"1.05", "", "1", "", "0.001", "0.013"},
       SearchEnd::Converged,
       true},
      {"pipe velocity above the peak: the depth closes on the crown",
       testing::kPipe,
       true,
       Solve::Depth,
       {"1.2", "", "1", "", "0.001", "0.013"},
       SearchEnd::NoBracket,
       false},
      // Newton's tolerance, eps in m/s, is finer than the rounding of 100 m/s: it reaches the
      // root, then steps between two neighbours of it until the cap.
      {"Newton capped on a root",
       testing::kTrapezoid,
       true,
       Solve::Side,
       {"100", "10", "1", "", "1", "0.013"},
       SearchEnd::HitCap,
       true},
      // No side slope gives 0.5 m/s here: Newton wanders until the cap, and only the
      // Manning check that Calculate applies afterwards refuses its last slope.
      {"Newton capped far from any root",
       testing::kTrapezoid,
       true,
       Solve::Side,
       {"0.5", "0.1", "1", "", "0.001", "0.013"},
       SearchEnd::HitCap,
       false},
      {"direct solve",
       testing::kRectangle,
       true,
       Solve::Row1,
       {"", "1", "2", "", "0.001", "0.013"},
       SearchEnd::Converged,
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CalculationSheet sheet;
    testing::PrepareSheet(sheet, row.section, row.velocityMode);
    testing::SelectUnknown(sheet, row.unknown);
    testing::SetInputs(sheet, row.inputs);
    HydraulicState state;
    RecordingServices services;
    SolveManning(sheet, state, services);
    // The solve itself accepts each of them, as it always has; only the record tells.
    ASSERT_FALSE(state.noSolution);
    EXPECT_EQ(state.last.searchEnd, row.end);
    EXPECT_EQ(SatisfiesManning(state.last, kPi), row.satisfiesManning);
  }
}

}  // namespace
}  // namespace rivulet
