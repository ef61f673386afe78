// Manning's equation inverted in closed form where the section allows it: pure functions
// on base-unit numbers (m, m/s, m³/s, m/m). Each throws ArithmeticFault where the
// arithmetic fails, as the solver's steps expect.
#pragma once

namespace rivulet {

/// K = (V·n / S^(1/2))^(3/2): the hydraulic radius (m) that velocity v (m/s) needs.
double RequiredRadius(double v, double n, double slope);

/// The rectangle's depth (m) for velocity v (m/s) at bottom width b (m).
double RectangleDepthForVelocity(double v, double n, double slope, double b);

/// The triangle's depth (m) for velocity v (m/s) at side slope z (horizontal per 1).
double TriangleDepthForVelocity(double v, double n, double slope, double z);
/// The triangle's depth (m) for discharge q (m³/s) at side slope z (horizontal per 1).
double TriangleDepthForDischarge(double q, double n, double slope, double z);
/// The triangle's side slope (horizontal per 1) for velocity v (m/s) at depth y (m).
double TriangleSideForVelocity(double v, double n, double slope, double y);

/// The trapezoid's (and rectangle's, z = 0) bottom width (m) for velocity v (m/s), depth y
/// (m) and side slope z: b = −y·(z·y − 2K·√(z² + 1)) / (y − K).
double TrapezoidWidthForVelocity(double v, double n, double slope, double y, double z);
/// The gutter's width (m) for velocity v (m/s), depth y (m) and side slope z:
/// b = −0.5·(y²·z − 2K·y·√(1 + z²) − 2K·y) / (y − K).
double GutterWidthForVelocity(double v, double n, double slope, double y, double z);

/// The diameter (m) of a pipe running full at velocity v (m/s): R = D/4.
double FullPipeDiameterForVelocity(double v, double n, double slope);
/// The diameter (m) of a pipe running full with discharge q (m³/s): A = πD²/4, R = D/4,
/// with π rounded to 3.141592654 as the full-flow diameter has always used.
double FullPipeDiameterForDischarge(double q, double n, double slope);

/// The slope (m/m) that gives velocity v (m/s) at hydraulic radius r (m).
double ManningSlope(double v, double n, double r);
/// Manning's n that gives velocity v (m/s) at hydraulic radius r (m) and slope (m/m).
double ManningRoughness(double v, double r, double slope);

}  // namespace rivulet
