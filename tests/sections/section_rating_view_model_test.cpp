// The section rating window's view-model: one solve gives the table's slope and its marks,
// the typed end of the range is read in the shown unit (blank for bank-full, walls or not),
// and the note and heading are worded from the sheet.
#include "core/worksheets/section_rating_view_model.h"

#include <gtest/gtest.h>

#include "core/worksheets/section_sheet.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

constexpr double kFt = 0.3048, kCfs = kFt * kFt * kFt;

class SectionRatingViewModelTest : public ::testing::Test {
 protected:
  SectionRatingViewModelTest() {
    const WorksheetRead read = ReadWorksheetFile(Example("ditch-survey.rvw"));
    EXPECT_TRUE(read.document) << read.message;
    if (read.document) {
      EXPECT_EQ("", sheet.Load(*read.document, Example("ditch-survey.rvw")));
    }
  }

  WorksheetModel sheet{IrregularSectionKind()};
  int solves = 0;
  SectionResults last;
  SectionRatingViewModel model{[this](const SectionInputs& in) {
    ++solves;
    return last = SolveSection(in);
  }};
};

// Solving for the slope used to solve twice per refresh, and the marks searched their
// critical depths a third time.
TEST_F(SectionRatingViewModelTest, OneSolveGivesTheSlopeAndTheMarks) {
  const struct {
    const char* unknown;
    double depthFt;  // of the solution: typed when solving for slope
  } rows[] = {{"depth", 0}, {"slope", 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.unknown);
    sheet.SetUnknown(row.unknown);
    if (row.depthFt > 0) {
      sheet.SetText("depth", "2");
      sheet.SetUnit("depth", "ft");
    }
    solves = 0;
    model.Refresh(sheet, {});
    ASSERT_EQ(1, solves);
    ASSERT_TRUE(last.ok) << last.message;
    model.SetRequest({RatingStep::Discharge, "", 40});
    EXPECT_EQ(1, solves);  // another step rebuilds from the same solve
    ASSERT_TRUE(model.Table().problem.empty()) << model.Table().problem;
    EXPECT_EQ(40u, model.Table().rows.size());

    // The solution lies on the curve at the sheet's 120 ft³/s, at the slope the solve found.
    const std::vector<RatingMark>& marks = model.Marks();
    ASSERT_EQ(1 + last.criticalDepths.size(), marks.size());
    EXPECT_EQ(RatingMarkKind::Solution, marks[0].kind);
    if (row.depthFt > 0) {
      EXPECT_NEAR(row.depthFt * kFt, marks[0].row.depth, 1e-12);
    }
    EXPECT_NEAR(120 * kCfs, marks[0].row.discharge, 1e-8);
    for (size_t i = 1; i < marks.size(); ++i) {
      EXPECT_EQ(RatingMarkKind::Critical, marks[i].kind);
      EXPECT_EQ(last.criticalDepths[i - 1], marks[i].row.depth);
      EXPECT_NEAR(120 * kCfs, marks[i].forDischarge, 1e-8);
    }
  }

  // A sheet that cannot be read is not solved; its refusal is the note.
  sheet.SetText("depth", "");
  solves = 0;
  model.Refresh(sheet, {});
  EXPECT_EQ(0, solves);
  EXPECT_TRUE(model.Table().rows.empty());
  EXPECT_NE(std::string::npos, model.Note().find("\"depth\"")) << model.Note();
}

TEST_F(SectionRatingViewModelTest, TheRangeEndsWhereTypedOrAtBankFull) {
  const std::string depths = "Depths above the lowest point.";
  const struct {
    const char* name;
    bool walls;
    RatingStep step;
    const char* to;
    double lastDepthFt;  // 0: not checked
    double lastCfs;      // 0: not checked
    std::string note;
  } rows[] = {
      {"blank is bank-full", false, RatingStep::Depth, "", 5, 0,
       depths + " The range stops at bank-full (5 feet)."},
      {"typed in feet", false, RatingStep::Depth, " 2 ", 2, 0, depths},
      {"a discharge in ft³/s", false, RatingStep::Discharge, "50", 0, 50, depths},
      {"beyond bank-full is cut", false, RatingStep::Depth, "9", 5, 0,
       depths + " The range stops at bank-full (5 feet)."},
      // Walls carry the rating above the banks only as far as asked.
      {"walls: blank is still bank-full", true, RatingStep::Depth, "", 5, 0,
       depths + " The range stops at bank-full (5 feet)."},
      {"walls: typed above the banks", true, RatingStep::Depth, "9", 9, 0, depths},
      {"not a number", false, RatingStep::Depth, "2x", 0, 0,
       "The end of the range \"2x\" is not a number: leave it empty for bank-full."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sheet.SetFlagOption("extendWalls", row.walls);
    model.Refresh(sheet, {row.step, row.to, 11});
    EXPECT_EQ(row.note, model.Note());
    const std::vector<RatingRow>& table = model.Table().rows;
    if (row.lastDepthFt == 0 && row.lastCfs == 0) {
      EXPECT_TRUE(table.empty());
      continue;
    }
    ASSERT_EQ(11u, table.size());
    if (row.lastDepthFt > 0) {
      EXPECT_NEAR(row.lastDepthFt * kFt, table.back().depth, 1e-9);
    }
    if (row.lastCfs > 0) {
      EXPECT_NEAR(row.lastCfs * kCfs, table.back().discharge, 1e-9);
    }
  }
}

TEST_F(SectionRatingViewModelTest, HeadingAndNamesFromTheSheet) {
  model.Refresh(sheet, {});
  EXPECT_EQ("Irregular Section: Rating Table - ditch-survey.rvw", model.Title());
  EXPECT_EQ(
      "Roadside ditch, surveyed section at station 3+50: 10 points, 3 zones (n 0.045, 0.032, "
      "0.05), slope 0.004 m/m, composite n by conveyance",
      model.Description());
  EXPECT_EQ("ditch-survey-rating.pdf", model.ProposedName("pdf"));
  EXPECT_EQ("feet", model.RangeUnit());
  model.SetRequest({RatingStep::Discharge, "", 11});
  EXPECT_EQ("ft³/s", model.RangeUnit());
}

}  // namespace
}  // namespace rivulet
