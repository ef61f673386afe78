#include "core/window/flow_details_table.h"

#include <cmath>
#include <map>

#include "core/shell/number_text.h"
#include "core/window/section_sketch.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

enum Unit { kMm = 0, kFeet = 4, kLitresPerSecond = 2, kRatio = 0 };

class FlowDetailsTableTest : public WindowTest {
 protected:
  // A calculation typed in as the user would: section, mode, unknown, values.
  void Enter(int section, bool dischargeMode, OptionButton& unknown, const char* row1,
             const char* depth, const char* diam, const char* side, const char* slope,
             const char* n) {
    form.cboSection.SetListIndex(section);
    if ((form.optVelDis1.Caption() == "Discharge") != dischargeMode) form.cmdVelDis_Click();
    unknown.SetValue(true);
    form.txtVelDis1.SetText(row1);
    form.txtDepth.SetText(depth);
    form.txtDiam.SetText(diam);
    form.txtSide.SetText(side);
    form.txtSlope.SetText(slope);
    form.txtManning.SetText(n);
  }

  // The storm sewer: 450 mm, 150 L/s, 5/1000, n 0.013, depth in mm.
  void StormSewer(const char* litres = "150") {
    Enter(0, true, form.optDepth, litres, "", "450", "", "5", "0.013");
    form.cboVelDis1.SetListIndex(kLitresPerSecond);
    form.cboDepth.SetListIndex(kMm);
    form.cboDiam.SetListIndex(kMm);
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  }

  static std::map<std::string, DetailRow> ByKey(const DetailsTable& t) {
    std::map<std::string, DetailRow> rows;
    for (const DetailRow& r : t.rows) rows[r.key] = r;
    return rows;
  }
};

TEST_F(FlowDetailsTableTest, PipeDetailsInTheSheetsUnits) {
  StormSewer();
  const DetailsTable t = FlowDetailsTable(form);
  EXPECT_EQ(t.state, DetailsState::Current);
  EXPECT_FALSE(t.hasAlternate);
  auto rows = ByKey(t);
  // What the sheet shows, the details show alike.
  EXPECT_EQ(rows["depth"].primary.text, form.txtDepth.Text());
  EXPECT_EQ(rows["depth"].unit, "mm");
  EXPECT_EQ(rows["discharge"].primary.text, "150");
  EXPECT_EQ(rows["discharge"].unit, "L/s");
  EXPECT_EQ(rows["velocity"].primary.text, form.txtVelDis2.Text());
  EXPECT_EQ(rows["velocity"].unit, "m/s");
  // Critical depth of 150 L/s in a 450 mm pipe, worked by hand with false position.
  EXPECT_NEAR(*rows["criticalDepth"].primary.value, 271.587480765772, 1e-7);
  EXPECT_EQ(rows["criticalSlope"].unit, "/1000");
  EXPECT_NEAR(*rows["criticalSlope"].primary.value, 6.02366449952202, 1e-9);
  EXPECT_EQ(rows["regime"].primary.text, "Subcritical");
  EXPECT_EQ(rows["slopeClass"].primary.text, "Mild");
  EXPECT_EQ(rows["averageShear"].unit, "Pa");
  EXPECT_EQ(rows["fullFlowDischarge"].unit, "L/s");
  EXPECT_NEAR(*rows["percentFull"].primary.value, 64.2583791314163, 1e-9);
  EXPECT_EQ(t.primaryNote,
            "Below full flow (201.6 L/s): one part-full depth carries this discharge.");
  for (const DetailRow& r : t.rows) {
    EXPECT_FALSE(r.toolTip.empty()) << r.key;
    EXPECT_TRUE(r.alternate.text.empty()) << r.key;
  }
  EXPECT_NE(rows["froudeNumber"].toolTip.find("9.80665 m/s²"), std::string::npos);
  EXPECT_NE(rows["averageShear"].toolTip.find("1000 kg/m³"), std::string::npos);
}

