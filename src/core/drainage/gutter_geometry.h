// Road-edge gutter sections by the modified Manning (Izzard) equation: Manning applied to
// vertical strips of a wide, shallow section, each strip's depth taken as its hydraulic
// radius and the kerb face left out of the resistance. All lengths in m, discharges in m³/s;
// the constant k = Ku·SL^(1/2)/n carries the unit system of the equation and the surface.
// Exact exponents (5/3, 8/3, 3/8) are used throughout, not the two-decimal ones of hand work.
#pragma once

namespace rivulet {

/// Ku of Q = (Ku/n)·Sx^(5/3)·SL^(1/2)·T^(8/3) in SI form (m, m³/s); road-drainage manual
/// Eq. 5.2. It is 0.56 carried into metric units and rounded; (3/8)·1.0 = 0.375 by the strips.
inline constexpr double kIzzardKuSI = 0.376;
/// Ku in US customary form (ft, ft³/s); Eq. 5.2. (3/8)·1.486 = 0.557, rounded up.
inline constexpr double kIzzardKuUS = 0.56;
/// Exact definition of the foot, used to carry the US constant into metres.
inline constexpr double kGutterFootInMetres = 0.3048;

/// Which published form of the equation sets the constant.
enum class GutterConstant { SI, US };

/// Ku for lengths in m and discharges in m³/s: 0.376, or 0.56 carried exactly into metric
/// units (0.56·0.3048^(1/3) = 0.37685) so that a computation in metres reproduces the US form.
double IzzardKu(GutterConstant constant);

/// The factor every strip shares, k = Ku·SL^(1/2)/n (m^(1/3)/s); SL in m/m.
double GutterConveyanceFactor(double ku, double manningsN, double longitudinalSlope);

/// Discharge (m³/s) of the water over a plane of cross slope s (m/m) between the depths
/// deep and shallow (m) at its two edges: k·(deep^(8/3) − shallow^(8/3))/s. Every section
/// here is a sum of these bands.
double PlaneBandDischarge(double k, double s, double deep, double shallow);

/// Water area (m²) over the same band: (deep² − shallow²)/(2s).
double PlaneBandArea(double s, double deep, double shallow);

// Uniform gutter: one cross slope sx from the kerb out to the spread T.

/// Q (m³/s) of a uniform gutter of cross slope sx (m/m) at spread t (m).
double UniformGutterDischarge(double k, double sx, double t);
/// Spread (m) of a uniform gutter carrying q (m³/s): [q/(k·sx^(5/3))]^(3/8).
double UniformGutterSpread(double k, double sx, double q);
/// Ratio Eo of the flow within width w (m) of the kerb to the whole flow of a uniform gutter
/// at spread t (m): 1 − (1 − w/t)^(8/3), and 1 when the spread is within w.
double UniformFrontalFlowRatio(double w, double t);

// Composite gutter: a depressed pan of width w and cross slope sw at the kerb, the pavement
// of cross slope sx beyond it; the depression a = (sw − sx)·w.

struct CompositeGutter {
  double sx = 0;  ///< pavement cross slope, m/m
  double sw = 0;  ///< pan cross slope, m/m (> sx)
  double w = 0;   ///< pan width, m
  /// Depression of the pan at the kerb below the pavement plane, m.
  double Depression() const { return (sw - sx) * w; }
};

/// Pan cross slope (m/m) from the pavement slope sx (m/m), depression a and pan width w (m).
double DepressedPanCrossSlope(double sx, double a, double w);
/// Eo of a composite gutter at spread t (m), from the pan and pavement slopes and t/w; 1 when
/// the water stays within the pan.
double CompositeFrontalFlowRatio(const CompositeGutter& g, double t);
/// Q (m³/s) at spread t (m): the pan band plus the pavement triangle beyond it, or the pan
/// alone as a uniform gutter of slope sw while t ≤ w.
double CompositeGutterDischarge(double k, const CompositeGutter& g, double t);
/// dQ/dT (m²/s) of the same at spread t (m).
double CompositeGutterDischargeSlope(double k, const CompositeGutter& g, double t);
/// Depth at the kerb (m), depression included, at spread t (m).
double CompositeDepthAtKerb(const CompositeGutter& g, double t);
/// Spread (m) at a depth at the kerb d (m); the inverse of CompositeDepthAtKerb.
double CompositeSpreadAtDepth(const CompositeGutter& g, double d);
/// Water area (m²) at spread t (m).
double CompositeFlowArea(const CompositeGutter& g, double t);

// V-shaped gutter: from the outer edge down to the bottom on slope s1, then up on slope s2;
// with a third slope s3 > 0, s2 holds over breakWidth from the bottom and s3 beyond it.
// The section is parameterised by the depth at the bottom.

struct VGutter {
  double s1 = 0;          ///< outer side slope, m/m
  double s2 = 0;          ///< road-side slope next to the bottom, m/m
  double s3 = 0;          ///< pavement slope beyond the break, m/m; 0 for a plain V
  double breakWidth = 0;  ///< width of the s2 slope from the bottom to the break, m
  bool HasBreak() const { return s3 > 0; }
  /// Depth at the bottom (m) at which the water reaches the break.
  double BreakDepth() const { return breakWidth * s2; }
};

/// Equivalent single cross slope of a plain V, s1·s2/(s1 + s2) (m/m).
double VEquivalentCrossSlope(double s1, double s2);
/// Total top width (m) of the water at bottom depth d (m).
double VGutterSpreadAtDepth(const VGutter& v, double d);
/// Bottom depth (m) at total top width t (m); the inverse of VGutterSpreadAtDepth.
double VGutterDepthAtSpread(const VGutter& v, double t);
/// Q (m³/s) at bottom depth d (m).
double VGutterDischargeAtDepth(double k, const VGutter& v, double d);
/// dQ/dd (m²/s) at bottom depth d (m).
double VGutterDischargeSlope(double k, const VGutter& v, double d);
/// Water area (m²) at bottom depth d (m).
double VGutterFlowArea(const VGutter& v, double d);

}  // namespace rivulet
