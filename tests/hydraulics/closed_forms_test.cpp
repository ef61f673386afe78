#include "core/hydraulics/closed_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

constexpr double kN = 0.013;
constexpr double kS = 0.002;

// Manning's velocity (m/s) of a trapezoid-shaped section (a rectangle at z = 0, a triangle
// at b = 0) or a gutter.
double Velocity(double b, double y, double z, bool gutter = false) {
  const double a = gutter ? GutterArea(b, y, z) : TrapezoidArea(b, y, z);
  const double p = gutter ? GutterPerimeter(b, y, z) : TrapezoidPerimeter(b, y, z);
  return ManningVelocity(HydraulicRadius(a, p), kS, kN);
}

double Discharge(double b, double y, double z) {
  return Velocity(b, y, z) * TrapezoidArea(b, y, z);
}

// Each inversion, fed the flow of a known channel, gives back that channel's dimension.
TEST(ClosedFormsTest, InversionsReproduceTheChannelTheFlowCameFrom) {
  const double fullV = ManningVelocity(0.6 / 4, kS, kN);
  const struct {
    const char* name;
    std::function<double()> inverse;
    double expected;
  } rows[] = {
      {"rectangle depth", [] { return RectangleDepthForVelocity(Velocity(2, 0.5, 0), kN, kS, 2); },
       0.5},
      {"triangle depth by velocity",
       [] { return TriangleDepthForVelocity(Velocity(0, 0.7, 1.5), kN, kS, 1.5); }, 0.7},
      {"triangle depth by discharge",
       [] { return TriangleDepthForDischarge(Discharge(0, 0.7, 1.5), kN, kS, 1.5); }, 0.7},
      {"triangle side by velocity",
       [] { return TriangleSideForVelocity(Velocity(0, 0.7, 1.5), kN, kS, 0.7); }, 1.5},
      {"trapezoid width",
       [] { return TrapezoidWidthForVelocity(Velocity(2, 0.7, 1.5), kN, kS, 0.7, 1.5); }, 2},
      {"rectangle width",
       [] { return TrapezoidWidthForVelocity(Velocity(3, 0.4, 0), kN, kS, 0.4, 0); }, 3},
      {"gutter width",
       [] { return GutterWidthForVelocity(Velocity(0.5, 0.3, 4, true), kN, kS, 0.3, 4); }, 0.5},
      {"full pipe by velocity", [&] { return FullPipeDiameterForVelocity(fullV, kN, kS); }, 0.6},
      {"full pipe by discharge",
       [&] { return FullPipeDiameterForDischarge(fullV * 3.141592654 * 0.36 / 4, kN, kS); }, 0.6},
      {"radius for a velocity",
       [] { return RequiredRadius(ManningVelocity(0.25, kS, kN), kN, kS); }, 0.25},
      {"slope", [] { return ManningSlope(ManningVelocity(0.25, kS, kN), kN, 0.25); }, kS},
      {"roughness", [] { return ManningRoughness(ManningVelocity(0.25, kS, kN), 0.25, kS); }, kN},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const double got = r.inverse();
    EXPECT_NEAR(got, r.expected, 1e-12 * r.expected) << got;
  }
}

TEST(ClosedFormsTest, ImpossibleArithmeticFaults) {
  const struct {
    const char* name;
    std::function<double()> compute;
  } rows[] = {
      {"negative slope", [] { return RequiredRadius(1, kN, -0.001); }},
      {"rectangle no wider than twice the radius",
       [] {
         const double k = RequiredRadius(1, kN, kS);
         return RectangleDepthForVelocity(1, kN, kS, 2 * k);
       }},
      {"triangle with vertical sides", [] { return TriangleDepthForVelocity(1, kN, kS, 0); }},
      {"triangle of no depth", [] { return TriangleSideForVelocity(1, kN, kS, 0); }},
      {"zero velocity for n", [] { return ManningRoughness(0, 0.25, kS); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_THROW(r.compute(), ArithmeticFault);
  }
}

}  // namespace
}  // namespace rivulet
