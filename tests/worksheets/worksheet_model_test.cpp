#include "core/worksheets/worksheet_model.h"

#include <gtest/gtest.h>

#include "core/shell/number_text.h"
#include "test_kind.h"

namespace rivulet {
namespace {

using testing::StripKind;

// A strip worksheet with every input typed, solved for discharge.
WorksheetModel Solved() {
  WorksheetModel m(StripKind());
  m.SetText("width", "3");
  m.SetText("depth", "0.5");
  m.SetText("slope", "0.001");
  m.SetText("manningsN", "0.013");
  m.Calculate();
  return m;
}

TEST(WorksheetModel, StartsWithDefaultsAndNoResults) {
  WorksheetModel m(StripKind());
  EXPECT_EQ(m.Unknown(), "discharge");
  EXPECT_EQ(m.Unit("width"), "m");
  EXPECT_EQ(m.Unit("discharge"), "m3/s");
  EXPECT_EQ(m.Unit("manningsN"), "");
  EXPECT_EQ(m.Option("lining"), "concrete");
  EXPECT_EQ(m.State(), ResultsState::None);
  EXPECT_EQ(m.StatusText(), kWorksheetWelcome);
  EXPECT_FALSE(m.HasUnsavedChanges());
  EXPECT_EQ(m.FileName(), "Untitled");
}

TEST(WorksheetModel, CalculateMakesResultsCurrentAndFillsTheUnknownsRow) {
  WorksheetModel m = Solved();
  EXPECT_EQ(m.State(), ResultsState::Current);
  EXPECT_EQ(m.StatusText(), kCalculationsComplete);
  EXPECT_EQ(m.Text("discharge"), "1.89744305911");
  m.SetUnit("discharge", "L/s");
  m.Calculate();
  EXPECT_EQ(m.Text("discharge"), "1897.44305911");
  const std::vector<ResultRow> rows = m.ResultRows();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1].label, "Discharge");
  EXPECT_EQ(rows[1].text, "1.897");
  EXPECT_EQ(rows[1].unitSymbol, "m³/s");
}

