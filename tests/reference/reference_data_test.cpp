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
    std::optional<DrawingKind> kind;
  };
  for (const Case& c :
       {Case{-1, std::nullopt}, Case{0, DrawingKind::Circle}, Case{1, DrawingKind::Rectangle},
        Case{2, DrawingKind::Triangle}, Case{3, DrawingKind::Trapezoid},
        Case{4, DrawingKind::Gutter}, Case{5, std::nullopt}}) {
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
  EXPECT_EQ(DrawingFor(DrawingKind::Circle).buttonName, "cmdOK");
  EXPECT_EQ(DrawingFor(DrawingKind::Gutter).buttonName, "Command1");
}

}  // namespace
}  // namespace rivulet
