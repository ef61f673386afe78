// A table result (the records of a NamedResult) as comma-separated text for a spreadsheet:
// a header of the members' names with their units in brackets, as the list reader takes
// them back, then one line per record in the document's result units, as shown.
#pragma once

#include <string>

#include "core/worksheets/document.h"
#include "core/worksheets/results.h"

namespace rivulet {

/// The records as CSV text (CR LF line ends); "" for a result that is not records.
std::string RecordsCsvText(const NamedResult& records, const Document& document);

}  // namespace rivulet
