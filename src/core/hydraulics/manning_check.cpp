#include "core/hydraulics/manning_check.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

double RelativeDifference(double a, double b) {
  const double scale = std::max(std::fabs(a), std::fabs(b));
  return scale == 0 ? 0 : std::fabs(a - b) / scale;
}

}  // namespace

std::optional<double> ManningResidual(const SolveRecord& r, double pi) {
  for (double v : {r.depth, r.diameter, r.width, r.side, r.slope, r.n, r.velocity, r.discharge})
    if (!std::isfinite(v)) return std::nullopt;
  try {
    double area = 0, perimeter = 0;
    if (r.section == SectionKind::Pipe) {
      double depth = r.depth;
      const double theta = PipeAngle(depth, r.diameter, pi);
      area = PipeArea(theta, r.diameter);
      perimeter = PipePerimeter(theta, r.diameter);
    } else if (r.section == SectionKind::Gutter) {
      area = GutterArea(r.width, r.depth, r.side);
      perimeter = GutterPerimeter(r.width, r.depth, r.side);
    } else {
      area = TrapezoidArea(r.width, r.depth, r.side);
      perimeter = TrapezoidPerimeter(r.width, r.depth, r.side);
    }
    // No water carries nothing: only an exact zero answer is one.
    if (area == 0) {
      if (r.velocity == 0 && r.discharge == 0) return 0.0;
      return std::nullopt;
    }
    const double velocity = ManningVelocity(HydraulicRadius(area, perimeter), r.slope, r.n);
    const double discharge = Checked(r.velocity * area);
    // Water that moves but whose flow underflows has lost its digits: no answer either.
    if (r.velocity != 0 && std::fpclassify(discharge) != FP_NORMAL) return std::nullopt;
    return std::max(RelativeDifference(r.velocity, velocity),
                    RelativeDifference(r.discharge, discharge));
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

bool SatisfiesManning(const SolveRecord& record, double pi) {
  const auto residual = ManningResidual(record, pi);
  return residual && *residual <= kManningResidualTolerance;
}

}  // namespace rivulet
