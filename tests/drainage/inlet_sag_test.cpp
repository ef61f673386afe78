// Inlets in a sag: weir and orifice figures by hand, the transition rules, the depth search
// as the inverse of the capacity, and the refusals of bad input.
#include "core/drainage/inlet_sag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/drainage/inlet.h"
#include "hydraulics/digits.h"

namespace rivulet {
namespace {

using testing::RelativelyNear;

constexpr double kG = 9.81;

InletInputs Sag(InletType type) {
  InletInputs in;
  in.location = InletLocation::Sag;
  in.solveFor = SagUnknown::Capacity;
  in.gutter.crossSlope = 0.02;
  in.gutter.longitudinalSlope = 0.005;
  in.gutter.manningsN = 0.016;
  in.inletType = type;
  in.grateType = GrateType::P1_7_8;
  in.grateLength = 0.9;
  in.grateWidth = 0.6;
  in.openingLength = 1.5;
  in.openingHeight = 0.1;
  in.slotWidth = 0.045;
  return in;
}

InletResults At(InletInputs in, double di) {
  in.pondingDepth = di;
  return SolveInlet(in);
}

TEST(InletSagTest, GrateTakesTheLowerOfWeirAndOrificeAtTheAverageDepth) {
  for (double clogging : {0.0, 0.5}) {
    for (double di : {0.02, 0.08, 0.3, 1.0}) {
      SCOPED_TRACE(std::to_string(clogging) + " " + std::to_string(di));
      InletInputs in = Sag(InletType::Grate);
      in.clogging = clogging;
      const InletResults r = At(in, di);
      ASSERT_TRUE(r.Ok()) << r.error->message;
      const double d = di - 0.6 * 0.02 / 2;
      const double open = 1 - clogging;  // clogged from the kerb: the W sides shorten
      const double weir = 0.37 * std::sqrt(2 * kG) * (0.9 + 2 * 0.6 * open) * std::pow(d, 1.5);
      const double orifice = 0.67 * 0.9 * 0.6 * open * 0.9 * std::sqrt(2 * kG * d);
      EXPECT_TRUE(RelativelyNear(*r.capacity, std::min(weir, orifice), 1e-12));
      EXPECT_EQ(*r.regime, weir <= orifice ? SagRegime::Weir : SagRegime::Orifice);
      EXPECT_TRUE(RelativelyNear(*r.spreadAtPonding, di / 0.02, 1e-12));
    }
  }
}

TEST(InletSagTest, CurbOpeningRegimesByDepthAgainstHeight) {
  const double h = 0.1;
  const auto weir = [](double d) { return 0.37 * std::sqrt(2 * kG) * 1.5 * std::pow(d, 1.5); };
  const auto orifice = [h](double di, double head) {
    (void)di;
    return 0.67 * 1.5 * h * std::sqrt(2 * kG * head);
  };
  const struct {
    ThroatType throat;
    double angle, di;
    SagRegime regime;
    double expected;
  } rows[] = {
      {ThroatType::Horizontal, 0, 0.05, SagRegime::Weir, weir(0.05)},
      {ThroatType::Horizontal, 0, 0.12, SagRegime::Transition,
       std::min(weir(0.12), orifice(0.12, 0.12 - h / 2))},
      {ThroatType::Horizontal, 0, 0.2, SagRegime::Orifice, orifice(0.2, 0.2 - h / 2)},
      {ThroatType::Inclined, 30, 0.2, SagRegime::Orifice, orifice(0.2, 0.2 - h / 2 * 0.5)},
      {ThroatType::Vertical, 0, 0.3, SagRegime::Orifice, orifice(0.3, 0.3)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.di);
    InletInputs in = Sag(InletType::CurbOpening);
    in.throat = row.throat;
    in.throatAngle = row.angle;
    const InletResults r = At(in, row.di);
    ASSERT_TRUE(r.Ok()) << r.error->message;
    EXPECT_TRUE(RelativelyNear(*r.capacity, row.expected, 1e-12));
    EXPECT_EQ(*r.regime, row.regime);
  }
}

TEST(InletSagTest, DepressedCurbOpeningWeirIsMeasuredFromThePavementPlane) {
  InletInputs in = Sag(InletType::CurbOpening);
  in.openingHeight = 0.15;
  in.depression = 0.05;
  in.depressionWidth = 0.6;
  const double di = 0.1;
  const double expected = 0.29 * std::sqrt(2 * kG) * (1.5 + 1.8 * 0.6) * std::pow(di - 0.05, 1.5);
  const InletResults r = At(in, di);
  EXPECT_TRUE(RelativelyNear(*r.capacity, expected, 1e-12));
  EXPECT_TRUE(RelativelyNear(*r.spreadAtPonding, (di - 0.05) / 0.02, 1e-12));
  // Clogging shortens the opening, not the depression's width.
  InletInputs clogged = in;
  clogged.clogging = 0.2;
  EXPECT_TRUE(RelativelyNear(
      *At(clogged, di).capacity,
      0.29 * std::sqrt(2 * kG) * (1.2 + 1.8 * 0.6) * std::pow(di - 0.05, 1.5), 1e-12));
  // Over a composite gutter the ponded water still meets the pavement plane at (di - a)/Sx.
  InletInputs pan = in;
  pan.gutter.gutterType = GutterType::Composite;
  pan.gutter.gutterWidth = 0.45;
  pan.gutter.gutterDepression = 0.03;
  EXPECT_TRUE(RelativelyNear(*At(pan, di).spreadAtPonding, (di - 0.05) / 0.02, 1e-12));
  // Beyond 12 ft the plain weir over the opening length, still from the pavement plane.
  in.openingLength = 4.0;
  EXPECT_TRUE(RelativelyNear(*At(in, di).capacity,
                             0.37 * std::sqrt(2 * kG) * 4.0 * std::pow(di - 0.05, 1.5), 1e-12));
}

TEST(InletSagTest, SlotWeirInAPanIsMeasuredFromThePavementPlane) {
  InletInputs in = Sag(InletType::Slotted);
  in.gutter.gutterType = GutterType::Composite;
  in.gutter.gutterWidth = 0.6;
  in.gutter.gutterDepression = 0.02;
  const double di = 0.045;  // below 2 in: weir
  const InletResults r = At(in, di);
  ASSERT_TRUE(r.Ok()) << r.error->message;
  EXPECT_TRUE(RelativelyNear(*r.capacity, 0.31 * std::sqrt(2 * kG) * 1.5 * std::pow(di - 0.02, 1.5),
                             1e-12));
  EXPECT_EQ(*r.regime, SagRegime::Weir);
}

// The capacity never falls as the water deepens, the weir and the transition meet at the
// opening height, and the depth found for a flow gives back that flow.
TEST(InletSagTest, CapacityRisesWithDepthAndTheDepthSearchInvertsIt) {
  const InletType types[] = {InletType::Grate, InletType::CurbOpening, InletType::Slotted,
                             InletType::Combination};
  for (InletType type : types) {
    for (bool depressed : {false, true}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(type)) + (depressed ? " depressed" : ""));
      InletInputs in = Sag(type);
      if (depressed) {
        in.gutter.gutterType = GutterType::Composite;
        in.gutter.gutterWidth = 0.6;
        in.gutter.gutterDepression = 0.05;
      }
      const SagInlet s = SagInletOf(in);
      double last = 0;
      for (double di = 0.001; di < 1.5; di += 0.001) {
        const double c = SagCapacity(s, kG, di).capacity;
        EXPECT_GE(c, last) << di;
        last = c;
      }
      for (double q = 0.005; q < 2; q *= 1.7) {
        in.solveFor = SagUnknown::Depth;
        in.gutter.discharge = q;
        const InletResults r = SolveInlet(in);
        ASSERT_TRUE(r.Ok()) << r.error->message;
        // At a jump between regimes the capacity at that depth may exceed the flow.
        EXPECT_GE(*r.capacity, q * (1 - 1e-9)) << q;
        if (type == InletType::Grate) {
          EXPECT_TRUE(RelativelyNear(*r.capacity, q, 1e-9)) << q;
        }
        EXPECT_DOUBLE_EQ(*r.efficiency, 1.0);
        // The smallest such depth: a little shallower falls short.
        EXPECT_LT(SagCapacity(s, kG, *r.pondingDepth * (1 - 1e-9)).capacity, q);
      }
    }
  }
  const SagInlet curb = SagInletOf(Sag(InletType::CurbOpening));
  EXPECT_TRUE(RelativelyNear(SagCapacity(curb, kG, 0.1 * (1 - 1e-12)).capacity,
                             SagCapacity(curb, kG, 0.1).capacity, 1e-9));
}

