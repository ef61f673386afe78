#include "core/drainage/gutter_geometry.h"

#include <algorithm>
#include <cmath>

namespace rivulet {

namespace {

constexpr double kFiveThirds = 5.0 / 3.0;
constexpr double kEightThirds = 8.0 / 3.0;

double P83(double x) { return x > 0 ? std::pow(x, kEightThirds) : 0.0; }
double P53(double x) { return x > 0 ? std::pow(x, kFiveThirds) : 0.0; }

}  // namespace

double IzzardKu(GutterConstant constant) {
  // Q·ft⁻³ = Ku·(T/ft)^(8/3) leaves Ku·ft^(1/3) in metric units.
  return constant == GutterConstant::SI ? kIzzardKuSI
                                        : kIzzardKuUS * std::cbrt(kGutterFootInMetres);
}

double GutterConveyanceFactor(double ku, double manningsN, double longitudinalSlope) {
  return ku * std::sqrt(longitudinalSlope) / manningsN;
}

double PlaneBandDischarge(double k, double s, double deep, double shallow) {
  return k * (P83(deep) - P83(shallow)) / s;
}

double PlaneBandArea(double s, double deep, double shallow) {
  return (deep * deep - shallow * shallow) / (2 * s);
}

double UniformGutterDischarge(double k, double sx, double t) { return k * P53(sx) * P83(t); }

double UniformGutterSpread(double k, double sx, double q) {
  return std::pow(q / (k * P53(sx)), 3.0 / 8.0);
}

double UniformFrontalFlowRatio(double w, double t) {
  if (t <= w) return 1.0;
  return 1.0 - P83(1.0 - w / t);
}

double DepressedPanCrossSlope(double sx, double a, double w) { return sx + a / w; }

double CompositeFrontalFlowRatio(const CompositeGutter& g, double t) {
  if (t <= g.w) return 1.0;
  const double r = g.sw / g.sx;
  const double eo = 1.0 / (1.0 + r / (std::pow(1.0 + r / (t / g.w - 1.0), kEightThirds) - 1.0));
  return std::clamp(eo, 0.0, 1.0);
}

double CompositeGutterDischarge(double k, const CompositeGutter& g, double t) {
  if (t <= g.w) return UniformGutterDischarge(k, g.sw, t);
  const double ts = t - g.w;
  return UniformGutterDischarge(k, g.sx, ts) +
         PlaneBandDischarge(k, g.sw, CompositeDepthAtKerb(g, t), g.sx * ts);
}

double CompositeGutterDischargeSlope(double k, const CompositeGutter& g, double t) {
  if (t <= g.w) return kEightThirds * k * P53(g.sw) * P53(t);
  // Both band edges deepen at the rate sx as the spread grows.
  const double ts = t - g.w;
  const double edge = g.sx * ts;
  return kEightThirds * k *
         (P53(g.sx) * P53(ts) + g.sx * (P53(CompositeDepthAtKerb(g, t)) - P53(edge)) / g.sw);
}

double CompositeDepthAtKerb(const CompositeGutter& g, double t) {
  if (t <= g.w) return t * g.sw;
  return t * g.sx + g.Depression();
}

double CompositeSpreadAtDepth(const CompositeGutter& g, double d) {
  if (d <= g.w * g.sw) return d / g.sw;
  return (d - g.Depression()) / g.sx;
}

double CompositeFlowArea(const CompositeGutter& g, double t) {
  if (t <= g.w) return 0.5 * g.sw * t * t;
  return 0.5 * t * t * g.sx + 0.5 * g.Depression() * g.w;
}

double VEquivalentCrossSlope(double s1, double s2) { return s1 * s2 / (s1 + s2); }

double VGutterSpreadAtDepth(const VGutter& v, double d) {
  const double outer = d / v.s1;
  if (!v.HasBreak() || d <= v.BreakDepth()) return outer + d / v.s2;
  return outer + v.breakWidth + (d - v.BreakDepth()) / v.s3;
}

double VGutterDepthAtSpread(const VGutter& v, double t) {
  const double plain = t * VEquivalentCrossSlope(v.s1, v.s2);
  if (!v.HasBreak() || plain <= v.BreakDepth()) return plain;
  // Beyond the break the top width grows by 1/s1 + 1/s3 per unit depth.
  const double dc = v.BreakDepth();
  const double tc = VGutterSpreadAtDepth(v, dc);
  return dc + (t - tc) / (1.0 / v.s1 + 1.0 / v.s3);
}

double VGutterDischargeAtDepth(double k, const VGutter& v, double d) {
  const double outer = PlaneBandDischarge(k, v.s1, d, 0);
  if (!v.HasBreak() || d <= v.BreakDepth()) return outer + PlaneBandDischarge(k, v.s2, d, 0);
  const double yc = d - v.BreakDepth();
  return outer + PlaneBandDischarge(k, v.s2, d, yc) + PlaneBandDischarge(k, v.s3, yc, 0);
}

double VGutterDischargeSlope(double k, const VGutter& v, double d) {
  double sum = P53(d) / v.s1;
  if (!v.HasBreak() || d <= v.BreakDepth()) {
    sum += P53(d) / v.s2;
  } else {
    const double yc = d - v.BreakDepth();
    sum += (P53(d) - P53(yc)) / v.s2 + P53(yc) / v.s3;
  }
  return kEightThirds * k * sum;
}

double VGutterFlowArea(const VGutter& v, double d) {
  const double outer = PlaneBandArea(v.s1, d, 0);
  if (!v.HasBreak() || d <= v.BreakDepth()) return outer + PlaneBandArea(v.s2, d, 0);
  const double yc = d - v.BreakDepth();
  return outer + PlaneBandArea(v.s2, d, yc) + PlaneBandArea(v.s3, yc, 0);
}

}  // namespace rivulet
