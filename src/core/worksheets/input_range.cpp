#include "core/worksheets/input_range.h"

#include <cmath>
#include <limits>

#include "core/shell/number_text.h"

namespace rivulet {

double MostInputMagnitude(Dimension dimension) {
  switch (dimension) {
    case Dimension::Length:
      return 1e7;
    case Dimension::Area:
      return 1e10;
    case Dimension::Velocity:
      return 1e3;
    case Dimension::Discharge:
      return 1e7;
    case Dimension::Slope:
      return 100;
    case Dimension::Shear:
    case Dimension::Pressure:
      return 1e7;
    case Dimension::SideSlope:
      return 1e4;
    case Dimension::Angle:
      return 360;
    case Dimension::KinematicViscosity:
      return 1;
    case Dimension::Time:
      return 1e8;
    case Dimension::RainfallIntensity:
      return 1;
    case Dimension::DrainageArea:
      return 1e12;
    case Dimension::None:
      break;
  }
  return 1e6;
}

void CheckInputNumber(double value, double base, Dimension dimension, const std::string& field,
                      const std::string& label, const std::string& unitSymbol) {
  const std::string shown = FormatNumber(value) + (unitSymbol.empty() ? "" : " " + unitSymbol);
  if (!std::isfinite(value) || !std::isfinite(base))
    throw WorksheetError(field, label + ": " + shown + " is not a finite number.");
  // A subnormal number has lost digits already, and every power or product taken of it
  // loses more: the answer could not be trusted.
  if (std::fpclassify(value) == FP_SUBNORMAL || std::fpclassify(base) == FP_SUBNORMAL)
    throw WorksheetError(field, label + ": " + shown +
                                    " is too close to zero to compute with; enter 0 or a "
                                    "number of at least " +
                                    FormatNumber(std::numeric_limits<double>::min()) + ".");
  const double most = MostInputMagnitude(dimension);
  if (std::fabs(base) > most) {
    const FileUnit* baseUnit = SystemUnit(dimension, UnitSystem::SI);
    throw WorksheetError(field,
                         label + ": " + shown + " is out of range (at most " + FormatNumber(most) +
                             (baseUnit ? " " + std::string(baseUnit->symbol) : "") + " in size).");
  }
}

namespace {

const InputField* FieldNamed(const WorksheetKind& kind, const std::string& name) {
  for (const InputField& f : kind.inputs)
    if (f.name == name) return &f;
  return nullptr;
}

void CheckScalar(const InputField& f, const nlohmann::json& entry) {
  const auto value = entry.find("value");
  if (value == entry.end() || !value->is_number()) return;  // the kind's reader refuses it
  const double v = value->get<double>();
  const FileUnit* unit = nullptr;
  if (f.dimension != Dimension::None) {
    const auto name = entry.find("unit");
    if (name == entry.end() || !name->is_string()) return;
    unit = FindFileUnit(f.dimension, name->get<std::string>());
    if (!unit) return;
  }
  CheckInputNumber(v, unit ? ToBase(*unit, v) : v, f.dimension, f.name, f.label,
                   unit ? std::string(unit->symbol) : "");
}

// A list's numbers have no dimension here: only what no dimension can excuse is refused.
void CheckLists(const std::string& name, const nlohmann::json& entry) {
  for (auto member = entry.begin(); member != entry.end(); ++member) {
    if (!member->is_array()) continue;
    for (size_t i = 0; i < member->size(); ++i) {
      const nlohmann::json& item = (*member)[i];
      if (!item.is_number()) continue;
      const double v = item.get<double>();
      if (std::fpclassify(v) != FP_SUBNORMAL) continue;
      CheckInputNumber(
          v, v, Dimension::None, name,
          "Input \"" + name + "\", \"" + member.key() + "\" item " + std::to_string(i + 1), "");
    }
  }
}

// Each row's quantities by their column; nested point lists as CheckLists does.
void CheckRows(const InputField& field, const nlohmann::json& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].is_object()) continue;  // the kind's reader refuses it
    const std::string row = field.label + " row " + std::to_string(i + 1);
    for (const ListColumn& column : field.columns) {
      const auto member = rows[i].find(column.name);
      if (member == rows[i].end() || !member->is_object() || !column.choices.empty()) continue;
      InputField cell;
      cell.name = field.name;
      cell.label = row + ", " + column.label;
      cell.dimension = column.dimension;
      CheckScalar(cell, *member);
    }
    for (auto member = rows[i].begin(); member != rows[i].end(); ++member)
      if (member->is_object()) CheckLists(field.name, *member);
  }
}

}  // namespace

void CheckInputRanges(const WorksheetKind& kind, const Document& document) {
  if (!document.inputs.is_object()) return;
  for (auto it = document.inputs.begin(); it != document.inputs.end(); ++it) {
    const InputField* field = FieldNamed(kind, it.key());
    if (it->is_array() && field && IsRowList(*field) && FieldApplies(kind, document, field->name))
      CheckRows(*field, *it);
    if (!it->is_object()) continue;
    if (field && !FieldApplies(kind, document, field->name)) continue;
    // The unknown's box may hold a stale answer; it is not read.
    if (field && field->name == document.solveFor) continue;
    if (field) {
      CheckScalar(*field, *it);
    } else {
      CheckLists(it.key(), *it);
    }
  }
}

}  // namespace rivulet
