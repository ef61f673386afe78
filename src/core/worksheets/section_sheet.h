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

/// Why solved results do not satisfy the section's own equations ("" when they do): a
/// figure that is not finite, a depth or discharge that is not above zero, a discharge that
/// is not K S^(1/2) at the water surface found (within 1e-6, or within the step to the next
/// representable surface where the survey's elevations resolve no finer), or V A not Q.
std::string SectionAnswerProblem(const SectionInputs& inputs, const SectionResults& results);

/// The outcome of solved results: each result under its --json name, in base units; the
/// figures in its messages are in the document's result units.
SheetOutcome SectionOutcome(const SectionInputs& inputs, const SectionResults& results,
                            const Document& document);

}  // namespace rivulet
