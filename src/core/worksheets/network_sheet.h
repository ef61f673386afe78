// The storm-sewer network worksheet (kind "network"): a document's structures, pipes,
// rainfall curve and design limits read into the network calculation, and its design sheet
// named for files and reports.
#pragma once

#include "core/networks/network.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The kind's entry for the kinds table.
const WorksheetKind& NetworkKind();

/// The calculation's inputs in base units as the document gives them. Throws
/// WorksheetError naming the list or input at fault.
NetworkInputs NetworkInputsFrom(const Document& document);

/// What the window draws without solving again.
struct NetworkSolved {
  NetworkInputs inputs;
  NetworkResults results;
};

/// The outcome of a solve: the pipes and structures as records, with the warnings.
SheetOutcome NetworkOutcome(const NetworkInputs& inputs, const NetworkResults& results);

}  // namespace rivulet
