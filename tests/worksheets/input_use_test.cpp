// Which inputs a worksheet's options leave in use: the report lists only those, and the
// captions the window shows say which are optional or one of a pair, for every kind alike.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/worksheets/gutter_sheet.h"
#include "core/worksheets/section_sheet.h"
#include "core/worksheets/worksheet_report.h"

namespace rivulet {
namespace {

Document Parsed(const std::string& text) {
  WorksheetRead read = ParseWorksheet(text);
  EXPECT_TRUE(read.document) << read.message;
  return read.document.value_or(Document{});
}

std::string Gutter(const std::string& type, const std::string& inputs,
                   const std::string& solveFor = "spread", const std::string& known = "other") {
  return R"({"rivulet": "worksheet", "version": 1, "kind": "gutter", "inputs": {)"
         R"("longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "manningsN": {"value": 0.016},)" +
         inputs + R"(}, "solveFor": ")" + solveFor + R"(", "options": {"gutterType": ")" + type +
         R"(", "known": ")" + known + R"("}, "resultUnits": "SI"})";
}

std::string Section(const std::string& inputs, const std::string& solveFor) {
  return R"({"rivulet": "worksheet", "version": 1, "kind": "section", "inputs": {)"
         R"("points": {"unit": "m", "station": [0, 1, 2, 3], "elevation": [2, 0, 0, 2]},)"
         R"("nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.001, "unit": "m/m"})" +
         (inputs.empty() ? "" : ", " + inputs) + R"(}, "solveFor": ")" + solveFor +
         R"(", "resultUnits": "SI"})";
}

const char kQ[] = R"("discharge": {"value": 0.05, "unit": "m3/s"})";

// The labels of the report's Inputs block: each row's first 24 columns after its margin.
std::vector<std::string> ReportedInputs(const WorksheetKind& kind, const Document& d) {
  std::vector<std::string> labels;
  bool inputs = false;
  for (const std::string& line : WorksheetReportLines(kind, d, SolveWorksheet(kind, d), "")) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) continue;
    if (inputs && line.find("---") != std::string::npos) break;
    // A survey's points follow as a table of their own, not as input rows.
    const bool pointTable = std::isdigit(static_cast<unsigned char>(line[start])) ||
                            line.compare(start, 6, "Point ") == 0;
    if (inputs && !pointTable) {
      std::string label = line.substr(start, 24);
      label.erase(label.find_last_not_of(' ') + 1);
      labels.push_back(label);
    }
    inputs = inputs || line.substr(start) == "Inputs";
  }
  return labels;
}

TEST(InputUse, ReportsListOnlyTheInputsTheOptionsUse) {
  const struct {
    const char* what;
    const WorksheetKind& kind;
    std::string text;
    std::vector<std::string> listed;
  } rows[] = {
      {"a V-shaped gutter reads neither the pan nor the single cross slope",
       GutterKind(),
       Gutter("vShaped", std::string(kQ) + R"(, "crossSlope1": {"value": 0.04, "unit": "m/m"},)"
                                           R"("crossSlope2": {"value": 0.25, "unit": "m/m"},)"
                                           R"("crossSlope": {"value": 0.02, "unit": "m/m"},)"
                                           R"("gutterWidth": {"value": 0.6, "unit": "m"})"),
       {"Discharge", "Longitudinal Slope SL", "Manning's n", "Outer Cross Slope Sx1",
        "Inner Cross Slope Sx2", "Solve For", "Gutter Type", "Found From"}},
      {"a uniform gutter has no pan depression, but its width gives Eo",
       GutterKind(),
       Gutter("uniform", std::string(kQ) + R"(, "crossSlope": {"value": 0.02, "unit": "m/m"},)"
                                           R"("gutterWidth": {"value": 0.6, "unit": "m"},)"
                                           R"("gutterDepression": {"value": 0.05, "unit": "m"})"),
       {"Discharge", "Longitudinal Slope SL", "Manning's n", "Cross Slope Sx", "Gutter Width W",
        "Solve For", "Gutter Type", "Found From"}},
      {"from the depth at the curb, the discharge given is not read",
       GutterKind(),
       Gutter("uniform",
              std::string(kQ) + R"(, "crossSlope": {"value": 0.02, "unit": "m/m"},)"
                                R"("depthAtCurb": {"value": 0.05, "unit": "m"})",
              "spread", "depthAtCurb"),
       {"Depth at Curb", "Longitudinal Slope SL", "Manning's n", "Cross Slope Sx", "Solve For",
        "Gutter Type", "Found From"}},
      {"a section's elevation wins over its depth",
       IrregularSectionKind(),
       Section(R"("waterSurfaceElevation": {"value": 1, "unit": "m"},)"
               R"("depth": {"value": 0.5, "unit": "m"})",
               "discharge"),
       {"Longitudinal Slope", "Water Surface Elevation", "Solve For", "Composite n Method"}},
      {"a section solved for its depth reads no elevation",
       IrregularSectionKind(),
       Section(std::string(kQ) + R"(, "waterSurfaceElevation": {"value": 1, "unit": "m"})",
               "depth"),
       {"Longitudinal Slope", "Discharge", "Solve For", "Composite n Method"}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ReportedInputs(row.kind, Parsed(row.text)), row.listed) << row.what;
}

TEST(InputUse, CaptionsSayWhatIsOptionalOrOneOfAPair) {
  const struct {
    const WorksheetKind& kind;
    std::string text;
    const char* input;
    const char* caption;
  } rows[] = {
      {GutterKind(), Gutter("uniform", kQ), "gutterWidth", "Gutter Width W (optional)"},
      {GutterKind(), Gutter("composite", kQ), "gutterWidth", "Gutter Width W"},
      {GutterKind(), Gutter("composite", kQ), "gutterCrossSlope", "Gutter Cross Slope Sw (or a)"},
      {GutterKind(), Gutter("composite", kQ), "gutterDepression", "Gutter Depression a (or Sw)"},
      {GutterKind(), Gutter("uniform", kQ), "kerbHeight", "Kerb Height (optional)"},
      {IrregularSectionKind(), Section("", "discharge"), "waterSurfaceElevation",
       "Water Surface Elevation (or Depth)"},
      {IrregularSectionKind(), Section("", "discharge"), "depth", "Depth (or Elevation)"},
  };
  for (const auto& row : rows) {
    const Document d = Parsed(row.text);
    const InputField* field = nullptr;
    for (const InputField& f : row.kind.inputs)
      if (f.name == row.input) field = &f;
    ASSERT_NE(field, nullptr) << row.input;
    EXPECT_EQ(InputCaption(row.kind, d, *field), row.caption) << row.text;
  }
}

}  // namespace
}  // namespace rivulet
