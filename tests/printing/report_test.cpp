#include "core/printing/report.h"

#include <gtest/gtest.h>

#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() : form(services, StartupValues::ForFolder("/nonexistent")) { form.Form_Load(); }
  RecordingServices services;
  frmRivulet form;
};

size_t Columns(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

TEST_F(ReportTest, LayoutOfAPipeSolvedForDepth) {
  form.optDepth.SetValue(true);
  form.txtVelDis1.SetText("1.05");
  form.txtDepth.SetText("0.626951600000000");
  form.txtDiam.SetText("1");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.txtVelDis2.SetText("0.5");
  form.txtStatus.SetText("Calculations Complete!");
  ReportExtras extras;
  extras.comments[1] = "Second comment";
  const auto r = ReportLines(form, extras);
  ASSERT_EQ(r.size(), 54u);
  EXPECT_EQ(r[0], " ");
  EXPECT_EQ(r[3], "          Rivulet");
  EXPECT_EQ(r[4], "          Version " + BuildVersionString());
  EXPECT_EQ(r[6].size(), 70u);
  EXPECT_EQ(r[7].size(), 70u);
  EXPECT_EQ(r[6].substr(10, 4), "Tarn");
  EXPECT_EQ(r[9], "          " + std::string(60, '='));
  EXPECT_EQ(r[10], "               Channel Section    Circular Pipe");
  EXPECT_EQ(r[11], "          " + std::string(60, '-'));
  EXPECT_EQ(r[12], "          ( )  Velocity           1.05                  m/s");
  EXPECT_EQ(r[13], "          (X)  Depth              0.626951600000000     meters");
  EXPECT_EQ(r[14], "          ( )  Diameter           1                     meters");
  EXPECT_EQ(r[15], "          ( )  Side Slope         N/A                   degrees");
  EXPECT_EQ(r[16], "          ( )  Channel Slope      1                     /1000");
  EXPECT_EQ(r[17], "          ( )  Manning's N        0.013");
  EXPECT_EQ(r[19], "          (X)  Discharge          0.5                   m\u00b3/s");
  EXPECT_EQ(r[21].substr(0, 34), "          (X)  Alt. Depth         ");
  EXPECT_EQ(r[25], "               Status             Calculations Complete!");
  EXPECT_EQ(r[25].find("Calculations"), 34u);  // column 35
  EXPECT_EQ(r[28], "          (X)  Denotes calculated values" + std::string(30, ' '));
  EXPECT_EQ(r[31].size(), 70u);
  for (int i = 33; i < 43; ++i) EXPECT_EQ(r[i].size(), 70u) << i;
  EXPECT_EQ(r[45].substr(0, 19), "          Comments:");
  EXPECT_EQ(r[47], "          ");
  EXPECT_EQ(r[48], "          Second comment");
  EXPECT_EQ(r[52], " ");
  EXPECT_EQ(r[53], "          " + std::string(60, '='));
}

TEST_F(ReportTest, FieldEdgesAndStatusGaps) {
  form.txtDepth.SetText("1234567890123456789012");  // exactly 22: the unit follows directly
  form.txtStatus.SetText("Input has been modified, please recalculate.");  // 44 characters
  ReportExtras extras;
  extras.printFileName = true;
  form.currentFilePath = "/home/eng/pipe.rvl";
  const auto r = ReportLines(form, extras);
  ASSERT_EQ(r.size(), 55u);
  EXPECT_EQ(r[13], "          ( )  Depth              1234567890123456789012meters");
  EXPECT_LE(Columns(r[25]), 70u);
  EXPECT_EQ(r[25].find("Input"), 15u + 6u + 3u);
  EXPECT_EQ(r[54], "          /home/eng/pipe.rvl");

  form.txtStatus.SetText("A suitable solution could not be found!");  // 39 characters
  EXPECT_LE(Columns(ReportLines(form, extras)[25]), 70u);
  form.txtStatus.SetText(std::string(47, 'S'));
  EXPECT_EQ(ReportLines(form, extras)[25], "               Status  " + std::string(47, 'S'));
}

TEST(Disclaimer, TenJustifiedLinesOfSixty) {
  const auto& lines = DisclaimerLines();
  ASSERT_EQ(lines.size(), 10u);
  for (const auto& l : lines) {
    EXPECT_EQ(l.size(), 60u);
    EXPECT_NE(l.front(), ' ');
  }
  for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_NE(lines[i].back(), ' ') << i;
}

}  // namespace
}  // namespace rivulet
