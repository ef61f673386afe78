// Text cells handed to spreadsheets: what would run as a formula is written as text, numbers
// stay numbers, and the reader gets every text back exactly.
#include "core/files/csv_cell.h"

#include <gtest/gtest.h>

#include "core/files/rating_csv.h"

namespace rivulet {
namespace {

struct CellCase {
  const char* text;
  const char* written;  // the field in a comma-separated line
};

TEST(CsvCellTest, FormulasBecomeTextAndReadBack) {
  const CellCase cases[] = {
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+A1", "'+A1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1:A2)", "'@SUM(A1:A2)"},
      {"\tindent", "'\tindent"},
      {"\rcmd", "\"'\rcmd\""},
      {"=a,b", "\"'=a,b\""},
      {"-", "'-"},
      // Numbers with a sign are data, not formulas.
      {"-1.5", "-1.5"},
      {"+2e3", "+2e3"},
      {"-.5", "-.5"},
      // An apostrophe the user typed before a formula character is kept apart from ours.
      {"'=x", "''=x"},
      {"''@x", "'''@x"},
      {"'-1.5", "'-1.5"},
      {"'plain", "'plain"},
      {"O'Brien = 2", "O'Brien = 2"},
      {"", ""},
      {"a=b", "a=b"},
  };
  for (const CellCase& c : cases) {
    SCOPED_TRACE(c.text);
    std::string field;
    AppendDelimitedCell(field, c.text, ',');
    EXPECT_EQ(field, c.written);
    EXPECT_EQ(SpreadsheetCellText(SpreadsheetSafeCell(c.text)), c.text);
  }
}

TEST(CsvCellTest, RatingTextCellsAndCommentPiecesAreSafe) {
  // A spreadsheet splits the comment line at its commas: every piece after "# " is a cell.
  EXPECT_EQ(RatingCommentLines("Ditch,=1+1,-3, n 0.03,\"q\"")[1],
            "# Ditch,'=1+1,-3, n 0.03,\"\"\"q\"\"\"");
  EXPECT_EQ(RatingCommentLines("Rectangle: width 2 m, slope 1 /1000")[1],
            "# Rectangle: width 2 m, slope 1 /1000");
  const RatingTextColumn checks{"=Checks", {"-below minimum", "ok"}};
  const std::vector<RatingRow> rows(2);
  const auto lines = RatingLines(rows, false, RatingUnits{}, ',', &checks);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].ends_with(",'=Checks")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with(",'-below minimum")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with(",ok")) << lines[2];
}

}  // namespace
}  // namespace rivulet
