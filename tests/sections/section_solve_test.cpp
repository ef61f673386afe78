// The irregular-section calculation against the prismatic sheet's own geometry, hand
// calculations of each composite method, overtopping, several critical depths and the
// inputs it refuses.
#include "core/sections/section_solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/geometry.h"
#include "support/near.h"

namespace rivulet {
namespace {

constexpr double kSheetAgreement = 1e-9;  // relative: the points carry the sheet's shape exactly

using testing::Near;

// A trapezoid (b = 0: triangle, z = 0: rectangle) drawn as points, its invert at `base` and
// its banks `height` above it.
StationSection TrapezoidPoints(double b, double z, double height, double base, double n) {
  StationSection s;
  s.station = {0, z * height, z * height + b, 2 * z * height + b};
  s.elevation = {base + height, base, base, base + height};
  s.n = {n};
  return s;
}

TEST(SectionPrismatic, MatchesTheSheetAcrossAGrid) {
  const struct Shape { double b, z; } shapes[] = {{3.5, 0}, {0, 1.5}, {0, 0.25}, {1, 2}, {12, 0.5}};
  int cases = 0;
  for (const Shape& shape : shapes)
    for (double y : {0.05, 0.7, 2.3})
      for (double n : {0.011, 0.035})
        for (double slope : {0.0005, 0.02})
          for (CompositeMethod method : {CompositeMethod::Conveyance, CompositeMethod::Horton,
                                         CompositeMethod::Pavlovskii, CompositeMethod::Lotter}) {
            SCOPED_TRACE("b=" + std::to_string(shape.b) + " z=" + std::to_string(shape.z) +
                         " y=" + std::to_string(y) + " method " + CompositeMethodKey(method));
            const double area = TrapezoidArea(shape.b, y, shape.z);
            const double perimeter = TrapezoidPerimeter(shape.b, y, shape.z);
            const double r = HydraulicRadius(area, perimeter);
            const double q = ManningVelocity(r, slope, n) * area;

            SectionInputs in;
            in.section = TrapezoidPoints(shape.b, shape.z, 3 * y + 1, 101.25, n);
            in.method = method;
            in.slope = slope;
            in.solveFor = SectionUnknown::Discharge;
            in.depth = y;
            const SectionResults byDepth = SolveSection(in);
            ASSERT_TRUE(byDepth.ok) << byDepth.message;
            EXPECT_TRUE(Near(area, byDepth.flowArea, kSheetAgreement));
            EXPECT_TRUE(Near(perimeter, byDepth.wettedPerimeter, kSheetAgreement));
            EXPECT_TRUE(Near(shape.b + 2 * shape.z * y, byDepth.topWidth, kSheetAgreement));
            EXPECT_TRUE(Near(q, byDepth.discharge, kSheetAgreement));
            EXPECT_TRUE(Near(q / area, byDepth.velocity, kSheetAgreement));
            EXPECT_TRUE(Near(n, byDepth.compositeN, kSheetAgreement));
            EXPECT_TRUE(Near(1, byDepth.energyCoefficient, kSheetAgreement));

            in.solveFor = SectionUnknown::Depth;
            in.depth.reset();
            in.discharge = q;
            const SectionResults byFlow = SolveSection(in);
            ASSERT_TRUE(byFlow.ok) << byFlow.message;
            EXPECT_TRUE(byFlow.search.converged);
            EXPECT_TRUE(Near(y, byFlow.depth, kSheetAgreement));
            EXPECT_NEAR(101.25 + y, byFlow.waterSurfaceElevation, 1e-12 * y);

            // One critical depth, where the sheet's bisection puts it.
            const ChannelSection section{SectionKind::Trapezoid, 0, shape.b, shape.z};
            const CriticalDepthResult critical = CriticalDepth(section, q);
            ASSERT_EQ(1u, byFlow.criticalDepths.size());
            EXPECT_TRUE(Near(critical.depth, *byFlow.criticalDepth, 1e-9));
            ++cases;
          }
  EXPECT_EQ(5 * 3 * 2 * 2 * 4, cases);
}

// Dividers at the breaks add no perimeter, so cutting a one-n section into zones of the
// same n changes nothing the conveyance method reports, α included.
TEST(SectionPrismatic, ZonesOfOneRoughnessChangeNothing) {
  SectionInputs in;
  in.section.station = {0, 2, 3.5, 5, 7.25, 9};
  in.section.elevation = {4, 1.5, 0.2, 0.1, 1.9, 3.8};
  in.section.n = {0.03};
  in.slope = 0.004;
  in.solveFor = SectionUnknown::Discharge;
  in.waterSurfaceElevation = 2.6;
  const SectionResults whole = SolveSection(in);
  in.section.breaks = {1, 3.5, 6};
  in.section.n = {0.03, 0.03, 0.03, 0.03};
  const SectionResults cut = SolveSection(in);
  ASSERT_TRUE(whole.ok && cut.ok);
  EXPECT_TRUE(Near(whole.flowArea, cut.flowArea, 1e-13));
  EXPECT_TRUE(Near(whole.wettedPerimeter, cut.wettedPerimeter, 1e-13));
  EXPECT_TRUE(Near(whole.topWidth, cut.topWidth, 1e-13));
  // Zones are not one section: their conveyances add to more than the whole's.
  EXPECT_GT(cut.discharge, whole.discharge);
  double zoneArea = 0, zoneQ = 0;
  for (const ZoneResult& z : cut.zones) zoneArea += z.flowArea, zoneQ += z.discharge;
  EXPECT_TRUE(Near(cut.flowArea, zoneArea, 1e-13));
  EXPECT_TRUE(Near(cut.discharge, zoneQ, 1e-13));
}

// A main channel 4 m wide and 1 m deep between flat overbanks 10 m wide, walls at the ends;
// water 1 m over the overbanks. Walls standing on the breaks belong to the main channel.
SectionInputs CompoundChannel(CompositeMethod method) {
  SectionInputs in;
  in.section.station = {0, 0, 10, 10, 14, 14, 24, 24};
  in.section.elevation = {3, 1, 1, 0, 0, 1, 1, 3};
  in.section.breaks = {10, 14};
  in.section.n = {0.05, 0.03, 0.05};
  in.method = method;
  in.slope = 0.001;
  in.solveFor = SectionUnknown::Discharge;
  in.waterSurfaceElevation = 2;
  return in;
}

TEST(SectionComposite, EachMethodAgreesWithAHandCalculation) {
  // Overbanks: A = 10, P = 1 + 10 = 11 each; main channel: A = 8, P = 1 + 4 + 1 = 6.
  const double rootS = std::sqrt(0.001);
  const double kOver = 10 * std::pow(10.0 / 11, 2.0 / 3) / 0.05;
  const double kMain = 8 * std::pow(8.0 / 6, 2.0 / 3) / 0.03;
  const double kSum = 2 * kOver + kMain;
  const double alpha = (2 * std::pow(kOver, 3) / 100 + std::pow(kMain, 3) / 64) /
                       (std::pow(kSum, 3) / (28.0 * 28.0));
  const double horton =
      std::pow((22 * std::pow(0.05, 1.5) + 6 * std::pow(0.03, 1.5)) / 28, 2.0 / 3);
  const double pavlovskii = std::sqrt((22 * 0.05 * 0.05 + 6 * 0.03 * 0.03) / 28);
  const double lotter =
      28 / (22 * std::pow(10.0 / 11, 5.0 / 3) / 0.05 + 6 * std::pow(8.0 / 6, 5.0 / 3) / 0.03);
  const struct Row {
    CompositeMethod method;
    double n, discharge, alpha, mainDischarge;
  } rows[] = {
      {CompositeMethod::Conveyance, 28 / kSum, kSum * rootS, alpha, kMain * rootS},
      {CompositeMethod::Horton, horton, 28 / horton * rootS, 1, 8 / horton * rootS},
      {CompositeMethod::Pavlovskii, pavlovskii, 28 / pavlovskii * rootS, 1, 8 / pavlovskii * rootS},
      {CompositeMethod::Lotter, lotter, 28 / lotter * rootS, 1, kMain * rootS},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(CompositeMethodKey(row.method));
    const SectionResults r = SolveSection(CompoundChannel(row.method));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(Near(28, r.flowArea, 1e-14));
    EXPECT_TRUE(Near(28, r.wettedPerimeter, 1e-14));
    EXPECT_TRUE(Near(24, r.topWidth, 1e-14));
    EXPECT_TRUE(Near(row.n, r.compositeN, 1e-12));
    EXPECT_TRUE(Near(row.discharge, r.discharge, 1e-12));
    EXPECT_TRUE(Near(row.alpha, r.energyCoefficient, 1e-12));
    ASSERT_EQ(3u, r.zones.size());
    EXPECT_TRUE(Near(11, r.zones[0].wettedPerimeter, 1e-14));
    EXPECT_TRUE(Near(6, r.zones[1].wettedPerimeter, 1e-14));
    EXPECT_TRUE(Near(4, r.zones[1].topWidth, 1e-14));
    EXPECT_TRUE(Near(row.mainDischarge, r.zones[1].discharge, 1e-12));
    EXPECT_TRUE(Near(r.zones[1].discharge / 8, r.zones[1].velocity, 1e-14));
    EXPECT_EQ(0.03, r.zones[1].n);
  }
}

TEST(SectionComposite, SlopeAndDepthUndoDischarge) {
  for (CompositeMethod method : {CompositeMethod::Conveyance, CompositeMethod::Horton}) {
    SectionInputs in = CompoundChannel(method);
    in.waterSurfaceElevation = 1.37;
    const SectionResults q = SolveSection(in);
    ASSERT_TRUE(q.ok) << q.message;
    in.solveFor = SectionUnknown::Slope;
    in.discharge = q.discharge;
    const SectionResults s = SolveSection(in);
    ASSERT_TRUE(s.ok) << s.message;
    EXPECT_TRUE(Near(0.001, s.slope, 1e-12));
    in.solveFor = SectionUnknown::Depth;
    in.slope = 0.001;
    const SectionResults d = SolveSection(in);
    ASSERT_TRUE(d.ok) << d.message;
    EXPECT_TRUE(Near(1.37, d.waterSurfaceElevation, 1e-10));
    EXPECT_LT(d.search.evaluations, 60);
  }
}

TEST(SectionOvertopping, NamesTheSideAndExtendsOnlyWhenAsked) {
  SectionInputs in;
  in.section.station = {0, 1, 5, 6};
  in.section.elevation = {2, 0, 0, 1.5};  // the right bank is the lower
  in.section.n = {0.02};
  in.slope = 0.001;
  in.solveFor = SectionUnknown::Discharge;
  in.waterSurfaceElevation = 1.8;
  SectionResults r = SolveSection(in);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.overtopped);
  EXPECT_EQ("right", r.overtoppedSide);
  EXPECT_NE(std::string::npos, r.message.find("overtopped on the right")) << r.message;

