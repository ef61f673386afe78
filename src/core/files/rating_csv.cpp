#include "core/files/rating_csv.h"

#include <charconv>

#include "core/files/csv_cell.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string Field(const std::string& text, char separator) {
  std::string field;
  AppendDelimitedCell(field, text, separator);
  return field;
}

// Shortest round-trip form: a spreadsheet gets every digit the table has, and no more.
std::string Number(const std::optional<double>& value) {
  if (!value) return "";
  return ShortestChars(*value);
}

}  // namespace

std::vector<std::string> RatingLines(const std::vector<RatingRow>& rows, bool pipe,
                                     const RatingUnits& units, char separator,
                                     const RatingTextColumn* extra) {
  const std::vector<RatingColumn> columns = RatingColumns(pipe);
  std::vector<std::string> lines;
  lines.reserve(rows.size() + 1);
  std::string header;
  for (RatingColumn c : columns) {
    if (!header.empty()) header += separator;
    header += Field(RatingColumnHeader(c, units), separator);
  }
  if (extra) header += separator + Field(extra->header, separator);
  lines.push_back(std::move(header));
  for (size_t r = 0; r < rows.size(); ++r) {
    std::string line;
    for (size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) line += separator;
      line += Number(RatingCellValue(rows[r], columns[i], units));
    }
    if (extra)
      line += separator + (r < extra->cells.size() ? Field(extra->cells[r], separator) : "");
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string JoinRatingLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text.append(l).append("\n");
  return text;
}

std::vector<std::string> RatingCommentLines(const std::string& description) {
  // A line break in the description would end the comment and start a data row.
  std::string oneLine = description;
  for (char& c : oneLine)
    if (c == '\r' || c == '\n') c = ' ';
  // A spreadsheet splits the comment at its commas like any row: each piece after the
  // first ("# " keeps that one text) is written as a cell, so that a title typed as a
  // formula stays text.
  const size_t comma = oneLine.find(',');
  std::string line = "# " + oneLine.substr(0, comma);
  for (size_t start = comma; start != std::string::npos;) {
    const size_t next = oneLine.find(',', start + 1);
    line += ',';
    AppendDelimitedCell(line, std::string_view(oneLine).substr(start + 1, next - start - 1), ',');
    start = next;
  }
  return {"# " + std::string(kProductName) + " rating table", line};
}

bool SaveRatingCsv(const std::string& path, const std::vector<RatingRow>& rows, bool pipe,
                   const RatingUnits& units, const std::string& description,
                   const RatingTextColumn* extra) {
  std::vector<std::string> lines = RatingCommentLines(description);
  for (std::string& line : RatingLines(rows, pipe, units, ',', extra))
    lines.push_back(std::move(line));
  lines.front().insert(0, kByteOrderMark);
  return WriteLinesSafely(path, lines);
}

}  // namespace rivulet
