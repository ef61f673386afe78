// Which drawing window belongs to which channel section, and how each is named.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/hydraulics/section_kind.h"

namespace rivulet {

inline constexpr int kDrawingCount = 5;

struct DrawingInfo {
  SectionKind kind;
  std::string_view windowName;  // frmCircle, ...
  std::string_view caption;     // window title
  std::string_view title;       // underlined heading of the picture
  std::string_view buttonName;  // the OK button's control name
  int width, height;            // nominal picture size, pixels
};

/// The five drawings in section-list order.
const std::array<DrawingInfo, kDrawingCount>& Drawings();
const DrawingInfo& DrawingFor(SectionKind kind);

/// The drawing of the section at a position of the section list; none for a position
/// outside the list (no selection).
std::optional<SectionKind> DrawingForSection(int listIndex);

}  // namespace rivulet
