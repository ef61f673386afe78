// Positions in the sheet's unit lists, named for the tests that pick a unit.
#pragma once

namespace rivulet {

inline constexpr int kMm = 0, kMeters = 2, kFeet = 4;  // length
inline constexpr int kCubicMetres = 0, kLitres = 2;    // discharge

}  // namespace rivulet
