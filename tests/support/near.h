// Relative agreement of two numbers, with both and the error in the failure message: the
// one comparison the numeric tests share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace rivulet::testing {

/// actual within relative * |expected| of expected (an expected zero asks for an exact zero).
inline ::testing::AssertionResult Near(double actual, double expected, double relative = 1e-12) {
  const double scale = std::max(std::abs(expected), 1e-300);
  if (std::abs(actual - expected) <= relative * scale) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual << " vs " << expected << ": relative error "
         << std::abs(actual - expected) / scale << " above " << relative;
}

}  // namespace rivulet::testing
