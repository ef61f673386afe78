// Unit texts of the case table: each list's own entries as the sheet shows them, and the
// ASCII spellings the worksheet files use, both mapped to the sheet's list positions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rivulet {

/// The sheet's unit lists, one per kind of quantity.
enum class UnitList { Velocity, Discharge, Length, Area, SideSlope, Slope };

/// The entries of a list as the sheet shows them.
const std::vector<std::string>& UnitTexts(UnitList list);

/// The list position of a unit text: the sheet's own text or its ASCII spelling (m3/s,
/// cfs, ft, in, %, permille ...). Letter case counts: "GPM" is the imperial gallon of the
/// sheet's list, "gpm" the US gallon of the ASCII spellings. Blanks around are ignored.
std::optional<int> FindUnit(UnitList list, std::string_view text);

/// The list's texts joined for a message ("m/s, m/d, ft/s, ft/d").
std::string UnitChoices(UnitList list);

}  // namespace rivulet
