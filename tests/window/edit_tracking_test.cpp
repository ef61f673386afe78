#include <functional>

#include "window_fixture.h"

namespace rivulet {
namespace {

using EditTrackingTest = WindowTest;

TEST_F(EditTrackingTest, FilterCutsBackFromTheEnd) {
  struct Case {
    const char* typed;
    const char* kept;
    int endKeys;
  };
  const Case cases[] = {
      {".", "0.", 1},    {"12x", "12", 1},   {"-", "", 1},      {"12abc", "12", 3},
      {"abc12", "", 5},  {"1x2", "1", 2},    {"1e5", "1e5", 0}, {"1e", "1e", 0},
      {"-.", "", 2},     {" 7 ", " 7 ", 0},  {"3.5", "3.5", 0}, {"4\u00b2", "4", 1},
      {"1e-", "1e-", 0}, {"1e-x", "1e-", 1}, {"e5", "", 2},     {"1,5", "1.5", 0},
  };
  for (TextBox* box :
       {&form.txtVelDis1, &form.txtDepth, &form.txtDiam, &form.txtSlope, &form.txtManning}) {
    for (const Case& c : cases) {
      box->SetText("");
      services.endKeys = 0;
      box->SetText(c.typed);
      EXPECT_EQ(box->Text(), c.kept) << box->Name() << " " << c.typed;
      EXPECT_EQ(services.endKeys, c.endKeys) << box->Name() << " " << c.typed;
      if (services.endKeys > 0) {
        EXPECT_EQ(box->SelStart(), static_cast<int>(box->Text().size()));
      }
    }
  }
}

TEST_F(EditTrackingTest, TypingBetweenDigitsCutsToTheLeft) {
  form.txtDepth.SetText("12");
  form.txtDepth.SetSelection(1, 0);
  form.txtDepth.ReplaceSelection("x");  // 1x2 -> 1x -> 1
  EXPECT_EQ(form.txtDepth.Text(), "1");
  EXPECT_EQ(form.txtDepth.SelStart(), 1);
}

TEST_F(EditTrackingTest, HugePasteIsCutWithoutDeepRecursion) {
  std::string pasted = "12";
  pasted.append(5'000'000, 'x');
  form.txtDepth.SetText(pasted);
  EXPECT_EQ(form.txtDepth.Text(), "12");
  std::string digits(2'000'000, '1');
  digits += "-";
  form.txtDepth.SetText(digits);
  EXPECT_EQ(form.txtDepth.Text(), std::string(kValueLength, '1'));  // a box holds 64
}

TEST_F(EditTrackingTest, FirstEditAfterCompletionMarksTheResultsStale) {
  // Every unit list with edit tracking, and every tracked text box.
  std::vector<std::function<void()>> edits = {
      [&] { form.cboVelDis1.SetListIndex(1); },
      [&] { form.cboDepth.SetListIndex(1); },
      [&] { form.cboDiam.SetListIndex(1); },
      [&] { form.cboSlope.SetListIndex(1); },
      [&] { form.cboVelDis2.SetListIndex(1); },
      [&] { form.cboArea.SetListIndex(1); },
      [&] { form.cboArea2.SetListIndex(1); },
      [&] { form.txtDepth.SetText("5"); },
      [&] { form.txtVelDis2.SetText("9"); },
      [&] { form.txtArea.SetText("9"); },
      // An alternate left under a unit it was not computed in is no result either.
      [&] { form.cboDDS.SetListIndex(1); },
      [&] { form.cboVelDis3.SetListIndex(1); },
  };
  for (size_t i = 0; i < edits.size(); ++i) {
    MarkComplete();
    edits[i]();
    EXPECT_EQ(form.txtStatus.Text(), kStatusModified) << i;
    EXPECT_EQ(form.txtStatus.BackColour(), kStatusPink) << i;
    EXPECT_EQ(form.Results(), ResultsState::Modified) << i;
  }
  // After "no solution" an edit leaves the status alone: no depth of a 0.5 m wide
  // rectangle at 1/1000 runs at 100 m/s.
  form.cboSection.SetListIndex(1);
  form.optDepth.SetValue(true);
  form.cboVelDis1.SetListIndex(0);
  form.cboDiam.SetListIndex(2);
  form.cboSlope.SetListIndex(0);
  form.txtVelDis1.SetText("100");
  form.txtDiam.SetText("0.5");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.Results(), ResultsState::Failed);
  form.txtDiam.SetText("3");
  EXPECT_EQ(form.txtStatus.Text(), kStatusNoSolution);
  EXPECT_EQ(form.Results(), ResultsState::Failed);
}

TEST_F(EditTrackingTest, ChangingWhatTheResultsBelongToMarksThemStale) {
  struct Case {
    const char* name;
    int fromSection;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"pipe to trapezoid", 0, [&] { form.cboSection.SetListIndex(3); }},
      {"trapezoid to gutter", 3, [&] { form.cboSection.SetListIndex(4); }},
      {"gutter to rectangle", 4, [&] { form.cboSection.SetListIndex(1); }},
      {"same section chosen again", 2, [&] { form.cboSection.SetListIndex(2); }},
      {"velocity to discharge", 0, [&] { form.cmdVelDis_Click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.cboSection.SetListIndex(c.fromSection);
    MarkComplete();
    c.change();
    EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
    EXPECT_EQ(form.txtStatus.BackColour(), kStatusPink);
  }
  // Choosing an unknown that leaves the results' rows alone keeps them current.
  for (OptionButton* b : {&form.optSlope, &form.optManning, &form.optVelDis1}) {
    MarkComplete();
    b->SetValue(true);
    EXPECT_EQ(form.txtStatus.Text(), kStatusComplete) << b->Name();
  }
}

TEST_F(EditTrackingTest, SectionChangeAfterACalculationLeavesNoCurrentResults) {
  form.optVelDis1.SetValue(true);
  form.txtDepth.SetText("0.4");
  form.txtDiam.SetText("1");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  form.cboSection.SetListIndex(3);
  EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
  form.txtSide.SetText("2");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(form.LastSolve()->record.section, SectionKind::Trapezoid);
}

TEST_F(EditTrackingTest, FixResultsFormatsComputedFieldsOnly) {
  // Inputs keep every digit the user typed whatever is solved for; the unknown's box and
  // the results are rounded.
  struct Case {
    const char* name;
    OptionButton frmRivulet::*unknown;
    TextBox frmRivulet::*rounded;
    const char* roundedText;
  };
  const Case cases[] = {
      {"velocity", &frmRivulet::optVelDis1, &frmRivulet::txtVelDis1, "1.235"},
      {"depth", &frmRivulet::optDepth, &frmRivulet::txtDepth, "12.000"},
      {"diameter", &frmRivulet::optDiam, &frmRivulet::txtDiam, "0.500"},
      {"slope", &frmRivulet::optSlope, &frmRivulet::txtSlope, "0.000"},
      {"manning", &frmRivulet::optManning, &frmRivulet::txtManning, "0.014"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.mnuOptionsFix.SetChecked(false);
    (form.*c.unknown).SetValue(true);
    const std::pair<TextBox*, const char*> inputs[] = {
        {&form.txtVelDis1, "1.23456"}, {&form.txtDepth, "12"},       {&form.txtDiam, "0.4999"},
        {&form.txtSlope, "0.0004"},    {&form.txtManning, "0.0136"},
    };
    for (auto [box, text] : inputs) box->SetText(text);
    form.txtArea.SetText("1.23456");
    form.txtVelDis2.SetText("2");
    form.txtDDS.SetText("N/A");
    form.txtVelDis3.SetText("0");
    MarkComplete();
    form.mnuOptionsFix_Click();
    EXPECT_TRUE(form.mnuOptionsFix.Checked());
    for (auto [box, text] : inputs) {
      if (box == &(form.*c.rounded))
        EXPECT_EQ(box->Text(), c.roundedText) << box->Name();
      else
        EXPECT_EQ(box->Text(), text) << box->Name();
    }
    EXPECT_EQ(form.txtArea.Text(), "1.235");
    EXPECT_EQ(form.txtVelDis2.Text(), "2.000");
    EXPECT_EQ(form.txtDDS.Text(), "N/A");
    EXPECT_EQ(form.txtVelDis3.Text(), "0");
    EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
    // Turning it off keeps the texts.
    form.mnuOptionsFix_Click();
    EXPECT_FALSE(form.mnuOptionsFix.Checked());
    EXPECT_EQ((form.*c.rounded).Text(), c.roundedText);
  }
}

TEST_F(EditTrackingTest, FixedResultsRecalculateToTheSameAnswer) {
  // n = 0.0135 and a slope of 0.0004 per 1: rounding either to three decimals would give
  // another depth, or none at all, on the next Calculate.
  form.cboSection.SetListIndex(1);
  form.optDepth.SetValue(true);
  form.txtVelDis1.SetText("1.2");
  form.txtDiam.SetText("2");
  form.cboSlope.SetListIndex(3);
  form.txtSlope.SetText("0.0004");
  form.txtManning.SetText("0.0135");
  form.mnuOptionsFix_Click();
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  const std::string depth = form.txtDepth.Text();
  EXPECT_EQ(form.txtSlope.Text(), "0.0004");
  EXPECT_EQ(form.txtManning.Text(), "0.0135");
  form.cmdCalculate_Click();
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(form.txtDepth.Text(), depth);
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(EditTrackingTest, TypedAndPastedValuesAreNotSilentlyChanged) {
  struct Case {
    const char* typed;
    const char* kept;
    const char* note;  // what the user is told was dropped ("" for nothing)
  };
  const Case cases[] = {
      {"0,013", "0.013", ""},
      {"1,50", "1.50", ""},
      {"2.5e-", "2.5e-", ""},
      {"12abc", "12", "Not part of a number, dropped: \"abc\""},
      {"3,2 m/s", "3.2 ", "Not part of a number, dropped: \"m/s\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    form.inputNote.clear();
    form.txtManning.SetText("");
    form.txtManning.SetText(c.typed);
    EXPECT_EQ(form.txtManning.Text(), c.kept);
    EXPECT_EQ(form.inputNote, c.note);
  }
  // An exponent typed key by key ends as the number meant, and Calculate reads it.
  form.cboSection.SetListIndex(1);
  form.optVelDis1.SetValue(true);
  form.txtDepth.SetText("");
  for (const char* keys : {"0", "0.", "0.5", "0.5e", "0.5e+", "0.5e+0"}) {
    form.txtDepth.SetText(keys);
    EXPECT_EQ(form.txtDepth.Text(), keys);
  }
  form.txtDiam.SetText("2");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("1,3e-");
  EXPECT_EQ(form.txtManning.Text(), "1.3e-");
  form.txtManning.SetText("1,3e-2");
  form.cmdCalculate_Click();
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(form.txtManning.Text(), "1.3e-2");
}

}  // namespace
}  // namespace rivulet
