#include "core/networks/grade_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/hydraulics/flow_details.h"
#include "support/near.h"

namespace rivulet {
namespace {

using testing::Near;

constexpr double kPi = std::numbers::pi;

// V²/2g of q at depth y in a pipe of diameter d, from the circular segment's area.
double Head(double q, double d, double y) {
  const double theta = y >= d ? 2 * kPi : 2 * std::acos(1 - 2 * y / d);
  const double area = d * d / 8 * (theta - std::sin(theta));
  return std::pow(q / area, 2) / (2 * kGravity);
}

TEST(AccessHole, EachLossTermAgainstAHandCalculation) {
  // 600 mm outflow carrying 0.5 m³/s at Ei = 0.8 m with 0.1 m of velocity head; a straight
  // pipe and a 90° pipe below the level, a pipe dropping in from 1.0 m and the inlet's
  // runoff from an 8 m rim, capped at 10 diameters.
  AccessHoleInput in;
  in.outflowDiameter = 0.6;
  in.outflowDischarge = 0.5;
  in.outflowEnergy = 0.8;
  in.outflowVelocityHead = 0.1;
  in.benching = Benching::HalfBenched;
  in.inflows = {{0.3, 0.1, 180, false},
                {0.15, 0.5, 90, false},
                {0.02, 1.0, 180, false},
                {0.03, 8.0, 180, true}};
  const AccessHoleEnergy e = AccessHoleLevel(in);
  const double di = 0.5 / (kPi * 0.36 / 4 * std::sqrt(kGravity * 0.6));  // 0.7290
  EXPECT_TRUE(Near(e.outletControl, 0.8 + 0.2 * 0.1));
  EXPECT_TRUE(Near(e.inletSubmerged, 0.6 * di * di));                     // 0.3189
  EXPECT_TRUE(Near(e.inletUnsubmerged, 1.6 * 0.6 * std::pow(di, 0.67)));  // 0.7768
  EXPECT_EQ(e.governing, GoverningTerm::OutletControl);
  EXPECT_TRUE(Near(e.initial, 0.82));
  // Eai/Do = 1.367: 0.2444 of the way from −0.85 (unsubmerged) to −0.05.
  EXPECT_TRUE(Near(e.benching, -0.85 + 0.8 * (0.82 / 0.6 - 1) / 1.5));  // −0.6544
  // θw = (0.3·180 + 0.15·90) / 0.45 = 150°.
  EXPECT_TRUE(Near(e.angle, 4.5 * 0.45 / 0.5 * std::cos(75 * kPi / 180)));  // 1.0482
  // (0.02·(1.0 − 0.82)/0.6 + 0.03·(6.0 − 0.82)/0.6) / 0.5.
  EXPECT_TRUE(Near(e.plunge, 0.53, 1e-12));
  const double sum =
      -0.85 + 0.8 * (0.82 / 0.6 - 1) / 1.5 + 4.5 * 0.9 * std::cos(75 * kPi / 180) + 0.53;
  EXPECT_TRUE(Near(e.adjustment, sum * 0.02, 1e-10));
  EXPECT_TRUE(Near(e.level, 0.82 + sum * 0.02, 1e-12));
}

TEST(AccessHole, GoverningTermAndTheFloorUnderTheOutflowEnergy) {
  struct Row {
    const char* name;
    double d, q, ei, head;
    bool supercritical;
    GoverningTerm governing;
    double initial, level;
  };
  const auto di = [](double q, double d) {
    return q / (kPi * d * d / 4 * std::sqrt(kGravity * d));
  };
  const double sub = 0.3 * std::pow(di(0.5, 0.3), 2);            // 5.10
  const double weir = 1.6 * 1.0 * std::pow(di(0.2, 1.0), 0.67);  // 0.298
  const Row rows[] = {
      // A small pipe choked by a large flow: the orifice form governs.
      {"submerged inlet", 0.3, 0.5, 0.2, 0.05, false, GoverningTerm::InletSubmerged, sub, sub},
      // A large pipe with little flow and little depth: the weir form.
      {"unsubmerged inlet", 1.0, 0.2, 0.1, 0.01, false, GoverningTerm::InletUnsubmerged, weir,
       weir},
      // A supercritical outflow drops outlet control; the level never falls below Ei.
      {"supercritical", 1.0, 0.2, 0.5, 0.3, true, GoverningTerm::InletUnsubmerged, weir, 0.5},
  };
  for (const Row& row : rows) {
    AccessHoleInput in;
    in.outflowDiameter = row.d;
    in.outflowDischarge = row.q;
    in.outflowEnergy = row.ei;
    in.outflowVelocityHead = row.head;
    in.outflowSupercritical = row.supercritical;
    const AccessHoleEnergy e = AccessHoleLevel(in);
    EXPECT_EQ(e.governing, row.governing) << row.name;
    EXPECT_TRUE(Near(e.initial, row.initial)) << row.name;
    // A head structure: no benching, no inflow to turn or plunge, so no adjustment.
    EXPECT_EQ(e.benching, 0) << row.name;
    EXPECT_TRUE(Near(e.level, row.level)) << row.name;
  }
}

TEST(AccessHole, BenchingCoefficientsInterpolateBetweenTheColumns) {
  struct Row {
    Benching benching;
    double unsubmerged, submerged;
  };
  const Row rows[] = {{Benching::Flat, -0.05, -0.05},
                      {Benching::Depressed, 0, 0},
                      {Benching::HalfBenched, -0.85, -0.05},
                      {Benching::FullBenched, -0.93, -0.25},
                      {Benching::Improved, -0.98, -0.60}};
  for (const Row& row : rows) {
    const char* name = BenchingName(row.benching);
    EXPECT_DOUBLE_EQ(BenchingCoefficient(row.benching, 0.4), row.unsubmerged) << name;
    EXPECT_DOUBLE_EQ(BenchingCoefficient(row.benching, 1.0), row.unsubmerged) << name;
    EXPECT_NEAR(BenchingCoefficient(row.benching, 1.75), (row.unsubmerged + row.submerged) / 2,
                1e-15)
        << name;
    EXPECT_NEAR(BenchingCoefficient(row.benching, 2.5), row.submerged, 1e-15) << name;
    EXPECT_NEAR(BenchingCoefficient(row.benching, 6.0), row.submerged, 1e-15) << name;
  }
}

// A 500 mm pipe with 0.2 m³/s whose normal depth is 0.3 m and critical depth 0.2 m (set, so
// that each case's band is plain), outlet invert at 10.0 m, entering an access hole.
TEST(PipeOutlet, EachCaseFromTheLevelBelow) {
  PipeFlow p;
  p.diameter = 0.5, p.discharge = 0.2, p.normalDepth = 0.3, p.criticalDepth = 0.2;
  const double normal = 10.3 + Head(0.2, 0.5, 0.3);
  struct Row {
    double below;
    char label;
    double energy;
  };
  const Row rows[] = {
      {10.6, 'A', 10.6 + 0.4 * Head(0.2, 0.5, 0.5)},  // above the crown: full-area velocity
      {10.4, 'B', 10.4 + 0.4 * Head(0.2, 0.5, 0.4)},  // velocity at the face depth
      {10.25, 'C', std::max(10.25 + 0.4 * Head(0.2, 0.5, 0.25), normal)},
      {10.1, 'D', normal},
      {9.5, 'E', normal},
  };
  for (const Row& row : rows) {
    const PipeEnd end = OutletEnergy(p, 10.0, row.below, kExitLossAccessHole);
    EXPECT_EQ(end.label, row.label) << row.below;
    EXPECT_TRUE(Near(end.energy, row.energy)) << row.below;
  }
  // Steep (normal depth 0.15 m below the critical 0.2 m): only a drowned outlet holds the
  // flow up; below the crown it leaves at its own normal depth.
  p.normalDepth = 0.15;
  const double steepNormal = 10.15 + Head(0.2, 0.5, 0.15);
  for (const Row& row : {Row{10.6, 'A', 10.6 + 0.4 * Head(0.2, 0.5, 0.5)},
                         Row{10.4, 'E', steepNormal}, Row{10.18, 'E', steepNormal}}) {
    const PipeEnd end = OutletEnergy(p, 10.0, row.below, kExitLossAccessHole);
    EXPECT_EQ(end.label, row.label) << "steep " << row.below;
    EXPECT_TRUE(Near(end.energy, row.energy)) << "steep " << row.below;
  }
}

TEST(PipeInlet, CarriesTheOutletEnergyUpByFrictionOrSlope) {
  // 600 mm, 0.2 m³/s, 1 in 500 over 50 m: mild, so its outlet band is downstream-controlled.
  const PipeFlow p = DescribePipeFlow(0.6, 0.2, 0.002, 0.013, 50);
  ASSERT_GT(p.normalDepth, p.criticalDepth);
  double sf = 0;
  // Drowned deep: full along its length by the full-flow friction slope.
  const PipeEnd drowned = OutletEnergy(p, 10.0, 11.5, kExitLossAccessHole);
  const PipeEnd top = InletEnergy(p, 10.0, drowned, &sf);
  const double fullSf = std::pow(0.2 * 0.013 / (kPi * 0.09 * std::pow(0.15, 2.0 / 3.0)), 2);
  EXPECT_EQ(top.label, 'A');
  EXPECT_TRUE(Near(sf, fullSf));
  EXPECT_TRUE(Near(top.energy, drowned.energy + fullSf * 50));
  // Part-full above normal depth: the same specific energy one slope-fall higher, at a
  // subcritical depth whose energy it is.
  const PipeEnd backwater =
      OutletEnergy(p, 10.0, 10.0 + (p.normalDepth + 0.6) / 2, kExitLossAccessHole);
  const PipeEnd upper = InletEnergy(p, 10.0, backwater, &sf);
  EXPECT_EQ(upper.label, 'B');
  EXPECT_TRUE(Near(sf, 0.002));
  EXPECT_TRUE(Near(upper.energy, backwater.energy + 0.1));
  const double y = upper.hydraulic - 10.1;
  EXPECT_TRUE(Near(y + Head(0.2, 0.6, y), upper.energy - 10.1, 1e-10));
  EXPECT_GT(y, p.normalDepth);
  // A free outlet: normal depth at the top.
  const PipeEnd free = InletEnergy(p, 10.0, OutletEnergy(p, 10.0, 9.0, 1.0), &sf);
  EXPECT_EQ(free.label, 'C');
  EXPECT_TRUE(Near(free.hydraulic, 10.1 + p.normalDepth));
}

}  // namespace
}  // namespace rivulet
