#include "core/pipes/friction.h"

#include <cmath>

#include "core/hydraulics/checked_math.h"

namespace rivulet {
namespace {

constexpr double kLn10 = 2.302585092994045684;

// The Dunlop cubic's constants (EPANET 2.2, ch. 12): AB = 5.74/4000^0.9, AA = -3.6/ln 10.
constexpr double kDunlopAB = 0.00328895476345399058690;
constexpr double kDunlopAA = -1.5634601348517065795;
// A Newton step of the Colebrook solution this small (relative) is its last.
constexpr double kColebrookLastStep = 1e-8;

}  // namespace

const char* RegimeName(PipeFlowRegime regime) {
  switch (regime) {
    case PipeFlowRegime::Laminar:
      return "laminar";
    case PipeFlowRegime::Transition:
      return "transition";
    case PipeFlowRegime::Turbulent:
      break;
  }
  return "turbulent";
}

PipeFlowRegime RegimeOf(double reynolds) {
  if (reynolds <= kLaminarLimit) return PipeFlowRegime::Laminar;
  return reynolds < kTurbulentLimit ? PipeFlowRegime::Transition : PipeFlowRegime::Turbulent;
}

double SwameeJainFactor(double relativeRoughness, double reynolds) {
  const double y = std::log10(relativeRoughness / 3.7 + 5.74 / Pow(reynolds, 0.9));
  return Div(0.25, y * y);
}

double ColebrookResidual(double factor, double relativeRoughness, double reynolds) {
  const double x = 1 / std::sqrt(factor);
  return (x + 2 * std::log10(relativeRoughness / 3.7 + 2.51 * x / reynolds)) / x;
}

double ColebrookFactor(double relativeRoughness, double reynolds) {
  const double a = relativeRoughness / 3.7;
  const double b = Div(2.51, reynolds);
  // g(x) = x + 2 log10(a + b x) rises and is concave, so Newton's steps close in from the
  // first one on, quadratically: the error after a step is about |g''/2g'| (under 0.01)
  // times the step squared, so a step under 1e-8 of x leaves x exact to rounding.
  double x = 1 / Sqrt(SwameeJainFactor(relativeRoughness, reynolds));
  for (int i = 0; i < kColebrookCap; ++i) {
    const double inner = a + b * x;
    const double g = x + 2 * std::log10(inner);
    const double slope = 1 + 2 * b / (inner * kLn10);
    const double step = Div(g, slope);
    x -= step;
    if (std::fabs(step) <= kColebrookLastStep * x) return Checked(1 / (x * x));
  }
  throw ArithmeticFault("the Colebrook-White equation did not converge");
}

double TurbulentFactor(TurbulentFormula formula, double relativeRoughness, double reynolds) {
  return formula == TurbulentFormula::SwameeJain ? SwameeJainFactor(relativeRoughness, reynolds)
                                                 : ColebrookFactor(relativeRoughness, reynolds);
}

double TransitionFactor(TurbulentFormula formula, double relativeRoughness, double reynolds) {
  // Y2 and Y3 are the turbulent formula's inner argument and 1/sqrt(f) at Re = 4000; for
  // Colebrook the cubic is anchored on its own value there, so f stays continuous whichever
  // formula is chosen.
  double y2 = 0, y3 = 0, fa = 0;
  if (formula == TurbulentFormula::SwameeJain) {
    y2 = relativeRoughness / 3.7 + kDunlopAB;
    y3 = -2 * std::log10(y2);
    fa = Div(1, y3 * y3);
  } else {
    fa = ColebrookFactor(relativeRoughness, kTurbulentLimit);
    y3 = 1 / std::sqrt(fa);
    y2 = relativeRoughness / 3.7 + 2.51 * y3 / kTurbulentLimit;
  }
  const double fb = fa * (2 - kDunlopAA * kDunlopAB / (y2 * y3));
  const double r = reynolds / kLaminarLimit;
  const double x1 = 7 * fa - fb;
  const double x2 = 0.128 - 17 * fa + 2.5 * fb;
  const double x3 = -0.128 + 13 * fa - 2 * fb;
  const double x4 = 0.032 - 3 * fa + 0.5 * fb;
  return x1 + r * (x2 + r * (x3 + r * x4));
}

Friction DarcyFriction(TurbulentFormula formula, double relativeRoughness, double reynolds) {
  const PipeFlowRegime regime = RegimeOf(reynolds);
  switch (regime) {
    case PipeFlowRegime::Laminar:
      return {Div(64, reynolds), regime};
    case PipeFlowRegime::Transition:
      return {TransitionFactor(formula, relativeRoughness, reynolds), regime};
    case PipeFlowRegime::Turbulent:
      break;
  }
  return {TurbulentFactor(formula, relativeRoughness, reynolds), regime};
}

}  // namespace rivulet
