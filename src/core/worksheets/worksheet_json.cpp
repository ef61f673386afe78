#include "core/worksheets/worksheet_json.h"

#include "core/shell/number_text.h"

namespace rivulet {
namespace {

using Json = nlohmann::ordered_json;

// An input as written: number inputs get their shown text; lists go out unchanged.
Json InputJson(const nlohmann::json& entry) {
  if (!entry.is_object() || !entry.contains("value") || !entry["value"].is_number())
    return Json(entry);
  const double value = entry["value"].get<double>();
  Json j;
  j["value"] = value;
  const auto unit = entry.find("unit");
  j["unit"] = unit != entry.end() && unit->is_string() ? unit->get<std::string>() : "";
  j["text"] = FormatNumber(value);
  return j;
}

}  // namespace

Json ResultJson(const NamedResult& result, const Document& document) {
  Json j;
  if (result.shape == NamedResult::Shape::Records) {
    Json rows = Json::array();
    for (const std::vector<NamedResult>& record : result.records) {
      Json row = Json::object();
      for (const NamedResult& r : record) row[r.name] = ResultJson(r, document);
      rows.push_back(std::move(row));
    }
    j["value"] = std::move(rows);
    j["unit"] = "";
    j["text"] = std::to_string(result.records.size());
    return j;
  }
  const ShownResult shown = ShowResult(result, document.ResultUnit(result.name, result.dimension));
  if (result.shape == NamedResult::Shape::Flag)
    j["value"] = result.flag;
  else if (result.shape == NamedResult::Shape::Text)
    j["value"] = result.text;
  else if (result.shape == NamedResult::Shape::Series)
    j["value"] = shown.values;
  else if (shown.value)
    j["value"] = *shown.value;
  else
    j["value"] = nullptr;
  j["unit"] = shown.unitName;
  j["text"] = shown.text;
  return j;
}

std::string WorksheetJsonLine(const std::string& file, const Document& document,
                              const SheetOutcome& outcome) {
  Json j;
  j["file"] = file;
  j["kind"] = document.kind;
  j["title"] = document.title;
  j["status"] = {{"ok", outcome.ok}, {"message", outcome.message}};
  if (!outcome.field.empty()) j["status"]["field"] = outcome.field;
  if (!document.solveFor.empty()) j["solveFor"] = document.solveFor;
  Json inputs = Json::object();
  for (auto it = document.inputs.begin(); it != document.inputs.end(); ++it)
    inputs[it.key()] = InputJson(it.value());
  j["inputs"] = std::move(inputs);
  j["options"] = Json(document.options);
  Json results = Json::object();
  for (const NamedResult& r : outcome.results) results[r.name] = ResultJson(r, document);
  j["results"] = std::move(results);
  j["warnings"] = outcome.warnings;
  return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace rivulet
