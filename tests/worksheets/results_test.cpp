#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <nlohmann/json.hpp>

#include "core/shell/utf8_text.h"
#include "core/worksheets/worksheet_json.h"
#include "core/worksheets/worksheet_report.h"
#include "test_kind.h"

namespace rivulet {
namespace {

using testing::kStripInputs;
using testing::StripKind;
using testing::StripText;

Document Strip(const std::string& inputs = kStripInputs, const std::string& solveFor = "discharge",
               const std::string& extra = "") {
  WorksheetRead read = ParseWorksheet(StripText(inputs, solveFor, extra));
  EXPECT_TRUE(read.document) << read.message;
  return read.document.value_or(Document{});
}

TEST(ShownNumber, RoundsToSignificantDigitsInDecimal) {
  const struct {
    double value;
    int digits;
    const char* text;
  } cases[] = {
      {9.0312, 3, "9.03"},
      {9.0312, 4, "9.031"},
      {0.000123456, 3, "0.000123"},
      {1234567.0, 4, "1235000"},
      {2.6, 1, "3"},
      {-0.0456789, 2, "-0.046"},
      {0.0, 4, "0"},
      {1e-7, 4, "1E-07"},
      {0.1 + 0.2, 15, "0.3"},
      {123.456, 0, "100"},
      {1e300, 4, "1E+300"},
      {1.0 / 3, 6, "0.333333"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownNumber(c.value, c.digits), c.text) << c.value;
  EXPECT_EQ(ShownNumber(std::nan(""), 4), kNotApplicable);
}

TEST(ShownNumber, IgnoresACommaDecimalLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_EQ(ShownNumber(9.0312, 3), "9.03");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(ShowResult, ConvertsToTheChosenUnit) {
  const NamedResult q = NamedResult::Number("discharge", "Discharge", Dimension::Discharge, 0.1);
  const ShownResult cfs = ShowResult(q, FindFileUnit(Dimension::Discharge, "ft3/s"));
  EXPECT_NEAR(*cfs.value, 3.531466672, 1e-9);
  EXPECT_EQ(cfs.text, "3.531");
  EXPECT_EQ(cfs.unitName, "ft3/s");
  EXPECT_EQ(cfs.unitSymbol, "ft³/s");
  const NamedResult slope = NamedResult::Number("s", "S", Dimension::Slope, 0.0);
  EXPECT_EQ(ShowResult(slope, FindFileUnit(Dimension::Slope, "1:x")).text, kNotApplicable);
  EXPECT_EQ(ShowResult(NamedResult::Flag("f", "F", true), nullptr).text, "Yes");
  const NamedResult depths =
      NamedResult::Series("criticalDepths", "Critical Depths", Dimension::Length, {0.3048, 0.6096});
  EXPECT_EQ(ShowResult(depths, FindFileUnit(Dimension::Length, "ft")).text, "1, 2");
}

TEST(SolveWorksheet, RefusalsAndFaultsBecomeFailedOutcomesWithoutResults) {
  const SheetOutcome solved = SolveWorksheet(StripKind(), Strip());
  EXPECT_TRUE(solved.ok);
  EXPECT_EQ(solved.message, kCalculationsComplete);
  // Q = 1.5 / 0.013 * (1.5 / 4)^(2/3) * sqrt(0.001) = 115.3846 * 0.520021 * 0.0316228.
  EXPECT_NEAR(solved.Find("discharge")->value.value(), 1.897443, 1e-6);

  const SheetOutcome refused =
      SolveWorksheet(StripKind(), Strip(R"({"width": {"value": -3, "unit": "m"}})"));
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, "Input \"width\" must be greater than zero.");
  EXPECT_EQ(refused.field, "width");
  EXPECT_TRUE(refused.results.empty());

  WorksheetKind throwing = StripKind();
  throwing.solve = [](const Document&) -> SheetOutcome { throw std::domain_error("sqrt(-1)"); };
  const SheetOutcome faulted = SolveWorksheet(throwing, Strip());
  EXPECT_FALSE(faulted.ok);
  EXPECT_EQ(faulted.message, "The worksheet could not be solved: sqrt(-1)");

  WorksheetKind sloppy = StripKind();
  sloppy.solve = [](const Document& d) {
    SheetOutcome o = testing::SolveStrip(d);
    o.ok = false;
    o.message.clear();
    return o;
  };
  const SheetOutcome failed = SolveWorksheet(sloppy, Strip());
  EXPECT_TRUE(failed.results.empty());
  EXPECT_FALSE(failed.message.empty());
}

TEST(WorksheetJson, CarriesInputsResultsInTheirUnitsAndWarnings) {
  const Document d = Strip(R"({"width": {"value": 1, "unit": "ft"}, "depth": {"value": 2,)"
                           R"( "unit": "ft"}, "slope": {"value": 200, "unit": "1:x"},)"
                           R"( "manningsN": {"value": 0.015}})",
                           "discharge", R"("resultUnitChoices": {"flowArea": "in2"},)");
  const SheetOutcome o = SolveWorksheet(StripKind(), d);
  const auto j = nlohmann::json::parse(WorksheetJsonLine("dir/a.rvw", d, o));
  EXPECT_EQ(j["file"], "dir/a.rvw");
  EXPECT_EQ(j["kind"], "strip");
  EXPECT_EQ(j["status"]["ok"], true);
  EXPECT_EQ(j["status"]["message"], "Calculations Complete!");
  EXPECT_EQ(j["inputs"]["slope"],
            nlohmann::json::parse(R"({"value": 200, "unit": "1:x", "text": "200"})"));
  EXPECT_EQ(j["inputs"]["manningsN"]["unit"], "");
  EXPECT_EQ(j["results"]["depth"]["unit"], "m");
  EXPECT_NEAR(j["results"]["depth"]["value"].get<double>(), 0.6096, 1e-12);
  EXPECT_EQ(j["results"]["flowArea"]["unit"], "in2");
  EXPECT_NEAR(j["results"]["flowArea"]["value"].get<double>(), 288, 1e-9);
  EXPECT_EQ(j["results"]["flowArea"]["text"], "288");
  EXPECT_TRUE(j["results"]["criticalDepth"]["value"].is_null());
  EXPECT_EQ(j["results"]["criticalDepth"]["text"], "N/A");
  EXPECT_EQ(j["results"]["deep"]["value"], true);
  EXPECT_EQ(j["warnings"], nlohmann::json::array({"The depth exceeds the width."}));
  EXPECT_EQ(WorksheetJsonLine("a", d, o).find('\n'), std::string::npos);

  NamedResult zones = NamedResult::Records(
      "zones", "Zone", {{NamedResult::Number("topWidth", "Top Width", Dimension::Length, 0.3048)}});
  const auto z = ResultJson(zones, d);
  EXPECT_EQ(z["value"][0]["topWidth"]["unit"], "m");
  EXPECT_DOUBLE_EQ(z["value"][0]["topWidth"]["value"].get<double>(), 0.3048);
}

TEST(WorksheetReport, FrameHoldsInputsResultsNotesAndStatusWithinTheWidth) {
  Document d = Strip();
  d.resultUnits = UnitSystem::US;
  SheetOutcome o = SolveWorksheet(StripKind(), d);
  for (int i = 0; i < 30; ++i) o.checkLines.push_back(std::string(i * 7, 'c') + " word");
  const std::vector<std::string> lines = WorksheetReportLines(StripKind(), d, o, "/tmp/a.rvw");
  auto has = [&](const std::string& text) {
    for (const std::string& l : lines)
      if (l == text) return true;
    return false;
  };
  for (const std::string& l : lines) EXPECT_LE(CharacterCount(l), 70u) << l;
  EXPECT_TRUE(has("          Strip Flow"));
  EXPECT_TRUE(has("          Test strip"));
  EXPECT_TRUE(has("               Width                   3                 m"));
  EXPECT_TRUE(has("               Slope                   0.1               %"));
  EXPECT_TRUE(has("               Manning's N             0.013"));
  EXPECT_TRUE(has("               Solve For               Discharge"));
  EXPECT_TRUE(has("               Lining                  Concrete"));
  EXPECT_TRUE(has("          (X)  Discharge               67.01             ft³/s"));
  EXPECT_TRUE(has("          (X)  Critical Depth          N/A               ft"));
  EXPECT_TRUE(has("          (X)  Deeper Than Wide        No"));
  EXPECT_TRUE(has("          Status      Calculations Complete!"));
  EXPECT_TRUE(has("          /tmp/a.rvw"));
  EXPECT_FALSE(has("               Discharge")) << "the unknown is listed as an input";

  const SheetOutcome failed = SheetOutcome::Failed(
      "Input \"width\" must be greater than zero, and this message is long enough to wrap.",
      "width");
  const std::vector<std::string> refused = WorksheetReportLines(StripKind(), d, failed, "");
  for (const std::string& l : refused) EXPECT_EQ(l.find("(X)  Discharge"), std::string::npos);
  EXPECT_NE(std::find(refused.begin(), refused.end(),
                      "          Status      Input \"width\" must be greater than zero, and"),
            refused.end());
}

}  // namespace
}  // namespace rivulet

namespace rivulet {
namespace {

TEST(WrapWords, CutsAtBlanksAndCutsOverlongWordsBetweenCharacters) {
  const struct {
    std::string text;
    size_t width;
    std::vector<std::string> lines;
  } cases[] = {
      {"", 10, {}},
      {"one two three", 7, {"one two", "three"}},
      {"  spaced   out  ", 20, {"spaced out"}},
      {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
      {"ab ³³³³³ c", 3, {"ab", "³³³", "³³", "c"}},
      {"a\tb\nc\r\nd", 3, {"a b", "c d"}},
      {"abc", 0, {"a", "b", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(WrapWords(c.text, c.width), c.lines) << c.text;
}

TEST(WrapWords, AWordOfMegabytesTakesLinearTime) {
  // Cutting such a word from its front each time took seconds for one megabyte and
  // quadratically more after; four take milliseconds in one pass.
  const std::string word(4 << 20, 'x');
  const auto start = std::chrono::steady_clock::now();
  const std::vector<std::string> lines = WrapWords("title " + word, 60);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(lines.size(), 1 + (word.size() + 59) / 60);
  EXPECT_EQ(lines[0], "title");
  EXPECT_EQ(lines.back(), std::string(word.size() % 60, 'x'));
  EXPECT_LT(took, std::chrono::seconds(3));
}

}  // namespace
}  // namespace rivulet
