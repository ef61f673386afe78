#include "core/sections/section_solve.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Doubling the depth above the section finds any conveyance long before this many steps.
constexpr int kDoublingCap = 200;
// How far, relative to the target, the bounds must keep it out before a run of stretches is
// skipped: far more than the rounding of the flow evaluated inside them.
constexpr double kBoundsMargin = 1e-6;

std::string Num(double v) { return SignificantFigures(v, 6); }

// "left", "right" or "both" for a water surface above the ends; "" when below both.
std::string OvertoppedSide(const SectionModel& m, double w) {
  const bool left = w > m.LeftEnd(), right = w > m.RightEnd();
  if (left && right) return "both";
  if (left) return "left";
  if (right) return "right";
  return "";
}

std::string SideWords(const std::string& side) {
  return side == "both" ? "on both sides" : "on the " + side;
}

// The two quantities the searches follow up the section.
enum class Quantity { Conveyance, Critical };

double ValueOf(const SectionFlowing& f, Quantity q) {
  return q == Quantity::Conveyance ? f.conveyance : f.critical;
}

double RateOf(const SectionFlowing& f, Quantity q) {
  return q == Quantity::Conveyance ? f.conveyanceRate : f.criticalRate;
}

// A water surface where the quantity passes its target, and whether it rises through it.
struct Crossing {
  double w = 0;
  bool rising = false;
};

// Every crossing of the target by the quantity between the surfaces from and top, lowest
// first (only the first when firstOnly). Between two levels the geometry is smooth: each
// change of sign across a stretch is closed by false position, and a stretch where the
// quantity falls and then rises again is split at its lowest point first, so that a dip
// below the target between two levels is not missed. A quantity that jumps across the
// target at a level (flat ground starting to wet) crosses it at the level itself.
std::vector<Crossing> Crossings(const SectionModel& m, Quantity what, double target, double from,
                                double top, bool firstOnly, SectionSearch& s) {
  std::vector<Crossing> found;
  auto excess = [&](double w) {
    ++s.evaluations;
    return ValueOf(m.FlowingAt(w), what) - target;
  };
  auto close = [&](double lo, double flo, double hi, double fhi) {
    if ((flo < 0) == (fhi < 0)) return;
    const bool rising = flo < 0;
    const double sign = rising ? 1 : -1;
    const FalsePositionRule rule{.width = kSectionSurfaceResolution *
                                          std::max(std::abs(hi), hi - m.Lowest())};
    const SearchResult r = FalsePositionFrom(
        lo, sign * flo, hi, sign * fhi, [&](double w) { return sign * excess(w); }, rule);
    s.bracket = r.bracket;
    if (r.end != SearchEnd::Converged) s.converged = false;
    found.push_back({r.value, rising});
  };
  // One smooth stretch: its ends' values and rates are those just inside it.
  auto stretch = [&](double a, double fa, double ra, double b, double fb, double rb) {
    if (ra < 0 && rb > 0) {
      Bracket dip{a, b};
      CloseBracket(
          dip,
          [&](double w) {
            ++s.evaluations;
            return RateOf(m.FlowingAt(w), what) >= 0;
          },
          kDipHalvings);
      const double low = Middle(dip), flow = excess(low);
      close(a, fa, low, flow);
      close(low, flow, b, fb);
    } else {
      close(a, fa, b, fb);
    }
  };
  s.converged = true;
  const std::vector<double>& levels = m.Levels();
  const size_t first = std::upper_bound(levels.begin(), levels.end(), from) - levels.begin();
  const size_t last = std::upper_bound(levels.begin() + first, levels.end(), top) - levels.begin();
  auto startOf = [&](size_t i) { return i == first ? from : levels[i - 1]; };
  auto flowingFrom = [&](size_t i) {
    return i == first ? m.FlowingAt(from, true) : m.FlowingAbove(i - 1);
  };
  // Most stretches lie wholly on one side of the target, which the section's bounds over a run
  // of them show without evaluating the flow in any. The run doubles while that holds and
  // halves when it does not, down to a single stretch, which is searched: its bounds would
  // cost about as much as the flow at its ends. Where the flow stays near the target the
  // bounds keep failing, so after each failure on two stretches twice as many are searched
  // before the bounds are tried again. A search from a known surface (a rating's next row)
  // expects the target near it and searches a few stretches first.
  size_t run = 2, unbounded = firstOnly ? 4 : 0, backOff = 1;
  for (size_t i = first; i < last;) {
    const size_t end = std::min(last, i + run);
    if (end - i > 1 && unbounded == 0) {
      const FlowingBounds b = m.BoundsBetween(startOf(i), levels[end - 1]);
      const double low = what == Quantity::Conveyance ? b.conveyanceLow : b.criticalLow;
      const double high = what == Quantity::Conveyance ? b.conveyanceHigh : b.criticalHigh;
      if (low > target * (1 + kBoundsMargin) || high < target * (1 - kBoundsMargin)) {
        i = end;
        run *= 2;
        backOff = 1;
      } else if (end - i > 2) {
        run = (end - i) / 2;
      } else {
        unbounded = backOff;
        backOff *= 2;
      }
      continue;
    }
    const SectionFlowing start = flowingFrom(i);
    const SectionFlowing below = m.FlowingBelow(i);
    stretch(startOf(i), ValueOf(start, what) - target, RateOf(start, what), levels[i],
            ValueOf(below, what) - target, RateOf(below, what));
    if (firstOnly && !found.empty()) return found;
    // A jump across the target at the level itself.
    const double under = ValueOf(below, what) - target;
    const double over = ValueOf(m.FlowingAbove(i), what) - target;
    if (levels[i] < top && (under < 0) != (over < 0)) found.push_back({levels[i], under < 0});
    if (firstOnly && !found.empty()) return found;
    ++i;
    run = 2;
    if (unbounded > 0) --unbounded;
  }
  const double a = last > first ? levels[last - 1] : from;
  if (top > a) {
    // Above the highest level, between walls: one smooth stretch.
    const SectionFlowing start = flowingFrom(last);
    const SectionFlowing end = m.FlowingAt(top);
    stretch(a, ValueOf(start, what) - target, RateOf(start, what), top, ValueOf(end, what) - target,
            RateOf(end, what));
  }
  if (firstOnly && found.size() > 1) found.resize(1);
  return found;
}

