#include "core/hydraulics/section_kind.h"

namespace rivulet {

const std::vector<std::string>& SectionNames() {
  static const std::vector<std::string> names{"Circular Pipe", "Rectangle", "Triangle", "Trapezoid",
                                              "Gutter"};
  return names;
}

const std::string& SectionName(SectionKind kind) { return SectionNames()[ListPosition(kind)]; }

}  // namespace rivulet
