// Section geometry and Manning's equation. Everything is in base units: lengths in
// metres, areas in m², slopes as m per m, side slopes as x horizontal per 1 vertical.
// Faults (a zero perimeter, a negative hydraulic radius, overflow) raise ArithmeticFault.
#pragma once

namespace rivulet {

/// Manning's exponents, taken as computed doubles.
inline constexpr double kTwoThirds = 2.0 / 3.0;
inline constexpr double kOneHalf = 1.0 / 2.0;

/// Arcsine in radians. Outside [-1, 1] it is 0 instead of a fault: the pipe search relies on
/// that when it tries a diameter below the depth.
double ArcSin(double x);

/// Angle (radians, 0 to 2π) at the centre of a pipe of diameter d (m) subtended by the water
/// surface at depth y (m). A depth above the diameter is set to the diameter in place.
double PipeAngle(double& y, double d, double pi);

/// Flow area (m²) of a part-full pipe from its wetted angle theta and diameter d (m).
double PipeArea(double theta, double d);
/// Wetted perimeter (m) of a part-full pipe.
double PipePerimeter(double theta, double d);

/// Flow area (m²) of a trapezoid of bottom width b, depth y (m) and side slope z; the
/// rectangle is z = 0 and the triangle b = 0.
double TrapezoidArea(double b, double y, double z);
/// Wetted perimeter (m) of the same trapezoid.
double TrapezoidPerimeter(double b, double y, double z);

/// Flow area (m²) of a gutter: flat bottom b, one vertical side, one side sloping at z.
double GutterArea(double b, double y, double z);
/// Wetted perimeter (m) of the same gutter.
double GutterPerimeter(double b, double y, double z);

/// Hydraulic radius R = A / P (m).
double HydraulicRadius(double area, double perimeter);

/// Manning's equation in SI form, V = R^(2/3) · S^(1/2) / n: velocity (m/s) from the
/// hydraulic radius r (m), channel slope s (m/m) and roughness n.
double ManningVelocity(double r, double s, double n);

}  // namespace rivulet
