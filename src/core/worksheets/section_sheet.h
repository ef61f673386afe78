// The irregular-section worksheet (kind "section"): a document's points, zones, slope and
// flow read into the section calculation, and its results named for files and reports.
#pragma once

#include "core/sections/section_solve.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The kind's entry for the kinds table.
const WorksheetKind& IrregularSectionKind();

/// The calculation's inputs in base units as the document gives them. Throws
/// WorksheetError naming the input or option at fault.
SectionInputs SectionInputsFrom(const Document& document);

/// The outcome of solved results: each result under its --json name, in base units; the
/// figures in its messages are in the document's result units.
SheetOutcome SectionOutcome(const SectionInputs& inputs, const SectionResults& results,
                            const Document& document);

}  // namespace rivulet
