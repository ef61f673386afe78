// Culvert headwater against hand calculations from the inlet- and outlet-control equations
// (written out below), the barrel/road split and each inverse returning its input.
#include "core/culverts/culvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

constexpr double kFt = 0.3048;
constexpr double kCfs = kFt * kFt * kFt;
constexpr double kG = 9.80665;
const double kPi = std::numbers::pi;
const double kRootFt = std::sqrt(kFt);  // Q / (A D^0.5) in SI over its US value

// A 2 m by 1 m concrete box, 30 m long on a 1 % slope, tailwater at the outlet invert.
Culvert Box(const char* code = "10/1") {
  Culvert c;
  c.shape = BarrelShape::Box;
  c.inlet = FindInlet(code);
  c.rise = 1;
  c.span = 2;
  c.length = 30;
  c.n = 0.013;
  c.entranceLoss = 0.5;
  c.inletInvert = 100;
  c.outletInvert = 99.7;
  c.tailwaterElevation = 99.7;
  return c;
}

// A 3 ft concrete pipe, 200 ft long on a 2 % slope.
Culvert Pipe(const char* code = "1/1") {
  Culvert c;
  c.inlet = FindInlet(code);
  c.rise = 3 * kFt;
  c.length = 200 * kFt;
  c.n = 0.012;
  c.entranceLoss = 0.5;
  c.inletInvert = 10;
  c.outletInvert = 10 - 4 * kFt;
  c.tailwaterElevation = c.outletInvert;
  return c;
}

TEST(CulvertInlet, TableHasEveryChartOnce) {
  ASSERT_EQ(InletConfigurations().size(), 29u);
  for (const InletConfiguration& i : InletConfigurations()) EXPECT_EQ(FindInlet(i.code), &i);
  EXPECT_EQ(FindInlet("16-19/5")->y, 0.57);
  EXPECT_EQ(FindInlet("2/2")->ks, 0.7);  // the one mitered end
  EXPECT_EQ(FindInlet("9/9"), nullptr);
}

TEST(CulvertInlet, MatchesHandCalculations) {
  const double s = 0.01;
  // Box, A = 2 m², D = 1 m: Q = X · 2 · √0.3048 carries X.
  const auto boxQ = [](double x) { return x * 2 * kRootFt; };
  // 3 ft pipe at half full (θ = π): A = π D²/8, T = D, Q = √(g A³ / T), Hc = D/2 + π D/16.
  const double d = 3;  // ft
  const double ac = kPi * d * d / 8;
  const double qHalf = std::sqrt(kG / kFt * ac * ac * ac / d);  // cfs
  const double xHalf = qHalf / (kPi * d * d / 4 * std::sqrt(d));
  const double pipeS = 4.0 / 200;
  const struct {
    std::function<Culvert()> culvert;
    double discharge;  // m³/s
    double expected;   // m above the inlet invert
    InletForm form;
  } cases[] = {
      // Form 2, box 10/1 at X = 2: D · K · X^M.
      {[] { return Box("10/1"); }, boxQ(2), 0.515 * std::pow(2, 0.667), InletForm::Unsubmerged},
      // Form 1, box 8/1 at X = 2: 1.5 dc + D (K X^M - 0.5 S), dc = (q²/g)^(1/3), q = Q/B.
      {[] { return Box("8/1"); }, boxQ(2),
       1.5 * std::cbrt(std::pow(boxQ(2) / 2, 2) / kG) + (0.026 * 2 - 0.5 * s),
       InletForm::Unsubmerged},
      // Submerged, box 8/2 at X = 5: D (c X² + Y - 0.5 S).
      {[] { return Box("8/2"); }, boxQ(5), 0.0400 * 25 + 0.80 - 0.5 * s, InletForm::Submerged},
      // Transition, box 10/1 at X = 3.75: halfway between the forms at X = 3.5 and 4.
      {[] { return Box("10/1"); }, boxQ(3.75),
       (0.515 * std::pow(3.5, 0.667) + 0.0375 * 16 + 0.79 - 0.5 * s) / 2, InletForm::Transition},
      // Its edges: each form's own value.
      {[] { return Box("10/1"); }, boxQ(3.5), 0.515 * std::pow(3.5, 0.667), InletForm::Unsubmerged},
      {[] { return Box("10/1"); }, boxQ(4), 0.0375 * 16 + 0.79 - 0.5 * s, InletForm::Submerged},
      // Form 1, pipe 1/1 in US units at half-full critical depth:
      // D (Hc/D + K X^M - 0.5 S), Hc = D/2 + πD/16.
      {[] { return Pipe("1/1"); }, qHalf * kCfs,
       (d / 2 + kPi * d / 16 + d * (0.0098 * xHalf * xHalf - 0.5 * pipeS)) * kFt,
       InletForm::Unsubmerged},
      // Mitered pipe 2/2: the slope term is +0.7 S.
      {[] {
         Culvert c = Pipe("2/2");
         c.material = BarrelMaterial::CorrugatedMetal;
         return c;
       },
       qHalf * kCfs,
       (d / 2 + kPi * d / 16 + d * (0.0210 * std::pow(xHalf, 1.33) + 0.7 * pipeS)) * kFt,
       InletForm::Unsubmerged},
  };
  for (const auto& t : cases) {
    const Culvert c = t.culvert();
    SCOPED_TRACE(c.inlet->code);
    const InletControl r = InletControlHeadwater(c, t.discharge);
    EXPECT_NEAR(r.headwater, t.expected, 1e-9);
    EXPECT_EQ(r.form, t.form);
    // Twin barrels share the flow: the same headwater at twice the discharge.
    Culvert twin = c;
    twin.barrels = 2;
    EXPECT_NEAR(InletControlHeadwater(twin, 2 * t.discharge).headwater, t.expected, 1e-9);
  }
}

