// A small worksheet kind for the tests: uniform flow in a wide rectangular strip by
// Manning's equation, with discharge or depth as the unknown.
#pragma once

#include <cmath>
#include <string>

#include "core/worksheets/kinds.h"
#include "support/temp_folder.h"

namespace rivulet::testing {

/// Q = (1/n) (b y) (b y / (b + 2 y))^(2/3) S^(1/2), SI.
inline double StripDischarge(double width, double depth, double slope, double n) {
  const double area = width * depth;
  return area / n * std::pow(area / (width + 2 * depth), 2.0 / 3.0) * std::sqrt(slope);
}

inline SheetOutcome SolveStrip(const Document& d) {
  const std::string unknown = d.Unknown({"discharge", "depth"});
  const double width = d.Input("width", Dimension::Length);
  const double slope = d.Input("slope", Dimension::Slope);
  const double n = d.Input("manningsN", Dimension::None);
  double depth = 0;
  if (unknown == "discharge") {
    depth = d.Input("depth", Dimension::Length);
  } else {
    const double q = d.Input("discharge", Dimension::Discharge);
    double lo = 0, hi = 1e4;
    for (int i = 0; i < 200; ++i) {
      const double mid = 0.5 * (lo + hi);
      (StripDischarge(width, mid, slope, n) < q ? lo : hi) = mid;
    }
    depth = 0.5 * (lo + hi);
  }
  const double q = StripDischarge(width, depth, slope, n);
  SheetOutcome o = SheetOutcome::Solved({
      NamedResult::Number("depth", "Depth", Dimension::Length, depth),
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, q),
      NamedResult::Number("flowArea", "Flow Area", Dimension::Area, width * depth),
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, q / (width * depth)),
      NamedResult::Number("criticalDepth", "Critical Depth", Dimension::Length, std::nullopt),
      NamedResult::Flag("deep", "Deeper Than Wide", depth > width),
  });
  o.methodLines.push_back("Manning's equation over the whole strip, SI.");
  if (depth > width) o.warnings.push_back("The depth exceeds the width.");
  return o;
}

inline const WorksheetKind& StripKind() {
  static const WorksheetKind kind{
      "strip",
      "Strip Flow",
      {{"width", "Width", Dimension::Length},
       {"depth", "Depth", Dimension::Length},
       {"discharge", "Discharge", Dimension::Discharge},
       {"slope", "Slope", Dimension::Slope},
       {"manningsN", "Manning's N", Dimension::None}},
      {{"discharge", "Discharge"}, {"depth", "Depth"}},
      {{"lining", "Lining", {{"concrete", "Concrete"}, {"earth", "Earth"}}}},
      SolveStrip,
      nullptr,
      "worksheets",
      {"depth", "discharge", "flowArea", "velocity", "criticalDepth", "deep"}};
  return kind;
}

/// Weirs side by side at one head: Q = Σ count · c · L · h^1.5 over the rows of "weirs".
inline SheetOutcome SolveWeirRow(const Document& d) {
  const double head = d.Input("head", Dimension::Length);
  double total = 0;
  std::vector<std::vector<NamedResult>> records;
  for (const InputRow& row : d.InputRows("weirs")) {
    const double length = row.Number("length", Dimension::Length);
    const double c = row.OptionalNumber("coefficient", Dimension::None).value_or(1.7);
    const double count = row.Word("shape", {"single", "double"}, "single") == "double" ? 2 : 1;
    const double q = count * c * length * std::pow(head, 1.5);
    total += q;
    records.push_back({NamedResult::Text("id", "Id", row.Id()),
                       NamedResult::Number("discharge", "Discharge", Dimension::Discharge, q)});
  }
  if (records.empty()) return SheetOutcome::Failed("Give at least one weir.", "weirs");
  return SheetOutcome::Solved(
      {NamedResult::Number("discharge", "Discharge", Dimension::Discharge, total),
       NamedResult::Table("weirs", "Weirs", std::move(records))});
}

inline const WorksheetKind& WeirRowKind() {
  static const WorksheetKind kind{"weirRow",
                                  "Weir Row",
                                  {{"head", "Head", Dimension::Length},
                                   {"weirs",
                                    "Weirs",
                                    Dimension::None,
                                    false,
                                    {{"length", "Length", Dimension::Length},
                                     {"coefficient", "Coefficient", Dimension::None, true},
                                     {"shape",
                                      "Shape",
                                      Dimension::None,
                                      false,
                                      {{"single", "Single"}, {"double", "Double"}}}}}},
                                  {},
                                  {},
                                  SolveWeirRow,
                                  nullptr,
                                  "worksheets",
                                  {"discharge", "weirs"}};
  return kind;
}

inline const KindTable& TestKinds() {
  static const KindTable kinds{&StripKind()};
  return kinds;
}

/// A strip worksheet's text with the given inputs object (JSON) and unknown.
inline std::string StripText(const std::string& inputs, const std::string& solveFor = "discharge",
                             const std::string& extra = "") {
  return R"({"rivulet": "worksheet", "version": 1, "kind": "strip", "title": "Test strip",)" +
         extra + R"( "inputs": )" + inputs + R"(, "solveFor": ")" + solveFor +
         R"(", "options": {}, "resultUnits": "SI"})";
}

inline const char kStripInputs[] =
    R"({"width": {"value": 3, "unit": "m"}, "depth": {"value": 0.5, "unit": "m"},)"
    R"( "slope": {"value": 0.1, "unit": "%"}, "manningsN": {"value": 0.013}})";

}  // namespace rivulet::testing
