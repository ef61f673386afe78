#include "core/hydraulics/searches.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/units.h"
#include "digits.h"

namespace rivulet {
namespace {

using testing::MatchesFigure;
using testing::RelativelyNear;

const double kPi = 4 * std::atan(1.0);
const double kEps = MachineEpsilon();
constexpr double kSlope = 0.001;
constexpr double kN = 0.013;

SearchContext Context(SectionKind kind) { return SearchContext{kind, kEps, kPi}; }

double Degrees(double z) { return ConvertSideSlope(z, 2, kFromBase, kPi); }

// Flow of a 1 m pipe at depth y, from the geometry routines rather than the search's own.
double PipeFlowAt(FlowQuantity q, double y, double d = 1) {
  const double theta = PipeAngle(y, d, kPi);
  const double a = PipeArea(theta, d);
  const double v = ManningVelocity(HydraulicRadius(a, PipePerimeter(theta, d)), kSlope, kN);
  return q == FlowQuantity::Velocity ? v : v * a;
}

double TrapezoidVelocity(double z) {
  return ManningVelocity(HydraulicRadius(TrapezoidArea(1, 1, z), TrapezoidPerimeter(1, 1, z)),
                         kSlope, kN);
}

TEST(MachineEpsilonTest, IsTwoToTheMinus52) {
  EXPECT_EQ(MachineEpsilon(), std::ldexp(1.0, -52));
  EXPECT_EQ(MachineEpsilon(), 2.220446049250313e-16);
}

FlowTarget Flow(FlowQuantity quantity, double value) { return {quantity, value, kSlope, kN}; }

SideSlopeSearch SideSlope(double velocity, double b = 1, double y = 1, double slope = kSlope) {
  return {.width = b, .depth = y, .velocity = velocity, .slope = slope, .n = kN};
}

const StoppingRule kNewton{kEps, kNewtonCap};

TEST(BisectOpenChannelTest, RectangleDepthFromDischarge) {
  const SearchResult r = BisectOpenChannel(
      Context(SectionKind::Rectangle),
      {.unknown = ChannelUnknown::Depth, .flow = Flow(FlowQuantity::Discharge, 1), .width = 2});
  EXPECT_TRUE(MatchesFigure(r.value, "0.448916251"));
  EXPECT_EQ(r.evaluations, 78);
  EXPECT_EQ(r.end, SearchEnd::Converged);
}

TEST(BisectOpenChannelTest, UnreachableTargetGivesExactlyTheLimit) {
  struct Row {
    const char* name;
    SectionKind key;
    ChannelUnknown unknown;
    double b, y, z, target;  // the one sought is ignored
  };
  const Row rows[] = {
      {"trapezoid width for a flood through a film", SectionKind::Trapezoid, ChannelUnknown::Width,
       0, 1e-6, 1, 1e12},
      {"gutter depth", SectionKind::Gutter, ChannelUnknown::Depth, 1, 0, 1, 1e40},
      {"triangle side", SectionKind::Triangle, ChannelUnknown::Side, 0, 1e-7, 0, 1e20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult r = BisectOpenChannel(
        Context(row.key),
        {row.unknown, Flow(FlowQuantity::Discharge, row.target), row.b, row.y, row.z});
    EXPECT_EQ(r.value, kNoSolution);
    EXPECT_EQ(r.end, SearchEnd::NoBracket);
  }
}

TEST(BisectOpenChannelTest, SolutionsReproduceTheirTarget) {
  // Gutter formulas only for the gutter; the others run as a trapezoid.
  struct Row {
    const char* name;
    SectionKind key;
    ChannelUnknown unknown;
    FlowQuantity quantity;
    double b, y, z;  // the channel whose flow is the target
  };
  const Row rows[] = {
      {"gutter depth by velocity", SectionKind::Gutter, ChannelUnknown::Depth,
       FlowQuantity::Velocity, 0.5, 0.3, 4},
      {"gutter width by discharge", SectionKind::Gutter, ChannelUnknown::Width,
       FlowQuantity::Discharge, 0.5, 0.3, 4},
      {"gutter side by discharge", SectionKind::Gutter, ChannelUnknown::Side,
       FlowQuantity::Discharge, 0.5, 0.3, 4},
      {"trapezoid side by discharge", SectionKind::Trapezoid, ChannelUnknown::Side,
       FlowQuantity::Discharge, 2, 0.7, 1.5},
      {"triangle side by discharge", SectionKind::Triangle, ChannelUnknown::Side,
       FlowQuantity::Discharge, 0, 0.7, 1.5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const bool gutter = row.key == SectionKind::Gutter;
    auto flow = [&](double b, double y, double z) {
      const double a = gutter ? GutterArea(b, y, z) : TrapezoidArea(b, y, z);
      const double p = gutter ? GutterPerimeter(b, y, z) : TrapezoidPerimeter(b, y, z);
      const double v = ManningVelocity(HydraulicRadius(a, p), kSlope, kN);
      return row.quantity == FlowQuantity::Velocity ? v : v * a;
    };
    const double target = flow(row.b, row.y, row.z);
    // The sought field holds a wrong value on purpose: the search must not read it.
    ChannelSearch search{row.unknown, Flow(row.quantity, target), row.b, row.y, row.z};
    double expected = 0;
    switch (row.unknown) {
      case ChannelUnknown::Depth:
        expected = std::exchange(search.depth, 7);
        break;
      case ChannelUnknown::Width:
        expected = std::exchange(search.width, 7);
        break;
      case ChannelUnknown::Side:
        expected = std::exchange(search.side, 7);
        break;
    }
    const SearchResult found = BisectOpenChannel(Context(row.key), search);
    EXPECT_TRUE(RelativelyNear(found.value, expected, 1e-12));
    EXPECT_EQ(found.end, SearchEnd::Converged);
  }
}

TEST(BisectPipeTest, DepthAndAlternateSearchAboveTheLowerBound) {
  struct Row {
    const char* name;
    PipeUnknown unknown;
    FlowQuantity quantity;
    double lower, target;
    const char* figure;
  };
  const Row rows[] = {
      {"depth by velocity", PipeUnknown::Depth, FlowQuantity::Velocity, 0, 1.05, "0.6269516"},
      {"alternate depth searched over [0.6, 1]", PipeUnknown::AltDepth, FlowQuantity::Velocity, 0.6,
       1.05, "0.9581926"},
      {"depth by discharge", PipeUnknown::Depth, FlowQuantity::Discharge, 0, 0.78, "0.8481725"},
      {"alternate by discharge", PipeUnknown::AltDepth, FlowQuantity::Discharge, 0.8481725, 0.78,
       "0.9954650"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult r =
        BisectPipe(Context(SectionKind::Pipe), {.unknown = row.unknown,
                                                .flow = Flow(row.quantity, row.target),
                                                .diameter = 1,
                                                .lower = row.lower});
    EXPECT_TRUE(MatchesFigure(r.value, row.figure));
    EXPECT_GE(r.value, row.lower);
    EXPECT_EQ(r.end, SearchEnd::Converged);
    // A 1 m diameter takes about 53 halvings.
    EXPECT_GE(r.evaluations, 48);
    EXPECT_LE(r.evaluations, 56);
  }
}

TEST(BisectPipeTest, FirstMidpointIsHalfTheDiameter) {
  // Half full carries the full-pipe velocity. With that target the first evaluation gives a
  // residual of zero, which moves the lower bound; the rest of the search lies above and
  // closes back on the first midpoint.
  const double halfFull = PipeFlowAt(FlowQuantity::Velocity, 0.5);
  const SearchResult r =
      BisectPipe(Context(SectionKind::Pipe), {.unknown = PipeUnknown::Depth,
                                              .flow = Flow(FlowQuantity::Velocity, halfFull),
                                              .diameter = 1});
  EXPECT_GE(r.value, 0.5);
  EXPECT_NEAR(r.value, 0.5, 1e-15);
}

TEST(BisectPipeTest, DiameterBelowDepthCountsAsHalfFull) {
  const SearchResult r = BisectPipe(
      Context(SectionKind::Pipe),
      {.unknown = PipeUnknown::Diameter, .flow = Flow(FlowQuantity::Discharge, 1), .depth = 2});
  EXPECT_TRUE(MatchesFigure(r.value, "1.4387035"));
  // Half full: A = πD²/8 and R = D/4.
  const double d = r.value;
  const double halfFull = kPi * d * d / 8 * ManningVelocity(d / 4, kSlope, kN);
  EXPECT_NEAR(halfFull, 1, 1e-12);
}

TEST(SideSlopeSearchTest, TrapezoidHasTwoSolutions) {
  // Vertical sides, peak near z = 2.2, flat limit.
  EXPECT_TRUE(MatchesFigure(TrapezoidVelocity(0), "1.1694"));
  EXPECT_TRUE(MatchesFigure(TrapezoidVelocity(2.2), "1.6301"));
  EXPECT_TRUE(MatchesFigure(TrapezoidVelocity(1e7), "1.5324"));

  const SearchResult flatter =
      SearchSideSlopeAngle(Context(SectionKind::Trapezoid), SideSlope(1.6));
  EXPECT_TRUE(MatchesFigure(flatter.value, "5.5477"));
  EXPECT_TRUE(MatchesFigure(Degrees(flatter.value), "10.218"));
  EXPECT_EQ(flatter.evaluations, 173);
  EXPECT_LE(std::abs(TrapezoidVelocity(flatter.value) - 1.6), kAngleSearchTolerance);

  const SearchResult steeper =
      NewtonSideSlope(Context(SectionKind::Trapezoid), SideSlope(1.6), kNewton);
  EXPECT_TRUE(MatchesFigure(steeper.value, "1.2000"));
  EXPECT_TRUE(MatchesFigure(Degrees(steeper.value), "39.805"));
  EXPECT_EQ(steeper.evaluations, 8);
  EXPECT_NEAR(TrapezoidVelocity(steeper.value), 1.6, 1e-14);
}

TEST(SideSlopeSearchTest, NewtonReturnsTheLastSlopeItEvaluated) {
  // One rounding unit above the velocity with vertical sides: the first residual is already
  // within eps, and the answer is z = 0, not the step taken after it.
  const double vertical = TrapezoidVelocity(0);
  const SearchResult r = NewtonSideSlope(Context(SectionKind::Trapezoid),
                                         SideSlope(std::nextafter(vertical, 2.0)), kNewton);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.evaluations, 1);
}

TEST(SideSlopeSearchTest, AngleSearchGivesUpWhenFlatSidesAlreadySuffice) {
  const SearchResult r = SearchSideSlopeAngle(Context(SectionKind::Trapezoid), SideSlope(1.1));
  EXPECT_EQ(r.value, kNoSolution);
  EXPECT_EQ(r.evaluations, 1);
  EXPECT_EQ(r.end, SearchEnd::NoBracket);
}

TEST(SideSlopeSearchTest, GutterFormulasForAnyKeyButTrapezoid) {
  // A wide, shallow channel: flattening the sides slows the flow, so the angle search meets
  // the target on its way up. Read as a trapezoid or a gutter the answers differ, and the
  // triangle key counts as a gutter here.
  const double target = 1.7, b = 5, y = 1;
  const double asTrapezoid =
      SearchSideSlopeAngle(Context(SectionKind::Trapezoid), SideSlope(target, b, y)).value;
  const double asGutter =
      SearchSideSlopeAngle(Context(SectionKind::Gutter), SideSlope(target, b, y)).value;
  const double asTriangle =
      SearchSideSlopeAngle(Context(SectionKind::Triangle), SideSlope(target, b, y)).value;
  EXPECT_EQ(asTriangle, asGutter);
  auto velocity = [&](double a, double p) {
    return ManningVelocity(HydraulicRadius(a, p), kSlope, kN);
  };
  EXPECT_LE(
      std::abs(velocity(GutterArea(b, y, asGutter), GutterPerimeter(b, y, asGutter)) - target),
      kAngleSearchTolerance);
  EXPECT_LE(
      std::abs(velocity(TrapezoidArea(b, y, asTrapezoid), TrapezoidPerimeter(b, y, asTrapezoid)) -
               target),
      kAngleSearchTolerance);
  EXPECT_GT(std::abs(asTrapezoid - asGutter), 0.1);
}

TEST(SearchFaultTest, FaultsEndTheSearch) {
  struct Row {
    const char* name;
    std::function<SearchResult()> search;
  };
  const Row rows[] = {
      {"Newton on a triangle: no radius at vertical sides",
       [] { return NewtonSideSlope(Context(SectionKind::Trapezoid), SideSlope(1, 0), kNewton); }},
      {"pipe of no diameter",
       [] {
         return BisectPipe(Context(SectionKind::Pipe), {.unknown = PipeUnknown::Depth,
                                                        .flow = Flow(FlowQuantity::Velocity, 1)});
       }},
      {"open channel without roughness",
       [] {
         return BisectOpenChannel(Context(SectionKind::Rectangle),
                                  {.unknown = ChannelUnknown::Depth,
                                   .flow = {FlowQuantity::Discharge, 1, kSlope, 0},
                                   .width = 2});
       }},
      {"angle search on a negative slope",
       [] {
         return SearchSideSlopeAngle(Context(SectionKind::Trapezoid), SideSlope(1, 1, 1, -kSlope));
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_THROW(r.search(), ArithmeticFault);
  }
}

TEST(PipePeakTest, PeaksBelowTheCrown) {
  struct Row {
    const char* name;
    FlowQuantity quantity;
    double depth;  // fraction of the diameter
    double ratio;  // peak over the full-pipe value
  };
  const Row rows[] = {
      {"velocity", FlowQuantity::Velocity, 0.8128, 1.1400},
      {"discharge", FlowQuantity::Discharge, 0.9382, 1.0757},
  };
  for (const Row& row : rows) {
    for (double d : {0.3, 1.0, 2.5}) {
      SCOPED_TRACE(std::string(row.name) + " " + std::to_string(d));
      const PipePeak peak = LocatePipePeak(Context(SectionKind::Pipe), row.quantity, d, kSlope, kN);
      EXPECT_NEAR(peak.depth / d, row.depth, 1e-4);
      EXPECT_NEAR(peak.value / PipeFlowAt(row.quantity, d, d), row.ratio, 1e-4);
      // Nothing on either side carries more.
      for (double f : {0.999, 1.001})
        EXPECT_LE(PipeFlowAt(row.quantity, std::min(peak.depth * f, d), d), peak.value);
    }
  }
}

TEST(PartFullPipeDepthTest, FindsTheRisingBranchWhereTheBisectionRunsToTheCrown) {
  struct Row {
    const char* name;
    FlowQuantity quantity;
    double target;
  };
  // Between the full-pipe value and the peak; the plain bisection walks past the peak here.
  const Row rows[] = {
      {"velocity 1.095", FlowQuantity::Velocity, 1.095},
      {"velocity 1.1", FlowQuantity::Velocity, 1.1},
      {"discharge just below its peak", FlowQuantity::Discharge, 0.8155805},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult plain = BisectPipe(
        Context(SectionKind::Pipe),
        {.unknown = PipeUnknown::Depth, .flow = Flow(row.quantity, row.target), .diameter = 1});
    ASSERT_NEAR(plain.value, 1, 1e-15) << "the plain search no longer fails here";

    const PipePeak peak = LocatePipePeak(Context(SectionKind::Pipe), row.quantity, 1, kSlope, kN);
    const SearchResult mended =
        PartFullPipeDepth(Context(SectionKind::Pipe), Flow(row.quantity, row.target), 1);
    EXPECT_LT(mended.value, peak.depth);
    EXPECT_EQ(mended.end, SearchEnd::Converged);
    EXPECT_TRUE(RelativelyNear(PipeFlowAt(row.quantity, mended.value), row.target, 1e-12));
    EXPECT_GT(mended.evaluations, plain.evaluations);
  }
}

TEST(PartFullPipeDepthTest, AgreesWithTheBisectionElsewhere) {
  struct Row {
    const char* name;
    FlowQuantity quantity;
    double target;
    SearchEnd end;  // above the peak the search closes on the crown without a crossing
  };
  const Row rows[] = {
      {"low velocity", FlowQuantity::Velocity, 0.9, SearchEnd::Converged},
      {"velocity with an alternate", FlowQuantity::Velocity, 1.05, SearchEnd::Converged},
      {"velocity above the peak surcharges", FlowQuantity::Velocity, 1.2, SearchEnd::NoBracket},
      {"discharge", FlowQuantity::Discharge, 0.78, SearchEnd::Converged},
      {"discharge above the peak surcharges", FlowQuantity::Discharge, 0.82, SearchEnd::NoBracket},
      {"tiny discharge", FlowQuantity::Discharge, 1e-9, SearchEnd::Converged},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult plain = BisectPipe(
        Context(SectionKind::Pipe),
        {.unknown = PipeUnknown::Depth, .flow = Flow(row.quantity, row.target), .diameter = 1});
    const SearchResult mended =
        PartFullPipeDepth(Context(SectionKind::Pipe), Flow(row.quantity, row.target), 1);
    EXPECT_EQ(mended.value, plain.value);
    EXPECT_EQ(mended.end, row.end);
    if (row.end == SearchEnd::NoBracket) {
      EXPECT_NEAR(mended.value, 1, 1e-15);
    }
  }
}

}  // namespace
}  // namespace rivulet
