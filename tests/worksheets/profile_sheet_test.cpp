// The profile worksheet through the batch mode: the samples solve in their units with the
// jump balancing momentum in feet, and each refused input names its field.
#include "core/worksheets/profile_sheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "core/batch/batch.h"
#include "core/worksheets/document.h"
#include "support/example_files.h"
#include "support/near.h"
#include "support/worksheet_batch.h"

namespace rivulet {
namespace {

using testing::Near;

class ProfileBatch : public testing::WorksheetBatchTest {
 protected:
  std::string Sheet(const std::string& inputs, const std::string& options) {
    return folder.Write("p.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "profile",
        "title": "t", "inputs": {"discharge": {"value": 10, "unit": "m3/s"},
        "bottomWidth": {"value": 5, "unit": "m"}, "longitudinalSlope": {"value": 0.001,
        "unit": "m/m"}, "manningsN": {"value": 0.013}, "reachLength": {"value": 500, "unit": "m"},
        "maximumStepLength": {"value": 50, "unit": "m"})" +
                                     inputs + R"(}, "options": {"section": "rectangle")" + options +
                                     R"(}, "resultUnits": "SI"})");
  }
};

TEST_F(ProfileBatch, SamplesSolve) {
  EXPECT_EQ(Run({Example("profile-weir-backwater-si.rvw"), Example("profile-spillway-jump-us.rvw"),
                 Example("profile-stream-sections-si.rvw")},
                BatchOutput::Reports),
            kBatchAllSolved);
  EXPECT_EQ(err.str(), "");
}

// The chute's jump in feet: 60 ft³/s per foot of width, g in ft/s².
TEST_F(ProfileBatch, SpillwayJumpBalancesMomentumInFeet) {
  const nlohmann::json j = Json(Example("profile-spillway-jump-us.rvw"));
  ASSERT_TRUE(j["status"]["ok"].get<bool>()) << j.dump();
  const auto& r = j["results"];
  EXPECT_EQ(r["profileType"]["value"], "S2, S1");
  EXPECT_EQ(r["jumpSequentDepth"]["unit"], "ft");
  const double y1 = r["jumpUpstreamDepth"]["value"], y2 = r["jumpSequentDepth"]["value"];
  const double g = 9.80665 / 0.3048, q = 60;
  EXPECT_TRUE(Near(q * q / (g * y1) + y1 * y1 / 2, q * q / (g * y2) + y2 * y2 / 2, 1e-9));
  const auto& rows = r["profile"]["value"];
  ASSERT_GT(rows.size(), 2u);
  // Ordered by station, the jump's two depths at one station.
  double station = -1;
  int atJump = 0;
  for (const auto& row : rows) {
    EXPECT_GE(row["station"]["value"].get<double>(), station);
    station = row["station"]["value"];
    if (station == r["jumpStation"]["value"].get<double>()) ++atJump;
  }
  EXPECT_EQ(atJump, 2);
}

// The table as CSV: a header with each column's unit, one line per point in the results' units.
TEST(ProfileCsv, HeaderWithUnitsThenOneLinePerPoint) {
  const WorksheetRead read = ReadWorksheetFile(Example("profile-spillway-jump-us.rvw"));
  ASSERT_TRUE(read.document);
  const SheetOutcome outcome = SolveWorksheet(ProfileKind(), *read.document);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  const std::string csv = ProfileTableCsv(outcome, *read.document);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "Station (ft),Bed Elevation (ft),Depth (ft),Water Surface (ft),Velocity (ft/s),"
            "Froude Number,Specific Energy (ft),Energy Grade (ft),Friction Slope (ft/ft),Regime");
  size_t lines = 0;
  for (size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, outcome.Find("profile")->records.size() + 1);
  EXPECT_NE(csv.find(",11,"), std::string::npos) << "the 11 ft tailwater depth in feet";
}

TEST_F(ProfileBatch, RefusalsNameTheField) {
  struct Case {
    const char* name;
    std::string inputs, options;
    const char* field;
  };
  const Case cases[] = {
      {"negative depth", R"(, "downstreamDepth": {"value": -1, "unit": "m"})",
       R"(, "downstreamControl": "depth")", "downstreamDepth"},
      {"subcritical depth upstream", R"(, "upstreamDepth": {"value": 2, "unit": "m"})",
       R"(, "upstreamControl": "depth", "downstreamControl": "none")", "upstreamDepth"},
      {"direct step without steps", "", R"(, "method": "directStep")", "numberOfSteps"},
      {"fractional steps", R"(, "numberOfSteps": {"value": 2.5})", R"(, "method": "directStep")",
       "numberOfSteps"},
      {"unknown control", "", R"(, "upstreamControl": "gate")", "upstreamControl"},
      {"sections out of order",
       R"(, "sections": [{"id": "a", "station": {"value": 100, "unit": "m"},
           "points": {"unit": "m", "station": [0, 1, 6, 7], "elevation": [3, 0, 0, 3]},
           "nZones": {"n": [0.03]}}, {"id": "b", "station": {"value": 50, "unit": "m"},
           "points": {"unit": "m", "station": [0, 1, 6, 7], "elevation": [3, 0, 0, 3]},
           "nZones": {"n": [0.03]}}])",
       R"(, "channel": "sections")", "sections"},
      {"a section without points", R"(, "sections": [{"station": {"value": 0, "unit": "m"}}])",
       R"(, "channel": "sections")", "sections"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const nlohmann::json j = Json(Sheet(c.inputs, c.options));
    EXPECT_FALSE(j["status"]["ok"].get<bool>());
    EXPECT_EQ(j["status"]["field"], c.field) << j["status"].dump();
  }
}

}  // namespace
}  // namespace rivulet
