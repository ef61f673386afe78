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

/// One column of a list input: a quantity of each row, or a word among choices.
struct ListColumn {
  std::string name;   ///< "diameter", the member of each row object
  std::string label;  ///< "Diameter", as the window's header and the report show it
  Dimension dimension = Dimension::None;
  bool optional = false;             ///< may be left empty in a row
  std::vector<Choice> choices = {};  ///< not empty: a word column (the first is the default)
  Allowed allowed = Allowed::Positive;
};

/// A quantity a kind reads from "inputs", or a list of rows when it has columns.
struct InputField {
  std::string name;   ///< "crossSlope"
  std::string label;  ///< "Cross Slope"
  Dimension dimension = Dimension::None;
  bool optional = false;  ///< may be left out (a check limit, say)
  /// Not empty: the input is a list of rows ("orifices": [{...}, ...]) with these members.
  std::vector<ListColumn> columns = {};
};

/// Whether the input is a list of rows rather than one quantity.
inline bool IsRowList(const InputField& field) { return !field.columns.empty(); }

/// A text option of "options" and its choices, the first being the default.
struct OptionField {
  std::string name;
  std::string label;
  std::vector<Choice> choices;
};

/// How a document's calculation uses an input, an option or "solveFor".
enum class FieldUse {
  Unused,        ///< not read: greyed in the window, left out of the report
  Required,      ///< must be given
  Optional,      ///< read when given
  EitherOfPair,  ///< one of two inputs of which either will do (a pan's slope or depression)
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
  /// How an input, an option or "solveFor" bears on this document's calculation (a grate
  /// type does not for a curb opening): the window greys and captions by it, the report
  /// leaves out what is unused. Empty: inputs are optional as marked, the rest required.
  std::function<FieldUse(const Document&, const std::string& field)> use = nullptr;
  /// The help page's section of this kind ("gutterflow"), which Help and F1 open.
  std::string helpAnchor;
  /// The --json name of every result the kind may give, in the order it gives them.
  std::vector<std::string> results;
};

/// How the document's calculation uses the field, by its kind's rule.
FieldUse UseOfField(const WorksheetKind& kind, const Document& document, const std::string& field);

/// Whether the field bears on the document's calculation at all.
bool FieldApplies(const WorksheetKind& kind, const Document& document, const std::string& field);

/// An input's caption as windows show it for the document: its label, with "(optional)"
/// or "(or a)" naming the other of a pair by its symbol (the last word of its label).
std::string InputCaption(const WorksheetKind& kind, const Document& document,
                         const InputField& input);

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
