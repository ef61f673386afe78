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
// perimeter p; the residual of every search is this minus the target.
double Flow(FlowQuantity quantity, double a, double p, double slope, double n) {
  const double v = ManningVelocity(HydraulicRadius(a, p), slope, n);
  return quantity == FlowQuantity::Velocity ? v : Checked(a * v);
}

// Flow of a pipe of diameter d at depth y. The arcsine of an argument above 1 is 0, so a
// diameter below the depth counts as half full.
double PipeFlow(const SearchContext& ctx, FlowQuantity quantity, double y, double d, double slope,
                double n) {
  const double theta = 2 * ArcSin(Div(2 * y, d) - 1) + ctx.pi;
  const double a = Checked(Pow(d, 2) * (theta - std::sin(theta)) / 8);
  const double p = Checked(theta * d / 2);
  return Flow(quantity, a, p, slope, n);
}

// Halves [lower, upper] until two successive midpoints differ by at most eps. On a rising
// branch a positive residual moves the upper bound down; on a falling one it moves the lower
// bound up. The midpoint after the last evaluation is the result.
template <typename Residual>
SearchResult Bisect(double& lower, double upper, double eps, bool falling, Residual residual) {
  SearchResult result;
  double mid = (upper + lower) / 2;
  double change = eps + 1;
  while (std::abs(change) > eps) {
    const double g = residual(mid);
    ++result.evaluations;
    if ((g > 0) == falling) {
      lower = mid;
    } else {
      upper = mid;
    }
    const double old = mid;
    mid = (upper + lower) / 2;
    change = mid - old;
  }
  result.value = mid;
  return result;
}

}  // namespace

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

SearchResult BisectPipe(const SearchContext& ctx, PipeUnknown unknown, FlowQuantity quantity,
                        double& lower, double r, double slope, double n, double target) {
  if (unknown == PipeUnknown::Diameter) {
    const double y = r;
    return Bisect(lower, kNoSolution, ctx.eps, false,
                  [&](double d) { return PipeFlow(ctx, quantity, y, d, slope, n) - target; });
  }
  const double d = r;
  return Bisect(lower, d, ctx.eps, unknown == PipeUnknown::AltDepth,
                [&](double y) { return PipeFlow(ctx, quantity, y, d, slope, n) - target; });
}

SearchResult BisectOpenChannel(const SearchContext& ctx, ChannelUnknown unknown,
                               FlowQuantity quantity, double r, double s, double slope, double n,
                               double target) {
  double b = 0, y = 0, z = 0;
  switch (unknown) {
    case ChannelUnknown::Depth:
      b = r, z = s;
      break;
    case ChannelUnknown::Width:
      y = r, z = s;
      break;
    case ChannelUnknown::Side:
      b = r, y = s;
      break;
  }
  double& candidate = unknown == ChannelUnknown::Depth   ? y
                      : unknown == ChannelUnknown::Width ? b
                                                         : z;
  const bool gutter = ctx.sectionKey == "Gutter";
  double lower = 0;
  return Bisect(lower, kNoSolution, ctx.eps, false, [&](double mid) {
    candidate = mid;
    double a, p;
    if (gutter) {
      a = Checked(Pow(y, 2) * z / 2 + y * b);
      p = Checked(Sqrt(Checked(Pow(y, 2) + Pow(y, 2) * Pow(z, 2))) + b + y);
    } else {
      a = Checked(y * (z * y + b));
      p = Checked(Sqrt(Pow(z, 2) + 1) * 2 * y + b);
    }
    return Flow(quantity, a, p, slope, n) - target;
  });
}

