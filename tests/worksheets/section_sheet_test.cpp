// The section worksheet: documents in any units solve as the calculation does in SI, the
// results carry their names, refusals name the input, and the batch reports and --json
// take section files.
#include "core/worksheets/section_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "example_report.h"
#include "support/example_files.h"
#include "test_kind.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string SectionText(const std::string& inputs, const std::string& solveFor,
                        const std::string& options = "{}") {
  return R"({"rivulet": "worksheet", "version": 1, "kind": "section", "title": "t", "inputs": )" +
         inputs + R"(, "solveFor": ")" + solveFor + R"(", "options": )" + options +
         R"(, "resultUnits": "SI"})";
}

// Discharge (m³/s) with the water surface at elevation w.
double SolveSectionAt(SectionInputs in, double w) {
  in.solveFor = SectionUnknown::Discharge;
  in.waterSurfaceElevation = w;
  const SectionResults r = SolveSection(in);
  EXPECT_TRUE(r.ok) << r.message;
  return r.discharge;
}

const char kCompound[] =
    R"({"points": {"unit": "m", "station": [0, 0, 10, 10, 14, 14, 24, 24],)"
    R"( "elevation": [3, 1, 1, 0, 0, 1, 1, 3]},)"
    R"( "nZones": {"unit": "m", "breaks": [10, 14], "n": [0.05, 0.03, 0.05]},)"
    R"( "longitudinalSlope": {"value": 0.1, "unit": "%"}, "discharge": {"value": 10, "unit": "m3/s"}})";

TEST(SectionSheet, FeetSolveAsMetres) {
  const WorksheetRead read = ReadWorksheetFile(Example("ditch-survey.rvw"));
  ASSERT_TRUE(read.document) << read.message;
  const SheetOutcome o = SolveWorksheet(IrregularSectionKind(), *read.document);
  ASSERT_TRUE(o.ok) << o.message;

  SectionInputs in;
  for (double s : {0, 8, 14, 18, 20, 22, 24, 28, 36, 44}) in.section.station.push_back(s * 0.3048);
  for (double z : {104.0, 102.1, 101.0, 99.2, 98.6, 98.5, 99.3, 101.2, 102.0, 103.5})
    in.section.elevation.push_back(z * 0.3048);
  in.section.breaks = {16 * 0.3048, 26 * 0.3048};
  in.section.n = {0.045, 0.032, 0.05};
  in.slope = 0.004;
  in.discharge = 120 * 0.3048 * 0.3048 * 0.3048;
  const SectionResults direct = SolveSection(in);
  ASSERT_TRUE(direct.ok);
  EXPECT_NEAR(direct.depth, *o.Find("depth")->value, 1e-12);
  EXPECT_NEAR(direct.flowArea, *o.Find("flowArea")->value, 1e-12);
  EXPECT_NEAR(direct.energyCoefficient, *o.Find("energyCoefficient")->value, 1e-12);

  std::set<std::string> names;
  for (const NamedResult& r : o.results) names.insert(r.name);
  for (const char* name :
       {"waterSurfaceElevation", "depth", "discharge", "flowArea", "wettedPerimeter",
        "hydraulicRadius", "topWidth", "velocity", "compositeN", "conveyance", "energyCoefficient",
        "froudeNumber", "criticalDepth", "criticalWaterSurfaceElevation", "specificEnergy",
        "averageShear", "overtopped", "zones"})
    EXPECT_TRUE(names.count(name)) << name;
  EXPECT_FALSE(names.count("criticalDepths"));  // only when there are several
  ASSERT_EQ(3u, o.Find("zones")->records.size());
}

TEST(SectionSheet, SeveralCriticalDepthsAreListed) {
  const WorksheetRead read =
      ParseWorksheet(SectionText(kCompound, "depth", R"({"compositeMethod": "horton"})"));
  ASSERT_TRUE(read.document) << read.message;
  const SheetOutcome o = SolveWorksheet(IrregularSectionKind(), *read.document);
  ASSERT_TRUE(o.ok) << o.message;
  const NamedResult* several = o.Find("criticalDepths");
  ASSERT_NE(nullptr, several);
  ASSERT_EQ(2u, several->series.size());
  EXPECT_EQ(several->series[1], *o.Find("criticalDepth")->value);
  EXPECT_FALSE(o.warnings.empty());
}

