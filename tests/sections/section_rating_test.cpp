// The rating of a surveyed section: its rows agree with single solves, discharge steps land
// on their discharges, and the range stops at bank-full unless the ends are walled.
#include "core/sections/section_rating.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/sections/section_solve.h"

namespace rivulet {
namespace {

StationSection Ditch() {
  StationSection s;
  s.station = {0, 3, 4, 6, 7, 12};
  s.elevation = {10.8, 9.6, 9.0, 9.05, 9.7, 10.5};  // bank-full at the right end, 10.5
  s.breaks = {3.5, 6.5};
  s.n = {0.045, 0.03, 0.05};
  return s;
}

TEST(SectionRating, RowsAgreeWithSolvesAndStopAtBankFull) {
  const RatingTable depths = BuildSectionRating(Ditch(), CompositeMethod::Conveyance, 0.002,
                                                {RatingStep::Depth, 0, 2, 21});
  ASSERT_TRUE(depths.problem.empty()) << depths.problem;
  ASSERT_TRUE(depths.cutAt);
  EXPECT_DOUBLE_EQ(1.5, *depths.cutAt);
  ASSERT_EQ(21u, depths.rows.size());
  EXPECT_EQ(0, depths.rows.front().discharge);
  for (size_t i = 1; i < depths.rows.size(); ++i) {
    const RatingRow& row = depths.rows[i];
    EXPECT_GT(row.discharge, depths.rows[i - 1].discharge);
    SectionInputs in;
    in.section = Ditch();
    in.slope = 0.002;
    in.solveFor = SectionUnknown::Discharge;
    in.depth = row.depth;
    const SectionResults r = SolveSection(in);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_DOUBLE_EQ(r.discharge, row.discharge);
    EXPECT_DOUBLE_EQ(r.froudeNumber, *row.froude);
  }

  const RatingTable flows = BuildSectionRating(Ditch(), CompositeMethod::Horton, 0.002,
                                               {RatingStep::Discharge, 0.5, 1e6, 40});
  ASSERT_TRUE(flows.problem.empty()) << flows.problem;
  ASSERT_TRUE(flows.cutAt);  // the bank-full discharge
  EXPECT_NEAR(1.5, flows.rows.back().depth, 1e-9);
  const SectionModel model(Ditch(), CompositeMethod::Horton);
  for (const RatingRow& row : flows.rows)
    EXPECT_NEAR(row.discharge, SectionRatingRow(model, 0.002, row.depth).discharge,
                1e-8 * row.discharge);

  StationSection walled = Ditch();
  walled.extendWalls = true;
  const RatingTable high =
      BuildSectionRating(walled, CompositeMethod::Conveyance, 0.002, {RatingStep::Depth, 0, 3, 4});
  EXPECT_TRUE(high.problem.empty());
  EXPECT_FALSE(high.cutAt);
  EXPECT_EQ(3, high.rows.back().depth);
}

TEST(SectionRating, RefusesWhatHasNoRating) {
  StationSection flat = Ditch();
  flat.elevation.front() = 9.0;
  const struct Row {
    const char* name;
    StationSection section;
    double slope;
    RatingRequest request;
    const char* problem;
  } rows[] = {
      {"bad section", flat, 0.002, {RatingStep::Depth, 0, 1, 5}, "Point 1"},
      {"no slope", Ditch(), 0, {RatingStep::Depth, 0, 1, 5}, "slope"},
      {"one row", Ditch(), 0.002, {RatingStep::Depth, 0, 1, 1}, "number of rows"},
      {"above bank-full", Ditch(), 0.002, {RatingStep::Depth, 1.6, 2, 5}, "bank-full depth"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const RatingTable t =
        BuildSectionRating(row.section, CompositeMethod::Conveyance, row.slope, row.request);
    EXPECT_TRUE(t.rows.empty());
    EXPECT_NE(std::string::npos, t.problem.find(row.problem)) << t.problem;
  }
}

}  // namespace
}  // namespace rivulet
