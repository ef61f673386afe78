#include "core/cases/case_design.h"

#include <gtest/gtest.h>

#include "support/example_files.h"

namespace rivulet {
namespace {

TEST(CaseDesigns, EachRowGetsItsChecksAndAPipeItsNextStandardSize) {
  CaseDocument doc;
  std::string error;
  ASSERT_TRUE(doc.Open(Example("storm-sewer-cases.csv"), error)) << error;
  size_t sewer = 0, ditch = 0, refused = 0;
  for (size_t r = 0; r < doc.RowCount(); ++r) {
    const std::string& name = doc.Row(r).cells[*doc.Column("name")];
    if (name == "MH3-MH4") sewer = r;
    if (name == "Ditch") ditch = r;
    if (name == "Bad unit") refused = r;
  }
  const CaseStart start = CaseStart::BuiltIn(StartupValues::ForFolder("/nonexistent/rivulet"));
  const std::vector<CaseDesignCells> cells =
      CaseDesigns(doc, {sewer, ditch, refused}, start, DefaultDesignSettings());
  ASSERT_EQ(cells.size(), 3u);
  // 160 L/s at 5/1000, n 0.013: a 375 mm pipe carries 201.6 (375/450)^(8/3) = 124 L/s full,
  // too little; 450 mm is the next standard size.
  EXPECT_EQ(cells[0].standardSize.rfind("450 mm, ", 0), 0u) << cells[0].standardSize;
  EXPECT_FALSE(cells[0].checks.empty());
  // An open channel is checked but has no pipe size.
  EXPECT_FALSE(cells[1].checks.empty());
  EXPECT_EQ(cells[1].standardSize, "");
  // A row the sheet refuses has nothing to check.
  EXPECT_EQ(cells[2].checks, "");
  EXPECT_EQ(cells[2].standardSize, "");
}

}  // namespace
}  // namespace rivulet
