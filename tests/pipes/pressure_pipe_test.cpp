// Full-pipe flow: the friction factor at and between its regimes, the unit constants of the
// friction laws worked by hand, every unknown solved back to the value it came from, and the
// refusals of heads that leave no pipe.
#include "core/pipes/pressure_pipe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/near.h"

namespace rivulet {
namespace {

using testing::Near;
constexpr double kG = 9.80665;
constexpr double kFt = 0.3048;
constexpr auto kCW = TurbulentFormula::ColebrookWhite;
constexpr auto kSJ = TurbulentFormula::SwameeJain;

TEST(PressurePipeFriction, ColebrookMeetsItsEquationAndPublishedValues) {
  // Values by bisection of the equation to 1e-10, worked apart from the code; smooth at
  // Re = 1e5 is the chart's classic 0.0180.
  const struct {
    double relative, reynolds, expected;
  } rows[] = {{0, 1e5, 0.01798977308},    {1e-3, 1e5, 0.02217453594}, {1e-4, 1e6, 0.01344143769},
              {0.05, 1e7, 0.07155298184}, {0, 4000, 0.03990701406},   {1e-6, 1e8, 0.00643255652}};
  for (const auto& row : rows) {
    const double f = ColebrookFactor(row.relative, row.reynolds);
    EXPECT_LE(std::abs(ColebrookResidual(f, row.relative, row.reynolds)), 1e-12) << row.reynolds;
    EXPECT_TRUE(Near(f, row.expected, 1e-9)) << row.reynolds;
    // Swamee-Jain keeps within 3 % of it inside its stated range.
    if (row.reynolds >= 5e3) {
      EXPECT_TRUE(Near(SwameeJainFactor(row.relative, row.reynolds), f, 0.03)) << row.reynolds;
    }
  }
}

TEST(PressurePipeFriction, RegimesMeetAtTheirLimits) {
  EXPECT_EQ(DarcyFriction(kCW, 1e-3, 1000).factor, 64.0 / 1000);
  EXPECT_EQ(DarcyFriction(kCW, 1e-3, 2000).regime, PipeFlowRegime::Laminar);
  EXPECT_EQ(DarcyFriction(kCW, 1e-3, 3000).regime, PipeFlowRegime::Transition);
  EXPECT_EQ(DarcyFriction(kCW, 1e-3, 4000).regime, PipeFlowRegime::Turbulent);
  for (TurbulentFormula formula : {kCW, kSJ})
    for (double relative : {0.0, 1e-3, 0.05}) {
      const double justAbove = TransitionFactor(formula, relative, 2000 * (1 + 1e-12));
      const double justBelow = TransitionFactor(formula, relative, 4000 * (1 - 1e-12));
      EXPECT_TRUE(Near(justAbove, 0.032, 1e-9)) << relative;
      EXPECT_TRUE(Near(justBelow, TurbulentFactor(formula, relative, 4000), 1e-9)) << relative;
    }
  // The Dunlop cubic anchored on Swamee-Jain as printed: FA = 0.25/log10(e/3.7D + AB)^2.
  const double fa = 0.25 / std::pow(std::log10(1e-3 / 3.7 + 5.74 / std::pow(4000, 0.9)), 2);
  EXPECT_TRUE(Near(TransitionFactor(kSJ, 1e-3, 4000), fa, 1e-12));
}

// Each law's head loss against its textbook form in the units it was printed in.
TEST(PressurePipeLosses, LawsMatchTheirPrintedUnitForms) {
  // Hagen-Poiseuille: h = 32 nu L V / (g D^2), here Re = 1273.
  PipeLaw laminar;
  const double v = 1e-5 / (std::numbers::pi * 0.01 * 0.01 / 4);
  EXPECT_TRUE(Near(PipeFlowAt(laminar, 1e-5, 0.01, 10).frictionLoss,
                   32 * 1e-6 * 10 * v / (kG * 0.01 * 0.01), 1e-12));

  // Hazen-Williams in feet and ft3/s: h = 4.727 L Q^1.852 / (C^1.852 D^4.871).
  PipeLaw hw{FrictionMethod::HazenWilliams};
  hw.hazenWilliamsC = 100;
  const double hFeet = 4.727 * 1000 * std::pow(2.0, 1.852) / (std::pow(100, 1.852) * 1);
  EXPECT_TRUE(
      Near(PipeFlowAt(hw, 2 * kFt * kFt * kFt, 1 * kFt, 1000 * kFt).frictionLoss / kFt, hFeet));
  EXPECT_TRUE(Near(HazenWilliamsConstantSI(), 10.67, 5e-4));

  // Manning full in feet: h = 4.66 n^2 L Q^2 / D^5.33, its 4.66 and 5.33 rounded.
  PipeLaw manning{FrictionMethod::Manning};
  manning.manningsN = 0.013;
  const double mFeet = 4.66 * 0.013 * 0.013 * 1000 * 4 / std::pow(1.5, 5.33);
  EXPECT_TRUE(
      Near(PipeFlowAt(manning, 2 * kFt * kFt * kFt, 1.5 * kFt, 1000 * kFt).frictionLoss / kFt,
           mFeet, 2e-3));
}

struct Case {
  const char* name;
  PipeLaw law;
  double q, d, l;
};

PipeLaw Darcy(TurbulentFormula formula, double e, double k, double nu = 1e-6) {
  PipeLaw law;
  law.formula = formula;
  law.roughness = e;
  law.minorLossK = k;
  law.kinematicViscosity = nu;
  return law;
}

PipeLaw Other(FrictionMethod method, double value, double k) {
  PipeLaw law{method};
  law.hazenWilliamsC = value;
  law.manningsN = value;
  law.minorLossK = k;
  return law;
}

TEST(PressurePipe, EveryUnknownSolvesBackToItsValue) {
  const Case cases[] = {
      {"colebrook force main", Darcy(kCW, 0.26e-3, 3.2), 0.12, 0.3, 1850},
      {"swamee-jain no fittings", Darcy(kSJ, 1.5e-6, 0), 0.02, 0.15, 400},
      {"laminar oil", Darcy(kCW, 0.05e-3, 1.5, 1e-4), 0.001, 0.1, 50},
      {"transition", Darcy(kCW, 0.05e-3, 0.5, 1e-5), 0.0024, 0.1, 30},
      {"hazen-williams", Other(FrictionMethod::HazenWilliams, 130, 2.0), 0.05, 0.2, 900},
      {"manning", Other(FrictionMethod::Manning, 0.013, 1.0), 0.4, 0.6, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PressurePipeInputs in;
    in.law = c.law;
    in.solveFor = PressurePipeUnknown::HeadLoss;
    in.discharge = c.q;
    in.diameter = c.d;
    in.length = c.l;
    const PressurePipeResults forward = SolvePressurePipe(in);
    ASSERT_TRUE(forward.Ok());
    const PipeFlow& f = forward.flow;
    EXPECT_TRUE(Near(f.totalHeadLoss, f.frictionLoss + c.law.minorLossK * f.velocityHead));
    in.headLoss = f.totalHeadLoss;
    const struct {
      PressurePipeUnknown unknown;
      double PipeFlow::*member;
      double expected;
    } backs[] = {{PressurePipeUnknown::Discharge, &PipeFlow::discharge, c.q},
                 {PressurePipeUnknown::Diameter, &PipeFlow::diameter, c.d},
                 {PressurePipeUnknown::Length, &PipeFlow::length, c.l}};
    for (const auto& back : backs) {
      in.solveFor = back.unknown;
      const PressurePipeResults r = SolvePressurePipe(in);
      ASSERT_TRUE(r.Ok()) << r.error->message;
      EXPECT_TRUE(Near(r.flow.*back.member, back.expected, 1e-9));
      EXPECT_TRUE(Near(r.flow.totalHeadLoss, f.totalHeadLoss, 1e-9));
      // About 8 evaluations where the law is smooth, up to 20 across the regimes' kinks; a
      // search that fell back to halving would need over 40.
      EXPECT_LE(r.evaluations, 20);
    }
  }
}

TEST(PressurePipe, GradesStandardSizeAndCurve) {
  PressurePipeInputs in;
  in.law = Darcy(kCW, 0.26e-3, 2.0);
  in.solveFor = PressurePipeUnknown::Diameter;
  in.discharge = 0.05;
  in.length = 500;
  in.headLoss = 6.0;
  in.ends = PipeEnds{100, 5, 90};
  in.sizes = BuiltInMetricSizes();
  const PressurePipeResults r = SolvePressurePipe(in);
  ASSERT_TRUE(r.Ok());
  const double vh = r.flow.velocityHead;
  EXPECT_TRUE(Near(*r.energyGradeUpstream, 105 + vh));
  EXPECT_TRUE(Near(*r.hydraulicGradeDownstream, 105 - 6.0, 1e-9));
  EXPECT_EQ(*r.downstreamPressureHead, 105 - 6.0 - 90);
  // The next size up carries the flow with less loss; a diameter on a size takes it.
  ASSERT_TRUE(r.standardDiameter);
  EXPECT_GE(*r.standardDiameter, r.flow.diameter);
  EXPECT_LT(*r.standardHeadLoss, 6.0);
  in.headLoss = PipeFlowAt(in.law, 0.05, 0.225, 500).totalHeadLoss;
  EXPECT_EQ(SolvePressurePipe(in).standardNominal, 225);
  // Zero to twice the flow; the loss at the design flow is the design head loss.
  const auto curve = HeadLossCurve(in.law, 0.05, r.flow.diameter, 500);
  ASSERT_EQ(curve.size(), 11u);
  EXPECT_EQ(curve.front().headLoss, 0);
  EXPECT_TRUE(Near(curve[5].headLoss, 6.0, 1e-9));
  EXPECT_TRUE(Near(curve.back().discharge, 0.1));
}

TEST(PressurePipe, HeadsThatLeaveNoPipeAreRefused) {
  PressurePipeInputs in;
  in.law = Darcy(kCW, 0.26e-3, 10);
  in.discharge = 0.05;
  in.diameter = 0.2;
  in.length = 100;
  const double minor = 10 * PipeFlowAt(in.law, 0.05, 0.2, 1).velocityHead;
  const struct {
    PressurePipeUnknown unknown;
    double head;
    const char* message;
  } rows[] = {
      {PressurePipeUnknown::Length, minor,
       "The minor losses alone use up the head loss: no length of pipe is left."},
      {PressurePipeUnknown::Discharge, 0, "The head loss must be above zero for water to flow."},
      {PressurePipeUnknown::Diameter, -1, "The head loss must be above zero for water to flow."},
  };
  for (const auto& row : rows) {
    in.solveFor = row.unknown;
    in.headLoss = row.head;
    const PressurePipeResults r = SolvePressurePipe(in);
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.error->field, "headLoss");
    EXPECT_EQ(r.error->message, row.message);
  }
}

}  // namespace
}  // namespace rivulet
