#include "core/worksheets/list_csv.h"

#include <gtest/gtest.h>

namespace rivulet {
namespace {

using nlohmann::json;

const std::vector<std::string> kText{"id", "from", "to"};

TEST(ListCsv, ReadsRowsWithTheHeadersUnitsAndKeepsTextAsText) {
  const ListCsv read = ListRowsFromCsv(
      "\xEF\xBB\xBFid,from,to,length [ft],manningsN,kind\r\n"
      "12,A,B,250,0.013,inlet\r\n"
      "\"7\",B,OUT,\"40,5\",,\r\n"
      ",,,,,\r\n",
      kText);
  ASSERT_EQ(read.error, "");
  const json expected = json::parse(R"([
    {"id": "12", "from": "A", "to": "B", "length": {"value": 250, "unit": "ft"},
     "manningsN": {"value": 0.013}, "kind": "inlet"},
    {"id": "7", "from": "B", "to": "OUT", "length": {"value": 40.5, "unit": "ft"}}])");
  EXPECT_EQ(read.rows, expected);
}

TEST(ListCsv, RefusesWhatCannotBeRowsNamingTheLine) {
  struct Row {
    const char* text;
    const char* error;
  };
  for (const Row& row :
       {Row{"", "The text has no header line."},
        Row{"id,,to\n1,2,3\n", "Line 1 has a column without a name."},
        Row{"id,to\nA,B\nC,D,E\n", "Line 3 has more cells than the header names."}}) {
    const ListCsv read = ListRowsFromCsv(row.text, kText);
    EXPECT_EQ(read.error, row.error) << row.text;
    EXPECT_TRUE(read.rows.empty()) << row.text;
  }
}

}  // namespace
}  // namespace rivulet
