#include "core/hydraulics/manning_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A record whose velocity and discharge come from Manning's equation itself.
SolveRecord Exact(SectionKind kind, double y, double d, double b, double z) {
  SolveRecord r;
  r.section = kind;
  r.depth = y;
  r.diameter = d;
  r.width = b;
  r.side = z;
  r.slope = 0.004;
  r.n = 0.015;
  double area = 0, perimeter = 0;
  if (r.section == SectionKind::Pipe) {
    double depth = y;
    const double theta = PipeAngle(depth, d, kPi);
    area = PipeArea(theta, d);
    perimeter = PipePerimeter(theta, d);
  } else if (r.section == SectionKind::Gutter) {
    area = GutterArea(b, y, z);
    perimeter = GutterPerimeter(b, y, z);
  } else {
    area = TrapezoidArea(b, y, z);
    perimeter = TrapezoidPerimeter(b, y, z);
  }
  r.velocity = ManningVelocity(area / perimeter, r.slope, r.n);
  r.discharge = r.velocity * area;
  return r;
}

TEST(ManningCheck, SolutionsOfEverySectionPassAndSpoiledOnesFail) {
  const SolveRecord solved[] = {
      Exact(SectionKind::Pipe, 0.3, 0.45, 0, 0),
      Exact(SectionKind::Pipe, 0.45, 0.45, 0, 0),
      Exact(SectionKind::Rectangle, 0.8, 0, 2, 0),
      Exact(SectionKind::Triangle, 0.3, 0, 0, 3),
      Exact(SectionKind::Trapezoid, 0.25, 0, 0.6, 4),
      Exact(SectionKind::Gutter, 0.05, 0, 0.3, 50),
      Exact(SectionKind::Rectangle, 1e-100, 0, 1e-100, 0),  // tiny but representable: still water
  };
  for (const SolveRecord& r : solved) {
    SCOPED_TRACE(SectionName(r.section) + " y=" + std::to_string(r.depth));
    ASSERT_TRUE(ManningResidual(r, kPi).has_value());
    EXPECT_LT(*ManningResidual(r, kPi), 1e-14);
    EXPECT_TRUE(SatisfiesManning(r, kPi));

    struct Spoil {
      const char* name;
      double SolveRecord::*field;
      double factor;
    };
    // Just outside the tolerance fails, just inside passes: the tolerance is relative.
    const Spoil spoils[] = {{"velocity", &SolveRecord::velocity, 1 + 2e-6},
                            {"discharge", &SolveRecord::discharge, 1 - 2e-6},
                            {"n", &SolveRecord::n, 1.01},
                            {"slope", &SolveRecord::slope, 0.5},
                            {"depth", &SolveRecord::depth, 0.9}};
    for (const Spoil& s : spoils) {
      SolveRecord bad = r;
      bad.*s.field *= s.factor;
      EXPECT_FALSE(SatisfiesManning(bad, kPi)) << s.name;
    }
    SolveRecord close = r;
    close.velocity *= 1 + 5e-7;
    close.discharge *= 1 + 5e-7;
    EXPECT_TRUE(SatisfiesManning(close, kPi));
  }
}

TEST(ManningCheck, RecordsThatCannotBeJudgedFail) {
  const SolveRecord base = Exact(SectionKind::Trapezoid, 0.25, 0, 0.6, 4);
  struct Case {
    const char* name;
    double SolveRecord::*field;
    double value;
  };
  const Case cases[] = {
      {"infinite discharge", &SolveRecord::discharge, std::numeric_limits<double>::infinity()},
      {"NaN velocity", &SolveRecord::velocity, std::numeric_limits<double>::quiet_NaN()},
      {"n of 0", &SolveRecord::n, 0},
      {"negative depth", &SolveRecord::depth, -0.25},
      // A depth lost to underflow: no water, yet a discharge.
      {"depth 0", &SolveRecord::depth, 0},
      // So little water that V·A underflows.
      {"depth 1e-300", &SolveRecord::depth, 1e-300},
  };
  for (const Case& c : cases) {
    SolveRecord r = base;
    r.*c.field = c.value;
    EXPECT_FALSE(SatisfiesManning(r, kPi)) << c.name;
  }
}

TEST(ManningCheck, NoFlowAreaPassesOnlyWithExactlyNoFlow) {
  // A triangle with vertical sides holds no water at any depth.
  SolveRecord dry;
  dry.section = SectionKind::Triangle;
  dry.depth = 0.3;
  dry.slope = 0.004;
  dry.n = 0.015;
  EXPECT_EQ(ManningResidual(dry, kPi), 0.0);
  dry.discharge = 1e-300;
  EXPECT_FALSE(ManningResidual(dry, kPi).has_value());
  dry.discharge = 0;
  dry.velocity = 0.1;
  EXPECT_FALSE(SatisfiesManning(dry, kPi));
}

}  // namespace
}  // namespace rivulet
