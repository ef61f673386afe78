#include "core/drainage/inlet_equations.h"

#include <algorithm>
#include <cmath>

namespace rivulet {

InletConstants InletConstantsFor(GutterConstant constant) {
  if (constant == GutterConstant::SI) return {kFrontalKuSI, kSideKuSI, kCurbLengthKuSI, kGravitySI};
  // Each US constant with its lengths in feet, rewritten for metres.
  const double ft = kGutterFootInMetres;
  return {kFrontalKuUS / ft, kSideKuUS * std::pow(ft, kSideLengthExponent - kSideVelocityExponent),
          kCurbLengthKuUS * std::pow(ft, 1 - 3 * kCurbLengthDischargeExponent),
          kGravityUSFeet * ft};
}

double SplashOverVelocity(GrateType grate, double length) {
  // The fit is in feet and ft/s.
  const double l = length / kGutterFootInMetres;
  const auto& c = GrateOf(grate).splash;
  return kGutterFootInMetres * (c[0] + l * (c[1] + l * (-c[2] + l * c[3])));
}

double FrontalFlowEfficiency(double ku, double v, double vo) {
  // Below the splash-over velocity the grate takes all the frontal flow; the manual states no
  // lower bound, but a negative share of the flow has no meaning.
  return std::clamp(1.0 - ku * (v - vo), 0.0, 1.0);
}

double SideFlowEfficiency(double ku, double v, double sx, double length) {
  return 1.0 / (1.0 + ku * std::pow(v, kSideVelocityExponent) /
                          (sx * std::pow(length, kSideLengthExponent)));
}

double EquivalentCrossSlope(double sx, double depression, double width, double eo) {
  return sx + depression / width * eo;
}

double CurbOpeningLengthForTotal(double ku, double q, double longitudinalSlope, double manningsN,
                                 double crossSlope) {
  return ku * std::pow(q, kCurbLengthDischargeExponent) *
         std::pow(longitudinalSlope, kCurbLengthSlopeExponent) *
         std::pow(1.0 / (manningsN * crossSlope), kCurbLengthRoughnessExponent);
}

double CurbOpeningEfficiency(double length, double lengthForTotal) {
  if (length >= lengthForTotal) return 1.0;
  return 1.0 - std::pow(1.0 - length / lengthForTotal, kCurbEfficiencyExponent);
}

double WeirFlow(double cw, double gravity, double p, double d) {
  if (!(d > 0)) return 0.0;
  return cw * std::sqrt(2 * gravity) * p * std::pow(d, 1.5);
}

double OrificeFlow(double co, double gravity, double a, double d) {
  if (!(d > 0)) return 0.0;
  return co * a * std::sqrt(2 * gravity * d);
}

double GutterBed::Drop(double x) const {
  if (x <= w) return sw * x;
  return sw * w + sx * (x - w);
}

double GutterBed::SpreadAtDepth(double d) const {
  if (d <= 0) return 0.0;
  if (d <= sw * w) return d / sw;
  return w + (d - sw * w) / sx;
}

double GutterBed::AreaWithin(double x, double d) const {
  const double end = std::min(x, SpreadAtDepth(d));
  if (end <= 0) return 0.0;
  // The water over each plane is a trapezoid: mean depth times width.
  const double inPan = std::min(end, w);
  double area = inPan * (d - 0.5 * sw * inPan);
  if (end > w) {
    const double edge = d - sw * w;
    area += (end - w) * (edge - 0.5 * sx * (end - w));
  }
  return area;
}

}  // namespace rivulet
