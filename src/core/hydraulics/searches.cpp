#include "core/hydraulics/searches.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/units.h"

namespace rivulet {
namespace {

constexpr double kOneThird = 1.0 / 3.0;
constexpr int kDegreesPosition = 2;

// Manning's velocity, or the discharge through area a, of a section with area a and
// perimeter p; the residual of every search is this minus the target. The square root of
// the slope is taken once per search instead of once per evaluation: the same operation
// on the same value, so every residual keeps its last bit.
class ManningFlow {
 public:
  ManningFlow(FlowQuantity quantity, double slope, double n)
      : quantity_(quantity), rootSlope_(Pow(slope, kOneHalf)), n_(n) {}
  explicit ManningFlow(const FlowTarget& flow) : ManningFlow(flow.quantity, flow.slope, flow.n) {}
  double operator()(double a, double p) const {
    const double v = Div(Checked(Pow(HydraulicRadius(a, p), kTwoThirds) * rootSlope_), n_);
    return quantity_ == FlowQuantity::Velocity ? v : Checked(a * v);
  }
  /// Manning's velocity alone.
  double Velocity(double a, double p) const {
    return Div(Checked(Pow(HydraulicRadius(a, p), kTwoThirds) * rootSlope_), n_);
  }

 private:
  FlowQuantity quantity_;
  double rootSlope_;
  double n_;
};

// Flow of a pipe of diameter d at depth y; d2 is Pow(d, 2). The arcsine of an argument
// above 1 is 0, so a diameter below the depth counts as half full.
double PipeFlow(const SearchContext& ctx, const ManningFlow& flow, double y, double d, double d2) {
  const double theta = 2 * ArcSin(Div(2 * y, d) - 1) + ctx.pi;
  const double a = Checked(d2 * (theta - std::sin(theta)) / 8);
  const double p = Checked(theta * d / 2);
  return flow(a, p);
}

// Halves [lower, upper] until two successive midpoints differ by at most eps. On a rising
// branch a positive residual moves the upper bound down; on a falling one it moves the lower
// bound up. The midpoint after the last evaluation is the result. A search that moved only
// one bound never saw the flow cross the target: it closed on the other end of its range.
template <typename Residual>
SearchResult Bisect(double lower, double upper, double eps, bool falling, Residual residual) {
  SearchResult result;
  bool movedLower = false, movedUpper = false;
  double mid = (upper + lower) / 2;
  double change = eps + 1;
  while (std::abs(change) > eps) {
    const double g = residual(mid);
    ++result.evaluations;
    if ((g > 0) == falling) {
      lower = mid;
      movedLower = true;
    } else {
      upper = mid;
      movedUpper = true;
    }
    const double old = mid;
    mid = (upper + lower) / 2;
    change = mid - old;
  }
  result.value = mid;
  if (!(movedLower && movedUpper)) result.end = SearchEnd::NoBracket;
  return result;
}

}  // namespace

SearchEnd WorseEnd(SearchEnd a, SearchEnd b) { return a > b ? a : b; }

double MachineEpsilon() {
  double eps = 1;
  // A store to a volatile rounds the sum to double even where the FPU computes wider.
  volatile double sum = 1 + eps;
  while (sum > 1) {
    eps /= 2;
    sum = 1 + eps;
  }
  return eps * 2;
}

SearchResult BisectPipe(const SearchContext& ctx, const PipeSearch& search) {
  const ManningFlow flow(search.flow);
  const double target = search.flow.value;
  if (search.unknown == PipeUnknown::Diameter) {
    const double y = search.depth;
    return Bisect(search.lower, kNoSolution, ctx.eps, false,
                  [&](double d) { return PipeFlow(ctx, flow, y, d, Pow(d, 2)) - target; });
  }
  const double d = search.diameter;
  const double d2 = Pow(d, 2);
  return Bisect(search.lower, d, ctx.eps, search.unknown == PipeUnknown::AltDepth,
                [&](double y) { return PipeFlow(ctx, flow, y, d, d2) - target; });
}

SearchResult BisectOpenChannel(const SearchContext& ctx, const ChannelSearch& search) {
  // The known dimensions; the lambda of the one sought shadows its own.
  const double b = search.width, y = search.depth, z = search.side;
  const double target = search.flow.value;
  const bool gutter = ctx.section == SectionKind::Gutter;
  const ManningFlow flow(search.flow);
  // Each residual computes exactly what the section's formulas do, with the terms that do
  // not depend on the unknown worked out once.
  auto bisect = [&](auto residual) { return Bisect(0, kNoSolution, ctx.eps, false, residual); };
  switch (search.unknown) {
    case ChannelUnknown::Depth:
      if (gutter) {
        const double z2 = Pow(z, 2);
        return bisect([&](double y) {
          const double y2 = Pow(y, 2);
          const double a = Checked(y2 * z / 2 + y * b);
          const double p = Checked(Sqrt(Checked(y2 + y2 * z2)) + b + y);
          return flow(a, p) - target;
        });
      } else {
        const double root = Sqrt(Pow(z, 2) + 1);
        return bisect([&](double y) {
          const double a = Checked(y * (z * y + b));
          const double p = Checked(root * 2 * y + b);
          return flow(a, p) - target;
        });
      }
    case ChannelUnknown::Width:
      if (gutter) {
        const double y2 = Pow(y, 2);
        const double sideArea = y2 * z / 2;
        const double sides = Sqrt(Checked(y2 + y2 * Pow(z, 2)));
        return bisect([&](double b) {
          const double a = Checked(sideArea + y * b);
          const double p = Checked(sides + b + y);
          return flow(a, p) - target;
        });
      } else {
        const double zy = z * y;
        const double sides = Sqrt(Pow(z, 2) + 1) * 2 * y;
        return bisect([&](double b) {
          const double a = Checked(y * (zy + b));
          const double p = Checked(sides + b);
          return flow(a, p) - target;
        });
      }
    case ChannelUnknown::Side:
      break;
  }
  if (gutter) {
    const double y2 = Pow(y, 2);
    const double yb = y * b;
    return bisect([&](double z) {
      const double a = Checked(y2 * z / 2 + yb);
      const double p = Checked(Sqrt(Checked(y2 + y2 * Pow(z, 2))) + b + y);
      return flow(a, p) - target;
    });
  }
  return bisect([&](double z) {
    const double a = Checked(y * (z * y + b));
    const double p = Checked(Sqrt(Pow(z, 2) + 1) * 2 * y + b);
    return flow(a, p) - target;
  });
}

SearchResult SearchSideSlopeAngle(const SearchContext& ctx, const SideSlopeSearch& search,
                                  const StoppingRule& rule) {
  const double b = search.width, y = search.depth, target = search.velocity;
  const bool trapezoid = ctx.section == SectionKind::Trapezoid;
  const ManningFlow flow(FlowQuantity::Velocity, search.slope, search.n);
  const double y2 = Pow(y, 2);
  const double by = b * y;
  double angle = 1e-8;  // degrees above the horizontal: sides almost flat
  double step = 0.1;
  int direction = +1;
  int count = 0;
  double g = ctx.eps + 1;
  double z = 0;
  SearchResult result;
  while (count < rule.cap && std::abs(g) > rule.tolerance) {
    ++count;
    if (!(angle > 0) || angle > 90) return {kNoSolution, result.evaluations, SearchEnd::NoBracket};
    z = ConvertSideSlope(angle, kDegreesPosition, kToBase, ctx.pi);
    double a, p;
    if (trapezoid) {
      a = Checked(y * (y * z + b));
      p = Checked(2 * y * Sqrt(Pow(z, 2) + 1) + b);
    } else {
      a = Checked(z * y2 / 2 + by);
      p = Checked(Sqrt(Checked(y2 + Pow(z, 2) * y2)) + b + y);
    }
    g = flow.Velocity(a, p) - target;
    ++result.evaluations;
    // Every reversal of direction refines the step tenfold.
    if (g >= 0) {
      if (direction == +1) direction = -1, step /= 10;
      angle -= step;
    } else {
      if (direction == -1) direction = +1, step /= 10;
      angle += step;
    }
  }
  result.value = z;
  if (!(std::abs(g) <= rule.tolerance)) result.end = SearchEnd::HitCap;
  return result;
}

SearchResult NewtonSideSlope(const SearchContext& ctx, const SideSlopeSearch& search,
                             const StoppingRule& rule) {
  const double b = search.width, y = search.depth, n = search.n, target = search.velocity;
  const bool trapezoid = ctx.section == SectionKind::Trapezoid;
  double z = 0;  // vertical sides
  double zLast = 0;
  double f = 1;
  const double rootS = Pow(search.slope, kOneHalf);
  const double y2 = Pow(y, 2);
  SearchResult result;
  while (std::abs(f) > rule.tolerance && result.evaluations < rule.cap) {
    zLast = z;
    const double root = Sqrt(1 + Pow(z, 2));
    double a, p, dadz, dpdz;
    if (trapezoid) {
      a = Checked(y * (z * y + b));
      p = Checked(b + 2 * y * root);
      dadz = y2;
      dpdz = Div(Checked(2 * y * z), root);
    } else {
      a = Checked(b * y + z * y2 / 2);
      p = Checked(y * root + b + y);
      dadz = y2 / 2;
      dpdz = Div(Checked(y * z), root);
    }
    const double r = HydraulicRadius(a, p);
    f = Div(Checked(rootS * Pow(r, kTwoThirds)), n) - target;
    const double numerator = Checked(dadz * p - a * dpdz);
    const double fPrime = Div(Div(Checked(kTwoThirds * rootS * numerator), Pow(p, 2)),
                              Checked(Pow(r, kOneThird) * n));
    z = Checked(z - Div(f, fPrime));
    ++result.evaluations;
  }
  result.value = zLast;
  if (!(std::abs(f) <= rule.tolerance)) result.end = SearchEnd::HitCap;
  return result;
}

PipePeak LocatePipePeak(const SearchContext& ctx, FlowQuantity quantity, double d, double slope,
                        double n, int cap) {
  // The flow rises from the invert to one peak and falls towards the crown, so a
  // golden-section search closes on the peak; the best point seen is kept.
  const double shrink = (std::sqrt(5.0) - 1) / 2;
  PipePeak peak;
  const ManningFlow manning(quantity, slope, n);
  const double d2 = Pow(d, 2);
  auto flow = [&](double y) {
    const double v = PipeFlow(ctx, manning, y, d, d2);
    ++peak.evaluations;
    if (peak.evaluations == 1 || v > peak.value) peak.depth = y, peak.value = v;
    return v;
  };
  double lo = 0, hi = d;
  double x1 = hi - shrink * (hi - lo), x2 = lo + shrink * (hi - lo);
  double f1 = flow(x1), f2 = flow(x2);
  for (int i = 0; i < cap && hi - lo > 2 * ctx.eps * d; ++i) {
    if (f1 < f2) {
      lo = x1, x1 = x2, f1 = f2;
      x2 = lo + shrink * (hi - lo);
      f2 = flow(x2);
    } else {
      hi = x2, x2 = x1, f2 = f1;
      x1 = hi - shrink * (hi - lo);
      f1 = flow(x1);
    }
  }
  if (hi - lo > 2 * ctx.eps * d) peak.end = SearchEnd::HitCap;
  return peak;
}

SearchResult PartFullPipeDepth(const SearchContext& ctx, const FlowTarget& flow, double d) {
  const SearchResult crownward = BisectPipe(ctx, {PipeUnknown::Depth, flow, d, 0, 0});
  // A bisection that never found too much flow has closed on the crown (within one step of
  // its tolerance). Only then can it have walked past a peak that does carry the target.
  const bool atCrown = d - crownward.value <= 2 * ctx.eps * std::max(1.0, d);
  if (!atCrown) return crownward;
  try {
    const PipePeak peak = LocatePipePeak(ctx, flow.quantity, d, flow.slope, flow.n);
    if (!(flow.value < peak.value)) return crownward;  // more than the pipe carries part full
    const ManningFlow manning(flow);
    const double d2 = Pow(d, 2);
    SearchResult rising = Bisect(0, peak.depth, ctx.eps, false, [&](double y) {
      return PipeFlow(ctx, manning, y, d, d2) - flow.value;
    });
    rising.evaluations += crownward.evaluations + peak.evaluations;
    // A peak that was not closed in still bounds the search, but only roughly.
    rising.end = WorseEnd(rising.end, peak.end);
    return rising;
  } catch (const ArithmeticFault&) {
    return crownward;
  }
}

}  // namespace rivulet
