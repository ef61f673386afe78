#include "core/pipes/pressure_pipe.h"

#include <cmath>
#include <numbers>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Manning's equation for a full pipe (R = D/4) in SI: S = 4^(10/3)/pi^2 n^2 Q^2 / D^(16/3).
const double kManningFull = std::pow(4.0, 10.0 / 3.0) / (std::numbers::pi * std::numbers::pi);

// The searches run on the logarithm of the unknown, where the head loss is nearly a straight
// line (slope 2 against ln Q, -5 against ln D): false position then needs a handful of steps.
// They stop when ln H is met to rounding or the bracket is 1e-13 wide (relative in Q or D).
constexpr FalsePositionRule kLogSearchRule{4e-16, 1e-13, kFalsePositionCap};
// Widening steps on each side of the secant's guess, each twice the last up to ln 2: past
// 2^60 either way of any guess.
constexpr int kBracketSteps = 100;
constexpr double kWidestStep = std::numbers::ln2;
// The Darcy f the first estimate of a search assumes.
constexpr double kGuessFactor = 0.02;

double Area(double diameter) { return std::numbers::pi * diameter * diameter / 4; }

struct LogSearch {
  double value = 0;
  int evaluations = 0;
  bool found = false;
};

// The root of a residual rising in x = ln(unknown), from an estimate of the unknown and the
// residual's usual slope. Two secant steps on a residual this nearly straight land within a
// hair of the root; a bracket that narrow around them, widened only if it misses, leaves
// false position a few steps to close it.
template <typename Residual>
LogSearch SearchLog(double estimate, double slope, Residual residual) {
  LogSearch out;
  const double x0 = std::log(estimate), r0 = residual(x0);
  const double x1 = x0 - r0 / slope, r1 = residual(x1);
  out.evaluations = 2;
  double guess = r1 != r0 ? x1 - r1 * (x1 - x0) / (r1 - r0) : x1;
  if (!std::isfinite(guess)) guess = x1;
  double step = std::max(2 * std::abs(guess - x1), kLogSearchRule.width);
  double lo = guess - step, hi = guess + step;
  double flo = residual(lo), fhi = residual(hi);
  out.evaluations += 2;
  for (int i = 0; flo > 0 && i < kBracketSteps; ++i, ++out.evaluations) {
    hi = lo;
    fhi = flo;
    lo -= step;
    step = std::min(2 * step, kWidestStep);
    flo = residual(lo);
  }
  step = std::max(2 * std::abs(guess - x1), kLogSearchRule.width);
  for (int i = 0; fhi < 0 && i < kBracketSteps; ++i, ++out.evaluations) {
    lo = hi;
    flo = fhi;
    hi += step;
    step = std::min(2 * step, kWidestStep);
    fhi = residual(hi);
  }
  if (flo > 0 || fhi < 0) return out;
  if (flo == 0 || fhi == 0) {
    out.value = std::exp(flo == 0 ? lo : hi);
    out.found = true;
    return out;
  }
  const SearchResult r = FalsePositionFrom(lo, flo, hi, fhi, residual, kLogSearchRule);
  out.value = std::exp(r.value);
  out.evaluations += r.evaluations;
  out.found = r.end == SearchEnd::Converged;
  return out;
}

PressurePipeResults Refuse(const char* field, std::string message) {
  PressurePipeResults r;
  r.error = PressurePipeError{field, std::move(message)};
  return r;
}

