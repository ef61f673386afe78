#include "core/window/rating_view_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "unit_positions.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

RatingTable TableOf(size_t rows, double top) {
  RatingTable t;
  for (size_t i = 0; i < rows; ++i) t.rows.push_back({top * i / (rows - 1), 0, 0, 0, {}, {}});
  return t;
}

TEST(RatingCurveRequestTest, ASmoothCurveUnlessTheRowsAreAlreadyAsFine) {
  struct Case {
    const char* name;
    RatingTable table;
    RatingStep step;
    bool curve;
  };
  RatingTable problem = TableOf(51, 1);
  problem.problem = "no channel";
  const Case cases[] = {
      {"a short depth table", TableOf(51, 0.45), RatingStep::Depth, true},
      {"one row short of the curve", TableOf(kRatingCurveRows - 1, 0.45), RatingStep::Depth, true},
      {"as fine as the curve", TableOf(kRatingCurveRows, 0.45), RatingStep::Depth, false},
      // Equal discharge steps leave gaps in depth near the invert, however many rows.
      {"a long discharge table", TableOf(5000, 0.45), RatingStep::Discharge, true},
      {"no rows", RatingTable{}, RatingStep::Discharge, false},
      {"a problem", problem, RatingStep::Depth, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<RatingRequest> r = RatingCurveRequest(c.table, c.step);
    ASSERT_EQ(r.has_value(), c.curve);
    if (!r) continue;
    EXPECT_EQ(*r, (RatingRequest{RatingStep::Depth, c.table.rows.front().depth,
                                 c.table.rows.back().depth, kRatingCurveRows}));
  }
}

TEST(RatingNoteTest, NotesThatApplyJoinedInOrder) {
  const RatingUnits litres{kMm, 2, 0, kLitres}, cubic{kMm, 2, 0, kCubicMetres};
  const std::string notCurrent = "The results are not current: Calculate to mark the solution.";
  const std::string crown = "The depths stop at the pipe's crown.";
  const std::string twoDepths =
      "From full flow to the maximum a pipe carries each discharge at two depths; the table "
      "gives the lower.";
  const auto D = RatingStep::Depth, Q = RatingStep::Discharge;
  struct Case {
    const char* name;
    const char* problem;
    bool marked, calculated;
    RatingStep step;
    bool pipe;
    std::optional<double> cutAt;
    const RatingUnits* units;
    std::string note;
  };
  const Case cases[] = {
      {"a solved open channel has nothing to note", "", true, true, D, false, {}, &litres, ""},
      {"never calculated",
       "",
       false,
       false,
       D,
       false,
       {},
       &litres,
       "Calculate to mark the solution on the curve."},
      {"results changed since", "", false, true, D, false, {}, &litres, notCurrent},
      {"a problem says only itself", "Manning's n must be above 0.", false, true, Q, true, 0.2,
       &litres, "Manning's n must be above 0."},
      {"depths cut at the crown", "", true, true, D, true, 0.45, &litres, crown},
      {"a solved pipe by depths, not cut", "", true, true, D, true, {}, &litres, ""},
      {"discharges cut at the maximum, in the shown unit", "", true, true, Q, true, 0.21686,
       &litres, "The discharges stop at the pipe's maximum, 216.9 L/s. " + twoDepths},
      {"a pipe by discharges, not cut", "", true, true, Q, true, {}, &litres, twoDepths},
      {"everything at once", "", false, true, Q, true, 0.21686, &cubic,
       notCurrent + " The discharges stop at the pipe's maximum, 0.2169 m³/s. " + twoDepths},
      {"stale and cut at the crown", "", false, false, D, true, 0.45, &litres,
       "Calculate to mark the solution on the curve. " + crown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RatingNote({c.problem, c.marked, c.calculated, c.step, c.pipe, c.cutAt, *c.units}),
              c.note);
  }
}

TEST(RatingRangeTest, TypedEndsAreTakenKeptOrRefusedByName) {
  using Outcome = RatingRangeEdit::Outcome;
  const std::string kept = ": the range is kept as it was.";
  struct Case {
    const char* name;
    RatingRangeEnd end;
    const char* typed;
    Outcome outcome;
    std::string refusal;
    double from, to;  // m afterwards
  };
  const double top = 0.4501234567;  // shown as "450.123" mm
  const Case cases[] = {
      {"From left blank", RatingRangeEnd::From, "", Outcome::Refused, "From needs a value" + kept,
       0, top},
      {"To blanked", RatingRangeEnd::To, "  ", Outcome::Refused, "To needs a value" + kept, 0, top},
      {"an unfinished exponent", RatingRangeEnd::To, "2.5e-", Outcome::Refused,
       "To \"2.5e-\" is not a number" + kept, 0, top},
      {"To retyped as shown", RatingRangeEnd::To, "450.123", Outcome::Unchanged, "", 0, top},
      {"the same value written otherwise", RatingRangeEnd::To, "450.1230", Outcome::Changed, "", 0,
       0.450123},
      // The untouched end keeps its exact value, not the six digits in its box.
      {"From changed", RatingRangeEnd::From, "100", Outcome::Changed, "", 0.1, top},
      {"From may lie above To", RatingRangeEnd::From, "500", Outcome::Changed, "", 0.5, top},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RatingSettings settings;
    RatingSource source;
    source.defaultTopDepth = top;
    settings.Follow(source, {kMm, 2, 0, kLitres});
    const RatingRangeEdit edit = EditRatingRange(settings, c.end, c.typed);
    EXPECT_EQ(edit.outcome, c.outcome);
    EXPECT_EQ(edit.refusal, c.refusal);
    EXPECT_DOUBLE_EQ(settings.From(), c.from);
    EXPECT_DOUBLE_EQ(settings.To(), c.to);
    EXPECT_EQ(settings.RangeIsDefault(), c.outcome != Outcome::Changed);
  }
}

// A range set in metres that millimetres cannot show: the boxes empty rather than lie,
// and an edit of the other end is refused instead of losing it.
TEST(RatingRangeTest, AnEndTheUnitCannotShowRefusesTheOtherEndsEdit) {
  RatingSettings settings;
  settings.Follow(RatingSource{}, {kMeters, 2, 0, kLitres});
  ASSERT_EQ(EditRatingRange(settings, RatingRangeEnd::To, "1e308").outcome,
            RatingRangeEdit::Outcome::Changed);
  settings.SetUnits({kMm, 2, 0, kLitres});
  const RatingRangeEdit edit = EditRatingRange(settings, RatingRangeEnd::From, "5");
  EXPECT_EQ(edit.outcome, RatingRangeEdit::Outcome::Refused);
  EXPECT_EQ(edit.refusal, "From 5 mm is out of reach in that unit: the range is kept as it was.");
  EXPECT_EQ(settings.To(), 1e308);
  EXPECT_EQ(settings.From(), 0);
}

TEST(RatingRangeTest, RangeTextsHaveSixSignificantDigitsWhateverTheLocale) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},        {450, "450"},       {216.8631234, "216.863"}, {0.0305, "0.0305"},
      {1e-5, "1e-05"}, {999999, "999999"}, {1234567, "1.23457e+06"}, {-2.5, "-2.5"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(RatingRangeText(value), text) << value;
}

