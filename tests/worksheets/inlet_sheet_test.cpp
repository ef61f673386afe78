// The inlet worksheet through the batch mode and its file: the samples solve with their
// units, a saved worksheet reads back the same, and refused input names its field.
#include "core/worksheets/inlet_sheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "core/worksheets/worksheet_model.h"
#include "core/worksheets/worksheet_report.h"
#include "example_report.h"
#include "support/example_files.h"
#include "support/worksheet_batch.h"
#include "test_kind.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

const char* const kSamples[] = {"inlet-grate-on-grade-us.rvw", "inlet-curb-opening-sag-si.rvw",
                                "inlet-sweeper-composite-si.rvw"};

using InletBatch = testing::WorksheetBatchTest;

TEST_F(InletBatch, SampleWorksheetsSolve) {
  std::vector<std::string> files;
  for (const char* s : kSamples) files.push_back(Example(s));
  EXPECT_EQ(Run(files, BatchOutput::Reports), kBatchAllSolved);
  EXPECT_EQ(err.str(), "");
  for (const char* s : kSamples) {
    const nlohmann::json j = Json(Example(s));
    const auto& r = j["results"];
    SCOPED_TRACE(s);
    const double q = r["gutterDischarge"]["value"].get<double>();
    EXPECT_NEAR(r["interceptedDischarge"]["value"].get<double>() +
                    r["bypassDischarge"]["value"].get<double>(),
                q, 1e-12 * q);
    const double e = r["efficiency"]["value"].get<double>();
    EXPECT_GT(e, 0);
    EXPECT_LE(e, 1);
  }
}

// The US sample worked in feet by the manual's equations, independently of the code.
TEST_F(InletBatch, GrateSampleMatchesTheHandComputationInFeet) {
  const nlohmann::json j = Json(Example("inlet-grate-on-grade-us.rvw"));
  ASSERT_TRUE(j["status"]["ok"].get<bool>()) << j.dump();
  const auto& r = j["results"];
  const double t = std::pow(3.0 * 0.016 / (0.56 * std::pow(0.025, 5.0 / 3) * 0.1), 0.375);
  const double v = 3.0 / (0.5 * 0.025 * t * t);
  const double eo = 1 - std::pow(1 - 2 / t, 8.0 / 3);
  const double vo = 2.22 + 4.03 * 2 - 0.65 * 4 + 0.06 * 8;
  const double rs = 1 / (1 + 0.15 * std::pow(v, 1.8) / (0.025 * std::pow(2.0, 2.3)));
  const double e = (v <= vo ? 1.0 : 1 - 0.09 * (v - vo)) * eo + rs * (1 - eo);
  EXPECT_EQ(r["spread"]["unit"], "ft");
  EXPECT_NEAR(r["spread"]["value"].get<double>(), t, 1e-9 * t);
  EXPECT_EQ(r["splashOverVelocity"]["unit"], "ft/s");
  EXPECT_NEAR(r["splashOverVelocity"]["value"].get<double>(), vo, 1e-9);
  EXPECT_NEAR(r["efficiency"]["value"].get<double>(), e, 1e-9);
  EXPECT_EQ(r["interceptedDischarge"]["unit"], "ft3/s");
  EXPECT_NEAR(r["interceptedDischarge"]["value"].get<double>(), 3 * e, 1e-9);
  EXPECT_TRUE(r["lengthForTotalInterception"]["value"].is_null());
  EXPECT_FALSE(r.contains("pondingDepth"));
}

