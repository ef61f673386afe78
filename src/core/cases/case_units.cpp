#include "core/cases/case_units.h"

#include <utility>

#include "core/hydraulics/units.h"

namespace rivulet {
namespace {

using Alias = std::pair<std::string_view, int>;

// ASCII spellings beside the sheet's own texts; gpm and MGD are US gallons.
const std::vector<Alias>& Aliases(UnitList list) {
  static const std::vector<Alias> none;
  static const std::vector<Alias> discharge{{"m3/s", 0},  {"m3/d", 1},  {"L/s", 2},
                                            {"L/d", 3},   {"ft3/s", 4}, {"cfs", 4},
                                            {"ft3/d", 5}, {"gpm", 9},   {"MGD", 11}};
  static const std::vector<Alias> length{{"m", 2}, {"ft", 4}, {"in", 3}};
  static const std::vector<Alias> area{{"mm2", 0}, {"cm2", 1}, {"m2", 2}, {"in2", 3}, {"ft2", 4}};
  static const std::vector<Alias> slope{
      {"permille", 0}, {"\u2030", 0}, {"%", 1}, {"m/m", 3}, {"ft/ft", 3}};
  switch (list) {
    case UnitList::Discharge:
      return discharge;
    case UnitList::Length:
      return length;
    case UnitList::Area:
      return area;
    case UnitList::Slope:
      return slope;
    default:
      return none;
  }
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

const std::vector<std::string>& UnitTexts(UnitList list) {
  switch (list) {
    case UnitList::Velocity:
      return VelocityUnits();
    case UnitList::Discharge:
      return DischargeUnits();
    case UnitList::Length:
      return LengthUnits();
    case UnitList::Area:
      return AreaUnits();
    case UnitList::SideSlope:
      return SideSlopeUnits();
    case UnitList::Slope:
      break;
  }
  return SlopeUnits();
}

std::optional<int> FindUnit(UnitList list, std::string_view text) {
  text = TrimBlanks(text);
  const std::vector<std::string>& texts = UnitTexts(list);
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == text) return static_cast<int>(i);
  for (const auto& [alias, position] : Aliases(list))
    if (alias == text) return position;
  return std::nullopt;
}

std::string UnitChoices(UnitList list) {
  std::string out;
  for (const std::string& t : UnitTexts(list)) out += (out.empty() ? "" : ", ") + t;
  for (const auto& [alias, position] : Aliases(list)) out += ", " + std::string(alias);
  return out;
}

}  // namespace rivulet
