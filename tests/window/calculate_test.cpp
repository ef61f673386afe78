#include "core/shell/number_text.h"
#include "support/recording_services.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

using CalculateTest = WindowTest;

constexpr char kNote[] =
    "Note:  You must select the variable to solve for, by clicking it before you click "
    "'Calculate'.  The variable which will be calculated will have a dot beside it, and the "
    "cell where the value is to be calculated will appear highlighted in yellow.";

struct CheckCase {
  const char* name;
  int section;
  int sideUnit;
  const char* velDis;
  const char* depth;
  const char* diam;
  const char* side;
  const char* slope;
  const char* manning;
  const char* message;  // nullptr: the checks pass
};

TEST_F(CalculateTest, InputChecksInOrderWithTheirMessages) {
  const CheckCase cases[] = {
      {"all empty", 0, 2, "", "", "", "", "", "",
       "Invalid value for depth:  values should be greater than 0."},
      {"pipe diameter", 0, 2, "", "1", "0", "", "1", "0.013",
       "Invalid Value for diameter:  values for this section should be greater than 0."},
      {"rectangle width 0", 1, 2, "", "1", "0", "", "1", "0.013",
       "Invalid value for width:  values for this section should be greater than 0."},
      {"trapezoid width 0", 3, 0, "", "1", "0", "0", "1", "0.013", nullptr},
      {"triangle width empty", 2, 0, "", "1", "", "1", "1", "0.013", nullptr},
      {"negative width", 3, 0, "", "1", "-1", "1", "1", "0.013",
       "Invalid value for width:  values for this section should be greater than or equal to 0."},
      {"x negative", 3, 0, "", "1", "1", "-1", "1", "0.013",
       "Invalid value for side slope: X values should be greater than or equal to zero."},
      {"x zero", 3, 0, "", "1", "1", "0", "1", "0.013", nullptr},
      {"y zero", 3, 1, "", "1", "1", "0", "1", "0.013",
       "Invalid value for side slope: Y values should be greater than zero."},
      {"degrees 90", 3, 2, "", "1", "1", "90", "1", "0.013", nullptr},
      {"degrees 90.5", 3, 2, "", "1", "1", "90.5", "1", "0.013",
       "Invalid value for side slope: Outside angle should be greater than zero and less than or "
       "equal to 90."},
      {"degrees 0", 3, 2, "", "1", "1", "0", "1", "0.013",
       "Invalid value for side slope: Outside angle should be greater than zero and less than or "
       "equal to 90."},
      {"slope 0 passes", 1, 2, "", "1", "1", "", "0", "0.013", nullptr},
      {"slope negative", 1, 2, "", "1", "1", "", "-1", "0.013", "Invalid value for Slope."},
      {"manning empty", 1, 2, "", "1", "1", "", "1", "", "Invalid value for Manning's n-value."},
      // Numbers a double cannot hold to full precision, or at all, are refused by name.
      {"manning subnormal", 1, 2, "", "1", "1", "", "1", "1e-320",
       "Invalid value for Manning's n-value."},
      {"depth subnormal", 1, 2, "", "1e-310", "1", "", "1", "0.013",
       "Invalid value for depth:  values should be greater than 0."},
      {"width overflows", 1, 2, "", "1", "1e999", "", "1", "0.013",
       "Invalid value for width:  values for this section should be greater than 0."},
      {"x subnormal", 3, 0, "", "1", "1", "4.9e-324", "1", "0.013",
       "Invalid value for side slope: X values should be greater than or equal to zero."},
      {"slope overflows", 1, 2, "", "1", "1", "", "1e400", "0.013", "Invalid value for Slope."},
      {"smallest normal n passes", 1, 2, "", "1", "1", "", "1", "2.3e-308", nullptr},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    form.cboSection.SetListIndex(c.section);
    form.optVelDis1.SetValue(true);
    form.cboSide.SetListIndex(c.sideUnit);
    form.txtVelDis1.SetText(c.velDis);
    form.txtDepth.SetText(c.depth);
    form.txtDiam.SetText(c.diam);
    form.txtSide.SetText(c.side);
    form.txtSlope.SetText(c.slope);
    form.txtManning.SetText(c.manning);
    form.txtStatus.SetText("before");
    services.messages.clear();
    form.cmdCalculate_Click();
    if (c.message) {
      ASSERT_EQ(services.messages.size(), 2u);
      EXPECT_EQ(services.messages[0], (Message{c.message, "Oops!", MessageIcon::Exclamation}));
      EXPECT_EQ(services.messages[1], (Message{kNote, "Rivulet", MessageIcon::Exclamation}));
      EXPECT_EQ(form.txtStatus.Text(), "before");
    } else {
      EXPECT_NE(form.txtStatus.Text(), "before");
    }
  }
}

TEST_F(CalculateTest, RowOneCheckNamesTheQuantity) {
  form.optDepth.SetValue(true);
  form.cmdCalculate_Click();
  EXPECT_EQ(services.messages.at(0).text,
            "Invalid value for velocity:  values should be greater than 0.");
  form.cmdVelDis_Click();
  services.messages.clear();
  form.cmdCalculate_Click();
  EXPECT_EQ(services.messages.at(0).text,
            "Invalid value for discharge:  values should be greater than 0.");
}