SearchResult SearchSideSlopeAngle(const SearchContext& ctx, double target, double b, double y,
                                  double n, double slope) {
  const bool trapezoid = ctx.sectionKey == "Trapezoid";
  double angle = 1e-8;  // degrees above the horizontal: sides almost flat
  double step = 0.1;
  int direction = +1;
  int count = 0;
  double g = ctx.eps + 1;
  double z = 0;
  SearchResult result;
  while (count < kAngleSearchCap && std::abs(g) > kAngleSearchTolerance) {
    ++count;
    if (!(angle > 0) || angle > 90) return {kNoSolution, result.evaluations};
    z = ConvertSideSlope(angle, kDegreesPosition, kToBase, ctx.pi);
    double a, p;
    if (trapezoid) {
      a = Checked(y * (y * z + b));
      p = Checked(2 * y * Sqrt(Pow(z, 2) + 1) + b);
    } else {
      a = Checked(z * Pow(y, 2) / 2 + b * y);
      p = Checked(Sqrt(Checked(Pow(y, 2) + Pow(z, 2) * Pow(y, 2))) + b + y);
    }
    g = ManningVelocity(HydraulicRadius(a, p), slope, n) - target;
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
  return result;
}

SearchResult NewtonSideSlope(const SearchContext& ctx, double b, double y, double slope, double n,
                             double target) {
  const bool trapezoid = ctx.sectionKey == "Trapezoid";
  double z = 0;  // vertical sides
  double zLast = 0;
  double f = 1;
  SearchResult result;
  while (std::abs(f) > ctx.eps && result.evaluations < kNewtonCap) {
    zLast = z;
    const double root = Sqrt(1 + Pow(z, 2));
    double a, p, dadz, dpdz;
    if (trapezoid) {
      a = Checked(y * (z * y + b));
      p = Checked(b + 2 * y * root);
      dadz = Pow(y, 2);
      dpdz = Div(Checked(2 * y * z), root);
    } else {
      a = Checked(b * y + z * Pow(y, 2) / 2);
      p = Checked(y * root + b + y);
      dadz = Pow(y, 2) / 2;
      dpdz = Div(Checked(y * z), root);
    }
    const double r = HydraulicRadius(a, p);
    const double rootS = Pow(slope, kOneHalf);
    f = Div(Checked(rootS * Pow(r, kTwoThirds)), n) - target;
    const double numerator = Checked(dadz * p - a * dpdz);
    const double fPrime = Div(Div(Checked(kTwoThirds * rootS * numerator), Pow(p, 2)),
                              Checked(Pow(r, kOneThird) * n));
    z = Checked(z - Div(f, fPrime));
    ++result.evaluations;
  }
  result.value = zLast;
  return result;
}

PipePeak LocatePipePeak(const SearchContext& ctx, FlowQuantity quantity, double d, double slope,
                        double n) {
  // The flow rises from the invert to one peak and falls towards the crown, so a
  // golden-section search closes on the peak; the best point seen is kept.
  const double shrink = (std::sqrt(5.0) - 1) / 2;
  PipePeak peak;
  auto flow = [&](double y) {
    const double v = PipeFlow(ctx, quantity, y, d, slope, n);
    ++peak.evaluations;
    if (peak.evaluations == 1 || v > peak.value) peak.depth = y, peak.value = v;
    return v;
  };
  double lo = 0, hi = d;
  double x1 = hi - shrink * (hi - lo), x2 = lo + shrink * (hi - lo);
  double f1 = flow(x1), f2 = flow(x2);
  for (int i = 0; i < 200 && hi - lo > 2 * ctx.eps * d; ++i) {
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
  return peak;
}

SearchResult PartFullPipeDepth(const SearchContext& ctx, FlowQuantity quantity, double d,
                               double slope, double n, double target) {
  double lower = 0;
  const SearchResult crownward =
      BisectPipe(ctx, PipeUnknown::Depth, quantity, lower, d, slope, n, target);
  // A bisection that never found too much flow has closed on the crown (within one step of
  // its tolerance). Only then can it have walked past a peak that does carry the target.
  const bool atCrown = d - crownward.value <= 2 * ctx.eps * std::max(1.0, d);
  if (!atCrown) return crownward;
  try {
    const PipePeak peak = LocatePipePeak(ctx, quantity, d, slope, n);
    if (!(target < peak.value)) return crownward;  // more than the pipe carries part full
    double risingLower = 0;
    SearchResult rising = Bisect(risingLower, peak.depth, ctx.eps, false, [&](double y) {
      return PipeFlow(ctx, quantity, y, d, slope, n) - target;
    });
    rising.evaluations += crownward.evaluations + peak.evaluations;
    return rising;
  } catch (const ArithmeticFault&) {
    return crownward;
  }
}

}  // namespace rivulet
