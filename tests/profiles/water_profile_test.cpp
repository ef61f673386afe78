// Water-surface profiles against hand arithmetic: direct-step stations worked from the
// energy equation, standard step converging on direct step, each profile class from the
// control that makes it, the jump's momentum balance and continuity along the profile.
#include "core/profiles/water_profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/hydraulics/flow_details.h"
#include "core/profiles/profile_section.h"
#include "core/profiles/profile_steps.h"
#include "support/near.h"

namespace rivulet {
namespace {

using testing::Near;

constexpr double g = kGravity;

// A 5 m rectangle of concrete carrying 10 m³/s: critical depth (q²/g)^(1/3) = 0.742 m,
// normal depth about 1.02 m at 0.001, so mild there and steep at 0.02.
ProfileInputs Rectangle(double slope, ProfileMethod method = ProfileMethod::StandardStep) {
  ProfileInputs in;
  in.shape = {SectionKind::Rectangle, 0, 5.0, 0};
  in.manningsN = 0.013;
  in.slope = slope;
  in.reachLength = 1000;
  in.bedElevation = 100;
  in.discharge = 10;
  in.method = method;
  in.numberOfSteps = 400;
  in.maximumStepLength = 5;
  return in;
}

ProfileControl Depth(double y) { return {ControlKind::Depth, y}; }

// Specific energy and conveyance of the 5 m rectangle worked from its own formulas.
double Energy(double y) { return y + std::pow(10 / (5 * y), 2) / (2 * g); }
double Conveyance(double y) { return 5 * y * std::pow(5 * y / (5 + 2 * y), 2.0 / 3) / 0.013; }

TEST(WaterProfile, DirectStepStationsFollowTheEnergyEquation) {
  ProfileInputs in = Rectangle(0.001, ProfileMethod::DirectStep);
  in.numberOfSteps = 0;
  in.depthIncrement = 0.1;
  in.downstream = Depth(2.0);
  const ProfileResults r = SolveProfile(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_GE(r.points.size(), 3u);
  // Δs = (E2 − E1) / (S̄f − S0), S̄f = [2Q/(K1 + K2)]², stations rising upstream.
  const auto step = [](double y1, double y2) {
    const double sf = std::pow(20 / (Conveyance(y1) + Conveyance(y2)), 2);
    return (Energy(y2) - Energy(y1)) / (sf - 0.001);
  };
  EXPECT_EQ(r.points[0].station, 0);
  EXPECT_TRUE(Near(r.points[1].station, step(2.0, 1.9), 1e-9));
  EXPECT_TRUE(Near(r.points[2].station, step(2.0, 1.9) + step(1.9, 1.8), 1e-9));
  EXPECT_TRUE(Near(r.points[2].depth, 1.8, 1e-12));
  EXPECT_TRUE(Near(r.points[2].WaterSurface(), 100 + 0.001 * r.points[2].station + 1.8, 1e-12));
  EXPECT_EQ(r.profileType, "M1");
  EXPECT_EQ(r.slopeClass, "Mild");
  EXPECT_TRUE(Near(*r.criticalDepth, std::cbrt(4 / g), 1e-9));
}

// The standard step's error against a fine direct step falls as its stations close up.
TEST(WaterProfile, StandardStepConvergesOnDirectStep) {
  ProfileInputs direct = Rectangle(0.001, ProfileMethod::DirectStep);
  direct.numberOfSteps = 20000;
  direct.downstream = Depth(2.0);
  const ProfileResults reference = SolveProfile(direct);
  ASSERT_TRUE(reference.ok) << reference.message;
  double previousError = 1;
  for (double step : {200.0, 50.0, 10.0}) {
    ProfileInputs in = Rectangle(0.001);
    in.maximumStepLength = step;
    in.downstream = Depth(2.0);
    const ProfileResults r = SolveProfile(in);
    ASSERT_TRUE(r.ok) << r.message;
    const double error = std::abs(r.points.back().depth - reference.points.back().depth);
    EXPECT_LT(error, previousError) << "step " << step;
    previousError = error;
  }
  EXPECT_LT(previousError, 2e-4);
}

TEST(WaterProfile, EachClassComesFromTheControlThatMakesIt) {
  const double critical =
      SlopeForUniformFlow({SectionKind::Rectangle, 0, 5.0, 0}, std::cbrt(4 / g), 10, 0.013);
  const ProfileControl atCritical{ControlKind::Critical, 0};
  struct Case {
    const char* type;
    double slope;
    ProfileControl downstream, upstream;
  };
  const Case cases[] = {
      {"M1", 0.001, Depth(2.0), {}},    {"M2", 0.001, atCritical, {}},
      {"M3", 0.001, {}, Depth(0.3)},    {"S1", 0.02, Depth(2.0), {}},
      {"S2", 0.02, {}, atCritical},     {"S3", 0.02, {}, Depth(0.2)},
      {"C1", critical, Depth(1.2), {}}, {"C3", critical, {}, Depth(0.3)},
      {"H2", 0, atCritical, {}},        {"H3", 0, {}, Depth(0.3)},
      {"A2", -0.001, atCritical, {}},   {"A3", -0.001, {}, Depth(0.3)},
  };
  for (const ProfileMethod method : {ProfileMethod::DirectStep, ProfileMethod::StandardStep})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.type) +
                   (method == ProfileMethod::DirectStep ? " direct" : " standard"));
      ProfileInputs in = Rectangle(c.slope, method);
      in.reachLength = 100;
      in.downstream = c.downstream;
      in.upstream = c.upstream;
      const ProfileResults r = SolveProfile(in);
      ASSERT_TRUE(r.ok) << r.message;
      EXPECT_EQ(r.profileType, c.type);
      // Continuity: V·A = Q at every point, A = 5 y.
      for (const ProfileRow& p : r.points) EXPECT_TRUE(Near(p.velocity * 5 * p.depth, 10, 1e-12));
    }
}

