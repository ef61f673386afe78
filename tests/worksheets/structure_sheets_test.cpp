// The weir, orifice and outlet structure worksheets through the batch mode: the samples
// solve to their hand-worked figures, and refused inputs end the file naming their field.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "core/batch/batch.h"
#include "example_report.h"
#include "support/example_files.h"
#include "support/worksheet_batch.h"

namespace rivulet {
namespace {

class StructureBatch : public testing::WorksheetBatchTest {
 protected:
  nlohmann::json Sheet(const std::string& kind, const std::string& inputs,
                       const std::string& solveFor, const std::string& options,
                       const std::string& units = "SI") {
    return Json(folder.Write("s.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": ")" + kind +
                                          R"(", "title": "t", "inputs": )" + inputs +
                                          R"(, "solveFor": ")" + solveFor + R"(", "options": )" +
                                          options + R"(, "resultUnits": ")" + units + "\"}"));
  }
  static double Value(const nlohmann::json& j, const char* name) {
    return j["results"][name]["value"].get<double>();
  }
};

TEST_F(StructureBatch, WeirSamplesSolveToTheirHandFigures) {
  EXPECT_EQ(Run({Example("weir-sharp-crested-si.rvw"), Example("weir-v-notch-us.rvw"),
                 Example("weir-roadway-overtopping-us.rvw")},
                BatchOutput::Reports),
            kBatchAllSolved);
  EXPECT_EQ(err.str(), "");
  // Kindsvater-Carter, L/B = 0.5, h/P = 0.5.
  const nlohmann::json kc = Json(Example("weir-sharp-crested-si.rvw"));
  EXPECT_NEAR(Value(kc, "discharge"), 3.2036 * std::sqrt(0.3048) * std::pow(0.2509144, 1.5), 1e-12);
  EXPECT_NEAR(Value(kc, "approachVelocity"), Value(kc, "discharge") / (2 * 0.75), 1e-12);
  EXPECT_EQ(kc["results"]["regime"]["value"], "free");
  // The notch's head in feet gives back 1.2 ft³/s by the 90° coefficients.
  const nlohmann::json notch = Json(Example("weir-v-notch-us.rvw"));
  const double h = Value(notch, "head");
  EXPECT_NEAR(
      8.0 / 15 * 0.5779048853 * std::sqrt(2 * 9.80665 / 0.3048) * std::pow(h + 0.0029025169, 2.5),
      1.2, 1e-7);
  // Gravel road: 1.1 ft gives Cr = 2.82 (between 1.0 and 1.5 ft); ht/HWr = 0.8636 gives
  // kt = 0.93 - 0.03 * 0.0364/0.03 = 0.9264.
  const nlohmann::json road = Json(Example("weir-roadway-overtopping-us.rvw"));
  const double kt = 0.93 - 0.03 * (0.95 / 1.1 - 0.86) / 0.03;
  EXPECT_NEAR(Value(road, "submergenceFactor"), kt, 1e-12);
  EXPECT_NEAR(Value(road, "discharge"), kt * 2.82 * 180 * std::pow(1.1, 1.5), 1e-9);
  EXPECT_EQ(road["results"]["regime"]["value"], "submerged");
}

TEST_F(StructureBatch, WeirRefusalsNameTheirField) {
  const struct {
    const char* name;
    std::string inputs, solveFor, options, field;
  } rows[] = {
      {"negative head",
       R"({"crestLength": {"value": 2, "unit": "m"}, "head": {"value": -0.1, "unit": "m"}})",
       "discharge", R"({"weirType": "rectangular", "method": "simple"})", "head"},
      {"angle beyond a straight line",
       R"({"notchAngle": {"value": 200, "unit": "degrees"}, "head": {"value": 0.1, "unit": "m"}})",
       "discharge", R"({"weirType": "vNotch"})", "notchAngle"},
      {"Kindsvater-Carter without the channel",
       R"({"crestLength": {"value": 2, "unit": "m"}, "crestHeight": {"value": 1, "unit": "m"}, "head": {"value": 0.1, "unit": "m"}})",
       "discharge", R"({"weirType": "rectangular"})", "channelWidth"},
      {"tailwater above the headwater",
       R"({"crestLength": {"value": 2, "unit": "m"}, "head": {"value": 0.1, "unit": "m"}, "tailwaterHead": {"value": 0.2, "unit": "m"}})",
       "discharge", R"({"weirType": "cipolletti"})", "tailwaterHead"},
      {"four contractions",
       R"({"crestLength": {"value": 2, "unit": "m"}, "head": {"value": 0.1, "unit": "m"}})",
       "discharge", R"({"weirType": "rectangular", "method": "simple", "endContractions": "4"})",
       "endContractions"},
  };
  for (const auto& row : rows) {
    const nlohmann::json j = Sheet("weir", row.inputs, row.solveFor, row.options);
    EXPECT_FALSE(j["status"]["ok"].get<bool>()) << row.name;
    EXPECT_EQ(j["status"]["field"], row.field) << row.name << ": " << j["status"]["message"];
  }
}

