// Random sheets through the solver. Consistent sheets are built from a real channel, so a
// solution exists: whatever the solver accepts must carry the given flow. Wild sheets hold
// anything a user or a file could put there: the solver must end, with a verdict, and never
// write an infinity or a NaN.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"
#include "core/hydraulics/solver.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "digits.h"
#include "sheet_builder.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using testing::Solve;

const double kPi = 4 * std::atan(1.0);
const Message kNoSolutionBox{"A suitable solution could not be found.", "Rivulet",
                             MessageIcon::None};

class Random {
 public:
  explicit Random(unsigned seed) : engine_(seed) {}
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(engine_); }
  double LogUniform(double lo, double hi) { return std::exp(Uniform(std::log(lo), std::log(hi))); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(engine_); }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[static_cast<size_t>(Int(0, static_cast<int>(from.size()) - 1))];
  }

 private:
  std::mt19937 engine_;
};

// A channel in base units and its flow.
struct Channel {
  int section = 0;
  double d = 0, b = 0, z = 0, y = 0, s = 0, n = 0;

  double Area() const {
    if (section == testing::kPipe) {
      double depth = y;
      return PipeArea(PipeAngle(depth, d, kPi), d);
    }
    return section == testing::kGutter ? GutterArea(b, y, z) : TrapezoidArea(b, y, z);
  }
  double Velocity() const {
    double p;
    if (section == testing::kPipe) {
      double depth = y;
      p = PipePerimeter(PipeAngle(depth, d, kPi), d);
    } else {
      p = section == testing::kGutter ? GutterPerimeter(b, y, z) : TrapezoidPerimeter(b, y, z);
    }
    return ManningVelocity(HydraulicRadius(Area(), p), s, n);
  }
  double Flow(bool velocity) const { return velocity ? Velocity() : Velocity() * Area(); }
};

