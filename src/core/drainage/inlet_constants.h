// Every constant of the inlet calculation in one place, each with its source. Equation
// numbers are those of the FHWA Urban Drainage Design Manual (HEC-22, 4th edition, 2024).
// Where the manual gives a constant in two unit systems, both forms are kept: the worksheet
// uses the one of its result units, carried exactly into metres where it is the US form.
#pragma once

#include <array>
#include <string_view>

namespace rivulet {

/// Eq. 7.5, frontal flow efficiency Rf = 1 − Ku·(V − Vo): Ku per m/s (SI) and per ft/s (US).
inline constexpr double kFrontalKuSI = 0.295;
inline constexpr double kFrontalKuUS = 0.09;
/// Eq. 7.6, side flow efficiency Rs = 1/(1 + Ku·V^1.8/(Sx·L^2.3)): SI and US forms.
inline constexpr double kSideKuSI = 0.0828;
inline constexpr double kSideKuUS = 0.15;
/// Eq. 7.6 exponents of the velocity and the grate length.
inline constexpr double kSideVelocityExponent = 1.8;
inline constexpr double kSideLengthExponent = 2.3;
/// Eqs. 7.10 and 7.12, curb-opening length for total interception: SI and US forms.
inline constexpr double kCurbLengthKuSI = 0.817;
inline constexpr double kCurbLengthKuUS = 0.6;
/// Eqs. 7.10 and 7.12 exponents of Q, SL and 1/(n·S).
inline constexpr double kCurbLengthDischargeExponent = 0.42;
inline constexpr double kCurbLengthSlopeExponent = 0.3;
inline constexpr double kCurbLengthRoughnessExponent = 0.6;
/// Eq. 7.13 exponent, E = 1 − (1 − L/LT)^1.8.
inline constexpr double kCurbEfficiencyExponent = 1.8;

/// Gravity as the manual uses it: 9.81 m/s² (SI) and 32.2 ft/s² (US).
inline constexpr double kGravitySI = 9.81;
inline constexpr double kGravityUSFeet = 32.2;

/// Eq. 7.14, grate weir coefficient Cw (dimensionless, with (2g)^½).
inline constexpr double kGrateWeirCw = 0.37;
/// Eq. 7.15, grate orifice coefficient Co.
inline constexpr double kGrateOrificeCo = 0.67;
/// Eq. 7.16, curb opening without a depression, weir Cw.
inline constexpr double kCurbWeirCw = 0.37;
/// Eq. 7.17, locally depressed curb opening, weir Cw; the weir length is L + 1.8·W.
inline constexpr double kDepressedCurbWeirCw = 0.29;
inline constexpr double kDepressedCurbWidthFactor = 1.8;
/// Longer openings than this (12 ft) use Eq. 7.16 even when depressed, m.
inline constexpr double kDepressedCurbMaxLength = 12 * 0.3048;
/// Eq. 7.19, curb-opening orifice Co.
inline constexpr double kCurbOrificeCo = 0.67;
/// A curb opening is a weir up to the opening height h and an orifice from 1.4·h (p.109).
inline constexpr double kCurbOrificeFromHeights = 1.4;
/// Eq. 7.20, slotted inlet weir Cw (typical).
inline constexpr double kSlotWeirCw = 0.31;
/// Eq. 7.21, slotted inlet orifice Co.
inline constexpr double kSlotOrificeCo = 0.8;
/// A slot is a weir below about 2 in and an orifice above about 5 in of depth (p.112), m.
inline constexpr double kSlotWeirBelow = 2 * 0.0254;
inline constexpr double kSlotOrificeAbove = 5 * 0.0254;
/// Slots narrower than 1.75 in were not found to follow Eqs. 7.10 and 7.13 (p.99), m.
inline constexpr double kSlotMinWidthOnGrade = 1.75 * 0.0254;

/// The grates of the manual's Table 7.1, in the order of the worksheet's list.
enum class GrateType {
  P1_7_8,
  P1_7_8_4,
  P1_1_8,
  Tilt45_60,
  Tilt45_85,
  Tilt30_85,
  CurvedVane,
  Reticuline,
};

/// One grate: its name in files, its label, the splash-over fit and its opening ratio.
struct GrateData {
  GrateType type;
  std::string_view name;   ///< "P-1-7/8", as in files
  std::string_view label;  ///< as windows show it
  /// Splash-over velocity Vo = a + b·L − c·L² + d·L³, Vo in ft/s, L in ft: the cubic fits
  /// of the splash-over curves published with the manual's earlier edition (the splash-over
  /// chart as fitted in the Denver UDFCD manual); the 4th edition's Fig. 7.8 shows the same
  /// curves. The two 45° grates share its one 45° tilt-bar curve.
  std::array<double, 4> splash;
  /// Table 7.5 opening ratio of the clear area; 0 where the manual gives none (45° tilt-bar).
  double openingRatio;
};

/// The splash-over fits are drawn for grate lengths of about 0.5 to 4.8 ft (Fig. 7.8), m.
inline constexpr double kSplashFitMinLength = 0.5 * 0.3048;
inline constexpr double kSplashFitMaxLength = 4.8 * 0.3048;

inline constexpr std::array<GrateData, 8> kGrates{{
    {GrateType::P1_7_8, "P-1-7/8", "P-1-7/8", {2.22, 4.03, 0.65, 0.06}, 0.9},
    {GrateType::P1_7_8_4, "P-1-7/8-4", "P-1-7/8-4", {0.74, 2.44, 0.27, 0.02}, 0.8},
    {GrateType::P1_1_8, "P-1-1/8", "P-1-1/8", {1.76, 3.12, 0.45, 0.03}, 0.6},
    {GrateType::Tilt45_60, "45-60-tilt-bar", "45°-60 tilt-bar", {0.99, 2.64, 0.36, 0.03}, 0},
    {GrateType::Tilt45_85, "45-85-tilt-bar", "45°-85 tilt-bar", {0.99, 2.64, 0.36, 0.03}, 0},
    {GrateType::Tilt30_85, "30-85-tilt-bar", "30°-85 tilt-bar", {0.51, 2.34, 0.20, 0.01}, 0.34},
    {GrateType::CurvedVane, "curved-vane", "Curved vane", {0.30, 4.85, 1.31, 0.15}, 0.35},
    {GrateType::Reticuline, "reticuline", "Reticuline", {0.28, 2.28, 0.18, 0.01}, 0.8},
}};

/// The table row of a grate.
constexpr const GrateData& GrateOf(GrateType type) {
  return kGrates[static_cast<std::size_t>(type)];
}

}  // namespace rivulet
