#include <algorithm>

#include "core/hydraulics/units.h"
#include "core/shell/startup.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

using SwitchingTest = WindowTest;

TEST_F(SwitchingTest, FreshStartMatchesTheDefaults) {
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString());
  EXPECT_EQ(form.Title().find('['), std::string::npos);
  EXPECT_EQ(form.cboSection.Items(), SectionNames());
  EXPECT_EQ(form.cboSection.Text(), "Circular Pipe");
  EXPECT_EQ(form.optVelDis1.Caption(), "Velocity");
  EXPECT_TRUE(form.optVelDis1.Value());
  EXPECT_EQ(form.txtVelDis1.BackColour(), kHighlightYellow);
  const std::pair<ComboBox*, const char*> units[] = {
      {&form.cboVelDis1, "m/s"},      {&form.cboDepth, "meters"}, {&form.cboDiam, "meters"},
      {&form.cboSide, "degrees"},     {&form.cboSlope, "/1000"},  {&form.cboVelDis2, "m\u00b3/s"},
      {&form.cboArea, "m\u00b2"},     {&form.cboDDS, "meters"},   {&form.cboArea2, "m\u00b2"},
      {&form.cboVelDis3, "m\u00b3/s"}};
  for (const auto& [list, text] : units) EXPECT_EQ(list->Text(), text) << list->Name();
  EXPECT_EQ(form.cboDDS.Items(), LengthUnits());
  EXPECT_EQ(form.optDiam.Caption(), "Diameter");
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Depth");
  EXPECT_FALSE(form.optSide.Enabled());
  EXPECT_FALSE(form.txtSide.Enabled());
  EXPECT_TRUE(form.chkLocDiam.Visible());
  EXPECT_EQ(form.chkLocDiam.Value(), 0);
  EXPECT_EQ(form.txtStatus.Text(), kStatusWelcome);
  EXPECT_EQ(form.txtStatus.BackColour(), kStatusWelcomeColour);
  for (Control* c :
       std::initializer_list<Control*>{&form.lblDDS, &form.txtDDS, &form.lblVelDis3,
                                       &form.txtVelDis3, &form.lblArea2, &form.txtArea2})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(form.cboDDS.Enabled());
  EXPECT_EQ(form.TabOrder().front(), &form.cboSection);
  EXPECT_EQ(form.TabOrder().back(), &form.cmdCalculate);
  const std::vector<Control*> order = form.TabOrder();
  const auto diam = std::find(order.begin(), order.end(), &form.txtDiam);
  ASSERT_NE(diam, order.end());
  EXPECT_EQ(*(diam + 1), &form.chkLocDiam) << "the lock right after the box it locks";
  EXPECT_EQ(std::find(order.begin(), order.end(), &form.txtStatus), order.end());
}

TEST_F(SwitchingTest, SectionTableEnablesAndEmptiesRows) {
  struct Row {
    int section;
    const char* diamCaption;
    bool diamEnabled, sideEnabled, lockVisible;
  };
  const Row rows[] = {{1, "Width", true, false, false},
                      {2, "Width", false, true, false},
                      {3, "Width", true, true, false},
                      {4, "Width", true, true, false},
                      {0, "Diameter", true, false, true}};
  for (const Row& r : rows) {
    form.txtDiam.SetText("2");
    form.txtSide.SetText("3");
    form.cboSection.SetListIndex(r.section);
    SCOPED_TRACE(r.section);
    EXPECT_EQ(form.optDiam.Caption(), r.diamCaption);
    EXPECT_EQ(form.txtDiam.Enabled(), r.diamEnabled);
    EXPECT_EQ(form.cboDiam.Enabled(), r.diamEnabled);
    EXPECT_EQ(form.txtDiam.Text(), r.diamEnabled ? "2" : "");
    EXPECT_EQ(form.txtSide.Enabled(), r.sideEnabled);
    EXPECT_EQ(form.txtSide.Text(), r.sideEnabled ? "3" : "");
    EXPECT_EQ(form.chkLocDiam.Visible(), r.lockVisible);
    EXPECT_TRUE(form.optDepth.Enabled());
  }
}

TEST_F(SwitchingTest, UnknownMovesWhenTheSectionCannotHaveIt) {
  form.cboSection.SetListIndex(3);
  form.optDiam.SetValue(true);
  form.cboSection.SetListIndex(2);  // a triangle has no width
  EXPECT_TRUE(form.optSide.Value());
  EXPECT_FALSE(form.optDiam.Value());
  EXPECT_EQ(form.txtSide.BackColour(), kHighlightYellow);
  EXPECT_EQ(form.txtDiam.BackColour(), Colour::Window());
  EXPECT_FALSE(form.txtDiam.Enabled());

  for (int section : {0, 1}) {
    form.cboSection.SetListIndex(3);
    form.optSide.SetValue(true);
    form.cboSection.SetListIndex(section);
    EXPECT_TRUE(form.optDiam.Value()) << section;
    EXPECT_EQ(form.txtDiam.BackColour(), kHighlightYellow);
  }
}

