#include "core/design/sheet_design.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/shell/number_text.h"
#include "core/shell/services.h"
#include "core/shell/utf8_text.h"
#include "window/window_fixture.h"

namespace rivulet {
namespace {

using SheetDesignTest = WindowTest;

// A part-full pipe solved for its velocity: depth 0.3, diameter 0.5 in the given unit,
// slope 5 per 1000, n 0.013.
void SolvePipe(frmRivulet& form, int lengthUnit, const char* depth, const char* diameter) {
  form.cboSection.SetListIndex(0);
  form.optVelDis1.SetValue(true);
  form.cboDepth.SetListIndex(lengthUnit);
  form.cboDiam.SetListIndex(lengthUnit);
  form.txtDepth.SetText(depth);
  form.txtDiam.SetText(diameter);
  form.cboSlope.SetListIndex(0);
  form.txtSlope.SetText("5");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
}

TEST_F(SheetDesignTest, NoCompletedCalculationHasNoDesign) {
  EXPECT_FALSE(DesignOfSheet(form, DefaultDesignSettings()));
}

TEST_F(SheetDesignTest, MetricPipeGetsAMetricSizeThatUseThisSizeWritesBack) {
  SolvePipe(form, 2, "0.45", "0.5");  // meters: 90 % full, above the 0.8 limit
  auto design = DesignOfSheet(form, DefaultDesignSettings());
  ASSERT_TRUE(design);
  ASSERT_TRUE(design->result.standard);
  EXPECT_EQ(design->result.list->system, UnitSystem::SI);
  EXPECT_TRUE(design->diameterGiven);
  EXPECT_FALSE(design->result.meetsLimits);  // y/D 0.9 > 0.8
  const double nominal = design->result.standard->nominal;
  EXPECT_GT(nominal, 500);

  const std::string json = DesignJson(*design);
  EXPECT_NE(json.find("\"standardDiameter\":{\"unit\":\"mm\",\"value\":" + FormatNumber(nominal)),
            std::string::npos)
      << json;
  // The figures are in the sheet's units: the depth in meters, as the sheet's depth.
  EXPECT_NE(json.find("\"standardDiameterDepth\":{\"unit\":\"meters\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"givenPipeMeetsLimits\":false"), std::string::npos) << json;
  EXPECT_NE(json.find("\"name\":\"depthRatio\",\"pass\":false"), std::string::npos) << json;

  const auto lines = DesignReportLines(*design, 60);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find("Standard size"), std::string::npos);
  for (const std::string& l : lines) EXPECT_LE(CharacterCount(l), 60u) << l;

  ASSERT_TRUE(UseStandardSize(form, *design));
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_TRUE(form.optDepth.Value());
  EXPECT_EQ(ReadNumber(form.txtDiam.Text()), nominal / 1000);
  const double ratio = ReadNumber(form.txtDepth.Text()) / ReadNumber(form.txtDiam.Text());
  EXPECT_LE(ratio, 0.8 + 1e-9);
  EXPECT_NEAR(ratio, design->result.standard->percentFull / 100, 1e-9);
}

TEST_F(SheetDesignTest, InchDiameterUsesTheUsList) {
  SolvePipe(form, 3, "10", "15");  // inches
  auto design = DesignOfSheet(form, DefaultDesignSettings());
  ASSERT_TRUE(design && design->result.standard);
  EXPECT_EQ(design->result.list->system, UnitSystem::US);
  const double nominal = design->result.standard->nominal;
  const auto& us = BuiltInUsSizes().sizes;
  EXPECT_NE(std::find(us.begin(), us.end(), nominal), us.end());
  ASSERT_TRUE(UseStandardSize(form, *design));
  EXPECT_EQ(form.cboDiam.ListIndex(), 3);
  EXPECT_EQ(ReadNumber(form.txtDiam.Text()), nominal);
}

TEST_F(SheetDesignTest, AnEditMarksTheDesignNotCurrent) {
  SolvePipe(form, 2, "0.2", "0.5");
  form.txtManning.SetText("0.014");
  auto design = DesignOfSheet(form, DefaultDesignSettings());
  ASSERT_TRUE(design);
  EXPECT_FALSE(design->current);
  EXPECT_NE(DesignJson(*design).find("\"current\":false"), std::string::npos);
}

TEST_F(SheetDesignTest, OpenChannelHasChecksButNoSize) {
  form.cboSection.SetListIndex(1);  // rectangle
  form.optVelDis1.SetValue(true);
  form.cboDepth.SetListIndex(2);
  form.cboDiam.SetListIndex(2);
  form.txtDepth.SetText("0.5");
  form.txtDiam.SetText("2");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.015");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  auto design = DesignOfSheet(form, DefaultDesignSettings());
  ASSERT_TRUE(design);
  EXPECT_FALSE(design->result.list);
  EXPECT_FALSE(UseStandardSize(form, *design));
  EXPECT_EQ(DesignJson(*design).find("\"standardDiameter\":null") != std::string::npos, true);
}

}  // namespace
}  // namespace rivulet
