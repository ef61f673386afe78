#include "core/worksheets/worksheet_report.h"

#include <algorithm>
#include <sstream>
#include <string_view>

#include "core/printing/report.h"
#include "core/shell/app_texts.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"
#include "core/shell/utf8_text.h"

namespace rivulet {
namespace {

const std::string kMargin(kReportMargin, ' ');
const std::string kIndent(5, ' ');
constexpr size_t kLabelWidth = 24;
constexpr size_t kValueWidth = 18;
constexpr size_t kTextWidth = kReportBodyWidth - 5;

std::string Trimmed(std::string line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

// Label, value and unit in their columns; text too long for its column (a file may hold
// anything) goes on lines of its own so that no line passes the report's width.
void AddRow(std::vector<std::string>& out, const std::string& mark, const std::string& label,
            const std::string& value, const std::string& unit) {
  if (CharacterCount(label) < kLabelWidth && CharacterCount(value) < kValueWidth &&
      CharacterCount(unit) <= kTextWidth - kLabelWidth - kValueWidth) {
    out.push_back(Trimmed(kMargin + mark + PadRight(label, kLabelWidth, 1) +
                          PadRight(value, kValueWidth, 1) + unit));
    return;
  }
  const std::vector<std::string> labels = WrapWords(label, kTextWidth);
  for (size_t i = 0; i < labels.size(); ++i)
    out.push_back(kMargin + (i == 0 ? mark : kIndent) + labels[i]);
  const std::string valueIndent = kMargin + kIndent + std::string(kLabelWidth, ' ');
  for (const std::string& l : WrapWords(value + " " + unit, kTextWidth - kLabelWidth))
    out.push_back(valueIndent + l);
}

void AddWrapped(std::vector<std::string>& out, const std::string& text) {
  for (const std::string& l : WrapWords(text, kTextWidth)) out.push_back(kMargin + kIndent + l);
}

void AddSection(std::vector<std::string>& out, const std::string& heading,
                const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  out.push_back(kMargin + heading);
  for (const std::string& l : lines) AddWrapped(out, l);
}

std::string ChoiceLabel(const std::vector<Choice>& choices, const std::string& name) {
  for (const Choice& c : choices)
    if (c.name == name) return c.label;
  return name;
}

// An input as the file gives it: its number and unit symbol, or the size of its lists.
std::pair<std::string, std::string> InputText(const InputField& field, const Document& d) {
  const auto found = d.inputs.find(field.name);
  if (found == d.inputs.end() || !found->is_object()) return {"(missing)", ""};
  const nlohmann::json& entry = *found;
  const auto value = entry.find("value");
  if (value != entry.end() && value->is_number()) {
    const std::string unitName = d.InputUnit(field.name);
    const FileUnit* unit = FindFileUnit(field.dimension, unitName);
    return {FormatNumber(value->get<double>()), unit ? std::string(unit->symbol) : unitName};
  }
  for (auto it = entry.begin(); it != entry.end(); ++it)
    if (it.value().is_array())
      return {std::to_string(it.value().size()) + " values", d.InputUnit(field.name)};
  return {"(missing)", ""};
}

// Rows under their headers (and units) when they fit the page, else each row as a wrapped
// line of "Header value unit" pairs.
void AddTable(std::vector<std::string>& out, const std::vector<std::string>& headers,
              const std::vector<std::string>& units,
              const std::vector<std::vector<std::string>>& cells) {
  std::vector<size_t> widths(headers.size());
  for (size_t c = 0; c < headers.size(); ++c) {
    widths[c] = std::max(CharacterCount(headers[c]), CharacterCount(units[c]));
    for (const auto& line : cells) widths[c] = std::max(widths[c], CharacterCount(line[c]));
  }
  const std::string indent = kMargin + kIndent + "  ";
  const size_t room = kTextWidth - 2;
  // Columns that do not fit side by side go into further tables under the first, each
  // repeating the first column (a station, an id) so that every row can be read across.
  std::vector<std::vector<size_t>> groups{{}};
  size_t used = 0;
  for (size_t c = 0; c < headers.size(); ++c) {
    const size_t need = widths[c] + 2;
    if (!groups.back().empty() && used + need > room) {
      groups.push_back({0});
      used = widths[0] + 2;
    }
    groups.back().push_back(c);
    used += need;
  }
  bool fits = true;
  for (const auto& g : groups) {
    size_t total = 0;
    for (size_t c : g) total += widths[c] + 2;
    fits = fits && total <= room && (g.size() > 1 || groups.size() == 1);
  }
  if (fits) {
    const bool anyUnit =
        std::any_of(units.begin(), units.end(), [](const std::string& u) { return !u.empty(); });
    for (size_t g = 0; g < groups.size(); ++g) {
      auto add = [&](const std::vector<std::string>& line) {
        std::string text = indent;
        for (size_t c : groups[g]) text += PadRight(line[c], widths[c] + 2, 0);
        out.push_back(Trimmed(text));
      };
      if (g > 0) out.push_back(" ");
      add(headers);
      if (anyUnit) add(units);
      for (const auto& line : cells) add(line);
    }
    return;
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    std::string text = std::to_string(i + 1) + ".";
    for (size_t c = 0; c < headers.size(); ++c) {
      if (cells[i][c].empty()) continue;
      const bool unitInCell = cells[i][c].find(' ') != std::string::npos || units[c].empty();
      text += " " + headers[c] + " " + cells[i][c] + (unitInCell ? "" : " " + units[c]) + ";";
    }
    text.pop_back();
    for (const std::string& l : WrapWords(text, kTextWidth - 2)) out.push_back(Trimmed(indent + l));
  }
}

// One cell of a list input's row: the number as written (with its unit when the column's
// header does not give it) or the word.
std::string CellText(const ListColumn& column, const nlohmann::json& row,
                     const std::string& headerUnit) {
  const auto member = row.find(column.name);
  if (member == row.end() || member->is_null()) return "";
  if (member->is_string()) {
    const std::string word = member->get<std::string>();
    return column.choices.empty() ? word : ChoiceLabel(column.choices, word);
  }
  if (!member->is_object()) return "?";
  const auto value = member->find("value");
  if (value == member->end() || !value->is_number()) return "";
  const auto unit = member->find("unit");
  const std::string unitName =
      unit != member->end() && unit->is_string() ? unit->get<std::string>() : "";
  const FileUnit* u = FindFileUnit(column.dimension, unitName);
  const std::string symbol = u ? std::string(u->symbol) : unitName;
  return FormatNumber(value->get<double>()) + (symbol == headerUnit ? "" : " " + symbol);
}

// A list input as a table under its label when it fits the page, else each row as a
// wrapped line of "Label value unit" pairs.
void AddRowList(std::vector<std::string>& out, const InputField& field, const Document& d) {
  const auto found = d.inputs.find(field.name);
  if (found == d.inputs.end() || !found->is_array()) return;
  const nlohmann::json& rows = *found;
  out.push_back(kMargin + kIndent + field.label + " (" + std::to_string(rows.size()) +
                (rows.size() == 1 ? " row)" : " rows)"));
  const bool ids = std::any_of(rows.begin(), rows.end(), [](const nlohmann::json& r) {
    return r.is_object() && r.contains("id");
  });
  std::vector<std::string> headers, units;
  if (ids) headers.push_back("Id"), units.push_back("");
  for (const ListColumn& c : field.columns) {
    headers.push_back(c.label);
    std::string unit;  // the column's unit: the first row's that has one
    for (const nlohmann::json& row : rows) {
      if (!row.is_object() || !row.contains(c.name) || !row[c.name].is_object()) continue;
      const auto u = row[c.name].find("unit");
      if (u == row[c.name].end() || !u->is_string()) continue;
      const FileUnit* fu = FindFileUnit(c.dimension, u->get<std::string>());
      unit = fu ? std::string(fu->symbol) : u->get<std::string>();
      break;
    }
    units.push_back(unit);
  }
  std::vector<std::vector<std::string>> cells;
  for (const nlohmann::json& row : rows) {
    std::vector<std::string> line;
    if (ids)
      line.push_back(row.is_object() && row.contains("id") && row["id"].is_string()
                         ? row["id"].get<std::string>()
                         : "");
    for (size_t c = 0; c < field.columns.size(); ++c)
      line.push_back(row.is_object() ? CellText(field.columns[c], row, units[c + (ids ? 1 : 0)])
                                     : "?");
    cells.push_back(std::move(line));
  }
  AddTable(out, headers, units, cells);
}

void AddResult(std::vector<std::string>& out, const NamedResult& r, const Document& d,
               const std::string& mark, const std::string& prefix) {
  if (r.table) {
    SheetOutcome one;
    one.results.push_back(r);
    for (const ResultTable& t : ResultTables(one, d)) {
      AddRow(out, mark,
             prefix + t.label + " (" + std::to_string(t.cells.size()) +
                 (t.cells.size() == 1 ? " row)" : " rows)"),
             "", "");
      AddTable(out, t.headers, t.units, t.cells);
    }
    return;
  }
  if (r.shape != NamedResult::Shape::Records) {
    const ShownResult shown = ShowResult(r, d.ResultUnit(r.name, r.dimension));
    AddRow(out, mark, prefix + r.label, shown.text, shown.unitSymbol);
    return;
  }
  for (size_t i = 0; i < r.records.size(); ++i) {
    AddRow(out, mark, prefix + r.label + " " + std::to_string(i + 1), "", "");
    for (const NamedResult& field : r.records[i]) AddResult(out, field, d, kIndent, prefix + "  ");
  }
}

}  // namespace

namespace {

// A table record's cells in column order, with the header each shows under. A cell that is
// itself records (a rating row's devices) gives a column per field of each of its records,
// headed by that record's "id" (or the field's label and position).
struct TableCell {
  std::string key;
  std::string header;
  const NamedResult* cell;
};

std::vector<TableCell> TableCells(const std::vector<NamedResult>& record) {
  std::vector<TableCell> cells;
  for (const NamedResult& field : record) {
    if (field.shape != NamedResult::Shape::Records) {
      cells.push_back({field.name, field.label, &field});
      continue;
    }
    for (size_t k = 0; k < field.records.size(); ++k) {
      std::string prefix = field.label + " " + std::to_string(k + 1);
      for (const NamedResult& inner : field.records[k])
        if (inner.name == "id" && inner.shape == NamedResult::Shape::Text) prefix = inner.text;
      for (const NamedResult& inner : field.records[k])
        if (inner.name != "id")
          cells.push_back({field.name + "/" + std::to_string(k) + "/" + inner.name,
                           prefix + " " + inner.label, &inner});
    }
  }
  return cells;
}

}  // namespace

std::vector<ResultTable> ResultTables(const SheetOutcome& outcome, const Document& units) {
  std::vector<ResultTable> tables;
  for (const NamedResult& r : outcome.results) {
    if (!r.table) continue;
    ResultTable t{r.name, r.label, {}, {}, {}};
    // Columns from the first record that has fields: the kind gives every record the same.
    std::vector<std::string> keys;
    for (const auto& record : r.records) {
      if (record.empty()) continue;
      for (const TableCell& c : TableCells(record)) {
        keys.push_back(c.key);
        t.headers.push_back(c.header);
        const FileUnit* unit = units.ResultUnit(c.cell->name, c.cell->dimension);
        t.units.push_back(unit ? std::string(unit->symbol) : "");
      }
      break;
    }
    for (const auto& record : r.records) {
      std::vector<std::string> row(keys.size());
      for (const TableCell& c : TableCells(record))
        for (size_t k = 0; k < keys.size(); ++k)
          if (keys[k] == c.key)
            row[k] = ShowResult(*c.cell, units.ResultUnit(c.cell->name, c.cell->dimension)).text;
      t.cells.push_back(std::move(row));
    }
    tables.push_back(std::move(t));
  }
  return tables;
}

std::vector<std::string> WrapWords(const std::string& text, size_t width) {
  width = std::max<size_t>(width, 1);
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  auto lead = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
  // One pass over the text, each byte looked at a bounded number of times: a title may be
  // one word of a megabyte.
  std::vector<std::string> lines;
  std::string line;
  size_t lineChars = 0;
  for (size_t i = 0; i < text.size();) {
    if (blank(text[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && !blank(text[end])) ++end;
    std::string_view w(text.data() + i, end - i);
    i = end;
    size_t chars = CharacterCount(w);
    // A word wider than a line is cut between characters, never left to overflow.
    while (chars > width) {
      size_t cut = 0;
      for (size_t n = 0; cut < w.size(); ++cut)
        if (lead(w[cut]) && n++ == width) break;
      if (!line.empty()) lines.push_back(std::move(line));
      line.clear();
      lineChars = 0;
      lines.emplace_back(w.substr(0, cut));
      w.remove_prefix(cut);
      chars -= width;
    }
    if (!line.empty() && lineChars + 1 + chars > width) {
      lines.push_back(std::move(line));
      line.clear();
      lineChars = 0;
    }
    if (!line.empty()) line += ' ', ++lineChars;
    line.append(w);
    lineChars += chars;
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> WorksheetReportLines(const WorksheetKind& kind, const Document& document,
                                              const SheetOutcome& outcome,
                                              const std::string& filePath) {
  const std::string blank = " ";
  const std::string phone = std::string("Tel: ") + kMakerPhone;
  std::vector<std::string> r{
      blank,
      blank,
      blank,
      kMargin + kProductName,
      kMargin + "Version " + BuildVersionString(),
      blank,
      kMargin + PadRight(kMakerName, kReportBodyWidth - CharacterCount(phone), 1) + phone,
      kMargin + PadRight(kMakerWeb, kReportBodyWidth - CharacterCount(kMakerEmail), 1) +
          kMakerEmail,
      blank,
      ReportRule('=')};
  r.push_back(kMargin + kind.title);
  for (const std::string& l : WrapWords(document.title, kReportBodyWidth)) r.push_back(kMargin + l);
  r.push_back(ReportRule('-'));

  r.push_back(kMargin + "Inputs");
  const std::string unknown = kind.unknowns.empty()       ? ""
                              : document.solveFor.empty() ? kind.unknowns.front().name
                                                          : document.solveFor;
  // What does not bear on this calculation (a grate type for a curb opening) would only
  // mislead the reviewer, so it is left out.
  for (const InputField& field : kind.inputs) {
    if (field.name == unknown || (field.optional && !document.HasInput(field.name))) continue;
    if (!FieldApplies(kind, document, field.name)) continue;
    if (IsRowList(field)) continue;  // tables follow the single values
    const auto [value, unit] = InputText(field, document);
    AddRow(r, kIndent, field.label, value, unit);
  }
  if (!unknown.empty() && FieldApplies(kind, document, "solveFor"))
    AddRow(r, kIndent, "Solve For", ChoiceLabel(kind.unknowns, unknown), "");
  for (const OptionField& option : kind.options) {
    if (!FieldApplies(kind, document, option.name)) continue;
    const auto it = document.options.find(option.name);
    std::string value = option.choices.empty() ? "" : option.choices.front().name;
    if (it != document.options.end() && it->is_string()) value = it->get<std::string>();
    AddRow(r, kIndent, option.label, ChoiceLabel(option.choices, value), "");
  }
  for (const InputField& field : kind.inputs)
    if (IsRowList(field) && FieldApplies(kind, document, field.name))
      AddRowList(r, field, document);
  r.push_back(ReportRule('-'));

  if (!outcome.results.empty()) {
    r.push_back(kMargin + "Results");
    for (const NamedResult& result : outcome.results) AddResult(r, result, document, "(X)  ", "");
    r.push_back(ReportRule('-'));
  }
  const size_t beforeNotes = r.size();
  AddSection(r, "Method", outcome.methodLines);
  AddSection(r, "Checks", outcome.checkLines);
  AddSection(r, "Warnings", outcome.warnings);
  if (r.size() > beforeNotes) r.push_back(ReportRule('-'));

  const std::vector<std::string> status = WrapWords(outcome.message, kReportBodyWidth - 12);
  for (size_t i = 0; i < status.size(); ++i)
    r.push_back(kMargin + (i == 0 ? "Status      " : std::string(12, ' ')) + status[i]);
  r.push_back(ReportRule('='));
  r.push_back(blank);
  r.push_back(kMargin + "(X)  Denotes calculated values");
  r.push_back(blank);
  r.push_back(kMargin + "Disclaimer:");
  r.push_back(blank);
  for (const std::string& line : DisclaimerLines()) r.push_back(kMargin + line);
  r.push_back(blank);
  r.push_back(ReportRule('='));
  if (!filePath.empty()) r.push_back(kMargin + filePath);
  return r;
}

}  // namespace rivulet