TEST(CulvertOutlet, LossesAndTheOutletLevel) {
  // Box at Q = 5 m³/s: V = 2.5 m/s, R = 2/6 m, dc = (2.5²/g)^(1/3).
  const double vh = 2.5 * 2.5 / (2 * kG);
  const double hf = 0.013 * 0.013 * 30 * 2.5 * 2.5 / std::pow(1.0 / 3, 4.0 / 3);
  const double dc = std::cbrt(2.5 * 2.5 / kG);
  const struct {
    double tailwater;  // m above the outlet invert
    double level;      // ho
  } cases[] = {
      {0.5, (dc + 1) / 2},  // below (dc + D)/2: the rule
      {1.2, 1.2},           // above the crown: the tailwater
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.tailwater);
    const OutletControl o = OutletControlHeadwater(Box(), 5, t.tailwater);
    EXPECT_NEAR(o.entranceLoss, 0.5 * vh, 1e-12);
    EXPECT_NEAR(o.frictionLoss, hf, 1e-12);
    EXPECT_NEAR(o.exitLoss, vh, 1e-12);
    EXPECT_NEAR(o.outletLevel, t.level, 1e-12);
    EXPECT_NEAR(o.headwater, -0.3 + 1.5 * vh + hf + t.level, 1e-12);
    // The higher control governs.
    const BarrelFlow f = BarrelFlowAt(Box(), 5, t.tailwater);
    const double inlet = InletControlHeadwater(Box(), 5).headwater;
    EXPECT_EQ(f.inletControls, inlet >= o.headwater);
    EXPECT_NEAR(f.headwaterElevation, 100 + std::max(inlet, o.headwater), 1e-12);
  }
}

TEST(CulvertTailwater, ChannelNormalDepthCarriesTheFlow) {
  Culvert c = Box();
  c.tailwaterElevation.reset();
  c.channel = TailwaterChannel{SectionKind::Trapezoid, 3, 2, 0.002, 0.035};
  const double y = TailwaterDepth(c, 8);
  const double a = (3 + 2 * y) * y;
  const double p = 3 + 2 * y * std::sqrt(5.0);
  EXPECT_NEAR(a * std::pow(a / p, 2.0 / 3) * std::sqrt(0.002) / 0.035, 8, 1e-9);
}