TEST_F(FlowDetailsTableTest, UnitsFormatAndStalenessFollowTheSheet) {
  StormSewer();
  const double pascals = *ByKey(FlowDetailsTable(form))["maximumShear"].primary.value;
  const double millimetres = *ByKey(FlowDetailsTable(form))["criticalDepth"].primary.value;

  form.cboDepth.SetListIndex(kFeet);  // an edit: the results are no longer current
  DetailsTable t = FlowDetailsTable(form);
  EXPECT_EQ(t.state, DetailsState::Stale);
  auto rows = ByKey(t);
  EXPECT_EQ(rows["criticalDepth"].unit, "feet");
  EXPECT_NEAR(*rows["criticalDepth"].primary.value, millimetres / 304.8, 1e-12);
  EXPECT_EQ(rows["maximumShear"].unit, "lb/ft²");
  EXPECT_NEAR(*rows["maximumShear"].primary.value * 47.880258980336, pascals, 1e-9 * pascals);
  EXPECT_NE(rows["maximumShear"].toolTip.find("47.880259 Pa"), std::string::npos);

  form.cmdCalculate_Click();
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Current);
  form.mnuOptionsFix_Click();
  rows = ByKey(FlowDetailsTable(form));
  EXPECT_EQ(rows["percentFull"].primary.text, "64.258");
  EXPECT_EQ(rows["regime"].primary.text, "Subcritical");
}

TEST_F(FlowDetailsTableTest, NoDetailsWithoutACompletedCalculation) {
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Empty);
  EXPECT_FALSE(SketchOf(form));
  StormSewer();
  // Failed input checks leave the last results, now marked stale, as the sheet does.
  form.txtManning.SetText("");
  form.cmdCalculate_Click();
  EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Stale);
  // A calculation that finds no solution leaves nothing to detail.
  Enter(3, false, form.optSide, "1.1", "1", "1", "", "1", "0.013");
  form.cmdCalculate_Click();
  EXPECT_EQ(form.txtStatus.Text(), kStatusNoSolution);
  EXPECT_FALSE(form.LastSolve());
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Empty);
  form.txtSlope.SetText("2");
  EXPECT_EQ(FlowDetailsTable(form).state, DetailsState::Empty);
}

struct AlternateCase {
  const char* name;
  int section;
  OptionButton frmRivulet::*unknown;
  const char *velocity, *depth, *diam;
  const char* altKey;  // the row that tells the alternate apart
};

TEST_F(FlowDetailsTableTest, AlternateSolutionsBesideThePrimary) {
  const AlternateCase cases[] = {
      // 1 m pipe at 1/1000, n 0.013, 1.05 m/s: depths 0.6269516 m and 0.9581926 m.
      {"pipe depth", 0, &frmRivulet::optDepth, "1.05", "", "1", "depth"},
      // Trapezoid 1 m wide, 1 m deep, 1.6 m/s: side slopes 5.5477 and 1.2000.
      {"trapezoid sides", 3, &frmRivulet::optSide, "1.6", "1", "1", "sideSlope"},
  };
  for (const AlternateCase& c : cases) {
    SCOPED_TRACE(c.name);
    Enter(c.section, false, form.*c.unknown, c.velocity, c.depth, c.diam, "", "1", "0.013");
    if (c.section == 3) {  // both side slopes as x horizontal per 1 vertical
      form.cboSide.SetListIndex(kRatio);
      form.cboDDS.SetListIndex(kRatio);
    }
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
    const DetailsTable t = FlowDetailsTable(form);
    ASSERT_TRUE(t.hasAlternate);
    auto rows = ByKey(t);
    EXPECT_EQ(rows[c.altKey].alternate.text, form.txtDDS.Text());
    EXPECT_EQ(rows["velocity"].alternate.text, c.velocity);
    EXPECT_EQ(rows["discharge"].alternate.text, form.txtVelDis3.Text());
    EXPECT_NE(rows["criticalDepth"].alternate.text, "");
  }
}