// Below a gate on a mild reach the M3 profile meets the M1 backwater of a high tailwater: the
// jump stands where the two sides' momentum balances.
TEST(WaterProfile, JumpSequentDepthsBalanceMomentum) {
  for (const ProfileMethod method : {ProfileMethod::DirectStep, ProfileMethod::StandardStep}) {
    ProfileInputs in = Rectangle(0.001, method);
    in.reachLength = 300;
    in.upstream = Depth(0.3);
    in.downstream = Depth(1.2);
    const ProfileResults r = SolveProfile(in);
    ASSERT_TRUE(r.ok) << r.message;
    ASSERT_TRUE(r.jump);
    EXPECT_EQ(r.profileType, "M3, M1");
    const HydraulicJump& j = *r.jump;
    const double y1 = j.upstreamDepth, y2 = j.sequentDepth, q = 2;
    // Rectangle: q²/(g y) + y²/2 per metre of width on both sides, and Bélanger's ratio.
    EXPECT_TRUE(Near(q * q / (g * y1) + y1 * y1 / 2, q * q / (g * y2) + y2 * y2 / 2, 1e-12));
    const double fr1 = q / std::sqrt(g * y1 * y1 * y1);
    EXPECT_TRUE(Near(y2 / y1, (std::sqrt(1 + 8 * fr1 * fr1) - 1) / 2, 1e-12));
    EXPECT_TRUE(Near(j.energyLoss, std::pow(y2 - y1, 3) / (4 * y1 * y2), 1e-9));
    EXPECT_TRUE(Near(j.length, 6 * y2));
    EXPECT_GT(j.station, 0);
    EXPECT_LT(j.station, 300);
    // The backwater falls from the tailwater towards normal depth upstream.
    EXPECT_GT(y2, *r.normalDepth);
    EXPECT_LT(y2, 1.2);
  }
}

