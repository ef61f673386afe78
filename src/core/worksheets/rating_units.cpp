#include "core/worksheets/rating_units.h"

#include <string_view>

namespace rivulet {
namespace {

struct Position {
  std::string_view file;  // the worksheet file's unit name
  int list;               // its position in the sheet's list
};

// The sheet's lists: length mm, cm, meters, inches, feet; area the same squared; velocity
// m/s, m/d, ft/s, ft/d; discharge m³/s, m³/d, L/s, L/d, ft³/s, ft³/d, GPM, G/d, MG/d,
// USGPM, USG/d, USMG/d. The worksheet's gallons are US gallons; the lists' US gallon is the
// calculation sheet's 3.785 L, so a rating in gpm or MGD reads 0.011 % above the worksheet.
constexpr Position kLength[] = {{"mm", 0}, {"cm", 1}, {"m", 2}, {"in", 3}, {"ft", 4}};
constexpr Position kArea[] = {{"mm2", 0}, {"cm2", 1}, {"m2", 2}, {"in2", 3}, {"ft2", 4}};
constexpr Position kVelocity[] = {{"m/s", 0}, {"ft/s", 2}};
constexpr Position kDischarge[] = {{"m3/s", 0},  {"m3/d", 1}, {"L/s", 2},
                                   {"ft3/s", 4}, {"gpm", 9},  {"MGD", 11}};

template <size_t N>
int PositionOf(const Document& d, const char* result, Dimension dimension,
               const Position (&list)[N]) {
  const FileUnit* unit = d.ResultUnit(result, dimension);
  for (const Position& p : list)
    if (unit && unit->name == p.file) return p.list;
  const FileUnit* system = SystemUnit(dimension, d.resultUnits);
  for (const Position& p : list)
    if (system && system->name == p.file) return p.list;
  return list[0].list;
}

}  // namespace

RatingUnits RatingUnitsOfResults(const Document& d) {
  RatingUnits u;
  u.length = PositionOf(d, "depth", Dimension::Length, kLength);
  u.area = PositionOf(d, "flowArea", Dimension::Area, kArea);
  u.velocity = PositionOf(d, "velocity", Dimension::Velocity, kVelocity);
  u.discharge = PositionOf(d, "discharge", Dimension::Discharge, kDischarge);
  return u;
}

}  // namespace rivulet
