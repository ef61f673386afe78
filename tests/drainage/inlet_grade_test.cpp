// Inlets on a grade: each type against a hand computation in feet by the manual's
// equations (US form), so the metric path and its carried constants are checked too; then
// the properties every inlet must keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/drainage/inlet.h"
#include "core/drainage/inlet_equations.h"
#include "hydraulics/digits.h"

namespace rivulet {
namespace {

using testing::RelativelyNear;

constexpr double kFt = 0.3048;
constexpr double kCfs = kFt * kFt * kFt;

// A uniform gutter in US form: Sx 0.025, SL 0.01, n 0.016, q ft³/s.
InletInputs Uniform(InletType type, double qCfs) {
  InletInputs in;
  in.gutter.gutterType = GutterType::Uniform;
  in.gutter.constant = GutterConstant::US;
  in.gutter.crossSlope = 0.025;
  in.gutter.longitudinalSlope = 0.01;
  in.gutter.manningsN = 0.016;
  in.gutter.discharge = qCfs * kCfs;
  in.inletType = type;
  in.grateLength = 2 * kFt;
  in.grateWidth = 2 * kFt;
  in.openingLength = 10 * kFt;
  return in;
}

double SpreadFt(double q, double sx) {
  return std::pow(q * 0.016 / (0.56 * std::pow(sx, 5.0 / 3) * std::sqrt(0.01)), 3.0 / 8);
}

double CubicFt(double a, double b, double c, double d, double l) {
  return a + b * l - c * l * l + d * l * l * l;
}

TEST(InletConstantsTest, UsFormsCarriedIntoMetresAgreeWithThePrintedSiForms) {
  const InletConstants si = InletConstantsFor(GutterConstant::SI);
  const InletConstants us = InletConstantsFor(GutterConstant::US);
  // The manual rounds its SI forms to three figures.
  EXPECT_TRUE(RelativelyNear(us.frontalKu, si.frontalKu, 2e-3));
  EXPECT_TRUE(RelativelyNear(us.sideKu, si.sideKu, 2e-3));
  EXPECT_TRUE(RelativelyNear(us.curbLengthKu, si.curbLengthKu, 2e-3));
  EXPECT_TRUE(RelativelyNear(us.gravity, si.gravity, 1e-3));
}

TEST(SplashOverTest, FitsAgreeWithTheCurvesAndRiseWithLength) {
  // Readings of the splash-over figure (±0.2 ft/s) and values the worked examples use.
  const struct {
    GrateType grate;
    double lengthFt, readFtS, tolerance;
  } rows[] = {
      {GrateType::P1_7_8, 1, 5.7, 0.25},     {GrateType::P1_7_8, 2, 8.2, 0.25},
      {GrateType::P1_7_8, 3, 10.0, 0.25},    {GrateType::P1_1_8, 1, 4.5, 0.25},
      {GrateType::P1_1_8, 2, 6.45, 0.25},    {GrateType::P1_1_8, 3, 7.95, 0.25},
      {GrateType::CurvedVane, 1, 3.9, 0.25}, {GrateType::CurvedVane, 2, 6.0, 0.25},
      {GrateType::Reticuline, 2, 4.1, 0.25}, {GrateType::Reticuline, 3, 5.8, 0.25},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(GrateOf(row.grate).name) + " " + std::to_string(row.lengthFt));
    EXPECT_NEAR(SplashOverVelocity(row.grate, row.lengthFt * kFt) / kFt, row.readFtS,
                row.tolerance);
  }
  for (const GrateData& g : kGrates) {
    double last = 0;
    for (double l = kSplashFitMinLength; l <= kSplashFitMaxLength; l += 0.01) {
      const double vo = SplashOverVelocity(g.type, l);
      EXPECT_GT(vo, last) << g.name << " at " << l;
      last = vo;
    }
  }
}

TEST(InletGradeTest, GrateOnAUniformGutterMatchesTheHandComputation) {
  const struct {
    const char* name;
    GrateType grate;
    double q, splash[4];
  } rows[] = {
      {"P-1-7/8, slow", GrateType::P1_7_8, 3.0, {2.22, 4.03, 0.65, 0.06}},
      {"reticuline, splashing over", GrateType::Reticuline, 6.0, {0.28, 2.28, 0.18, 0.01}},
      {"curved vane, large flow", GrateType::CurvedVane, 9.0, {0.30, 4.85, 1.31, 0.15}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    InletInputs in = Uniform(InletType::Grate, row.q);
    in.grateType = row.grate;
    const InletResults r = SolveInlet(in);
    ASSERT_TRUE(r.Ok()) << r.error->message;
    // By hand, in feet.
    const double t = SpreadFt(row.q, 0.025);
    const double v = row.q / (0.5 * 0.025 * t * t);
    const double eo = 1 - std::pow(1 - 2 / t, 8.0 / 3);
    const double vo = CubicFt(row.splash[0], row.splash[1], row.splash[2], row.splash[3], 2);
    const double rf = std::min(1.0, 1 - 0.09 * (v - vo));
    const double rs = 1 / (1 + 0.15 * std::pow(v, 1.8) / (0.025 * std::pow(2.0, 2.3)));
    const double e = rf * eo + rs * (1 - eo);
    EXPECT_TRUE(RelativelyNear(r.gutter->spread / kFt, t, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.frontalFlowRatio, eo, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.splashOverVelocity / kFt, vo, 1e-12));
    EXPECT_TRUE(RelativelyNear(*r.frontalFlowEfficiency, rf, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.sideFlowEfficiency, rs, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.efficiency, e, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.interceptedDischarge / kCfs, e * row.q, 1e-9));
    EXPECT_EQ(r.splashOverExceeded, v > vo);
  }
}

TEST(InletGradeTest, CurbOpeningsMatchTheHandComputation) {
  // Uniform: Se = Sx. Local depression a = 2 in over W = 2 ft: Se = Sx + (a/W)·Eo, Eo by the
  // depressed-gutter ratio at the upstream spread.
  for (bool depressed : {false, true}) {
    SCOPED_TRACE(depressed ? "depressed" : "uniform");
    InletInputs in = Uniform(InletType::CurbOpening, 5.0);
    in.openingLength = 10 * kFt;
    double se = 0.025;
    if (depressed) {
      in.depression = 2.0 / 12 * kFt;
      in.depressionWidth = 2 * kFt;
      const double t = SpreadFt(5.0, 0.025);
      const double sw = 0.025 + (2.0 / 12) / 2;
      const double ratio = sw / 0.025;
      const double eo = 1 / (1 + ratio / (std::pow(1 + ratio / (t / 2 - 1), 8.0 / 3) - 1));
      se = 0.025 + (2.0 / 12) / 2 * eo;
    }
    const InletResults r = SolveInlet(in);
    ASSERT_TRUE(r.Ok()) << r.error->message;
    const double lt =
        0.6 * std::pow(5.0, 0.42) * std::pow(0.01, 0.3) * std::pow(1 / (0.016 * se), 0.6);
    const double e = lt <= 10 ? 1 : 1 - std::pow(1 - 10 / lt, 1.8);
    EXPECT_TRUE(RelativelyNear(*r.equivalentCrossSlope, se, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.lengthForTotalInterception / kFt, lt, 1e-9));
    EXPECT_TRUE(RelativelyNear(*r.efficiency, e, 1e-9));
  }
}

TEST(InletGradeTest, AnOpeningOfTheTotalInterceptionLengthTakesAll) {
  for (InletType type : {InletType::CurbOpening, InletType::Slotted}) {
    InletInputs in = Uniform(type, 4.0);
    const InletResults first = SolveInlet(in);
    ASSERT_TRUE(first.Ok());
    in.openingLength = *first.lengthForTotalInterception;
    const InletResults all = SolveInlet(in);
    EXPECT_DOUBLE_EQ(*all.efficiency, 1.0);
    EXPECT_DOUBLE_EQ(*all.bypassDischarge, 0.0);
    in.openingLength *= 0.999;
    EXPECT_LT(*SolveInlet(in).efficiency, 1.0);
  }
}

// Efficiency within 0–1 and rising with length; intercepted + bypass = approach flow.
TEST(InletGradeTest, EveryInletKeepsTheFlowAndRisesWithLength) {
  const InletType types[] = {InletType::Grate, InletType::CurbOpening, InletType::Slotted,
                             InletType::Combination};
  for (InletType type : types) {
    for (bool composite : {false, true}) {
      for (double q : {0.3, 2.0, 8.0, 25.0}) {
        SCOPED_TRACE(std::to_string(static_cast<int>(type)) + (composite ? " composite " : " ") +
                     std::to_string(q));
        double last = -1;
        for (double l = 1; l <= 30; l *= 1.5) {
          InletInputs in = Uniform(type, q);
          if (composite) {
            in.gutter.gutterType = GutterType::Composite;
            in.gutter.gutterWidth = 2 * kFt;
            in.gutter.gutterDepression = 2.0 / 12 * kFt;
          }
          in.grateLength = std::min(l, 4.0) * kFt;
          in.openingLength = l * kFt + in.grateLength;
          const InletResults r = SolveInlet(in);
          ASSERT_TRUE(r.Ok()) << r.error->message;
          EXPECT_GE(*r.efficiency, 0.0);
          EXPECT_LE(*r.efficiency, 1.0);
          EXPECT_TRUE(RelativelyNear(*r.interceptedDischarge + *r.bypassDischarge,
                                     r.gutter->discharge, 1e-12));
          EXPECT_GE(*r.efficiency, last - 1e-12) << "length " << l;
          last = *r.efficiency;
        }
      }
    }
  }
}

TEST(InletGradeTest, GrateWidthAgainstTheGutterWidth) {
  InletInputs in = Uniform(InletType::Grate, 4.0);
  in.gutter.gutterType = GutterType::Composite;
  in.gutter.gutterWidth = 2 * kFt;
  in.gutter.gutterDepression = 2.0 / 12 * kFt;
  GutterInputs g = in.gutter;
  const GutterResults gr = SolveGutter(g);
  ASSERT_TRUE(gr.Ok());
  // Equal widths: the gutter's own Eo.
  EXPECT_TRUE(RelativelyNear(*SolveInlet(in).frontalFlowRatio, *gr.frontalFlowRatio, 1e-12));
  // A 1.5 ft grate in a 2 ft pan: Eo times the area over the grate over the pan's area.
  in.grateWidth = 1.5 * kFt;
  const double d = gr.depthAtCurb;
  const double sw = 0.025 + (2.0 / 12 * kFt) / (2 * kFt);
  const double over = 1.5 * kFt * d - sw * std::pow(1.5 * kFt, 2) / 2;
  const double pan = 2 * kFt * d - sw * std::pow(2 * kFt, 2) / 2;
  EXPECT_TRUE(
      RelativelyNear(*SolveInlet(in).frontalFlowRatio, *gr.frontalFlowRatio * over / pan, 1e-12));
  // Wider than the pan: more of the flow, never all of it while the spread is wider.
  in.grateWidth = 3 * kFt;
  const double wide = *SolveInlet(in).frontalFlowRatio;
  EXPECT_GT(wide, *gr.frontalFlowRatio);
  EXPECT_LT(wide, 1.0);
}

TEST(InletGradeTest, SweeperIsTheOpeningUpstreamThenTheGrateOnWhatPasses) {
  InletInputs in = Uniform(InletType::Combination, 6.0);
  in.openingLength = 8 * kFt;
  const InletResults r = SolveInlet(in);
  ASSERT_TRUE(r.Ok());
  InletInputs curb = Uniform(InletType::CurbOpening, 6.0);
  curb.openingLength = 6 * kFt;
  const double qc = *SolveInlet(curb).interceptedDischarge;
  InletInputs grate = Uniform(InletType::Grate, 6.0);
  grate.gutter.discharge -= qc;
  const double qg = *SolveInlet(grate).interceptedDischarge;
  EXPECT_TRUE(RelativelyNear(*r.interceptedDischarge, qc + qg, 1e-12));
  // Equal lengths: the grate alone.
  in.openingLength = in.grateLength;
  InletInputs alone = Uniform(InletType::Grate, 6.0);
  EXPECT_DOUBLE_EQ(*SolveInlet(in).interceptedDischarge, *SolveInlet(alone).interceptedDischarge);
}

TEST(InletGradeTest, CloggingShortensTheEffectiveLengthAndOverrideReplacesTheFit) {
  InletInputs in = Uniform(InletType::CurbOpening, 5.0);
  in.clogging = 0.25;
  InletInputs shorter = Uniform(InletType::CurbOpening, 5.0);
  shorter.openingLength = 7.5 * kFt;
  EXPECT_DOUBLE_EQ(*SolveInlet(in).efficiency, *SolveInlet(shorter).efficiency);
  InletInputs grate = Uniform(InletType::Grate, 8.0);
  grate.splashOverVelocity = 3 * kFt;
  const InletResults r = SolveInlet(grate);
  EXPECT_DOUBLE_EQ(*r.splashOverVelocity, 3 * kFt);
  EXPECT_TRUE(r.splashOverExceeded);
}

// A clogged grate is a shorter grate; below the 0.5 ft of the shortest splash-over curve its
// frontal efficiency falls in proportion to length, so interception vanishes as it closes.
// With Vo given above the gutter velocity the clean Rf is 1, and by hand (feet):
// E = Rf Eo + Rs (1 - Eo), Rf = min(Le/0.5, 1), Rs = 1/(1 + 0.15 V^1.8/(Sx Le^2.3)).
TEST(InletGradeTest, CloggingTakesInterceptionToZeroAsTheGrateCloses) {
  const double q = 3.0, sx = 0.025;
  const double t = SpreadFt(q, sx);
  const double v = q / (0.5 * sx * t * t);
  const double eo = 1 - std::pow(1 - 2.0 / t, 8.0 / 3);
  for (double clogging : {0.0, 0.5, 0.8, 0.999}) {
    SCOPED_TRACE(clogging);
    InletInputs in = Uniform(InletType::Grate, q);
    in.splashOverVelocity = 6.0;  // m/s, faster than the gutter
    in.clogging = clogging;
    const double le = (1 - clogging) * 2.0;
    const double rf = std::min(le / 0.5, 1.0);
    const double rs = 1 / (1 + 0.15 * std::pow(v, 1.8) / (sx * std::pow(le, 2.3)));
    const InletResults r = SolveInlet(in);
    ASSERT_TRUE(r.Ok()) << r.error->message;
    EXPECT_TRUE(RelativelyNear(*r.efficiency, rf * eo + rs * (1 - eo), 1e-9));
  }
  // By the grate's own fit, nearly closed, it takes almost nothing (it took half before).
  InletInputs closing = Uniform(InletType::Grate, q);
  closing.clogging = 0.999;
  EXPECT_LT(*SolveInlet(closing).efficiency, 0.005);
}

// The answer check refuses results that do not satisfy the inlet's own equations.
TEST(InletGradeTest, AnswerCheckRefusesResultsOffTheirEquations) {
  const InletInputs in = Uniform(InletType::Grate, 3.0);
  const InletResults good = SolveInlet(in);
  ASSERT_TRUE(good.Ok());
  EXPECT_EQ(InletAnswerProblem(in, good), "");
  const struct {
    const char* what;
    void (*forge)(InletResults&);
  } rows[] = {
      {"bypass not Q - Qi", [](InletResults& r) { *r.bypassDischarge *= 1.01; }},
      {"efficiency not Qi/Q", [](InletResults& r) { *r.efficiency *= 0.99; }},
      {"Rf not its equation's", [](InletResults& r) { *r.frontalFlowEfficiency *= 0.9; }},
      {"overflowed", [](InletResults& r) { r.splashOverVelocity = HUGE_VAL; }},
  };
  for (const auto& row : rows) {
    InletResults forged = good;
    row.forge(forged);
    EXPECT_NE(InletAnswerProblem(in, forged), "") << row.what;
  }
}

}  // namespace
}  // namespace rivulet