// Each averaging of the friction slope over a step, for ends of Sf 0.0025 and 0.01.
TEST(WaterProfile, FrictionSlopeAveraging) {
  SectionHydraulics a, b;
  a.area = 10, a.perimeter = 10, a.conveyance = 100;
  b.area = 8, b.perimeter = 9, b.conveyance = 50;
  const double n1 = 10 * 1.0 / 100, n2 = 8 * std::pow(8.0 / 9, 2.0 / 3) / 50;
  const double v = (5.0 / 10 + 5.0 / 8) / 2, r = (1 + 8.0 / 9) / 2;
  struct Case {
    FrictionAveraging averaging;
    double expected;
  } cases[] = {
      {FrictionAveraging::AverageConveyance, std::pow(10.0 / 150, 2)},
      {FrictionAveraging::AverageFrictionSlope, (0.0025 + 0.01) / 2},
      {FrictionAveraging::GeometricMean, 0.005},
      {FrictionAveraging::HarmonicMean, 2 * 0.0025 * 0.01 / 0.0125},
      {FrictionAveraging::MeanHydraulics, std::pow((n1 + n2) / 2 * v / std::pow(r, 2.0 / 3), 2)},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(Near(AverageFrictionSlope(a, b, 5, c.averaging), c.expected, 1e-12))
        << static_cast<int>(c.averaging);
}

// The area's moment about the surface, A·ȳ, behind every sequent depth: the trapezoid's
// b y²/2 + z y³/3, a pipe's by strips of width 2(h(D − h))^(1/2), a survey by its segments.
TEST(WaterProfile, FirstMomentOfEachShape) {
  const auto pipeStrips = [](double d, double y) {
    const int n = 200000;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
      const double h = (i + 0.5) * y / n;
      sum += (y - h) * 2 * std::sqrt(h * (d - h)) * y / n;
    }
    return sum;
  };
  const SectionPtr survey = MakeSurveyedSection({{0, 3, 7, 10}, {3, 0, 0, 3}, {}, {0.03}, false},
                                                CompositeMethod::Conveyance);
  struct Case {
    const char* name;
    SectionPtr section;
    double depth, expected;
  };
  const Case cases[] = {
      {"trapezoid", MakePrismaticSection({SectionKind::Trapezoid, 0, 3, 1.5}, 0.013), 0.8,
       3 * 0.64 / 2 + 1.5 * 0.512 / 3},
      {"triangle", MakePrismaticSection({SectionKind::Triangle, 0, 9, 2}, 0.013), 0.6,
       2 * 0.216 / 3},
      {"pipe below half", MakePrismaticSection({SectionKind::Pipe, 1.2, 0, 0}, 0.013), 0.35,
       pipeStrips(1.2, 0.35)},
      {"pipe above half", MakePrismaticSection({SectionKind::Pipe, 1.2, 0, 0}, 0.013), 1.0,
       pipeStrips(1.2, 1.0)},
      // Sides of 1:1 from 3 m wide: the survey's trapezoid, wet partway up its slopes.
      {"survey", survey, 1.2, 4 * 1.44 / 2 + 1.728 / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Near(c.section->At(c.depth).firstMoment, c.expected, 1e-6));
  }
}

