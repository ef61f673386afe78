#include "core/design/design_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace rivulet {
namespace {

const DesignCheck& Find(const DesignResult& r, const std::string& name) {
  for (const DesignCheck& c : r.checks) {
    if (c.name == name) return c;
  }
  static DesignCheck none;
  ADD_FAILURE() << "no check " << name;
  return none;
}

DesignInput Channel(double velocity, double froude, double shear) {
  DesignInput in;
  in.depth = 0.5;
  in.slope = 0.001;
  in.n = 0.015;
  in.discharge = 1;
  in.velocity = velocity;
  in.froude = froude;
  in.maximumShear = shear;
  return in;
}

struct BoundaryCase {
  const char* name;
  const char* check;
  DesignInput input;
  std::optional<bool> pass;
  const char* text;  // what the user reads: the verdict must agree with pass
};

// Each limit passes exactly at its value and fails just beyond it.
TEST(DesignChecks, LimitsAtTheirBoundaries) {
  DesignSettings s = DefaultDesignSettings();
  s.metric.permissibleShear = 100;
  s.metric.shearSafetyFactor = 1.25;
  s.metric.minFreeboard = 0.3;
  s.metric.bankHeight = 0.8;
  DesignInput pipe = Channel(1, 0.5, 10);
  pipe.isPipe = true;
  pipe.diameter = 1;
  pipe.depth = 0.8;
  DesignInput fuller = pipe;
  fuller.depth = 0.8000001;
  DesignInput deeper = Channel(1, 0.5, 10);
  deeper.depth = 0.5000001;
  const BoundaryCase cases[] = {
      {"minimum velocity met exactly", "minimumVelocity", Channel(0.6, 0.5, 1), true,
       "Velocity 0.6 m/s is at least the minimum 0.6 m/s for self-cleansing"},
      {"just below the minimum", "minimumVelocity", Channel(0.5999999, 0.5, 1), false,
       "Velocity 0.5999999 m/s is below the minimum 0.6 m/s for self-cleansing"},
      {"maximum velocity met exactly", "maximumVelocity", Channel(3.0, 0.5, 1), true,
       "Velocity 3 m/s is within the maximum 3 m/s"},
      {"just above the maximum", "maximumVelocity", Channel(3.0000001, 0.5, 1), false,
       "Velocity 3.0000001 m/s exceeds the maximum 3 m/s"},
      {"Froude at the lower band edge", "nearCritical", Channel(1, 0.86, 1), false,
       "Froude number 0.86 is near critical (0.86 to 1.13): expect an unstable, wavy surface"},
      {"Froude just below the band", "nearCritical", Channel(1, 0.8599999, 1), true,
       "Froude number 0.8599999 is outside the unstable band (0.86 to 1.13)"},
      {"Froude at the upper band edge", "nearCritical", Channel(1, 1.13, 1), false,
       "Froude number 1.13 is near critical (0.86 to 1.13): expect an unstable, wavy surface"},
      {"Froude just above the band", "nearCritical", Channel(1, 1.1300001, 1), true,
       "Froude number 1.1300001 is outside the unstable band (0.86 to 1.13)"},
      {"shear times SF equals the permissible", "liningShear", Channel(1, 0.5, 80), true,
       "Maximum shear 80 Pa is within the permissible 100 Pa of the lining with a safety factor of "
       "1.25"},
      {"shear times SF above the permissible", "liningShear", Channel(1, 0.5, 80.00001), false,
       "Maximum shear 80.00001 Pa exceeds the permissible 100 Pa of the lining with a safety "
       "factor of "
       "1.25"},
      {"y/D at the limit", "depthRatio", pipe, true, "y/D 0.8 is within the limit 0.8"},
      {"y/D above the limit", "depthRatio", fuller, false, "y/D 0.8000001 exceeds the limit 0.8"},
      {"freeboard met exactly", "freeboard", Channel(1, 0.5, 1), true,
       "Freeboard 0.3 m is at least the minimum 0.3 m"},
      {"freeboard short", "freeboard", deeper, false,
       "Freeboard 0.2999999 m is less than the minimum 0.3 m"},
      {"depth ratio of a channel", "depthRatio", Channel(1, 0.5, 1), std::nullopt,
       "Depth ratio applies to pipes only"},
      {"lining shear of a pipe", "liningShear", pipe, std::nullopt,
       "Lining shear applies to open channels only"},
      {"freeboard of a pipe", "freeboard", pipe, std::nullopt,
       "Freeboard applies to open channels only"},
  };
  for (const BoundaryCase& c : cases) {
    const DesignResult r = EvaluateDesign(c.input, s);
    const DesignCheck& check = Find(r, c.check);
    EXPECT_EQ(check.pass, c.pass) << c.name << ": " << check.text;
    EXPECT_EQ(check.text, c.text) << c.name;
    if (c.pass == false) {
      EXPECT_EQ(r.meetsLimits, std::string(c.check) == "nearCritical") << c.name;
    }
  }
}

TEST(DesignChecks, UsVelocityUnitsUseFootCriteriaAndUnits) {
  DesignSettings s = DefaultDesignSettings();
  DesignInput in = Channel(2 * 0.3048, 0.5, 1);
  in.criteriaSystem = UnitSystem::US;
  const DesignResult r = EvaluateDesign(in, s);
  const DesignCheck& vmin = Find(r, "minimumVelocity");
  EXPECT_EQ(vmin.pass, true);
  EXPECT_EQ(vmin.unit, "ft/s");
  EXPECT_NEAR(*vmin.value, 2, 1e-12);
  EXPECT_NEAR(*vmin.limit, 2, 1e-12);
  EXPECT_NEAR(*Find(r, "maximumVelocity").limit, 10, 1e-12);
  // The same velocity judged by the metric default of 0.6 m/s also passes, but 0.6 m/s
  // (1.97 ft/s) fails the US default.
  in.velocity = 0.6;
  EXPECT_EQ(Find(EvaluateDesign(in, s), "minimumVelocity").pass, false);
}

TEST(DesignChecks, PipeGetsASizeFromTheListOfItsDiameterUnit) {
  const DesignSettings s = DefaultDesignSettings();
  DesignInput in;
  in.isPipe = true;
  in.diameter = 0.40277;
  in.depth = 0.40277;
  in.slope = 0.005;
  in.n = 0.013;
  in.discharge = 0.2;
  in.velocity = 1.57;
  in.maximumShear = 0;
  DesignResult metric = EvaluateDesign(in, s);
  ASSERT_TRUE(metric.standard);
  EXPECT_EQ(metric.list->system, UnitSystem::SI);
  in.sizeSystem = UnitSystem::US;
  DesignResult us = EvaluateDesign(in, s);
  ASSERT_TRUE(us.standard);
  EXPECT_EQ(us.list->system, UnitSystem::US);
  EXPECT_LE(us.standard->depth / us.standard->diameter, 0.8 + 1e-12);
  // A full-flow velocity minimum, when switched on, is judged on the given pipe.
  DesignSettings withFull = s;
  withFull.metric.minFullVelocity = DefaultMinFullVelocity(UnitSystem::SI);
  in.sizeSystem = UnitSystem::SI;
  EXPECT_EQ(Find(EvaluateDesign(in, withFull), "minimumFullFlowVelocity").pass, true);
}

TEST(DesignChecks, NoSizeIsExplained) {
  const DesignSettings s = DefaultDesignSettings();
  DesignInput in;
  in.isPipe = true;
  in.diameter = 5;
  in.depth = 4;
  in.slope = 0.001;
  in.n = 0.013;
  in.discharge = 500;
  in.velocity = 3;
  const DesignResult r = EvaluateDesign(in, s);
  EXPECT_FALSE(r.standard);
  EXPECT_NE(r.sizeNote.find("Metric DN"), std::string::npos) << r.sizeNote;
}

TEST(DesignChecks, NearCriticalFlowIsMarkedAWarningAndLimitsFail) {
  const DesignResult r = EvaluateDesign(Channel(1, 1.0, 1), DefaultDesignSettings());
  EXPECT_STREQ(CheckMark(Find(r, "nearCritical")), "Warn");
  DesignCheck broken = Find(r, "nearCritical");
  broken.name = "maximumVelocity";
  EXPECT_STREQ(CheckMark(broken), "Fail");
}

TEST(DesignChecks, RunningFullHasNoNearCriticalJudgement) {
  DesignInput in = Channel(1, 0, 1);
  in.froude.reset();
  const DesignResult r = EvaluateDesign(in, DefaultDesignSettings());
  const DesignCheck& c = Find(r, "nearCritical");
  EXPECT_FALSE(c.pass);
  EXPECT_STREQ(CheckMark(c), "n/a");
}

}  // namespace
}  // namespace rivulet
