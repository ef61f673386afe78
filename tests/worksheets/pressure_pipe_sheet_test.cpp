// The pressure-pipe worksheet through the batch mode: the samples solve, materials and the
// water temperature fill in what is left blank, every refused input is named, and the curve
// leaves as CSV.
#include "core/worksheets/pressure_pipe_sheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>

#include "support/example_files.h"
#include "support/near.h"
#include "support/worksheet_batch.h"

namespace rivulet {
namespace {

using testing::Near;

// 20 L/s through 150 mm of steel, 400 m, against 6 m of head; rows patch it.
const nlohmann::json kMain = nlohmann::json::parse(R"({"rivulet": "worksheet", "version": 1,
    "kind": "pressurePipe", "title": "t", "inputs": {
      "discharge": {"value": 20, "unit": "L/s"}, "diameter": {"value": 150, "unit": "mm"},
      "length": {"value": 400, "unit": "m"}, "headLoss": {"value": 6, "unit": "m"},
      "roughness": {"value": 0.046, "unit": "mm"}},
    "solveFor": "headLoss", "options": {}, "resultUnits": "SI"})");

class PressurePipeBatch : public testing::WorksheetBatchTest {
 protected:
  nlohmann::json Solve(const nlohmann::json& patch) {
    nlohmann::json doc = kMain;
    if (!patch.is_null()) doc.merge_patch(patch);
    return Json(folder.Write("pipe.rvw", doc.dump()));
  }
  static double Value(const nlohmann::json& j, const char* name) {
    return j["results"][name]["value"].get<double>();
  }
};

TEST_F(PressurePipeBatch, SamplesSolveAndTheSiphonMatchesItsHandWork) {
  EXPECT_EQ(
      Run({Example("pressure-pipe-force-main-si.rvw"), Example("pressure-pipe-siphon-us.rvw")},
          BatchOutput::Reports),
      kBatchAllSolved);
  // Worked by successive substitution in feet: f = 0.0144374, V = 10.35729 ft/s.
  const nlohmann::json j = Json(Example("pressure-pipe-siphon-us.rvw"));
  EXPECT_TRUE(Near(Value(j, "discharge"), 10.357286617 * std::numbers::pi / 4, 1e-9));
  EXPECT_EQ(j["results"]["discharge"]["unit"], "ft3/s");
  EXPECT_TRUE(Near(Value(j, "totalHeadLoss"), 412.5 - 404.0, 1e-12));
  EXPECT_EQ(Value(j, "downstreamPressureHead"), 0);
}

TEST_F(PressurePipeBatch, MaterialAndTemperatureFillWhatIsLeftBlank) {
  const double typed = Value(Solve({}), "totalHeadLoss");
  // Steel's 0.15 thousandths of a foot is the 0.046 mm typed, to the rounding of 0.04572.
  const nlohmann::json steel =
      Solve({{"inputs", {{"roughness", nullptr}}}, {"options", {{"material", "steel"}}}});
  EXPECT_TRUE(Near(Value(steel, "totalHeadLoss"), typed, 2e-3));
  const nlohmann::json warm = Solve({{"options", {{"waterTemperature", "20"}}}});
  const double v = 0.02 / (std::numbers::pi * 0.15 * 0.15 / 4);
  EXPECT_TRUE(Near(Value(warm, "reynoldsNumber"), v * 0.15 / 1.0105e-6));
  EXPECT_TRUE(Near(Value(Solve({}), "reynoldsNumber"), v * 0.15 / 1.0e-6));
  // Hazen-Williams from the material: C = 140 for steel.
  const nlohmann::json hw =
      Solve({{"options", {{"frictionMethod", "hazenWilliams"}, {"material", "steel"}}}});
  EXPECT_TRUE(
      Near(Value(hw, "frictionLoss"),
           10.6668 * 400 * std::pow(0.02, 1.852) / (std::pow(140, 1.852) * std::pow(0.15, 4.871)),
           1e-5));
}

TEST_F(PressurePipeBatch, RefusalsNameTheirField) {
  const nlohmann::json ends = {{"upstreamElevation", {{"value", 20}, {"unit", "m"}}},
                               {"downstreamElevation", {{"value", 12}, {"unit", "m"}}}};
  const struct {
    const char* name;
    nlohmann::json patch;
    const char* field;
    const char* message;
  } rows[] = {
      {"zero diameter", {{"inputs", {{"diameter", {{"value", 0}}}}}}, "diameter", nullptr},
      {"negative length", {{"inputs", {{"length", {{"value", -5}}}}}}, "length", nullptr},
      {"zero roughness", {{"inputs", {{"roughness", {{"value", 0}}}}}}, "roughness", nullptr},
      {"head the ends contradict",
       {{"solveFor", "discharge"}, {"inputs", ends}},
       "headLoss",
       "The head loss of 6 m contradicts the ends, whose hydraulic grades differ by 8 m."},
      {"ends uphill",
       {{"solveFor", "diameter"},
        {"inputs",
         {{"headLoss", nullptr},
          {"upstreamElevation", {{"value", 5}, {"unit", "m"}}},
          {"downstreamElevation", {{"value", 12}, {"unit", "m"}}}}}},
       "downstreamElevation",
       nullptr},
      {"one end",
       {{"inputs", {{"upstreamElevation", {{"value", 5}, {"unit", "m"}}}}}},
       "downstreamElevation",
       "Give the elevations of both ends, or of neither."},
      {"no head",
       {{"solveFor", "length"}, {"inputs", {{"headLoss", nullptr}}}},
       "headLoss",
       nullptr},
      {"clay has no roughness",
       {{"inputs", {{"roughness", nullptr}}}, {"options", {{"material", "vitrifiedClay"}}}},
       "roughness",
       "The input \"roughness\" is missing (the material has no value)."},
      {"fitting without K",
       {{"inputs", {{"minorLosses", {{{"id", "meter"}, {"fitting", "other"}}}}}}},
       "minorLosses",
       "\"minorLosses\" row 1 (\"meter\"): give the K of a fitting not in the table."},
      {"half a fitting",
       {{"inputs", {{"minorLosses", {{{"fitting", "exit"}, {"count", {{"value", 1.5}}}}}}}}},
       "minorLosses",
       "\"minorLosses\" row 1: the count 1.5 is not a whole number of fittings."},
      {"minor losses use the head",
       {{"solveFor", "length"}, {"inputs", {{"minorLossK", {{"value", 1000}}}}}},
       "headLoss",
       nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const nlohmann::json j = Solve(row.patch);
    ASSERT_FALSE(j["status"]["ok"].get<bool>()) << j.dump();
    EXPECT_EQ(j["status"]["field"], row.field);
    if (row.message) {
      EXPECT_EQ(j["status"]["message"], row.message);
    }
  }
}

// The fittings' K from the table unless typed, times the count; a list stands for the sum.
TEST_F(PressurePipeBatch, FittingsAddTheirKTimesTheirCount) {
  const nlohmann::json fittings = nlohmann::json::parse(R"([
      {"fitting": "gateValve", "count": {"value": 2}}, {"fitting": "exit"},
      {"fitting": "other", "k": {"value": 0.35}}, {"fitting": "teeBranch", "k": {"value": 2}}])");
  const nlohmann::json j =
      Solve({{"inputs", {{"minorLosses", fittings}, {"minorLossK", {{"value", 50}}}}}});
  const double k = 0.2 * 2 + 1.0 + 0.35 + 2;
  EXPECT_TRUE(Near(Value(j, "minorLoss"), k * Value(j, "velocityHead")));
}

TEST_F(PressurePipeBatch, RangeWarningsAndTheCurveAsCsv) {
  // Re = 2546 with a viscosity of 1e-5 m2/s: between the regimes.
  const nlohmann::json transition =
      Solve({{"inputs",
              {{"kinematicViscosity", {{"value", 1e-5}, {"unit", "m2/s"}}},
               {"discharge", {{"value", 3}, {"unit", "L/s"}}}}}});
  EXPECT_EQ(transition["results"]["flowRegime"]["value"], "transition");
  ASSERT_EQ(transition["warnings"].size(), 2u) << transition.dump();  // and the low velocity
  EXPECT_NE(transition["warnings"].dump().find("between laminar and turbulent"), std::string::npos);
  const nlohmann::json sj = Solve({{"options", {{"frictionFormula", "swameeJain"}}},
                                   {"inputs", {{"roughness", {{"value", 10}, {"unit", "mm"}}}}}});
  EXPECT_NE(sj["warnings"].dump().find("Swamee-Jain is stated for"), std::string::npos);

  Document d;
  d.resultUnits = UnitSystem::US;
  PressurePipeResults r;
  r.curve = {{0, 0}, {0.3048 * 0.3048 * 0.3048, 0.3048}};
  EXPECT_EQ(HeadLossCurveCsv(d, r), "Discharge (ft3/s),Head Loss (ft)\r\n0,0\r\n1,1\r\n");
}

}  // namespace
}  // namespace rivulet
