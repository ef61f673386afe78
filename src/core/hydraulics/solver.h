// The solver: one calculation on the sheet, for the selected unknown.
#pragma once

#include <cmath>
#include <string>

#include "core/hydraulics/searches.h"
#include "core/hydraulics/section_kind.h"
#include "core/shell/services.h"
#include "core/shell/sheet.h"

namespace rivulet {

/// The message of a solve that found no suitable solution.
inline constexpr char kNoSolutionMessage[] = "A suitable solution could not be found.";

/// The working values a solve ended with, in base units: the solution the sheet shows,
/// unrounded, for whatever looks further into it than the sheet does.
struct SolveRecord {
  SectionKind section = SectionKind::Rectangle;
  double depth = 0, diameter = 0, width = 0, side = 0, slope = 0, n = 0;
  double velocity = 0, discharge = 0;
  /// The second solution where one was written: a pipe's other depth or a channel's other
  /// side slope (0 when there is none), with its discharge.
  double altDepth = 0, altSide = 0, altDischarge = 0;
  /// The worst end of the searches behind these values. A search that hit its cap or
  /// closed on the end of its range still gave the value shown.
  SearchEnd searchEnd = SearchEnd::Converged;
};

/// What the hydraulic module keeps between calls.
struct HydraulicState {
  /// The section of the last solve; set by every solve.
  SectionKind section = SectionKind::Pipe;
  /// 4 * atan(1), computed when the window loads.
  double pi = 4 * std::atan(1.0);
  /// Machine epsilon, recomputed at the start of every iterative solve.
  double eps = 0;
  /// True when the last iterative solve was rejected by the final check.
  bool noSolution = false;
  /// The last solve, when it was accepted; empty after one that was rejected.
  SolveRecord last;
};

/// Reads the sheet, solves for the selected unknown and writes the results back.
void SolveManning(CalculationSheet& sheet, HydraulicState& state, Services& services);

/// Enables the alternate rows' labels and boxes.
void EnableAlternates(CalculationSheet& sheet);
/// Empties the alternate boxes, then disables them and their labels.
void ClearAlternates(CalculationSheet& sheet);

}  // namespace rivulet
