// The weir worksheet (kind "weir"): reads a document into the weir calculation's inputs and
// turns its results into named results, method lines and warnings.
#pragma once

#include "core/structures/weir.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The weir kind: its inputs, unknowns, options and solve.
const WorksheetKind& WeirKind();

/// The calculation's inputs from a weir document, in base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
WeirInputs ReadWeirInputs(const Document& document);

/// What a solved weir outcome carries for its window.
struct WeirSolved {
  WeirInputs inputs;
  WeirResults results;
};

}  // namespace rivulet
