// The flow details never contradict each other or the sheet they describe.
#include <charconv>
#include <cmath>
#include <string>

#include "core/batch/details_output.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/units.h"
#include "core/window/flow_details_table.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

using FlowConsistencyTest = WindowTest;

double PipeDischargeAt(double d, double y, double s, double n) {
  const double theta = PipeAngle(y, d, 4 * std::atan(1.0));
  const double a = PipeArea(theta, d);
  return a * ManningVelocity(HydraulicRadius(a, PipePerimeter(theta, d)), s, n);
}

std::string Exact(double v) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

TEST(FlowDetailsAgreement, SlopeClassFollowsTheRegimeInNearFullPipes) {
  // Depths up to the crown, where the discharge falls again and the critical slope no
  // longer orders the slopes the way the depths are ordered.
  int checked = 0;
  for (double s : {0.0002, 0.002, 0.02, 0.05, 0.2}) {
    for (double n : {0.009, 0.011, 0.013, 0.024}) {
      for (double ratio = 0.05; ratio < 0.9995; ratio += 0.0173) {
        const double d = 1.2, y = ratio * d;
        const FlowState state{{SectionKind::Pipe, d, 0, 0}, y, s, n,
                              PipeDischargeAt(d, y, s, n),  {}};
        const auto f = ComputeFlowDetails(state);
        ASSERT_TRUE(f.has_value());
        if (!f->slopeClass) continue;
        SCOPED_TRACE("S " + std::to_string(s) + " n " + std::to_string(n) + " y/D " +
                     std::to_string(ratio));
        ++checked;
        switch (f->regime) {
          case FlowRegime::Subcritical:
            EXPECT_EQ(*f->slopeClass, SlopeClass::Mild);
            break;
          case FlowRegime::Supercritical:
            EXPECT_EQ(*f->slopeClass, SlopeClass::Steep);
            break;
          case FlowRegime::Critical:
            EXPECT_EQ(*f->slopeClass, SlopeClass::Critical);
            break;
          case FlowRegime::RunningFull:
            break;
        }
      }
    }
  }
  EXPECT_GT(checked, 900);
  // The state that was seen to disagree: supercritical flow on what was called a mild slope.
  const double q = PipeDischargeAt(1.2, 1.116, 0.05, 0.011);
  const auto f = ComputeFlowDetails({{SectionKind::Pipe, 1.2, 0, 0}, 1.116, 0.05, 0.011, q, {}});
  ASSERT_TRUE(f && f->slopeClass && f->criticalSlope);
  EXPECT_EQ(f->regime, FlowRegime::Supercritical);
  EXPECT_EQ(*f->slopeClass, SlopeClass::Steep);
}

TEST_F(FlowConsistencyTest, DischargeAtThePipesMaximumAgreesWithTheSheet) {
  // The maximum to the last bits, and a few bits either side: two depths on the sheet go with
  // "two depths" in the details, running full with "surcharges".
  const double d = 1, s = ConvertSlope(1, 0, kToBase), n = 0.013;
  const double peak = PipeMaximumFlow(d, s, n).discharge;
  int withTwoDepths = 0;
  for (double q : {peak, std::nextafter(peak, 0.0), std::nextafter(peak, 2.0),
                   std::nextafter(std::nextafter(peak, 2.0), 2.0), peak * 1.0001}) {
    SCOPED_TRACE(Exact(q));
    services.messages.clear();
    if (form.optVelDis1.Caption() == "Velocity") form.cmdVelDis_Click();
    form.optDepth.SetValue(true);
    form.txtVelDis1.SetText(Exact(q));
    form.txtDiam.SetText("1");
    form.txtSlope.SetText("1");
    form.txtManning.SetText("0.013");
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
    const DetailsTable table = FlowDetailsTable(form);
    const std::string& alt = form.txtDDS.Text();
    const bool twoDepths = !alt.empty() && alt != "N/A";
    const bool ranFull = !services.messages.empty();  // the running-full caution
    EXPECT_FALSE(twoDepths && ranFull);
    if (twoDepths) {
      ++withTwoDepths;
      EXPECT_NE(table.primaryNote.find("two depths"), std::string::npos) << table.primaryNote;
      EXPECT_FALSE(table.surcharged);
    }
    if (ranFull) {
      EXPECT_TRUE(table.primaryNote.find("surcharges") != std::string::npos ||
                  table.primaryNote.find("Running full") != std::string::npos)
          << table.primaryNote;
    }
  }
  EXPECT_GT(withTwoDepths, 0);
}

TEST_F(FlowConsistencyTest, SurchargedPipeKeepsWhatWasAskedFor) {
  struct Case {
    const char* name;
    bool discharge;
    const char* asked;
    const char* key;
    const char* words;
  };
  const Case cases[] = {
      {"discharge", true, "2.5", "\"requestedDischarge\":{\"value\":2.5,\"unit\":\"m\u00b3/s\"",
       "The discharge asked for (2.5 m\u00b3/s) is above the maximum"},
      {"velocity", false, "3", "\"requestedVelocity\":{\"value\":3,\"unit\":\"m/s\"",
       "The velocity asked for (3 m/s) is above the largest part-full velocity"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if ((form.optVelDis1.Caption() == "Discharge") != c.discharge) form.cmdVelDis_Click();
    form.optDepth.SetValue(true);
    form.txtVelDis1.SetText(c.asked);
    form.txtDiam.SetText("1");
    form.txtSlope.SetText("1");
    form.txtManning.SetText("0.013");
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
    // What was typed stays; the capacity is a result beside it.
    EXPECT_EQ(form.txtVelDis1.Text(), c.asked);
    EXPECT_EQ(form.txtDepth.Text(), "1");
    EXPECT_TRUE(form.optDepth.Value());
    EXPECT_TRUE(SurchargeOf(form).has_value());
    const std::string json = CalculationJson(form, "p.rvl");
    EXPECT_NE(json.find(c.key), std::string::npos) << json;
    EXPECT_NE(json.find("\"surcharged\":true"), std::string::npos) << json;
    EXPECT_NE(json.find(std::string("\"inputs\":{\"") + c.name + "\":{\"value\":" + c.asked),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"fullFlowCapacity\":{\"value\":"), std::string::npos) << json;
    EXPECT_NE(json.find("\"capacityRatio\":"), std::string::npos) << json;
    std::string block;
    for (const std::string& line : DetailsReportLines(form)) block += line + " ";
    EXPECT_NE(block.find("surcharges"), std::string::npos) << block;
    EXPECT_NE(FlowDetailsTable(form).primaryNote.find(c.words), std::string::npos)
        << FlowDetailsTable(form).primaryNote;
  }
  // Within its capacity nothing was overwritten and nothing surcharges.
  form.txtVelDis1.SetText("0.5");
  form.cmdCalculate_Click();
  const std::string json = CalculationJson(form, "p.rvl");
  EXPECT_EQ(json.find("requested"), std::string::npos);
  EXPECT_EQ(json.find("capacity"), std::string::npos);
  EXPECT_NE(json.find("\"surcharged\":false"), std::string::npos);
  EXPECT_FALSE(SurchargeOf(form).has_value());
}

}  // namespace
}  // namespace rivulet