void AddRangeWarnings(const PressurePipeInputs& in, PressurePipeResults& r) {
  const PipeFlow& f = r.flow;
  const std::string re = FormatNumber(std::round(f.reynoldsNumber));
  const double relative = in.law.roughness / f.diameter;
  switch (in.law.method) {
    case FrictionMethod::DarcyWeisbach:
      if (f.regime == PipeFlowRegime::Transition)
        r.warnings.push_back("The flow is between laminar and turbulent (Reynolds number " + re +
                             "): the friction factor is interpolated and uncertain.");
      if (f.regime == PipeFlowRegime::Turbulent && in.law.formula == TurbulentFormula::SwameeJain &&
          (f.reynoldsNumber < 5e3 || f.reynoldsNumber > 1e8 || relative < 1e-6 || relative > 5e-2))
        r.warnings.push_back(
            "Swamee-Jain is stated for Reynolds numbers 5000 to 1E+08 and e/D "
            "1E-06 to 0.05; here Re = " +
            re + " and e/D = " + FormatNumber(relative) + ".");
      if (in.law.formula == TurbulentFormula::ColebrookWhite && relative > 5e-2)
        r.warnings.push_back("The relative roughness e/D = " + FormatNumber(relative) +
                             " is beyond 0.05, rougher than the Colebrook-White equation was "
                             "drawn from.");
      break;
    case FrictionMethod::HazenWilliams:
    case FrictionMethod::Manning:
      if (f.reynoldsNumber < kTurbulentLimit)
        r.warnings.push_back(std::string(in.law.method == FrictionMethod::HazenWilliams
                                             ? "Hazen-Williams"
                                             : "Manning's equation") +
                             " holds for turbulent flow only; the Reynolds number is " + re + ".");
      if (in.law.method == FrictionMethod::HazenWilliams && (f.diameter < 0.05 || f.velocity > 3.0))
        r.warnings.push_back(
            "Hazen-Williams is commonly kept to diameters of 50 mm (2 in) or more and "
            "velocities up to 3 m/s (10 ft/s).");
      break;
  }
}

void AddGrades(const PressurePipeInputs& in, PressurePipeResults& r) {
  if (!in.ends) return;
  const PipeEnds& e = *in.ends;
  r.hydraulicGradeUpstream = e.upstreamElevation + e.upstreamPressureHead;
  r.energyGradeUpstream = *r.hydraulicGradeUpstream + r.flow.velocityHead;
  // The head the solve was given, when it was given one: the grade then meets the ends' own
  // levels exactly rather than to the search's last bits.
  const double loss =
      in.solveFor == PressurePipeUnknown::HeadLoss ? r.flow.totalHeadLoss : in.headLoss.value_or(0);
  r.hydraulicGradeDownstream = *r.hydraulicGradeUpstream - loss;
  r.energyGradeDownstream = *r.hydraulicGradeDownstream + r.flow.velocityHead;
  r.downstreamPressureHead = *r.hydraulicGradeDownstream - e.downstreamElevation;
}

void AddStandardSize(const PressurePipeInputs& in, PressurePipeResults& r) {
  if (in.solveFor != PressurePipeUnknown::Diameter || !in.sizes) return;
  const double metres = NominalToMetres(in.sizes->system);
  for (double nominal : in.sizes->sizes) {
    const double d = nominal * metres;
    // A diameter solved onto a size takes that size, not the next.
    if (d < r.flow.diameter * (1 - kSizingTolerance)) continue;
    r.standardNominal = nominal;
    r.standardDiameter = d;
    r.standardHeadLoss = PipeFlowAt(in.law, r.flow.discharge, d, r.flow.length).totalHeadLoss;
    return;
  }
  r.sizeNote = "No size of the list \"" + in.sizes->name + "\" is as large as the diameter.";
}

}  // namespace

double HazenWilliamsConstantSI() {
  static const double k =
      kHazenWilliamsUS * std::pow(0.3048, kHazenWilliamsDExponent - 3 * kHazenWilliamsQExponent);
  return k;
}

PipeFlow PipeFlowAt(const PipeLaw& law, double discharge, double diameter, double length) {
  PipeFlow f;
  f.discharge = discharge;
  f.diameter = diameter;
  f.length = length;
  f.velocity = Div(discharge, Area(diameter));
  f.velocityHead = f.velocity * f.velocity / (2 * kGravity);
  f.reynoldsNumber = Div(f.velocity * diameter, law.kinematicViscosity);
  f.regime = RegimeOf(f.reynoldsNumber);
  switch (law.method) {
    case FrictionMethod::DarcyWeisbach: {
      const Friction friction =
          DarcyFriction(law.formula, law.roughness / diameter, f.reynoldsNumber);
      f.frictionFactor = friction.factor;
      f.frictionLoss = Checked(friction.factor * length / diameter * f.velocityHead);
      break;
    }
    case FrictionMethod::HazenWilliams:
      f.frictionLoss =
          Checked(HazenWilliamsConstantSI() * length * Pow(discharge, kHazenWilliamsQExponent) /
                  (Pow(law.hazenWilliamsC, kHazenWilliamsQExponent) *
                   Pow(diameter, kHazenWilliamsDExponent)));
      break;
    case FrictionMethod::Manning:
      f.frictionLoss = Checked(kManningFull * law.manningsN * law.manningsN * length * discharge *
                               discharge / Pow(diameter, 16.0 / 3.0));
      break;
  }
  if (law.method != FrictionMethod::DarcyWeisbach)
    f.frictionFactor = Div(f.frictionLoss * diameter, length * f.velocityHead);
  f.minorLoss = law.minorLossK * f.velocityHead;
  f.totalHeadLoss = Checked(f.frictionLoss + f.minorLoss);
  return f;
}

