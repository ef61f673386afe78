#include "core/drainage/inlet_sag.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace rivulet {

namespace {

// Each regime's rule applies from its lower bound on, so a curve is continuous from the right
// and its only jumps sit at these bounds.
struct RawCurve {
  SagPoint (*at)(const SagInlet&, double, double);
  std::vector<double> bounds;
};

SagPoint GrateAt(const SagInlet& s, double g, double di) {
  // Weir and orifice both at the average depth over the grate; the lower flow governs.
  const double d = di - 0.5 * s.bed.Drop(s.grateWidth);
  const double weir = WeirFlow(kGrateWeirCw, g, s.grateLength + 2 * s.grateOpenWidth, d);
  const double orifice =
      OrificeFlow(kGrateOrificeCo, g, s.grateLength * s.grateOpenWidth * s.openingRatio, d);
  if (weir <= orifice) return {weir, SagRegime::Weir};
  return {orifice, SagRegime::Orifice};
}

double CurbWeir(const SagInlet& s, double g, double di) {
  if (s.depressionWidth > 0) {
    // Measured from the pavement plane; beyond 12 ft the plain weir gives the lower figure.
    const double d = di - s.depression;
    const double plane =
        s.curbLength <= kDepressedCurbMaxLength
            ? WeirFlow(kDepressedCurbWeirCw, g,
                       s.curbLength + kDepressedCurbWidthFactor * s.depressionWidth, d)
            : WeirFlow(kCurbWeirCw, g, s.curbLength, d);
    // Until the water tops the depression it spills over the opening's lip alone: a weir of
    // the opening's length under the depth at the lip, depression included. From the brim
    // on, the depressed weir takes over once it passes more; until then the capacity stays
    // at the brim's, since water rising higher cannot pass less.
    const double lip = WeirFlow(kCurbWeirCw, g, s.curbLength, std::min(di, s.depression));
    return std::max(lip, plane);
  }
  return WeirFlow(kCurbWeirCw, g, s.curbLength, di);
}

double CurbOrifice(const SagInlet& s, double g, double di) {
  double head = di;
  if (s.throat == ThroatType::Horizontal) head = di - 0.5 * s.openingHeight;
  if (s.throat == ThroatType::Inclined)
    head = di - 0.5 * s.openingHeight * std::sin(s.throatAngle * std::numbers::pi / 180);
  return OrificeFlow(kCurbOrificeCo, g, s.curbLength * s.openingHeight, head);
}

SagPoint CurbAt(const SagInlet& s, double g, double di) {
  const double h = s.openingHeight;
  if (di < h) return {CurbWeir(s, g, di), SagRegime::Weir};
  if (di >= kCurbOrificeFromHeights * h) return {CurbOrifice(s, g, di), SagRegime::Orifice};
  return {std::min(CurbWeir(s, g, di), CurbOrifice(s, g, di)), SagRegime::Transition};
}

SagPoint SlotAt(const SagInlet& s, double g, double di) {
  // The weir head is measured from the pavement plane, the orifice's at the slot.
  const double weir = WeirFlow(kSlotWeirCw, g, s.curbLength, di - s.depression);
  if (di < kSlotWeirBelow) return {weir, SagRegime::Weir};
  const double orifice = OrificeFlow(kSlotOrificeCo, g, s.curbLength * s.slotWidth, di);
  if (di >= kSlotOrificeAbove) return {orifice, SagRegime::Orifice};
  return {std::min(weir, orifice), SagRegime::Transition};
}

SagPoint Envelope(const RawCurve& curve, const SagInlet& s, double g, double di) {
  SagPoint p = curve.at(s, g, di);
  for (double b : curve.bounds) {
    if (b <= di) continue;
    const double later = curve.at(s, g, b).capacity;
    if (later < p.capacity) p = {later, SagRegime::Transition};
  }
  return p;
}

RawCurve CurbCurve(const SagInlet& s) {
  return {CurbAt, {s.openingHeight, kCurbOrificeFromHeights * s.openingHeight}};
}

SagPoint CombinationAt(const SagInlet& s, double g, double di) {
  // Shallow, the grate runs as a weir and the curb opening adds nothing; once the grate runs
  // as an orifice, the opening's orifice flow adds to it. The combination never takes less
  // than its curb opening alone, which is what is left when the grate clogs.
  SagPoint both = GrateAt(s, g, di);
  if (both.regime == SagRegime::Orifice) {
    both.capacity += CurbOrifice(s, g, di);
    if (di < kCurbOrificeFromHeights * s.openingHeight) both.regime = SagRegime::Transition;
  }
  const SagPoint curb = Envelope(CurbCurve(s), s, g, di);
  return curb.capacity > both.capacity ? curb : both;
}

}  // namespace

SagInlet SagInletOf(const InletInputs& in) {
  SagInlet s;
  s.type = in.inletType;
  const GutterInputs& gi = in.gutter;
  s.bed.sx = gi.crossSlope;
  s.bed.sw = gi.crossSlope;
  if (gi.gutterType == GutterType::Composite && gi.gutterWidth) {
    s.bed.w = *gi.gutterWidth;
    s.bed.sw = gi.gutterDepression
                   ? DepressedPanCrossSlope(gi.crossSlope, *gi.gutterDepression, *gi.gutterWidth)
                   : gi.gutterCrossSlope.value_or(gi.crossSlope);
    s.depression = (s.bed.sw - s.bed.sx) * s.bed.w;
    s.depressionWidth = s.bed.w;
  }
  if (in.depression && in.depressionWidth) {
    s.depression = *in.depression;
    s.depressionWidth = *in.depressionWidth;
  }
  const double open = 1.0 - in.clogging;
  s.grateLength = in.grateLength;
  s.grateWidth = in.grateWidth;
  s.grateOpenWidth = open * in.grateWidth;
  s.openingRatio = in.openingRatio.value_or(GrateOf(in.grateType).openingRatio);
  // A combination's curb opening is the relief when the grate clogs: it stays open.
  s.curbLength =
      in.inletType == InletType::Combination ? in.openingLength : open * in.openingLength;
  s.openingHeight = in.openingHeight;
  s.throat = in.throat;
  s.throatAngle = in.throatAngle;
  s.slotWidth = in.slotWidth;
  return s;
}

SagPoint SagCapacity(const SagInlet& s, double gravity, double di) {
  switch (s.type) {
    case InletType::Grate:
      return GrateAt(s, gravity, di);
    case InletType::CurbOpening:
      return Envelope(CurbCurve(s), s, gravity, di);
    case InletType::Slotted:
      return Envelope({SlotAt, {kSlotWeirBelow, kSlotOrificeAbove}}, s, gravity, di);
    case InletType::Combination:
      return CombinationAt(s, gravity, di);
  }
  return {};
}

SagDepthSearch SagDepthForFlow(const SagInlet& s, double gravity, double q) {
  SagDepthSearch r;
  double lo = 0;
  double hi = 0.01;
  for (;;) {
    ++r.evaluations;
    if (SagCapacity(s, gravity, hi).capacity >= q) break;
    lo = hi;
    hi *= 2;
    if (hi > kSagDepthLimit) {
      r.depth = hi;
      return r;
    }
  }
  while (hi - lo > kSagDepthTolerance * hi && r.evaluations < kSagSearchCap) {
    const double mid = 0.5 * (lo + hi);
    ++r.evaluations;
    if (SagCapacity(s, gravity, mid).capacity >= q) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  r.depth = hi;
  r.converged = hi - lo <= kSagDepthTolerance * hi;
  return r;
}

}  // namespace rivulet
