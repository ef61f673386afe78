// The search for the spread (or depth) of a gutter carrying a given discharge where no closed
// form exists. The discharge of every gutter section grows like a power 8/3 of its size, so
// Newton's method runs on Q^(3/8), which is nearly straight, inside a bracket that never lets
// a step escape: a step outside it is replaced by bisection.
#pragma once

#include <cmath>

namespace rivulet {

/// Stopping rule: the search ends once a step, or the bracket, is within this fraction of
/// the estimate. Far below the 1e-9 the results are shown to, and reached in a few steps.
inline constexpr double kGutterSearchTolerance = 1e-13;
/// Evaluations allowed before the search gives up and says it did not converge.
inline constexpr int kGutterSearchCap = 200;
/// No spread, width or depth of a road gutter comes anywhere near this (m).
inline constexpr double kGutterSearchLimit = 1e5;

struct GutterSearchResult {
  double value = 0;  ///< the spread or depth found, m
  int evaluations = 0;
  bool converged = false;
};

/// Finds x in (lo, ∞) with Q(x) = target (m³/s), where flow(x, q, dq) sets Q(x) and dQ/dx
/// and Q rises with x; Q(lo) must be below the target. guess (> lo) starts the bracket,
/// which doubles its upper end until it holds the target.
template <class Flow>
GutterSearchResult SearchGutterFlow(const Flow& flow, double target, double lo, double guess) {
  GutterSearchResult r;
  double hi = guess;
  double q = 0;
  double dq = 0;
  for (;;) {
    flow(hi, q, dq);
    ++r.evaluations;
    if (q >= target) break;
    lo = hi;
    hi *= 2;
    if (hi > kGutterSearchLimit || r.evaluations >= kGutterSearchCap) {
      r.value = hi;
      return r;
    }
  }
  const double root = std::pow(target, 3.0 / 8.0);
  double x = hi;
  while (r.evaluations < kGutterSearchCap) {
    if (q == target) {
      r.converged = true;
      break;
    }
    // Newton on Q^(3/8) − target^(3/8).
    const double f = std::pow(q, 3.0 / 8.0) - root;
    const double fp = 3.0 / 8.0 * std::pow(q, -5.0 / 8.0) * dq;
    const double newton = fp > 0 ? f / fp : hi - lo;
    if (std::abs(newton) <= kGutterSearchTolerance * x) {
      // Already there: a step this small may not even move x within the bracket.
      r.value = x - newton;
      r.converged = true;
      return r;
    }
    double next = x - newton;
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    const double step = std::abs(next - x);
    x = next;
    flow(x, q, dq);
    ++r.evaluations;
    if (q < target) {
      lo = x;
    } else {
      hi = x;
    }
    if (step <= kGutterSearchTolerance * x || hi - lo <= kGutterSearchTolerance * x) {
      r.converged = true;
      break;
    }
  }
  r.value = x;
  return r;
}

}  // namespace rivulet