TEST(InletSagTest, CombinationNeverTakesLessThanItsCurbOpeningAlone) {
  InletInputs comb = Sag(InletType::Combination);
  comb.clogging = 0.9;
  InletInputs curb = Sag(InletType::CurbOpening);
  for (double di : {0.02, 0.1, 0.13, 0.3}) {
    EXPECT_GE(*At(comb, di).capacity, *At(curb, di).capacity) << di;
  }
  // Deep, unclogged: both orifices add.
  comb.clogging = 0;
  const double di = 0.5;
  const double d = di - 0.6 * 0.02 / 2;
  const double grate = 0.67 * 0.9 * 0.6 * 0.9 * std::sqrt(2 * kG * d);
  const double opening = 0.67 * 1.5 * 0.1 * std::sqrt(2 * kG * (di - 0.05));
  const InletResults r = At(comb, di);
  EXPECT_TRUE(RelativelyNear(*r.capacity, grate + opening, 1e-12));
  EXPECT_EQ(*r.regime, SagRegime::Orifice);
}

TEST(InletInputTest, BadInputIsRefusedNamingTheField) {
  static constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    void (*edit)(InletInputs&);
    const char* field;
  } rows[] = {
      {"zero grate length", [](InletInputs& in) { in.grateLength = 0; }, "grateLength"},
      {"NaN grate width", [](InletInputs& in) { in.grateWidth = nan; }, "grateWidth"},
      {"negative opening", [](InletInputs& in) { in.openingLength = -1; }, "openingLength"},
      {"clogging of 1", [](InletInputs& in) { in.clogging = 1; }, "clogging"},
      {"negative clogging", [](InletInputs& in) { in.clogging = -0.1; }, "clogging"},
      {"V-shaped gutter", [](InletInputs& in) { in.gutter.gutterType = GutterType::VShaped; },
       "gutterType"},
      {"depression without width", [](InletInputs& in) { in.depression = 0.05; },
       "depressionWidth"},
      {"45° grate, no ratio", [](InletInputs& in) { in.grateType = GrateType::Tilt45_60; },
       "openingRatio"},
      {"ratio above 1", [](InletInputs& in) { in.openingRatio = 1.2; }, "openingRatio"},
      {"flat throat angle",
       [](InletInputs& in) {
         in.throat = ThroatType::Inclined;
         in.throatAngle = 0;
       },
       "throatAngle"},
      {"no ponding depth", [](InletInputs& in) { in.pondingDepth = 0; }, "pondingDepth"},
      {"no opening height", [](InletInputs& in) { in.openingHeight = 0; }, "openingHeight"},
      {"bad n", [](InletInputs& in) { in.gutter.manningsN = 0; }, "manningsN"},
      {"negative slot on a grade",
       [](InletInputs& in) {
         in.location = InletLocation::Grade;
         in.inletType = InletType::Slotted;
         in.gutter.discharge = 0.05;
         in.slotWidth = -0.01;
       },
       "slotWidth"},
      {"no discharge for a depth",
       [](InletInputs& in) {
         in.solveFor = SagUnknown::Depth;
         in.gutter.discharge = 0;
       },
       "discharge"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    InletInputs in = Sag(InletType::Combination);
    in.pondingDepth = 0.1;
    row.edit(in);
    const InletResults r = SolveInlet(in);
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.error->field, row.field);
    EXPECT_NE(r.error->message.find(row.field), std::string::npos) << r.error->message;
    EXPECT_FALSE(r.capacity.has_value());
    EXPECT_FALSE(r.gutter.has_value());
  }
}

