// The one range rule every worksheet's numbers pass before any kind computes with them:
// finite, held to full precision (not subnormal) and no larger than any real channel,
// road or flow. A kind's own limits (a gutter's n at most 1, say) come on top.
#pragma once

#include <string>

#include "core/worksheets/kinds.h"

namespace rivulet {

/// Largest magnitude a worksheet input of the dimension may have, in base units: far past
/// any real quantity (10 000 km, 10^7 m³/s, a slope of 100 m/m), near enough that the
/// powers in the flow equations stay well inside a double.
double MostInputMagnitude(Dimension dimension);

/// Smallest Manning's n a worksheet takes: glass and plastics are near 0.009, and a smaller
/// n only drives the velocity to numbers no channel has.
inline constexpr double kLeastManningN = 0.001;

/// Throws WorksheetError naming the field, its label in the message, when the number
/// (value as written, base its value in base units) is subnormal or out of range.
void CheckInputNumber(double value, double base, Dimension dimension, const std::string& field,
                      const std::string& label, const std::string& unitSymbol);

/// Checks every number input of the kind that bears on the document's calculation, and
/// every number in its list inputs, by the rule above.
void CheckInputRanges(const WorksheetKind& kind, const Document& document);

}  // namespace rivulet
