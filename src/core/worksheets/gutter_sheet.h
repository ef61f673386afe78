// The gutter worksheet (kind "gutter"): reads a document into the gutter calculation's
// inputs and turns its results into named results, checks and report lines.
#pragma once

#include "core/drainage/gutter.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The gutter kind: its inputs, unknowns, options and solve.
const WorksheetKind& GutterKind();

/// The calculation's inputs from a gutter document, in SI base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
GutterInputs ReadGutterInputs(const Document& document);

/// The named results, warnings, method and check lines of a solved gutter, shown in the
/// document's result units.
SheetOutcome GutterOutcome(const Document& document, const GutterInputs& in,
                           const GutterResults& results);

}  // namespace rivulet
