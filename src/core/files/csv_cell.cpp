#include "core/files/csv_cell.h"

#include "core/shell/number_text.h"

namespace rivulet {
namespace {

bool StartsFormula(char c) {
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// Whether the text, past any apostrophes, is one a spreadsheet would evaluate. Counting the
// apostrophes makes the guard reversible: a text the user began with one is guarded too.
bool NeedsGuard(std::string_view text) {
  const size_t start = text.find_first_not_of('\'');
  if (start == std::string_view::npos) return false;
  const std::string_view rest = text.substr(start);
  if (!StartsFormula(rest.front())) return false;
  // A signed number is data a spreadsheet should read as a number, and a number runs nothing.
  return !((rest.front() == '+' || rest.front() == '-') && IsNumericText(rest));
}

}  // namespace

std::string SpreadsheetSafeCell(std::string_view text) {
  return NeedsGuard(text) ? "'" + std::string(text) : std::string(text);
}

std::string_view SpreadsheetCellText(std::string_view cell) {
  if (cell.starts_with('\'') && NeedsGuard(cell.substr(1))) cell.remove_prefix(1);
  return cell;
}

void AppendDelimitedCell(std::string& out, std::string_view text, char separator) {
  const std::string safe = SpreadsheetSafeCell(text);
  if (safe.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
    out.append(safe);
    return;
  }
  out += '"';
  for (char c : safe) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace rivulet
