#include "core/hydraulics/flow_details.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

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
constexpr double kGamma = 1000 * g;
constexpr double kFoot = 0.3048;

// The reference values below come from the textbook definitions written out again here,
// not from the program's geometry routines (hand_geometry.h), and roots by false position
// instead of bisection.
double HandDischarge(const ChannelSection& s, double y, double slope, double n) {
  const Hand h = HandGeometry(s, y);
  return h.a * std::pow(h.a / h.p, 2.0 / 3.0) * std::sqrt(slope) / n;
}

// Illinois false position on f over [lo, hi], f(lo) < 0 < f(hi).
double HandRoot(const std::function<double(double)>& f, double lo, double hi) {
  double flo = f(lo), fhi = f(hi);
  int side = 0;
  for (int i = 0; i < 400 && hi - lo > 1e-15 * hi; ++i) {
    const double x = (lo * fhi - hi * flo) / (fhi - flo);
    const double fx = f(x);
    if (fx == 0) return x;
    if (fx < 0) {
      lo = x, flo = fx;
      if (side == -1) fhi /= 2;
      side = -1;
    } else {
      hi = x, fhi = fx;
      if (side == 1) flo /= 2;
      side = 1;
    }
  }
  return (lo + hi) / 2;
}

double HandCriticalDepth(const ChannelSection& s, double q) {
  const double top = s.shape == SectionKind::Pipe ? s.diameter * (1 - 1e-9) : 50;
  return HandRoot(
      [&](double y) {
        const Hand h = HandGeometry(s, y);
        return std::log(g * h.a * h.a * h.a / (q * q * h.t));
      },
      1e-9, top);
}

using testing::Near;

struct SolvedCase {
  const char* name;
  ChannelSection section;
  double depth, slope, n;
  const char* regime;
  const char* slopeClass;
};

// One solved section of every shape, each quantity against its definition. The depth,
// slope and roughness are given; the discharge is Manning's at that depth, so the depth is
// the normal depth and the regime and slope class must agree.
TEST(FlowDetailsTest, EveryQuantityOfEverySectionMatchesItsDefinition) {
  const SolvedCase cases[] = {
      {"storm sewer, 64% full", Pipe(0.45), 0.289162706091373, 0.005, 0.013, "Subcritical", "Mild"},
      {"pipe at 0.9 D", Pipe(1), 0.9, 0.001, 0.013, "Subcritical", "Mild"},
      {"concrete rectangle", Rectangle(2), 0.8, 0.001, 0.015, "Subcritical", "Mild"},
      {"steep rectangle", Rectangle(1), 0.2, 0.05, 0.013, "Supercritical", "Steep"},
      {"V-ditch just past critical", Triangle(3), 0.3, 0.01, 0.022, "Supercritical", "Steep"},
      {"steep trapezoid", Trapezoid(1, 1), 0.3, 0.02, 0.015, "Supercritical", "Steep"},
      {"grassed swale", Trapezoid(0.6, 4), 0.26, 0.005, 0.035, "Subcritical", "Mild"},
      {"kerb and gutter", Gutter(0.3, 50), 0.048, 0.01, 0.016, "Supercritical", "Steep"},
      {"gutter without pan", Gutter(0, 20), 0.05, 0.02, 0.016, "Supercritical", "Steep"},
  };
  for (const SolvedCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double q = HandDischarge(c.section, c.depth, c.slope, c.n);
    const auto details = ComputeFlowDetails({c.section, c.depth, c.slope, c.n, q, {}});
    ASSERT_TRUE(details);
    const FlowDetails& f = *details;
    const Hand h = HandGeometry(c.section, c.depth);
    const double v = q / h.a;
    EXPECT_TRUE(Near(f.area, h.a));
    EXPECT_TRUE(Near(f.wettedPerimeter, h.p));
    EXPECT_TRUE(Near(f.hydraulicRadius, h.a / h.p));
    EXPECT_TRUE(Near(f.topWidth, h.t, 1e-11));
    ASSERT_TRUE(f.hydraulicDepth);
    EXPECT_TRUE(Near(*f.hydraulicDepth, h.a / h.t, 1e-11));
    EXPECT_TRUE(Near(f.velocity, v));
    EXPECT_TRUE(Near(f.velocityHead, v * v / (2 * g)));
    EXPECT_TRUE(Near(f.specificEnergy, c.depth + v * v / (2 * g)));
    ASSERT_TRUE(f.froude);
    EXPECT_TRUE(Near(*f.froude, v / std::sqrt(g * h.a / h.t), 1e-11));
    EXPECT_STREQ(RegimeName(f.regime), c.regime);

    // Critical depth to the precision of the double search; the quantities derived from it
    // inherit that precision.
    const double yc = HandCriticalDepth(c.section, q);
    ASSERT_EQ(f.critical.state, CriticalState::Found);
    EXPECT_TRUE(Near(f.critical.depth, yc, 1e-11));
    const Hand hc = HandGeometry(c.section, yc);
    ASSERT_TRUE(f.criticalVelocity && f.criticalSlope);
    EXPECT_TRUE(Near(*f.criticalVelocity, q / hc.a, 1e-10));
    EXPECT_TRUE(Near(*f.criticalSlope,
                     std::pow(q / hc.a * c.n / std::pow(hc.a / hc.p, 2.0 / 3.0), 2), 1e-10));
    // At the critical depth the Froude number is 1 by definition.
    EXPECT_TRUE(Near(q / hc.a / std::sqrt(g * hc.a / hc.t), 1, 1e-10));
    ASSERT_TRUE(f.slopeClass);
    EXPECT_STREQ(SlopeClassName(*f.slopeClass), c.slopeClass);

    EXPECT_TRUE(Near(f.averageShear, kGamma * h.a / h.p * c.slope));
    EXPECT_TRUE(Near(f.maximumShear, kGamma * c.depth * c.slope));
    EXPECT_EQ(f.pipe.has_value(), c.section.shape == SectionKind::Pipe);
  }
}

