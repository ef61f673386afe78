// Levels of an irregular section read to the survey in every text: the results as shown,
// the --json text and the report, in metres and in feet.
#include <gtest/gtest.h>

#include <sstream>

#include "core/worksheets/section_sheet.h"
#include "core/worksheets/worksheet_json.h"
#include "core/worksheets/worksheet_report.h"

namespace rivulet {
namespace {

Document HighChannel(const char* resultUnits, const char* zones) {
  const WorksheetRead read = ParseWorksheet(
      std::string(R"({"rivulet": "worksheet", "version": 1, "kind": "section", "title": "t",)") +
      R"("inputs": {"points": {"unit": "m", "station": [0, 2, 18, 20],)" +
      R"( "elevation": [1253, 1250, 1250, 1253]},)" + R"( "nZones": )" + zones + "," +
      R"( "longitudinalSlope": {"value": 0.2, "unit": "%"},)" +
      R"( "waterSurfaceElevation": {"value": 1251.9, "unit": "m"}},)" +
      R"("solveFor": "discharge", "options": {}, "resultUnits": ")" + resultUnits + R"("})");
  EXPECT_TRUE(read.document) << read.message;
  return read.document ? *read.document : Document{};
}

TEST(SectionLevels, ShownToTheSurveyNotToFourFigures) {
  const struct {
    const char* units;
    const char* zones;
    const char* waterSurface;
    const char* station;  // of the break, in the report's method lines
  } rows[] = {
      {"SI", R"({"unit": "m", "breaks": [17.25], "n": [0.035, 0.04]})", "1251.900",
       "station 17.250 m"},
      {"US", R"({"unit": "ft", "breaks": [56.6], "n": [0.035, 0.04]})", "4107.28",
       "station 56.60 ft"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.units);
    const Document d = HighChannel(row.units, row.zones);
    const SheetOutcome o = SolveWorksheet(IrregularSectionKind(), d);
    ASSERT_TRUE(o.ok) << o.message;
    const NamedResult* w = o.Find("waterSurfaceElevation");
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(row.waterSurface, ShowResult(*w, d.ResultUnit(w->name, w->dimension)).text);
    const auto json = ResultJson(*w, d);
    EXPECT_EQ(row.waterSurface, json["text"]);
    EXPECT_DOUBLE_EQ(d.resultUnits == UnitSystem::SI ? 1251.9 : 1251.9 / 0.3048,
                     json["value"].get<double>());  // the number keeps every digit
    // The critical level is a level too: as many decimals as the water surface.
    const NamedResult* c = o.Find("criticalWaterSurfaceElevation");
    ASSERT_NE(nullptr, c);
    const std::string critical = ShowResult(*c, d.ResultUnit(c->name, c->dimension)).text;
    EXPECT_EQ(std::string(row.waterSurface).size() - std::string(row.waterSurface).find('.'),
              critical.size() - critical.find('.'))
        << critical;
    // Words joined by one blank: the report wraps its method lines anywhere.
    std::string report, word;
    for (const std::string& line : WorksheetReportLines(IrregularSectionKind(), d, o, ""))
      for (std::istringstream words(line); words >> word;) report += word + " ";
    EXPECT_NE(std::string::npos, report.find(row.waterSurface)) << report;
    EXPECT_NE(std::string::npos, report.find(row.station)) << report;
  }
}

}  // namespace
}  // namespace rivulet
