// Manning applied strip by strip across a road-edge section, numerically: the reference the
// gutter formulas are checked against. The bed is a polyline of (offset, height) points; each
// vertical strip of water of depth y carries (1/n)·y^(5/3)·SL^(1/2) per metre of width
// (Manning in SI, the strip's depth as its hydraulic radius, the kerb face ignored).
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace rivulet::testing {

struct BedPoint {
  double x;  ///< offset across the road, m
  double z;  ///< bed height, m
};

struct StripTotals {
  double discharge = 0;  ///< m³/s
  double area = 0;       ///< m²
  double topWidth = 0;   ///< m
};

/// Integrates the strips under the water level (m) over a bed whose points rise away from
/// the lowest one, by 5-point Gauss–Legendre on many pieces between the bed's corners and
/// the water's edges, where the integrand is smooth.
inline StripTotals IntegrateStrips(const std::vector<BedPoint>& bed, double level, double n,
                                   double sl, int pieces = 4000) {
  static const double kNodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831,
                                   -0.9061798459386640, 0.9061798459386640};
  static const double kWeights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                     0.2369268850561891, 0.2369268850561891};
  StripTotals t;
  for (size_t i = 0; i + 1 < bed.size(); ++i) {
    const BedPoint a = bed[i];
    const BedPoint b = bed[i + 1];
    if (a.z >= level && b.z >= level) continue;
    // Clip the segment to the wet part.
    double x0 = a.x, x1 = b.x;
    const auto cross = [&](double) { return a.x + (level - a.z) * (b.x - a.x) / (b.z - a.z); };
    if (a.z > level) x0 = cross(0);
    if (b.z > level) x1 = cross(0);
    t.topWidth += x1 - x0;
    const double h = (x1 - x0) / pieces;
    for (int p = 0; p < pieces; ++p) {
      const double mid = x0 + (p + 0.5) * h;
      for (int g = 0; g < 5; ++g) {
        const double x = mid + 0.5 * h * kNodes[g];
        const double z = a.z + (x - a.x) * (b.z - a.z) / (b.x - a.x);
        const double y = std::max(level - z, 0.0);
        t.discharge += 0.5 * h * kWeights[g] * std::pow(y, 5.0 / 3.0);
        t.area += 0.5 * h * kWeights[g] * y;
      }
    }
  }
  t.discharge *= std::sqrt(sl) / n;
  return t;
}

}  // namespace rivulet::testing