bool HoldsNonFinite(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

std::vector<const TextBox*> AllBoxes(const CalculationSheet& s) {
  return {&s.txtVelDis1, &s.txtDepth, &s.txtDiam, &s.txtSide,    &s.txtSlope, &s.txtManning,
          &s.txtVelDis2, &s.txtArea,  &s.txtDDS,  &s.txtVelDis3, &s.txtArea2};
}

int RandomPosition(Random& rnd, const ComboBox& list) { return rnd.Int(0, list.ListCount() - 1); }

void RandomiseUnits(Random& rnd, CalculationSheet& s) {
  for (ComboBox* c : {&s.cboVelDis1, &s.cboDepth, &s.cboDiam, &s.cboSide, &s.cboSlope,
                      &s.cboVelDis2, &s.cboArea, &s.cboDDS, &s.cboArea2, &s.cboVelDis3})
    c->SetListIndex(RandomPosition(rnd, *c));
}

// Reads what a box shows back into base units.
struct Reader {
  const CalculationSheet& s;
  double Length(const TextBox& box, const ComboBox& unit) const {
    return ConvertLength(ReadNumber(box.Text()), unit.ListIndex(), kToBase);
  }
  double Side(const TextBox& box, const ComboBox& unit) const {
    return ConvertSideSlope(ReadNumber(box.Text()), unit.ListIndex(), kToBase, kPi);
  }
  double Row1(bool velocity) const {
    const double v = ReadNumber(s.txtVelDis1.Text());
    return velocity ? ConvertVelocity(v, s.cboVelDis1.ListIndex(), kToBase)
                    : ConvertDischarge(v, s.cboVelDis1.ListIndex(), kToBase);
  }
};

struct Tally {
  int solved = 0, accepted = 0, surcharged = 0, sideRejected = 0, alternates = 0;
};

TEST(SolverPropertyTest, AcceptedResultsCarryTheGivenFlow) {
  Random rnd(20240607);
  Tally tally;
  for (int trial = 0; trial < 4000; ++trial) {
    Channel ch;
    ch.section = rnd.Int(0, 4);
    const bool velocity = rnd.Int(0, 1) == 1;
    std::vector<Solve> unknowns{Solve::Row1, Solve::Depth, Solve::Slope, Solve::Manning};
    if (ch.section != testing::kTriangle) unknowns.push_back(Solve::Diam);
    if (ch.section >= testing::kTriangle) unknowns.push_back(Solve::Side);
    const Solve unknown = rnd.Pick(unknowns);
    const bool lock = ch.section == testing::kPipe && unknown == Solve::Diam && rnd.Int(0, 1);

    ch.s = rnd.LogUniform(1e-4, 0.05);
    ch.n = rnd.Uniform(0.009, 0.06);
    if (ch.section == testing::kPipe) {
      ch.d = rnd.LogUniform(0.05, 5);
      ch.y = lock ? ch.d : ch.d * rnd.Uniform(0.02, 0.98);
    } else {
      ch.y = rnd.LogUniform(0.05, 5);
      if (ch.section != testing::kTriangle) ch.b = rnd.LogUniform(0.1, 10);
      if (ch.section != testing::kRectangle) ch.z = rnd.LogUniform(0.1, 10);
    }
    const double target = ch.Flow(velocity);

    CalculationSheet sheet;
    testing::PrepareSheet(sheet, ch.section, velocity);
    RandomiseUnits(rnd, sheet);
    testing::SelectUnknown(sheet, unknown);
    sheet.chkLocDiam.SetValue(lock ? 1 : 0);
    const int row1Unit = sheet.cboVelDis1.ListIndex();
    sheet.txtVelDis1.SetText(FormatNumber(velocity
                                              ? ConvertVelocity(target, row1Unit, kFromBase)
                                              : ConvertDischarge(target, row1Unit, kFromBase)));
    sheet.txtDepth.SetText(
        FormatNumber(ConvertLength(ch.y, sheet.cboDepth.ListIndex(), kFromBase)));
    const double diam = ch.section == testing::kPipe ? ch.d : ch.b;
    if (ch.section != testing::kTriangle)
      sheet.txtDiam.SetText(
          FormatNumber(ConvertLength(diam, sheet.cboDiam.ListIndex(), kFromBase)));
    if (ch.section >= testing::kTriangle)
      sheet.txtSide.SetText(
          FormatNumber(ConvertSideSlope(ch.z, sheet.cboSide.ListIndex(), kFromBase, kPi)));
    sheet.txtSlope.SetText(FormatNumber(ConvertSlope(ch.s, sheet.cboSlope.ListIndex(), kFromBase)));
    sheet.txtManning.SetText(FormatNumber(ch.n));
    // The unknown's own box holds whatever the user left there.
    TextBox* own[] = {&sheet.txtVelDis1, &sheet.txtDepth, &sheet.txtDiam,
                      &sheet.txtSide,    &sheet.txtSlope, &sheet.txtManning};
    own[static_cast<int>(unknown)]->SetText(rnd.Pick(std::vector<std::string>{"", "N/A", "7"}));
    // Tested through a gutter with no section chosen now and then.
    if (ch.section == testing::kGutter && rnd.Int(0, 9) == 0) sheet.cboSection.SetListIndex(-1);

    HydraulicState state;
    RecordingServices services;
    SolveManning(sheet, state, services);
    ++tally.solved;
    const std::string where =
        "trial " + std::to_string(trial) + " section " + std::to_string(ch.section) + " unknown " +
        std::to_string(static_cast<int>(unknown)) + (velocity ? " velocity" : " discharge");
    SCOPED_TRACE(where);
    ASSERT_EQ(services.busyCalls, (std::vector<bool>{true, false}));
    for (const TextBox* box : AllBoxes(sheet)) ASSERT_FALSE(HoldsNonFinite(box->Text()));

    const bool sideByVelocity = unknown == Solve::Side && velocity;
    if (state.noSolution) {
      ASSERT_EQ(services.messages, std::vector<Message>{kNoSolutionBox});
      // A real channel always has an answer, except that the side-slope searches from a
      // velocity can miss it when the velocity barely depends on the slope.
      ASSERT_TRUE(sideByVelocity) << "rejected a sheet built from a real channel";
      ++tally.sideRejected;
      continue;
    }
    ASSERT_TRUE(services.messages.empty());
    ++tally.accepted;

    const Reader read{sheet};
    Channel found = ch;
    found.y = read.Length(sheet.txtDepth, sheet.cboDepth);
    if (ch.section == testing::kPipe)
      found.d = read.Length(sheet.txtDiam, sheet.cboDiam);
    else if (ch.section != testing::kTriangle)
      found.b = read.Length(sheet.txtDiam, sheet.cboDiam);
    if (ch.section >= testing::kTriangle) found.z = read.Side(sheet.txtSide, sheet.cboSide);
    found.s = ConvertSlope(ReadNumber(sheet.txtSlope.Text()), sheet.cboSlope.ListIndex(), kToBase);
    found.n = ReadNumber(sheet.txtManning.Text());
    if (lock) found.y = found.d;
    if (ch.section == testing::kPipe && !lock && found.y >= found.d * (1 - 1e-12)) {
      // Full or beyond: Calculate re-solves it running full. A depth below 0.98 D with a
      // part-full answer must never end here.
      ASSERT_NE(unknown, Solve::Depth) << "a part-full depth came out surcharged";
      ++tally.surcharged;
      continue;
    }
    const double given = unknown == Solve::Row1 ? read.Row1(velocity) : target;
    const double computed = found.Flow(velocity);
    if (sideByVelocity) {
      // The angle search stops at its own tolerance, Newton's method at rounding.
      EXPECT_LE(std::abs(computed - given), kAngleSearchTolerance + 1e-14 * given)
          << computed << " vs " << given;
    } else {
      EXPECT_TRUE(testing::RelativelyNear(computed, given, 1e-9));
    }

    // A second solution must carry the same flow.
    const std::string alt = sheet.txtDDS.Text();
    if (!alt.empty() && ch.section == testing::kPipe) {
      Channel second = found;
      second.y = read.Length(sheet.txtDDS, sheet.cboDDS);
      EXPECT_GE(second.y, found.y);
      ++tally.alternates;
      EXPECT_TRUE(testing::RelativelyNear(second.Flow(velocity), given, 1e-9));
    } else if (!alt.empty() && sheet.txtArea2.Text() != "") {
      Channel second = found;
      second.z = read.Side(sheet.txtDDS, sheet.cboDDS);
      EXPECT_TRUE(testing::RelativelyNear(second.Flow(velocity), given, 1e-9));
      EXPECT_LT(second.z, found.z);  // the steeper of the two
      ++tally.alternates;
    }
  }
  // Nearly everything is solvable; the tallies guard against a test that checks nothing.
  EXPECT_GT(tally.accepted, tally.solved * 9 / 10);
  EXPECT_LT(tally.sideRejected, tally.solved / 50);
  RecordProperty("accepted", tally.accepted);
  RecordProperty("surcharged", tally.surcharged);
  EXPECT_GT(tally.alternates, tally.solved / 100);
  RecordProperty("sideRejected", tally.sideRejected);
  RecordProperty("alternates", tally.alternates);
}

TEST(SolverPropertyTest, WildSheetsEndWithAVerdict) {
  Random rnd(77);
  const std::vector<std::string> texts{
      "",   "0",  "-1",  "1",   "0.5",   "N/A",   "12abc", "1e300", "-1e300", "1e-300", "3.7",
      "90", "45", "100", "1e8", "0.013", "0.001", ".5",    "1e-9",  "2.5e7",  "-0.0",   "7e-320"};
  int rejected = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    CalculationSheet sheet;
    testing::PrepareSheet(sheet, rnd.Int(0, 4), rnd.Int(0, 1) == 1);
    sheet.cboSection.SetListIndex(rnd.Int(-1, 4));
    sheet.optVelDis1.SetCaption(rnd.Pick(std::vector<std::string>{"Velocity", "Discharge", ""}));
    testing::SelectUnknown(sheet, static_cast<Solve>(rnd.Int(0, 5)));
    sheet.chkLocDiam.SetValue(rnd.Int(0, 1));
    for (ComboBox* c :
         {&sheet.cboVelDis1, &sheet.cboDepth, &sheet.cboDiam, &sheet.cboSide, &sheet.cboSlope,
          &sheet.cboVelDis2, &sheet.cboArea, &sheet.cboDDS, &sheet.cboArea2, &sheet.cboVelDis3})
      c->SetListIndex(rnd.Int(-1, c->ListCount() - 1));
    for (TextBox* box : {&sheet.txtVelDis1, &sheet.txtDepth, &sheet.txtDiam, &sheet.txtSide,
                         &sheet.txtSlope, &sheet.txtManning}) {
      box->SetText(rnd.Int(0, 2) == 0 ? FormatNumber(rnd.Uniform(-5, 50)) : rnd.Pick(texts));
    }

    HydraulicState state;
    RecordingServices services;
    SolveManning(sheet, state, services);
    SCOPED_TRACE("trial " + std::to_string(trial));
    ASSERT_EQ(services.busyCalls, (std::vector<bool>{true, false}));
    for (const TextBox* box : AllBoxes(sheet))
      ASSERT_FALSE(HoldsNonFinite(box->Text())) << box->Name() << " " << box->Text();
    ASSERT_EQ(services.messages.size(), state.noSolution ? size_t{1} : size_t{0});
    if (state.noSolution) {
      ASSERT_EQ(services.messages[0], kNoSolutionBox);
      ++rejected;
    }
  }
  // Mostly nonsense goes in, so most of it must be turned away.
  EXPECT_GT(rejected, 300);
}

}  // namespace
}  // namespace rivulet
