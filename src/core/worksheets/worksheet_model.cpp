#include "core/worksheets/worksheet_model.h"

#include <filesystem>

#include "core/shell/number_text.h"
#include "core/worksheets/worksheet_report.h"

namespace rivulet {
namespace {

const std::string kEmpty;

std::string DefaultUnit(Dimension dimension) {
  const FileUnit* unit = SystemUnit(dimension, UnitSystem::SI);
  return unit ? std::string(unit->name) : std::string();
}

const InputField* FindInput(const WorksheetKind& kind, const std::string& name) {
  for (const InputField& f : kind.inputs)
    if (f.name == name) return &f;
  return nullptr;
}

}  // namespace

WorksheetModel::WorksheetModel(const WorksheetKind& kind) : kind_(kind) {
  for (const InputField& f : kind_.inputs) {
    texts_[f.name] = "";
    units_[f.name] = DefaultUnit(f.dimension);
  }
  for (const OptionField& o : kind_.options)
    options_[o.name] = o.choices.empty() ? "" : o.choices.front().name;
  if (!kind_.unknowns.empty()) unknown_ = kind_.unknowns.front().name;
}

const std::string& WorksheetModel::Text(const std::string& input) const {
  const auto it = texts_.find(input);
  return it == texts_.end() ? kEmpty : it->second;
}

std::string WorksheetModel::SetText(const std::string& input, const std::string& text) {
  if (!texts_.count(input)) return "";
  const std::string kept = NumericInputText(text);
  if (kept != texts_[input]) {
    texts_[input] = kept;
    Edited();
  }
  return kept;
}

const std::string& WorksheetModel::Unit(const std::string& input) const {
  const auto it = units_.find(input);
  return it == units_.end() ? kEmpty : it->second;
}

void WorksheetModel::SetUnit(const std::string& input, const std::string& unitName) {
  const InputField* field = FindInput(kind_, input);
  if (!field || !FindFileUnit(field->dimension, unitName) || units_[input] == unitName) return;
  units_[input] = unitName;
  Edited();
}

void WorksheetModel::SetUnknown(const std::string& name) {
  if (name == unknown_) return;
  for (const Choice& c : kind_.unknowns) {
    if (c.name != name) continue;
    unknown_ = name;
    Edited();
  }
}

const nlohmann::json* WorksheetModel::ListInput(const std::string& name) const {
  const auto it = otherInputs_.find(name);
  return it == otherInputs_.end() ? nullptr : &*it;
}

void WorksheetModel::SetListInput(const std::string& name, nlohmann::json entry) {
  if (const nlohmann::json* now = ListInput(name); now && *now == entry) return;
  otherInputs_[name] = std::move(entry);
  Edited();
}

bool WorksheetModel::FlagOption(const std::string& name) const {
  const auto it = otherOptions_.find(name);
  return it != otherOptions_.end() && it->is_boolean() && it->get<bool>();
}

void WorksheetModel::SetFlagOption(const std::string& name, bool value) {
  if (FlagOption(name) == value && otherOptions_.contains(name)) return;
  otherOptions_[name] = value;
  Edited();
}

const std::string& WorksheetModel::Option(const std::string& name) const {
  const auto it = options_.find(name);
  return it == options_.end() ? kEmpty : it->second;
}

void WorksheetModel::SetOption(const std::string& name, const std::string& value) {
  const auto it = options_.find(name);
  if (it == options_.end() || it->second == value) return;
  it->second = value;
  Edited();
}

void WorksheetModel::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  unsaved_ = true;
}

void WorksheetModel::SetResultSystem(UnitSystem system) {
  system_ = system;
  resultUnits_.clear();
  unsaved_ = true;
}

void WorksheetModel::SetResultUnit(const std::string& result, const std::string& unitName) {
  resultUnits_[result] = unitName;
  unsaved_ = true;
}

void WorksheetModel::Edited() {
  unsaved_ = true;
  if (state_ == ResultsState::Current || state_ == ResultsState::Failed)
    state_ = ResultsState::Modified;
}

void WorksheetModel::Calculate() {
  const Document document = ToDocument();
  outcome_ = SolveWorksheet(kind_, document);
  state_ = outcome_.ok ? ResultsState::Current : ResultsState::Failed;
  if (!outcome_.ok || unknown_.empty()) return;
  // The unknown's own row shows what was found, in the row's unit.
  const NamedResult* found = outcome_.Find(unknown_);
  const InputField* field = FindInput(kind_, unknown_);
  if (!found || !field || !found->value) return;
  const FileUnit* unit = FindFileUnit(field->dimension, units_[unknown_]);
  texts_[unknown_] = FormatNumber(unit ? FromBase(*unit, *found->value) : *found->value);
}

std::string WorksheetModel::StatusText() const {
  switch (state_) {
    case ResultsState::None:
      return kWorksheetWelcome;
    case ResultsState::Modified:
      return kWorksheetModified;
    case ResultsState::Current:
    case ResultsState::Failed:
      break;
  }
  return outcome_.message;
}

std::vector<ResultTable> WorksheetModel::ResultTables() const {
  if (!outcome_.ok) return {};
  return rivulet::ResultTables(outcome_, ToDocument());
}

