#include "core/hydraulics/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/hydraulics/checked_math.h"
#include "digits.h"

namespace rivulet {
namespace {

using testing::MatchesFigure;

const double kPi = 4 * std::atan(1.0);

TEST(ArcSinTest, DomainRule) {
  struct Row {
    const char* name;
    double x;
    double expected;
  };
  const Row rows[] = {
      {"one gives a right angle", 1, kPi / 2},
      {"minus one", -1, -kPi / 2},
      {"just above one is zero, not a fault", 1.0000001, 0},
      {"just below minus one", -1.0000001, 0},
      {"half", 0.5, kPi / 6},
      {"zero", 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_NEAR(ArcSin(r.x), r.expected, 1e-15);
  }
}

TEST(PipeAngleTest, ClampsDepthAboveDiameter) {
  double y = 1.2;
  const double theta = PipeAngle(y, 1, kPi);
  EXPECT_EQ(theta, 2 * kPi);
  EXPECT_EQ(y, 1);
  EXPECT_NEAR(PipeArea(theta, 1), kPi / 4, 1e-15);
  EXPECT_NEAR(PipePerimeter(theta, 1), kPi, 1e-15);
}

TEST(PipeAngleTest, LandmarkDepths) {
  struct Row {
    const char* name;
    double y, d, theta, area, perimeter;
  };
  const Row rows[] = {
      {"half full is exactly pi", 0.5, 1, kPi, kPi / 8, kPi / 2},
      {"empty", 0, 1, 0, 0, 0},
      {"full without clamping", 2, 2, 2 * kPi, kPi, 2 * kPi},
      // Quarter depth: the chord subtends 120 degrees.
      {"quarter depth", 0.25, 1, 2 * kPi / 3, (2 * kPi / 3 - std::sqrt(3.0) / 2) / 8, kPi / 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    double y = r.y;
    const double theta = PipeAngle(y, r.d, kPi);
    EXPECT_NEAR(theta, r.theta, 1e-14);
    EXPECT_EQ(y, r.y);
    EXPECT_NEAR(PipeArea(theta, r.d), r.area, 1e-14);
    EXPECT_NEAR(PipePerimeter(theta, r.d), r.perimeter, 1e-14);
  }
}

TEST(PipeAngleTest, BranchesMeetSymmetrically) {
  // Depths mirrored about the centre leave wetted angles that add up to a full turn.
  for (double y : {0.01, 0.2, 0.4999999, 0.3, 0.45}) {
    double low = y, high = 1 - y;
    EXPECT_NEAR(PipeAngle(low, 1, kPi) + PipeAngle(high, 1, kPi), 2 * kPi, 1e-12) << y;
  }
}

TEST(OpenSectionTest, AreasAndPerimeters) {
  struct Row {
    const char* name;
    std::function<double(double, double, double)> area, perimeter;
    double b, y, z, a, p;
  };
  const Row rows[] = {
      {"trapezoid", TrapezoidArea, TrapezoidPerimeter, 1, 0.5, 2, 1.0, 1 + std::sqrt(5.0)},
      {"rectangle is a trapezoid with z = 0", TrapezoidArea, TrapezoidPerimeter, 2, 0.5, 0, 1.0,
       3.0},
      {"triangle is a trapezoid with b = 0", TrapezoidArea, TrapezoidPerimeter, 0, 2, 0.75, 3.0,
       5.0},
      {"gutter with z = 0 is the rectangle", GutterArea, GutterPerimeter, 2, 0.5, 0, 1.0, 3.0},
      {"gutter", GutterArea, GutterPerimeter, 1, 2, 0.75, 3.5, 2.5 + 1 + 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_NEAR(r.area(r.b, r.y, r.z), r.a, 1e-14);
    EXPECT_NEAR(r.perimeter(r.b, r.y, r.z), r.p, 1e-14);
  }
  EXPECT_TRUE(MatchesFigure(TrapezoidPerimeter(1, 0.5, 2), "3.2360680"));
}

TEST(ManningTest, FullPipe) {
  double y = 1;
  const double theta = PipeAngle(y, 1, kPi);
  const double a = PipeArea(theta, 1);
  const double r = HydraulicRadius(a, PipePerimeter(theta, 1));
  EXPECT_NEAR(r, 0.25, 1e-15);
  const double v = ManningVelocity(r, 0.001, 0.013);
  EXPECT_TRUE(MatchesFigure(v, "0.9653467"));
  EXPECT_TRUE(MatchesFigure(v * a, "0.7581815"));
}

TEST(ManningTest, FaultsInsteadOfInfinitiesOrNaN) {
  struct Row {
    const char* name;
    std::function<double()> compute;
  };
  const Row rows[] = {
      {"zero perimeter", [] { return HydraulicRadius(0, 0); }},
      {"negative radius to the 2/3", [] { return ManningVelocity(-0.1, 0.001, 0.013); }},
      {"negative slope to the 1/2", [] { return ManningVelocity(0.25, -0.001, 0.013); }},
      {"zero roughness", [] { return ManningVelocity(0.25, 0.001, 0); }},
      {"empty pipe of no diameter",
       [] {
         double y = 0;
         return PipeAngle(y, 0, kPi);
       }},
      {"overflowing area", [] { return TrapezoidArea(1, 1e200, 1e200); }},
      {"overflowing perimeter", [] { return GutterPerimeter(0, 1e200, 1e200); }},
      {"overflowing product", [] { return Mul(1e200, -1e200); }},
      {"product of a NaN", [] { return Mul(std::nan(""), 0); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_THROW(r.compute(), ArithmeticFault);
  }
}

}  // namespace
}  // namespace rivulet
