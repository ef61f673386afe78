#include "core/worksheets/kinds.h"

#include <exception>

#include "core/worksheets/gutter_sheet.h"
#include "core/worksheets/inlet_sheet.h"
#include "core/worksheets/section_sheet.h"

namespace rivulet {

const KindTable& BuiltInKinds() {
  // One line per kind; each kind's adapter (<kind>_sheet.h) offers its WorksheetKind.
  static const KindTable kinds{&GutterKind(), &InletKind(), &IrregularSectionKind()};
  return kinds;
}

const WorksheetKind* FindKind(const KindTable& kinds, std::string_view name) {
  for (const WorksheetKind* k : kinds)
    if (k && k->name == name) return k;
  return nullptr;
}

bool FieldApplies(const WorksheetKind& kind, const Document& document, const std::string& field) {
  return !kind.applies || kind.applies(document, field);
}

SheetOutcome SolveWorksheet(const WorksheetKind& kind, const Document& document) {
  SheetOutcome outcome;
  try {
    outcome = kind.solve(document);
  } catch (const WorksheetError& e) {
    return SheetOutcome::Failed(e.what(), e.Field());
  } catch (const std::exception& e) {
    return SheetOutcome::Failed(std::string("The worksheet could not be solved: ") + e.what());
  }
  if (outcome.ok)
    if (std::string why = document.ResultUnitProblem(outcome.results); !why.empty())
      return SheetOutcome::Failed(why, "resultUnitChoices");
  if (!outcome.ok) {
    outcome.results.clear();
    if (outcome.message.empty()) outcome.message = "The worksheet could not be solved.";
  }
  return outcome;
}

}  // namespace rivulet
