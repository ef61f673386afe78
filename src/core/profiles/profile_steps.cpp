#include "core/profiles/profile_steps.h"

#include <cmath>
#include <functional>
#include <limits>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

// The energy balance of a standard step is met to this (m): far below any survey's
// resolution, so the profile does not depend on where the search happened to stop.
constexpr FalsePositionRule kEnergyBalance{1e-10, 0, kFalsePositionCap};
// Halvings of the depth looking for the shallow end of a supercritical bracket.
constexpr int kShallowHalvings = 200;
// Depth steps of each trial in the search for where an unbounded profile ends.
constexpr int kTrialSteps = 100;

double Sf(const SectionHydraulics& h, double q) {
  const double r = Div(q, h.conveyance);
  return r * r;
}

}  // namespace

double AverageFrictionSlope(const SectionHydraulics& a, const SectionHydraulics& b, double q,
                            FrictionAveraging averaging) {
  const double s1 = Sf(a, q), s2 = Sf(b, q);
  switch (averaging) {
    case FrictionAveraging::AverageConveyance: {
      const double r = Div(2 * q, a.conveyance + b.conveyance);
      return r * r;
    }
    case FrictionAveraging::AverageFrictionSlope:
      return (s1 + s2) / 2;
    case FrictionAveraging::GeometricMean:
      return Sqrt(s1 * s2);
    case FrictionAveraging::HarmonicMean:
      return Div(2 * s1 * s2, s1 + s2);
    case FrictionAveraging::MeanHydraulics: {
      // Each end's n as its conveyance implies it: the survey's composite n, or the one n.
      const double r1 = Div(a.area, a.perimeter), r2 = Div(b.area, b.perimeter);
      const double n1 = Div(a.area * Pow(r1, kTwoThirds), a.conveyance);
      const double n2 = Div(b.area * Pow(r2, kTwoThirds), b.conveyance);
      const double v = (q / a.area + q / b.area) / 2;
      const double r = (r1 + r2) / 2;
      const double s = Div((n1 + n2) / 2 * v, Pow(r, kTwoThirds));
      return s * s;
    }
  }
  return (s1 + s2) / 2;
}

ComputedProfile StandardStep(const std::vector<ReachNode>& nodes, double y0, bool supercritical,
                             const StepSettings& settings,
                             const std::function<std::string(double)>& lengthText) {
  ComputedProfile out;
  const double q = settings.discharge;
  const size_t count = nodes.size();
  const auto nodeAt = [&](size_t k) -> const ReachNode& {
    return supercritical ? nodes[count - 1 - k] : nodes[k];
  };
  double y1 = y0;
  out.points.push_back({nodeAt(0).station, y0});
  for (size_t k = 1; k < count; ++k) {
    const ReachNode& known = nodeAt(k - 1);
    const ReachNode& next = nodeAt(k);
    const std::string between =
        "between stations " + lengthText(known.station) + " and " + lengthText(next.station);
    try {
      const SectionHydraulics h1 = known.section->At(y1);
      const double hv1 = VelocityHead(h1, q);
      const double head1 = known.bed + y1 + hv1;
      const double length = std::abs(next.station - known.station);
      // Energy at the unknown section less what the balance asks of it: rises with the
      // depth on the subcritical branch, falls on the supercritical one.
      const auto imbalance = [&](double y2) {
        const SectionHydraulics h2 = next.section->At(y2);
        const double hv2 = VelocityHead(h2, q);
        const double down = supercritical ? hv2 : hv1, up = supercritical ? hv1 : hv2;
        const double c = down > up ? settings.contraction : settings.expansion;
        const double loss =
            length * AverageFrictionSlope(h1, h2, q, settings.averaging) + c * std::abs(hv2 - hv1);
        const double head2 = next.bed + y2 + hv2;
        return supercritical ? head2 - head1 + loss : head2 - head1 - loss;
      };
      const double yc = next.criticalDepth;
      if (imbalance(yc) > 0) {
        out.reachedCritical = true;
        out.stopped = "reaches critical depth " + between +
                      (supercritical ? " (the flow has too little energy to stay supercritical)"
                                     : " (the energy there cannot carry the flow subcritically)");
        return out;
      }
      SearchResult found;
      if (!supercritical) {
        const auto rising = [&](double y) { return imbalance(y); };
        Bracket b{yc, next.section->Ceiling()};
        if (std::isfinite(b.above)) {
          if (imbalance(b.above) < 0) {
            out.stopped =
                "rises above the top of the section at station " + lengthText(next.station);
            return out;
          }
        } else {
          WidenUpward(b, [&](double y) { return imbalance(y) >= 0; });
        }
        found = FalsePosition(b, rising, kEnergyBalance);
      } else {
        const auto rising = [&](double y) { return -imbalance(y); };
        double shallow = std::min(y1, yc) / 2;
        for (int i = 0; i < kShallowHalvings && rising(shallow) >= 0; ++i) shallow /= 2;
        found = FalsePosition({shallow, yc}, rising, kEnergyBalance);
      }
      out.iterations += found.evaluations;
      if (found.end != SearchEnd::Converged) {
        out.stopped = "does not converge " + between;
        return out;
      }
      y1 = found.value;
      out.points.push_back({next.station, y1});
    } catch (const ArithmeticFault&) {
      out.stopped = "cannot be computed " + between + " (the arithmetic fails)";
      return out;
    }
  }
  return out;
}