TEST_F(StructureBatch, GivenWeirCoefficientIsUsedAndReported) {
  const nlohmann::json j =
      Sheet("weir",
            R"({"crestLength": {"value": 10, "unit": "ft"}, "head": {"value": 1, "unit": "ft"},
          "weirCoefficient": {"value": 0.4}})",
            "discharge", R"({"weirType": "rectangular", "method": "simple"})", "US");
  EXPECT_NEAR(Value(j, "discharge"), 0.4 * std::sqrt(2 * 9.80665 / 0.3048) * 10, 1e-9);
  EXPECT_EQ(j["results"]["weirCoefficient"]["value"], 0.4);
}

TEST_F(StructureBatch, OrificeSamplesSolveToTheirHandFigures) {
  EXPECT_EQ(Run({Example("orifice-low-flow-si.rvw"), Example("orifice-slot-stage-us.rvw")},
                BatchOutput::Reports),
            kBatchAllSolved);
  const nlohmann::json low = Json(Example("orifice-low-flow-si.rvw"));
  EXPECT_NEAR(Value(low, "discharge"),
              0.6 * M_PI / 4 * 0.15 * 0.15 * std::sqrt(2 * 9.80665 * 1.125), 1e-12);
  EXPECT_EQ(low["results"]["regime"]["value"], "orifice");
  EXPECT_EQ(low["results"]["submerged"]["value"], false);
  // The slot's stage in feet gives back 2 ft³/s through 1/3 ft² to its centroid.
  const nlohmann::json slot = Json(Example("orifice-slot-stage-us.rvw"));
  const double stage = Value(slot, "upstreamElevation");
  EXPECT_NEAR(0.6 / 3 * std::sqrt(2 * 9.80665 / 0.3048 * (stage - 652 - 1.0 / 6)), 2, 1e-9);
}

TEST_F(StructureBatch, OrificeRefusalsNameTheirField) {
  const char* slot =
      R"({"width": {"value": 0.3, "unit": "m"}, "height": {"value": 0.1, "unit": "m"},
      "invertElevation": {"value": 10, "unit": "m"}, "upstreamElevation": {"value": 11, "unit": "m"},
      "discharge": {"value": 0.1, "unit": "m3/s"}})";
  const struct {
    const char* name;
    std::string inputs, solveFor, options, field;
  } rows[] = {
      {"diameter of a slot", slot, "diameter", R"({"shape": "rectangular"})", "solveFor"},
      {"rounded without a coefficient", slot, "discharge",
       R"({"shape": "rectangular", "edge": "rounded"})", "dischargeCoefficient"},
      {"tailwater above the headwater",
       R"({"diameter": {"value": 0.1, "unit": "m"}, "invertElevation": {"value": 10, "unit": "m"},
           "upstreamElevation": {"value": 11, "unit": "m"}, "downstreamElevation": {"value": 11.5, "unit": "m"}})",
       "discharge", R"({"shape": "circular"})", "downstreamElevation"},
  };
  for (const auto& row : rows) {
    const nlohmann::json j = Sheet("orifice", row.inputs, row.solveFor, row.options);
    EXPECT_FALSE(j["status"]["ok"].get<bool>()) << row.name;
    EXPECT_EQ(j["status"]["field"], row.field) << row.name << ": " << j["status"]["message"];
  }
}

}  // namespace
}  // namespace rivulet