// Specific energy y + α·Q²/(2g·A²) at water surface w (m).
double SpecificEnergy(const SectionModel& m, double q, double w) {
  const SectionState s = m.StateAt(w);
  return Checked(w - m.Lowest() + s.alpha * q * q / (2 * kGravity * s.area * s.area));
}

}  // namespace

std::optional<double> SurfaceForConveyance(const SectionModel& m, double k, double from,
                                           SectionSearch* search) {
  SectionSearch local;
  SectionSearch& s = search ? *search : local;
  s = {};
  if (!(k > 0)) {
    s.converged = true;
    s.surfaces = {m.Lowest()};
    return m.Lowest();
  }
  from = std::max(from, m.Lowest());
  double top = m.BankFull();
  if (m.ExtendWalls()) {
    // Between vertical walls the section keeps widening its conveyance without end.
    top = std::max(top, m.Levels().back());
    for (int steps = 0; m.ConveyanceAt(top) < k; ++steps) {
      ++s.evaluations;
      if (steps == kDoublingCap) throw ArithmeticFault("no water surface carries the flow");
      top = m.Lowest() + 2 * (top - m.Lowest());
    }
  }
  const bool all = from == m.Lowest();
  const std::vector<Crossing> found = Crossings(m, Quantity::Conveyance, k, from, top, !all, s);
  if (found.empty()) return std::nullopt;
  for (const Crossing& c : found) s.surfaces.push_back(c.w);
  return found.front().w;
}

std::vector<double> CriticalDepths(const SectionModel& m, double q) {
  std::vector<double> depths;
  if (!(q > 0)) return depths;
  double top = m.BankFull();
  if (m.ExtendWalls()) {
    // Between walls the surface stops widening, so the flow turns subcritical somewhere above.
    top = std::max(top, m.Levels().back());
    int steps = 0;
    while (m.FlowingAt(top).critical < q) {
      top = m.Lowest() + 2 * (top - m.Lowest());
      if (++steps > kDoublingCap) throw ArithmeticFault("no critical depth");
    }
  }
  SectionSearch s;
  for (const Crossing& c : Crossings(m, Quantity::Critical, q, m.Lowest(), top, false, s))
    if (c.rising) depths.push_back(c.w - m.Lowest());
  return depths;
}

std::string BankFullExceededMessage(const std::string& capacity, const std::string& side) {
  return "The discharge exceeds the bank-full capacity of " + capacity +
         ": the section is overtopped " + SideWords(side) + ".";
}