std::vector<HeadLossPoint> HeadLossCurve(const PipeLaw& law, double discharge, double diameter,
                                         double length, int points) {
  std::vector<HeadLossPoint> curve;
  for (int i = 0; i < points; ++i) {
    const double q = 2 * discharge * i / (points - 1);
    curve.push_back({q, q > 0 ? PipeFlowAt(law, q, diameter, length).totalHeadLoss : 0.0});
  }
  return curve;
}

PressurePipeResults SolvePressurePipe(const PressurePipeInputs& in) {
  const PipeLaw& law = in.law;
  PressurePipeResults r;
  const double head = in.headLoss.value_or(0);
  if (in.solveFor != PressurePipeUnknown::HeadLoss && !(head > 0))
    return Refuse("headLoss", "The head loss must be above zero for water to flow.");
  switch (in.solveFor) {
    case PressurePipeUnknown::HeadLoss:
      r.flow = PipeFlowAt(law, in.discharge, in.diameter, in.length);
      break;
    case PressurePipeUnknown::Length: {
      // Friction loss grows in proportion to length; the minor losses do not depend on it.
      const PipeFlow unit = PipeFlowAt(law, in.discharge, in.diameter, 1.0);
      if (!(head > unit.minorLoss))
        return Refuse("headLoss",
                      "The minor losses alone use up the head loss: no length of pipe is left.");
      r.flow =
          PipeFlowAt(law, in.discharge, in.diameter, Div(head - unit.minorLoss, unit.frictionLoss));
      break;
    }
    case PressurePipeUnknown::Discharge: {
      const double lnHead = std::log(head);
      const double estimate =
          Area(in.diameter) * std::sqrt(2 * kGravity * head /
                                        (kGuessFactor * in.length / in.diameter + law.minorLossK));
      const LogSearch s = SearchLog(estimate, 2.0, [&](double x) {
        return std::log(PipeFlowAt(law, std::exp(x), in.diameter, in.length).totalHeadLoss) -
               lnHead;
      });
      r.evaluations = s.evaluations;
      if (!s.found) return Refuse("headLoss", "No discharge gives that head loss.");
      r.flow = PipeFlowAt(law, s.value, in.diameter, in.length);
      break;
    }
    case PressurePipeUnknown::Diameter: {
      const double lnHead = std::log(head);
      const double estimate = std::pow(8 * kGuessFactor * in.length * in.discharge * in.discharge /
                                           (kGravity * std::numbers::pi * std::numbers::pi * head),
                                       0.2);
      const LogSearch s = SearchLog(estimate, 5.0, [&](double x) {
        return lnHead -
               std::log(PipeFlowAt(law, in.discharge, std::exp(x), in.length).totalHeadLoss);
      });
      r.evaluations = s.evaluations;
      if (!s.found) return Refuse("headLoss", "No diameter gives that head loss.");
      r.flow = PipeFlowAt(law, in.discharge, s.value, in.length);
      break;
    }
  }
  r.frictionSlope = Div(r.flow.frictionLoss, r.flow.length);
  r.velocityAboveMinimum = r.flow.velocity >= in.criteria.minVelocity;
  r.velocityBelowMaximum = r.flow.velocity <= in.criteria.maxVelocity;
  AddRangeWarnings(in, r);
  AddGrades(in, r);
  AddStandardSize(in, r);
  return r;
}

}  // namespace rivulet
