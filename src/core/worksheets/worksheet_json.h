// A solved worksheet as one line of JSON for --json: the file, kind, status, every input
// as written, every result in its shown unit with its text, and the warnings.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/worksheets/document.h"
#include "core/worksheets/results.h"

namespace rivulet {

/// {"value": number or null, "unit", "text"} for a number, flag or series (value a list);
/// for records, value is a list of objects of such entries.
nlohmann::ordered_json ResultJson(const NamedResult& result, const Document& document);

/// The whole object for file, on one line without a line end.
std::string WorksheetJsonLine(const std::string& file, const Document& document,
                              const SheetOutcome& outcome);

}  // namespace rivulet