// The calculation window's rating takes the default unsaved name; the irregular section's
// rating window names its exports by the same rule with a name of its own.
TEST(RatingFileNameTest, ExportsAreNamedAfterTheSheetsFile) {
  struct Case {
    const char* sheet;
    const char* extension;
    const char* unsavedName;  // nullptr: the default
    const char* proposed;
  };
  const Case cases[] = {
      {"storm-sewer.rvl", "csv", nullptr, "storm-sewer-rating.csv"},
      {"storm-sewer.rvl", "pdf", nullptr, "storm-sewer-rating.pdf"},
      {"", "csv", nullptr, "rating.csv"},
      {"v.ditch.rvl", "csv", nullptr, "v.ditch-rating.csv"},
      {"NOEXT", "pdf", nullptr, "NOEXT-rating.pdf"},
      {".rvl", "csv", nullptr, "rating.csv"},
      {"creek-reach.rvw", "csv", "section-rating", "creek-reach-rating.csv"},
      {"creek.reach.rvw", "pdf", "section-rating", "creek.reach-rating.pdf"},
      {"", "csv", "section-rating", "section-rating.csv"},
      {"", "pdf", "section-rating", "section-rating.pdf"},
      {".rvw", "csv", "section-rating", "section-rating.csv"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.unsavedName ? ProposedRatingFileName(c.sheet, c.extension, c.unsavedName)
                            : ProposedRatingFileName(c.sheet, c.extension),
              c.proposed)
        << c.sheet << " " << (c.unsavedName ? c.unsavedName : "(default)");
}

TEST(RatingBuildRequestTest, EveryFieldOfChannelAndRequestCounts) {
  RatingBuildRequest base;
  base.channel = {{SectionKind::Trapezoid, 0, 1.5, 2}, 0.005, 0.013};
  base.request = {RatingStep::Depth, 0, 1, 51};
  const std::pair<const char*, std::function<void(RatingBuildRequest&)>> changes[] = {
      {"shape", [](RatingBuildRequest& r) { r.channel.section.shape = SectionKind::Gutter; }},
      {"diameter", [](RatingBuildRequest& r) { r.channel.section.diameter = 1; }},
      {"width", [](RatingBuildRequest& r) { r.channel.section.width = 1.6; }},
      {"side", [](RatingBuildRequest& r) { r.channel.section.side = 3; }},
      {"slope", [](RatingBuildRequest& r) { r.channel.slope = 0.006; }},
      {"n", [](RatingBuildRequest& r) { r.channel.n = 0.014; }},
      {"step", [](RatingBuildRequest& r) { r.request.step = RatingStep::Discharge; }},
      {"from", [](RatingBuildRequest& r) { r.request.from = 0.1; }},
      {"to", [](RatingBuildRequest& r) { r.request.to = 2; }},
      {"rows", [](RatingBuildRequest& r) { r.request.rows = 52; }},
  };
  EXPECT_EQ(base, base);
  for (const auto& [name, change] : changes) {
    RatingBuildRequest changed = base;
    change(changed);
    EXPECT_NE(changed, base) << name;
  }
}

// The view-model over a real sheet: a 450 mm pipe at 5 /1000 and n 0.013.
class RatingViewModelTest : public WindowTest {
 protected:
  RatingViewModelTest() : rating(form) {
    form.cboSection.SetListIndex(0);
    form.cboDiam.SetListIndex(kMm);
    form.cboDepth.SetListIndex(kMm);
    form.txtDiam.SetText("450");
    form.txtSlope.SetText("5");
    form.txtManning.SetText("0.013");
    rating.Refresh();
  }
  /// Types text into a box of the sheet and takes the sheet in.
  std::function<void()> Typed(TextBox& box, const char* text) {
    return [this, &box, text] {
      box.SetText(text);
      rating.Refresh();
    };
  }
  RatingViewModel rating;
};

TEST_F(RatingViewModelTest, TheTableIsRebuiltOnlyWhenItsChannelOrRequestChanges) {
  ASSERT_EQ(rating.Source().problem, "");
  ASSERT_EQ(rating.Builds(), 1);
  struct Step {
    const char* name;
    std::function<void()> act;
    int builds;  // afterwards
  };
  const Step steps[] = {
      {"refreshing an unchanged sheet", [&] { rating.Refresh(); }, 1},
      {"other units",
       [&] {
         rating.SetUnits(RatingUnits{kFeet, 2, 0, kLitres});
       },
       1},
      {"the default range again", [&] { rating.UseDefaultRange(); }, 1},
      {"more rows", [&] { rating.SetRows(101); }, 2},
      {"as many rows again", [&] { rating.SetRows(101); }, 2},
      {"the same n typed otherwise", Typed(form.txtManning, "0.0130"), 2},
      {"a steeper slope on the sheet", Typed(form.txtSlope, "10"), 3},
      {"stepping discharges", [&] { rating.SetStep(RatingStep::Discharge); }, 4},
      {"a typed range end", [&] { rating.EditRange(RatingRangeEnd::To, "100"); }, 5},
      {"a refused range end", [&] { rating.EditRange(RatingRangeEnd::To, "x"); }, 5},
      {"a sheet with no channel", Typed(form.txtManning, "0"), 5},
      // The request is the last one built, but the table in hand is the problem's.
      {"the channel back as it was", Typed(form.txtManning, "0.013"), 6},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.act();
    EXPECT_EQ(rating.Builds(), s.builds);
    EXPECT_EQ(rating.Table().rows.empty(), !rating.Table().problem.empty());
    EXPECT_EQ(rating.Marks().empty(), rating.Table().rows.empty())
        << "a pipe is marked at full flow and its maximum, solved or not";
  }
}

TEST_F(RatingViewModelTest, WithoutAChannelTheNoteSaysWhyAndNothingIsDrawn) {
  form.txtManning.SetText("0");
  rating.Refresh();
  EXPECT_TRUE(rating.NoteIsProblem());
  EXPECT_EQ(rating.Note(), rating.Source().problem);
  EXPECT_TRUE(rating.Curve().empty());
  EXPECT_TRUE(rating.Marks().empty());
}

TEST_F(RatingViewModelTest, FollowsTheSheetsFileSolutionAndUnits) {
  EXPECT_EQ(rating.Title(), "Rating Table");
  EXPECT_EQ(rating.ProposedName("csv"), "rating.csv");
  EXPECT_EQ(rating.Note(), "Calculate to mark the solution on the curve.");
  EXPECT_EQ(rating.RangeTexts(), std::pair(std::string("0"), std::string("450")));
  EXPECT_EQ(rating.RangeUnit(), "mm");
  EXPECT_EQ(rating.Curve().size(), static_cast<size_t>(kRatingCurveRows));
  EXPECT_EQ(rating.Curve().back().depth, rating.Table().rows.back().depth);

  form.currentFileName = "trunk.rvl";
  form.optDepth.SetValue(true);
  form.txtVelDis1.SetText("1.2");  // m/s
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  rating.Refresh();
  EXPECT_EQ(rating.Title(), "Rating Table - trunk.rvl");
  EXPECT_EQ(rating.ProposedName("pdf"), "trunk-rating.pdf");
  EXPECT_EQ(rating.Note(), "");
  ASSERT_FALSE(rating.Marks().empty());
  EXPECT_EQ(rating.Marks().front().kind, RatingMarkKind::Solution);

  form.txtSlope.SetText("6");
  rating.Refresh();
  EXPECT_EQ(rating.Note(), "The results are not current: Calculate to mark the solution.");
}

}  // namespace
}  // namespace rivulet
