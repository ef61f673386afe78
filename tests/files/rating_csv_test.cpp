#include "core/files/rating_csv.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "files_fixture.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

std::vector<std::string> SplitLines(std::string text, const std::string& end) {
  std::vector<std::string> lines;
  for (size_t at; (at = text.find(end)) != std::string::npos; text.erase(0, at + end.size()))
    lines.push_back(text.substr(0, at));
  EXPECT_EQ(text, "") << "the last line has no line end";
  return lines;
}

std::optional<double> Parse(const std::string& cell) {
  if (cell.empty()) return std::nullopt;
  double v = 0;
  const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), v);
  EXPECT_TRUE(ec == std::errc() && end == cell.data() + cell.size()) << cell;
  return v;
}

// Reads delimited lines back and checks every cell against the table it came from.
void ExpectRoundTrip(const std::vector<std::string>& lines, char separator,
                     const std::vector<RatingRow>& rows, bool pipe, const RatingUnits& units,
                     const std::vector<std::string>& header) {
  ASSERT_EQ(lines.size(), rows.size() + 1);
  EXPECT_EQ(Split(lines[0], separator), header);
  const std::vector<RatingColumn> columns = RatingColumns(pipe);
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::vector<std::string> cells = Split(lines[i + 1], separator);
    ASSERT_EQ(cells.size(), columns.size()) << lines[i + 1];
    for (size_t c = 0; c < columns.size(); ++c)
      EXPECT_EQ(Parse(cells[c]), RatingCellValue(rows[i], columns[c], units)) << lines[i + 1];
  }
}

struct RoundTripCase {
  const char* name;
  RatingChannel channel;
  RatingRequest request;
  RatingUnits units;
  std::vector<std::string> header;
};

// Every number reads back to the very double the table holds, in whatever units, and the
// header names each column's unit; the file and the clipboard text agree.
TEST_F(FilesTest, RatingCsvHeaderAndNumbersRoundTrip) {
  const RoundTripCase cases[] = {
      {"pipe in mm and L/s",
       {{SectionKind::Pipe, 0.45, 0, 0}, 0.005, 0.013},
       {RatingStep::Depth, 0, 0.45, 46},
       {0, 2, 0, 2},
       {"Depth (mm)", "Flow Area (m²)", "Velocity (m/s)", "Discharge (L/s)", "Froude Number (-)",
        "Percent Full (%)"}},
      {"swale in feet, ft³/s, USGPM",
       {{SectionKind::Trapezoid, 0, 0.6, 4}, 0.005, 0.035},
       {RatingStep::Discharge, 0.01, 0.5, 50},
       {4, 4, 2, 9},
       {"Depth (feet)", "Flow Area (feet²)", "Velocity (ft/s)", "Discharge (USGPM)",
        "Froude Number (-)"}},
  };
  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RatingTable t = BuildRatingTable(c.channel, c.request);
    ASSERT_EQ(t.problem, "");
    const bool pipe = c.channel.section.shape == SectionKind::Pipe;

    const std::string path = (folder / "rating.csv").string();
    ASSERT_TRUE(SaveRatingCsv(path, t.rows, pipe, c.units, c.name));
    std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> lines = SplitLines(bytes.substr(3), "\r\n");
    ASSERT_GE(lines.size(), 2u);
    // Two comment lines say what the table describes; the table follows unchanged.
    EXPECT_EQ(lines[0], "# Rivulet rating table");
    EXPECT_EQ(lines[1], std::string("# ") + c.name);
    lines.erase(lines.begin(), lines.begin() + 2);
    ExpectRoundTrip(lines, ',', t.rows, pipe, c.units, c.header);

    const std::string tabs = JoinRatingLines(RatingLines(t.rows, pipe, c.units, '\t'));
    ExpectRoundTrip(SplitLines(tabs, "\n"), '\t', t.rows, pipe, c.units, c.header);
  }
  // A full pipe has no Froude number: its cell is empty, not 0 or "nan".
  const RatingTable full =
      BuildRatingTable({{SectionKind::Pipe, 1, 0, 0}, 0.001, 0.013}, {RatingStep::Depth, 0, 1, 2});
  const auto lines = RatingLines(full.rows, true, RatingUnits{}, ',');
  EXPECT_EQ(lines[1], "0,0,0,0,0,0");
  EXPECT_EQ(Split(lines[2], ',')[4], "");
  EXPECT_EQ(Split(lines[2], ',')[5], "100");
}

// The channel comes from the last completed solve, unrounded, while the results are
// current; the row at its depth carries the solver's discharge.
TEST_F(FilesTest, RatingOfAnOpenedFileFollowsItsSolution) {
  form.mnuOptionsFix.Click();  // the sheet shows 3 decimals; the rating must not care
  ASSERT_EQ(OpenNamedFile(form, Example("storm-sewer-pipe.rvl")), OpenResult::Loaded);
  ASSERT_EQ(form.txtDepth.Text(), "289.163");
  RatingSource src = RatingSourceOf(form);
  ASSERT_EQ(src.problem, "");
  ASSERT_TRUE(src.solution);
  EXPECT_EQ(src.solution->depth, form.LastSolve()->record.depth);
  EXPECT_NEAR(src.solution->depth, 0.289162706091373, 1e-15);
  const RatingRow at = RatingRowAt(src.channel, src.solution->depth);
  EXPECT_NEAR(at.discharge, 0.150, 0.150 * 1e-13);
  EXPECT_EQ(src.defaultTopDepth, 0.45);
  EXPECT_EQ(src.defaultTopDischarge, PipeMaximumFlow(0.45, 0.005, 0.013).discharge);
  EXPECT_EQ(src.description, "Circular Pipe: diameter 450 mm, slope 5 /1000, n 0.013");
  EXPECT_EQ(RatingUnitsOf(form), (RatingUnits{0, 2, 0, 2}));

  // Edited: the typed values count, and there is no solution to mark.
  form.txtSlope.SetText("10");
  src = RatingSourceOf(form);
  EXPECT_FALSE(src.solution);
  EXPECT_EQ(src.channel.slope, 0.01);
  EXPECT_EQ(src.channel.section.diameter, 0.45);

  ASSERT_EQ(OpenNamedFile(form, Example("grassed-swale.rvl")), OpenResult::Loaded);
  src = RatingSourceOf(form);
  ASSERT_TRUE(src.solution);
  EXPECT_EQ(src.defaultTopDepth, 2 * src.solution->depth);
  EXPECT_FALSE(src.solution->alternateDepth);
  EXPECT_EQ(src.description,
            "Trapezoid: width 0.6 meters, side slope 4 (1/x), slope 5 /1000, n 0.035");
  EXPECT_NEAR(RatingRowAt(src.channel, src.solution->depth).discharge, 0.25, 0.25 * 1e-13);

  // Nothing solved and nothing typed: the rating says what it lacks.
  form.mnuNew.Click();
  EXPECT_EQ(RatingSourceOf(form).problem, "The pipe needs a diameter above 0.");
}

TEST(RatingCommentLines, KeepTheDescriptionOnOneCommentLine) {
  EXPECT_EQ(RatingCommentLines("Rectangle: width 2 meters\nslope 1 /1000\r"),
            (std::vector<std::string>{"# Rivulet rating table",
                                      "# Rectangle: width 2 meters slope 1 /1000 "}));
}

}  // namespace
}  // namespace rivulet
