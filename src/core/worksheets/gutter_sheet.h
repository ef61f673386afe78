// The gutter worksheet (kind "gutter"): reads a document into the gutter calculation's
// inputs and turns its results into named results, checks and report lines.
#pragma once

#include <string>

#include "core/drainage/gutter.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The gutter kind: its inputs, unknowns, options and solve.
const WorksheetKind& GutterKind();

/// The calculation's inputs from a gutter document, in SI base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
GutterInputs ReadGutterInputs(const Document& document);

/// How a gutter input is used for a gutter type, unknown and the quantity the unknown is
/// found from (option "known"): not read, required, optional, or one of the pan's pair
/// (gutterCrossSlope or gutterDepression).
using GutterInputUse = FieldUse;
GutterInputUse GutterInputUseFor(const std::string& input, const std::string& gutterType,
                                 const std::string& unknown, const std::string& known);

/// What a solved gutter outcome carries for its window's drawing.
struct GutterSolved {
  GutterInputs inputs;
  GutterResults results;
};

/// The named results, warnings, method and check lines of a solved gutter, shown in the
/// document's result units.
SheetOutcome GutterOutcome(const Document& document, const GutterInputs& in,
                           const GutterResults& results);

}  // namespace rivulet
