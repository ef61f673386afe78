// Units of measure: the entries of each unit list and the conversion of a value at a
// list position to and from the base unit (m, m², m/s, m³/s, m/m, x horizontal per 1).
#pragma once

#include <string>
#include <vector>

namespace rivulet {

/// The two families of units: SI (metric) and US customary.
enum class UnitSystem { SI, US };

/// Direction of a conversion: 0 from the listed unit to the base unit, anything else back.
inline constexpr int kToBase = 0;
inline constexpr int kFromBase = 1;

/// One pound-force per square foot in pascals (0.45359237 kg · 9.80665 m/s² / 0.3048² m²).
inline constexpr double kPascalPerPsf = 0.45359237 * 9.80665 / (0.3048 * 0.3048);

const std::vector<std::string>& VelocityUnits();
const std::vector<std::string>& DischargeUnits();
const std::vector<std::string>& LengthUnits();
const std::vector<std::string>& AreaUnits();
const std::vector<std::string>& SideSlopeUnits();
const std::vector<std::string>& SlopeUnits();

// Each converts value at list position; a position outside the list leaves it unchanged.
// Divisions by zero (reciprocal slopes, 0 degrees) raise ArithmeticFault.
double ConvertVelocity(double value, int position, int direction);
double ConvertDischarge(double value, int position, int direction);
double ConvertLength(double value, int position, int direction);
double ConvertArea(double value, int position, int direction);
double ConvertSlope(double value, int position, int direction);
/// pi is the module's 4 * atan(1).
double ConvertSideSlope(double value, int position, int direction, double pi);

}  // namespace rivulet
