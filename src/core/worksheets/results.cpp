#include "core/worksheets/results.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/shell/number_text.h"

namespace rivulet {

NamedResult NamedResult::Number(std::string name, std::string label, Dimension dimension,
                                std::optional<double> value, int digits) {
  NamedResult r;
  r.name = std::move(name);
  r.label = std::move(label);
  r.dimension = dimension;
  r.value = value;
  r.digits = digits;
  return r;
}

NamedResult NamedResult::Level(std::string name, std::string label, std::optional<double> value) {
  NamedResult r = Number(std::move(name), std::move(label), Dimension::Length, value);
  r.level = true;
  return r;
}

NamedResult NamedResult::Flag(std::string name, std::string label, bool flag) {
  NamedResult r;
  r.name = std::move(name);
  r.label = std::move(label);
  r.shape = Shape::Flag;
  r.flag = flag;
  return r;
}

NamedResult NamedResult::Text(std::string name, std::string label, std::string text) {
  NamedResult r;
  r.name = std::move(name);
  r.label = std::move(label);
  r.shape = Shape::Text;
  r.text = std::move(text);
  return r;
}

NamedResult NamedResult::Series(std::string name, std::string label, Dimension dimension,
                                std::vector<double> values, int digits) {
  NamedResult r = Number(std::move(name), std::move(label), dimension, std::nullopt, digits);
  r.shape = Shape::Series;
  r.series = std::move(values);
  return r;
}

NamedResult NamedResult::Table(std::string name, std::string label,
                               std::vector<std::vector<NamedResult>> records) {
  NamedResult r = Records(std::move(name), std::move(label), std::move(records));
  r.table = true;
  return r;
}

NamedResult NamedResult::Records(std::string name, std::string label,
                                 std::vector<std::vector<NamedResult>> records) {
  NamedResult r;
  r.name = std::move(name);
  r.label = std::move(label);
  r.shape = Shape::Records;
  r.records = std::move(records);
  return r;
}

SheetOutcome SheetOutcome::Solved(std::vector<NamedResult> results) {
  SheetOutcome o;
  o.ok = true;
  o.message = kCalculationsComplete;
  o.results = std::move(results);
  return o;
}

SheetOutcome SheetOutcome::Failed(std::string message, std::string field) {
  SheetOutcome o;
  o.message = std::move(message);
  o.field = std::move(field);
  return o;
}

const NamedResult* SheetOutcome::Find(const std::string& name) const {
  for (const NamedResult& r : results)
    if (r.name == name) return &r;
  return nullptr;
}

std::string ShownNumber(double value, int digits) {
  if (!std::isfinite(value)) return kNotApplicable;
  digits = std::clamp(digits, 1, 15);
  // Rounded in decimal first, then written plainly, so "9.03" never shows as 9.0299999.
  const std::string decimal = CharsOf(value, std::chars_format::scientific, digits - 1);
  double rounded = value;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), rounded);
  if (rounded == 0) return "0";
  return FormatNumber(rounded);
}

ShownResult ShowResult(const NamedResult& result, const FileUnit* unit) {
  ShownResult shown;
  if (unit) {
    shown.unitName = unit->name;
    shown.unitSymbol = unit->symbol;
  }
  auto inUnit = [&](double base) { return unit ? FromBase(*unit, base) : base; };
  auto text = [&](double v) {
    return result.level ? SurveyLevelText(v, unit ? unit->factor : 1.0)
                        : ShownNumber(v, result.digits);
  };
  switch (result.shape) {
    case NamedResult::Shape::Number:
      if (result.value && std::isfinite(inUnit(*result.value))) {
        shown.value = inUnit(*result.value);
        shown.text = text(*shown.value);
      } else {
        shown.text = kNotApplicable;
      }
      break;
    case NamedResult::Shape::Flag:
      shown.text = result.flag ? "Yes" : "No";
      break;
    case NamedResult::Shape::Series:
      for (double v : result.series) {
        shown.values.push_back(inUnit(v));
        shown.text += (shown.text.empty() ? "" : ", ") + text(inUnit(v));
      }
      if (shown.text.empty()) shown.text = kNotApplicable;
      break;
    case NamedResult::Shape::Records:
      shown.text = std::to_string(result.records.size());
      break;
    case NamedResult::Shape::Text:
      shown.text = result.text;
      break;
  }
  return shown;
}

}  // namespace rivulet
