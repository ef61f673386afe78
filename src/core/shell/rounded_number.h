// Figures at a chosen number of significant digits, as windows show results.
#pragma once

#include <string>

namespace rivulet {

/// A value rounded in decimal to `digits` (1 to 15) significant digits and written plainly
/// ("153.6", "0.01234", "1235000"), so 9.03 never shows as 9.0299999; "" when not finite.
std::string RoundedNumber(double value, int digits);

}  // namespace rivulet
