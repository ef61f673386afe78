// The window's table: files kept whole through save and open, rows through the clipboard,
// and rows exchanged with the calculation sheet both ways with the same results.
#include "core/cases/case_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "cases_fixture.h"

namespace rivulet {
namespace {

using cases_test::TempFolder;

std::string CellOf(const CaseDocument& d, size_t row, const std::string& column) {
  return d.Row(row).cells[*d.Column(column)];
}

void Put(CaseDocument& d, size_t row, const std::string& column, const std::string& text) {
  d.SetCell(row, *d.Column(column), text);
}

// Two rows: a pipe solved for depth and a rectangle with an unknown column in the file.
CaseDocument TwoRows(const TempFolder& folder) {
  folder.Write("in.csv",
               "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,slope,"
               "slopeUnit,manningsN,job\r\n"
               "p,pipe,depth,0.05,m3/s,,m,0.45,m,5,/1000,0.013,\"A, 1\"\r\n"
               "r,rectangle,discharge,,cfs,1.5,ft,4,ft,0.2,%,0.015,B\r\n");
  CaseDocument d;
  std::string error;
  EXPECT_TRUE(d.Open(folder.File("in.csv"), error)) << error;
  return d;
}

// A spreadsheet that writes a decimal comma separates its cells by semicolons: such a table
// reads, says so, and its numbers calculate.
TEST(CaseDocumentTest, ASemicolonTableWithDecimalCommasReadsAndSaysSo) {
  TempFolder folder;
  folder.Write("semi.csv",
               "name;section;solveFor;flow;flowUnit;depth;depthUnit;width;widthUnit;slope;"
               "slopeUnit;manningsN\r\n"
               "p;pipe;depth;0,05;m3/s;;m;0,45;m;5;/1000;0,013\r\n");
  CaseDocument d;
  std::string error;
  ASSERT_TRUE(d.Open(folder.File("semi.csv"), error)) << error;
  EXPECT_EQ(d.ReadAs(), "semicolon-separated, a comma in a number its decimal point");
  ASSERT_EQ(d.RowCount(), 1u);
  EXPECT_EQ(d.Row(0).cells[*d.Column("flow")], "0,05");
  d.Compute(0, CaseStart::BuiltIn(folder.Startup()));
  EXPECT_EQ(d.Row(0).mark, CaseRowMark::Solved);
  CaseDocument plain = TwoRows(folder);
  EXPECT_EQ(plain.ReadAs(), "comma-separated");
}

TEST(CaseDocumentTest, SaveAndOpenKeepEveryCellAndMark) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  ASSERT_EQ(d.RowCount(), 2u);
  EXPECT_FALSE(d.Modified());
  EXPECT_EQ(d.Header()[12], "job");
  const CaseStart start = CaseStart::BuiltIn(folder.Startup());
  for (size_t r = 0; r < d.RowCount(); ++r) d.Compute(r, start);
  EXPECT_EQ(d.Row(0).mark, CaseRowMark::Solved);
  EXPECT_EQ(CellOf(d, 0, "depth"), "0.152706816314931");
  ASSERT_TRUE(d.Save(folder.File("out.csv")));
  const std::string bytes = folder.Read("out.csv");
  EXPECT_EQ(bytes.rfind("\xEF\xBB\xBFname,section,", 0), 0u);
  EXPECT_NE(bytes.find("\"A, 1\""), std::string::npos);

  CaseDocument again;
  std::string error;
  ASSERT_TRUE(again.Open(folder.File("out.csv"), error)) << error;
  EXPECT_EQ(again.Header(), d.Header());
  for (size_t r = 0; r < d.RowCount(); ++r) {
    EXPECT_EQ(again.Row(r).cells, d.Row(r).cells);
    EXPECT_EQ(again.Row(r).mark, d.Row(r).mark);
  }
  // An edit marks the row for recalculation and the table as changed.
  Put(again, 1, "depth", "2");
  EXPECT_EQ(again.Row(1).mark, CaseRowMark::Pending);
  EXPECT_TRUE(again.Modified());
}

TEST(CaseDocumentTest, FailedOpenAndSaveChangeNothing) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  folder.Write("no-n.csv", "section,solveFor,flow,depth,slope\npipe,depth,1,,1\n");
  std::string error;
  EXPECT_FALSE(d.Open(folder.File("no-n.csv"), error));
  EXPECT_EQ(error, folder.File("no-n.csv") + ": the required column \"manningsN\" is missing.");
  EXPECT_EQ(d.RowCount(), 2u);
  EXPECT_FALSE(d.Open(folder.File("none.csv"), error));
  EXPECT_EQ(d.RowCount(), 2u);
  // A named pipe is refused unopened: opening it would wait for a writer for ever.
  ASSERT_EQ(mkfifo(folder.File("pipe.csv").c_str(), 0600), 0);
  EXPECT_FALSE(d.Open(folder.File("pipe.csv"), error));
  EXPECT_NE(error.find("named pipe"), std::string::npos) << error;
  EXPECT_EQ(d.RowCount(), 2u);
  // A folder that is not there: the save fails and says so by its result.
  EXPECT_FALSE(d.Save(folder.File("missing/out.csv")));
}

