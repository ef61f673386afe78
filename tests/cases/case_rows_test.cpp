// Rows the table cannot read, rows the sheet refuses, and what a row's cells mean: unit
// spellings, modes, the lock, result units and the order independence of rows.
#include <gtest/gtest.h>

#include <string>

#include "cases_fixture.h"
#include "core/cases/case_columns.h"
#include "core/cases/case_document.h"
#include "core/cases/case_units.h"
#include "core/files/defaults_file.h"

namespace rivulet {
namespace {

using cases_test::RunText;
using cases_test::TempFolder;

const CaseStart& BuiltIn() {
  static const CaseStart start = CaseStart::BuiltIn(StartupValues::ForFolder("/nonexistent/rv"));
  return start;
}

const std::string kHeader =
    "name,section,solveFor,runningFull,flow,flowUnit,depth,depthUnit,width,widthUnit,"
    "sideSlope,sideSlopeUnit,slope,slopeUnit,manningsN\n";

struct BadRow {
  const char* name;
  const char* row;
  const char* status;
  const char* message;
};

class BadRowTest : public ::testing::TestWithParam<BadRow> {};

TEST_P(BadRowTest, SaysWhyAndLeavesTheOthers) {
  const BadRow& b = GetParam();
  // A good row on each side: a bad row never stops the others.
  const std::string good = "ok,pipe,depth,,0.05,m3/s,,m,0.45,m,,,5,/1000,0.013\n";
  const auto r = RunText(kHeader + good + b.row + "\n" + good, BuiltIn());
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_EQ(r.status, kCasesSomeUnsolved);
  EXPECT_EQ(r.rows[1].at("status"), b.status);
  EXPECT_EQ(r.rows[1].at("message"), b.message);
  EXPECT_EQ(r.rows[1].at("area"), "");
  for (size_t i : {0u, 2u}) EXPECT_EQ(r.rows[i].at("status"), kStatusComplete);
}

// A comma typed for the decimal point reads as one, as in every value box.
TEST(CaseRows, ADecimalCommaReadsAsAPoint) {
  const auto r = RunText(kHeader + "a,pipe,depth,,0.05,m3/s,,m,0.45,m,,,5,/1000,0.013\n" +
                             "b,pipe,depth,,\"0,05\",m3/s,,m,\"0,45\",m,,,5,/1000,\"0,013\"\n",
                         BuiltIn());
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[1].at("status"), kStatusComplete);
  EXPECT_EQ(r.rows[1].at("depth"), r.rows[0].at("depth"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadRowTest,
    ::testing::Values(
        BadRow{"UnknownSection", "x,hexagon,depth,,1,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "section: \"hexagon\" is not one of pipe, rectangle, triangle, trapezoid, gutter"},
        BadRow{"EmptySection", "x,,depth,,1,m3/s,,m,1,m,,,1,/1000,0.013", kStatusNotCalculated,
               "section: empty one of pipe, rectangle, triangle, trapezoid, gutter"},
        BadRow{"UnknownSolveFor", "x,pipe,area,,1,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "solveFor: \"area\" is not one of velocity, discharge, depth, diameter, width, "
               "sideSlope, slope, manningsN"},
        BadRow{"DiameterOfAChannel", "x,rectangle,diameter,,1,m3/s,1,m,,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "solveFor: diameter applies to a pipe; use width for this section"},
        BadRow{"WidthOfATriangle", "x,triangle,width,,1,m3/s,1,m,,m,1,1/x,1,/1000,0.013",
               kStatusNotCalculated, "solveFor: a triangle has no width"},
        BadRow{"SideSlopeOfAPipe", "x,pipe,sideSlope,,1,m3/s,1,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated, "solveFor: this section has no side slope"},
        BadRow{"UnitNotInTheList", "x,pipe,depth,,1,m3/s,,yards,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "depthUnit: \"yards\" is not one of mm, cm, meters, inches, feet, m, ft, in"},
        BadRow{"FlowUnitOfNoKind", "x,pipe,depth,,1,kg/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated, "flowUnit: \"kg/s\" is not a velocity or discharge unit"},
        BadRow{"VelocityInADischargeUnit", "x,pipe,velocity,,,m3/s,1,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "solveFor: velocity needs a velocity unit in flowUnit, not \"m3/s\""},
        BadRow{"TextInANumberCell", "x,pipe,depth,,lots,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated, "flow: \"lots\" is not a number"},
        BadRow{"TwoCommas", "x,pipe,depth,,\"0,0,5\",m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated, "flow: \"0,0,5\" is not a number"},
        // Numbers beyond a double: the sheet would read them as the largest double or as 0.
        BadRow{"HugeDepth", "x,pipe,velocity,,,m/s,1e400,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "depth: \"1e400\" is out of range: too large (beyond 1.8e308)"},
        BadRow{"HugeNegativeFlow", "x,pipe,depth,,-1e400,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "flow: \"-1e400\" is out of range: too large (beyond 1.8e308)"},
        BadRow{"LargestDouble", "x,pipe,depth,,1,m3/s,,m,1.7976931348623157e308,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "width: \"1.7976931348623157e308\" is out of range: too large (beyond 1.8e308)"},
        BadRow{"UnderflowSlope", "x,pipe,depth,,1,m3/s,,m,1,m,,,0.001e-400,/1000,0.013",
               kStatusNotCalculated,
               "slope: \"0.001e-400\" is out of range: too small (between 0 and 2.2e-308)"},
        BadRow{"SubnormalN", "x,pipe,depth,,1,m3/s,,m,1,m,,,1,/1000,1e-310", kStatusNotCalculated,
               "manningsN: \"1e-310\" is out of range: too small (between 0 and 2.2e-308)"},
        BadRow{"RunningFullChannel", "x,rectangle,depth,true,1,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated, "runningFull: true applies to a pipe only"},
        BadRow{"RunningFullDepth", "x,pipe,depth,true,1,m3/s,,m,1,m,,,1,/1000,0.013",
               kStatusNotCalculated,
               "runningFull: a pipe running full has the depth of its diameter; solve for "
               "another value"},
        BadRow{"RunningFullWord", "x,pipe,diameter,maybe,1,m3/s,1,m,,m,,,1,/1000,0.013",
               kStatusNotCalculated, "runningFull: \"maybe\" is not true or false"},
        BadRow{"TooManyCells", "x,pipe,depth,,1,m3/s,,m,1,m,,,1,/1000,0.013,extra",
               kStatusNotCalculated, "the row has 16 cells, the header 15"},
        // The sheet's own checks, with the sheet's own words.
        BadRow{"ZeroN", "x,pipe,depth,,1,m3/s,,m,1,m,,,1,/1000,0", kStatusNotCalculated,
               "Invalid value for Manning's n-value."},
        BadRow{"EmptyDepth", "x,pipe,velocity,,,m/s,,m,1,m,,,1,/1000,0.013", kStatusNotCalculated,
               "Invalid value for depth:  values should be greater than 0."},
        BadRow{"Degrees", "x,triangle,depth,,1,m3/s,,m,,,90.5,degrees,1,/1000,0.013",
               kStatusNotCalculated,
               "Invalid value for side slope: Outside angle should be greater than zero and less "
               "than or equal to 90."},
        BadRow{"Unreachable", "x,rectangle,depth,,45,m/s,,m,0.3,m,,,1,/1000,0.013",
               kStatusNoSolution, "A suitable solution could not be found."}),
    [](const ::testing::TestParamInfo<BadRow>& info) { return info.param.name; });

TEST(CaseUnitsTest, SheetTextsAndAsciiSpellings) {
  struct Case {
    UnitList list;
    const char* text;
    std::optional<int> position;
  };
  const Case cases[] = {
      {UnitList::Discharge, "m³/s", 0},    {UnitList::Discharge, "m3/s", 0},
      {UnitList::Discharge, "cfs", 4},     {UnitList::Discharge, "ft3/s", 4},
      {UnitList::Discharge, "GPM", 6},     {UnitList::Discharge, "gpm", 9},
      {UnitList::Discharge, "USGPM", 9},   {UnitList::Discharge, "MGD", 11},
      {UnitList::Discharge, "Gpm", {}},    {UnitList::Length, "m", 2},
      {UnitList::Length, " feet ", 4},     {UnitList::Length, "in", 3},
      {UnitList::Length, "yd", {}},        {UnitList::Area, "ft2", 4},
      {UnitList::Area, "feet²", 4},        {UnitList::Slope, "%", 1},
      {UnitList::Slope, "permille", 0},    {UnitList::Slope, "‰", 0},
      {UnitList::Slope, "ft/ft", 3},       {UnitList::Slope, "1:x", {}},
      {UnitList::SideSlope, "degrees", 2}, {UnitList::Velocity, "ft/d", 3},
  };
  for (const Case& c : cases) EXPECT_EQ(FindUnit(c.list, c.text), c.position) << c.text;
  // Every entry of every list finds itself.
  for (UnitList l : {UnitList::Velocity, UnitList::Discharge, UnitList::Length, UnitList::Area,
                     UnitList::SideSlope, UnitList::Slope})
    for (size_t i = 0; i < UnitTexts(l).size(); ++i)
      EXPECT_EQ(FindUnit(l, UnitTexts(l)[i]), static_cast<int>(i)) << UnitTexts(l)[i];
}

TEST(CaseRowsTest, RunningFullSolvesTheFullFlowDiameterAsTheLockDoes) {
  const auto r =
      RunText(kHeader + "f,pipe,diameter,true,0.2,m3/s,,,,mm,,,5,/1000,0.013\n", BuiltIn());
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0].at("status"), kStatusComplete);
  // The sheet with its lock checked, by hand.
  CaseServices services;
  frmRivulet form(services, BuiltIn().Startup());
  BuiltIn().Load(form);
  form.cboVelDis1.SetListIndex(0);
  form.cmdVelDis_Click();
  form.optDiam.SetValue(true);
  form.cboDiam.SetListIndex(0);
  form.chkLocDiam.SetValue(1);
  form.txtVelDis1.SetText("0.2");
  form.cboVelDis1.SetListIndex(0);
  form.txtSlope.SetText("5");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(r.rows[0].at("width"), form.txtDiam.Text());
  EXPECT_EQ(r.rows[0].at("widthUnit"), "mm");
  // Depth equals the diameter: the result is the full-flow diameter, not a part-full one.
  EXPECT_EQ(form.txtDepth.Text(), form.txtDiam.Text());
  EXPECT_EQ(r.rows[0].at("depth"), "");
}

TEST(CaseRowsTest, EmptyUnitsAreTheStartSheetsAndFeedBackUnchanged) {
  const auto first = RunText(kHeader + "e,trapezoid,depth,,3,,,,2,,1.5,,2,,0.025\n", BuiltIn());
  ASSERT_EQ(first.rows.size(), 1u);
  const auto& row = first.rows[0];
  EXPECT_EQ(row.at("flowUnit"), "m/s");
  EXPECT_EQ(row.at("depthUnit"), "meters");
  EXPECT_EQ(row.at("sideSlopeUnit"), "degrees");
  EXPECT_EQ(row.at("slopeUnit"), "/1000");
  EXPECT_EQ(row.at("otherFlowUnit"), "m³/s");
  // The output read again as input gives the same output: units and results included.
  const auto again = RunText(first.out, BuiltIn());
  EXPECT_EQ(again.out, first.out);
}

TEST(CaseRowsTest, EveryRowStartsFromTheSameSheet) {
  // A row that leaves the sheet in discharge mode with feet must not reach the next one.
  const std::string a = "a,rectangle,depth,,20,cfs,,ft,6,ft,,,1,%,0.03\n";
  const std::string b = "b,pipe,depth,,1.1,,,,300,mm,,,8,,0.012\n";
  const auto ab = RunText(kHeader + a + b, BuiltIn());
  const auto ba = RunText(kHeader + b + a, BuiltIn());
  ASSERT_EQ(ab.rows.size(), 2u);
  ASSERT_EQ(ba.rows.size(), 2u);
  EXPECT_EQ(ab.rows[0], ba.rows[1]);
  EXPECT_EQ(ab.rows[1], ba.rows[0]);
  EXPECT_EQ(ab.rows[1].at("flowUnit"), "m/s");
}

TEST(CaseRowsTest, DefaultsFileGivesTheStartUnitsAndFixedResults) {
  TempFolder folder;
  // Discharge first in L/s, lengths in mm, results fixed to three decimals.
  folder.Write(kDefaultsFileName,
               "Rivulet Default Values File\r\n 2 \r\n 0 \r\n 2 \r\n 0 \r\n 0 \r\n 2 \r\n 0 \r\n"
               " 0 \r\n 2 \r\n 0 \r\n 2 \r\n 0 \r\nTrue\r\n");
  const CaseStart start(folder.Startup());
  EXPECT_FALSE(start.VelocityMode());
  const auto r = RunText(kHeader + "d,pipe,depth,,50,,,,450,,,,5,,0.013\n", start);
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0].at("flowUnit"), "L/s");
  EXPECT_EQ(r.rows[0].at("depthUnit"), "mm");
  EXPECT_EQ(r.rows[0].at("depth"), "152.707");
}

}  // namespace
}  // namespace rivulet

