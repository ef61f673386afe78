// Brackets around the one crossing of a monotone test or residual, for the searches of the
// flow details and the rating table: widened upwards by doubling until they hold the
// crossing, then closed until doubles cannot separate their ends.
#pragma once

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/searches.h"

namespace rivulet {

/// A range of depths (m) holding a crossing: the test is false at below and true at above.
struct Bracket {
  double below = 0;
  double above = 0;
};

/// A bracket this narrow against its upper end is as close as doubles get.
inline constexpr double kBracketEnd = 4e-16;
/// Enough halvings to close any bracket of doubles; CloseBracket ends sooner, on adjacent
/// values, so running into it means the test is not monotone.
inline constexpr int kHalvingCap = 2200;
/// Steps of FalsePosition; every second one at least halves the bracket, so about 110
/// close any bracket of positive doubles.
inline constexpr int kFalsePositionCap = 400;

/// The middle of the bracket (m).
inline double Middle(const Bracket& b) { return b.below + (b.above - b.below) / 2; }

/// Whether the bracket is as narrow as doubles allow against its larger end (the upper one
/// for depths; either for elevations, which may be negative).
inline bool IsNarrow(const Bracket& b) {
  return !(b.above - b.below > kBracketEnd * std::max(std::abs(b.below), std::abs(b.above)));
}

/// Moves the bracket up until isAbove(above) holds: above starts at 2·below (1 when below is
/// 0) and doubles, below following it. A test that never holds overflows into a fault.
template <typename Test>
void WidenUpward(Bracket& b, Test isAbove) {
  b.above = b.below > 0 ? Mul(b.below, 2) : 1.0;
  while (!isAbove(b.above)) {
    b.below = b.above;
    b.above = Mul(b.above, 2);
  }
}

/// Halves the bracket by the test until no double lies strictly between its ends or it is
/// narrow: Converged. HitCap after cap halvings, the bracket as far as it got.
template <typename Test>
SearchEnd CloseBracket(Bracket& b, Test isAbove, int cap = kHalvingCap) {
  for (int i = 0; i < cap; ++i) {
    const double mid = Middle(b);
    if (!(mid > b.below && mid < b.above) || IsNarrow(b)) return SearchEnd::Converged;
    (isAbove(mid) ? b.above : b.below) = mid;
  }
  return SearchEnd::HitCap;
}

/// Where FalsePosition stops, the first of these, all Converged: the residual within
/// `tolerance` of zero (in its own unit); the bracket no wider than `width` (in the
/// unknown's unit; 0 for no such limit); the bracket as narrow as doubles allow (IsNarrow),
/// which every bracket reaches, since every second step at least halves it. HitCap after
/// `cap` steps.
struct FalsePositionRule {
  double tolerance = 0;
  double width = 0;
  int cap = kFalsePositionCap;
};

/// FalsePosition from a bracket whose residuals at its ends are known (flo < 0 < fhi);
/// the evaluations counted are the search's own.
template <typename Residual>
SearchResult FalsePositionFrom(double lo, double flo, double hi, double fhi, Residual residual,
                               const FalsePositionRule& rule) {
  SearchResult result;
  int kept = 0;  // which end the last step kept: −1 the lower, +1 the upper
  bool halve = false;
  for (int i = 0; i < rule.cap; ++i) {
    const double width = hi - lo;
    result.bracket = width;
    if (width <= rule.width || IsNarrow({lo, hi})) {
      result.value = Middle({lo, hi});
      return result;
    }
    double x = (lo * fhi - hi * flo) / (fhi - flo);
    const bool inside = x > lo && x < hi;
    if (halve || std::isnan(x) || (!inside && rule.width == 0)) {
      x = lo + width / 2;
    } else if (rule.width > 0) {
      // With a width to stop at, a step closer to an end than half of it (or rounded onto
      // it) moves out to that distance, so that once the root is pinned the next step lands
      // beyond it and closes the bracket instead of halving the far end down to it.
      if (!inside) x = x <= lo ? lo : hi;
      if (width > 2 * rule.width)
        x = std::clamp(x, lo + rule.width / 2, hi - rule.width / 2);
      else
        x = lo + width / 2;
    }
    const double fx = residual(x);
    ++result.evaluations;
    if (std::abs(fx) <= rule.tolerance) {
      result.value = x;
      result.bracket = 0;
      return result;
    }
    if (fx < 0) {
      lo = x;
      flo = fx;
      if (kept == 1) fhi /= 2;
      kept = 1;
    } else {
      hi = x;
      fhi = fx;
      if (kept == -1) flo /= 2;
      kept = -1;
    }
    halve = !halve && hi - lo > width / 2;
  }
  result.value = Middle({lo, hi});
  result.bracket = hi - lo;
  result.end = SearchEnd::HitCap;
  return result;
}

/// The crossing of a rising residual inside the bracket (negative at below, positive at
/// above), by the Illinois false position. A step that fails to halve the bracket is followed
/// by a halving, so the search cannot crawl along one end of a flat stretch. The value is the
/// last point evaluated when the residual met the rule's tolerance, the bracket's middle
/// otherwise.
template <typename Residual>
SearchResult FalsePosition(Bracket b, Residual residual, const FalsePositionRule& rule) {
  const double flo = residual(b.below);
  const double fhi = residual(b.above);
  if (fhi == 0) return {b.above, 2, SearchEnd::Converged, 0};
  SearchResult result = FalsePositionFrom(b.below, flo, b.above, fhi, residual, rule);
  result.evaluations += 2;
  return result;
}

}  // namespace rivulet
