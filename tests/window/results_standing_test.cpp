// What Calculate leaves standing: inputs as typed, results only where a solve stands behind
// them, and a surcharged pipe said to be one wherever the results go.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/batch/details_output.h"
#include "core/printing/report.h"
#include "core/window/flow_details_table.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

using ResultsStandingTest = WindowTest;

const double kPi = 4 * std::atan(1.0);

// Manning's equation for a pipe of diameter d (m) flowing full: A = πd²/4, R = d/4.
double FullVelocity(double d, double s, double n) {
  return std::pow(d / 4, 2.0 / 3) * std::sqrt(s) / n;
}
double FullDischarge(double d, double s, double n) {
  return kPi * d * d / 4 * FullVelocity(d, s, n);
}

// A 0.45 m pipe at 0.4 /100 with n 0.013, everything in metres and seconds.
void SetPipe(frmRivulet& form, bool discharge, OptionButton& unknown) {
  if ((form.optVelDis1.Caption() == "Discharge") != discharge) form.cmdVelDis_Click();
  form.cboSection.SetListIndex(0);
  form.cboVelDis1.SetListIndex(0);  // m/s or m³/s
  form.cboDepth.SetListIndex(2);
  form.cboDiam.SetListIndex(2);
  form.cboSlope.SetListIndex(1);  // /100
  form.txtDiam.SetText("0.45");
  form.txtSlope.SetText("0.4");
  form.txtManning.SetText("0.013");
  unknown.SetValue(true);
}