TEST(WorksheetModel, EveryEditOfWhatTheResultsDependOnMarksThemModified) {
  const struct {
    const char* name;
    void (*edit)(WorksheetModel&);
    bool staleResults;
  } cases[] = {
      {"text", [](WorksheetModel& m) { m.SetText("width", "4"); }, true},
      {"unit", [](WorksheetModel& m) { m.SetUnit("width", "ft"); }, true},
      {"unknown", [](WorksheetModel& m) { m.SetUnknown("depth"); }, true},
      {"option", [](WorksheetModel& m) { m.SetOption("lining", "earth"); }, true},
      {"title", [](WorksheetModel& m) { m.SetTitle("Ditch 4"); }, false},
      {"resultUnit", [](WorksheetModel& m) { m.SetResultUnit("discharge", "gpm"); }, false},
      {"resultSystem", [](WorksheetModel& m) { m.SetResultSystem(UnitSystem::US); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorksheetModel m = Solved();
    m.MarkSaved("/tmp/x.rvw");
    c.edit(m);
    EXPECT_TRUE(m.HasUnsavedChanges());
    EXPECT_EQ(m.State(), c.staleResults ? ResultsState::Modified : ResultsState::Current);
    if (c.staleResults) {
      EXPECT_EQ(m.StatusText(), kWorksheetModified);
      // A printed report of stale results carries none.
      for (const std::string& l : m.ReportLines())
        EXPECT_EQ(l.find("(X)  Discharge"), std::string::npos);
    }
  }
}

TEST(WorksheetModel, SameValuesAndUnknownNamesChangeNothing) {
  WorksheetModel m = Solved();
  m.MarkSaved("/tmp/x.rvw");
  m.SetText("width", "3");
  m.SetUnit("width", "m");
  m.SetUnit("width", "furlong");
  m.SetUnknown("discharge");
  m.SetUnknown("volume");
  m.SetOption("lining", "concrete");
  m.SetOption("colour", "red");
  m.SetText("nothing", "5");
  EXPECT_EQ(m.State(), ResultsState::Current);
  EXPECT_FALSE(m.HasUnsavedChanges());
}

TEST(WorksheetModel, TypedTextGoesThroughTheNumericFilter) {
  WorksheetModel m(StripKind());
  const std::pair<const char*, const char*> cases[] = {
      {"12abc", "12"},      {".", "0."}, {"1e", "1e"},  {"-", ""},
      {"2.5e-3", "2.5e-3"}, {"x", ""},   {"1,5", "1.5"}};
  for (const auto& [typed, kept] : cases) {
    EXPECT_EQ(m.SetText("width", typed), kept) << typed;
    EXPECT_EQ(m.Text("width"), kept);
  }
}

TEST(WorksheetModel, ARefusalNamesTheFieldShowsNoResultsAndAnEditMakesItModified) {
  WorksheetModel m = Solved();
  m.SetText("width", "");
  m.Calculate();
  EXPECT_EQ(m.State(), ResultsState::Failed);
  EXPECT_EQ(m.StatusText(), "Width is missing.") << "the window names fields by their labels";
  EXPECT_EQ(m.Outcome().field, "width");
  EXPECT_TRUE(m.ResultRows().empty());
  m.SetText("width", "2");
  EXPECT_EQ(m.State(), ResultsState::Modified);
}

TEST(WorksheetModel, DocumentRoundTripKeepsWhatTheWindowDoesNotEdit) {
  const WorksheetRead read = ParseWorksheet(testing::StripText(
      R"({"width": {"value": 10, "unit": "ft"}, "depth": {"value": 0.5, "unit": "m"},)"
      R"( "slope": {"value": 200, "unit": "1:x"}, "manningsN": {"value": 0.013},)"
      R"( "survey": {"unit": "m", "station": [0, 1]}})",
      "depth", R"("laterKey": 5, "resultUnitChoices": {"velocity": "ft/s"},)"));
  ASSERT_TRUE(read.document);
  Document d = *read.document;
  d.options["lining"] = "earth";
  d.options["laterOption"] = true;
  WorksheetModel m(StripKind());
  ASSERT_EQ(m.Load(d, "/data/a.rvw"), "");
  EXPECT_EQ(m.Text("width"), "10");
  EXPECT_EQ(m.Unit("width"), "ft");
  EXPECT_EQ(m.Unit("slope"), "1:x");
  EXPECT_EQ(m.Unknown(), "depth");
  EXPECT_EQ(m.Option("lining"), "earth");
  EXPECT_EQ(m.FileName(), "a.rvw");
  EXPECT_FALSE(m.HasUnsavedChanges());
  EXPECT_EQ(WorksheetText(m.ToDocument()), WorksheetText(d));
}

TEST(WorksheetModel, ALoadThatFailsChangesNothing) {
  WorksheetModel m = Solved();
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } cases[] = {
      {"unit", testing::StripText(R"({"width": {"value": 1, "unit": "m2"}})"),
       "Input \"width\": \"m2\" is not a length unit (m, cm, mm, ft, in)."},
      {"unknown", testing::StripText("{}", "slope"),
       "\"solveFor\" must be one of discharge, depth."},
      {"kind", R"({"rivulet": "worksheet", "version": 1, "kind": "gutter"})",
       "The file holds a gutter worksheet, not a strip one."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WorksheetRead read = ParseWorksheet(c.text);
    ASSERT_TRUE(read.document);
    EXPECT_EQ(m.Load(*read.document, "/x.rvw"), c.message);
    EXPECT_EQ(m.Text("width"), "3");
    EXPECT_EQ(m.State(), ResultsState::Current);
    EXPECT_EQ(m.FileName(), "Untitled");
  }
}

TEST(WorksheetModel, CopyTextListsInputsAndCurrentResultsOnly) {
  WorksheetModel m = Solved();
  const std::string copied = m.CopyText();
  EXPECT_NE(copied.find("Width\t3\tm\n"), std::string::npos);
  EXPECT_NE(copied.find("Discharge\t1.897\tm³/s\n"), std::string::npos);
  EXPECT_NE(copied.find("Calculations Complete!\n"), std::string::npos);
  m.SetText("width", "4");
  EXPECT_EQ(m.CopyText().find("Discharge\t"), std::string::npos);
}

}  // namespace
}  // namespace rivulet

