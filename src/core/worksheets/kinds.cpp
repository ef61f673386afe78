#include "core/worksheets/kinds.h"

#include <exception>

#include "core/worksheets/culvert_sheet.h"
#include "core/worksheets/gutter_sheet.h"
#include "core/worksheets/inlet_sheet.h"
#include "core/worksheets/input_range.h"
#include "core/worksheets/network_sheet.h"
#include "core/worksheets/orifice_sheet.h"
#include "core/worksheets/outlet_sheet.h"
#include "core/worksheets/pressure_pipe_sheet.h"
#include "core/worksheets/profile_sheet.h"
#include "core/worksheets/section_sheet.h"
#include "core/worksheets/weir_sheet.h"

namespace rivulet {

const KindTable& BuiltInKinds() {
  // One line per kind; each kind's adapter (<kind>_sheet.h) offers its WorksheetKind.
  static const KindTable kinds{&GutterKind(),  &InletKind(),        &IrregularSectionKind(),
                               &WeirKind(),    &OrificeKind(),      &OutletStructureKind(),
                               &CulvertKind(), &PressurePipeKind(), &ProfileKind(),
                               &NetworkKind()};
  return kinds;
}

const WorksheetKind* FindKind(const KindTable& kinds, std::string_view name) {
  for (const WorksheetKind* k : kinds)
    if (k && k->name == name) return k;
  return nullptr;
}

FieldUse UseOfField(const WorksheetKind& kind, const Document& document, const std::string& field) {
  if (kind.use) return kind.use(document, field);
  for (const InputField& f : kind.inputs)
    if (f.name == field) return f.optional ? FieldUse::Optional : FieldUse::Required;
  return FieldUse::Required;
}

bool FieldApplies(const WorksheetKind& kind, const Document& document, const std::string& field) {
  return UseOfField(kind, document, field) != FieldUse::Unused;
}

std::string InputCaption(const WorksheetKind& kind, const Document& document,
                         const InputField& input) {
  switch (UseOfField(kind, document, input.name)) {
    case FieldUse::Optional:
      return input.label + " (optional)";
    case FieldUse::EitherOfPair:
      for (const InputField& other : kind.inputs) {
        if (other.name == input.name ||
            UseOfField(kind, document, other.name) != FieldUse::EitherOfPair)
          continue;
        const size_t blank = other.label.rfind(' ');
        return input.label + " (or " + other.label.substr(blank + 1) + ")";
      }
      return input.label;
    case FieldUse::Unused:
    case FieldUse::Required:
      break;
  }
  return input.label;
}

SheetOutcome SolveWorksheet(const WorksheetKind& kind, const Document& document) {
  SheetOutcome outcome;
  try {
    CheckInputRanges(kind, document);
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
    outcome.solved.reset();
    if (outcome.message.empty()) outcome.message = "The worksheet could not be solved.";
  }
  return outcome;
}

}  // namespace rivulet