TEST_F(InletBatch, SagSampleGivesPondingDepthRegimeAndSpread) {
  const nlohmann::json j = Json(Example("inlet-curb-opening-sag-si.rvw"));
  ASSERT_TRUE(j["status"]["ok"].get<bool>()) << j.dump();
  const auto& r = j["results"];
  const std::string regime = r["weirOrOrifice"]["value"].get<std::string>();
  EXPECT_TRUE(regime == "weir" || regime == "orifice" || regime == "transition") << regime;
  EXPECT_EQ(r["weirOrOrifice"]["text"], regime);
  EXPECT_EQ(r["pondingDepth"]["unit"], "m");
  const double di = r["pondingDepth"]["value"].get<double>();
  EXPECT_NEAR(r["spreadAtPonding"]["value"].get<double>(), (di - 0.025) / 0.02, 1e-9);
  EXPECT_GE(r["capacity"]["value"].get<double>(), 0.12 * (1 - 1e-9));
  EXPECT_DOUBLE_EQ(r["efficiency"]["value"].get<double>(), 1.0);
}

// The capacity of a sag inlet at a ponding depth needs no approach flow; given one larger
// than the capacity, a warning says the water ponds deeper.
TEST_F(InletBatch, SagCapacityWithAndWithoutAnApproachFlow) {
  const std::string inputs = R"("longitudinalSlope": {"value": 0.5, "unit": "%"},
      "manningsN": {"value": 0.016}, "crossSlope": {"value": 2, "unit": "%"},
      "grateLength": {"value": 0.9, "unit": "m"}, "grateWidth": {"value": 0.6, "unit": "m"},
      "pondingDepth": {"value": 60, "unit": "mm"})";
  for (const char* discharge : {"", R"(, "discharge": {"value": 500, "unit": "L/s"})"}) {
    SCOPED_TRACE(discharge);
    const std::string file = folder.Write(
        "sag.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "inlet", "title": "t",
        "inputs": {)" + inputs +
                       discharge +
                       R"(}, "solveFor": "capacity", "options": {"location": "sag",
        "inletType": "grate", "grateType": "reticuline"}, "resultUnits": "SI"})");
    const nlohmann::json j = Json(file);
    ASSERT_TRUE(j["status"]["ok"].get<bool>()) << j.dump();
    const auto& r = j["results"];
    // Weir over L + 2W at the average depth 0.06 - 0.3 x 0.02, or the orifice, whichever
    // is lower.
    const double d = 0.06 - 0.3 * 0.02;
    const double weir = 0.37 * std::sqrt(2 * 9.81) * (0.9 + 1.2) * std::pow(d, 1.5);
    const double orifice = 0.67 * 0.9 * 0.6 * 0.8 * std::sqrt(2 * 9.81 * d);
    EXPECT_NEAR(r["capacity"]["value"].get<double>(), std::min(weir, orifice), 1e-12);
    EXPECT_EQ(r["weirOrOrifice"]["value"], weir < orifice ? "weir" : "orifice");
    EXPECT_NEAR(r["spreadAtPonding"]["value"].get<double>(), 3.0, 1e-12);
    const bool flow = *discharge != 0;
    EXPECT_EQ(r["gutterDischarge"]["value"].is_null(), !flow);
    EXPECT_EQ(r["interceptedDischarge"]["value"].is_null(), !flow);
    EXPECT_EQ(j["warnings"].size(), flow ? 1u : 0u) << j["warnings"].dump();
  }
}

TEST_F(InletBatch, SavedWorksheetReadsBackTheSame) {
  for (const char* s : kSamples) {
    SCOPED_TRACE(s);
    const WorksheetRead read = ReadWorksheetFile(Example(s));
    ASSERT_TRUE(read.document) << read.message;
    WorksheetModel model(InletKind());
    ASSERT_EQ(model.Load(*read.document, Example(s)), "");
    const std::string saved = (folder.path / "copy.rvw").string();
    ASSERT_TRUE(static_cast<bool>(SaveWorksheetFile(model.ToDocument(), saved)));
    const WorksheetRead back = ReadWorksheetFile(saved);
    ASSERT_TRUE(back.document) << back.message;
    const SheetOutcome a = SolveWorksheet(InletKind(), *read.document);
    const SheetOutcome b = SolveWorksheet(InletKind(), *back.document);
    ASSERT_TRUE(b.ok) << b.message;
    ASSERT_EQ(a.results.size(), b.results.size());
    for (size_t i = 0; i < a.results.size(); ++i) {
      EXPECT_EQ(a.results[i].name, b.results[i].name);
      EXPECT_EQ(a.results[i].value, b.results[i].value) << a.results[i].name;
      EXPECT_EQ(a.results[i].text, b.results[i].text);
    }
  }
}

