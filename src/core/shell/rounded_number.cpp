#include "core/shell/rounded_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/shell/number_text.h"

namespace rivulet {

std::string RoundedNumber(double value, int digits) {
  if (!std::isfinite(value)) return "";
  digits = std::clamp(digits, 1, 15);
  // Rounded in decimal first, then written plainly.
  const std::string decimal = CharsOf(value, std::chars_format::scientific, digits - 1);
  double rounded = value;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), rounded);
  return rounded == 0 ? "0" : FormatNumber(rounded);
}

}  // namespace rivulet