namespace rivulet {
namespace {

// A 0.45 m pipe at 0.4 /100, n 0.013, asked for 0.4 m³/s: its full-flow capacity is
// π·0.45²/4 · 0.1125^(2/3) · 0.004^(1/2) / 0.013 = 0.1803 m³/s, 2.22 times less.
const std::string kSurcharged = "s,pipe,depth,,0.4,m3/s,,m,0.45,m,,,0.4,/100,0.013\n";

TEST(CaseRowsTest, ASurchargedPipeIsMarkedAndSaysWhichValuesAreAtCapacity) {
  const auto r = RunText(kHeader + kSurcharged, BuiltIn());
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.status, kCasesAllSolved);  // results, at capacity
  const auto& row = r.rows[0];
  EXPECT_EQ(row.at("status"), kStatusSurcharged);
  EXPECT_EQ(row.at("flow"), "0.4");
  EXPECT_EQ(row.at("depth"), "0.45");
  EXPECT_EQ(row.at("message"),
            "Pipe surcharged: the discharge asked for, 0.4 m\u00b3/s, is 2.22 times the full-flow "
            "capacity, 0.1803 m\u00b3/s. Depth, flow area and velocity are those of the pipe "
            "running full.");

  // The window's table marks it, and keeps the mark through a save.
  TempFolder folder;
  CaseDocument d;
  d.InsertRows(0, d.RowsFromText(kHeader + kSurcharged));
  d.Compute(0, BuiltIn());
  EXPECT_EQ(d.Row(0).mark, CaseRowMark::Surcharged);
  ASSERT_TRUE(d.Save(folder.File("out.csv")));
  CaseDocument again;
  std::string error;
  ASSERT_TRUE(again.Open(folder.File("out.csv"), error)) << error;
  EXPECT_EQ(again.Row(0).mark, CaseRowMark::Surcharged);
}

TEST(CaseRowsTest, ARowNotCalculatedKeepsNoAnswerOfAnEarlierRun) {
  struct Case {
    const char* name;
    const char* manningsN;
  };
  const Case cases[] = {{"a cell the table cannot read", "abc"}, {"refused by the sheet", "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CaseDocument d;
    d.InsertRows(0,
                 d.RowsFromText(kHeader + "p,pipe,depth,,0.05,m3/s,,m,0.45,m,,,5,/1000,0.013\n"));
    d.Compute(0, BuiltIn());
    const size_t depth = *d.Column("depth");
    ASSERT_EQ(d.Row(0).mark, CaseRowMark::Solved);
    ASSERT_NE(d.Row(0).cells[depth], "");
    d.SetCell(0, *d.Column("manningsN"), c.manningsN);
    d.Compute(0, BuiltIn());
    EXPECT_EQ(d.Row(0).mark, CaseRowMark::Rejected);
    EXPECT_EQ(d.Row(0).cells[*d.Column("status")], kStatusNotCalculated);
    EXPECT_EQ(d.Row(0).cells[depth], "");
    EXPECT_EQ(d.Row(0).cells[*d.Column("area")], "");
    EXPECT_EQ(d.Row(0).cells[*d.Column("flow")], "0.05");
  }
}

}  // namespace
}  // namespace rivulet