TEST(SectionSheet, RefusalsNameTheInput) {
  const std::string points =
      R"("points": {"unit": "m", "station": [0, 1, 2], "elevation": [2, 0, 1]})";
  const struct Row {
    const char* name;
    std::string inputs, solveFor, options;
    const char* field;
    const char* message;
  } rows[] = {
      {"no points", R"({"nZones": {"n": [0.03]}, "discharge": {"value": 1, "unit": "m3/s"}})",
       "depth", "{}", "points", "points"},
      {"stations in litres",
       R"({"points": {"unit": "L/s", "station": [0, 1, 2], "elevation": [2, 0, 1]}, "nZones": {"n": [0.03]}})",
       "depth", "{}", "points", "points"},
      {"n of zero", "{" + points + R"(, "nZones": {"n": [0]}})", "depth", "{}", "nZones", "nZones"},
      {"n and breaks disagree",
       "{" + points +
           R"(, "nZones": {"unit": "m", "breaks": [0.5], "n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "discharge": {"value": 1, "unit": "m3/s"}})",
       "depth", "{}", "nZones", "2 zones"},
      {"unknown method",
       "{" + points +
           R"(, "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "discharge": {"value": 1, "unit": "m3/s"}})",
       "depth", R"({"compositeMethod": "einstein"})", "compositeMethod", "compositeMethod"},
      {"walls not a flag",
       "{" + points +
           R"(, "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "discharge": {"value": 1, "unit": "m3/s"}})",
       "depth", R"({"extendWalls": "yes"})", "extendWalls", "true or false"},
      {"no water surface",
       "{" + points +
           R"(, "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"}})",
       "discharge", "{}", "waterSurfaceElevation", "depth"},
      {"overtopped",
       "{" + points +
           R"(, "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"}, "waterSurfaceElevation": {"value": 1.5, "unit": "m"}})",
       "discharge", "{}", "", "overtopped on the right"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const WorksheetRead read = ParseWorksheet(SectionText(row.inputs, row.solveFor, row.options));
    ASSERT_TRUE(read.document) << read.message;
    const SheetOutcome o = SolveWorksheet(IrregularSectionKind(), *read.document);
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.results.empty());
    EXPECT_EQ(row.field, o.field);
    EXPECT_NE(std::string::npos, o.message.find(row.message)) << o.message;
  }
}

