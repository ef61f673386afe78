// The gutter worksheet through the batch mode: the sample files solve with their units and
// checks, and every refused input ends the file with status 1 and a message naming it.
#include "core/worksheets/gutter_sheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "core/worksheets/worksheet_report.h"
#include "example_report.h"
#include "support/example_files.h"
#include "support/worksheet_batch.h"
#include "test_kind.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

class GutterBatch : public testing::WorksheetBatchTest {
 protected:
  std::string Sheet(const std::string& name, const std::string& inputs,
                    const std::string& type = "uniform", const std::string& solveFor = "spread",
                    const std::string& units = "SI", const std::string& extraOptions = "") {
    return folder.Write(name, R"({"rivulet": "worksheet", "version": 1, "kind": "gutter",
        "title": "t", "inputs": )" +
                                  inputs + R"(, "solveFor": ")" + solveFor +
                                  R"(", "options": {"gutterType": ")" + type + "\"" + extraOptions +
                                  R"(}, "resultUnits": ")" + units + "\"}");
  }
};

const char kStreet[] = R"({"crossSlope": {"value": 0.02, "unit": "m/m"},
    "longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "manningsN": {"value": 0.016},
    "discharge": {"value": 0.05, "unit": "m3/s"}})";

TEST_F(GutterBatch, SampleWorksheetsSolve) {
  EXPECT_EQ(Run({Example("gutter-uniform-us.rvw"), Example("gutter-composite-si.rvw"),
                 Example("gutter-capacity-at-kerb-us.rvw"), Example("gutter-v-shoulder-si.rvw")},
                BatchOutput::Reports),
            kBatchAllSolved);
  EXPECT_EQ(err.str(), "");
}

// The US sample by the US form of the equation worked in feet, independently of the code.
TEST_F(GutterBatch, UsResultsUseTheUsConstantInFeet) {
  const nlohmann::json j = Json(Example("gutter-uniform-us.rvw"));
  ASSERT_TRUE(j["status"]["ok"].get<bool>()) << j.dump();
  const double spread = std::pow(1.8 * 0.016 / (0.56 * std::pow(0.02, 5.0 / 3) * 0.1), 0.375);
  const auto& r = j["results"];
  EXPECT_EQ(r["spread"]["unit"], "ft");
  EXPECT_NEAR(r["spread"]["value"].get<double>(), spread, 1e-9 * spread);
  EXPECT_EQ(r["spread"]["text"], "8.986");
  EXPECT_NEAR(r["depthAtCurb"]["value"].get<double>(), 0.02 * spread, 1e-9);
  EXPECT_EQ(r["discharge"]["unit"], "ft3/s");
  EXPECT_NEAR(r["frontalFlowRatio"]["value"].get<double>(), 1 - std::pow(1 - 2 / spread, 8.0 / 3),
              1e-9);
  EXPECT_EQ(r["spreadWithinAllowable"]["value"], false);
  EXPECT_EQ(r["depthWithinKerb"]["value"], true);
  ASSERT_EQ(j["warnings"].size(), 1u);
  EXPECT_EQ(j["warnings"][0], "Spread of 8.986 ft exceeds the allowable spread of 8 ft");
}

TEST_F(GutterBatch, CompositeSampleSplitsTheFlow) {
  const nlohmann::json j = Json(Example("gutter-composite-si.rvw"));
  const auto& r = j["results"];
  EXPECT_EQ(r["spread"]["text"], "2.882");
  EXPECT_EQ(r["frontalFlowRatio"]["text"], "0.6315");
  EXPECT_NEAR(r["gutterFlow"]["value"].get<double>() + r["sideFlow"]["value"].get<double>(), 0.06,
              1e-12);
  EXPECT_EQ(r["depthAtCurb"]["text"], "0.1076");
  EXPECT_EQ(r["spreadWithinAllowable"]["value"], false);
  EXPECT_EQ(r["depthWithinKerb"]["value"], true);
}

