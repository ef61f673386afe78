// One cell of the delimited text Rivulet hands to spreadsheets (CSV files, the CSV of the
// batch commands, tab-separated clipboard text): a text a spreadsheet would take for a
// formula is kept from being one, and quoting follows RFC 4180.
#pragma once

#include <string>
#include <string_view>

namespace rivulet {

/// The text as a cell a spreadsheet shows and does not evaluate: one that starts with =,
/// +, -, @, a tab or a CR gets a leading apostrophe, unless it is a plain number ("-1.5",
/// "+2e3" stay numbers). A text that starts with apostrophes before such a character gets
/// one more, so that SpreadsheetCellText gives back every text exactly.
std::string SpreadsheetSafeCell(std::string_view text);

/// The text a cell written by SpreadsheetSafeCell was made from; other cells as they are.
std::string_view SpreadsheetCellText(std::string_view cell);

/// Appends the text as one field of a line separated by `separator`: made safe, then in
/// double quotes with quotes doubled when it holds the separator, a quote, a CR or a LF.
void AppendDelimitedCell(std::string& out, std::string_view text, char separator);

}  // namespace rivulet
