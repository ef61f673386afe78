// Rating tables as delimited text: the CSV file, the batch mode's CSV on standard output,
// and the tab-separated text a spreadsheet takes from the clipboard.
#pragma once

#include <string>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

/// A column of texts after the rating's own, one per row (the design checks, say).
struct RatingTextColumn {
  std::string header;
  std::vector<std::string> cells;
};

/// A header naming each column with its unit ("Depth (mm)"), then one line per row. Numbers
/// are written in the shortest form that reads back to the same double, "." as the
/// decimal point whatever the locale; a cell without a value is empty. Text fields are
/// written by AppendDelimitedCell: kept from being formulas, quoted where needed.
std::vector<std::string> RatingLines(const std::vector<RatingRow>& rows, bool pipe,
                                     const RatingUnits& units, char separator,
                                     const RatingTextColumn* extra = nullptr);

/// The lines joined, each ended by "\n": what the clipboard and standard output take.
std::string JoinRatingLines(const std::vector<std::string>& lines);

/// The "#" lines that head a saved table and say what it describes: the program, and the
/// channel's section, dimensions, slope and n with their units (a RatingSource description).
std::vector<std::string> RatingCommentLines(const std::string& description);

/// Writes a CSV file (CR LF line ends, a UTF-8 byte order mark so that spreadsheets read
/// the units' ² and ³), headed by the comment lines of `description`, without destroying an
/// old file if the write fails.
bool SaveRatingCsv(const std::string& path, const std::vector<RatingRow>& rows, bool pipe,
                   const RatingUnits& units, const std::string& description,
                   const RatingTextColumn* extra = nullptr);

}  // namespace rivulet
