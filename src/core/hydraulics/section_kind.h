// The five sections of the calculation sheet, in the order of its section list: the one
// name every room uses for them.
#pragma once

#include <string>
#include <vector>

namespace rivulet {

enum class SectionKind { Pipe, Rectangle, Triangle, Trapezoid, Gutter };

/// The section at a position of the section list. A file may leave the list at none (-1):
/// that, like any position past the end, works a gutter, as the solver always has.
constexpr SectionKind SectionKindAt(int position) {
  return position >= 0 && position <= 3 ? static_cast<SectionKind>(position) : SectionKind::Gutter;
}

/// The section's position in the section list.
constexpr int ListPosition(SectionKind kind) { return static_cast<int>(kind); }

/// Whether the sheet's diameter row holds a bottom width (rectangle, trapezoid, gutter).
constexpr bool HasBottomWidth(SectionKind kind) {
  return kind != SectionKind::Pipe && kind != SectionKind::Triangle;
}

/// Whether the section has sloping sides (triangle, trapezoid, gutter).
constexpr bool HasSideSlope(SectionKind kind) {
  return kind != SectionKind::Pipe && kind != SectionKind::Rectangle;
}

/// The entries of the section list, in list order ("Circular Pipe", "Rectangle", ...).
const std::vector<std::string>& SectionNames();

/// The list entry of one section.
const std::string& SectionName(SectionKind kind);

}  // namespace rivulet
