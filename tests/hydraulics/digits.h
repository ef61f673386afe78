// Checks a computed value against a figure quoted to a number of decimals: the figure
// holds when the value is within one unit of its last decimal (quoted figures are
// sometimes rounded, sometimes cut short).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/shell/number_text.h"
#include "support/near.h"

namespace rivulet::testing {

inline double LastDecimalUnit(const std::string& figure) {
  const auto dot = figure.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(figure.size() - dot - 1);
  return std::pow(10.0, -decimals);
}

inline ::testing::AssertionResult MatchesFigure(double actual, const std::string& figure) {
  const double expected = ReadNumber(figure);
  const double unit = LastDecimalUnit(figure);
  if (std::abs(actual - expected) <= unit) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " does not match the figure " << figure << " to within " << unit;
}

/// Relative agreement, for quantities recomputed from written results.
inline constexpr auto& RelativelyNear = Near;

}  // namespace rivulet::testing
