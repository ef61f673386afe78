// The inlet worksheet (kind "inlet"): reads a document into the inlet calculation's inputs,
// with its gutter part under the gutter worksheet's names, and turns the results into named
// results, warnings and report lines.
#pragma once

#include <string>

#include "core/drainage/inlet.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The inlet kind: its inputs, unknowns, options and solve.
const WorksheetKind& InletKind();

/// The choices that decide which inputs an inlet reads (the file's option and solveFor texts).
struct InletChoices {
  std::string location = "grade";
  std::string inletType = "grate";
  std::string gutterType = "uniform";
  std::string throat = "horizontal";
  std::string solveFor = "depth";
  /// In a sag: the discharge, the longitudinal slope and n are all given, so the approach
  /// gutter is solved and its inputs bear on the result.
  bool approachGiven = true;
};

/// How an input is used for the choices: not read, required, optional, or one of the pan's
/// pair (gutterCrossSlope or gutterDepression).
using InletInputUse = FieldUse;
InletInputUse InletInputUseFor(const std::string& input, const InletChoices& choices);

/// The choices as the document states them, defaults where it is silent; never throws (an
/// unreadable choice is judged when the document is solved).
InletChoices InletChoicesOf(const Document& document);

/// Whether an input, an option or "solveFor" bears on an inlet of these choices: the grate
/// type only where there is a grate, the throat only for a curb opening in a sag, the
/// unknown only in a sag, an input when it is read at all (in a sag the longitudinal slope
/// and n only when the approach gutter is solved).
bool InletFieldApplies(const std::string& field, const InletChoices& choices);

/// The calculation's inputs from an inlet document, in SI base units; throws WorksheetError
/// naming the field or option when one is missing or unreadable.
InletInputs ReadInletInputs(const Document& document);

/// What a solved inlet outcome carries for its window's drawings.
struct InletSolved {
  InletInputs inputs;
  InletResults results;
};

/// The named results, warnings, method and check lines of a solved inlet, shown in the
/// document's result units.
SheetOutcome InletOutcome(const Document& document, const InletInputs& in,
                          const InletResults& results);

}  // namespace rivulet
