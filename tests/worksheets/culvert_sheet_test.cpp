// The culvert worksheet through the batch mode: the samples solve to their hand-worked
// figures, and refused inputs end the file naming their field.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>
#include <string>

#include "core/batch/batch.h"
#include "support/example_files.h"
#include "support/worksheet_batch.h"

namespace rivulet {
namespace {

class CulvertBatch : public testing::WorksheetBatchTest {
 protected:
  nlohmann::json Sheet(const std::string& inputs, const std::string& options) {
    return Json(folder.Write("c.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "culvert",
      "title": "t", "inputs": )" + inputs +
                                          R"(, "solveFor": "headwater", "options": )" + options +
                                          R"(, "resultUnits": "SI"})"));
  }
  static double Value(const nlohmann::json& j, const char* name) {
    return j["results"][name]["value"].get<double>();
  }
};

TEST_F(CulvertBatch, SamplesSolveToTheirHandFigures) {
  EXPECT_EQ(
      Run({Example("culvert-concrete-pipe-us.rvw"), Example("culvert-twin-box-overtopping-si.rvw")},
          BatchOutput::Reports),
      kBatchAllSolved);
  EXPECT_EQ(err.str(), "");
  // 48 in groove-end pipe, 150 ft³/s: X = 150 / (4π · 2) in feet, submerged, S = 0.01.
  const nlohmann::json pipe = Json(Example("culvert-concrete-pipe-us.rvw"));
  const double x = 150 / (4 * std::numbers::pi * 2);
  EXPECT_NEAR(Value(pipe, "headwaterInletControl"), 100 + 4 * (0.0292 * x * x + 0.74 - 0.005),
              1e-9);
  EXPECT_EQ(pipe["results"]["controlType"]["value"], "inlet");
  EXPECT_EQ(pipe["results"]["performance"]["value"].size(), 41u);
  // The twin boxes overtop: the flows add up to the design flow.
  const nlohmann::json box = Json(Example("culvert-twin-box-overtopping-si.rvw"));
  EXPECT_EQ(box["results"]["overtopping"]["value"], true);
  EXPECT_NEAR(Value(box, "barrelDischarge") + Value(box, "overtoppingDischarge"), 45, 1e-9);
}

TEST_F(CulvertBatch, RefusalsNameTheirField) {
  const std::string barrel =
      R"("discharge": {"value": 3, "unit": "m3/s"}, "barrelLength": {"value": 20, "unit": "m"},
      "manningsN": {"value": 0.013}, "inletInvertElevation": {"value": 10, "unit": "m"},
      "tailwaterElevation": {"value": 10, "unit": "m"})";
  const std::string box = R"({"barrelShape": "box"})";
  const struct {
    std::string inputs, options, field;
  } rows[] = {
      {R"("span": {"value": 2, "unit": "m"}, "rise": {"value": 0, "unit": "m"}, "outletInvertElevation": {"value": 9.8, "unit": "m"})",
       box, "rise"},
      {R"("span": {"value": 2, "unit": "m"}, "rise": {"value": 1, "unit": "m"}, "outletInvertElevation": {"value": 10.2, "unit": "m"})",
       box, "outletInvertElevation"},
      {R"("span": {"value": 2, "unit": "m"}, "rise": {"value": 1, "unit": "m"}, "barrelSlope": {"value": 1, "unit": "%"}, "numberOfBarrels": {"value": 1.5})",
       box, "numberOfBarrels"},
      {R"("span": {"value": 2, "unit": "m"}, "rise": {"value": 1, "unit": "m"}, "barrelSlope": {"value": 1, "unit": "%"})",
       R"({"barrelShape": "box", "inletType": "2/1"})", "inletType"},
      {R"("diameter": {"value": 1, "unit": "m"}, "barrelSlope": {"value": 1, "unit": "%"}, "roadwayCrestElevation": {"value": 9, "unit": "m"}, "roadwayCrestLength": {"value": 9, "unit": "m"}, "roadwayWidth": {"value": 9, "unit": "m"})",
       "{}", "roadwayCrestElevation"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.field);
    const nlohmann::json j = Sheet("{" + barrel + ", " + row.inputs + "}", row.options);
    EXPECT_FALSE(j["status"]["ok"].get<bool>());
    EXPECT_EQ(j["status"]["field"], row.field) << j["status"]["message"];
  }
}

}  // namespace
}  // namespace rivulet