std::vector<ResultRow> WorksheetModel::ResultRows() const {
  std::vector<ResultRow> rows;
  if (!outcome_.ok) return rows;
  const Document units = ToDocument();
  auto add = [&](const NamedResult& r, const std::string& label) {
    const ShownResult shown = ShowResult(r, units.ResultUnit(r.name, r.dimension));
    rows.push_back({r.name, label, r.dimension, shown.text, shown.unitName, shown.unitSymbol});
  };
  for (const NamedResult& r : outcome_.results) {
    if (r.table) continue;
    if (r.shape != NamedResult::Shape::Records) {
      add(r, r.label);
      continue;
    }
    for (size_t i = 0; i < r.records.size(); ++i)
      for (const NamedResult& field : r.records[i])
        add(field, r.label + " " + std::to_string(i + 1) + " " + field.label);
  }
  return rows;
}

Document WorksheetModel::ToDocument() const {
  Document d;
  d.kind = kind_.name;
  d.title = title_;
  d.inputs = otherInputs_;
  for (const InputField& f : kind_.inputs) {
    const std::string& text = Text(f.name);
    if (!text.empty()) d.SetInput(f.name, ReadNumber(text), Unit(f.name));
  }
  d.solveFor = unknown_;
  d.options = otherOptions_;
  for (const auto& [name, value] : options_) d.options[name] = value;
  d.resultUnits = system_;
  d.resultUnitChoices = resultUnits_;
  d.unknownKeys = unknownKeys_;
  return d;
}

std::string WorksheetModel::Load(const Document& document, const std::string& path) {
  if (document.kind != kind_.name)
    return "The file holds a " + document.kind + " worksheet, not a " + kind_.name + " one.";
  WorksheetModel loaded(kind_);
  try {
    for (auto it = document.inputs.begin(); it != document.inputs.end(); ++it) {
      const InputField* field = FindInput(kind_, it.key());
      const auto& entry = it.value();
      const bool number =
          entry.is_object() && entry.contains("value") && entry.at("value").is_number();
      if (!field || !number) {
        loaded.otherInputs_[it.key()] = entry;
        continue;
      }
      document.OptionalInput(field->name, field->dimension, Allowed::Any);  // checks the unit
      loaded.texts_[field->name] = FormatNumber(entry.at("value").get<double>());
      if (field->dimension != Dimension::None)
        loaded.units_[field->name] = entry.at("unit").get<std::string>();
    }
    for (auto it = document.options.begin(); it != document.options.end(); ++it) {
      if (!loaded.options_.count(it.key())) loaded.otherOptions_[it.key()] = it.value();
    }
    for (const OptionField& o : kind_.options) {
      std::vector<std::string> names;
      for (const Choice& c : o.choices) names.push_back(c.name);
      loaded.options_[o.name] = document.Option(o.name, names, loaded.options_[o.name]);
    }
    if (!kind_.unknowns.empty()) {
      std::vector<std::string> names;
      for (const Choice& c : kind_.unknowns) names.push_back(c.name);
      loaded.unknown_ = document.Unknown(names);
    }
  } catch (const WorksheetError& e) {
    return e.what();
  }
  loaded.title_ = document.title;
  loaded.system_ = document.resultUnits;
  loaded.resultUnits_ = document.resultUnitChoices;
  loaded.unknownKeys_ = document.unknownKeys;
  loaded.path_ = path;
  texts_ = std::move(loaded.texts_);
  units_ = std::move(loaded.units_);
  options_ = std::move(loaded.options_);
  unknown_ = std::move(loaded.unknown_);
  title_ = std::move(loaded.title_);
  path_ = std::move(loaded.path_);
  system_ = loaded.system_;
  resultUnits_ = std::move(loaded.resultUnits_);
  otherInputs_ = std::move(loaded.otherInputs_);
  otherOptions_ = std::move(loaded.otherOptions_);
  unknownKeys_ = std::move(loaded.unknownKeys_);
  outcome_ = SheetOutcome();
  state_ = ResultsState::None;
  unsaved_ = false;
  return "";
}

void WorksheetModel::MarkSaved(const std::string& path) {
  path_ = path;
  unsaved_ = false;
}

std::string WorksheetModel::FileName() const {
  return path_.empty() ? "Untitled" : std::filesystem::path(path_).filename().string();
}

std::vector<std::string> WorksheetModel::ReportLines() const {
  const Document document = ToDocument();
  if (state_ == ResultsState::Current)
    return WorksheetReportLines(kind_, document, outcome_, path_);
  SheetOutcome stale = SheetOutcome::Failed(StatusText(), outcome_.field);
  return WorksheetReportLines(kind_, document, stale, path_);
}

std::string WorksheetModel::CopyText() const {
  std::string text = kind_.title + "\n";
  if (!title_.empty()) text += title_ + "\n";
  for (const InputField& f : kind_.inputs) {
    if (IsUnknown(f.name) || IsRowList(f) || Text(f.name).empty()) continue;
    const FileUnit* unit = FindFileUnit(f.dimension, Unit(f.name));
    text += f.label + "\t" + Text(f.name) + "\t" + (unit ? std::string(unit->symbol) : "") + "\n";
  }
  if (state_ == ResultsState::Current) {
    for (const ResultRow& r : ResultRows())
      text += r.label + "\t" + r.text + "\t" + r.unitSymbol + "\n";
    for (const ResultTable& t : ResultTables()) {
      text += t.label + "\n";
      for (size_t c = 0; c < t.headers.size(); ++c)
        text +=
            (c ? "\t" : "") + t.headers[c] + (t.units[c].empty() ? "" : " (" + t.units[c] + ")");
      text += "\n";
      for (const auto& row : t.cells) {
        for (size_t c = 0; c < row.size(); ++c) text += (c ? "\t" : "") + row[c];
        text += "\n";
      }
    }
  }
  return text + StatusText() + "\n";
}

}  // namespace rivulet
