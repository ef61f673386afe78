#include "core/reference/section_drawings.h"

namespace rivulet {

const std::array<DrawingInfo, kDrawingCount>& Drawings() {
  static const std::array<DrawingInfo, kDrawingCount> drawings{{
      {SectionKind::Pipe, "frmCircle", "Rivulet  [Circular Pipe]", "Circular Pipe", "cmdOK", 296,
       253},
      {SectionKind::Rectangle, "frmRectangle", "Rivulet  [Rectangular Section]",
       "Rectangular Section", "Command1", 265, 191},
      {SectionKind::Triangle, "frmTriangle", "Rivulet  [Triangular Section]", "Triangular Section",
       "Command1", 462, 176},
      {SectionKind::Trapezoid, "frmTrapezoid", "Rivulet  [Trapezoid Section]", "Trapezoid Section",
       "Command1", 433, 145},
      {SectionKind::Gutter, "frmGutter", "Rivulet  [Gutter Section]", "Gutter Section", "Command1",
       389, 226},
  }};
  return drawings;
}

const DrawingInfo& DrawingFor(SectionKind kind) { return Drawings()[static_cast<int>(kind)]; }

std::optional<SectionKind> DrawingForSection(int listIndex) {
  if (listIndex < 0 || listIndex >= kDrawingCount) return std::nullopt;
  return Drawings()[listIndex].kind;
}

}  // namespace rivulet