namespace {

// A direct-step run from y0 by equal depth steps towards limit, with the station change of
// each: what the search for an unbounded profile's end and the profile itself share.
struct DirectRun {
  const PrismaticReach& reach;
  const StepSettings& settings;
  double direction;  // +1 upstream, −1 downstream

  // Station change (m, signed) of the step from depth a to b.
  double Step(const SectionHydraulics& ha, double a, const SectionHydraulics& hb, double b) const {
    const double q = settings.discharge;
    const double de = (b + VelocityHead(hb, q)) - (a + VelocityHead(ha, q));
    return Div(de, AverageFrictionSlope(ha, hb, q, settings.averaging) - reach.slope);
  }

  // Distance (m) from y0 to y1 in `steps` equal steps; infinity once a step turns back.
  double Distance(double y0, double y1, int steps) const {
    const ProfileSection& s = *reach.node.section;
    double total = 0, y = y0;
    SectionHydraulics h = s.At(y);
    for (int k = 1; k <= steps; ++k) {
      const double y2 = y0 + (y1 - y0) * k / steps;
      const SectionHydraulics h2 = s.At(y2);
      const double ds = Step(h, y, h2, y2) * direction;
      if (!(ds > 0)) return std::numeric_limits<double>::infinity();
      total += ds;
      y = y2;
      h = h2;
    }
    return total;
  }
};

}  // namespace

ComputedProfile DirectStep(const PrismaticReach& reach, double y0, bool supercritical,
                           int numberOfSteps, double depthIncrement, const StepSettings& settings,
                           const std::function<std::string(double)>& lengthText) {
  ComputedProfile out;
  const ProfileSection& section = *reach.node.section;
  const double yc = reach.node.criticalDepth;
  const std::optional<double> yn = reach.node.normalDepth;
  const double direction = supercritical ? -1 : 1;
  const double start = supercritical ? reach.length : 0;
  const double end = supercritical ? 0 : reach.length;
  out.points.push_back({start, y0});
  if (yn && std::abs(y0 - *yn) <= kNormalApproach * *yn) {
    out.normalFrom = start;
    out.points.push_back({end, y0});
    return out;
  }
  const bool mild = yn && *yn > yc * (1 + kCriticalSlopeBand);
  const bool steep = yn && *yn < yc * (1 - kCriticalSlopeBand);
  const double ceiling = section.Ceiling();
  // Where the profile tends: normal depth (approached, never reached), critical depth, or,
  // on a level or adverse bed going upstream, ever deeper water.
  double limit = yc;
  bool toNormal = false, unbounded = false;
  if (!supercritical && mild) {
    toNormal = true;
    limit = *yn * (y0 > *yn ? 1 + kNormalApproach : 1 - kNormalApproach);
  } else if (supercritical && steep) {
    toNormal = true;
    limit = *yn * (y0 > *yn ? 1 + kNormalApproach : 1 - kNormalApproach);
  } else if (!supercritical && !yn) {
    unbounded = true;
  }
  const DirectRun run{reach, settings, direction};
  try {
    if (unbounded) {
      // Equal steps need an end depth: the one the reach's length reaches, found closely
      // enough by coarser runs. The profile itself goes on past it if it falls short.
      double lo = y0, hi = std::max(2 * y0, yc * 2);
      for (int i = 0; i < 60 && run.Distance(y0, hi, kTrialSteps) < reach.length; ++i) {
        lo = hi;
        hi *= 2;
      }
      for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        (run.Distance(y0, mid, kTrialSteps) < reach.length ? lo : hi) = mid;
      }
      limit = std::min(hi, ceiling);
    }
    const double span = limit - y0;
    double dy = numberOfSteps > 0 ? span / numberOfSteps : std::copysign(depthIncrement, span);
    if (!(std::abs(dy) > 0)) {
      out.stopped = "has no room to vary from its control depth";
      out.reachedCritical = true;
      return out;
    }
    double s = start, y = y0;
    SectionHydraulics h = section.At(y);
    bool reached = false;
    for (int k = 1; k <= kMaxProfileSteps && !reached; ++k) {
      double y2 = y0 + dy * k;
      const bool last = !unbounded && std::abs(y2 - y0) >= std::abs(span);
      if (last) y2 = limit;
      if (y2 >= ceiling) {
        out.stopped = "fills the section at station " + lengthText(s);
        return out;
      }
      const SectionHydraulics h2 = section.At(y2);
      const double ds = run.Step(h, y, h2, y2);
      if (!(ds * direction > 0)) {
        out.stopped = "cannot step on from station " + lengthText(s);
        return out;
      }
      if ((s + ds - end) * direction >= 0) {
        const double t = (end - s) / ds;
        out.points.push_back({end, y + t * (y2 - y)});
        return out;
      }
      s += ds;
      y = y2;
      h = h2;
      out.points.push_back({s, y});
      reached = last;
    }
    if (!reached) {
      out.stopped = "needs more steps than the " + std::to_string(kMaxProfileSteps) + " allowed";
      return out;
    }
  } catch (const ArithmeticFault&) {
    out.stopped = "cannot be computed beyond station " + lengthText(out.points.back().station) +
                  " (the arithmetic fails)";
    return out;
  }
  if (toNormal) {
    out.normalFrom = out.points.back().station;
    out.points.push_back({end, out.points.back().depth});
  } else {
    out.reachedCritical = true;
    out.stopped = "reaches critical depth at station " + lengthText(out.points.back().station);
  }
  return out;
}

}  // namespace rivulet
