// The read-only table of n ranges for grassed channels and swales.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace rivulet {

inline constexpr char kGrassTableCaption[] =
    "Manning Roughness Coefficients for Grassed Channels and Swales";
inline constexpr char kGrassTableSource[] = "Source: MTO Drainage Manual";

/// One line of the grid below the column headings. A group heading has no values.
struct GrassRow {
  std::string_view text;
  std::string_view shallow;  // flow up to 0.2 m deep
  std::string_view deeper;   // flow 0.2 to 0.5 m deep
  bool IsGroupHeading() const { return shallow.empty() && deeper.empty(); }
};

/// The three column headings, left to right.
const std::array<std::string_view, 3>& GrassColumnHeadings();

/// The grid's lines in display order, group headings included.
const std::vector<GrassRow>& GrassRows();

}  // namespace rivulet