TEST(CaseDocumentTest, FormulaTextsAreSavedAsTextAndReadBackAsTyped) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  Put(d, 0, "name", "=HYPERLINK(\"http://x\",\"y\")");
  Put(d, 1, "name", "@cmd");
  Put(d, 1, "job", "'-x");
  Put(d, 1, "depth", "-1.5");
  ASSERT_TRUE(d.Save(folder.File("out.csv")));
  const std::string bytes = folder.Read("out.csv");
  EXPECT_NE(bytes.find("\r\n\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\","), std::string::npos);
  EXPECT_NE(bytes.find("\r\n'@cmd,"), std::string::npos);
  EXPECT_NE(bytes.find(",''-x"), std::string::npos);
  EXPECT_NE(bytes.find(",-1.5,"), std::string::npos);
  CaseDocument again;
  std::string error;
  ASSERT_TRUE(again.Open(folder.File("out.csv"), error)) << error;
  for (size_t r = 0; r < d.RowCount(); ++r) EXPECT_EQ(again.Row(r).cells, d.Row(r).cells);
  // The clipboard's text is guarded the same way and pastes back as typed.
  const std::string text = d.RowsAsText({0, 1});
  EXPECT_NE(text.find("\n'@cmd\t"), std::string::npos);
  const auto pasted = d.RowsFromText(text);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[1], d.Row(1).cells);
}

TEST(CaseDocumentTest, QuoteLeftOpenRefusesTheFile) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  folder.Write("open.csv",
               "name,section,solveFor,flow,depth,slope,manningsN\r\n"
               "a,pipe,depth,1,,1,0.013\r\n"
               "\"b,pipe,depth,1,,1,0.013\r\n"
               "c,pipe,depth,1,,1,0.013\r\n");
  std::string error;
  EXPECT_FALSE(d.Open(folder.File("open.csv"), error));
  EXPECT_EQ(error, folder.File("open.csv") +
                       " could not be read: the quote that opens on line 3 is never closed.");
  EXPECT_EQ(d.RowCount(), 2u);
}

TEST(CaseDocumentTest, ClipboardRowsByNameOrByPosition) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  const std::string text = d.RowsAsText({1});
  EXPECT_EQ(text.substr(0, text.find('\n')).find("name\tsection\tsolveFor"), 0u);
  // With its header the rows land by name, whatever the order of the columns.
  const auto byName =
      d.RowsFromText("manningsN\tsection\tsolveFor\tflow\r\n0.02\ttriangle\tdepth\t1\r\n");
  ASSERT_EQ(byName.size(), 1u);
  EXPECT_EQ(byName[0][*d.Column("section")], "triangle");
  EXPECT_EQ(byName[0][*d.Column("manningsN")], "0.02");
  EXPECT_EQ(byName[0].size(), d.Header().size());
  // Without one they go in column order; comma-separated text is read as CSV.
  const auto byPosition = d.RowsFromText("x,pipe,velocity\n");
  ASSERT_EQ(byPosition.size(), 1u);
  EXPECT_EQ(byPosition[0][1], "pipe");
  // Copy and paste gives the same row back.
  const auto pasted = d.RowsFromText(text);
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_EQ(pasted[0], d.Row(1).cells);
}

TEST(CaseDocumentTest, RowsTravelToTheSheetAndBackWithTheSameResults) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  const CaseStart start = CaseStart::BuiltIn(folder.Startup());
  for (size_t r = 0; r < d.RowCount(); ++r) {
    SCOPED_TRACE(r);
    d.Compute(r, start);
    // The row on a sheet the user has been using: discharge mode, another section.
    CaseServices services;
    frmRivulet form(services, folder.Startup());
    start.Load(form);
    form.cboSection.SetListIndex(3);
    form.cmdVelDis_Click();
    std::string error;
    const auto caseInput = d.InputOf(r, form.optVelDis1.Caption() == "Velocity", error);
    ASSERT_TRUE(caseInput) << error;
    ApplyCase(form, *caseInput);
    form.cmdCalculate_Click();
    EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
    EXPECT_EQ(form.txtArea.Text(), CellOf(d, r, "area"));
    EXPECT_EQ(form.txtVelDis2.Text(), CellOf(d, r, "otherFlow"));
    // And back: the sheet as a new row computes to the same results.
    d.InsertRows(d.RowCount(), {d.RowFromSheet(form)});
    const size_t back = d.RowCount() - 1;
    d.Compute(back, start);
    EXPECT_EQ(d.Row(back).mark, CaseRowMark::Solved) << CellOf(d, back, "message");
    for (const char* column : {"section", "solveFor", "area", "otherFlow", "depth", "flow"})
      EXPECT_EQ(CellOf(d, back, column), CellOf(d, r, column)) << column;
    d.RemoveRows({back});
  }
}

TEST(CaseDocumentTest, RowsAddedDuplicatedAndRemoved) {
  TempFolder folder;
  CaseDocument d = TwoRows(folder);
  d.DuplicateRow(0);
  ASSERT_EQ(d.RowCount(), 3u);
  EXPECT_EQ(d.Row(1).cells, d.Row(0).cells);
  d.InsertRows(1, {{"short"}});
  EXPECT_EQ(d.Row(1).cells.size(), d.Header().size());
  d.RemoveRows({3, 1, 1});
  ASSERT_EQ(d.RowCount(), 2u);
  EXPECT_EQ(CellOf(d, 1, "name"), "p");
  EXPECT_TRUE(d.Modified());
}

}  // namespace
}  // namespace rivulet
