// The network worksheet: a file in any units reads into the calculation's base units, the
// design sheet comes out as two tables, and refusals name the list and the row.
#include "core/worksheets/network_sheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "support/example_files.h"
#include "support/near.h"
#include "support/worksheet_batch.h"

namespace rivulet {
namespace {

using nlohmann::json;
using testing::Near;

json ExampleJson(const char* name) {
  const WorksheetRead read = ReadWorksheetFile(Example(name));
  EXPECT_TRUE(read.document) << read.message;
  return json::parse(WorksheetText(*read.document));
}

Document DocumentOf(const json& j) {
  const WorksheetRead read = ParseWorksheet(j.dump());
  EXPECT_TRUE(read.document) << read.message;
  return *read.document;
}

TEST(NetworkSheet, ReadsTheFileIntoBaseUnits) {
  const NetworkInputs in = NetworkInputsFrom(DocumentOf(ExampleJson("network-elm-street-us.rvw")));
  ASSERT_EQ(in.structures.size(), 13u);
  ASSERT_EQ(in.pipes.size(), 12u);
  const NetworkStructure& i4a = in.structures[1];
  EXPECT_EQ(i4a.id, "I4a");
  EXPECT_EQ(i4a.kind, StructureKind::Inlet);
  EXPECT_TRUE(Near(i4a.rimElevation, 120.6 * 0.3048));
  EXPECT_TRUE(Near(i4a.drainageArea, 1.2 * 4046.8564224));  // 1 ac = 43 560 ft²
  EXPECT_TRUE(Near(i4a.inletTime, 8 * 60));
  const NetworkPipe& p = in.pipes[1];
  EXPECT_EQ(p.from, "I4a");
  EXPECT_TRUE(Near(p.length, 40 * 0.3048));
  EXPECT_DOUBLE_EQ(p.inflowAngle, 90);
  EXPECT_TRUE(Near(in.idf.intensity[0], 6.5 * 0.0254 / 3600));
  EXPECT_TRUE(Near(in.design.minimumDiameter, 15 * 0.0254));
  EXPECT_TRUE(Near(*in.tailwaterElevation, 95.0 * 0.3048));
  EXPECT_EQ(in.design.sizes.system, UnitSystem::US);
}

TEST(NetworkSheet, SubAreasCombineByTheWeightedRule) {
  json j = ExampleJson("network-two-streets-si.rvw");
  j["inputs"]["structures"][0].erase("drainageArea");
  j["inputs"]["structures"][0].erase("runoffCoefficient");
  j["inputs"]["structures"][0]["subAreas"] = json::parse(
      R"([{"area": {"value": 0.4, "unit": "ha"}, "runoffCoefficient": {"value": 0.9}},
          {"area": {"value": 6000, "unit": "m2"}, "runoffCoefficient": {"value": 0.2}}])");
  const NetworkInputs in = NetworkInputsFrom(DocumentOf(j));
  EXPECT_TRUE(Near(in.structures[0].drainageArea, 10000));
  // (0.9 × 4000 + 0.2 × 6000) / 10000
  EXPECT_TRUE(Near(in.structures[0].runoffCoefficient, 0.48));
}

TEST(NetworkSheet, DesignLimitsMayComeAsAGroup) {
  json j = ExampleJson("network-two-streets-si.rvw");
  for (const char* name : {"minimumDiameter", "minimumCover"}) j["inputs"].erase(name);
  j["options"].erase("crownRule");
  j["inputs"]["design"] = json::parse(R"({"minimumDiameter": {"value": 450, "unit": "mm"},
      "minimumCover": {"value": 4, "unit": "ft"}, "crownRule": "matchInverts"})");
  const NetworkInputs in = NetworkInputsFrom(DocumentOf(j));
  EXPECT_TRUE(Near(in.design.minimumDiameter, 0.45));
  EXPECT_TRUE(Near(in.design.minimumCover, 4 * 0.3048));
  EXPECT_EQ(in.design.crownRule, CrownRule::MatchInverts);
  j["inputs"]["design"]["minimumCover"]["value"] = -1;
  const SheetOutcome o = SolveWorksheet(NetworkKind(), DocumentOf(j));
  EXPECT_EQ(o.field, "design") << o.message;
}

TEST(NetworkSheet, RefusalsNameTheListAndTheRow) {
  struct Row {
    const char* name;
    std::function<void(json&)> change;
    const char* field;
    const char* words;
  };
  const Row rows[] = {
      {"no rainfall", [](json& j) { j["inputs"].erase("idf"); }, "idf", "rainfall curve"},
      {"pipe to nowhere", [](json& j) { j["inputs"]["pipes"][2]["to"] = "OUT9"; }, "pipes",
       "\"OUT9\""},
      {"C above 1",
       [](json& j) { j["inputs"]["structures"][1]["runoffCoefficient"]["value"] = 1.5; },
       "structures", "\"I2\""},
      {"tailwater missing", [](json& j) { j["options"]["tailwater"] = "elevation"; },
       "tailwaterElevation", "tailwaterElevation"},
      {"area without C", [](json& j) { j["inputs"]["structures"][0].erase("runoffCoefficient"); },
       "structures", "runoffCoefficient"},
  };
  for (const Row& row : rows) {
    json j = ExampleJson("network-two-streets-si.rvw");
    row.change(j);
    const SheetOutcome o = SolveWorksheet(NetworkKind(), DocumentOf(j));
    EXPECT_FALSE(o.ok) << row.name;
    EXPECT_EQ(o.field, row.field) << row.name << ": " << o.message;
    EXPECT_NE(o.message.find(row.words), std::string::npos) << row.name << ": " << o.message;
  }
}

class NetworkBatch : public testing::WorksheetBatchTest {};

TEST_F(NetworkBatch, JsonGivesThePipesAndStructuresAsTables) {
  const json j = Json(Example("network-two-streets-si.rvw"));
  ASSERT_TRUE(j["status"]["ok"]) << j.dump();
  const json& pipes = j["results"]["pipes"]["value"];
  ASSERT_EQ(pipes.size(), 3u);
  EXPECT_EQ(pipes[2]["id"]["value"], "P3");
  EXPECT_EQ(pipes[2]["diameter"]["unit"], "m");
  EXPECT_DOUBLE_EQ(pipes[2]["diameter"]["value"].get<double>(), 0.75);
  EXPECT_EQ(pipes[2]["timeOfConcentration"]["unit"], "min");
  const json& structures = j["results"]["structures"]["value"];
  ASSERT_EQ(structures.size(), 4u);
  EXPECT_EQ(structures[3]["kind"]["value"], "outfall");
  EXPECT_EQ(structures[2]["surcharged"]["text"], "No");
}

}  // namespace
}  // namespace rivulet