TEST_F(GutterBatch, ResultsThatDoNotApplyAreNull) {
  const nlohmann::json j = Json(Example("gutter-v-shoulder-si.rvw"));
  for (const char* name : {"frontalFlowRatio", "gutterFlow", "sideFlow", "spreadOverGutterWidth"})
    EXPECT_TRUE(j["results"][name]["value"].is_null()) << name;
  EXPECT_FALSE(j["results"].contains("depthWithinKerb"));
  EXPECT_TRUE(j["results"]["spread"]["value"].is_number());
}

TEST_F(GutterBatch, RefusedInputsNameTheirField) {
  const struct {
    const char* name;
    std::string inputs;
    std::string type;
    std::string solveFor;
    std::string options;
    std::string field;
    std::string message;
  } rows[] = {
      {"zero cross slope",
       R"({"crossSlope": {"value": 0, "unit": "%"}, "longitudinalSlope": {"value": 1, "unit": "%"},
           "manningsN": {"value": 0.016}, "discharge": {"value": 50, "unit": "L/s"}})",
       "uniform", "spread", "", "crossSlope", "Cross slope (crossSlope) must be greater than 0."},
      {"negative n",
       R"({"crossSlope": {"value": 2, "unit": "%"}, "longitudinalSlope": {"value": 1, "unit": "%"},
           "manningsN": {"value": -0.016}, "discharge": {"value": 50, "unit": "L/s"}})",
       "uniform", "spread", "", "manningsN", "Manning's n (manningsN) must be greater than 0."},
      {"composite without width", kStreet, "composite", "spread", "", "gutterWidth",
       "Gutter width (gutterWidth) is required."},
      {"pan flatter than the road",
       R"({"crossSlope": {"value": 0.04, "unit": "m/m"}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"},
           "manningsN": {"value": 0.016}, "discharge": {"value": 0.05, "unit": "m3/s"},
           "gutterWidth": {"value": 2, "unit": "ft"}, "gutterCrossSlope": {"value": 3, "unit": "%"}})",
       "composite", "spread", "", "gutterCrossSlope",
       "Gutter cross slope (gutterCrossSlope) must be steeper than the cross slope (crossSlope)."},
      {"zero pan width",
       R"({"crossSlope": {"value": 0.02, "unit": "m/m"}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"},
           "manningsN": {"value": 0.016}, "discharge": {"value": 0.05, "unit": "m3/s"},
           "gutterWidth": {"value": 0, "unit": "m"}, "gutterDepression": {"value": 50, "unit": "mm"}})",
       "composite", "spread", "", "gutterWidth",
       "Gutter width (gutterWidth) must be greater than 0."},
      {"known is the unknown", kStreet, "uniform", "spread", R"(, "known": "spread")", "known",
       "Option \"known\" must be one of other, depthAtCurb."},
      {"unknown section", kStreet, "parabolic", "spread", "", "gutterType",
       "Option \"gutterType\" must be one of uniform, composite, vShaped."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string file =
        Sheet("bad.rvw", row.inputs, row.type, row.solveFor, "SI", row.options);
    EXPECT_EQ(Run({file}, BatchOutput::Reports), kBatchSomeUnsolved);
    EXPECT_EQ(err.str(), "Gutter Flow: " + row.message + "\n");
    const nlohmann::json j = Json(file);
    EXPECT_FALSE(j["status"]["ok"].get<bool>());
    EXPECT_EQ(j["status"]["field"], row.field);
    EXPECT_EQ(j["status"]["message"], row.message);
    EXPECT_TRUE(j["results"].empty());
  }
}

TEST_F(GutterBatch, ReportStatesMethodConstantAndChecks) {
  const std::string text = ReportWords(ExampleReportLines("gutter-composite-si.rvw"));
  for (const char* expected : {"Ku = 0.376, the SI form", "Composite gutter: pan cross slope",
                               "Spread 2.882 m against the allowable spread 2.5 m: EXCEEDED.",
                               "Depth at curb 0.1076 m against the kerb height 0.15 m: within."})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
}  // namespace rivulet
