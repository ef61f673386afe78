// List inputs (rows of things): each row read without trusting it, every refusal naming
// the list, the row and the member; the range rule per column; the report's table.
#include <gtest/gtest.h>

#include <string>

#include "core/printing/report.h"
#include "core/worksheets/document.h"
#include "core/worksheets/worksheet_report.h"
#include "support/near.h"
#include "worksheets/test_kind.h"

namespace rivulet {
namespace {

using testing::WeirRowKind;

Document RowsDocument(const std::string& weirs) {
  const std::string text =
      R"({"rivulet": "worksheet", "version": 1, "kind": "weirRow", "inputs": {)"
      R"("head": {"value": 0.25, "unit": "m"}, "weirs": )" +
      weirs + "}}";
  const WorksheetRead read = ParseWorksheet(text);
  EXPECT_TRUE(read.document) << read.message;
  return read.document ? *read.document : Document();
}

TEST(ListInput, RowsAreReadInTheirOwnUnitsWordsAndDefaults) {
  // 1.7 · 2 m · 0.25^1.5 = 0.425; 2 · 3.0 · (12 in = 0.3048 m) · 0.125 = 0.2286;
  // 1.7 · 1 m · 0.125 = 0.2125.
  const Document d = RowsDocument(
      R"([{"id": "main", "length": {"value": 2, "unit": "m"}},
          {"length": {"value": 12, "unit": "in"}, "coefficient": {"value": 3.0},
           "shape": "double"},
          {"id": "notch", "length": {"value": 100, "unit": "cm"}, "coefficient": null}])");
  const SheetOutcome o = SolveWorksheet(WeirRowKind(), d);
  ASSERT_TRUE(o.ok) << o.message;
  EXPECT_TRUE(testing::Near(*o.Find("discharge")->value, 0.425 + 0.2286 + 0.2125));
  ASSERT_EQ(o.Find("weirs")->records.size(), 3u);
  EXPECT_EQ(o.Find("weirs")->records[2][0].text, "notch");
}

TEST(ListInput, EachRefusalNamesTheListTheRowAndTheMember) {
  const struct {
    const char* weirs;
    const char* says;
  } cases[] = {
      {R"({"length": 2})", R"(Input "weirs" must be a list of rows)"},
      {R"([{"length": {"value": 2, "unit": "m"}}, 7])", R"(Input "weirs" row 2 must be an object)"},
      {R"([{"id": "a", "length": {"value": 2, "unit": "m"}}, {"id": "b"}])",
       R"(Input "weirs" row 2 ("b"), "length" is missing.)"},
      {R"([{"length": {"value": 2, "unit": "m3"}}])",
       R"(Input "weirs" row 1, "length" is in "m3", not a length unit)"},
      {R"([{"length": {"value": 2}}])", R"("length" needs a length unit (m, cm, mm, ft, in).)"},
      {R"([{"length": {"value": -2, "unit": "m"}}])",
       R"(Input "weirs" row 1, "length" must be greater than zero.)"},
      {R"([{"length": {"value": "2", "unit": "m"}}])", R"("length" must be a number.)"},
      {R"([{"length": {"value": 2, "unit": "m"}, "shape": "triple"}])",
       R"("shape" must be one of single, double.)"},
      {R"([{"length": {"value": 2e30, "unit": "m"}}])",
       "Weirs row 1, Length: 2E+30 m is out of range"},
      {R"([])", "Give at least one weir."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.weirs);
    const SheetOutcome o = SolveWorksheet(WeirRowKind(), RowsDocument(c.weirs));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.field, "weirs");
    EXPECT_NE(o.message.find(c.says), std::string::npos) << o.message;
  }
}

TEST(ListInput, NestedPointListsAreReadAndRefusedByPosition) {
  const nlohmann::json row = nlohmann::json::parse(
      R"({"id": "XS 1", "points": {"unit": "ft", "station": [0, 10], "elevation": [5, "x"]}})");
  const InputRow r("sections", 0, row);
  const std::vector<double> stations = r.Numbers("points", "station", Dimension::Length);
  ASSERT_EQ(stations.size(), 2u);
  EXPECT_TRUE(testing::Near(stations[1], 3.048));
  try {
    r.Numbers("points", "elevation", Dimension::Length);
    FAIL() << "a word among the elevations was taken";
  } catch (const WorksheetError& e) {
    EXPECT_EQ(e.Field(), "sections");
    EXPECT_STREQ(
        e.what(),
        R"(Input "sections" row 1 ("XS 1"), "points" "elevation" item 2 must be a number.)");
  }
}

std::string ReportText(const Document& d) {
  std::string text;
  for (const std::string& line :
       WorksheetReportLines(WeirRowKind(), d, SolveWorksheet(WeirRowKind(), d), ""))
    text += line + "\n";
  return text;
}

TEST(ListInput, TheReportListsTheRowsAsATableOrWrapsThem) {
  const std::string table = ReportText(RowsDocument(
      R"([{"id": "main", "length": {"value": 2, "unit": "m"}, "shape": "double"},
          {"length": {"value": 150, "unit": "cm"}}])"));
  EXPECT_NE(table.find("Weirs (2 rows)"), std::string::npos) << table;
  EXPECT_NE(table.find("Id    Length  Coefficient  Shape"), std::string::npos) << table;
  // Id 4 wide, Length 6, Coefficient 11 (empty here), two blanks after each.
  EXPECT_NE(table.find("main  2" + std::string(20, ' ') + "Double"), std::string::npos) << table;
  // A row in another unit than the column's first says its own.
  EXPECT_NE(table.find("150 cm"), std::string::npos) << table;
  // The result table, a row per weir in the result units: 2 · 1.7 · 2 · 0.125 = 0.85.
  EXPECT_NE(table.find("(X)  Weirs (2 rows)"), std::string::npos) << table;
  const std::string indent(17, ' ');
  EXPECT_NE(
      table.find(indent + "Id    Discharge\n" + indent + "      m³/s\n" + indent + "main  0.85\n"),
      std::string::npos)
      << table;

  // Too wide for the page: the columns that do not fit follow in a table of their own, the
  // first column repeated (30 + 2, Length 6 + 2, Coefficient 11 + 2 fill the 53 columns).
  const std::string id(30, 'i');
  const std::string split = ReportText(RowsDocument(
      R"([{"id": ")" + id + R"(", "length": {"value": 2, "unit": "m"}, "shape": "double"}])"));
  EXPECT_NE(split.find(indent + "Id" + std::string(30, ' ') + "Length  Coefficient\n"),
            std::string::npos)
      << split;
  EXPECT_NE(split.find(indent + "Id" + std::string(30, ' ') + "Shape\n"), std::string::npos)
      << split;
  EXPECT_NE(split.find(indent + id + "  Double\n"), std::string::npos) << split;

  const std::string wide(60, 'w');
  const std::string wrapped = ReportText(
      RowsDocument(R"([{"id": ")" + wide + R"(", "length": {"value": 2, "unit": "m"}}])"));
  EXPECT_NE(wrapped.find("1. Id"), std::string::npos) << wrapped;
  EXPECT_NE(wrapped.find("Length 2 m"), std::string::npos) << wrapped;
  for (size_t at = 0, end; (end = wrapped.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_LE(end - at, static_cast<size_t>(kReportMargin + kReportBodyWidth))
        << wrapped.substr(at, end - at);
}

}  // namespace
}  // namespace rivulet
