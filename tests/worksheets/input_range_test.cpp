// Every worksheet kind refuses numbers it cannot compute with (subnormal, past any real
// size, an n smoother than any surface), naming the field by its label, before any answer.
#include "core/worksheets/input_range.h"

#include <gtest/gtest.h>

#include <string>

#include "core/worksheets/document.h"
#include "core/worksheets/gutter_sheet.h"
#include "core/worksheets/inlet_sheet.h"
#include "core/worksheets/section_sheet.h"

namespace rivulet {
namespace {

// A solvable worksheet of each kind; a row replaces one of its inputs.
struct Base {
  const WorksheetKind& kind;
  nlohmann::json document;
};

Base Gutter() {
  return {GutterKind(), nlohmann::json::parse(R"({"rivulet": "worksheet", "version": 1,
    "kind": "gutter", "inputs": {"discharge": {"value": 0.05, "unit": "m3/s"},
    "longitudinalSlope": {"value": 1, "unit": "%"}, "manningsN": {"value": 0.016},
    "crossSlope": {"value": 2, "unit": "%"}}, "solveFor": "spread"})")};
}

Base Inlet() {
  return {InletKind(), nlohmann::json::parse(R"({"rivulet": "worksheet", "version": 1,
    "kind": "inlet", "inputs": {"discharge": {"value": 0.05, "unit": "m3/s"},
    "longitudinalSlope": {"value": 1, "unit": "%"}, "manningsN": {"value": 0.016},
    "crossSlope": {"value": 2, "unit": "%"}, "grateLength": {"value": 0.6, "unit": "m"},
    "grateWidth": {"value": 0.6, "unit": "m"}}, "options": {"location": "grade"}})")};
}

Base Section() {
  return {IrregularSectionKind(), nlohmann::json::parse(R"({"rivulet": "worksheet",
    "version": 1, "kind": "section", "inputs": {
    "points": {"unit": "ft", "station": [0, 10, 20, 30], "elevation": [100, 95, 95, 100]},
    "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.5, "unit": "%"},
    "discharge": {"value": 20, "unit": "ft3/s"}}, "solveFor": "depth"})")};
}

SheetOutcome Solve(const Base& base) {
  const WorksheetRead read = ParseWorksheet(base.document.dump());
  EXPECT_TRUE(read.document) << read.message;
  return read.document ? SolveWorksheet(base.kind, *read.document) : SheetOutcome();
}

TEST(InputRange, TheBaseWorksheetsSolve) {
  for (const Base& base : {Gutter(), Inlet(), Section()}) {
    const SheetOutcome o = Solve(base);
    EXPECT_TRUE(o.ok) << base.kind.name << ": " << o.message;
  }
}

TEST(InputRange, DegenerateNumbersAreRefusedByTheFieldsLabel) {
  const struct {
    Base base;
    const char* input;
    const char* entry;
    const char* field;
    const char* label;
  } rows[] = {
      {Gutter(), "manningsN", R"({"value": 5e-324})", "manningsN", "Manning's n"},
      {Gutter(), "discharge", R"({"value": 1e-320, "unit": "m3/s"})", "discharge", "Discharge"},
      {Gutter(), "crossSlope", R"({"value": 1e200, "unit": "%"})", "crossSlope", "Cross Slope Sx"},
      {Inlet(), "manningsN", R"({"value": 1e-300})", "manningsN", "Manning's n"},
      {Inlet(), "grateLength", R"({"value": 2e-310, "unit": "m"})", "grateLength", "Grate Length"},
      {Section(), "longitudinalSlope", R"({"value": 1e308, "unit": "%"})", "longitudinalSlope",
       "Longitudinal Slope"},
      {Section(), "discharge", R"({"value": 1e-320, "unit": "ft3/s"})", "discharge", "Discharge"},
      {Section(), "nZones", R"({"n": [1e-300]})", "nZones", "Manning's n of zone 1"},
      {Section(), "points",
       R"({"unit": "ft", "station": [0, 10, 20, 30], "elevation": [100, 4e-320, 95, 100]})",
       "points", "\"elevation\" item 2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.base.kind.name + " " + row.entry);
    Base base = row.base;
    base.document["inputs"][row.input] = nlohmann::json::parse(row.entry);
    const SheetOutcome o = Solve(base);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.field, row.field) << o.message;
    EXPECT_NE(o.message.find(row.label), std::string::npos) << o.message;
    EXPECT_TRUE(o.results.empty());
  }
}

// Only what the calculation reads is judged: a stale number left in an unused box (the
// unknown's, or a curb opening's on a grate) does not stop the worksheet.
TEST(InputRange, UnusedInputsAreNotJudged) {
  Base gutter = Gutter();
  gutter.document["inputs"]["spread"] = nlohmann::json::parse(R"({"value": 1e-320, "unit": "m"})");
  EXPECT_TRUE(Solve(gutter).ok);
  Base inlet = Inlet();
  inlet.document["inputs"]["openingLength"] =
      nlohmann::json::parse(R"({"value": 1e-320, "unit": "m"})");
  EXPECT_TRUE(Solve(inlet).ok);
}

}  // namespace
}  // namespace rivulet
