// The orifice worksheet (kind "orifice"): reads a document into the orifice calculation's
// inputs and turns its results into named results, method lines and warnings.
#pragma once

#include "core/structures/orifice.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The orifice kind: its inputs, unknowns, options and solve.
const WorksheetKind& OrificeKind();

/// The calculation's inputs from an orifice document, in base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
OrificeInputs ReadOrificeInputs(const Document& document);

/// The words files and results use for a regime: "none", "weir", "orifice".
const char* OrificeRegimeName(OrificeRegime regime);

/// What a solved orifice outcome carries for its window.
struct OrificeSolved {
  OrificeInputs inputs;
  OrificeResults results;
};

}  // namespace rivulet