namespace rivulet {
namespace {

// Each row: the input, its text and unit before, and after converting to the system.
TEST(WorksheetModel, ConvertInputsConvertsValuesAndKeepsUnitsBothSystemsUse) {
  struct Row {
    const char* input;
    const char* text;
    const char* unit;
    UnitSystem to;
    const char* convertedText;
    const char* convertedUnit;
  };
  const Row rows[] = {
      {"width", "10", "ft", UnitSystem::SI, "3.048", "m"},
      {"width", "3.048", "m", UnitSystem::US, "10", "ft"},
      {"width", "250", "mm", UnitSystem::SI, "250", "mm"},  // already SI: stays as typed
      {"width", "12", "in", UnitSystem::SI, "0.3048", "m"},
      {"discharge", "1", "ft3/s", UnitSystem::SI, "0.028316846592", "m3/s"},
      {"discharge", "100", "L/s", UnitSystem::US, "3.53146667214886", "ft3/s"},
      {"slope", "0.5", "%", UnitSystem::US, "0.5", "%"},  // both systems' unit
      {"slope", "0.001", "m/m", UnitSystem::US, "0.001", "ft/ft"},
      {"depth", "", "m", UnitSystem::US, "", "ft"},  // an empty row takes the unit alone
  };
  for (const Row& r : rows) {
    WorksheetModel m(StripKind());
    m.SetUnknown("discharge");
    m.SetUnit(r.input, r.unit);
    m.SetText(r.input, r.text);
    m.ConvertInputs(r.to);
    EXPECT_EQ(m.Text(r.input), r.convertedText) << r.input << " " << r.unit;
    EXPECT_EQ(m.Unit(r.input), r.convertedUnit) << r.input << " " << r.unit;
    EXPECT_EQ(m.ResultSystem(), r.to);
  }
}

TEST(WorksheetModel, ConvertInputsConvertsListsButNotManningsN) {
  const WorksheetRead read = ParseWorksheet(testing::StripText(
      R"({"width": {"value": 3, "unit": "m"}, "depth": {"value": 0.5, "unit": "m"},)"
      R"( "slope": {"value": 0.001, "unit": "m/m"}, "manningsN": {"value": 0.013},)"
      R"( "survey": {"unit": "ft", "station": [0, 10], "n": [0.03]}})",
      "discharge", ""));
  ASSERT_TRUE(read.document);
  WorksheetModel m(StripKind());
  ASSERT_EQ(m.Load(*read.document, "/data/a.rvw"), "");
  m.Calculate();
  m.ConvertInputs(UnitSystem::SI);
  const nlohmann::json* survey = m.ListInput("survey");
  ASSERT_NE(survey, nullptr);
  EXPECT_EQ((*survey)["unit"], "m");
  EXPECT_DOUBLE_EQ((*survey)["station"][1].get<double>(), 3.048);
  EXPECT_DOUBLE_EQ((*survey)["n"][0].get<double>(), 0.03);
  // The inputs changed: the results are to be calculated again.
  EXPECT_EQ(m.State(), ResultsState::Modified);
  EXPECT_TRUE(m.HasUnsavedChanges());
}

TEST(WorksheetModel, RowsAFileLeavesEmptyTakeItsUnitSystem) {
  std::string text = testing::StripText(
      R"({"width": {"value": 10, "unit": "ft"}, "depth": {"value": 1, "unit": "ft"},)"
      R"( "slope": {"value": 0.001, "unit": "ft/ft"}, "manningsN": {"value": 0.013}})");
  text.replace(text.find(R"("SI")"), 4, R"("US")");
  const WorksheetRead read = ParseWorksheet(text);
  ASSERT_TRUE(read.document);
  WorksheetModel m(StripKind());
  ASSERT_EQ(m.Load(*read.document, "/data/us.rvw"), "");
  EXPECT_EQ(m.Unit("discharge"), "ft3/s");
  m.Calculate();
  // 3.048 m wide, 0.3048 m deep: A 0.92903 m², R 0.254 m, Q = A/n R^(2/3) S^(1/2)
  // = 0.9065 m³/s = 32.01 ft³/s, echoed in the file's unit.
  EXPECT_NEAR(ReadNumber(m.Text("discharge")), 32.01, 0.01);
}

}  // namespace
}  // namespace rivulet
