// The solver's side of the sheet: the section's key, the shown text of each result in its
// box's unit, and the alternate rows' state.
#pragma once

#include <string>

#include "core/shell/sheet.h"

namespace rivulet {

/// A result in base units as its box shows it, in the unit its list has chosen.
std::string LengthText(double v, const ComboBox& unit);
std::string AreaText(double v, const ComboBox& unit);
std::string VelocityText(double v, const ComboBox& unit);
std::string DischargeText(double v, const ComboBox& unit);
std::string SideSlopeText(double v, const ComboBox& unit, double pi);
/// Manning's n: with the n pattern within (0.000999999, 1), elsewhere as a plain number.
std::string ManningText(double n);

}  // namespace rivulet
