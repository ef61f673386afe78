#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/drainage/gutter.h"
#include "hydraulics/digits.h"

namespace rivulet {
namespace {

using testing::RelativelyNear;

GutterInputs Uniform() {
  GutterInputs in;
  in.gutterType = GutterType::Uniform;
  in.longitudinalSlope = 0.01;
  in.manningsN = 0.016;
  in.crossSlope = 0.02;
  in.discharge = 0.05;
  return in;
}

GutterInputs Composite() {
  GutterInputs in = Uniform();
  in.gutterType = GutterType::Composite;
  in.gutterWidth = 0.6;
  in.gutterDepression = 0.05;
  return in;
}

GutterInputs VShaped(bool withBreak) {
  GutterInputs in = Uniform();
  in.gutterType = GutterType::VShaped;
  in.crossSlope1 = 0.25;
  in.crossSlope2 = withBreak ? 0.25 : 0.04;
  if (withBreak) {
    in.crossSlope3 = 0.02;
    in.slopeBreakWidth = 1.2;
  }
  return in;
}

GutterInputs Solving(GutterInputs in, GutterUnknown u) {
  in.solveFor = u;
  return in;
}

// Discharge from each spread of a grid, then the spread back from that discharge: the search
// must land on the starting spread, across the pan edge and the slope break.
TEST(GutterSolveTest, SpreadFromDischargeInvertsDischargeFromSpread) {
  struct Row {
    const char* name;
    GutterInputs in;
    int maxEvaluations;
  };
  GutterInputs panSlope = Composite();
  panSlope.gutterDepression.reset();
  panSlope.gutterCrossSlope = 0.0833;
  GutterInputs steepPavement = VShaped(true);
  steepPavement.crossSlope3 = 0.4;
  const Row rows[] = {
      {"uniform", Uniform(), 0},
      {"composite by depression", Composite(), 8},
      {"composite by pan slope", panSlope, 8},
      {"plain V", VShaped(false), 0},
      {"V with a flatter pavement", VShaped(true), 8},
      {"V with a steeper pavement", steepPavement, 8},
  };
  for (const Row& row : rows) {
    for (double t = 0.05; t < 40; t *= 1.37) {
      SCOPED_TRACE(std::string(row.name) + " T " + std::to_string(t));
      GutterInputs forward = Solving(row.in, GutterUnknown::DischargeFromSpread);
      forward.spread = t;
      const GutterResults q = SolveGutter(forward);
      ASSERT_TRUE(q.Ok()) << q.error->message;
      EXPECT_TRUE(RelativelyNear(q.spread, t, 1e-13));
      GutterInputs back = Solving(row.in, GutterUnknown::SpreadFromDischarge);
      back.discharge = q.discharge;
      const GutterResults s = SolveGutter(back);
      ASSERT_TRUE(s.Ok()) << s.error->message;
      EXPECT_TRUE(RelativelyNear(s.spread, t, 1e-9));
      EXPECT_TRUE(RelativelyNear(s.depthAtCurb, q.depthAtCurb, 1e-9));
      EXPECT_LE(s.evaluations, row.maxEvaluations);
    }
  }
}

TEST(GutterSolveTest, DepthAtCurbGivesTheSameFlowAsTheSpread) {
  for (const GutterInputs& base : {Uniform(), Composite(), VShaped(true)}) {
    for (double t : {0.3, 1.0, 3.0}) {
      GutterInputs forward = Solving(base, GutterUnknown::DischargeFromSpread);
      forward.spread = t;
      const GutterResults q = SolveGutter(forward);
      for (GutterUnknown u : {GutterUnknown::DischargeFromDepth, GutterUnknown::SpreadFromDepth}) {
        GutterInputs fromDepth = Solving(base, u);
        fromDepth.depthAtCurb = q.depthAtCurb;
        const GutterResults r = SolveGutter(fromDepth);
        ASSERT_TRUE(r.Ok());
        EXPECT_TRUE(RelativelyNear(r.spread, t, 1e-12));
        EXPECT_TRUE(RelativelyNear(r.discharge, q.discharge, 1e-12));
      }
    }
  }
}

// One street entered in feet and in metres: each unit system uses its own published constant,
// so they differ only by that constant's rounding, 0.376 against 0.56 carried into metres
// (0.23 %): exactly that ratio in discharge at one spread, less than it in spread at one
// discharge (spread grows with discharge to a power below 1).
TEST(GutterSolveTest, UnitSystemsAgreeToTheConstantsRounding) {
  const double kuRatio = IzzardKu(GutterConstant::US) / kIzzardKuSI;
  EXPECT_TRUE(RelativelyNear(kuRatio, 1.0023, 1e-4));
  for (GutterInputs in : {Uniform(), Composite(), VShaped(false), VShaped(true)}) {
    in.discharge = 0.0708;  // 2.5 ft³/s
    GutterInputs us = in;
    us.constant = GutterConstant::US;
    const GutterResults si = SolveGutter(in);
    const GutterResults cu = SolveGutter(us);
    ASSERT_TRUE(si.Ok() && cu.Ok());
    EXPECT_LT(cu.spread, si.spread);
    EXPECT_TRUE(RelativelyNear(cu.spread, si.spread, kuRatio - 1));
    EXPECT_EQ(si.ku, 0.376);
    EXPECT_EQ(cu.ku, 0.56);

    GutterInputs atSpread = Solving(in, GutterUnknown::DischargeFromSpread);
    atSpread.spread = si.spread;
    GutterInputs usAtSpread = atSpread;
    usAtSpread.constant = GutterConstant::US;
    EXPECT_TRUE(RelativelyNear(SolveGutter(usAtSpread).discharge / SolveGutter(atSpread).discharge,
                               kuRatio, 1e-13));
  }
}

TEST(GutterSolveTest, CompositeFlowSplitAndChecks) {
  GutterInputs in = Composite();
  in.allowableSpread = 2.0;
  in.kerbHeight = 0.15;
  const GutterResults r = SolveGutter(in);
  ASSERT_TRUE(r.Ok());
  EXPECT_FALSE(r.withinPan);
  EXPECT_TRUE(RelativelyNear(*r.gutterCrossSlope, 0.02 + 0.05 / 0.6, 1e-15));
  EXPECT_TRUE(RelativelyNear(*r.gutterFlow + *r.sideFlow, r.discharge, 1e-15));
  EXPECT_TRUE(RelativelyNear(*r.spreadOverGutterWidth, r.spread / 0.6, 1e-15));
  EXPECT_TRUE(RelativelyNear(r.depthAtCurb, 0.02 * r.spread + 0.05, 1e-14));
  EXPECT_TRUE(RelativelyNear(r.velocity * r.flowArea, r.discharge, 1e-14));
  EXPECT_EQ(*r.spreadWithinAllowable, r.spread <= 2.0);
  EXPECT_EQ(*r.depthWithinKerb, r.depthAtCurb <= 0.15);

  // The same street with a spread past the allowance and a depth over the kerb.
  in.discharge = 0.3;
  const GutterResults wet = SolveGutter(in);
  ASSERT_TRUE(wet.Ok());
  EXPECT_FALSE(*wet.spreadWithinAllowable);
  EXPECT_FALSE(*wet.depthWithinKerb);
}

// A small flow stays in the pan: a uniform gutter of the pan slope, all of it frontal.
TEST(GutterSolveTest, CompositeFlowWithinThePan) {
  GutterInputs in = Composite();
  in.discharge = 0.002;
  const GutterResults r = SolveGutter(in);
  ASSERT_TRUE(r.Ok());
  EXPECT_TRUE(r.withinPan);
  EXPECT_LT(r.spread, 0.6);
  EXPECT_EQ(*r.frontalFlowRatio, 1.0);
  EXPECT_EQ(*r.sideFlow, 0.0);
  EXPECT_EQ(r.notes.size(), 1u);
  GutterInputs pan = Uniform();
  pan.crossSlope = *r.gutterCrossSlope;
  pan.discharge = 0.002;
  EXPECT_TRUE(RelativelyNear(SolveGutter(pan).spread, r.spread, 1e-14));
}

TEST(GutterSolveTest, UniformGutterFrontalRatioOnlyWithAWidth) {
  GutterInputs in = Uniform();
  EXPECT_FALSE(SolveGutter(in).frontalFlowRatio.has_value());
  in.gutterWidth = 0.6;
  const GutterResults r = SolveGutter(in);
  EXPECT_TRUE(
      RelativelyNear(*r.frontalFlowRatio, 1 - std::pow(1 - 0.6 / r.spread, 8.0 / 3.0), 1e-14));
  in.gutterWidth = 100.0;
  EXPECT_EQ(*SolveGutter(in).frontalFlowRatio, 1.0);
}

TEST(GutterSolveTest, BadInputNamesTheField) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    const char* name;
    GutterInputs in;
    const char* field;
    const char* message;
  };
  auto with = [](GutterInputs in, auto change) {
    change(in);
    return in;
  };
  const Row rows[] = {
      {"zero longitudinal slope", with(Uniform(), [](auto& i) { i.longitudinalSlope = 0; }),
       "longitudinalSlope", "Longitudinal slope (longitudinalSlope) must be greater than 0."},
      {"negative cross slope", with(Uniform(), [](auto& i) { i.crossSlope = -0.02; }), "crossSlope",
       "Cross slope (crossSlope) must be greater than 0."},
      {"NaN cross slope", with(Uniform(), [nan](auto& i) { i.crossSlope = nan; }), "crossSlope",
       "Cross slope (crossSlope) must be greater than 0."},
      {"zero n", with(Uniform(), [](auto& i) { i.manningsN = 0; }), "manningsN",
       "Manning's n (manningsN) must be greater than 0."},
      {"absurd n", with(Uniform(), [](auto& i) { i.manningsN = 16; }), "manningsN",
       "Manning's n (manningsN) must not exceed 1."},
      {"cliff for a cross slope", with(Uniform(), [](auto& i) { i.crossSlope = 2; }), "crossSlope",
       "Cross slope (crossSlope) must not exceed 1."},
      {"zero discharge", with(Uniform(), [](auto& i) { i.discharge = 0; }), "discharge",
       "Discharge (discharge) must be greater than 0."},
      {"infinite discharge",
       with(Uniform(), [](auto& i) { i.discharge = std::numeric_limits<double>::infinity(); }),
       "discharge", "Discharge (discharge) must not exceed 100000."},
      {"zero spread",
       with(Solving(Uniform(), GutterUnknown::DischargeFromSpread), [](auto& i) { i.spread = 0; }),
       "spread", "Spread (spread) must be greater than 0."},
      {"negative depth",
       with(Solving(Uniform(), GutterUnknown::SpreadFromDepth),
            [](auto& i) { i.depthAtCurb = -1; }),
       "depthAtCurb", "Depth at curb (depthAtCurb) must be greater than 0."},
      {"composite without width", with(Composite(), [](auto& i) { i.gutterWidth.reset(); }),
       "gutterWidth", "Gutter width (gutterWidth) is required."},
      {"composite zero width", with(Composite(), [](auto& i) { i.gutterWidth = 0.0; }),
       "gutterWidth", "Gutter width (gutterWidth) must be greater than 0."},
      {"negative depression", with(Composite(), [](auto& i) { i.gutterDepression = -0.01; }),
       "gutterDepression", "Gutter depression (gutterDepression) must be greater than 0."},
      {"pan as flat as the road",
       with(Composite(),
            [](auto& i) {
              i.gutterDepression.reset();
              i.gutterCrossSlope = 0.02;
            }),
       "gutterCrossSlope",
       "Gutter cross slope (gutterCrossSlope) must be steeper than the cross slope (crossSlope)."},
      {"neither pan slope nor depression",
       with(Composite(), [](auto& i) { i.gutterDepression.reset(); }), "gutterCrossSlope",
       "Gutter cross slope (gutterCrossSlope) or the gutter depression (gutterDepression) is "
       "required."},
      {"both pan slope and depression",
       with(Composite(), [](auto& i) { i.gutterCrossSlope = 0.08; }), "gutterDepression",
       "Gutter depression (gutterDepression) and the gutter cross slope (gutterCrossSlope) are "
       "both given; give one."},
      {"depression past 1:1", with(Composite(), [](auto& i) { i.gutterDepression = 0.7; }),
       "gutterDepression",
       "Gutter depression (gutterDepression) makes the gutter cross slope steeper than 1."},
      {"V without its second slope", with(VShaped(false), [](auto& i) { i.crossSlope2 = 0; }),
       "crossSlope2", "Inner cross slope (crossSlope2) must be greater than 0."},
      {"V break without width", with(VShaped(true), [](auto& i) { i.slopeBreakWidth.reset(); }),
       "slopeBreakWidth",
       "Slope break width (slopeBreakWidth) is required with a pavement cross "
       "slope."},
      {"V width without break", with(VShaped(true), [](auto& i) { i.crossSlope3.reset(); }),
       "crossSlope3", "Pavement cross slope (crossSlope3) is required with a slope break width."},
      {"zero allowable spread", with(Uniform(), [](auto& i) { i.allowableSpread = 0.0; }),
       "allowableSpread", "Allowable spread (allowableSpread) must be greater than 0."},
      {"negative kerb", with(Uniform(), [](auto& i) { i.kerbHeight = -0.15; }), "kerbHeight",
       "Kerb height (kerbHeight) must be greater than 0."},
      {"spread beyond any road", with(Uniform(), [](auto& i) { i.crossSlope = 1e-9; }), "discharge",
       "The flow spreads wider than 1000 m: check the discharge and the slopes."},
      {"composite spread beyond any road",
       with(Composite(),
            [](auto& i) {
              i.crossSlope = 1e-12;
              i.discharge = 1e4;
            }),
       "discharge", "The flow spreads wider than 1000 m: check the discharge and the slopes."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const GutterResults r = SolveGutter(row.in);
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.error->field, row.field);
    EXPECT_EQ(r.error->message, row.message);
    EXPECT_EQ(r.spread, 0.0);
    EXPECT_EQ(r.discharge, 0.0);
  }
}

// A gutter whose numbers do not satisfy its own equations is no answer: the check refuses
// a spread that does not carry the discharge, V A that is not Q, and vanished water.
TEST(GutterSolveTest, AnswerCheckRefusesResultsOffTheirEquations) {
  for (const GutterInputs& in : {Uniform(), Composite(), VShaped(true)}) {
    const GutterResults good = SolveGutter(in);
    ASSERT_TRUE(good.Ok()) << good.error->message;
    EXPECT_EQ(GutterAnswerProblem(in, good), "");
    GutterResults wider = good;
    wider.spread *= 1.01;
    wider.depthAtCurb *= 1.01;
    GutterResults faster = good;
    faster.velocity *= 1.01;
    GutterResults dry = good;
    dry.spread = dry.depthAtCurb = dry.flowArea = 0;
    for (const GutterResults& forged : {wider, faster, dry})
      EXPECT_NE(GutterAnswerProblem(in, forged), "");
  }
}

}  // namespace
}  // namespace rivulet