TEST_F(CalculateTest, UnknownAndDepthLockSkipTheirChecks) {
  form.optDepth.SetValue(true);  // empty depth box passes when depth is the unknown
  form.txtVelDis1.SetText("1");
  form.txtDiam.SetText("1");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  EXPECT_NE(services.messages.size() >= 1 ? services.messages[0].title : "", "Oops!");

  services.messages.clear();
  form.optVelDis1.SetValue(true);
  form.txtDiam.SetText("");
  form.chkLocDiam.SetValue(1);  // the lock exempts the depth even when it is empty
  form.cmdCalculate_Click();
  ASSERT_FALSE(services.messages.empty());
  EXPECT_EQ(services.messages[0].text,
            "Invalid Value for diameter:  values for this section should be greater than 0.");
}

TEST_F(CalculateTest, FailedCheckChangesNothing) {
  form.cboSection.SetListIndex(3);
  form.txtDepth.SetText("1");
  form.txtDiam.SetText("1");
  form.txtSide.SetText("95");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.txtArea.SetText("7");
  form.txtDDS.SetText("8");
  const std::string before[] = {form.txtArea.Text(), form.txtDDS.Text(), form.txtStatus.Text()};
  form.cmdCalculate_Click();
  EXPECT_EQ(form.txtArea.Text(), before[0]);
  EXPECT_EQ(form.txtDDS.Text(), before[1]);
  EXPECT_EQ(form.txtStatus.Text(), before[2]);
  EXPECT_FALSE(form.Hydraulics().noSolution);
}

TEST_F(CalculateTest, SectionWithoutFlowAreaCompletesWithNoFlow) {
  // Side slope 0 in "1/x" is a vertical side: the checks let it through and the plain
  // arithmetic gives V = 0 and Q = 0, with or without the rounding of Fix Results.
  struct Case {
    const char* name;
    int section;
    const char* width;
    bool fix;
  };
  const Case cases[] = {
      {"triangle", 2, "", false}, {"gutter", 4, "0", false}, {"trapezoid", 3, "0", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    services.messages.clear();
    form.mnuOptionsFix.SetChecked(c.fix);
    form.cboSection.SetListIndex(c.section);
    form.optVelDis1.SetValue(true);
    form.txtVelDis1.SetText("3.2");
    form.txtDepth.SetText("0.5");
    form.txtDiam.SetText(c.width);
    form.cboSide.SetListIndex(0);
    form.txtSide.SetText("0");
    form.txtSlope.SetText("2");
    form.txtManning.SetText("0.015");
    form.cmdCalculate_Click();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
    const std::string zero = c.fix ? "0.000" : "0";
    EXPECT_EQ(form.txtVelDis1.Text(), zero);
    EXPECT_EQ(form.txtVelDis2.Text(), zero);
    EXPECT_EQ(form.txtArea.Text(), zero);
    EXPECT_EQ(form.txtDDS.Text(), "N/A");
    ASSERT_TRUE(form.LastSolve().has_value());
    EXPECT_EQ(form.LastSolve()->record.discharge, 0);
  }
}

TEST(CalculateResult, ACompletedCalculationSatisfiesManningsEquation) {
  struct Case {
    const char* name;
    bool discharge;
    int section;
    const char* velDis;
    const char* diam;
    int diamUnit;
    const char* slope;
    bool complete;
  };
  // Depth is the unknown throughout; n 0.013, slope per 1000.
  const Case cases[] = {
      // The diameter underflows the geometry: no water, yet the discharge asked for.
      {"pipe of 1e-300 mm", true, 0, "150", "1e-300", 0, "5", false},
      {"storm sewer", true, 0, "150", "450", 0, "5", true},
      {"rectangle", false, 1, "1", "2", 2, "1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingServices services;
    frmRivulet form(services, StartupValues::ForFolder("/nonexistent/rivulet"));
    form.Form_Load();
    if (c.discharge) {
      form.cmdVelDis_Click();
      form.cboVelDis1.SetListIndex(2);  // L/s
    }
    form.cboSection.SetListIndex(c.section);
    form.optDepth.SetValue(true);
    form.txtVelDis1.SetText(c.velDis);
    form.txtDepth.SetText("0.75");
    form.txtDiam.SetText(c.diam);
    form.cboDiam.SetListIndex(c.diamUnit);
    form.txtSlope.SetText(c.slope);
    form.txtManning.SetText("0.013");
    services.messages.clear();
    form.cmdCalculate_Click();
    if (c.complete) {
      EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
      EXPECT_TRUE(form.LastSolve().has_value());
      EXPECT_TRUE(services.messages.empty());
    } else {
      EXPECT_EQ(form.txtStatus.Text(), kStatusNoSolution);
      EXPECT_FALSE(form.LastSolve().has_value());
      EXPECT_EQ(services.messages.back(),
                (Message{"A suitable solution could not be found.", "Rivulet", MessageIcon::None}));
    }
  }
}

TEST_F(CalculateTest, RowOneRefusesNumbersOutOfRange) {
  form.optDepth.SetValue(true);
  form.txtDiam.SetText("1");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  for (const char* text : {"1e999", "-1e999", "1e-310"}) {
    SCOPED_TRACE(text);
    form.txtVelDis1.SetText(text);
    services.messages.clear();
    form.cmdCalculate_Click();
    ASSERT_FALSE(services.messages.empty());
    EXPECT_EQ(services.messages[0].text,
              "Invalid value for velocity:  values should be greater than 0.");
  }
}

}  // namespace
}  // namespace rivulet
