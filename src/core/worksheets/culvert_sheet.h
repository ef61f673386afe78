// The culvert worksheet (kind "culvert"): reads a document into the culvert calculation's
// inputs and turns its results into named results, the performance table, method lines and
// warnings.
#pragma once

#include "core/culverts/culvert.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The culvert kind: its inputs, unknowns, options and solve.
const WorksheetKind& CulvertKind();

/// The calculation's inputs from a culvert document, in base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
CulvertInputs ReadCulvertInputs(const Document& document);

/// What a solved culvert outcome carries for its window.
struct CulvertSolved {
  CulvertInputs inputs;
  CulvertResults results;
};

}  // namespace rivulet