TEST(CulvertOvertopping, SplitConservesFlowAtOneHeadwater) {
  Culvert c = Box();
  c.roadway = Roadway{101.5, 40, 10, RoadwaySurface::Paved};
  const CulvertState s = CulvertAt(c, 20);
  ASSERT_TRUE(s.overtopping);
  EXPECT_NEAR(s.barrel.discharge + s.overtoppingDischarge, 20, 1e-12);
  EXPECT_NEAR(s.barrel.headwaterElevation, s.headwaterElevation, 1e-9);
  EXPECT_NEAR(
      RoadwayOvertopping(RoadwaySurface::Paved, 40, 10, s.headwaterElevation - 101.5).discharge,
      s.overtoppingDischarge, 1e-8);
  // Below the crest the barrels carry everything.
  const CulvertState low = CulvertAt(c, 2);
  EXPECT_FALSE(low.overtopping);
  EXPECT_EQ(low.barrel.discharge, 2);
}

TEST(CulvertSolve, InversesReturnTheirInput) {
  CulvertInputs in;
  in.culvert = Box("8/1");
  in.culvert.roadway = Roadway{101.5, 40, 10, RoadwaySurface::Gravel};
  for (const double q : {3.0, 20.0}) {
    SCOPED_TRACE(q);
    in.solveFor = CulvertUnknown::Headwater;
    in.discharge = q;
    const double hw = SolveCulvert(in).state.headwaterElevation;
    in.solveFor = CulvertUnknown::Discharge;
    in.allowableHeadwater = hw;
    EXPECT_NEAR(SolveCulvert(in).state.totalDischarge, q, 1e-9 * q);
  }
  // Size: the chosen pipe keeps under the allowable, the next smaller does not.
  CulvertInputs p;
  p.culvert = Pipe();
  p.solveFor = CulvertUnknown::Size;
  p.discharge = 40 * kCfs;
  p.allowableHeadwater = 10 + 5 * kFt;
  p.sizes = BuiltInUsSizes();
  const CulvertResults r = SolveCulvert(p);
  ASSERT_TRUE(r.nominalSize);
  EXPECT_LE(r.state.headwaterElevation, *p.allowableHeadwater);
  Culvert smaller = p.culvert;
  const auto& sizes = p.sizes.sizes;
  const auto at = std::find(sizes.begin(), sizes.end(), *r.nominalSize);
  ASSERT_NE(at, sizes.begin());
  smaller.rise = *(at - 1) * 0.0254;
  EXPECT_GT(CulvertAt(smaller, p.discharge).headwaterElevation, *p.allowableHeadwater);
}

TEST(CulvertSolve, RefusesNamingTheField) {
  const struct {
    std::function<void(Culvert&)> spoil;
    const char* field;
  } cases[] = {
      {[](Culvert& c) { c.rise = 0; }, "rise"},
      {[](Culvert& c) { c.span = -1; }, "span"},
      {[](Culvert& c) { c.outletInvert = 100.1; }, "outletInvertElevation"},
      {[](Culvert& c) {
         c.roadway = Roadway{99, 10, 10, RoadwaySurface::Paved};
       },
       "roadwayCrestElevation"},
      {[](Culvert& c) { c.inlet = FindInlet("1/1"); }, "inletType"},
      {[](Culvert& c) { c.material = BarrelMaterial::CorrugatedMetal; }, "inletType"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.field);
    CulvertInputs in;
    in.culvert = Box();
    in.discharge = 3;
    t.spoil(in.culvert);
    try {
      SolveCulvert(in);
      ADD_FAILURE() << "accepted";
    } catch (const StructureInputError& e) {
      EXPECT_EQ(e.Field(), t.field);
    }
  }
}

TEST(CulvertSolve, Warnings) {
  CulvertInputs in;
  in.culvert = Box();
  in.culvert.tailwaterElevation = 101;  // 1.3 m over the outlet invert, above the 1 m crown
  in.culvert.velocityLimit = 1;
  in.discharge = 3;
  const CulvertResults r = SolveCulvert(in);
  const auto has = [&](const char* words) {
    for (const std::string& w : r.warnings)
      if (w.find(words) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(has("above the crown"));
  EXPECT_TRUE(has("outlet velocity"));
  EXPECT_FALSE(has("capped"));
}

}  // namespace
}  // namespace rivulet
