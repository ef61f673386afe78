#include "core/hydraulics/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "digits.h"
#include "sheet_builder.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using testing::Inputs;
using testing::MatchesFigure;
using testing::RelativelyNear;
using testing::Solve;

const double kPi = 4 * std::atan(1.0);
const Message kNoSolutionBox{"A suitable solution could not be found.", "Rivulet",
                             MessageIcon::None};

double Read(const TextBox& box) { return ReadNumber(box.Text()); }

double PipeArea(double y, double d) {
  const double theta = PipeAngle(y, d, kPi);
  return rivulet::PipeArea(theta, d);
}

double PipeVelocity(double y, double d, double s, double n) {
  const double theta = PipeAngle(y, d, kPi);
  return ManningVelocity(HydraulicRadius(rivulet::PipeArea(theta, d), PipePerimeter(theta, d)), s,
                         n);
}

class SolverTest : public ::testing::Test {
 protected:
  void Prepare(int section, bool velocityMode, Solve unknown, const Inputs& inputs) {
    testing::PrepareSheet(sheet, section, velocityMode);
    testing::SelectUnknown(sheet, unknown);
    testing::SetInputs(sheet, inputs);
  }
  void Run() {
    state.noSolution = false;  // as Calculate does
    SolveManning(sheet, state, services);
  }
  bool AlternatesEnabled() const {
    for (const Control* c :
         std::vector<const Control*>{&sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2,
                                     &sheet.txtDDS, &sheet.txtVelDis3, &sheet.txtArea2})
      if (!c->Enabled()) return false;
    return true;
  }
  bool AlternatesDisabledAndEmpty() const {
    for (const Control* c :
         std::vector<const Control*>{&sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2,
                                     &sheet.txtDDS, &sheet.txtVelDis3, &sheet.txtArea2})
      if (c->Enabled()) return false;
    return sheet.txtDDS.Text().empty() && sheet.txtVelDis3.Text().empty() &&
           sheet.txtArea2.Text().empty();
  }
  void ExpectAccepted() {
    EXPECT_FALSE(state.noSolution);
    EXPECT_TRUE(services.messages.empty());
  }
  void ExpectRejected() {
    EXPECT_TRUE(state.noSolution);
    EXPECT_EQ(services.messages, std::vector<Message>{kNoSolutionBox});
  }

  CalculationSheet sheet;
  HydraulicState state;
  RecordingServices services;
};