TEST_F(InletBatch, RefusedInputsNameTheirField) {
  const std::string base = R"("discharge": {"value": 3, "unit": "ft3/s"},
      "longitudinalSlope": {"value": 1, "unit": "%"}, "manningsN": {"value": 0.016},
      "crossSlope": {"value": 2.5, "unit": "%"}, "openingHeight": {"value": 5, "unit": "in"})";
  const struct {
    const char* name;
    std::string inputs, options, field;
  } rows[] = {
      {"zero grate length",
       R"("grateLength": {"value": 0, "unit": "ft"}, "grateWidth": {"value": 2, "unit": "ft"})",
       R"("inletType": "grate")", "grateLength"},
      {"clogging of 1", R"("openingLength": {"value": 10, "unit": "ft"}, "clogging": {"value": 1})",
       R"("inletType": "curb-opening")", "clogging"},
      {"negative opening", R"("openingLength": {"value": -3, "unit": "ft"})",
       R"("inletType": "slotted")", "openingLength"},
      {"unknown grate type",
       R"("grateLength": {"value": 2, "unit": "ft"}, "grateWidth": {"value": 2, "unit": "ft"})",
       R"("inletType": "grate", "grateType": "P-2")", "grateType"},
      {"V-shaped gutter", R"("openingLength": {"value": 10, "unit": "ft"})",
       R"("inletType": "curb-opening", "gutterType": "vShaped")", "gutterType"},
      {"sag without opening length", "", R"("inletType": "curb-opening", "location": "sag")",
       "openingLength"},
      {"length in a unit of area", R"("openingLength": {"value": 10, "unit": "ft2"})",
       R"("inletType": "curb-opening")", "openingLength"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string file = folder.Write(
        "bad.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "inlet", "title": "t",
        "inputs": {)" + base +
                       (row.inputs.empty() ? "" : ", ") + row.inputs + R"(}, "options": {)" +
                       row.options + R"(}, "resultUnits": "US"})");
    EXPECT_EQ(Run({file}, BatchOutput::Reports), kBatchSomeUnsolved);
    const nlohmann::json j = Json(file);
    EXPECT_FALSE(j["status"]["ok"].get<bool>());
    EXPECT_EQ(j["status"]["field"], row.field) << j["status"]["message"];
    EXPECT_NE(j["status"]["message"].get<std::string>().find(row.field), std::string::npos);
    EXPECT_TRUE(j["results"].empty());
  }
}

