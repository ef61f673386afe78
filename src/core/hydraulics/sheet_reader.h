// The sheet's inputs in base units: the one place that knows which box and unit list hold
// each quantity and how its typed text becomes a number (m, m/s, m³/s, m/m, x per 1).
#pragma once

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/section_kind.h"
#include "core/shell/sheet.h"

namespace rivulet {

/// The section chosen in the section list.
SectionKind SectionOf(const CalculationSheet& sheet);

// Each reads one box in the unit its list has chosen. A value that cannot be converted (a
// reciprocal slope of 0, a number beyond the range of a double) raises ArithmeticFault.

/// Row 1: a velocity (m/s) or a discharge (m³/s), as VelocityGiven() says.
double ReadFlow(const CalculationSheet& sheet);
/// The depth (m).
double ReadDepth(const CalculationSheet& sheet);
/// The diameter row (m): a pipe's diameter or a channel's bottom width.
double ReadDiameterRow(const CalculationSheet& sheet);
/// The side slope as x horizontal per 1 vertical; pi is the program's 4 · atan(1).
double ReadSideSlope(const CalculationSheet& sheet, double pi);
/// The channel slope (m/m).
double ReadSlope(const CalculationSheet& sheet);
/// Manning's n as typed.
double ReadManningN(const CalculationSheet& sheet);

/// What a read gives, or 0 when the value cannot be converted: for views that show what was
/// typed and let the checks name the fault.
template <typename Read>
double ReadOrZero(Read&& read) {
  try {
    return read();
  } catch (const ArithmeticFault&) {
    return 0;
  }
}

}  // namespace rivulet
