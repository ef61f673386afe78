#include "core/networks/network.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "core/hydraulics/flow_details.h"
#include "core/networks/network_profile.h"
#include "core/networks/network_tree.h"
#include "support/near.h"

namespace rivulet {
namespace {

using testing::Near;

constexpr double kMmPerHour = 1.0 / 3.6e6;  // m/s
constexpr double kPi = std::numbers::pi;

NetworkStructure At(const char* id, StructureKind kind, double rim, double area = 0, double c = 0,
                    double time = 0, Benching benching = Benching::Flat) {
  NetworkStructure s;
  s.id = id, s.kind = kind, s.rimElevation = rim, s.drainageArea = area;
  s.runoffCoefficient = c, s.inletTime = time, s.benching = benching;
  return s;
}

NetworkPipe Pipe(const char* id, const char* from, const char* to, double length = 10,
                 double n = 0.013) {
  NetworkPipe p;
  p.id = id, p.from = from, p.to = to, p.length = length, p.manningsN = n;
  return p;
}

// Two inlets joining at an access hole that drains to the outfall; SI, metric sizes.
NetworkInputs TwoBranches() {
  NetworkInputs in;
  in.structures = {
      At("I1", StructureKind::Inlet, 103.0, 10000, 0.5, 300),
      At("I2", StructureKind::Inlet, 103.0, 20000, 0.8, 600),
      At("MH1", StructureKind::AccessHole, 102.5, 0, 0, 0, Benching::HalfBenched),
      At("OUT", StructureKind::Outfall, 101.0),
  };
  NetworkPipe p1 = Pipe("P1", "I1", "MH1", 600);
  p1.slope = 0.005;
  NetworkPipe p2 = Pipe("P2", "I2", "MH1", 120);
  p2.slope = 0.005;
  p2.inflowAngle = 90;
  NetworkPipe p3 = Pipe("P3", "MH1", "OUT", 80);
  p3.slope = 0.004;
  in.pipes = {p1, p2, p3};
  in.idf.duration = {300, 600, 1200, 1800};
  in.idf.intensity = {150 * kMmPerHour, 120 * kMmPerHour, 90 * kMmPerHour, 75 * kMmPerHour};
  in.design.minimumDiameter = 0.3;
  in.design.minimumTimeOfConcentration = 300;
  in.design.minimumCover = 0.9;
  in.design.freeboard = 0.3;
  in.design.sizes = BuiltInMetricSizes();
  return in;
}

const PipeResult& PipeOf(const NetworkResults& r, const std::string& id) {
  for (const PipeResult& p : r.pipes)
    if (p.id == id) return p;
  ADD_FAILURE() << "no pipe " << id;
  static PipeResult none;
  return none;
}

const StructureResult& StructureOf(const NetworkResults& r, const std::string& id) {
  for (const StructureResult& s : r.structures)
    if (s.id == id) return s;
  ADD_FAILURE() << "no structure " << id;
  static StructureResult none;
  return none;
}

double FullCapacity(double d, double s, double n) {
  return kPi * d * d / 4 * std::pow(d / 4, 2.0 / 3.0) * std::sqrt(s) / n;
}

TEST(NetworkDesign, AccumulatesAreaAndTakesTheLongestTimeDownTheTree) {
  NetworkInputs in = TwoBranches();
  in.design.roundTravelTimes = true;
  const NetworkResults r = SolveNetwork(in);
  ASSERT_TRUE(r.ok) << r.message;
  const PipeResult& p1 = PipeOf(r, "P1");
  const PipeResult& p2 = PipeOf(r, "P2");
  const PipeResult& p3 = PipeOf(r, "P3");
  // Heads: their own inlet times; Q = C·A·i.
  EXPECT_TRUE(Near(p1.discharge, 0.5 * 10000 * 150 * kMmPerHour));
  EXPECT_TRUE(Near(p2.discharge, 0.8 * 20000 * 120 * kMmPerHour));
  // P1 runs 600 m at about 1.51 m/s: 6.6 min, rounded to 7; P2's 120 m at 1.88 m/s round to
  // 1. So the longest path reaches MH1 at 5 + 7 = 12 min against P2's 10 + 1.
  EXPECT_DOUBLE_EQ(p1.travelTime, 420);
  EXPECT_DOUBLE_EQ(p2.travelTime, 60);
  EXPECT_DOUBLE_EQ(p3.timeOfConcentration, 720);
  EXPECT_TRUE(Near(p3.cumulativeCA, 0.5 * 10000 + 0.8 * 20000));
  EXPECT_TRUE(Near(p3.drainageArea, 30000));
  // 12 min lies 2/10 of the way from 120 to 90 mm/h; flows are recomputed, never added.
  EXPECT_TRUE(Near(p3.intensity, 114 * kMmPerHour));
  EXPECT_TRUE(Near(p3.discharge, 21000 * 114 * kMmPerHour));

  // Unrounded, the travel time is the length over the part-full velocity, whose depth
  // carries the discharge by Manning's equation.
  const NetworkResults exact = SolveNetwork(TwoBranches());
  ASSERT_TRUE(exact.ok);
  const PipeResult& e1 = PipeOf(exact, "P1");
  const SectionGeometry g = GeometryAt({SectionKind::Pipe, e1.diameter, 0, 0}, e1.depth);
  EXPECT_TRUE(Near(g.area * std::pow(g.area / g.perimeter, 2.0 / 3.0) * std::sqrt(0.005) / 0.013,
                   e1.discharge, 1e-9));
  EXPECT_TRUE(Near(e1.travelTime, 600 * g.area / e1.discharge));
  EXPECT_TRUE(Near(PipeOf(exact, "P3").timeOfConcentration, 300 + e1.travelTime));
}

TEST(NetworkDesign, SizesToTheSmallestCarryingSizeNeverBelowAPipeUpstream) {
  const NetworkResults r = SolveNetwork(TwoBranches());
  ASSERT_TRUE(r.ok) << r.message;
  // P1 0.208 m³/s needs 525 (450 carries 0.20); P2 0.533 needs 675; P3 0.665 at 0.004
  // outgrows 675 (0.53) and takes 750 (0.70).
  EXPECT_DOUBLE_EQ(PipeOf(r, "P1").diameter, 0.525);
  EXPECT_DOUBLE_EQ(PipeOf(r, "P2").diameter, 0.675);
  EXPECT_DOUBLE_EQ(PipeOf(r, "P3").diameter, 0.75);
  EXPECT_TRUE(Near(PipeOf(r, "P3").fullCapacity, FullCapacity(0.75, 0.004, 0.013), 1e-12));

  // At a capacity boundary: exactly 450's full capacity stays 450, a hair more takes 525;
  // and a large pipe upstream holds the size up however small the flow.
  struct Row {
    const char* name;
    double dischargeScale;
    double upstreamDiameter;
    double expected;
  };
  for (const Row& row : {Row{"at capacity", 1.0, 0, 0.45}, Row{"just above", 1 + 1e-9, 0, 0.525},
                         Row{"pipe upstream", 0.1, 0.9, 0.9}}) {
    NetworkInputs in = TwoBranches();
    const double capacity = FullCapacity(0.45, 0.004, 0.013);
    // P3 alone carries MH1's area: give it all to MH1 so that its flow is known exactly.
    in.structures[2].drainageArea = capacity * row.dischargeScale / (150 * kMmPerHour);
    in.structures[2].runoffCoefficient = 1;
    in.structures[0].drainageArea = in.structures[1].drainageArea = 0;
    in.structures[0].inletTime = in.structures[1].inletTime = 0;  // the 5 min minimum holds
    in.pipes[0].diameter = row.upstreamDiameter > 0 ? row.upstreamDiameter : 0.3;
    in.pipes[1].diameter = 0.3;
    const NetworkResults sized = SolveNetwork(in);
    ASSERT_TRUE(sized.ok) << row.name << ": " << sized.message;
    EXPECT_DOUBLE_EQ(PipeOf(sized, "P3").diameter, row.expected) << row.name;
  }
}

TEST(NetworkDesign, SetsInvertsByTheCrownRuleFromTheCover) {
  struct Row {
    CrownRule rule;
    double p3Upstream;
  };
  // P1 starts at 103 − 0.9 − 0.525 and falls 3 m to 98.575; P2 ends at 100.825. Matching
  // crowns puts P3's crown at P1's (99.1): 99.1 − 0.75; matching inverts, at P1's invert.
  for (const Row& row :
       {Row{CrownRule::MatchCrowns, 99.1 - 0.75}, Row{CrownRule::MatchInverts, 98.575}}) {
    NetworkInputs in = TwoBranches();
    in.design.crownRule = row.rule;
    const NetworkResults r = SolveNetwork(in);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_NEAR(PipeOf(r, "P1").upstreamInvert, 101.575, 1e-9);
    EXPECT_NEAR(PipeOf(r, "P1").downstreamInvert, 98.575, 1e-9);
    EXPECT_NEAR(PipeOf(r, "P2").downstreamInvert, 100.825, 1e-9);
    EXPECT_NEAR(PipeOf(r, "P3").upstreamInvert, row.p3Upstream, 1e-9);
    EXPECT_NEAR(PipeOf(r, "P3").downstreamInvert, row.p3Upstream - 0.32, 1e-9);
  }
}

// Going upstream the energy grade never falls: not along a pipe (friction), not into a
// pipe's outlet (its exit loss), not into a structure (its losses).
void ExpectEnergyNeverFallsUpstream(const NetworkInputs& in, const NetworkResults& r) {
  for (std::size_t p = 0; p < in.pipes.size(); ++p) {
    const PipeResult& pipe = r.pipes[p];
    const StructureResult& below = StructureOf(r, in.pipes[p].to);
    const StructureResult& above = StructureOf(r, in.pipes[p].from);
    EXPECT_GE(pipe.downstreamEnergy, below.energyGradeElevation - 1e-9) << pipe.id;
    if (pipe.inletCondition != 'D') {
      EXPECT_GE(pipe.upstreamEnergy, pipe.downstreamEnergy - 1e-9) << pipe.id;
    }
    EXPECT_GE(above.energyGradeElevation, pipe.upstreamEnergy - 1e-9) << pipe.id;
    if (pipe.full) {
      EXPECT_TRUE(Near(
          pipe.upstreamEnergy - pipe.upstreamHydraulic,
          std::pow(pipe.discharge / (kPi * pipe.diameter * pipe.diameter / 4), 2) / (2 * kGravity),
          1e-9))
          << pipe.id;
    }
  }
}

TEST(NetworkGradeLine, ASubmergedOutfallSurchargesTheAccessHoleByHand) {
  NetworkInputs in = TwoBranches();
  in.tailwaterElevation = 102.0;
  const NetworkResults r = SolveNetwork(in);
  ASSERT_TRUE(r.ok) << r.message;
  ExpectEnergyNeverFallsUpstream(in, r);
  const PipeResult& p3 = PipeOf(r, "P3");
  const double q3 = p3.discharge;
  const double area = kPi * 0.75 * 0.75 / 4;
  const double head = std::pow(q3 / area, 2) / (2 * kGravity);
  // Case A into a pool: tailwater plus a whole velocity head.
  EXPECT_EQ(p3.outletCase, 'A');
  EXPECT_TRUE(Near(p3.downstreamEnergy, 102.0 + head));
  // Full along its 80 m: Sf = (Q n / (A R^(2/3)))², R = D/4; condition A at the top.
  const double sf = std::pow(q3 * 0.013 / (area * std::pow(0.75 / 4, 2.0 / 3.0)), 2);
  EXPECT_EQ(p3.inletCondition, 'A');
  EXPECT_TRUE(p3.full);
  EXPECT_TRUE(Near(p3.frictionSlope, sf, 1e-12));
  EXPECT_TRUE(Near(p3.upstreamEnergy, 102.0 + head + sf * 80));

  // MH1: outlet control Ei + 0.2·V²/2g beats inlet control; both inflows enter below it,
  // flow-weighted at 180° and 90°; the floor submerged far past 2.5 diameters.
  const StructureResult& mh = StructureOf(r, "MH1");
  const double invert = 99.1 - 0.75;
  const double ei = p3.upstreamEnergy - invert;
  const double eai = ei + 0.2 * head;
  EXPECT_EQ(mh.governingTerm, GoverningTerm::OutletControl);
  EXPECT_TRUE(Near(*mh.initialEnergyLevel, eai));
  const double q1 = PipeOf(r, "P1").discharge, q2 = PipeOf(r, "P2").discharge;
  const double thetaW = (q1 * 180 + q2 * 90) / (q1 + q2);
  const double cTheta = 4.5 * (q1 + q2) / q3 * std::cos(thetaW / 2 * kPi / 180);
  EXPECT_TRUE(Near(*mh.angleCoefficient, cTheta));
  EXPECT_NEAR(*mh.benchingCoefficient, -0.05, 1e-15);
  EXPECT_DOUBLE_EQ(*mh.plungeCoefficient, 0);
  EXPECT_TRUE(Near(mh.energyGradeElevation, invert + eai + (cTheta - 0.05) * (eai - ei)));
  EXPECT_TRUE(mh.surcharged);  // above 102.5 − 0.3
  EXPECT_EQ(mh.hydraulicGradeElevation, mh.energyGradeElevation);
}

TEST(NetworkGradeLine, AFreeOutfallLeavesEveryPipeAtItsNormalDepth) {
  const NetworkInputs in = TwoBranches();
  const NetworkResults r = SolveNetwork(in);
  ASSERT_TRUE(r.ok) << r.message;
  ExpectEnergyNeverFallsUpstream(in, r);
  const PipeResult& p3 = PipeOf(r, "P3");
  // With the tailwater at its own normal depth the outfall pipe runs uniform.
  EXPECT_NEAR(p3.downstreamHydraulic, p3.downstreamInvert + p3.depth, 1e-9);
  EXPECT_NEAR(p3.upstreamHydraulic, p3.upstreamInvert + p3.depth, 1e-9);
  // On the edge of cases B and C to the last bit, it reads as C at both ends.
  EXPECT_EQ(p3.outletCase, 'C');
  EXPECT_EQ(p3.inletCondition, 'C');
  EXPECT_FALSE(p3.full);
  for (const StructureResult& s : r.structures) EXPECT_FALSE(s.surcharged) << s.id;
  EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
}

// Each refusal names the rows at fault and the list they are in.
TEST(NetworkInput, RefusesWhatIsNoTreeOrNoNumberNamingTheRows) {
  struct Row {
    const char* name;
    std::function<void(NetworkInputs&)> change;
    const char* field;
    const char* message;
  };
  const Row rows[] = {
      {"pipe to nowhere", [](NetworkInputs& in) { in.pipes[2].to = "OUT2"; }, "pipes",
       "Pipe \"P3\" runs to structure \"OUT2\", which is not among the structures."},
      {"second outfall", [](NetworkInputs& in) { in.structures[0].kind = StructureKind::Outfall; },
       "structures", "Structures \"I1\" and \"OUT\" are both outfalls"},
      {"two pipes leaving", [](NetworkInputs& in) { in.pipes[2].from = "I1"; }, "pipes",
       "Pipes \"P1\" and \"P3\" both leave structure \"I1\""},
      {"loop",
       [](NetworkInputs& in) {
         in.pipes[0].to = "I2";
         in.pipes[1].to = "I1";
       },
       "pipes", "Pipes \"P1\", \"P2\" form a loop"},
      {"dead end",
       [](NetworkInputs& in) {
         in.structures.push_back(At("X", StructureKind::AccessHole, 103.0));
         in.pipes[1].to = "X";
       },
       "pipes", "Pipe \"P2\" ends at structure \"X\", which no pipe leaves"},
      {"ends nowhere", [](NetworkInputs& in) { in.pipes[2].to = "I1"; }, "pipes",
       "No pipe reaches the outfall \"OUT\"."},
      {"repeated id", [](NetworkInputs& in) { in.pipes[1].id = "P1"; }, "pipes",
       "Two pipes are called \"P1\"."},
      {"negative area", [](NetworkInputs& in) { in.structures[1].drainageArea = -5; }, "structures",
       "Structure \"I2\": drainageArea is negative."},
      {"C above 1", [](NetworkInputs& in) { in.structures[0].runoffCoefficient = 1.2; },
       "structures", "Structure \"I1\": runoffCoefficient 1.2 is outside 0 to 1."},
      {"uphill", [](NetworkInputs& in) { in.pipes[1].slope = -0.001; }, "pipes",
       "Pipe \"P2\" runs uphill or level"},
      {"no slope", [](NetworkInputs& in) { in.pipes[0].slope.reset(); }, "pipes",
       "Pipe \"P1\": give upstreamInvert and downstreamInvert, or a slope."},
      {"idf falling durations", [](NetworkInputs& in) { in.idf.duration[2] = 500; }, "idf",
       "durations must rise from row to row (row 3)"},
  };
  for (const Row& row : rows) {
    NetworkInputs in = TwoBranches();
    row.change(in);
    const NetworkResults r = SolveNetwork(in);
    EXPECT_FALSE(r.ok) << row.name;
    EXPECT_EQ(r.field, row.field) << row.name;
    EXPECT_NE(r.message.find(row.message), std::string::npos) << row.name << ": " << r.message;
  }
  // A given pipe whose inverts fall the wrong way is uphill too.
  NetworkInputs in = TwoBranches();
  in.pipes[2].upstreamInvert = 98.0;
  in.pipes[2].downstreamInvert = 98.1;
  EXPECT_NE(SolveNetwork(in).message.find("Pipe \"P3\" runs uphill"), std::string::npos);
}

TEST(NetworkTree, OrdersEveryPipeAfterThoseUpstreamOfIt) {
  // A chain of 4 with a branch into its second structure, listed outfall end first.
  std::vector<NetworkStructure> s(6);
  const char* ids[] = {"A", "B", "C", "D", "E", "OUT"};
  for (int i = 0; i < 6; ++i) s[i].id = ids[i];
  s[5].kind = StructureKind::Outfall;
  std::vector<NetworkPipe> p = {Pipe("DO", "D", "OUT"), Pipe("CD", "C", "D"), Pipe("BC", "B", "C"),
                                Pipe("AB", "A", "B"), Pipe("EB", "E", "B")};
  const NetworkTree tree = BuildNetworkTree(s, p);
  std::vector<std::size_t> position(p.size());
  for (std::size_t i = 0; i < tree.downstreamOrder.size(); ++i)
    position[tree.downstreamOrder[i]] = i;
  ASSERT_EQ(tree.downstreamOrder.size(), p.size());
  for (std::size_t q = 0; q < p.size(); ++q)
    for (std::size_t up : tree.inflows[tree.from[q]]) EXPECT_LT(position[up], position[q]);
  EXPECT_EQ(tree.outfall, 5u);
}

TEST(NetworkProfile, FollowsThePathFromAHeadToTheOutfall) {
  const NetworkInputs in = TwoBranches();
  const NetworkResults r = SolveNetwork(in);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ProfileHeads(in), (std::vector<std::string>{"I1", "I2"}));
  const NetworkProfile profile = ProfileFrom(in, r, "I1");
  ASSERT_EQ(profile.structures.size(), 3u);
  ASSERT_EQ(profile.pipes.size(), 2u);
  EXPECT_EQ(profile.structures[1].id, "MH1");
  EXPECT_EQ(profile.structures[2].station, 600 + 80);
  EXPECT_EQ(profile.pipes[1].id, "P3");
  EXPECT_EQ(profile.pipes[1].startStation, 600);
  EXPECT_EQ(profile.pipes[1].upstreamHydraulic, PipeOf(r, "P3").upstreamHydraulic);
  EXPECT_TRUE(ProfileFrom(in, r, "nowhere").structures.empty());
}

TEST(Rainfall, InterpolatesTheTableAndEvaluatesTheFittedForm) {
  IdfCurve table;
  table.duration = {300, 600, 1200};
  table.intensity = {150, 120, 90};
  struct Row {
    double duration, intensity;
    bool beyond;
  };
  for (const Row& row : {Row{60, 150, false}, Row{450, 135, false}, Row{1200, 90, false},
                         Row{900, 105, false}, Row{2400, 90, true}}) {
    const IntensityAt i = RainfallIntensity(table, row.duration);
    EXPECT_DOUBLE_EQ(i.intensity, row.intensity) << row.duration;
    EXPECT_EQ(i.beyondTable, row.beyond) << row.duration;
  }
  // i = 2000 / (t + 10)^0.8 mm/h with t in minutes: at 15 min, 2000 / 25^0.8.
  IdfCurve fitted;
  fitted.form = IdfCurve::Form::Formula;
  fitted.a = 2000, fitted.b = 10, fitted.c = 0.8;
  fitted.intensityUnit = kMmPerHour;
  EXPECT_TRUE(
      Near(RainfallIntensity(fitted, 900).intensity, 2000 / std::pow(25.0, 0.8) * kMmPerHour));
}

}  // namespace
}  // namespace rivulet
