#include "core/worksheets/records_csv.h"

#include <gtest/gtest.h>

#include "core/worksheets/list_csv.h"

namespace rivulet {
namespace {

TEST(RecordsCsv, WritesEachRecordInTheResultUnitsAndReadsBackAsRows) {
  Document d;
  d.resultUnits = UnitSystem::US;
  const NamedResult pipes = NamedResult::Records(
      "pipes", "Pipe",
      {{NamedResult::Text("id", "Pipe", "P,1"),
        NamedResult::Number("diameter", "Diameter", Dimension::Length, 0.3048),
        NamedResult::Number("junctionLoss", "Junction Loss", Dimension::Length, std::nullopt),
        NamedResult::Flag("surcharged", "Surcharged", true)},
       {NamedResult::Text("id", "Pipe", "=2"),
        NamedResult::Number("diameter", "Diameter", Dimension::Length, 0.6096),
        NamedResult::Number("junctionLoss", "Junction Loss", Dimension::Length, 0.03048),
        NamedResult::Flag("surcharged", "Surcharged", false)}});
  const std::string text = RecordsCsvText(pipes, d);
  EXPECT_EQ(text,
            "id,diameter [ft],junctionLoss [ft],surcharged\r\n"
            "\"P,1\",1,,Yes\r\n"
            "'=2,2,0.1,No\r\n");
  // What a spreadsheet saves of it reads back as list rows, units and all.
  const ListCsv back = ListRowsFromCsv(text, {"id"});
  ASSERT_EQ(back.error, "");
  EXPECT_EQ(back.rows[1]["id"], "=2");
  EXPECT_EQ(back.rows[1]["diameter"], (nlohmann::json{{"value", 2}, {"unit", "ft"}}));
  EXPECT_FALSE(back.rows[0].contains("junctionLoss"));
}

}  // namespace
}  // namespace rivulet
