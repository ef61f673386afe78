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

// Illinois false position on f(w) = K(w) − k over a bracket where K rises; a step that
// fails to halve the bracket is followed by a halving, so neither end can stall.
double RefineSurface(const SectionModel& m, double k, double lo, double flo, double hi, double fhi,
                     SectionSearch& s) {
  int kept = 0;
  bool halve = false;
  for (int i = 0; i < kSectionSearchCap; ++i) {
    const double width = hi - lo;
    s.bracket = width;
    if (width <= kSectionDepthTolerance * (hi - m.Lowest())) {
      s.converged = true;
      break;
    }
    double x = (lo * fhi - hi * flo) / (fhi - flo);
    if (halve || !(x > lo && x < hi)) x = lo + width / 2;
    // A step closer to an end than half the tolerance moves out to it, so that once the
    // root is pinned the next step lands beyond it and closes the bracket.
    const double guard = kSectionDepthTolerance * (hi - m.Lowest()) / 2;
    if (width > 4 * guard) x = std::clamp(x, lo + guard, hi - guard);
    const double fx = m.ConveyanceAt(x) - k;
    ++s.evaluations;
    if (fx == 0) {
      s.converged = true;
      s.bracket = 0;
      return x;
    }
    if (fx < 0) {
      lo = x;
      flo = fx;
      if (kept == 1) fhi /= 2;
      kept = 1;
    } else {
      hi = x;
      fhi = fx;
      if (kept == -1) flo /= 2;
      kept = -1;
    }
    halve = !halve && hi - lo > width / 2;
  }
  return lo + (hi - lo) / 2;
}

// dE/dw of specific energy E = y + α·Q²/(2g·A²) at water surface w.
double EnergySlope(const SectionModel& m, double q, double w) {
  const SectionState s = m.StateAt(w, false);
  const double a2 = s.area * s.area;
  return Checked(1 + q * q / (2 * kGravity) *
                         (s.alphaRate / a2 - 2 * s.alpha * s.topWidth / (a2 * s.area)));
}

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
    return m.Lowest();
  }
  auto excess = [&](double w) {
    ++s.evaluations;
    return m.ConveyanceAt(w) - k;
  };
  // Values at the bracket's ends are kept, so that the refinement need not repeat them.
  double lo = std::max(from, m.Lowest()), flo = lo == m.Lowest() ? -k : excess(lo);
  double hi = m.BankFull(), fhi = excess(hi);
  if (fhi < 0) {
    if (!m.ExtendWalls()) return std::nullopt;
    // Between vertical walls the section keeps widening its conveyance without end.
    for (int steps = 0; fhi < 0; ++steps) {
      if (steps == kDoublingCap) throw ArithmeticFault("no water surface carries the flow");
      lo = hi, flo = fhi;
      hi = m.Lowest() + 2 * (hi - m.Lowest());
      fhi = excess(hi);
    }
  }
  // The geometry bends only at the points' elevations: narrow the bracket to one stretch
  // between two of them, where the conveyance is smooth and the false position is fast.
  const std::vector<double>& levels = m.Levels();
  auto first = std::upper_bound(levels.begin(), levels.end(), lo);
  auto last = std::lower_bound(first, levels.end(), hi);
  auto probe = [&](std::vector<double>::const_iterator at) {
    const double f = excess(*at);
    if (f < 0) {
      lo = *at, flo = f;
      return false;
    }
    hi = *at, fhi = f;
    return true;
  };
  if (from > m.Lowest()) {
    // Searched from a known surface (the last row of a rating): the answer is usually a
    // level or two up, so gallop up from there before halving.
    for (ptrdiff_t step = 1; last - first > step; step *= 2) {
      if (probe(first + step - 1)) {
        last = first + step - 1;
        break;
      }
      first += step;
    }
  }
  while (first < last) {
    auto mid = first + (last - first) / 2;
    if (probe(mid))
      last = mid;
    else
      first = mid + 1;
  }
  return RefineSurface(m, k, lo, flo, hi, fhi, s);
}

std::vector<double> CriticalDepths(const SectionModel& m, double q) {
  std::vector<double> depths;
  if (!(q > 0)) return depths;
  double top = m.BankFull();
  if (m.ExtendWalls()) {
    // Between walls the surface stops widening, so the energy rises again somewhere above.
    top = std::max(top, m.Levels().back());
    int steps = 0;
    while (EnergySlope(m, q, top) < 0) {
      top = m.Lowest() + 2 * (top - m.Lowest());
      if (++steps > kDoublingCap) throw ArithmeticFault("no minimum of specific energy");
    }
  }
  // Samples at every point's elevation (where the energy may bend sharply) and evenly
  // between them, thinned out when the section has very many points.
  std::vector<double> marks{m.Lowest()};
  for (double level : m.Levels())
    if (level > m.Lowest() && level < top) marks.push_back(level);
  marks.push_back(top);
  const size_t stretches = marks.size() - 1;
  const size_t stride = std::max<size_t>(1, stretches / kCriticalSamples);
  const size_t parts = std::max<size_t>(1, kCriticalSamples / stretches);
  std::vector<double> samples;
  for (size_t i = 0; i < stretches; i += stride) {
    const double a = marks[i], b = marks[std::min(i + stride, stretches)];
    for (size_t p = 1; p <= parts; ++p) samples.push_back(a + (b - a) * p / parts);
  }
  double prevW = samples.front();
  double prevSlope = EnergySlope(m, q, prevW);
  for (size_t i = 1; i < samples.size(); ++i) {
    const double w = samples[i];
    const double slope = EnergySlope(m, q, w);
    if (prevSlope < 0 && slope >= 0) {
      // A minimum lies in (prevW, w]: bisect on the sign of the energy's slope.
      double lo = prevW, hi = w;
      for (int it = 0; it < kSectionSearchCap; ++it) {
        if (hi - lo <= kSectionDepthTolerance * (hi - m.Lowest())) break;
        const double mid = lo + (hi - lo) / 2;
        (EnergySlope(m, q, mid) < 0 ? lo : hi) = mid;
      }
      depths.push_back(lo + (hi - lo) / 2 - m.Lowest());
    }
    prevW = w;
    prevSlope = slope;
  }
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
        r.warnings.push_back("Specific energy has " + std::to_string(r.criticalDepths.size()) +
                             " minima: the section has several critical depths; the critical depth "
                             "given is the one of least energy.");
    } else {
      r.warnings.push_back(
          "Specific energy has no minimum below the bank-full level: the critical depth "
          "lies above the section.");
    }
    r.ok = true;
  } catch (const ArithmeticFault&) {
    r = SectionResults{};
    r.message = "The figures of this section overflow: check the points and the flow.";
  }
  return r;
}

}  // namespace rivulet
