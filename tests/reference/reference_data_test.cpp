// The grass table's ranges and the choice of drawing for a section-list position.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "core/reference/grass_table.h"
#include "core/reference/section_drawings.h"

namespace rivulet {
namespace {

// A range is "high  to  low": two blanks either side of "to", larger value first, three
// decimals on both sides.
TEST(GrassTable, RangesAreWrittenLargerFirstWithTwoBlanksAroundTo) {
  int ranges = 0;
  for (const GrassRow& row : GrassRows()) {
    if (row.IsGroupHeading()) continue;
    for (std::string_view cell : {row.shallow, row.deeper}) {
      SCOPED_TRACE(std::string(row.text) + ": " + std::string(cell));
      const auto to = cell.find("  to  ");
      ASSERT_NE(to, std::string_view::npos);
      const std::string high(cell.substr(0, to)), low(cell.substr(to + 6));
      EXPECT_EQ(high.size(), 5u);
      EXPECT_EQ(low.size(), 5u);
      EXPECT_GT(std::atof(high.c_str()), std::atof(low.c_str()));
      ++ranges;
    }
  }
  EXPECT_EQ(ranges, 8);
}

TEST(SectionDrawings, ViewDrawingFollowsTheSectionListNotTheMenuOrder) {
  struct Case {
    int listIndex;
    std::optional<SectionKind> kind;
  };
  for (const Case& c :
       {Case{-1, std::nullopt}, Case{0, SectionKind::Pipe}, Case{1, SectionKind::Rectangle},
        Case{2, SectionKind::Triangle}, Case{3, SectionKind::Trapezoid},
        Case{4, SectionKind::Gutter}, Case{5, std::nullopt}}) {
    EXPECT_EQ(DrawingForSection(c.listIndex), c.kind) << "position " << c.listIndex;
  }
}

TEST(SectionDrawings, CaptionIsProductTwoBlanksAndTitleInBrackets) {
  std::set<std::string_view> names;
  for (const DrawingInfo& d : Drawings()) {
    EXPECT_EQ(d.caption, "Rivulet  [" + std::string(d.title) + "]");
    EXPECT_EQ(&DrawingFor(d.kind), &d);
    names.insert(d.windowName);
  }
  EXPECT_EQ(names.size(), 5u);
  EXPECT_EQ(DrawingFor(SectionKind::Pipe).buttonName, "cmdOK");
  EXPECT_EQ(DrawingFor(SectionKind::Gutter).buttonName, "Command1");
}

}  // namespace
}  // namespace rivulet