struct PipeCase {
  const char* name;
  double d, depth, slope, n;
  PipeCapacity capacity;
};

// Full flow: A = πD²/4, R = D/4. The peak of A·R^(2/3) lies where 5·T²·P = 4·A·D, which in
// the wetted angle θ reads 3θ − 5θ·cos θ + 2·sin θ = 0 (solved here by false position).
TEST(FlowDetailsTest, PipeCapacitiesMatchTheirDefinitions) {
  const double pi = 4 * std::atan(1.0);
  const double theta = HandRoot(
      [](double t) { return -(3 * t - 5 * t * std::cos(t) + 2 * std::sin(t)); }, pi, 2 * pi - 1e-9);
  const double peakRatio = (1 - std::cos(theta / 2)) / 2;

  const PipeCase cases[] = {
      {"storm sewer", 0.45, 0.289162706091373, 0.005, 0.013, PipeCapacity::OneDepth},
      {"0.9 D carries more than full", 1, 0.9, 0.001, 0.013, PipeCapacity::TwoDepths},
      {"just below the full-flow depth", 1, 0.8196, 0.001, 0.013, PipeCapacity::OneDepth},
      {"just above the full-flow depth", 1, 0.8197, 0.001, 0.013, PipeCapacity::TwoDepths},
      {"running full", 0.6, 0.6, 0.02, 0.011, PipeCapacity::RunningFull},
      {"level pipe", 0.3, 0.1, 0, 0.013, PipeCapacity::NoFlow},
  };
  for (const PipeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const double q = c.slope > 0 ? HandDischarge(Pipe(c.d), c.depth, c.slope, c.n) : 0;
    const auto f = ComputeFlowDetails({Pipe(c.d), c.depth, c.slope, c.n, q, {}});
    ASSERT_TRUE(f && f->pipe);
    const PipeDetails& p = *f->pipe;
    EXPECT_TRUE(Near(p.percentFull, 100 * c.depth / c.d));
    const double fullV = std::pow(c.d / 4, 2.0 / 3.0) * std::sqrt(c.slope) / c.n;
    EXPECT_TRUE(Near(p.full.velocity, fullV));
    EXPECT_TRUE(Near(p.full.discharge, fullV * pi * c.d * c.d / 4));
    EXPECT_TRUE(Near(p.maximum.depth, peakRatio * c.d, 1e-12));
    EXPECT_TRUE(Near(p.maximum.discharge, HandDischarge(Pipe(c.d), peakRatio * c.d, c.slope, c.n)));
    EXPECT_EQ(p.capacity, c.capacity);
  }
}