TEST_F(ResultsStandingTest, RunningFullKeepsWhatWasTypedAndGivesTheCapacity) {
  const double s = 0.004, n = 0.013, d = 0.45;
  struct Case {
    const char* name;
    bool discharge;
    OptionButton frmRivulet::*unknown;
    const char* flow;
    const char* depth;
    double capacity;  // in the first row's unit; 0: not surcharged
  };
  const Case cases[] = {
      {"discharge above capacity", true, &frmRivulet::optDepth, "0.4", "", FullDischarge(d, s, n)},
      {"velocity above capacity", false, &frmRivulet::optDepth, "3", "", FullVelocity(d, s, n)},
      // Given full, the slope or n found carries exactly what was asked: at capacity.
      {"slope of a full pipe", true, &frmRivulet::optSlope, "0.4", "0.45", 0},
      {"n of a full pipe", true, &frmRivulet::optManning, "0.4", "0.45", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionButton& unknown = form.*c.unknown;
    SetPipe(form, c.discharge, unknown);
    form.txtVelDis1.SetText(c.flow);
    form.txtDepth.SetText(c.depth);
    // Twice: what the first Calculate leaves must give the same answer again.
    for (int run = 0; run < 2; ++run) {
      services.messages.clear();
      form.cmdCalculate_Click();
      ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
      ASSERT_FALSE(services.messages.empty());
      EXPECT_EQ(services.messages.front().title, "Caution!");
      EXPECT_EQ(form.txtVelDis1.Text(), c.flow);
      EXPECT_EQ(form.txtDepth.Text(), "0.45");
      EXPECT_TRUE(unknown.Value());
      EXPECT_EQ(SurchargeOf(form).has_value(), c.capacity > 0);
    }
    const auto s = SurchargeOf(form);
    ASSERT_EQ(s.has_value(), c.capacity > 0);
    std::string report;
    ReportExtras extras;
    for (const std::string& line : ReportLines(form, extras)) {
      // Characters, not bytes: the units' ² and ³ take two bytes each.
      const auto width =
          std::count_if(line.begin(), line.end(), [](char ch) { return (ch & 0xC0) != 0x80; });
      EXPECT_LE(width, 70) << line;
      report += line + "\n";
    }
    const std::string json = CalculationJson(form, "p.rvl");
    if (!s) {
      EXPECT_EQ(report.find("surcharged"), std::string::npos);
      EXPECT_NE(json.find("\"surcharged\":false"), std::string::npos);
      continue;
    }
    const double asked = std::stod(c.flow);
    EXPECT_NEAR(s->capacity, c.capacity, 1e-12 * c.capacity);
    EXPECT_NEAR(s->ratio, asked / c.capacity, 1e-12 * asked / c.capacity);
    EXPECT_NE(SurchargeSentence(*s).find(" times the full-flow "), std::string::npos);
    EXPECT_NE(report.find("\n               Pipe surcharged: the "), std::string::npos) << report;
    EXPECT_NE(json.find("\"surcharged\":true"), std::string::npos);
    EXPECT_NE(json.find("\"capacityRatio\":"), std::string::npos);
  }
}

TEST_F(ResultsStandingTest, ASlopeThatIsNoneOrLevelIsRefusedByName) {
  struct Case {
    const char* name;
    bool discharge;
    OptionButton frmRivulet::*unknown;
    const char* slope;
    const char* message;  // nullptr: calculated
  };
  const char* kEmpty = "Invalid value for Slope:  the channel slope is empty or not a number.";
  const Case cases[] = {
      {"empty", true, &frmRivulet::optDepth, "", kEmpty},
      {"empty, flow unknown", true, &frmRivulet::optVelDis1, "", kEmpty},
      {"level, depth from a discharge", true, &frmRivulet::optDepth, "0",
       "Invalid value for Slope:  with a channel slope of 0 nothing flows, so no solution gives "
       "a discharge greater than 0."},
      {"level, n from a velocity", false, &frmRivulet::optManning, "0",
       "Invalid value for Slope:  with a channel slope of 0 nothing flows, so no solution gives "
       "a velocity greater than 0."},
      {"level, flow unknown", true, &frmRivulet::optVelDis1, "0", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetPipe(form, c.discharge, form.*c.unknown);
    form.txtVelDis1.SetText(c.unknown == &frmRivulet::optVelDis1 ? "" : "0.15");
    form.txtDepth.SetText(c.unknown == &frmRivulet::optDepth ? "" : "0.3");
    form.txtSlope.SetText(c.slope);
    form.txtManning.SetText(c.unknown == &frmRivulet::optManning ? "" : "0.013");
    services.messages.clear();
    form.cmdCalculate_Click();
    if (!c.message) {
      EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
      continue;
    }
    ASSERT_FALSE(services.messages.empty());
    EXPECT_EQ(services.messages[0].text, c.message);
    EXPECT_EQ(services.messages[0].title, "Oops!");
    // Nothing was rewritten: the flow and the slope are as typed.
    EXPECT_EQ(form.txtVelDis1.Text(), c.unknown == &frmRivulet::optVelDis1 ? "" : "0.15");
    EXPECT_EQ(form.txtSlope.Text(), c.slope);
  }
}

TEST_F(ResultsStandingTest, AFailedSolveLeavesNoResultOnTheSheet) {
  // First a solve with two depths, so that every result box holds a number.
  SetPipe(form, true, form.optDepth);
  form.txtVelDis1.SetText(
      std::to_string(1.02 * FullDischarge(0.45, 0.004, 0.013)));  // between full and peak
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  ASSERT_NE(form.txtDDS.Text(), "N/A");
  // Then a pipe too small for the geometry to hold water: no solution.
  form.cboDiam.SetListIndex(0);  // mm
  form.txtDiam.SetText("1e-300");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusNoSolution);
  for (const TextBox* box : {&form.txtDepth, &form.txtVelDis2, &form.txtArea, &form.txtDDS,
                             &form.txtVelDis3, &form.txtArea2})
    EXPECT_EQ(box->Text(), "") << box->Name();
  EXPECT_EQ(form.txtDiam.Text(), "1e-300");
  EXPECT_FALSE(SurchargeOf(form).has_value());
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Empty);
}

}  // namespace
}  // namespace rivulet
