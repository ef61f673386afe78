// Reference geometry for the tests, written out again from the textbook definitions rather
// than taken from the program's routines: the pipe by its half-angle from acos.
#pragma once

#include <cmath>

#include "core/hydraulics/flow_details.h"

namespace rivulet {

inline ChannelSection Pipe(double d) { return {SectionKind::Pipe, d, 0, 0}; }
inline ChannelSection Rectangle(double b) { return {SectionKind::Rectangle, 0, b, 0}; }
inline ChannelSection Triangle(double z) { return {SectionKind::Triangle, 0, 0, z}; }
inline ChannelSection Trapezoid(double b, double z) { return {SectionKind::Trapezoid, 0, b, z}; }
inline ChannelSection Gutter(double b, double z) { return {SectionKind::Gutter, 0, b, z}; }

/// Flow area (m²), wetted perimeter (m) and top width (m).
struct Hand {
  double a, p, t;
};

inline Hand HandGeometry(const ChannelSection& s, double y) {
  const double b = s.width, z = s.side, d = s.diameter;
  switch (s.shape) {
    case SectionKind::Pipe: {
      const double theta = 2 * std::acos(1 - 2 * y / d);
      return {d * d / 8 * (theta - std::sin(theta)), theta * d / 2, d * std::sin(theta / 2)};
    }
    case SectionKind::Rectangle:
      return {b * y, b + 2 * y, b};
    case SectionKind::Triangle:
      return {z * y * y, 2 * y * std::hypot(1, z), 2 * z * y};
    case SectionKind::Trapezoid:
      return {(b + z * y) * y, b + 2 * y * std::hypot(1, z), b + 2 * z * y};
    case SectionKind::Gutter:
      return {b * y + z * y * y / 2, b + y + y * std::hypot(1, z), b + z * y};
  }
  return {};
}

}  // namespace rivulet
