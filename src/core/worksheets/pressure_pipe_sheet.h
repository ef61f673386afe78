// The pressure-pipe worksheet (kind "pressurePipe"): reads a document into the full-pipe
// calculation's inputs (materials, water temperature, fittings and the ends' levels) and
// turns its results into named results, checks and report lines.
#pragma once

#include <string>

#include "core/pipes/pressure_pipe.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The pressure-pipe kind: its inputs, unknowns, options and solve.
const WorksheetKind& PressurePipeKind();

/// The calculation's inputs from a document, in SI base units; throws WorksheetError naming
/// the field when one is missing, unreadable or contradicted by another.
PressurePipeInputs ReadPressurePipeInputs(const Document& document);

/// How an input, an option or "solveFor" bears on the document's calculation.
FieldUse PressurePipeFieldUse(const Document& document, const std::string& field);

/// The value a material fills into a field ("roughness", "hazenWilliamsC", "manningsN"),
/// in base units; nullopt for "custom" or where the material has none.
std::optional<double> MaterialValue(const std::string& material, const std::string& field);

/// What a solved outcome carries for the window's drawing and curve.
struct PressurePipeSolved {
  PressurePipeInputs inputs;
  PressurePipeResults results;
};

/// The named results, warnings, method and check lines of a solved pipe, shown in the
/// document's result units.
SheetOutcome PressurePipeOutcome(const Document& document, const PressurePipeInputs& in,
                                 const PressurePipeResults& results);

/// The head-loss curve as CSV (a header naming the units, then one discharge and head loss
/// per line) in the units the document shows those results in.
std::string HeadLossCurveCsv(const Document& document, const PressurePipeResults& results);

}  // namespace rivulet
