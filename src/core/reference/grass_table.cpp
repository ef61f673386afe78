#include "core/reference/grass_table.h"

namespace rivulet {

const std::array<std::string_view, 3>& GrassColumnHeadings() {
  static const std::array<std::string_view, 3> headings{
      "Type of Vegetation",
      "Depth of Flow up to 0.2 m and for velocities of 0.6 m/s to 1.8 m/s",
      "Depth of Flow between 0.2 to 0.5 m and for velocities of 0.6 m/s to 1.8 m/s",
  };
  return headings;
}

// Ranges are written larger value first, two blanks either side of "to".
const std::vector<GrassRow>& GrassRows() {
  static const std::vector<GrassRow> rows{
      {"Kentucky bluegrass:", "", ""},
      {"1. Mowed to 0.05 m", "0.070  to  0.045", "0.050  to  0.035"},
      {"2. Length 0.1 to 0.15 m", "0.090  to  0.060", "0.060  to  0.040"},
      {"Good stand, any grass:", "", ""},
      {"1. Length 0.30 m", "0.180  to  0.090", "0.120  to  0.070"},
      {"2. Length 0.60 m", "0.300  to  0.190", "0.200  to  0.100"},
  };
  return rows;
}

}  // namespace rivulet