// The constant-n figures that the hydraulic-elements charts of sewer design texts print for
// circular pipes: the discharge peaks at about 1.076 times full flow at about 0.938 D, and
// the solver's own 0.819629372686432 D carries the full-flow discharge again (about 0.82 D
// on the charts).
TEST(FlowDetailsTest, PipePeakAgreesWithThePublishedFigures) {
  const PipeFlowPoint full = PipeFullFlow(1, 0.001, 0.013);
  EXPECT_NEAR(full.velocity, 0.9653467, 5e-8);  // Manning for a 1 m full pipe
  EXPECT_NEAR(full.discharge, 0.7581815, 5e-8);
  const PipeFlowPoint peak = PipeMaximumFlow(1, 0.001, 0.013);
  EXPECT_NEAR(peak.depth, 0.938, 0.0005);
  EXPECT_NEAR(peak.discharge / full.discharge, 1.076, 0.0005);
  // The peak depth is a property of the circle: it scales with the diameter alone.
  EXPECT_TRUE(Near(PipeMaximumFlow(0.45, 0.05, 0.011).depth, 0.45 * peak.depth, 1e-12));
  // The solver's ratio is the full-flow depth to about seven figures.
  EXPECT_TRUE(Near(HandDischarge(Pipe(1), 0.819629372686432, 0.001, 0.013), full.discharge, 1e-6));
}

struct CriticalCase {
  const char* name;
  ChannelSection section;
  double q;
  double closedForm;  // 0: no closed form, the false-position root is the reference
};

TEST(FlowDetailsTest, CriticalDepthOfEverySection) {
  const CriticalCase cases[] = {
      {"rectangle: (Q²/(g·b²))^(1/3)", Rectangle(2), 3, std::cbrt(9 / (g * 4))},
      {"triangle: (2Q²/(g·z²))^(1/5)", Triangle(3), 0.5, std::pow(2 * 0.25 / (g * 9), 0.2)},
      {"gutter without pan: (8Q²/(g·z²))^(1/5)", Gutter(0, 50), 0.04,
       std::pow(8 * 0.0016 / (g * 2500), 0.2)},
      {"gutter with a pan", Gutter(0.3, 50), 0.04, 0},
      {"trapezoid", Trapezoid(0.6, 4), 0.25, 0},
      {"trapezoid, vertical sides", Trapezoid(2, 0), 3, std::cbrt(9 / (g * 4))},
      {"pipe, low", Pipe(0.45), 0.15, 0},
      {"pipe, near the crown", Pipe(1), 6, 0},
      {"tiny discharge", Rectangle(1), 1e-9, std::cbrt(1e-18 / g)},
      {"large discharge", Trapezoid(20, 2), 5000, 0},
  };
  for (const CriticalCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CriticalDepthResult r = CriticalDepth(c.section, c.q);
    ASSERT_EQ(r.state, CriticalState::Found);
    const double expected = c.closedForm > 0 ? c.closedForm : HandCriticalDepth(c.section, c.q);
    EXPECT_TRUE(Near(r.depth, expected, 1e-11));
    EXPECT_LT(r.evaluations, 200);
  }
}

// Chow, Open-Channel Hydraulics (1959), chapter 4: a trapezoidal channel 20 ft wide at the
// bottom with side slopes of 2 horizontal to 1 vertical carries 400 cfs; its critical depth
// is 2.15 ft and its critical velocity 7.66 fps (worked with g = 32.2 ft/s²).
TEST(FlowDetailsTest, CriticalDepthOfThePublishedTrapezoid) {
  const ChannelSection channel = Trapezoid(20 * kFoot, 2);
  const double q = 400 * kFoot * kFoot * kFoot;
  const auto f = ComputeFlowDetails({channel, 3 * kFoot, 0.001, 0.025, q, {}});
  ASSERT_TRUE(f && f->criticalVelocity);
  EXPECT_NEAR(f->critical.depth / kFoot, 2.15, 0.005);
  EXPECT_NEAR(*f->criticalVelocity / kFoot, 7.66, 0.005);
}

