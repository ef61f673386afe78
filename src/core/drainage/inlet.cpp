#include "core/drainage/inlet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/drainage/inlet_equations.h"
#include "core/drainage/inlet_sag.h"

namespace rivulet {

namespace {

// Past a kilometre a length is a typing slip, not an inlet; past 20 m/s no gutter runs.
constexpr double kMaxInletLength = 1000.0;
constexpr double kMaxVelocity = 20.0;

GutterInputError Refuse(const char* field, const char* label, const std::string& what) {
  return RefuseInput(field, label, what);
}

std::optional<GutterInputError> CheckPositive(double v, const char* field, const char* label,
                                              double max = kMaxInletLength) {
  return CheckPositiveInput(v, field, label, max);
}

bool HasGrate(InletType t) { return t == InletType::Grate || t == InletType::Combination; }
bool HasOpening(InletType t) { return t != InletType::Grate; }

std::optional<GutterInputError> CheckGeometry(const InletInputs& in) {
  const bool sag = in.location == InletLocation::Sag;
  if (HasGrate(in.inletType)) {
    if (auto e = CheckPositive(in.grateLength, "grateLength", "Grate length")) return e;
    if (auto e = CheckPositive(in.grateWidth, "grateWidth", "Grate width")) return e;
  }
  if (HasOpening(in.inletType)) {
    const char* label = in.inletType == InletType::Slotted ? "Slot length" : "Opening length";
    if (auto e = CheckPositive(in.openingLength, "openingLength", label)) return e;
  }
  const bool needsHeight =
      sag && (in.inletType == InletType::CurbOpening || in.inletType == InletType::Combination);
  if (needsHeight)
    if (auto e = CheckPositive(in.openingHeight, "openingHeight", "Opening height")) return e;
  // On a grade the slot's width only decides a warning; 0 stands for not given.
  if (in.inletType == InletType::Slotted && (sag || in.slotWidth != 0))
    if (auto e = CheckPositive(in.slotWidth, "slotWidth", "Slot width")) return e;
  if (!(in.clogging >= 0 && in.clogging < 1))
    return Refuse("clogging", "Clogging", "must be at least 0 and less than 1.");
  if (in.depression.has_value() != in.depressionWidth.has_value())
    return in.depression
               ? Refuse("depressionWidth", "Depression width",
                        "is required with a local depression.")
               : Refuse("depression", "Local depression", "is required with a depression width.");
  if (in.depression) {
    if (in.inletType != InletType::CurbOpening)
      return Refuse("depression", "Local depression",
                    "applies to curb-opening inlets only; a depressed gutter is the gutter "
                    "type composite.");
    if (auto e = CheckPositive(*in.depression, "depression", "Local depression")) return e;
    if (auto e = CheckPositive(*in.depressionWidth, "depressionWidth", "Depression width"))
      return e;
  }
  if (sag && in.throat == ThroatType::Inclined && !(in.throatAngle > 0 && in.throatAngle <= 90))
    return Refuse("throatAngle", "Throat angle", "must be greater than 0 and at most 90 degrees.");
  if (in.splashOverVelocity)
    if (auto e = CheckPositive(*in.splashOverVelocity, "splashOverVelocity", "Splash-over velocity",
                               kMaxVelocity))
      return e;
  if (in.openingRatio)
    if (auto e = CheckPositive(*in.openingRatio, "openingRatio", "Opening ratio", 1.0)) return e;
  if (sag && HasGrate(in.inletType) && !in.openingRatio && GrateOf(in.grateType).openingRatio == 0)
    return Refuse("openingRatio", "Opening ratio",
                  "is required for this grate in a sag: no opening ratio is published for the "
                  "45° tilt-bar grates.");
  if (sag && in.solveFor == SagUnknown::Capacity)
    return CheckPositive(in.pondingDepth, "pondingDepth", "Ponding depth");
  return std::nullopt;
}

bool NeedsDischarge(const InletInputs& in) {
  return in.location == InletLocation::Grade || in.solveFor == SagUnknown::Depth;
}

InletResults Failed(GutterInputError e) {
  InletResults r;
  r.error = std::move(e);
  return r;
}

GutterBed BedOf(const GutterInputs& g) {
  GutterBed bed{g.crossSlope, g.crossSlope, 0};
  if (g.gutterType == GutterType::Composite) {
    bed.w = *g.gutterWidth;
    bed.sw = g.gutterDepression ? DepressedPanCrossSlope(g.crossSlope, *g.gutterDepression, bed.w)
                                : *g.gutterCrossSlope;
  }
  return bed;
}

// The share of the gutter flow within width wg of the kerb (Eo over the grate).
double GrateFrontalRatio(const GutterInputs& g, const GutterResults& gr, double wg,
                         std::vector<std::string>& notes) {
  if (g.gutterType == GutterType::Uniform) return UniformFrontalFlowRatio(wg, gr.spread);
  const GutterBed bed = BedOf(g);
  const double eo = *gr.frontalFlowRatio;
  const double d = gr.depthAtCurb;
  if (std::abs(wg - bed.w) <= 1e-9 * bed.w) return eo;
  if (wg < bed.w) {
    // Eq. 7.8: the pan's frontal flow in proportion to the area over the grate.
    notes.push_back(
        "The grate is narrower than the gutter width: Eo reduced by the ratio of the flow area "
        "over the grate to that over the gutter width.");
    return eo * bed.AreaWithin(wg, d) / bed.AreaWithin(bed.w, d);
  }
  // Wider than the pan: the share of the strip-integrated flow within the grate's width.
  notes.push_back(
      "The grate is wider than the gutter width: Eo is the share of the flow, summed over "
      "strips, within the grate's width.");
  const double dw = d - bed.sw * bed.w;
  const double outer = std::max(dw - bed.sx * (wg - bed.w), 0.0);
  const double within =
      PlaneBandDischarge(1, bed.sw, d, dw) + PlaneBandDischarge(1, bed.sx, dw, outer);
  return std::min(within / CompositeGutterDischarge(1, {bed.sx, bed.sw, bed.w}, gr.spread), 1.0);
}

// A grate of effective length le on the gutter flow gr; fills the grate's results.
double GrateOnGrade(const InletInputs& in, const InletConstants& k, const GutterInputs& g,
                    const GutterResults& gr, double le, InletResults& r) {
  const double eo = GrateFrontalRatio(g, gr, in.grateWidth, r.notes);
  // Nothing was measured below the shortest grate of the splash-over curves, and their fits
  // keep a positive intercept at zero length. A grate of no length takes nothing, so there
  // the frontal efficiency falls in proportion to the length, from the shortest grate's
  // value down to 0; clogging shortens the grate, so interception vanishes as it closes.
  const bool shorter = le < kSplashFitMinLength;
  const double vo = in.splashOverVelocity.value_or(
      SplashOverVelocity(in.grateType, std::max(le, kSplashFitMinLength)));
  if (!in.splashOverVelocity && le > kSplashFitMaxLength)
    r.cautions.push_back(
        "The grate's effective length lies beyond the 4.8 ft of the splash-over curves: the "
        "splash-over velocity is extrapolated.");
  if (shorter)
    r.cautions.push_back(
        "The grate's effective length is shorter than the 0.5 ft of the splash-over curves: "
        "its frontal efficiency is taken in proportion to its length, falling to 0 at zero "
        "length.");
  const double rf = FrontalFlowEfficiency(k.frontalKu, gr.velocity, vo) *
                    (shorter ? le / kSplashFitMinLength : 1.0);
  const double rs = SideFlowEfficiency(k.sideKu, gr.velocity, g.crossSlope, le);
  r.frontalFlowRatio = eo;
  r.splashOverVelocity = vo;
  r.frontalFlowEfficiency = rf;
  r.sideFlowEfficiency = rs;
  r.splashOverExceeded = gr.velocity > vo;
  return gr.discharge * (rf * eo + rs * (1 - eo));
}

// A curb opening (or slot) of effective length le on the approach flow; fills LT and Se.
double OpeningOnGrade(const InletInputs& in, const InletConstants& k, const GutterResults& gr,
                      double le, InletResults& r) {
  const GutterInputs& g = in.gutter;
  double se = g.crossSlope;
  if (in.depression) {
    // A local depression: Eo of the depressed width at the upstream gutter's spread.
    const double w = *in.depressionWidth;
    const CompositeGutter local{g.crossSlope,
                                DepressedPanCrossSlope(g.crossSlope, *in.depression, w), w};
    const double eo = CompositeFrontalFlowRatio(local, gr.spread);
    se = EquivalentCrossSlope(g.crossSlope, *in.depression, w, eo);
    r.frontalFlowRatio = eo;
  } else if (g.gutterType == GutterType::Composite) {
    const GutterBed bed = BedOf(g);
    se = EquivalentCrossSlope(g.crossSlope, (bed.sw - bed.sx) * bed.w, bed.w, *gr.frontalFlowRatio);
    r.frontalFlowRatio = gr.frontalFlowRatio;
  }
  const double lt =
      CurbOpeningLengthForTotal(k.curbLengthKu, gr.discharge, g.longitudinalSlope, g.manningsN, se);
  r.equivalentCrossSlope = se;
  r.lengthForTotalInterception = lt;
  return gr.discharge * CurbOpeningEfficiency(le, lt);
}

void SolveOnGrade(const InletInputs& in, const InletConstants& k, const GutterResults& gr,
                  InletResults& r) {
  const double open = 1 - in.clogging;
  const double q = gr.discharge;
  double qi = 0;
  switch (in.inletType) {
    case InletType::Grate:
      qi = GrateOnGrade(in, k, in.gutter, gr, open * in.grateLength, r);
      break;
    case InletType::Slotted:
      if (in.slotWidth > 0 && in.slotWidth < kSlotMinWidthOnGrade)
        r.cautions.push_back(
            "The slot is narrower than 1.75 in, below the widths for which the curb-opening "
            "equations were found to hold.");
      [[fallthrough]];
    case InletType::CurbOpening:
      qi = OpeningOnGrade(in, k, gr, open * in.openingLength, r);
      break;
    case InletType::Combination: {
      if (!(in.openingLength > in.grateLength)) {
        r.notes.push_back(
            "The curb opening is no longer than the grate: the combination takes what the "
            "grate alone takes.");
        qi = GrateOnGrade(in, k, in.gutter, gr, open * in.grateLength, r);
        break;
      }
      // Sweeper: the opening upstream of the grate first, the grate on what passes it.
      const double qc = OpeningOnGrade(in, k, gr, open * (in.openingLength - in.grateLength), r);
      qi = qc;
      if (q - qc > 0) {
        GutterInputs rest = in.gutter;
        rest.discharge = q - qc;
        const GutterResults gr2 = SolveGutter(rest);
        if (gr2.Ok()) qi += GrateOnGrade(in, k, rest, gr2, open * in.grateLength, r);
      }
      break;
    }
  }
  qi = std::clamp(qi, 0.0, q);
  r.interceptedDischarge = qi;
  r.bypassDischarge = q - qi;
  r.efficiency = qi / q;
}

void SolveInSag(const InletInputs& in, const InletConstants& k, InletResults& r) {
  const SagInlet s = SagInletOf(in);
  const double q = in.gutter.discharge;
  double di = in.pondingDepth;
  if (in.solveFor == SagUnknown::Depth) {
    const SagDepthSearch search = SagDepthForFlow(s, k.gravity, q);
    if (!search.converged) {
      r.error = GutterInputError{
          "discharge", "No ponding depth up to 100 m passes this discharge through the inlet."};
      return;
    }
    di = search.depth;
  }
  const SagPoint p = SagCapacity(s, k.gravity, di);
  r.pondingDepth = di;
  r.regime = p.regime;
  r.capacity = p.capacity;
  // The spread of the ponded water is set by the road beyond any local depression, which is
  // measured below the pavement plane like a pan's depression.
  const GutterBed bed = BedOf(in.gutter);
  const double pan = (bed.sw - bed.sx) * bed.w;
  r.pondingDepthInGutter = std::max(in.depression ? di - *in.depression + pan : di, 0.0);
  r.spreadAtPonding = bed.SpreadAtDepth(*r.pondingDepthInGutter);
  if (q > 0) {
    const double qi = std::min(q, p.capacity);
    r.interceptedDischarge = qi;
    r.bypassDischarge = q - qi;
    r.efficiency = qi / q;
  }
}

}  // namespace

std::optional<GutterInputError> CheckInletInputs(const InletInputs& in) {
  if (in.gutter.gutterType == GutterType::VShaped)
    return Refuse("gutterType", "Gutter type",
                  "must be uniform or composite: inlets are computed at a kerb.");
  GutterInputs g = in.gutter;
  g.solveFor = GutterUnknown::SpreadFromDischarge;
  // Without an approach flow (a sag's capacity) or an approach gutter (a sag without its
  // slope and n) the other gutter inputs are still checked.
  if (!NeedsDischarge(in) && !(g.discharge > 0)) g.discharge = 1;
  if (in.location == InletLocation::Sag && !in.approachGutter) {
    g.longitudinalSlope = 0.01;
    g.manningsN = 0.016;
  }
  if (auto e = CheckGutterInputs(g)) return e;
  return CheckGeometry(in);
}

InletResults SolveInlet(const InletInputs& in) {
  if (auto e = CheckInletInputs(in)) return Failed(*e);
  InletResults r;
  const InletConstants k = InletConstantsFor(in.gutter.constant);
  if (in.gutter.discharge > 0 && (in.location == InletLocation::Grade || in.approachGutter)) {
    GutterInputs g = in.gutter;
    g.solveFor = GutterUnknown::SpreadFromDischarge;
    GutterResults gr = SolveGutter(g);
    if (!gr.Ok()) return Failed(*gr.error);
    r.gutter = std::move(gr);
  }
  if (in.location == InletLocation::Grade) {
    SolveOnGrade(in, k, *r.gutter, r);
  } else {
    SolveInSag(in, k, r);
  }
  if (r.error) return Failed(*r.error);
  if (const std::string problem = InletAnswerProblem(in, r); !problem.empty())
    return Failed({"discharge", problem});
  return r;
}

std::string InletAnswerProblem(const InletInputs& in, const InletResults& r) {
  for (const std::optional<double>& v :
       {r.interceptedDischarge, r.bypassDischarge, r.efficiency, r.frontalFlowRatio,
        r.frontalFlowEfficiency, r.sideFlowEfficiency, r.splashOverVelocity,
        r.lengthForTotalInterception, r.equivalentCrossSlope, r.pondingDepth, r.capacity,
        r.spreadAtPonding, r.pondingDepthInGutter})
    if (v && !std::isfinite(*v))
      return "The answer is not a usable number (it overflowed): check the inputs.";
  const auto off = [](double a, double b) {
    return !(std::fabs(a - b) <= kInletAnswerTolerance * std::max(std::fabs(a), std::fabs(b)));
  };
  const double q = in.gutter.discharge;
  if (r.interceptedDischarge) {
    const double qi = *r.interceptedDischarge, qb = *r.bypassDischarge;
    if (!(q > 0 && qi >= 0 && qb >= 0) || off(qi + qb, q) || off(*r.efficiency, qi / q))
      return "The intercepted and bypass flows do not add up to the approach flow: no "
             "solution is reported.";
  }
  if (in.location == InletLocation::Grade && in.inletType == InletType::Grate && r.gutter) {
    const double eo = *r.frontalFlowRatio;
    const double e = *r.frontalFlowEfficiency * eo + *r.sideFlowEfficiency * (1 - eo);
    if (off(*r.interceptedDischarge, std::clamp(e, 0.0, 1.0) * q))
      return "The interception does not satisfy the grate's efficiency equation: no solution "
             "is reported.";
  }
  if (in.location == InletLocation::Sag) {
    const InletConstants k = InletConstantsFor(in.gutter.constant);
    const SagInlet s = SagInletOf(in);
    const SagPoint p = SagCapacity(s, k.gravity, *r.pondingDepth);
    if (off(p.capacity, *r.capacity) ||
        (in.solveFor == SagUnknown::Depth && !(p.capacity >= q * (1 - kInletAnswerTolerance))))
      return "The ponding depth found does not pass the flow through the inlet: no solution "
             "is reported.";
  }
  return "";
}

std::string SagRegimeName(SagRegime regime) {
  switch (regime) {
    case SagRegime::Weir:
      return "weir";
    case SagRegime::Orifice:
      return "orifice";
    case SagRegime::Transition:
      return "transition";
  }
  return "";
}

}  // namespace rivulet