  in.waterSurfaceElevation = 2.5;
  r = SolveSection(in);
  EXPECT_EQ("both", r.overtoppedSide);

  // Bank-full capacity: the water at the right end, 1.5 m up.
  in.waterSurfaceElevation = 1.5;
  const SectionResults full = SolveSection(in);
  ASSERT_TRUE(full.ok);
  EXPECT_FALSE(full.overtopped);
  in.solveFor = SectionUnknown::Depth;
  in.discharge = full.discharge * 1.01;
  r = SolveSection(in);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.overtopped);
  EXPECT_EQ("right", r.overtoppedSide);
  ASSERT_TRUE(r.bankFullDischarge);
  EXPECT_TRUE(Near(full.discharge, *r.bankFullDischarge, 1e-12));
  EXPECT_NE(std::string::npos, r.message.find("bank-full")) << r.message;

  // With walls the water stands 0.3 m against the right wall, which is wetted.
  in.section.extendWalls = true;
  in.solveFor = SectionUnknown::Discharge;
  in.waterSurfaceElevation = 1.8;
  r = SolveSection(in);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_TRUE(r.overtopped);
  EXPECT_EQ("right", r.overtoppedSide);
  ASSERT_FALSE(r.warnings.empty());
  EXPECT_NE(std::string::npos, r.warnings.front().find("vertical walls"));
  const double leftSlope = std::hypot(1.0, 2.0) * 1.8 / 2;
  EXPECT_TRUE(Near(leftSlope + 4 + std::hypot(1.0, 1.5) + 0.3, r.wettedPerimeter, 1e-13));
  EXPECT_TRUE(Near(1.8 * 1.8 / 4 + 4 * 1.8 + (0.3 + 1.8) / 2 * 1, r.flowArea, 1e-13));
  in.solveFor = SectionUnknown::Depth;
  in.discharge = r.discharge;
  const SectionResults back = SolveSection(in);
  ASSERT_TRUE(back.ok) << back.message;
  EXPECT_TRUE(Near(1.8, back.waterSurfaceElevation, 1e-10));
}