TEST(FlowDetailsTest, FlowsWithoutACriticalDepthOrAFreeSurface) {
  // A pipe always has a critical depth below its crown in theory, but ever closer to it.
  const CriticalDepthResult huge = CriticalDepth(Pipe(1), 100);
  EXPECT_EQ(huge.state, CriticalState::NoneBelowCrown);
  EXPECT_EQ(huge.depth, 0);
  EXPECT_EQ(CriticalDepth(Pipe(1), 40).state, CriticalState::Found);
  EXPECT_EQ(CriticalDepth(Rectangle(1), 0).state, CriticalState::NoFlow);

  // Running full: no surface width, so no hydraulic depth, Froude number or regime; the
  // discharge asked for decides whether the pipe surcharges.
  const double fullQ = PipeFullFlow(0.6, 0.02, 0.011).discharge;
  const double peakQ = PipeMaximumFlow(0.6, 0.02, 0.011).discharge;
  for (const auto& [requested, capacity] :
       {std::pair{std::optional<double>{}, PipeCapacity::RunningFull},
        std::pair{std::optional<double>{peakQ * 1.01}, PipeCapacity::AboveMaximum}}) {
    const auto f = ComputeFlowDetails({Pipe(0.6), 0.7, 0.02, 0.011, fullQ, requested});
    ASSERT_TRUE(f && f->pipe);
    EXPECT_EQ(f->depth, 0.6);  // a depth above the crown is the crown
    EXPECT_EQ(f->topWidth, 0);
    EXPECT_FALSE(f->hydraulicDepth);
    EXPECT_FALSE(f->froude);
    EXPECT_STREQ(RegimeName(f->regime), "None: running full");
    EXPECT_TRUE(Near(f->hydraulicRadius, 0.15));
    EXPECT_EQ(f->pipe->capacity, capacity);
    EXPECT_EQ(f->pipe->percentFull, 100);
  }
  // A sliver of surface at the crown is no free surface: A/T would run to millions of metres.
  const double pi = 4 * std::atan(1.0);
  for (const auto& [depth, hydraulicDepth] :
       {std::pair{0.3, std::optional<double>{pi * 0.6 / 8}},  // half full: A/T = πD/8
        std::pair{0.6 * (1 - 1e-9), std::optional<double>{}},
        std::pair{0.6 * (1 - 1e-15), std::optional<double>{}}}) {
    SCOPED_TRACE(depth);
    const auto f = ComputeFlowDetails({Pipe(0.6), depth, 0.02, 0.011, fullQ, {}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->hydraulicDepth.has_value(), hydraulicDepth.has_value());
    EXPECT_EQ(f->froude.has_value(), hydraulicDepth.has_value());
    if (hydraulicDepth && f->hydraulicDepth) {
      EXPECT_TRUE(Near(*f->hydraulicDepth, *hydraulicDepth));
    }
  }
  const PipeFlowPoint full{1, 1, 1}, peak{0.938, 1.076, 1.1};
  EXPECT_EQ(ClassifyPipeDischarge(1.0761, full, peak), PipeCapacity::AboveMaximum);
  EXPECT_EQ(ClassifyPipeDischarge(1.0, full, peak), PipeCapacity::TwoDepths);

  // A level channel carries nothing: no critical depth, a horizontal slope, no shear.
  const auto level = ComputeFlowDetails({Rectangle(2), 0.5, 0, 0.013, 0, {}});
  ASSERT_TRUE(level);
  EXPECT_EQ(level->critical.state, CriticalState::NoFlow);
  EXPECT_FALSE(level->criticalSlope);
  EXPECT_EQ(level->slopeClass, SlopeClass::Horizontal);
  EXPECT_EQ(*level->froude, 0);
  EXPECT_EQ(level->averageShear, 0);
  // Solving a level pipe for n gives n = 0; it still has its details, all of them still.
  const auto levelPipe = ComputeFlowDetails({Pipe(0.3), 0.1, 0, 0, 0, {}});
  ASSERT_TRUE(levelPipe && levelPipe->pipe);
  EXPECT_EQ(levelPipe->pipe->capacity, PipeCapacity::NoFlow);
  EXPECT_EQ(levelPipe->pipe->full.discharge, 0);

  // Sections that hold no water have no details at all.
  EXPECT_FALSE(ComputeFlowDetails({Triangle(0), 0.5, 0.01, 0.013, 1, {}}));
  EXPECT_FALSE(ComputeFlowDetails({Rectangle(0), 0.5, 0.01, 0.013, 1, {}}));
  EXPECT_FALSE(ComputeFlowDetails({Pipe(1), 0, 0.01, 0.013, 1, {}}));
}

// Near critical flow the regime and the slope class use a stated band, not a coin toss.
TEST(FlowDetailsTest, CriticalBandsOfRegimeAndSlope) {
  const ChannelSection channel = Rectangle(2);
  const double q = 3;
  const double yc = std::cbrt(q * q / (g * 4));
  const double sc = std::pow(q / (2 * yc) * 0.015 / std::pow(2 * yc / (2 + 2 * yc), 2.0 / 3), 2);
  struct Row {
    double depth, slope;
    const char* regime;
    const char* slopeClass;
  };
  // Fr² = (yc/y)³ in a rectangle, so ±0.5% in depth is about ∓0.75% in Froude.
  const Row rows[] = {{yc, sc, "Critical", "Critical"},
                      {yc * 1.005, sc * 0.995, "Critical", "Critical"},
                      {yc * 0.995, sc * 1.005, "Critical", "Critical"},
                      {yc * 1.02, sc * 0.98, "Subcritical", "Mild"},
                      {yc * 0.98, sc * 1.02, "Supercritical", "Steep"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.depth);
    const auto f = ComputeFlowDetails({channel, r.depth, r.slope, 0.015, q, {}});
    ASSERT_TRUE(f && f->slopeClass);
    EXPECT_STREQ(RegimeName(f->regime), r.regime);
    EXPECT_STREQ(SlopeClassName(*f->slopeClass), r.slopeClass);
  }
}

// The solver hands over its unrounded solution, alternate included.
TEST(FlowDetailsTest, SolverRecordsTheSolutionAndItsAlternate) {
  CalculationSheet sheet;
  HydraulicState state;
  RecordingServices services;
  // 1 m pipe, S = 0.001, n = 0.013, V = 1.05 m/s: depths 0.6269516 m and 0.9581926 m.
  testing::PrepareSheet(sheet, testing::kPipe, true);
  testing::SelectUnknown(sheet, Solve::Depth);
  testing::SetInputs(sheet, Inputs{"1.05", "", "1", "", "0.001", "0.013"});
  SolveManning(sheet, state, services);
  EXPECT_EQ(state.last.section, SectionKind::Pipe);
  EXPECT_NEAR(state.last.depth, 0.6269516, 5e-8);
  EXPECT_NEAR(state.last.altDepth, 0.9581926, 5e-8);
  EXPECT_EQ(state.last.velocity, 1.05);
  const Hand alt = HandGeometry(Pipe(1), state.last.altDepth);
  EXPECT_TRUE(Near(state.last.altDischarge, 1.05 * alt.a, 1e-12));
  EXPECT_TRUE(Near(state.last.discharge, 1.05 * HandGeometry(Pipe(1), state.last.depth).a, 1e-12));

  // Trapezoid b = 1 m, y = 1 m, V = 1.6 m/s: side slopes 5.5477 and, steeper, 1.2000.
  testing::PrepareSheet(sheet, testing::kTrapezoid, true);
  testing::SelectUnknown(sheet, Solve::Side);
  testing::SetInputs(sheet, Inputs{"1.6", "1", "1", "", "0.001", "0.013"});
  SolveManning(sheet, state, services);
  EXPECT_NEAR(state.last.side, 5.5477, 5e-5);
  EXPECT_NEAR(state.last.altSide, 1.2000, 5e-5);
  EXPECT_EQ(state.last.altDepth, 0);
  EXPECT_TRUE(Near(state.last.altDischarge, 1.6 * (1 + state.last.altSide), 1e-12));

  // A rejected solve leaves nothing to look into.
  testing::SetInputs(sheet, Inputs{"1.1", "1", "1", "", "0.001", "0.013"});
  SolveManning(sheet, state, services);
  EXPECT_TRUE(state.noSolution);
  EXPECT_EQ(state.last.altSide, 0);
  EXPECT_EQ(state.last.altDischarge, 0);
}

}  // namespace
}  // namespace rivulet
