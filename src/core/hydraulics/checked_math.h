// Checked arithmetic: doubles do not trap, but the solver relies on a fault abandoning
// the step it happens in. Each operation throws ArithmeticFault instead of returning an
// infinity or a NaN that would quietly end a search loop as if it had converged.
#pragma once

#include <cmath>
#include <stdexcept>

namespace rivulet {

class ArithmeticFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The value itself, or a fault when it is not finite (overflow, or a NaN from upstream).
inline double Checked(double v) {
  if (!std::isfinite(v)) throw ArithmeticFault("overflow or invalid result");
  return v;
}

/// a * b; an overflow is a fault.
inline double Mul(double a, double b) { return Checked(a * b); }

/// a / b; a zero divisor is a fault even for 0 / 0.
inline double Div(double a, double b) {
  if (b == 0) throw ArithmeticFault("division by zero");
  return Checked(a / b);
}

/// x ^ p for any real p: a negative base with a fractional exponent is invalid, and zero
/// to a negative power is a division by zero.
inline double Pow(double x, double p) {
  if (x < 0 && p != std::trunc(p)) throw ArithmeticFault("fractional power of a negative");
  if (x == 0 && p < 0) throw ArithmeticFault("division by zero");
  return Checked(std::pow(x, p));
}

/// Square root; negative arguments are invalid.
inline double Sqrt(double x) {
  if (x < 0) throw ArithmeticFault("square root of a negative");
  return Checked(std::sqrt(x));
}

}  // namespace rivulet