// More than the pipe's peak: no part-full depth carries it, the sheet shows the pipe
// running full, and the details say why.
TEST_F(FlowDetailsTableTest, SurchargedPipeKeepsTheDischargeAskedFor) {
  StormSewer("300");
  ASSERT_TRUE(form.LastSolve() && form.LastSolve()->requestedDischarge);
  EXPECT_NEAR(*form.LastSolve()->requestedDischarge, 0.3, 1e-15);
  const DetailsTable t = FlowDetailsTable(form);
  auto rows = ByKey(t);
  EXPECT_EQ(rows["regime"].primary.text, "None: running full");
  EXPECT_EQ(rows["froudeNumber"].primary.text, "None: running full");
  EXPECT_EQ(rows["percentFull"].primary.text, "100");
  EXPECT_EQ(t.primaryNote,
            "The discharge asked for (300 L/s) is above the maximum (216.9 L/s): no open-channel "
            "depth carries it. The pipe surcharges; shown running full.");

  // A pipe typed in running full asked for nothing.
  Enter(0, false, form.optVelDis1, "", "1", "1", "", "1", "0.013");
  form.cmdCalculate_Click();
  ASSERT_TRUE(form.LastSolve());
  EXPECT_FALSE(form.LastSolve()->requestedDischarge);
  EXPECT_EQ(FlowDetailsTable(form).primaryNote, "Running full: no free surface.");
}

TEST_F(FlowDetailsTableTest, ViewMenuGainsFlowDetailsAfterTheDrawings) {
  std::vector<std::string> view;
  for (const MenuNode& top : form.MenuBar())
    if (top.item == &form.mnuView)
      for (const MenuNode& item : top.children) view.push_back(item.item->Caption());
  EXPECT_EQ(view,
            (std::vector<std::string>{"&Circular Pipe", "&Rectangle", "&Trapezoid", "Tr&iangle",
                                      "&Gutter", "-", "&Flow Details", "R&ating Table"}));
  EXPECT_FALSE(form.mnuFlowDetails.Checked());
  form.mnuFlowDetails.Click();
  EXPECT_TRUE(form.mnuFlowDetails.Checked());
  form.mnuFlowDetails.Click();
  EXPECT_FALSE(form.mnuFlowDetails.Checked());
}

double PolygonArea(const std::vector<SketchPoint>& p) {
  double twice = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const SketchPoint& a = p[i];
    const SketchPoint& b = p[(i + 1) % p.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

// Drawn to scale: the water drawn is the flow area computed, the levels stand at their
// depths, and the dimensions carry their values in the depth's unit.
TEST_F(FlowDetailsTableTest, SketchIsToScale) {
  Enter(0, false, form.optDepth, "1.05", "", "1", "", "1", "0.013");
  form.cmdCalculate_Click();
  auto sketch = SketchOf(form);
  ASSERT_TRUE(sketch);
  const SolvedFlows flows = FlowsOf(*form.LastSolve());
  const auto pipe = ComputeFlowDetails(flows.primary);
  EXPECT_NEAR(PolygonArea(sketch->water), pipe->area, 1e-3 * pipe->area);
  EXPECT_TRUE(sketch->closed);
  EXPECT_EQ(sketch->surface.depth, pipe->depth);
  EXPECT_NEAR(sketch->surface.right - sketch->surface.left, pipe->topWidth, 1e-12);
  ASSERT_TRUE(sketch->alternateSurface && sketch->critical);
  EXPECT_EQ(sketch->alternateSurface->depth, flows.alternate->depth);
  EXPECT_EQ(sketch->critical->depth, pipe->critical.depth);
  EXPECT_EQ(sketch->critical->legend,
            "Critical depth, yc = " + ShortNumber(pipe->critical.depth) + " meters");
  EXPECT_EQ(sketch->dimensions[0].label, "D = 1 meters");

  Enter(3, true, form.optDepth, "0.25", "", "600", "4", "5", "0.035");
  form.cboDiam.SetListIndex(kMm);
  form.cboDepth.SetListIndex(kMm);
  form.cboSide.SetListIndex(kRatio);
  form.cmdCalculate_Click();
  sketch = SketchOf(form);
  ASSERT_TRUE(sketch);
  const auto swale = ComputeFlowDetails(FlowsOf(*form.LastSolve()).primary);
  EXPECT_NEAR(PolygonArea(sketch->water), swale->area, 1e-12);
  EXPECT_FALSE(sketch->closed);
  EXPECT_EQ(sketch->slopeLabel, "1 : 4");
  EXPECT_EQ(sketch->dimensions[0].label, "b = 600 mm");
  EXPECT_GE(sketch->maxY, std::max(swale->depth, swale->critical.depth));
}

}  // namespace
}  // namespace rivulet
