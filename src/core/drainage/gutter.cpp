#include "core/drainage/gutter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/drainage/gutter_search.h"

namespace rivulet {

namespace {

// Past these an input is a typing slip, not a road: a slope steeper than 1:1, an n above 1
// or below 0.001 (glass is near 0.010), a width or depth beyond a kilometre, a discharge
// beyond the largest rivers.
constexpr double kMaxGutterSlope = 1.0;
constexpr double kMaxGutterN = 1.0;
constexpr double kMinGutterN = 0.001;
constexpr double kMaxGutterLength = 1000.0;
constexpr double kMaxGutterDischarge = 1e5;

std::optional<GutterInputError> CheckSlope(double v, const char* field, const char* label) {
  return CheckPositiveInput(v, field, label, kMaxGutterSlope);
}

std::optional<GutterInputError> CheckSection(const GutterInputs& in) {
  switch (in.gutterType) {
    case GutterType::Uniform:
      if (auto e = CheckSlope(in.crossSlope, "crossSlope", "Cross slope")) return e;
      if (in.gutterWidth)
        return CheckPositiveInput(*in.gutterWidth, "gutterWidth", "Gutter width", kMaxGutterLength);
      return std::nullopt;
    case GutterType::Composite: {
      if (auto e = CheckSlope(in.crossSlope, "crossSlope", "Cross slope")) return e;
      if (!in.gutterWidth) return RefuseInput("gutterWidth", "Gutter width", "is required.");
      if (auto e =
              CheckPositiveInput(*in.gutterWidth, "gutterWidth", "Gutter width", kMaxGutterLength))
        return e;
      if (in.gutterCrossSlope && in.gutterDepression)
        return RefuseInput(
            "gutterDepression", "Gutter depression",
            "and the gutter cross slope (gutterCrossSlope) are both given; give one.");
      if (in.gutterDepression) {
        const double a = *in.gutterDepression;
        if (auto e =
                CheckPositiveInput(a, "gutterDepression", "Gutter depression", kMaxGutterLength))
          return e;
        const double sw = DepressedPanCrossSlope(in.crossSlope, a, *in.gutterWidth);
        if (!(sw <= kMaxGutterSlope))
          return RefuseInput("gutterDepression", "Gutter depression",
                             "makes the gutter cross slope steeper than 1.");
        return std::nullopt;
      }
      if (!in.gutterCrossSlope)
        return RefuseInput("gutterCrossSlope", "Gutter cross slope",
                           "or the gutter depression (gutterDepression) is required.");
      if (auto e = CheckSlope(*in.gutterCrossSlope, "gutterCrossSlope", "Gutter cross slope"))
        return e;
      if (!(*in.gutterCrossSlope > in.crossSlope))
        return RefuseInput("gutterCrossSlope", "Gutter cross slope",
                           "must be steeper than the cross slope (crossSlope).");
      return std::nullopt;
    }
    case GutterType::VShaped:
      if (auto e = CheckSlope(in.crossSlope1, "crossSlope1", "Outer cross slope")) return e;
      if (auto e = CheckSlope(in.crossSlope2, "crossSlope2", "Inner cross slope")) return e;
      if (in.crossSlope3.has_value() != in.slopeBreakWidth.has_value())
        return in.crossSlope3 ? RefuseInput("slopeBreakWidth", "Slope break width",
                                            "is required with a pavement cross slope.")
                              : RefuseInput("crossSlope3", "Pavement cross slope",
                                            "is required with a slope break width.");
      if (in.crossSlope3) {
        if (auto e = CheckSlope(*in.crossSlope3, "crossSlope3", "Pavement cross slope")) return e;
        return CheckPositiveInput(*in.slopeBreakWidth, "slopeBreakWidth", "Slope break width",
                                  kMaxGutterLength);
      }
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<GutterInputError> CheckKnown(const GutterInputs& in) {
  switch (in.solveFor) {
    case GutterUnknown::SpreadFromDischarge:
      return CheckPositiveInput(in.discharge, "discharge", "Discharge", kMaxGutterDischarge);
    case GutterUnknown::DischargeFromSpread:
      return CheckPositiveInput(in.spread, "spread", "Spread", kMaxGutterLength);
    case GutterUnknown::DischargeFromDepth:
    case GutterUnknown::SpreadFromDepth:
      return CheckPositiveInput(in.depthAtCurb, "depthAtCurb", "Depth at curb", kMaxGutterLength);
  }
  return std::nullopt;
}

CompositeGutter CompositeOf(const GutterInputs& in) {
  const double w = *in.gutterWidth;
  const double sw = in.gutterDepression
                        ? DepressedPanCrossSlope(in.crossSlope, *in.gutterDepression, w)
                        : *in.gutterCrossSlope;
  return {in.crossSlope, sw, w};
}

VGutter VOf(const GutterInputs& in) {
  return {in.crossSlope1, in.crossSlope2, in.crossSlope3.value_or(0),
          in.slopeBreakWidth.value_or(0)};
}

// A search that ran past any road's size leaves its value for the width check to refuse.
bool TakeSearch(const GutterSearchResult& s, GutterResults& r) {
  r.evaluations = s.evaluations;
  if (s.converged || !(s.value <= kGutterSearchLimit)) return true;
  r.error = GutterInputError{"discharge", "The spread search did not converge."};
  return false;
}

// Nothing but the reason: no partial figure may reach a caller.
GutterResults Failed(GutterInputError e) {
  GutterResults r;
  r.error = std::move(e);
  return r;
}

bool FromDepth(GutterUnknown u) {
  return u == GutterUnknown::DischargeFromDepth || u == GutterUnknown::SpreadFromDepth;
}

void SolveUniform(const GutterInputs& in, double k, GutterResults& r) {
  const double sx = in.crossSlope;
  if (in.solveFor == GutterUnknown::SpreadFromDischarge) {
    r.spread = UniformGutterSpread(k, sx, in.discharge);
  } else {
    r.spread = FromDepth(in.solveFor) ? in.depthAtCurb / sx : in.spread;
  }
  r.depthAtCurb = r.spread * sx;
  r.flowArea = 0.5 * sx * r.spread * r.spread;
  if (in.gutterWidth) r.frontalFlowRatio = UniformFrontalFlowRatio(*in.gutterWidth, r.spread);
}

void SolveComposite(const GutterInputs& in, double k, GutterResults& r) {
  const CompositeGutter g = CompositeOf(in);
  if (in.solveFor == GutterUnknown::SpreadFromDischarge) {
    const double q = in.discharge;
    if (q <= CompositeGutterDischarge(k, g, g.w)) {
      r.spread = UniformGutterSpread(k, g.sw, q);
    } else {
      // The pan only adds capacity, so the plain pavement's spread is an upper bound.
      const auto flow = [&](double t, double& qt, double& dq) {
        qt = CompositeGutterDischarge(k, g, t);
        dq = CompositeGutterDischargeSlope(k, g, t);
      };
      const GutterSearchResult s =
          SearchGutterFlow(flow, q, g.w, std::max(UniformGutterSpread(k, g.sx, q), 2 * g.w));
      if (!TakeSearch(s, r)) return;
      r.spread = s.value;
    }
  } else {
    r.spread = FromDepth(in.solveFor) ? CompositeSpreadAtDepth(g, in.depthAtCurb) : in.spread;
  }
  r.gutterCrossSlope = g.sw;
  r.depthAtCurb = CompositeDepthAtKerb(g, r.spread);
  r.flowArea = CompositeFlowArea(g, r.spread);
  r.frontalFlowRatio = CompositeFrontalFlowRatio(g, r.spread);
  r.withinPan = r.spread <= g.w;
  if (r.withinPan)
    r.notes.push_back(
        "The water stays within the gutter width: the pan alone carries the flow, as a uniform "
        "gutter of the gutter cross slope (frontal flow ratio 1).");
}

void SolveV(const GutterInputs& in, double k, GutterResults& r) {
  const VGutter v = VOf(in);
  double d = 0;
  if (in.solveFor == GutterUnknown::SpreadFromDischarge) {
    const double se = VEquivalentCrossSlope(v.s1, v.s2);
    d = UniformGutterSpread(k, se, in.discharge) * se;
    if (v.HasBreak() && d > v.BreakDepth()) {
      const auto flow = [&](double y, double& qy, double& dq) {
        qy = VGutterDischargeAtDepth(k, v, y);
        dq = VGutterDischargeSlope(k, v, y);
      };
      const GutterSearchResult s = SearchGutterFlow(flow, in.discharge, v.BreakDepth(), d);
      if (!TakeSearch(s, r)) return;
      d = s.value;
    }
  } else {
    d = FromDepth(in.solveFor) ? in.depthAtCurb : VGutterDepthAtSpread(v, in.spread);
  }
  r.depthAtCurb = d;
  r.spread = VGutterSpreadAtDepth(v, d);
  r.flowArea = VGutterFlowArea(v, d);
  r.discharge = VGutterDischargeAtDepth(k, v, d);
}

}  // namespace

GutterInputError RefuseInput(const char* field, const char* label, const std::string& what) {
  return {field, std::string(label) + " (" + field + ") " + what};
}

std::optional<GutterInputError> CheckPositiveInput(double v, const char* field, const char* label,
                                                   double max) {
  if (!(v > 0)) return RefuseInput(field, label, "must be greater than 0.");
  if (!(v <= max)) {
    char bound[32];
    std::snprintf(bound, sizeof bound, "%g", max);
    return RefuseInput(field, label, std::string("must not exceed ") + bound + ".");
  }
  return std::nullopt;
}

std::optional<GutterInputError> CheckGutterInputs(const GutterInputs& in) {
  if (auto e = CheckSlope(in.longitudinalSlope, "longitudinalSlope", "Longitudinal slope"))
    return e;
  if (auto e = CheckPositiveInput(in.manningsN, "manningsN", "Manning's n", kMaxGutterN)) return e;
  if (!(in.manningsN >= kMinGutterN))
    return RefuseInput("manningsN", "Manning's n", "must be at least 0.001.");
  if (auto e = CheckSection(in)) return e;
  if (auto e = CheckKnown(in)) return e;
  if (in.allowableSpread)
    if (auto e = CheckPositiveInput(*in.allowableSpread, "allowableSpread", "Allowable spread",
                                    kMaxGutterLength))
      return e;
  if (in.kerbHeight)
    return CheckPositiveInput(*in.kerbHeight, "kerbHeight", "Kerb height", kMaxGutterLength);
  return std::nullopt;
}

GutterResults SolveGutter(const GutterInputs& in) {
  GutterResults r;
  if ((r.error = CheckGutterInputs(in))) return r;
  r.ku = in.constant == GutterConstant::SI ? kIzzardKuSI : kIzzardKuUS;
  const double k =
      GutterConveyanceFactor(IzzardKu(in.constant), in.manningsN, in.longitudinalSlope);
  switch (in.gutterType) {
    case GutterType::Uniform:
      SolveUniform(in, k, r);
      break;
    case GutterType::Composite:
      SolveComposite(in, k, r);
      break;
    case GutterType::VShaped:
      SolveV(in, k, r);
      break;
  }
  if (r.error) return Failed(*r.error);
  if (in.gutterType != GutterType::VShaped) {
    r.discharge = in.solveFor == GutterUnknown::SpreadFromDischarge
                      ? in.discharge
                      : (in.gutterType == GutterType::Uniform
                             ? UniformGutterDischarge(k, in.crossSlope, r.spread)
                             : CompositeGutterDischarge(k, CompositeOf(in), r.spread));
  } else if (in.solveFor == GutterUnknown::SpreadFromDischarge) {
    r.discharge = in.discharge;
  }
  if (!(r.spread <= kMaxGutterLength)) {
    const char* field = FromDepth(in.solveFor) ? "depthAtCurb" : "discharge";
    return Failed({field, "The flow spreads wider than 1000 m: check the " + std::string(field) +
                              " and the slopes."});
  }
  r.velocity = r.discharge / r.flowArea;
  if (r.frontalFlowRatio) {
    r.gutterFlow = *r.frontalFlowRatio * r.discharge;
    r.sideFlow = r.discharge - *r.gutterFlow;
    r.spreadOverGutterWidth = r.spread / *in.gutterWidth;
  }
  if (in.allowableSpread) r.spreadWithinAllowable = r.spread <= *in.allowableSpread;
  if (in.kerbHeight) r.depthWithinKerb = r.depthAtCurb <= *in.kerbHeight;
  if (const std::string problem = GutterAnswerProblem(in, r); !problem.empty())
    return Failed({FromDepth(in.solveFor) ? "depthAtCurb" : "discharge", problem});
  return r;
}

std::string GutterAnswerProblem(const GutterInputs& in, const GutterResults& r) {
  const auto unusable = [](double v) { return !(std::fpclassify(v) == FP_NORMAL && v > 0); };
  if (unusable(r.spread) || unusable(r.discharge) || unusable(r.depthAtCurb) ||
      unusable(r.flowArea) || unusable(r.velocity))
    return "The answer is not a usable number (it overflowed or vanished): check the inputs.";
  const double k =
      GutterConveyanceFactor(IzzardKu(in.constant), in.manningsN, in.longitudinalSlope);
  double q = 0;
  switch (in.gutterType) {
    case GutterType::Uniform:
      q = UniformGutterDischarge(k, in.crossSlope, r.spread);
      break;
    case GutterType::Composite:
      q = CompositeGutterDischarge(k, CompositeOf(in), r.spread);
      break;
    case GutterType::VShaped:
      q = VGutterDischargeAtDepth(k, VOf(in), r.depthAtCurb);
      break;
  }
  const auto off = [](double a, double b) {
    return !(std::fabs(a - b) <= kGutterAnswerTolerance * std::max(std::fabs(a), std::fabs(b)));
  };
  if (off(q, r.discharge))
    return "The answer does not satisfy the gutter equation (the discharge at the spread "
           "found differs from the discharge): no solution is reported.";
  if (off(r.velocity * r.flowArea, r.discharge))
    return "The answer does not satisfy Q = V A: no solution is reported.";
  return "";
}

}  // namespace rivulet
