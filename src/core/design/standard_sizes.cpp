#include "core/design/standard_sizes.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"

namespace rivulet {

SizeList BuiltInMetricSizes() {
  return {"Metric DN (mm)", UnitSystem::SI, {100,  150,  225,  300,  375,  450,  525,  600,
                                             675,  750,  825,  900,  1050, 1200, 1350, 1500,
                                             1650, 1800, 1950, 2100, 2250, 2400, 2700, 3000}};
}

SizeList BuiltInUsSizes() {
  return {"US nominal (in)", UnitSystem::US, {8,  10, 12, 15, 18, 21, 24, 27, 30, 33,  36, 42,
                                              48, 54, 60, 66, 72, 78, 84, 90, 96, 102, 108}};
}

const char* NominalUnit(UnitSystem system) { return system == UnitSystem::US ? "in" : "mm"; }

double NominalToMetres(UnitSystem system) { return system == UnitSystem::US ? 0.0254 : 0.001; }

namespace {

double PipeDischargeAt(double diameter, double depth, double slope, double n) {
  ChannelSection pipe;
  pipe.shape = SectionKind::Pipe;
  pipe.diameter = diameter;
  const SectionGeometry g = GeometryAt(pipe, depth);
  if (g.area == 0) return 0;
  const double radius = Div(g.area, g.perimeter);
  return Checked(g.area * std::pow(radius, 2.0 / 3.0) * std::sqrt(slope) / n);
}

}  // namespace

double CapacityWithinDepthRatio(double diameter, double slope, double n, double depthRatio) {
  const PipeFlowPoint peak = PipeMaximumFlow(diameter, slope, n);
  if (depthRatio * diameter >= peak.depth) return peak.discharge;
  return PipeDischargeAt(diameter, depthRatio * diameter, slope, n);
}

double PipeNormalDepth(double diameter, double slope, double n, double discharge) {
  const PipeFlowPoint peak = PipeMaximumFlow(diameter, slope, n);
  double low = 0;
  double high = peak.depth;
  // Q(y) rises on [0, peak]: halve until the bracket cannot shrink.
  while (true) {
    const double mid = low + (high - low) / 2;
    if (mid <= low || mid >= high) break;
    (PipeDischargeAt(diameter, mid, slope, n) < discharge ? low : high) = mid;
  }
  return high;
}

std::optional<StandardSize> SizeAt(const SizeList& list, double nominal, double slope, double n,
                                   double discharge, double depthRatio) {
  const double diameter = nominal * NominalToMetres(list.system);
  const double capacity = CapacityWithinDepthRatio(diameter, slope, n, depthRatio);
  if (capacity < discharge * (1 - kSizingTolerance)) return std::nullopt;
  StandardSize s;
  s.nominal = nominal;
  s.diameter = diameter;
  s.capacityAtLimit = capacity;
  s.depth = std::min(PipeNormalDepth(diameter, slope, n, std::min(discharge, capacity)),
                     depthRatio * diameter);
  ChannelSection pipe;
  pipe.shape = SectionKind::Pipe;
  pipe.diameter = diameter;
  s.velocity = Div(discharge, GeometryAt(pipe, s.depth).area);
  s.percentFull = 100 * s.depth / diameter;
  s.fullFlow = PipeFullFlow(diameter, slope, n).discharge;
  s.spare = s.fullFlow - discharge;
  return s;
}

std::optional<StandardSize> SmallestStandardSize(const SizeList& list, double slope, double n,
                                                 double discharge, double depthRatio) {
  if (!(slope > 0) || !(n > 0) || !(discharge > 0) || !(depthRatio > 0)) return std::nullopt;
  std::vector<double> sizes = list.sizes;
  std::sort(sizes.begin(), sizes.end());
  for (double nominal : sizes) {
    if (!(nominal > 0)) continue;
    try {
      if (auto s = SizeAt(list, nominal, slope, n, discharge, depthRatio)) return s;
    } catch (const ArithmeticFault&) {
      // A size whose figures overflow cannot be judged; the next one may.
    }
  }
  return std::nullopt;
}

}  // namespace rivulet