TEST_F(InletBatch, ReportStatesMethodConstantsAndChecks) {
  const std::string text = ReportWords(ExampleReportLines("inlet-grate-on-grade-us.rvw"));
  for (const char* expected :
       {"Rf = 1 - Ku (V - Vo) held within 0 to 1 (Ku = 0.09)", "curve of the P-1-7/8 grate",
        "Spread", "against the allowable spread 8 ft", "Intercepted Flow"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

// A report shows a reviewer only the choices that bear on the inlet computed: no grate
// type for a curb opening, no throat on a grade, no sag unknown on a grade.
TEST_F(InletBatch, ReportLeavesOutChoicesThatDoNotApply) {
  const struct {
    const char* sample;
    std::vector<const char*> shown, left;
  } rows[] = {
      {"inlet-curb-opening-sag-si.rvw", {"Throat ", "Solve For ", "Inlet "}, {"Grate "}},
      {"inlet-grate-on-grade-us.rvw", {"Grate ", "Location "}, {"Throat ", "Solve For "}},
      {"inlet-sweeper-composite-si.rvw", {"Grate ", "Gutter "}, {"Throat ", "Solve For "}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sample);
    std::string inputs;
    bool inInputs = false;
    for (const std::string& line : ExampleReportLines(row.sample)) {
      if (line.find("Results") != std::string::npos) break;
      if (line.find("Inputs") != std::string::npos) inInputs = true;
      if (inInputs) inputs += line.substr(line.find_first_not_of(' ')) + "\n";
    }
    for (const char* label : row.shown)
      EXPECT_NE(inputs.find(std::string("\n") + label), std::string::npos) << label << inputs;
    for (const char* label : row.left)
      EXPECT_EQ(inputs.find(std::string("\n") + label), std::string::npos) << label << inputs;
  }
}

TEST(InletInputUse, OnlyTheChosenInletsInputsAreRead) {
  const struct {
    InletChoices choices;
    std::vector<const char*> used, unused;
  } rows[] = {
      {{"grade", "grate", "uniform", "horizontal", "depth"},
       {"grateLength", "grateWidth", "splashOverVelocity", "discharge"},
       {"openingLength", "openingHeight", "pondingDepth", "gutterWidth", "openingRatio"}},
      {{"sag", "curb-opening", "composite", "inclined", "capacity"},
       {"openingLength", "openingHeight", "throatAngle", "pondingDepth", "gutterWidth"},
       {"grateLength", "splashOverVelocity", "slotWidth"}},
      {{"sag", "combination", "uniform", "vertical", "depth"},
       {"grateLength", "openingLength", "openingHeight", "openingRatio"},
       {"throatAngle", "pondingDepth", "depression"}},
  };
  for (const auto& row : rows) {
    for (const char* name : row.used)
      EXPECT_NE(InletInputUseFor(name, row.choices), InletInputUse::Unused) << name;
    for (const char* name : row.unused)
      EXPECT_EQ(InletInputUseFor(name, row.choices), InletInputUse::Unused) << name;
  }
  EXPECT_EQ(InletInputUseFor("discharge", rows[1].choices), InletInputUse::Optional);
}

// In a sag the weir and orifice need the flow, not the approach gutter's slope and n: a
// worksheet without them solves, and its report lists neither.
TEST(InletSag, SlopeAndNAreNeededOnlyForTheApproachGutter) {
  const struct {
    const char* gradeInputs;
    bool listed;
  } rows[] = {
      {"", false},
      {R"(, "longitudinalSlope": {"value": 0.5, "unit": "%"}, "manningsN": {"value": 0.016})",
       true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.gradeInputs);
    const WorksheetRead read = ParseWorksheet(
        std::string(R"({"rivulet": "worksheet", "version": 1, "kind": "inlet", "inputs": {
        "discharge": {"value": 0.1, "unit": "m3/s"}, "crossSlope": {"value": 2, "unit": "%"},
        "openingLength": {"value": 1.5, "unit": "m"}, "openingHeight": {"value": 0.125,
        "unit": "m"})") +
        row.gradeInputs + R"(}, "solveFor": "depth", "options": {"location": "sag",
        "inletType": "curb-opening"}})");
    ASSERT_TRUE(read.document) << read.message;
    const SheetOutcome o = SolveWorksheet(InletKind(), *read.document);
    ASSERT_TRUE(o.ok) << o.message;
    // The sag's answer is the same either way: Q = 0.37 (2g)^0.5 L d^1.5 at d below h.
    const double d = std::pow(0.1 / (0.37 * std::sqrt(2 * 9.81) * 1.5), 2.0 / 3);
    EXPECT_NEAR(o.Find("pondingDepth")->value.value(), d, 1e-9);
    EXPECT_EQ(o.Find("spread")->value.has_value(), row.listed);
    const std::string report =
        ReportWords(WorksheetReportLines(InletKind(), *read.document, o, ""));
    EXPECT_EQ(report.find("Longitudinal Slope") != std::string::npos, row.listed) << report;
    EXPECT_EQ(report.find("Manning's n") != std::string::npos, row.listed) << report;
  }
}

}  // namespace
}  // namespace rivulet
