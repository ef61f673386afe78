#include "core/hydraulics/brackets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/rating_table.h"

namespace rivulet {
namespace {

// A bracket is closed when no double lies between its ends or it is narrow.
bool Closed(const Bracket& b) { return std::nextafter(b.below, b.above) >= b.above || IsNarrow(b); }

TEST(WidenUpwardTest, DoublesUntilTheTestHolds) {
  struct Row {
    const char* name;
    double from;      // below at the start
    double crossing;  // the test holds from here up
    Bracket expected;
  };
  const Row rows[] = {
      {"from the invert, crossing inside the first bracket", 0, 0.3, {0, 1}},
      {"from the invert, crossing at exactly 1 holds there", 0, 1, {0, 1}},
      {"from the invert, crossing far up", 0, 1000, {512, 1024}},
      {"from a depth already found", 0.75, 5, {3, 6}},
      {"from a depth above the crossing: the first doubling holds", 8, 2, {8, 16}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bracket b{row.from, 0};
    int calls = 0;
    WidenUpward(b, [&](double y) {
      ++calls;
      return y >= row.crossing;
    });
    EXPECT_EQ(b.below, row.expected.below);
    EXPECT_EQ(b.above, row.expected.above);
    EXPECT_GE(calls, 1);
  }
}

TEST(WidenUpwardTest, ATestThatNeverHoldsOverflowsIntoAFault) {
  Bracket b{0, 0};
  EXPECT_THROW(WidenUpward(b, [](double) { return false; }), ArithmeticFault);
}

TEST(CloseBracketTest, ClosesOnTheCrossingOrSaysItRanOut) {
  const double tiny = 1e-300, huge = 1e300;
  struct Row {
    const char* name;
    Bracket start;
    double crossing;
    int cap;
    SearchEnd end;
  };
  const Row rows[] = {
      {"inside [0, 1]", {0, 1}, 0.3, kHalvingCap, SearchEnd::Converged},
      {"at a midpoint", {0, 1}, 0.5, kHalvingCap, SearchEnd::Converged},
      {"just above the invert: a thousand halvings",
       {0, 1},
       tiny,
       kHalvingCap,
       SearchEnd::Converged},
      {"far up", {huge / 2, huge}, huge * 0.7, kHalvingCap, SearchEnd::Converged},
      {"three halvings allowed", {0, 1}, 0.3, 3, SearchEnd::HitCap},
      {"none allowed", {0, 1}, 0.3, 0, SearchEnd::HitCap},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bracket b = row.start;
    auto isAbove = [&](double y) { return y >= row.crossing; };
    EXPECT_EQ(CloseBracket(b, isAbove, row.cap), row.end);
    // The crossing stays inside, whatever the end.
    EXPECT_LT(b.below, row.crossing);
    EXPECT_GE(b.above, row.crossing);
    if (row.end == SearchEnd::Converged) {
      EXPECT_TRUE(Closed(b));
    } else {
      // Each halving allowed has been spent.
      EXPECT_EQ(b.above - b.below, std::ldexp(row.start.above - row.start.below, -row.cap));
    }
  }
}

TEST(FalsePositionTest, FindsTheCrossingOfARisingResidual) {
  struct Row {
    const char* name;
    std::function<double(double)> residual;
    Bracket start;
    double root;
    int maxEvaluations;
  };
  // The flat cube root of the last row is what a pipe's discharge near its peak looks like:
  // false position alone would crawl along it.
  const Row rows[] = {
      {"straight line", [](double y) { return 2 * y - 1; }, {0, 1}, 0.5, 3},
      {"Manning-like power",
       [](double y) { return std::pow(y, 5.0 / 3) - 2; },
       {1, 2},
       std::pow(2.0, 0.6),
       20},
      {"flat at its crossing",
       [](double y) { return std::cbrt(y - 0.9) * 1e-3; },
       {0, 1},
       0.9,
       200},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult r = FalsePosition(row.start, row.residual, {.tolerance = 1e-15});
    EXPECT_EQ(r.end, SearchEnd::Converged);
    EXPECT_NEAR(r.value, row.root, 4e-15);
    EXPECT_LE(r.evaluations, row.maxEvaluations);
  }
}

// Each part of the stopping rule ends the search, on elevations below zero as above.
TEST(FalsePositionTest, StopsOnItsRule) {
  auto cube = [](double y) { return y * y * y + 50653; };  // crosses at −37
  auto power = [](double y) { return std::pow(y, 5.0 / 3) - 2; };
  const struct Row {
    const char* name;
    std::function<double(double)> residual;
    Bracket start;
    FalsePositionRule rule;
    double root, within;
  } rows[] = {
      {"doubles adjacent below zero", cube, {-200, -1}, {}, -37, 2 * 4e-16 * 37},
      {"doubles adjacent above zero", power, {1, 2}, {}, std::pow(2.0, 0.6), 2 * 4e-16 * 2},
      {"width reached", power, {1, 2}, {.width = 1e-6}, std::pow(2.0, 0.6), 1e-6},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const SearchResult r = FalsePosition(row.start, row.residual, row.rule);
    EXPECT_EQ(r.end, SearchEnd::Converged);
    EXPECT_NEAR(r.value, row.root, row.within);
    EXPECT_LE(r.bracket, std::max(row.rule.width, 2 * row.within));
    // Every second step at least halves the bracket: 53 halvings reach adjacent doubles.
    EXPECT_LE(r.evaluations, 2 + 2 * 53);
  }
}

TEST(FalsePositionTest, EndsAtTheUpperEndOrTheCap) {
  // A residual of 0 at the upper end is the answer without a step.
  const SearchResult atEnd = FalsePosition({0, 2}, [](double y) { return y - 2; }, {});
  EXPECT_EQ(atEnd.value, 2);
  EXPECT_EQ(atEnd.evaluations, 2);
  EXPECT_EQ(atEnd.end, SearchEnd::Converged);
  // Two steps of a curved residual leave the crossing inside a bracket still wide open: the
  // value is its middle.
  auto curved = [](double y) { return y * y * y - 0.001; };
  const SearchResult capped = FalsePosition({0, 1}, curved, {.tolerance = 0, .cap = 2});
  EXPECT_EQ(capped.end, SearchEnd::HitCap);
  EXPECT_EQ(capped.evaluations, 4);
  EXPECT_GT(std::abs(curved(capped.value)), 1e-6);
}

TEST(BracketUsersTest, ConvergeOnRealSections) {
  const ChannelSection sections[] = {
      {SectionKind::Pipe, 1, 0, 0},       {SectionKind::Rectangle, 0, 2, 0},
      {SectionKind::Triangle, 0, 0, 1.5}, {SectionKind::Trapezoid, 0, 1, 2},
      {SectionKind::Gutter, 0, 0.5, 4},
  };
  for (const ChannelSection& s : sections) {
    SCOPED_TRACE(static_cast<int>(s.shape));
    const CriticalDepthResult critical = CriticalDepth(s, 0.5);
    EXPECT_EQ(critical.state, CriticalState::Found);
    EXPECT_EQ(critical.end, SearchEnd::Converged);
    const RatingTable t = BuildRatingTable({s, 0.001, 0.013}, {RatingStep::Discharge, 0, 0.6, 13});
    ASSERT_TRUE(t.problem.empty()) << t.problem;
    EXPECT_EQ(t.searchEnd, SearchEnd::Converged);
  }
}

}  // namespace
}  // namespace rivulet
