#include "core/hydraulics/closed_forms.h"

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

// The full-flow diameter from a discharge has always used this rounded π.
constexpr double kRoundedPi = 3.141592654;

}  // namespace

double RequiredRadius(double v, double n, double slope) {
  return Pow(Div(Mul(v, n), Pow(slope, kOneHalf)), 3.0 / 2.0);
}

double RectangleDepthForVelocity(double v, double n, double slope, double b) {
  const double k = RequiredRadius(v, n, slope);
  return Div(Mul(k, b), b - 2 * k);
}

double TriangleDepthForVelocity(double v, double n, double slope, double z) {
  const double root = Sqrt(Pow(z, 2) + 1);
  const double coefficient = Pow(2, kTwoThirds);
  const double base = Div(Mul(Mul(coefficient, v), n), Pow(slope, kOneHalf));
  return Div(Mul(Pow(base, 3.0 / 2.0), root), z);
}

double TriangleDepthForDischarge(double q, double n, double slope, double z) {
  const double root = Sqrt(Pow(z, 2) + 1);
  const double coefficient = Pow(2, kTwoThirds);
  const double base =
      Div(Mul(Mul(Mul(coefficient, q), n), z), Mul(Pow(z, 2) + 1, Pow(slope, kOneHalf)));
  return Div(Mul(Pow(base, 3.0 / 8.0), root), z);
}

double TriangleSideForVelocity(double v, double n, double slope, double y) {
  const double k2 = Pow(Div(Mul(Mul(Pow(2, kTwoThirds), v), n), Pow(slope, kOneHalf)), 3.0 / 2.0);
  const double s32 = Pow(slope, 3.0 / 2.0);
  const double y2s32 = Mul(Pow(y, 2), s32);
  const double radicand = Div(Mul(-s32, Pow(y, 2)), Mul(Mul(4, Pow(n, 3)), Pow(v, 3)) - y2s32);
  return Mul(Div(k2, y), Sqrt(radicand));
}

double TrapezoidWidthForVelocity(double v, double n, double slope, double y, double z) {
  const double k = RequiredRadius(v, n, slope);
  const double inner = Mul(z, y) - Mul(2 * k, Sqrt(Pow(z, 2) + 1));
  return Div(Mul(-y, inner), y - k);
}

double GutterWidthForVelocity(double v, double n, double slope, double y, double z) {
  const double k = RequiredRadius(v, n, slope);
  const double inner = Mul(Pow(y, 2), z) - Mul(Mul(2 * k, y), Sqrt(1 + Pow(z, 2))) - Mul(2 * k, y);
  return Div(Mul(-0.5, Checked(inner)), y - k);
}

double FullPipeDiameterForVelocity(double v, double n, double slope) {
  const double rootS = Pow(slope, kOneHalf);
  return Pow(Div(Mul(Mul(Pow(4, kTwoThirds), v), n), rootS), 3.0 / 2.0);
}

double FullPipeDiameterForDischarge(double q, double n, double slope) {
  const double rootS = Pow(slope, kOneHalf);
  const double inner = Div(Mul(Mul(Pow(4, kTwoThirds), q), n), Mul(kRoundedPi, rootS));
  return Mul(Pow(4, 3.0 / 8.0), Pow(inner, 3.0 / 8.0));
}

double ManningSlope(double v, double n, double r) {
  return Pow(Div(Mul(v, n), Pow(r, kTwoThirds)), 2);
}

double ManningRoughness(double v, double r, double slope) {
  return Div(Mul(Pow(r, kTwoThirds), Pow(slope, kOneHalf)), v);
}

}  // namespace rivulet