TEST_F(SwitchingTest, AltDepthRowFollowsSectionAndUnknown) {
  form.optDiam.SetValue(true);
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Diameter");
  form.optDepth.SetValue(true);
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Depth");
  form.optSlope.SetValue(true);
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Depth");

  form.cboSection.SetListIndex(3);
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Side Slope");
  EXPECT_EQ(form.cboDDS.Items(), SideSlopeUnits());
  EXPECT_EQ(form.cboDDS.Text(), "degrees");
  form.cboSection.SetListIndex(1);  // the rectangle keeps what the trapezoid left
  EXPECT_EQ(form.lblDDS.Caption(), "Alt. Side Slope");
  EXPECT_EQ(form.cboDDS.Items(), SideSlopeUnits());
}

TEST_F(SwitchingTest, DepthLockCopiesAndFollowsTheDiameter) {
  form.txtDiam.SetText("250");
  form.cboDiam.SetListIndex(0);
  form.optDepth.SetValue(true);
  form.chkLocDiam.SetValue(1);
  EXPECT_EQ(form.txtDepth.Text(), "250");
  EXPECT_EQ(form.cboDepth.Text(), "mm");
  EXPECT_FALSE(form.txtDepth.Enabled());
  EXPECT_FALSE(form.cboDepth.Enabled());
  EXPECT_TRUE(form.optDiam.Value());
  // Choosing the new unknown cleared every highlight after the depth box was coloured.
  EXPECT_EQ(form.txtDepth.BackColour(), Colour::Window());
  EXPECT_EQ(form.txtDiam.BackColour(), kHighlightYellow);

  form.txtDiam.SetText("300");
  EXPECT_EQ(form.txtDepth.Text(), "300");
  form.cboDiam.SetListIndex(4);
  EXPECT_EQ(form.cboDepth.Text(), "feet");

  form.chkLocDiam.SetValue(0);
  EXPECT_TRUE(form.txtDepth.Enabled());
  EXPECT_TRUE(form.cboDepth.Enabled());
  EXPECT_EQ(form.txtDepth.Text(), "300");

  form.chkLocDiam.SetValue(1);
  form.cboSection.SetListIndex(3);
  form.cboSection.SetListIndex(0);  // choosing the pipe again always clears the lock
  EXPECT_EQ(form.chkLocDiam.Value(), 0);
  EXPECT_TRUE(form.chkLocDiam.Visible());
}

TEST_F(SwitchingTest, ToggleSwapsQuantitiesWithTheirUnits) {
  form.txtVelDis1.SetText("1.5");
  form.cboVelDis1.SetListIndex(2);  // ft/s
  form.cboVelDis2.SetListIndex(6);  // GPM
  form.txtVelDis2.SetText("40");
  form.cmdVelDis_Click();
  EXPECT_EQ(form.optVelDis1.Caption(), "Discharge");
  EXPECT_EQ(form.lblVelDis2.Caption(), "Velocity");
  EXPECT_EQ(form.cboVelDis1.Text(), "GPM");
  EXPECT_EQ(form.cboVelDis2.Text(), "ft/s");
  EXPECT_EQ(form.txtVelDis1.Text(), "40");
  EXPECT_EQ(form.txtVelDis2.Text(), "1.5");
  EXPECT_EQ(form.lblVelDis3.Caption(), "Alt. Velocity");
  EXPECT_EQ(form.cboVelDis3.Items(), VelocityUnits());
  EXPECT_EQ(form.cboVelDis3.Text(), "ft/s");
  EXPECT_TRUE(form.optVelDis1.Value());

  form.cmdVelDis_Click();
  EXPECT_EQ(form.optVelDis1.Caption(), "Velocity");
  EXPECT_EQ(form.lblVelDis2.Caption(), "Discharge");
  EXPECT_EQ(form.cboVelDis1.Text(), "ft/s");
  EXPECT_EQ(form.cboVelDis2.Text(), "GPM");
  EXPECT_EQ(form.txtVelDis1.Text(), "1.5");
  EXPECT_EQ(form.txtVelDis2.Text(), "40");
  EXPECT_EQ(form.lblVelDis3.Caption(), "Alt. Discharge");
  EXPECT_EQ(form.cboVelDis3.Text(), "GPM");
}

}  // namespace
}  // namespace rivulet