SectionResults SolveSection(const SectionInputs& in) {
  SectionResults r;
  auto refuse = [&r](std::string field, std::string message) {
    r.field = std::move(field);
    r.message = std::move(message);
    return r;
  };
  if (std::string p = PointsProblem(in.section); !p.empty()) return refuse("points", p);
  if (std::string p = ZonesProblem(in.section); !p.empty()) return refuse("nZones", p);
  auto positive = [](double v) { return std::isfinite(v) && v > 0; };
  if (in.solveFor != SectionUnknown::Slope && !positive(in.slope))
    return refuse("longitudinalSlope", "The longitudinal slope must be a number above 0.");
  if (in.solveFor != SectionUnknown::Discharge && !positive(in.discharge))
    return refuse("discharge", "The discharge must be a number above 0.");
  try {
    const SectionModel m(in.section, in.method);
    double w = 0;
    if (in.solveFor == SectionUnknown::Depth) {
      const double k = in.discharge / std::sqrt(in.slope);
      const std::optional<double> found = SurfaceForConveyance(m, k, m.Lowest(), &r.search);
      r.bankFullDischarge = m.ConveyanceAt(m.BankFull()) * std::sqrt(in.slope);
      if (!found) {
        r.overtopped = true;
        r.overtoppedSide = m.LeftEnd() == m.RightEnd()  ? "both"
                           : m.LeftEnd() < m.RightEnd() ? "left"
                                                        : "right";
        r.message = BankFullExceededMessage(Num(*r.bankFullDischarge) + " m3/s", r.overtoppedSide);
        return r;
      }
      w = *found;
      if (!r.search.converged)
        r.warnings.push_back("The depth search stopped after " +
                             std::to_string(r.search.evaluations) +
                             " evaluations without reaching its tolerance.");
      for (double surface : r.search.surfaces) r.normalDepths.push_back(surface - m.Lowest());
      if (r.normalDepths.size() > 1) {
        std::string others;
        for (size_t i = 1; i < r.normalDepths.size(); ++i)
          others += (i == 1                           ? ""
                     : i + 1 == r.normalDepths.size() ? " and "
                                                      : ", ") +
                    Num(r.normalDepths[i]) + " m";
        r.warnings.push_back("The discharge is also carried at the depth" +
                             std::string(r.normalDepths.size() > 2 ? "s " : " ") + others +
                             ": the conveyance falls as the water spreads. The depth given is the "
                             "lowest, the one a rising flow reaches first.");
      }
    } else {
      if (in.waterSurfaceElevation) {
        w = *in.waterSurfaceElevation;
      } else if (in.depth) {
        w = m.Lowest() + *in.depth;
      } else {
        return refuse("waterSurfaceElevation", "Give the water surface elevation or the depth.");
      }
      if (!std::isfinite(w) || !(w > m.Lowest()))
        return refuse(in.waterSurfaceElevation ? "waterSurfaceElevation" : "depth",
                      "The water surface must lie above the lowest point of the section.");
    }
    r.overtoppedSide = OvertoppedSide(m, w);
    r.overtopped = !r.overtoppedSide.empty();
    if (r.overtopped) {
      if (!m.ExtendWalls()) {
        r.message = "The water surface is above the " +
                    std::string(r.overtoppedSide == "both" ? "ends" : r.overtoppedSide + " end") +
                    " of the section: the section is overtopped " + SideWords(r.overtoppedSide) +
                    ".";
        return r;
      }
      r.warnings.push_back("The section is overtopped " + SideWords(r.overtoppedSide) +
                           ": the water stands against vertical walls raised at the ends.");
    }
    const SectionState s = m.StateAt(w);
    r.waterSurfaceElevation = w;
    r.depth = w - m.Lowest();
    r.conveyance = s.conveyance;
    switch (in.solveFor) {
      case SectionUnknown::Depth:
        r.slope = in.slope;
        r.discharge = in.discharge;
        break;
      case SectionUnknown::Discharge:
        r.slope = in.slope;
        r.discharge = Checked(s.conveyance * std::sqrt(in.slope));
        break;
      case SectionUnknown::Slope:
        r.discharge = in.discharge;
        r.slope = Checked(Pow(Div(in.discharge, s.conveyance), 2));
        break;
    }
    const double rootS = std::sqrt(r.slope);
    if (!r.bankFullDischarge) r.bankFullDischarge = m.ConveyanceAt(m.BankFull()) * rootS;
    r.flowArea = s.area;
    r.wettedPerimeter = s.perimeter;
    r.hydraulicRadius = Div(s.area, s.perimeter);
    r.topWidth = s.topWidth;
    r.velocity = Div(r.discharge, s.area);
    r.compositeN = s.compositeN;
    r.energyCoefficient = s.alpha;
    r.froudeNumber =
        Sqrt(Div(s.alpha * r.discharge * r.discharge * s.topWidth, kGravity * Pow(s.area, 3)));
    r.specificEnergy = r.depth + s.alpha * r.velocity * r.velocity / (2 * kGravity);
    r.averageShear = kUnitWeight * r.hydraulicRadius * r.slope;
    for (size_t j = 0; j < s.zones.size(); ++j) {
      const ZoneFlow& z = s.zones[j];
      ZoneResult zr{in.section.n[j], z.area, z.perimeter, z.topWidth, z.conveyance * rootS, 0};
      if (z.area > 0) zr.velocity = zr.discharge / z.area;
      r.zones.push_back(zr);
    }
    r.criticalDepths = CriticalDepths(m, r.discharge);
    if (!r.criticalDepths.empty()) {
      double best = r.criticalDepths.front();
      double least = SpecificEnergy(m, r.discharge, m.Lowest() + best);
      for (double y : r.criticalDepths) {
        const double e = SpecificEnergy(m, r.discharge, m.Lowest() + y);
        if (e < least) least = e, best = y;
      }
      r.criticalDepth = best;
      r.criticalWaterSurfaceElevation = m.Lowest() + best;
      if (r.criticalDepths.size() > 1)
        r.warnings.push_back("The Froude number falls through 1 at " +
                             std::to_string(r.criticalDepths.size()) +
                             " depths: the section has several critical depths; the critical depth "
                             "given is the one of least specific energy.");
    } else {
      r.warnings.push_back(
          "The flow is supercritical up to the bank-full level: the critical depth lies above "
          "the section.");
    }
    r.ok = true;
  } catch (const ArithmeticFault&) {
    r = SectionResults{};
    r.message = "The figures of this section overflow: check the points and the flow.";
  }
  return r;
}

}  // namespace rivulet
