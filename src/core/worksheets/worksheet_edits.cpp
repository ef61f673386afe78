#include "core/worksheets/worksheet_edits.h"

#include <vector>

namespace rivulet {
namespace {

// The keys whose values differ between two maps, keys missing on one side included.
std::vector<std::string> Changed(const std::map<std::string, std::string>& a,
                                 const std::map<std::string, std::string>& b) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : a) {
    const auto other = b.find(key);
    if (other == b.end() || other->second != value) keys.push_back(key);
  }
  for (const auto& [key, value] : b)
    if (!a.count(key)) keys.push_back(key);
  return keys;
}

std::string InputLabel(const WorksheetKind& kind, const std::string& name) {
  for (const InputField& f : kind.inputs)
    if (f.name == name) return f.label;
  return "Input";
}

std::string OptionLabel(const WorksheetKind& kind, const std::string& name) {
  for (const OptionField& o : kind.options)
    if (o.name == name) return o.label;
  return "Option";
}

}  // namespace

EditStep DescribeEdit(const WorksheetKind& kind, const WorksheetEdits& before,
                      const WorksheetEdits& after) {
  const std::vector<std::string> texts = Changed(before.texts, after.texts);
  const std::vector<std::string> units = Changed(before.units, after.units);
  const std::vector<std::string> options = Changed(before.options, after.options);
  WorksheetEdits rest = after;
  rest.texts = before.texts;
  rest.title = before.title;
  const bool onlyTexts = rest == before;
  if (onlyTexts && before.title != after.title && texts.empty()) return {"Title", "title"};
  if (onlyTexts && before.title == after.title && texts.size() == 1)
    return {InputLabel(kind, texts.front()), "input:" + texts.front()};
  // Anything else is one step of its own, named by what it touched first.
  if (!units.empty()) return {InputLabel(kind, units.front()) + " Unit", ""};
  if (before.unknown != after.unknown) return {"Solve For", ""};
  if (!options.empty()) return {OptionLabel(kind, options.front()), ""};
  if (before.otherInputs != after.otherInputs) return {"Table Edit", ""};
  if (before.otherOptions != after.otherOptions) return {"Option", ""};
  if (before.system != after.system || before.resultUnits != after.resultUnits)
    return {"Result Units", ""};
  return {"Edit", ""};
}

}  // namespace rivulet
