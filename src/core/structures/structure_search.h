// The one search of the structures: the size or head at which a rising flow law carries a
// given discharge. Every weir and orifice law rises with head and size, so a bracket widened
// by doubling and closed by false position finds it to the last digits doubles hold.
#pragma once

#include <optional>

#include "core/hydraulics/brackets.h"

namespace rivulet {

struct RisingSolve {
  double value = 0;
  int evaluations = 0;
  bool found = false;  ///< false: the flow never reached the target below the cap
};

/// x in [lo, cap] (or [lo, ∞) without a cap) where flow(x) = target, flow rising with
/// flow(lo) below target. Overflow while widening comes out as an ArithmeticFault.
template <typename Flow>
RisingSolve SolveRising(Flow flow, double target, double lo, std::optional<double> cap = {}) {
  RisingSolve out;
  const auto counted = [&](double x) {
    ++out.evaluations;
    return flow(x);
  };
  Bracket b{lo, 0};
  if (cap) {
    b.above = *cap;
    if (counted(*cap) < target) {
      out.value = *cap;
      return out;
    }
  } else {
    WidenUpward(b, [&](double x) { return counted(x) >= target; });
  }
  const SearchResult r = FalsePosition(b, [&](double x) { return counted(x) - target; }, {});
  out.value = r.value;
  out.found = r.end == SearchEnd::Converged;
  return out;
}

}  // namespace rivulet
