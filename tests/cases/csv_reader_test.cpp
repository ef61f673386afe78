// The CSV reader on the files spreadsheets and scripts really write, and the writer's
// quoting read back by the reader.
#include "core/cases/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cases_fixture.h"

namespace rivulet {
namespace {

using Table = std::vector<std::vector<std::string>>;

struct OddCsv {
  const char* name;
  std::string text;
  Table expected;
};

class OddCsvTest : public ::testing::TestWithParam<OddCsv> {};

TEST_P(OddCsvTest, ReadsRecordsWhole) {
  const OddCsv& c = GetParam();
  EXPECT_EQ(cases_test::Records(c.text), c.expected);
  // Fed a byte at a time, as a pipe may deliver it, the records are the same.
  Table bytewise;
  CsvReader reader([&](std::vector<std::string>& r) { bytewise.push_back(r); });
  for (char ch : c.text) ASSERT_TRUE(reader.Feed(std::string_view(&ch, 1)));
  ASSERT_TRUE(reader.Finish());
  EXPECT_EQ(bytewise, c.expected);
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Files, OddCsvTest,
    ::testing::Values(
        OddCsv{"Lf", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        OddCsv{"CrLf", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
        OddCsv{"NoTrailingNewline", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}},
        OddCsv{"ByteOrderMark", kBom + "name,x\n1,2\n", {{"name", "x"}, {"1", "2"}}},
        OddCsv{"OnlyTheMark", kBom, {}},
        OddCsv{"MarkLookalikeKept",
               "\xEF"
               "a,b\n",
               {{"\xEF"
                 "a",
                 "b"}}},
        OddCsv{"EmptyLinesSkipped",
               "a,b\n\n1,2\r\n\r\n\r\n3,4\n\n",
               {{"a", "b"}, {"1", "2"}, {"3", "4"}}},
        OddCsv{"QuotedComma", "a,b\n\"1,5\",2\n", {{"a", "b"}, {"1,5", "2"}}},
        OddCsv{"DoubledQuote", "a\n\"say \"\"hi\"\"\"\n", {{"a"}, {"say \"hi\""}}},
        OddCsv{"QuotedLineBreak", "a,b\n\"two\r\nlines\",x\n", {{"a", "b"}, {"two\r\nlines", "x"}}},
        OddCsv{"EmptyCells", "a,b,c\n,,\n", {{"a", "b", "c"}, {"", "", ""}}},
        OddCsv{"SpacesKept", "a,b\n 1 , x \n", {{"a", "b"}, {" 1 ", " x "}}},
        OddCsv{"Utf8Units", "u\nm\xC2\xB3/s\n", {{"u"}, {"m\xC2\xB3/s"}}}),
    [](const ::testing::TestParamInfo<OddCsv>& info) { return info.param.name; });

TEST(CsvReaderTest, OneMegabyteCellArrivesWhole) {
  const std::string big(1 << 20, 'x');
  const Table t = cases_test::Records("a,b\n\"" + big + "\",2\n3,4\n");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[1][0], big);
  EXPECT_EQ(t[2], (std::vector<std::string>{"3", "4"}));
}

TEST(CsvReaderTest, RecordBeyondTheLimitStopsTheReading) {
  // An unclosed quote would otherwise gather the rest of the file into one cell.
  Table t;
  CsvReader reader([&](std::vector<std::string>& r) { t.push_back(r); }, 1000);
  EXPECT_TRUE(reader.Feed("a,b\n1,\""));
  EXPECT_FALSE(reader.Feed(std::string(2000, 'y')));
  EXPECT_EQ(reader.Error(),
            "row 2 is longer than 1000 bytes (the quote that opens on line 2 is never closed)");
  EXPECT_FALSE(reader.Finish());
  EXPECT_EQ(t.size(), 1u);
}

// The line a quote left open began on, counted as a text editor counts lines (quoted
// line breaks too); "" where every quote closes.
TEST(CsvReaderTest, QuoteLeftOpenRefusesTheTextNamingItsLine) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"a,b\n1,\"x\n2,3\n", "the quote that opens on line 2 is never closed"},
      {"a\r\nb\r\n\"open\r\nmore", "the quote that opens on line 3 is never closed"},
      {"a\r\"x", "the quote that opens on line 2 is never closed"},
      {kBom + "a,b\n\"two\nlines\",x\n\"bad,y\n", "the quote that opens on line 4 is never closed"},
      // A closing quote followed by more text does not close the field.
      {"a\n\"x\"y\nz\n", "the quote that opens on line 2 is never closed"},
      {"a\n\"x\"\"\n", "the quote that opens on line 2 is never closed"},
      // A quote inside a field that did not start with one is a character; a quote that
      // closes at the very end is closed.
      {"a,b\nx\"y,2\n", ""},
      {"a\n\"x\"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const size_t piece : {c.text.size(), size_t{1}}) {
      CsvReader reader([](std::vector<std::string>&) {});
      for (size_t at = 0; at < c.text.size(); at += piece)
        ASSERT_TRUE(reader.Feed(std::string_view(c.text).substr(at, piece)));
      EXPECT_EQ(reader.Finish(), c.error.empty());
      EXPECT_EQ(reader.Error(), c.error);
    }
  }
}

TEST(CsvReaderTest, WriterQuotesWhatNeedsItAndReadsBack) {
  const std::vector<std::string> cells{"plain", "a,b",  "say \"hi\"", "two\nlines",
                                       "",      "m³/s", "cr\ronly"};
  const std::string text = CsvRecordText(cells);
  EXPECT_EQ(text, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,m³/s,\"cr\ronly\"\r\n");
  EXPECT_EQ(cases_test::Records(text), Table{cells});
}

}  // namespace
}  // namespace rivulet
