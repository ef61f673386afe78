// The kinds of worksheet: what each reads (inputs, unknowns, options, for windows and
// reports) and the adapter that solves a document. One table names them all.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/worksheets/document.h"
#include "core/worksheets/results.h"

namespace rivulet {

/// A name as in files and --json, with its label as windows show it.
struct Choice {
  std::string name;
  std::string label;
};

/// A quantity a kind reads from "inputs".
struct InputField {
  std::string name;   ///< "crossSlope"
  std::string label;  ///< "Cross Slope"
  Dimension dimension = Dimension::None;
  bool optional = false;  ///< may be left out (a check limit, say)
};

/// A text option of "options" and its choices, the first being the default.
struct OptionField {
  std::string name;
  std::string label;
  std::vector<Choice> choices;
};

/// One kind of worksheet. solve reads the document through its typed access (a
/// WorksheetError it throws becomes a failed outcome naming the field) and calls the
/// kind's pure core.
struct WorksheetKind {
  std::string name;   ///< "gutter", the file's "kind"
  std::string title;  ///< "Gutter Flow", window and report title
  std::vector<InputField> inputs;
  std::vector<Choice> unknowns;  ///< choices of "solveFor"; empty when there is none
  std::vector<OptionField> options;
  std::function<SheetOutcome(const Document&)> solve;
  /// Whether an input, an option or "solveFor" bears on this document's calculation (a
  /// grate type does not for a curb opening); the report leaves out what does not. Empty:
  /// everything does.
  std::function<bool(const Document&, const std::string& field)> applies = nullptr;
};

/// Whether the field bears on the document's calculation by its kind's rule.
bool FieldApplies(const WorksheetKind& kind, const Document& document, const std::string& field);

/// The kinds a run knows, looked up by name. Tests build their own.
using KindTable = std::vector<const WorksheetKind*>;

/// Every kind this program offers.
const KindTable& BuiltInKinds();

/// The kind of that name in the table, or nullptr.
const WorksheetKind* FindKind(const KindTable& kinds, std::string_view name);

/// Solves the document with its kind: never throws; refusals and arithmetic faults come
/// back as failed outcomes, and a kind's failure never carries results.
SheetOutcome SolveWorksheet(const WorksheetKind& kind, const Document& document);

}  // namespace rivulet
