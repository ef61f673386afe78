// The weir, orifice and outlet structure worksheets through the batch mode: the samples
// solve to their hand-worked figures, and refused inputs end the file naming their field.
#include <gtest/gtest.h>

#include <algorithm>
#include <any>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "core/batch/batch.h"
#include "core/shell/number_text.h"
#include "core/worksheets/outlet_sheet.h"
#include "core/worksheets/worksheet_model.h"
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
  Run({(folder.path / "s.rvw").string()}, BatchOutput::Reports);
  std::vector<std::string> lines;
  std::istringstream report(out.str());
  for (std::string line; std::getline(report, line);) lines.push_back(line);
  EXPECT_NE(ReportWords(lines).find("Weir coefficient 0.4 given, in place of the method's own."),
            std::string::npos)
      << out.str();
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

// The rating's row at a stage, by its shown stage text.
const nlohmann::json& RowAt(const nlohmann::json& j, const std::string& stage) {
  for (const nlohmann::json& row : j["results"]["rating"]["value"])
    if (row["stage"]["text"] == stage) return row;
  static const nlohmann::json none;
  ADD_FAILURE() << "no row at " << stage;
  return none;
}

TEST_F(StructureBatch, OutletSamplesRateToTheirHandFigures) {
  EXPECT_EQ(Run({Example("outlet-pond-riser-si.rvw"), Example("outlet-pond-riser-us.rvw")},
                BatchOutput::Reports),
            kBatchAllSolved);
  const double root2g = std::sqrt(2 * 9.80665);
  const nlohmann::json si = Json(Example("outlet-pond-riser-si.rvw"));
  EXPECT_EQ(si["results"]["rating"]["value"].size(), 21u);
  const nlohmann::json& row = RowAt(si, "101.500");
  const double low = 0.6 * M_PI / 4 * 0.01 * root2g * std::sqrt(1.45);
  const double pair = 2 * 0.6 * M_PI / 4 * 0.0225 * root2g * std::sqrt(0.825);
  const double weir = 0.37 * root2g * (1.5 - 0.2 * 0.3) * std::pow(0.3, 1.5);
  EXPECT_NEAR(row["discharge"]["value"].get<double>(), low + pair + weir, 1e-12);
  const nlohmann::json& devices = row["devices"]["value"];
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[1]["id"]["value"], "second");
  EXPECT_NEAR(devices[1]["discharge"]["value"].get<double>(), pair, 1e-12);
  EXPECT_EQ(devices[2]["regime"]["value"], "free");
  // The US riser: rim weir at 0.5 ft over the rim, the pipe's orifice at 2 ft.
  const nlohmann::json us = Json(Example("outlet-pond-riser-us.rvw"));
  const double root2gFt = std::sqrt(2 * 9.80665 / 0.3048);
  const nlohmann::json& rim = RowAt(us, "653.50")["devices"]["value"][2];
  EXPECT_EQ(rim["regime"]["value"], "weir");
  EXPECT_NEAR(rim["discharge"]["value"].get<double>(),
              0.37 * root2gFt * M_PI * 3 * std::pow(0.5, 1.5), 1e-9);
  const nlohmann::json& pipe = RowAt(us, "655.00")["devices"]["value"][2];
  EXPECT_EQ(pipe["regime"]["value"], "orifice");
  EXPECT_NEAR(pipe["discharge"]["value"].get<double>(),
              0.6 * M_PI / 4 * 9 * root2gFt * std::sqrt(2.0), 1e-9);
}

TEST_F(StructureBatch, OutletRefusalsNameTheirField) {
  const std::string stages = R"("stageFrom": {"value": 100, "unit": "m"},
      "stageTo": {"value": 101, "unit": "m"}, "stageStep": {"value": 0.1, "unit": "m"})";
  const struct {
    const char* name;
    std::string devices, field, says;
  } rows[] = {
      {"no type", R"([{"id": "a", "diameter": {"value": 0.1, "unit": "m"}}])", "devices", "\"a\""},
      {"orifice without its invert",
       R"([{"type": "orifice", "diameter": {"value": 0.1, "unit": "m"}}])", "devices",
       "invertElevation"},
      {"half a device", R"([{"type": "riser", "count": {"value": 1.5},
          "diameter": {"value": 1, "unit": "m"}, "crestElevation": {"value": 100.5, "unit": "m"}}])",
       "devices", "whole number"},
      {"weir crest wider than its channel",
       R"([{"id": "top", "type": "weir", "crestLength": {"value": 3, "unit": "m"},
           "channelWidth": {"value": 2, "unit": "m"}, "crestElevation": {"value": 100.5, "unit": "m"}}])",
       "devices", "row 1 (\"top\"): Crest length (crestLength) must not exceed"},
  };
  for (const auto& row : rows) {
    const nlohmann::json j =
        Sheet("outletStructure", R"({"devices": )" + row.devices + ", " + stages + "}", "", "{}");
    EXPECT_FALSE(j["status"]["ok"].get<bool>()) << row.name;
    EXPECT_EQ(j["status"]["field"], row.field) << row.name;
    EXPECT_NE(j["status"]["message"].get<std::string>().find(row.says), std::string::npos)
        << row.name << ": " << j["status"]["message"];
  }
}

// The window shows the rating as a table, a column per device's flow and regime, and the CSV
// carries it whole.
TEST(OutletSheet, RatingIsATableWithAColumnPerDeviceAndWrittenWholeAsCsv) {
  const std::string path = Example("outlet-pond-riser-si.rvw");
  WorksheetModel model(OutletStructureKind());
  ASSERT_EQ(model.Load(*ReadWorksheetFile(path).document, path), "");
  model.Calculate();
  EXPECT_TRUE(model.ResultRows().empty());
  const std::vector<ResultTable> tables = model.ResultTables();
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].headers,
            (std::vector<std::string>{"Stage", "Discharge", "low Discharge", "low Regime",
                                      "second Discharge", "second Regime", "overflow Discharge",
                                      "overflow Regime"}));
  ASSERT_EQ(tables[0].cells.size(), 21u);
  EXPECT_EQ(tables[0].cells[1][3], "weir");
  EXPECT_EQ(tables[0].cells[20][0], "102.000");
  const auto& solved = std::any_cast<const OutletSolved&>(model.Outcome().solved);
  const std::string csv =
      OutletRatingCsv(solved.inputs, solved.rating, *FindFileUnit(Dimension::Length, "ft"),
                      *FindFileUnit(Dimension::Discharge, "L/s"));
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "stage (ft),discharge (L/s),low discharge (L/s),low regime,second discharge (L/s),"
            "second regime,overflow discharge (L/s),overflow regime");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 22);
  // 100.1 m over the low orifice's invert: a weir, 0.6 A g^½ 0.1^1.5 / 0.1 in L/s.
  const double low = 0.6 * M_PI / 4 * 0.01 * std::sqrt(9.80665) * std::pow(0.1, 1.5) / 0.1 * 1000;
  const size_t second = csv.find("\r\n", csv.find("\r\n") + 2) + 2;
  const std::string line = csv.substr(second, csv.find("\r\n", second) - second);
  EXPECT_EQ(line.substr(0, line.find(',')), FormatNumber(100.1 / 0.3048));
  EXPECT_NEAR(std::stod(line.substr(line.find(',') + 1)), low, 1e-9);
  EXPECT_EQ(line.substr(line.find(",weir,")), ",weir,0,none,0,none");
}

}  // namespace
}  // namespace rivulet