// A trapezoid's momentum holds the sides' z y³/3 too; a short steep reach sweeps the jump out.
TEST(WaterProfile, JumpInATrapezoidAndOneSweptOut) {
  ProfileInputs in = Rectangle(0.001);
  in.shape = {SectionKind::Trapezoid, 0, 3.0, 1.5};
  in.reachLength = 400;
  in.upstream = Depth(0.25);
  in.downstream = {ControlKind::Normal, 0};
  const ProfileResults r = SolveProfile(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_TRUE(r.jump);
  const auto momentum = [](double y) {
    const double a = y * (3 + 1.5 * y);
    return 100 / (g * a) + 3 * y * y / 2 + 1.5 * y * y * y / 3;
  };
  EXPECT_TRUE(Near(momentum(r.jump->upstreamDepth), momentum(r.jump->sequentDepth), 1e-12));

  ProfileInputs steep = Rectangle(0.02);
  steep.upstream = {ControlKind::Critical, 0};
  steep.downstream = Depth(0.8);
  const ProfileResults swept = SolveProfile(steep);
  ASSERT_TRUE(swept.ok) << swept.message;
  EXPECT_FALSE(swept.jump);
  EXPECT_EQ(swept.profileType, "S2");
}

// The same trapezoid surveyed at three stations gives the prismatic profile: the survey's
// geometry, the sections between them and the bed from the lowest points all agree.
TEST(WaterProfile, SurveyedSectionsMatchThePrismaticChannel) {
  ProfileInputs prismatic = Rectangle(0.002);
  prismatic.shape = {SectionKind::Trapezoid, 0, 5.0, 1.0};
  prismatic.reachLength = 200;
  prismatic.maximumStepLength = 20;
  prismatic.downstream = Depth(2.5);
  ProfileInputs surveyed = prismatic;
  surveyed.channel = ProfileChannel::Sections;
  for (double station : {0.0, 120.0, 200.0}) {
    const double bed = 100 + 0.002 * station;
    surveyed.sections.push_back(
        {"", station, {{0, 5, 10, 15}, {bed + 5, bed, bed, bed + 5}, {}, {0.013}, false}});
  }
  const ProfileResults a = SolveProfile(prismatic), b = SolveProfile(surveyed);
  ASSERT_TRUE(a.ok) << a.message;
  ASSERT_TRUE(b.ok) << b.message;
  ASSERT_EQ(a.points.size(), b.points.size());
  for (size_t i = 0; i < a.points.size(); ++i) {
    EXPECT_TRUE(Near(b.points[i].station, a.points[i].station, 1e-12));
    EXPECT_TRUE(Near(b.points[i].depth, a.points[i].depth, 1e-9));
  }
  EXPECT_EQ(b.profileType, "M1");
}

TEST(WaterProfile, RefusalsNameTheInputAndSayWhy) {
  struct Case {
    const char* name;
    void (*change)(ProfileInputs&);
    const char* field;
    const char* says;
  };
  const Case cases[] = {
      {"depth below zero", [](ProfileInputs& in) { in.downstream = Depth(-0.5); },
       "downstreamDepth", "above zero"},
      {"supercritical tailwater", [](ProfileInputs& in) { in.downstream = Depth(0.3); },
       "downstreamDepth", "computed downstream from a control at the upstream end"},
      {"subcritical headwater", [](ProfileInputs& in) { in.upstream = Depth(2.0); },
       "upstreamDepth", "computed upstream from a control at the downstream end"},
      {"surface below the bed",
       [](ProfileInputs& in) {
         in.downstream = {ControlKind::WaterSurface, 99.5};
       },
       "downstreamWaterSurfaceElevation", "not above the bed"},
      {"normal depth on a level bed",
       [](ProfileInputs& in) {
         in.slope = 0;
         in.downstream = {ControlKind::Normal, 0};
       },
       "downstreamControl", "bed falling downstream"},
      {"no control", [](ProfileInputs&) {}, "downstreamControl", "one end at least"},
      {"sections out of order",
       [](ProfileInputs& in) {
         in.channel = ProfileChannel::Sections;
         in.downstream = Depth(2.0);
         const StationSection s{{0, 0, 10, 10}, {5, 0, 0, 5}, {}, {0.03}, false};
         in.sections = {{"a", 0, s}, {"b", 50, s}, {"c", 40, s}};
       },
       "sections", "sections row 3 (\"c\")"},
      {"stations too many for the survey's detail",
       [](ProfileInputs& in) {
         in.channel = ProfileChannel::Sections;
         in.downstream = Depth(2.0);
         // 50 000 stations, within the step limit, of 100 points each.
         in.maximumStepLength = 0.2;
         StationSection s{{}, {}, {}, {0.03}, false};
         for (int i = 0; i < 100; ++i) {
           s.station.push_back(i);
           s.elevation.push_back(std::abs(i - 49.5) / 10);
         }
         in.sections = {{"a", 0, s}, {"b", 10000, s}};
       },
       "maximumStepLength", "too many stations"},
      {"direct step over surveys",
       [](ProfileInputs& in) {
         in.channel = ProfileChannel::Sections;
         in.method = ProfileMethod::DirectStep;
         in.downstream = Depth(2.0);
       },
       "method", "prismatic"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileInputs in = Rectangle(0.001);
    c.change(in);
    const ProfileResults r = SolveProfile(in);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.field, c.field);
    EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
  }
}

// A profile that must pass through critical depth with no other control to meet it ends
// there, with the reason, and invents nothing beyond.
TEST(WaterProfile, AProfileThatReachesCriticalDepthEndsThere) {
  ProfileInputs in = Rectangle(0.001);
  in.upstream = Depth(0.3);
  const ProfileResults r = SolveProfile(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_NE(r.warnings[0].find("reaches critical depth"), std::string::npos) << r.warnings[0];
  EXPECT_GT(r.points.front().station, 0);
  for (const ProfileRow& p : r.points) EXPECT_LE(p.depth, *r.criticalDepth);
}

TEST(WaterProfile, DistanceToNormalDepthIsWhereTheProfileComesWithinOnePercent) {
  ProfileInputs in = Rectangle(0.001, ProfileMethod::DirectStep);
  in.reachLength = 20000;
  in.numberOfSteps = 2000;
  in.downstream = Depth(2.0);
  const ProfileResults r = SolveProfile(in);
  ASSERT_TRUE(r.ok) << r.message;
  ASSERT_TRUE(r.normalApproachDistance);
  const double yn = *r.normalDepth;
  for (const ProfileRow& p : r.points) {
    if (p.station < *r.normalApproachDistance - 1e-9) {
      EXPECT_GT(p.depth, 1.01 * yn);
    }
    if (p.station > *r.normalApproachDistance + 1e-9) {
      EXPECT_LE(p.depth, 1.01 * yn * (1 + 1e-12));
    }
  }
}

}  // namespace
}  // namespace rivulet
