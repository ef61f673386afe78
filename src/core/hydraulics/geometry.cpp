#include "core/hydraulics/geometry.h"

#include <cmath>

#include "core/hydraulics/checked_math.h"

namespace rivulet {

double ArcSin(double x) {
  if (std::abs(x) > 1) return 0;
  if (std::abs(x) == 1) return 2 * std::atan(x);
  return std::atan(Div(x, Sqrt(1 - Pow(x, 2))));
}

double PipeAngle(double& y, double d, double pi) {
  if (y > d) {
    y = d;
    return 2 * pi;
  }
  // Both branches are π + 2·arcsin(2y/D − 1); each keeps the arcsine's argument on the
  // side where it is computed directly.
  if (d / 2 > y) return pi - 2 * ArcSin(1 - Div(2 * y, d));
  return 2 * ArcSin(Div(2 * y, d) - 1) + pi;
}

double PipeArea(double theta, double d) {
  return Checked(Pow(d, 2) * (theta - std::sin(theta)) / 8);
}

double PipePerimeter(double theta, double d) { return Checked(theta * d / 2); }

double TrapezoidArea(double b, double y, double z) { return Checked((b + z * y) * y); }

double TrapezoidPerimeter(double b, double y, double z) {
  return Checked(b + 2 * y * Sqrt(Pow(z, 2) + 1));
}

double GutterArea(double b, double y, double z) { return Checked(b * y + z * Pow(y, 2) / 2); }

double GutterPerimeter(double b, double y, double z) {
  return Checked(Sqrt(Pow(y * z, 2) + Pow(y, 2)) + b + y);
}

double HydraulicRadius(double area, double perimeter) { return Div(area, perimeter); }

double ManningVelocity(double r, double s, double n) {
  return Div(Checked(Pow(r, kTwoThirds) * Pow(s, kOneHalf)), n);
}

}  // namespace rivulet
