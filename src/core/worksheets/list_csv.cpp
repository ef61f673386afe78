#include "core/worksheets/list_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/cases/csv_reader.h"
#include "core/files/csv_cell.h"
#include "core/shell/utf8_text.h"

namespace rivulet {
namespace {

// Cells as JSON strings: a spreadsheet saved in another encoding must not break the file.
std::string Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return ValidUtf8(s);
}

std::optional<double> NumberIn(std::string text) {
  if (text.find('.') == std::string::npos) std::replace(text.begin(), text.end(), ',', '.');
  const char* begin = text.data() + (text.size() > 1 && text[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

struct Column {
  std::string member;
  std::string unit;
  bool text = false;
};

}  // namespace

ListCsv ListRowsFromCsv(std::string_view input, const std::vector<std::string>& textColumns) {
  ListCsv out;
  std::vector<Column> columns;
  std::size_t line = 0;
  CsvReader reader([&](std::vector<std::string>& cells) {
    ++line;
    if (!out.error.empty()) return;
    if (columns.empty()) {
      if (cells.size() > kMaxListCsvColumns) {
        out.error = "Line 1 has more than " + std::to_string(kMaxListCsvColumns) + " columns.";
        return;
      }
      for (const std::string& cell : cells) {
        std::string name = Trimmed(SpreadsheetCellText(cell));
        Column c;
        const std::size_t open = name.find('[');
        if (open != std::string::npos && name.back() == ']') {
          c.unit = Trimmed(std::string_view(name).substr(open + 1, name.size() - open - 2));
          name = Trimmed(std::string_view(name).substr(0, open));
        }
        if (name.empty()) {
          out.error = "Line 1 has a column without a name.";
          return;
        }
        c.member = name;
        c.text = std::find(textColumns.begin(), textColumns.end(), name) != textColumns.end();
        columns.push_back(std::move(c));
      }
      return;
    }
    if (out.rows.size() >= kMaxListCsvRows) {
      out.error = "More than " + std::to_string(kMaxListCsvRows) + " rows.";
      return;
    }
    nlohmann::json row = nlohmann::json::object();
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const std::string cell = Trimmed(SpreadsheetCellText(cells[i]));
      if (cell.empty()) continue;
      if (i >= columns.size()) {
        out.error = "Line " + std::to_string(line) + " has more cells than the header names.";
        return;
      }
      const Column& c = columns[i];
      const std::optional<double> number = c.text ? std::nullopt : NumberIn(cell);
      if (!number) {
        row[c.member] = cell;
        continue;
      }
      row[c.member] = {{"value", *number}};
      if (!c.unit.empty()) row[c.member]["unit"] = c.unit;
    }
    // A line of empty cells, as spreadsheets leave at the end, is no row.
    if (!row.empty()) out.rows.push_back(std::move(row));
  });
  if (!reader.Feed(input) || !reader.Finish()) out.error = reader.Error();
  if (out.error.empty() && columns.empty()) out.error = "The text has no header line.";
  if (!out.error.empty()) out.rows = nlohmann::json::array();
  return out;
}

}  // namespace rivulet