// While the water stands below the brim of a depression it spills over the opening's lip: a
// weir of the opening's length under the depth at the lip. Above the brim the depressed
// weir (from the pavement plane) governs once it passes more than the brim did.
TEST(InletSagTest, DepressedCurbOpeningSpillsOverItsLipBelowTheBrim) {
  InletInputs in = Sag(InletType::CurbOpening);
  in.openingHeight = 0.15;
  in.depression = 0.05;
  in.depressionWidth = 0.6;
  const double k = std::sqrt(2 * kG);
  const double brim = 0.37 * k * 1.5 * std::pow(0.05, 1.5);
  const struct {
    double di, expected;
  } rows[] = {
      {0.03, 0.37 * k * 1.5 * std::pow(0.03, 1.5)},                // lip weir
      {0.05, brim},                                                // at the brim
      {0.06, brim},                                                // plane weir still below it
      {0.10, 0.29 * k * (1.5 + 1.8 * 0.6) * std::pow(0.05, 1.5)},  // plane weir governs
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.di);
    EXPECT_TRUE(RelativelyNear(*At(in, row.di).capacity, row.expected, 1e-12));
  }
  // The depth for a small flow is found below the brim, by the lip weir inverted.
  in.solveFor = SagUnknown::Depth;
  in.gutter.discharge = 0.01;
  const InletResults r = SolveInlet(in);
  ASSERT_TRUE(r.Ok()) << r.error->message;
  EXPECT_TRUE(RelativelyNear(*r.pondingDepth, std::pow(0.01 / (0.37 * k * 1.5), 2.0 / 3), 1e-9));
}

}  // namespace
}  // namespace rivulet