// A 1 m pipe at S = 0.001, n = 0.013 solved for depth.
TEST_F(SolverTest, PipeDepthAndItsAlternate) {
  struct Row {
    const char* name;
    bool velocity;
    const char* given;
    const char* depth;
    const char* altDepth;  // nullptr: none
  };
  const Row rows[] = {
      {"V 1.05 has a second depth", true, "1.05", "0.6269516", "0.9581926"},
      {"V 0.9 is below half depth", true, "0.9", "0.4280722", nullptr},
      {"Q 0.78 has a second depth", false, "0.78", "0.8481725", "0.9954650"},
      {"Q 0.7 does not", false, "0.7", "0.7581443", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    sheet.txtDDS.SetText("stale");
    sheet.txtDDS.SetEnabled(true);
    Prepare(testing::kPipe, row.velocity, Solve::Depth, {row.given, "", "1", "", "0.001", "0.013"});
    services.busyCalls.clear();
    Run();
    ExpectAccepted();
    EXPECT_EQ(services.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(state.section, SectionKind::Pipe);
    const double given = ReadNumber(row.given);
    const double y = Read(sheet.txtDepth);
    EXPECT_TRUE(MatchesFigure(y, row.depth));
    const double a = Read(sheet.txtArea);
    EXPECT_TRUE(RelativelyNear(a, PipeArea(y, 1), 1e-12));
    // The other flow quantity follows from the area.
    if (row.velocity) {
      EXPECT_TRUE(RelativelyNear(Read(sheet.txtVelDis2), given * a, 1e-12));
    } else {
      EXPECT_TRUE(RelativelyNear(Read(sheet.txtVelDis2), given / a, 1e-12));
    }
    if (row.altDepth == nullptr) {
      EXPECT_TRUE(AlternatesDisabledAndEmpty());
      continue;
    }
    EXPECT_TRUE(AlternatesEnabled());
    const double y2 = Read(sheet.txtDDS);
    EXPECT_TRUE(MatchesFigure(y2, row.altDepth));
    const double a2 = Read(sheet.txtArea2);
    EXPECT_TRUE(RelativelyNear(a2, PipeArea(y2, 1), 1e-12));
    EXPECT_TRUE(
        RelativelyNear(Read(sheet.txtVelDis3), row.velocity ? given * a2 : given / a2, 1e-12));
  }
}

TEST_F(SolverTest, PipeDepthStaysPartFullBelowThePeak) {
  // Targets between the full-pipe value and the peak: two part-full depths carry them.
  struct Row {
    const char* name;
    bool velocity;
    double given;
    double peakDepth;
  };
  const Row rows[] = {
      {"velocity 1.097", true, 1.097, 0.8128},
      {"discharge just under its peak", false, 0.8155805, 0.9382},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Prepare(testing::kPipe, row.velocity, Solve::Depth,
            {FormatNumber(row.given), "", "1", "", "0.001", "0.013"});
    Run();
    ExpectAccepted();
    const double y1 = Read(sheet.txtDepth);
    const double y2 = Read(sheet.txtDDS);
    EXPECT_LT(y1, row.peakDepth);
    EXPECT_GT(y2, row.peakDepth);
    EXPECT_LT(y2, 1);
    for (double y : {y1, y2}) {
      const double v = PipeVelocity(y, 1, 0.001, 0.013);
      EXPECT_TRUE(RelativelyNear(row.velocity ? v : v * PipeArea(y, 1), row.given, 1e-9));
    }
  }
}

TEST_F(SolverTest, PipeDepthAboveThePeakSurcharges) {
  for (bool velocity : {true, false}) {
    SCOPED_TRACE(velocity ? "velocity" : "discharge");
    Prepare(testing::kPipe, velocity, Solve::Depth,
            {velocity ? "1.2" : "0.82", "", "1", "", "0.001", "0.013"});
    Run();
    ExpectAccepted();
    EXPECT_NEAR(Read(sheet.txtDepth), 1, 1e-14);
    // The alternate search starts and ends on the crown. For a discharge that is the
    // primary depth itself, and no alternate is written.
    if (velocity) {
      EXPECT_EQ(sheet.txtDDS.Text(), sheet.txtDepth.Text());
    } else {
      EXPECT_TRUE(AlternatesDisabledAndEmpty());
    }
  }
}

TEST_F(SolverTest, FullFlowDiameter) {
  struct Row {
    const char* name;
    bool velocity;
    const char* given;
  };
  const Row rows[] = {
      {"from velocity", true, "0.9653467"},
      {"from discharge, with the rounded pi", false, "0.7581815"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Prepare(testing::kPipe, row.velocity, Solve::Diam,
            {row.given, "0.3", "", "", "0.001", "0.013"});
    sheet.chkLocDiam.SetValue(1);
    Run();
    ExpectAccepted();
    EXPECT_TRUE(MatchesFigure(Read(sheet.txtDiam), "1.000000"));
    EXPECT_TRUE(MatchesFigure(Read(sheet.txtArea), "0.785398"));  // π/4: the depth is D
    // The depth box itself is not written; the window mirrors the diameter into it.
    EXPECT_EQ(sheet.txtDepth.Text(), "0.3");
  }
}

TEST_F(SolverTest, PartFullDiameter) {
  // A depth of 2 m evaluates smaller diameters as half full.
  Prepare(testing::kPipe, false, Solve::Diam, {"1", "2", "", "", "0.001", "0.013"});
  Run();
  ExpectAccepted();
  EXPECT_TRUE(MatchesFigure(Read(sheet.txtDiam), "1.4387035"));
  EXPECT_TRUE(AlternatesDisabledAndEmpty());
}

TEST_F(SolverTest, RejectedResultsStayInTheSheet) {
  struct Row {
    const char* name;
    int section;
    Solve unknown;
    Inputs inputs;
    TextBox CalculationSheet::*box;
    double expected;  // what the box shows, in its unit
  };
  const Row rows[] = {
      // K = (V·n/√S)^(3/2) = 1.369610 m > b/2: the rectangle cannot reach that radius, and
      // the closed form y = b·K/(b − 2K) gives −3.705555 m.
      {"rectangle too fast",
       testing::kRectangle,
       Solve::Depth,
       {"3", "", "2", "", "0.001", "0.013"},
       &CalculationSheet::txtDepth,
       -3.705554682},
      // y²·S^(3/2) <= 4·n³·V³: the root fails, z stays 0 and becomes 1e8.
      {"triangle side too fast",
       testing::kTriangle,
       Solve::Side,
       {"2", "1", "", "", "0.001", "0.013"},
       &CalculationSheet::txtSide,
       kNoSolution},
      // Below the velocity with vertical sides nothing helps: neither search finds a side
      // slope, and the box shows the rejected 1e8.
      {"trapezoid side too slow",
       testing::kTrapezoid,
       Solve::Side,
       {"1.1", "1", "1", "", "0.001", "0.013"},
       &CalculationSheet::txtSide,
       kNoSolution},
      // No width below 1e8 carries the discharge: the search ends exactly on the limit.
      {"gutter width by discharge",
       testing::kGutter,
       Solve::Diam,
       {"1e12", "0.001", "", "1", "0.001", "0.013"},
       &CalculationSheet::txtDiam,
       kNoSolution},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    services.messages.clear();
    Prepare(row.section, row.section != testing::kGutter, row.unknown, row.inputs);
    Run();
    ExpectRejected();
    // Relative, to the ten figures of the hand value; a 0 must be exactly 0.
    EXPECT_TRUE(RelativelyNear(Read(sheet.*row.box), row.expected, 1e-9))
        << (sheet.*row.box).Text();
  }
}

TEST_F(SolverTest, TrapezoidSideSlopeAndItsSteeperAlternate) {
  Prepare(testing::kTrapezoid, true, Solve::Side, {"1.6", "1", "1", "", "0.001", "0.013"});
  sheet.cboSide.SetListIndex(testing::kDegrees);
  sheet.cboDDS.SetListIndex(testing::kDegrees);
  Run();
  ExpectAccepted();
  EXPECT_TRUE(MatchesFigure(Read(sheet.txtSide), "10.218"));
  EXPECT_TRUE(MatchesFigure(Read(sheet.txtDDS), "39.805"));
  const double z2 = ConvertSideSlope(Read(sheet.txtDDS), testing::kDegrees, kToBase, kPi);
  EXPECT_TRUE(MatchesFigure(z2, "1.2000"));
  const double a2 = Read(sheet.txtArea2);
  EXPECT_TRUE(RelativelyNear(a2, TrapezoidArea(1, 1, z2), 1e-12));
  EXPECT_TRUE(RelativelyNear(Read(sheet.txtVelDis3), 1.6 * a2, 1e-12));
  EXPECT_TRUE(AlternatesEnabled());
  const double z = ConvertSideSlope(Read(sheet.txtSide), testing::kDegrees, kToBase, kPi);
  EXPECT_TRUE(RelativelyNear(Read(sheet.txtArea), TrapezoidArea(1, 1, z), 1e-12));
}

TEST_F(SolverTest, ManningsNText) {
  // Velocities in a rectangle 2 m wide, 1 m deep (R = 0.5) at S = 0.001 that give these n.
  struct Row {
    const char* name;
    double n;
    const char* text;
  };
  const Row rows[] = {
      {"ordinary n", 0.013, "0.013"},
      {"n not above 0.000999999 is a plain number", 0.0005, "0.0005"},
      {"n of 1 or more is a plain number", 1.5, "1.5"},
      // Where the two forms differ: the pattern stops at 14 decimals, plain at 15 digits.
      {"pattern", 0.0123456789012345, "0.01234567890123"},
      {"plain, small", 0.0001234567890123, "0.0001234567890123"},
      {"plain, large", 12.3456789012345, "12.3456789012345"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const double v = ManningVelocity(0.5, 0.001, row.n);
    Prepare(testing::kRectangle, true, Solve::Manning,
            {FormatNumber(v), "1", "2", "", "0.001", "0.05"});
    Run();
    EXPECT_EQ(sheet.txtManning.Text(), row.text);
    EXPECT_TRUE(RelativelyNear(Read(sheet.txtVelDis2), v * 2, 1e-14));
    EXPECT_EQ(sheet.txtArea.Text(), "2");
    EXPECT_TRUE(AlternatesDisabledAndEmpty());
  }
}

TEST_F(SolverTest, DirectPathResults) {
  // A rectangle 2 m wide and 1 m deep at S = 0.001, n = 0.013.
  const double v = ManningVelocity(0.5, 0.001, 0.013);
  struct Row {
    const char* name;
    bool velocityMode;
    Solve unknown;
    std::string row1, slope;
    TextBox CalculationSheet::*box;
    double expected;
  };
  const Row rows[] = {
      {"velocity", true, Solve::Row1, "", "0.001", &CalculationSheet::txtVelDis1, v},
      {"discharge beside it", true, Solve::Row1, "", "0.001", &CalculationSheet::txtVelDis2, 2 * v},
      {"discharge", false, Solve::Row1, "", "0.001", &CalculationSheet::txtVelDis1, 2 * v},
      {"velocity beside it", false, Solve::Row1, "", "0.001", &CalculationSheet::txtVelDis2, v},
      {"slope from velocity", true, Solve::Slope, FormatNumber(v), "", &CalculationSheet::txtSlope,
       0.001},
      {"slope from discharge", false, Solve::Slope, FormatNumber(2 * v), "",
       &CalculationSheet::txtSlope, 0.001},
      {"velocity beside a slope", false, Solve::Slope, FormatNumber(2 * v), "",
       &CalculationSheet::txtVelDis2, v},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Prepare(testing::kRectangle, row.velocityMode, row.unknown,
            {row.row1, "1", "2", "", row.slope, "0.013"});
    Run();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(RelativelyNear(Read(sheet.*row.box), row.expected, 1e-13));
    EXPECT_EQ(sheet.txtArea.Text(), "2");
  }
}

TEST_F(SolverTest, SectionWithoutFlowAreaCarriesNothing) {
  // Vertical sides and no bottom: a wetted boundary around no water. R = 0, so Manning's
  // equation gives no velocity and no flow, an answer like any other.
  struct Row {
    const char* name;
    int section;
    bool velocityMode;
    Inputs inputs;
  };
  const Row rows[] = {
      {"triangle, velocity", testing::kTriangle, true, {"", "1", "", "0", "0.001", "0.013"}},
      {"triangle, discharge", testing::kTriangle, false, {"", "1", "", "0", "0.001", "0.013"}},
      {"gutter without width", testing::kGutter, true, {"", "0.2", "0", "0", "0.02", "0.016"}},
      {"trapezoid without bottom", testing::kTrapezoid, false, {"", "2", "0", "0", "0.5", "0.03"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    services.messages.clear();
    Prepare(row.section, row.velocityMode, Solve::Row1, row.inputs);
    sheet.txtVelDis1.SetText("7.5");  // a stale figure from an earlier calculation
    Run();
    ExpectAccepted();
    EXPECT_EQ(sheet.txtVelDis1.Text(), "0");
    EXPECT_EQ(sheet.txtVelDis2.Text(), "0");
    EXPECT_EQ(sheet.txtArea.Text(), "0");
    EXPECT_EQ(state.last.velocity, 0);
    EXPECT_EQ(state.last.discharge, 0);
    EXPECT_TRUE(AlternatesDisabledAndEmpty());
  }
}

TEST_F(SolverTest, DirectPathWithoutFlowAreaIsNoSolution) {
  // A triangle with vertical sides holds no water, so no slope or n can give it a flow; a
  // channel without velocity has no n; a pipe of no diameter has no wetted perimeter.
  struct Row {
    const char* name;
    int section;
    bool velocityMode;
    Solve unknown;
    Inputs inputs;
  };
  const Row rows[] = {
      {"slope", testing::kTriangle, true, Solve::Slope, {"1", "1", "", "0", "", "0.013"}},
      {"slope from discharge",
       testing::kTriangle,
       false,
       Solve::Slope,
       {"1", "1", "", "0", "", "0.013"}},
      {"manning from velocity",
       testing::kTriangle,
       true,
       Solve::Manning,
       {"1", "1", "", "0", "0.001", ""}},
      {"manning from discharge",
       testing::kTriangle,
       false,
       Solve::Manning,
       {"1", "1", "", "0", "0.001", ""}},
      {"manning, no velocity",
       testing::kRectangle,
       true,
       Solve::Manning,
       {"0", "1", "2", "", "0.001", ""}},
      {"gutter of no width and vertical side",
       testing::kGutter,
       true,
       Solve::Slope,
       {"1", "1", "0", "0", "", "0.013"}},
      {"pipe of no diameter",
       testing::kPipe,
       true,
       Solve::Row1,
       {"", "0", "0", "", "0.001", "0.013"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    services.messages.clear();
    Prepare(row.section, row.velocityMode, row.unknown, row.inputs);
    sheet.txtVelDis2.SetText("before");
    sheet.txtArea.SetText("before");
    const std::string row1 = sheet.txtVelDis1.Text();
    const std::string slope = sheet.txtSlope.Text();
    const std::string manning = sheet.txtManning.Text();
    Run();
    ExpectRejected();
    EXPECT_EQ(sheet.txtVelDis1.Text(), row1);
    EXPECT_EQ(sheet.txtVelDis2.Text(), "before");
    EXPECT_EQ(sheet.txtArea.Text(), "before");
    EXPECT_EQ(sheet.txtSlope.Text(), slope);
    EXPECT_EQ(sheet.txtManning.Text(), manning);
    EXPECT_TRUE(AlternatesDisabledAndEmpty());
  }
}

TEST_F(SolverTest, InputsThatCannotBeConvertedAreNoSolution) {
  // Calculate's checks keep these out; the solver still ends in order if they get in.
  struct Row {
    const char* name;
    int section;
    bool velocityMode;
    Solve unknown;
    int sideUnit, row1Unit;
    Inputs inputs;
  };
  const Row rows[] = {
      {"side slope 0 as y/1",
       testing::kTrapezoid,
       true,
       Solve::Depth,
       1,
       0,
       {"1", "", "1", "0", "0.001", "0.013"}},
      {"side slope of 0 degrees",
       testing::kGutter,
       true,
       Solve::Diam,
       testing::kDegrees,
       0,
       {"1", "1", "", "0", "0.001", "0.013"}},
      {"discharge too large for the unit",
       testing::kPipe,
       false,
       Solve::Depth,
       0,
       8,
       {"1e305", "", "1", "", "0.001", "0.013"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    services.messages.clear();
    Prepare(row.section, row.velocityMode, row.unknown, row.inputs);
    sheet.cboSide.SetListIndex(row.sideUnit);
    sheet.cboVelDis1.SetListIndex(row.row1Unit);
    sheet.txtArea.SetText("before");
    Run();
    ExpectRejected();
    EXPECT_EQ(sheet.txtArea.Text(), "before");
    EXPECT_TRUE(AlternatesDisabledAndEmpty());
  }
}

TEST_F(SolverTest, FaultingStepKeepsTheStartingValue) {
  // With no slope the closed form divides by zero; the depth typed in stays and is accepted.
  Prepare(testing::kRectangle, true, Solve::Depth, {"1", "0.75", "2", "", "0", "0.013"});
  Run();
  ExpectAccepted();
  EXPECT_EQ(sheet.txtDepth.Text(), "0.75");
  EXPECT_EQ(sheet.txtArea.Text(), "1.5");
  EXPECT_EQ(sheet.txtVelDis2.Text(), "1.5");
}

TEST_F(SolverTest, FaultingWriteKeepsTheBoxText) {
  // A rectangle has no side-slope unknown: z stays 0, which "degrees" cannot show.
  Prepare(testing::kRectangle, true, Solve::Side, {"1", "0.75", "2", "typed", "0.001", "0.013"});
  sheet.cboSide.SetListIndex(testing::kDegrees);
  Run();
  EXPECT_EQ(sheet.txtSide.Text(), "typed");
  EXPECT_EQ(sheet.txtArea.Text(), "1.5");
}

TEST_F(SolverTest, UnknownKeyFollowsTheSelection) {
  // Which box receives the result tells which unknown was solved.
  struct Row {
    const char* name;
    int section;
    Solve unknown;
    int lock;
    Inputs inputs;
    TextBox CalculationSheet::*box;
    double expected;
    double side = -1;  // the side slope x the solve must find; -1: not a sloped section
  };
  const double vRect = ManningVelocity(0.5, 0.001, 0.013);
  const double vFull = ManningVelocity(0.25, 0.001, 0.013);
  const Row rows[] = {
      {"pipe diameter, lock clear: part full",
       testing::kPipe,
       Solve::Diam,
       0,
       {FormatNumber(PipeVelocity(0.5, 2, 0.001, 0.013)), "0.5", "", "", "0.001", "0.013"},
       &CalculationSheet::txtDiam,
       2},
      {"pipe diameter, lock checked: full flow",
       testing::kPipe,
       Solve::Diam,
       1,
       {FormatNumber(vFull), "0.5", "", "", "0.001", "0.013"},
       &CalculationSheet::txtDiam,
       1},
      {"width of a rectangle",
       testing::kRectangle,
       Solve::Diam,
       0,
       {FormatNumber(vRect), "1", "", "", "0.001", "0.013"},
       &CalculationSheet::txtDiam,
       2},
      {"lock ignored off the pipe",
       testing::kRectangle,
       Solve::Diam,
       1,
       {FormatNumber(vRect), "1", "", "", "0.001", "0.013"},
       &CalculationSheet::txtDiam,
       2},
      {"depth of a rectangle",
       testing::kRectangle,
       Solve::Depth,
       0,
       {FormatNumber(vRect), "", "2", "", "0.001", "0.013"},
       &CalculationSheet::txtDepth,
       1},
      {"width of a triangle solves its side",
       testing::kTriangle,
       Solve::Diam,
       0,
       {FormatNumber(ManningVelocity(0.5 / std::sqrt(2.0), 0.001, 0.013)), "1", "", "", "0.001",
        "0.013"},
       &CalculationSheet::txtDiam,
       0,
       // At y = 1, R = x / (2·sqrt(1 + x²)) equals 0.5 / sqrt(2) only for x = 1. The width
       // box takes the result (a triangle's width, 0); x shows in the area, x·y².
       1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Prepare(row.section, true, row.unknown, row.inputs);
    sheet.chkLocDiam.SetValue(row.lock);
    Run();
    ExpectAccepted();
    EXPECT_TRUE(RelativelyNear(Read(sheet.*row.box), row.expected, 1e-9));
    if (row.side >= 0) {
      EXPECT_TRUE(RelativelyNear(state.last.side, row.side, 1e-9)) << state.last.side;
      EXPECT_TRUE(RelativelyNear(Read(sheet.txtArea), row.side, 1e-9)) << sheet.txtArea.Text();
    }
  }
}

TEST_F(SolverTest, NoSectionSelectedIsAGutter) {
  Prepare(testing::kGutter, true, Solve::Row1, {"", "0.5", "1", "2", "0.001", "0.013"});
  sheet.cboSection.SetListIndex(-1);
  Run();
  EXPECT_EQ(state.section, SectionKind::Gutter);
  EXPECT_EQ(sheet.txtArea.Text(), "0.75");  // a trapezoid would hold 1
  const double r = HydraulicRadius(GutterArea(1, 0.5, 2), GutterPerimeter(1, 0.5, 2));
  EXPECT_TRUE(RelativelyNear(Read(sheet.txtVelDis1), ManningVelocity(r, 0.001, 0.013), 1e-14));
}

TEST_F(SolverTest, UnitsAtTheEdges) {
  // The 1 m pipe with V = 1.05 m/s, entered and shown in other units.
  struct Row {
    const char* name;
    int velocityUnit, lengthUnit, slopeUnit, dischargeUnit, areaUnit;
    double velocityFactor, lengthFactor, slopeFactor, dischargeFactor, areaFactor;
  };
  const double foot = 0.3048;
  const Row rows[] = {
      {"metric small", 1, 0, 1, 2, 1, 86400, 1000, 100, 1000, 1e4},
      {"US customary", 2, 4, 0, 4, 4, 1 / foot, 1 / foot, 1000, 1 / (foot * foot * foot),
       1 / (foot * foot)},
      {"inches and gallons", 3, 3, 2, 9, 3, 86400 / foot, 12 / foot, 10, 60 / 0.003785,
       144 / (foot * foot)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Prepare(testing::kPipe, true, Solve::Depth,
            {FormatNumber(1.05 * row.velocityFactor), "", FormatNumber(row.lengthFactor), "",
             FormatNumber(0.001 * row.slopeFactor), "0.013"});
    sheet.cboVelDis1.SetListIndex(row.velocityUnit);
    sheet.cboDepth.SetListIndex(row.lengthUnit);
    sheet.cboDiam.SetListIndex(row.lengthUnit);
    sheet.cboDDS.SetListIndex(row.lengthUnit);
    sheet.cboSlope.SetListIndex(row.slopeUnit);
    sheet.cboVelDis2.SetListIndex(row.dischargeUnit);
    sheet.cboVelDis3.SetListIndex(row.dischargeUnit);
    sheet.cboArea.SetListIndex(row.areaUnit);
    sheet.cboArea2.SetListIndex(row.areaUnit);
    Run();
    ExpectAccepted();
    const double y = Read(sheet.txtDepth) / row.lengthFactor;
    const double y2 = Read(sheet.txtDDS) / row.lengthFactor;
    EXPECT_TRUE(MatchesFigure(y, "0.6269516"));
    EXPECT_TRUE(MatchesFigure(y2, "0.9581926"));
    EXPECT_TRUE(RelativelyNear(Read(sheet.txtArea) / row.areaFactor, PipeArea(y, 1), 1e-9));
    EXPECT_TRUE(
        RelativelyNear(Read(sheet.txtVelDis2) / row.dischargeFactor, 1.05 * PipeArea(y, 1), 1e-9));
    EXPECT_TRUE(RelativelyNear(Read(sheet.txtArea2) / row.areaFactor, PipeArea(y2, 1), 1e-9));
    EXPECT_TRUE(
        RelativelyNear(Read(sheet.txtVelDis3) / row.dischargeFactor, 1.05 * PipeArea(y2, 1), 1e-9));
  }
}

TEST(AlternatesTest, ClearEmptiesBeforeDisablingAndEnableRestores) {
  CalculationSheet sheet;
  std::vector<std::string> seen;
  for (TextBox* box : {&sheet.txtDDS, &sheet.txtVelDis3, &sheet.txtArea2}) {
    box->SetText("x");
    box->onChange = [&seen, box] {
      seen.push_back(box->Name() + (box->Enabled() ? " enabled" : " disabled"));
    };
  }
  EnableAlternates(sheet);
  ClearAlternates(sheet);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"txtDDS enabled", "txtVelDis3 enabled", "txtArea2 enabled"}));
  for (const Control* c :
       std::vector<const Control*>{&sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2, &sheet.txtDDS,
                                   &sheet.txtVelDis3, &sheet.txtArea2})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EnableAlternates(sheet);
  for (const Control* c :
       std::vector<const Control*>{&sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2, &sheet.txtDDS,
                                   &sheet.txtVelDis3, &sheet.txtArea2})
    EXPECT_TRUE(c->Enabled()) << c->Name();
}

}  // namespace
}  // namespace rivulet