TEST(SectionSheet, BankFullCapacityIsStatedInTheResultUnits) {
  // A V ditch 1 m deep; 50 m³/s is far beyond what it carries.
  const std::string inputs =
      R"({"points": {"unit": "m", "station": [0, 1, 2], "elevation": [1, 0, 1]},)"
      R"( "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"},)"
      R"( "discharge": {"value": 50, "unit": "m3/s"}})";
  SectionInputs in;
  in.section.station = {0, 1, 2};
  in.section.elevation = {1, 0, 1};
  in.section.n = {0.03};
  in.slope = 0.01;
  const double full = SolveSectionAt(in, 1.0);
  const struct Row {
    const char* name;
    const char* units;
    std::string choices;
    double factor;  // m³/s per shown unit
    const char* symbol;
  } rows[] = {
      {"SI", "SI", "", 1, " m³/s"},
      {"US", "US", "", 0.3048 * 0.3048 * 0.3048, " ft³/s"},
      {"chosen unit", "US", R"(, "resultUnitChoices": {"bankFullDischarge": "L/s"})", 1e-3, " L/s"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string text = SectionText(inputs, "depth");
    text.replace(text.find(R"("resultUnits": "SI")"), std::string::npos,
                 std::string(R"("resultUnits": ")") + row.units + "\"" + row.choices + "}");
    const WorksheetRead read = ParseWorksheet(text);
    ASSERT_TRUE(read.document) << read.message;
    const SheetOutcome o = SolveWorksheet(IrregularSectionKind(), *read.document);
    EXPECT_FALSE(o.ok);
    const std::string expected = "bank-full capacity of " + ShownNumber(full / row.factor, 4) +
                                 row.symbol + ": the section is overtopped on both sides.";
    EXPECT_NE(std::string::npos, o.message.find(expected)) << o.message << "\n" << expected;
  }
}

TEST(SectionSheet, BatchReportsAndJsonTakeSectionFiles) {
  testing::TempFolder folder;
  const StartupValues startup =
      StartupValues::ForFolder(folder.path.string(), (folder.path / "config").string());
  const std::string overtopped = folder.Write(
      "over.rvw",
      SectionText(
          R"({"points": {"unit": "m", "station": [0, 1, 2], "elevation": [2, 0, 1]},)"
          R"( "nZones": {"n": [0.03]}, "longitudinalSlope": {"value": 0.01, "unit": "m/m"},)"
          R"( "discharge": {"value": 50, "unit": "m3/s"}})",
          "depth"));
  std::ostringstream out, err;
  const std::vector<std::string> files{Example("ditch-survey.rvw"),
                                       Example("compound-channel.rvw")};
  EXPECT_EQ(kBatchAllSolved,
            RunMixedBatch(files, startup, BatchOutput::Json, BuiltInKinds(), out, err));
  EXPECT_EQ("", err.str());
  std::istringstream lines(out.str());
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const nlohmann::json j = nlohmann::json::parse(line);
    EXPECT_EQ("section", j["kind"]);
    EXPECT_TRUE(j["status"]["ok"].get<bool>());
    EXPECT_TRUE(j["results"]["depth"]["value"].is_number());
    EXPECT_EQ(3u, j["results"]["zones"]["value"].size());
  }
  EXPECT_EQ(2, count);
  EXPECT_EQ(kBatchAllSolved,
            RunMixedBatch({files[0]}, startup, BatchOutput::Json, BuiltInKinds(), out, err));
  const double usDepth = nlohmann::json::parse(
      out.str().substr(out.str().rfind("{\"file\"")))["results"]["depth"]["value"];
  EXPECT_NEAR(2.979, usDepth, 5e-4);  // in feet, as the file asks

  out.str("");
  err.str("");
  EXPECT_EQ(kBatchSomeUnsolved, RunMixedBatch({files[0], overtopped}, startup, BatchOutput::Reports,
                                              BuiltInKinds(), out, err));
  EXPECT_NE(std::string::npos, out.str().find("Irregular Section"));
  EXPECT_NE(std::string::npos, out.str().find("Zone 3"));
  EXPECT_NE(std::string::npos,
            err.str().find("Irregular Section: The discharge exceeds the bank-full"))
      << err.str();
}

// The worksheet's own check of the section's answer: Q = K S^(1/2) at the water surface
// found and Q = V A; a forged figure is refused, the true answer passes.
TEST(SectionSheet, AnswerCheckRefusesResultsOffManningsEquation) {
  const WorksheetRead read = ParseWorksheet(SectionText(kCompound, "depth"));
  ASSERT_TRUE(read.document) << read.message;
  const SectionInputs in = SectionInputsFrom(*read.document);
  const SectionResults good = SolveSection(in);
  ASSERT_TRUE(good.ok) << good.message;
  EXPECT_EQ(SectionAnswerProblem(in, good), "");
  const struct {
    const char* what;
    void (*forge)(SectionResults&);
  } rows[] = {
      {"surface too high", [](SectionResults& r) { r.waterSurfaceElevation += 0.01; }},
      {"slope off", [](SectionResults& r) { r.slope *= 1.01; }},
      {"velocity not Q/A", [](SectionResults& r) { r.velocity *= 1.01; }},
      {"water vanished", [](SectionResults& r) { r.depth = 1e-320; }},
      {"overflowed", [](SectionResults& r) { r.conveyance = HUGE_VAL; }},
  };
  for (const auto& row : rows) {
    SectionResults forged = good;
    row.forge(forged);
    EXPECT_NE(SectionAnswerProblem(in, forged), "") << row.what;
  }
}

}  // namespace
}  // namespace rivulet

namespace rivulet {
namespace {

TEST(SectionSheet, ReportListsEveryPointInTheFilesUnit) {
  const std::vector<std::string> lines = ExampleReportLines("ditch-survey.rvw");
  const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("Station (ft)") != std::string::npos;
  });
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*at, "               Point   Station (ft)        Elevation (ft)");
  // The file's ten points, numbered from 1, as the file gives them.
  ASSERT_GT(lines.end() - at, 10);
  EXPECT_EQ(at[1], "               1       0                   104");
  EXPECT_EQ(at[5], "               5       20                  98.6");
  EXPECT_EQ(at[10], "               10      44                  103.5");
  EXPECT_EQ(at[11].find("Solve For"), 15u);
}

}  // namespace
}  // namespace rivulet
