#include "core/worksheets/worksheet_model.h"

#include <gtest/gtest.h>

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
