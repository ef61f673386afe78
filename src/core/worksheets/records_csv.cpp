#include "core/worksheets/records_csv.h"

#include "core/files/csv_cell.h"

namespace rivulet {

std::string RecordsCsvText(const NamedResult& r, const Document& d) {
  if (r.shape != NamedResult::Shape::Records || r.records.empty()) return "";
  std::string out;
  const std::vector<NamedResult>& first = r.records.front();
  for (std::size_t i = 0; i < first.size(); ++i) {
    std::string name = first[i].name;
    if (const FileUnit* unit = d.ResultUnit(first[i].name, first[i].dimension))
      name += " [" + std::string(unit->name) + "]";
    if (i > 0) out += ',';
    AppendDelimitedCell(out, name, ',');
  }
  out += "\r\n";
  for (const std::vector<NamedResult>& record : r.records) {
    for (std::size_t i = 0; i < record.size(); ++i) {
      if (i > 0) out += ',';
      const NamedResult& cell = record[i];
      const ShownResult shown = cell.shape == NamedResult::Shape::Text
                                    ? ShownResult{std::nullopt, {}, cell.text, "", ""}
                                    : ShowResult(cell, d.ResultUnit(cell.name, cell.dimension));
      // A cell that does not apply is left empty, as a spreadsheet expects.
      AppendDelimitedCell(out, shown.text == kNotApplicable ? "" : shown.text, ',');
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace rivulet
