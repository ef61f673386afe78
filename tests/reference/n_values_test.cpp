// The n-value table: what OK writes for every row, without a row, after a label click,
// and what Cancel and More... leave alone.
#include "core/reference/n_values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace rivulet {
namespace {

// A stand-in for the sheet's n field that counts its change handler's runs.
struct NField {
  TextBox txtManning{"txtManning"};
  int changes = 0;
  NField() {
    txtManning.onChange = [this] { ++changes; };
  }
};

struct TableUnderTest {
  NField field;
  frmNValues table{field.txtManning};
  int unloads = 0;
  int grassOpenings = 0;
  TableUnderTest() {
    table.unload = [this] { ++unloads; };
    table.showGrassTable = [this] { ++grassOpenings; };
  }
};

struct RowCase {
  int row;
  const char* caption;
  const char* written;
};

class NValueRowTest : public testing::TestWithParam<RowCase> {};

// The captions keep three decimals; the written text is the shortest form.
INSTANTIATE_TEST_SUITE_P(AllRows, NValueRowTest,
                         testing::Values(RowCase{1, "0.010", "0.01"}, RowCase{2, "0.012", "0.012"},
                                         RowCase{3, "0.013", "0.013"}, RowCase{4, "0.013", "0.013"},
                                         RowCase{5, "0.013", "0.013"}, RowCase{6, "0.014", "0.014"},
                                         RowCase{7, "0.014", "0.014"}, RowCase{8, "0.015", "0.015"},
                                         RowCase{9, "0.017", "0.017"},
                                         RowCase{10, "0.022", "0.022"},
                                         RowCase{11, "0.024", "0.024"},
                                         RowCase{12, "0.050", "0.05"}, RowCase{13, "0.100", "0.1"}),
                         [](const testing::TestParamInfo<RowCase>& info) {
                           return "Row" + std::to_string(info.param.row);
                         });

TEST_P(NValueRowTest, OkWritesTheRowsTextOnceAndCloses) {
  const RowCase& c = GetParam();
  TableUnderTest t;
  t.field.txtManning.SetText("0.5");
  t.field.changes = 0;
  EXPECT_EQ(t.table.Opt(c.row).Caption(), c.caption);
  t.table.Opt(c.row).SetValue(true);
  t.table.cmdOK.Click();
  EXPECT_EQ(t.field.txtManning.Text(), c.written);
  EXPECT_EQ(t.field.changes, 1);
  EXPECT_EQ(t.unloads, 1);
}

TEST(NValueTable, OkWithoutASelectionWrites0013) {
  TableUnderTest t;
  t.field.txtManning.SetText("0.02");
  t.table.cmdOK.Click();
  EXPECT_EQ(t.field.txtManning.Text(), "0.013");
  EXPECT_EQ(t.unloads, 1);
}

TEST(NValueTable, OpensWithNothingSelectedWhateverTheFieldHolds) {
  NField field;
  field.txtManning.SetText("0.014");
  frmNValues table(field.txtManning);
  EXPECT_EQ(table.rows.Selected(), nullptr);
  EXPECT_DOUBLE_EQ(table.ChosenValue(), kNValueWithoutChoice);
}

TEST(NValueTable, ClickingAMaterialSelectsItsRowOnly) {
  TableUnderTest t;
  t.table.Opt(12).SetValue(true);
  ASSERT_EQ(t.table.MaterialLabel(6).Caption(), "Vitrified clay sewer tile");
  t.table.Label_Click(6);
  for (int row = 1; row <= kNValueRowCount; ++row)
    EXPECT_EQ(t.table.Opt(row).Value(), row == 6) << "row " << row;
  t.table.cmdOK.Click();
  EXPECT_EQ(t.field.txtManning.Text(), "0.014");
}

TEST(NValueTable, LabelClickRunsTheOptionsOwnHandler) {
  TableUnderTest t;
  int clicks = 0;
  t.table.Opt(9).onClick = [&] { ++clicks; };
  t.table.Label_Click(9);
  t.table.Label_Click(9);  // already selected: no second click, as with the option itself
  EXPECT_EQ(clicks, 1);
}

TEST(NValueTable, CancelLeavesTheFieldAlone) {
  TableUnderTest t;
  t.field.txtManning.SetText("0.02");
  t.field.changes = 0;
  t.table.Opt(13).SetValue(true);
  t.table.cmdCancel.Click();
  EXPECT_EQ(t.field.txtManning.Text(), "0.02");
  EXPECT_EQ(t.field.changes, 0);
  EXPECT_EQ(t.unloads, 1);
}

TEST(NValueTable, MoreOpensTheGrassTableAndKeepsTheChoice) {
  TableUnderTest t;
  t.table.Opt(10).SetValue(true);
  t.table.Command1.Click();
  EXPECT_EQ(t.grassOpenings, 1);
  EXPECT_EQ(t.unloads, 0);
  EXPECT_TRUE(t.table.Opt(10).Value());
  EXPECT_EQ(t.field.changes, 0);
}

// The sheet reads "." whatever the locale, so the table must write it under a comma locale.
TEST(NValueTable, WritesAPointUnderACommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
    GTEST_SKIP() << "no German locale installed";
  TableUnderTest t;
  t.table.Opt(1).SetValue(true);
  t.table.cmdOK.Click();
  const std::string written = t.field.txtManning.Text();
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(written, "0.01");
}

}  // namespace
}  // namespace rivulet
