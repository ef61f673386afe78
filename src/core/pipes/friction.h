// The Darcy friction factor of full-pipe flow by regime: Hagen-Poiseuille below the laminar
// limit, the Dunlop cubic across the transition, Colebrook-White (solved to the last bit) or
// the explicit Swamee-Jain form when turbulent.
#pragma once

namespace rivulet {

/// Reynolds numbers bounding the transition: laminar at or below the first, turbulent from
/// the second (EPANET 2.2 manual, ch. 12).
inline constexpr double kLaminarLimit = 2000;
inline constexpr double kTurbulentLimit = 4000;

enum class PipeFlowRegime { Laminar, Transition, Turbulent };
enum class TurbulentFormula { ColebrookWhite, SwameeJain };

/// "laminar", "transition" or "turbulent".
const char* RegimeName(PipeFlowRegime regime);

/// Newton steps of the Colebrook solution before it is called a failure; it takes 3 to 5.
inline constexpr int kColebrookCap = 50;

/// f by Swamee-Jain: 0.25 / log10(e/3.7D + 5.74/Re^0.9)^2 (relative roughness e/D).
double SwameeJainFactor(double relativeRoughness, double reynolds);

/// f solving 1/sqrt(f) = -2 log10(e/3.7D + 2.51/(Re sqrt(f))) to double precision, by
/// Newton's method on x = 1/sqrt(f) from the Swamee-Jain value.
double ColebrookFactor(double relativeRoughness, double reynolds);

/// The Colebrook equation's residual at f, relative to 1/sqrt(f): 0 at its root.
double ColebrookResidual(double factor, double relativeRoughness, double reynolds);

/// f of the turbulent formula.
double TurbulentFactor(TurbulentFormula formula, double relativeRoughness, double reynolds);

/// f across the transition (2000 < Re < 4000): the Dunlop cubic in Re/2000, equal to 64/Re
/// at 2000 and to the turbulent formula's value at 4000.
double TransitionFactor(TurbulentFormula formula, double relativeRoughness, double reynolds);

struct Friction {
  double factor = 0;
  PipeFlowRegime regime = PipeFlowRegime::Turbulent;
};

/// The factor and regime at a Reynolds number above zero.
Friction DarcyFriction(TurbulentFormula formula, double relativeRoughness, double reynolds);

/// The regime of a Reynolds number, by the limits above.
PipeFlowRegime RegimeOf(double reynolds);

}  // namespace rivulet
