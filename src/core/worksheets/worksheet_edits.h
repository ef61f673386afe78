// What the user edits in a worksheet, taken whole, so that Undo and Redo can put it back:
// the typed texts (as typed, so "0.50" stays "0.50"), units, the unknown, options, lists,
// the title and the results' units.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "core/worksheets/kinds.h"

namespace rivulet {

struct WorksheetEdits {
  std::map<std::string, std::string> texts, units, options, resultUnits;
  std::string unknown, title;
  UnitSystem system = UnitSystem::SI;
  nlohmann::json otherInputs, otherOptions;
  bool operator==(const WorksheetEdits&) const = default;
};

/// How an edit reads in the Edit menu ("Undo Depth"), and what lets the next one join it:
/// keys typed into the same box make one step, so the key is that box's name; any other
/// edit has an empty key and stands alone.
struct EditStep {
  std::string text;
  std::string mergeKey;
};
EditStep DescribeEdit(const WorksheetKind& kind, const WorksheetEdits& before,
                      const WorksheetEdits& after);

}  // namespace rivulet