// A 4 m by 1 m main channel between 10 m flat overbanks carrying 10 m³/s: critical in the
// main channel at (Q²/g·b²)^(1/3) and again just over the banks, where A³ = Q²·T/g with
// T = 24 m and A = 4 + 24·(y − 1).
TEST(SectionCritical, ACompoundChannelHasTwoCriticalDepths) {
  SectionInputs in = CompoundChannel(CompositeMethod::Horton);
  in.section.elevation = {3, 1, 1, 0, 0, 1, 1, 3};
  in.solveFor = SectionUnknown::Depth;
  in.discharge = 10;
  const SectionResults r = SolveSection(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_EQ(2u, r.criticalDepths.size());
  const double inMain = std::cbrt(100 / (kGravity * 16));
  const double overBanks = 1 + (std::cbrt(100 * 24 / kGravity) - 4) / 24;
  EXPECT_TRUE(Near(inMain, r.criticalDepths[0], 1e-9));
  EXPECT_TRUE(Near(overBanks, r.criticalDepths[1], 1e-9));
  // The overbank state carries the flow on less energy.
  ASSERT_TRUE(r.criticalDepth);
  EXPECT_EQ(r.criticalDepths[1], *r.criticalDepth);
  EXPECT_TRUE(Near(overBanks, *r.criticalWaterSurfaceElevation, 1e-9));
  bool said = false;
  for (const std::string& w : r.warnings) said |= w.find("several critical depths") != w.npos;
  EXPECT_TRUE(said);

  // The subdivided method weighs the energy by α, and still finds both.
  in.method = CompositeMethod::Conveyance;
  const SectionResults conveyance = SolveSection(in);
  ASSERT_TRUE(conveyance.ok);
  EXPECT_EQ(2u, conveyance.criticalDepths.size());
  EXPECT_TRUE(Near(inMain, conveyance.criticalDepths[0], 1e-9));  // one zone wet: α = 1
}

// Every critical depth, wherever it lies against the points' levels, is where the Froude
// number the results show falls through 1; a fine scan of the Froude number over the
// section's own states counts them independently of the search.
TEST(SectionCritical, EveryCriticalDepthIsWhereTheFroudeNumberFallsThroughOne) {
  SectionInputs gentle = CompoundChannel(CompositeMethod::Conveyance);
  // Floodplains rising 2 mm over their 10 m: the first wetting is nearly flat.
  gentle.section.elevation = {3, 1.002, 1, 0, 0, 1, 1.002, 3};
  gentle.section.station = {0, 0.001, 10, 10, 14, 14, 23.999, 24};
  const struct Row {
    const char* name;
    SectionInputs in;
    double discharge;
    std::vector<double> expected;  // by hand, where the geometry allows; else only counted
  } rows[] = {
      // q = Q/b, yc = (q²/g)^(1/3) = 0.0100 m, far below a first sample of the banks' 20 m.
      {"shallow water in a deep rectangle",
       [] {
         SectionInputs in;
         in.section = TrapezoidPoints(20, 0, 20, 100, 0.013);
         in.slope = 0.001;
         return in;
       }(),
       0.0626,
       {std::cbrt(std::pow(0.0626 / 20, 2) / kGravity)}},
      {"main channel and floodplains, α varying",
       CompoundChannel(CompositeMethod::Conveyance),
       10,
       {}},
      {"nearly flat floodplains, α varying", gentle, 10, {}},
      {"nearly flat floodplains, one velocity",
       [&] {
         SectionInputs in = gentle;
         in.method = CompositeMethod::Horton;
         return in;
       }(),
       10,
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SectionInputs in = row.in;
    in.solveFor = SectionUnknown::Depth;
    in.discharge = row.discharge;
    const SectionResults r = SolveSection(in);
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_TRUE(r.criticalDepth) << (r.warnings.empty() ? "" : r.warnings.back());
    if (!row.expected.empty()) {
      ASSERT_EQ(row.expected.size(), r.criticalDepths.size());
      for (size_t i = 0; i < row.expected.size(); ++i)
        EXPECT_TRUE(Near(row.expected[i], r.criticalDepths[i], 1e-9));
    }
    // The Froude number reported at each critical depth is 1.
    for (double yc : r.criticalDepths) {
      SectionInputs at = in;
      at.solveFor = SectionUnknown::Slope;
      at.waterSurfaceElevation.reset();
      at.depth = yc;
      const SectionResults c = SolveSection(at);
      ASSERT_TRUE(c.ok) << c.message;
      EXPECT_TRUE(Near(1, c.froudeNumber, 1e-9)) << "at depth " << yc;
    }
    // Count where Fr falls through 1 on a fine scan.
    const SectionModel m(in.section, in.method);
    const double full = m.BankFull() - m.Lowest();
    int falls = 0;
    double before = std::numeric_limits<double>::infinity();
    for (int i = 1; i <= 200000; ++i) {
      const SectionState s = m.StateAt(m.Lowest() + full * i / 200000, false);
      const double fr2 = s.alpha * row.discharge * row.discharge * s.topWidth /
                         (kGravity * s.area * s.area * s.area);
      if (before > 1 && fr2 <= 1) ++falls;
      before = fr2;
    }
    EXPECT_EQ(falls, static_cast<int>(r.criticalDepths.size()));
  }
}

// Floodplains rising 5 cm over 10 m beside a 4 m by 1 m main channel, one velocity over the
// section (Horton): as the floodplains wet, their perimeter grows far faster than the area
// and the conveyance falls from about 102 m³/s to about 33 m³/s at 1.05 m before it rises
// again. A conveyance of 70 m³/s is carried at three depths.
TEST(SectionNormalDepth, TheLowestOfSeveralIsGivenAndTheOthersNamed) {
  SectionInputs in = CompoundChannel(CompositeMethod::Horton);
  in.section.elevation = {3, 1.05, 1, 0, 0, 1, 1.05, 3};
  in.solveFor = SectionUnknown::Depth;
  in.discharge = 70 * std::sqrt(in.slope);
  const SectionResults r = SolveSection(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_EQ(3u, r.normalDepths.size());
  EXPECT_EQ(r.depth, r.normalDepths[0]);
  EXPECT_LT(r.normalDepths[0], 1);  // main channel only
  EXPECT_GT(r.normalDepths[1], 1);  // floodplains wetting
  EXPECT_LT(r.normalDepths[1], 1.05);
  EXPECT_GT(r.normalDepths[2], 1.05);  // floodplains under water
  // In the main channel alone: a 4 m rectangle of n 0.03, K = A·R^(2/3)/n.
  const double y = r.normalDepths[0];
  EXPECT_TRUE(Near(70, 4 * y * std::pow(4 * y / (4 + 2 * y), 2.0 / 3) / 0.03, 1e-12));
  for (double depth : r.normalDepths) {
    SectionInputs at = in;
    at.solveFor = SectionUnknown::Discharge;
    at.waterSurfaceElevation.reset();
    at.depth = depth;
    EXPECT_TRUE(Near(in.discharge, SolveSection(at).discharge, 1e-12)) << "at depth " << depth;
  }
  std::string named;
  for (const std::string& w : r.warnings)
    if (w.find("also carried") != w.npos) named = w;
  EXPECT_NE(std::string::npos, named.find(" and ")) << named;
  EXPECT_NE(std::string::npos, named.find("lowest")) << named;
}

// A trickle in a V of side slopes z at 1250 m: the depth is a fraction of a millimetre, below
// what a tolerance relative to the depth can resolve at that elevation. The closed form of a
// triangle: y = [Q·n·(2·√(1+z²))^(2/3) / (z^(5/3)·√S)]^(3/8).
TEST(SectionSearch, ATrickleConvergesToTheClosedForm) {
  for (double q : {1e-9, 1e-6, 1e-3}) {
    SCOPED_TRACE(q);
    SectionInputs in;
    in.section = TrapezoidPoints(0, 2, 3, 1250, 0.013);
    in.slope = 0.001;
    in.discharge = q;
    const SectionResults r = SolveSection(in);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.warnings.empty() || r.warnings.front().find("tolerance") == std::string::npos)
        << r.warnings.front();
    EXPECT_TRUE(r.search.converged);
    const double y = std::pow(q * 0.013 * std::pow(2 * std::sqrt(5.0), 2.0 / 3) /
                                  (std::pow(2, 5.0 / 3) * std::sqrt(0.001)),
                              3.0 / 8);
    // The surface is resolved to a few units in the last place of 1250 m.
    EXPECT_NEAR(y, r.depth, 2e-12);
  }
}

TEST(SectionInputs, BadInputsAreRefusedNamingTheField) {
  auto base = [] {
    SectionInputs in;
    in.section.station = {0, 2, 4, 6};
    in.section.elevation = {3, 0.5, 0, 3};
    in.section.breaks = {3};
    in.section.n = {0.04, 0.03};
    in.slope = 0.002;
    in.discharge = 1;
    return in;
  };
  const struct Row {
    const char* name;
    void (*edit)(SectionInputs&);
    const char* message;
    const char* field;
  } rows[] = {
      {"two points",
       [](SectionInputs& in) {
         in.section.station = {0, 1}, in.section.elevation = {1, 0};
       },
       "at least 3 points; it has 2", "points"},
      {"unequal lists", [](SectionInputs& in) { in.section.elevation.pop_back(); },
       "4 stations but 3 elevations", "points"},
      {"doubling back", [](SectionInputs& in) { in.section.station[2] = 1.5; },
       "Point 3 (station 1.5) lies before Point 2 (station 2): the stations double back", "points"},
      {"no station", [](SectionInputs& in) { in.section.station[1] = std::nan(""); },
       "Point 2: the station is not a number", "points"},
      {"no elevation",
       [](SectionInputs& in) { in.section.elevation[3] = std::numeric_limits<double>::infinity(); },
       "Point 4: the elevation is not a number", "points"},
      {"low left end", [](SectionInputs& in) { in.section.elevation[0] = 0; },
       "Point 1 is a lowest point", "points"},
      {"low right end",
       [](SectionInputs& in) {
         in.section.elevation = {3, 1, 0.5, 0.5};
       },
       "Point 4 is a lowest point", "points"},
      {"break at an end", [](SectionInputs& in) { in.section.breaks = {6}; },
       "Break 1 (station 6) must lie between the end stations 0 and 6", "nZones"},
      {"breaks out of order",
       [](SectionInputs& in) {
         in.section.breaks = {3, 2}, in.section.n = {0.04, 0.03, 0.05};
       },
       "Break 2 (station 2) must lie beyond break 1", "nZones"},
      {"n missing", [](SectionInputs& in) { in.section.n = {0.04}; },
       "1 breaks make 2 zones, but 1 values", "nZones"},
      {"too many zones",
       [](SectionInputs& in) {
         in.section.breaks.clear();
         for (int i = 1; i <= 500; ++i) in.section.breaks.push_back(6.0 * i / 501);
         in.section.n.assign(501, 0.03);
       },
       "at most 500 roughness zones (499 breaks); it has 501", "nZones"},
      {"n zero", [](SectionInputs& in) { in.section.n[1] = 0; },
       "Zone 2: Manning's n must be a number above 0", "nZones"},
      {"slope zero", [](SectionInputs& in) { in.slope = 0; }, "longitudinal slope",
       "longitudinalSlope"},
      {"negative discharge", [](SectionInputs& in) { in.discharge = -1; }, "discharge must be",
       "discharge"},
      {"surface below the bed",
       [](SectionInputs& in) {
         in.solveFor = SectionUnknown::Discharge;
         in.waterSurfaceElevation = -0.1;
       },
       "above the lowest point", "waterSurfaceElevation"},
      {"no surface", [](SectionInputs& in) { in.solveFor = SectionUnknown::Slope; },
       "water surface elevation or the depth", "waterSurfaceElevation"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SectionInputs in = base();
    row.edit(in);
    const SectionResults r = SolveSection(in);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(std::string::npos, r.message.find(row.message)) << r.message;
    EXPECT_EQ(row.field, r.field);
  }
  const SectionResults good = SolveSection(base());
  EXPECT_TRUE(good.ok) << good.message;
}

}  // namespace
}  // namespace rivulet
