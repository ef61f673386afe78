// The fixed-width report of a worksheet, in the frame and width of the calculation
// report: heading, title, inputs with units, results with units, the kind's method and
// check lines, warnings, status, disclaimer and file name.
#pragma once

#include <string>
#include <vector>

#include "core/worksheets/document.h"
#include "core/worksheets/kinds.h"
#include "core/worksheets/results.h"

namespace rivulet {

/// The report's lines without line ends, none wider than 70 characters except a long file
/// path; filePath is printed at the foot when not empty.
std::vector<std::string> WorksheetReportLines(const WorksheetKind& kind, const Document& document,
                                              const SheetOutcome& outcome,
                                              const std::string& filePath);

/// A table result (a rating, a profile) as a window shows it: a column per field.
struct ResultTable {
  std::string name;                             ///< --json name
  std::string label;                            ///< "Rating"
  std::vector<std::string> headers;             ///< field labels
  std::vector<std::string> units;               ///< unit symbols, "" for none
  std::vector<std::vector<std::string>> cells;  ///< shown texts, a row per record
};

/// The table results of an outcome in the document's result units.
std::vector<ResultTable> ResultTables(const SheetOutcome& outcome, const Document& units);

/// Text cut into lines of at most width characters at blanks; a longer word is cut.
std::vector<std::string> WrapWords(const std::string& text, size_t width);

}  // namespace rivulet
