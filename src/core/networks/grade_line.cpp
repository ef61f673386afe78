#include "core/networks/grade_line.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/design/standard_sizes.h"
#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"

namespace rivulet {
namespace {

ChannelSection Pipe(double diameter) { return {SectionKind::Pipe, diameter, 0, 0}; }

double FullArea(double diameter) { return std::numbers::pi * diameter * diameter / 4; }

// The subcritical depth whose specific energy is e (m above the invert), between the
// critical depth and the crown; the critical depth when e is below its energy, the crown
// when above the full pipe's.
double SubcriticalDepthFor(const PipeFlow& pipe, double e) {
  const auto excess = [&](double y) { return y + VelocityHeadAt(pipe, y) - e; };
  const double low = pipe.criticalDepth;
  const double high = pipe.diameter;
  if (!(low < high) || excess(low) >= 0) return low;
  if (excess(high) <= 0) return high;
  const FalsePositionRule rule{0, high * 1e-12};
  return FalsePosition({low, high}, excess, rule).value;
}

}  // namespace

PipeFlow DescribePipeFlow(double diameter, double discharge, double slope, double n,
                          double length) {
  PipeFlow f{diameter, discharge, slope, n, length, 0, 0};
  if (!(discharge > 0)) return f;
  f.normalDepth = discharge <= PipeMaximumFlow(diameter, slope, n).discharge
                      ? PipeNormalDepth(diameter, slope, n, discharge)
                      : diameter;
  const CriticalDepthResult critical = CriticalDepth(Pipe(diameter), discharge);
  f.criticalDepth = critical.state == CriticalState::Found ? critical.depth : diameter;
  return f;
}

double VelocityHeadAt(const PipeFlow& pipe, double depth) {
  if (!(pipe.discharge > 0)) return 0;
  const double area = GeometryAt(Pipe(pipe.diameter), std::min(depth, pipe.diameter)).area;
  const double v = Div(pipe.discharge, area);
  return v * v / (2 * kGravity);
}

double FullFlowFrictionSlope(const PipeFlow& pipe) {
  const double area = FullArea(pipe.diameter);
  const double conveyance = area * std::pow(pipe.diameter / 4, 2.0 / 3.0) / pipe.n;
  const double ratio = Div(pipe.discharge, conveyance);
  return ratio * ratio;
}

PipeEnd OutletEnergy(const PipeFlow& p, double invert, double below, double exitLoss) {
  const double h = below - invert;  // the level below, above this pipe's outlet invert
  const double normalEnergy = invert + p.normalDepth + VelocityHeadAt(p, p.normalDepth);
  const auto submergedAt = [&](char label, double depth) {
    const double head = VelocityHeadAt(p, depth);
    const double energy = below + exitLoss * head;
    return PipeEnd{label, energy, energy - head};
  };
  const auto normal = [&](char label) {
    return PipeEnd{label, normalEnergy, invert + p.normalDepth};
  };
  // Levels that meet a band's edge to within rounding (a tailwater set at the normal
  // depth, say) count as on the edge, so the case does not hang on the last bit.
  const double tie = 1e-9 * p.diameter;
  if (h >= p.diameter - tie) return submergedAt('A', p.diameter);
  // Supercritical flow is not held up by a level below its crown: a steep pipe whose outlet
  // is not drowned leaves at its own normal depth, as one discharging freely.
  if (h <= tie || p.normalDepth < p.criticalDepth) return normal('E');
  if (h > p.normalDepth + tie) return submergedAt('B', h);
  if (h > p.criticalDepth + tie) {
    // The tailwater or the flow's own normal depth, whichever holds more energy.
    const PipeEnd tail = submergedAt('C', h);
    return tail.energy >= normalEnergy ? tail : normal('C');
  }
  return normal('D');
}

PipeEnd InletEnergy(const PipeFlow& p, double outletInvert, const PipeEnd& outlet,
                    double* frictionSlope) {
  const double invert = outletInvert + p.slope * p.length;
  const double crown = invert + p.diameter;
  // A free outlet leaves the pipe at its own normal depth, part-full unless the pipe cannot
  // carry its flow part-full at all.
  const bool downstreamControl = outlet.label == 'A' || outlet.label == 'B' || outlet.label == 'C';
  const double fullSlope = FullFlowFrictionSlope(p);
  if (downstreamControl || p.normalDepth >= p.diameter) {
    const double energy = outlet.energy + fullSlope * p.length;
    const double hydraulic = energy - VelocityHeadAt(p, p.diameter);
    if (hydraulic >= crown - 1e-9 * std::max(1.0, std::abs(crown))) {
      *frictionSlope = fullSlope;
      return {'A', energy, hydraulic};
    }
  }
  *frictionSlope = p.slope;
  if (p.normalDepth < p.criticalDepth || !downstreamControl) {
    const char label = p.normalDepth < p.criticalDepth ? 'D' : 'C';
    return {label, invert + p.normalDepth + VelocityHeadAt(p, p.normalDepth),
            invert + p.normalDepth};
  }
  // Part-full and subcritical: the outlet's specific energy carried up the pipe's slope.
  const double y = SubcriticalDepthFor(p, outlet.energy - outletInvert);
  const double energy = invert + y + VelocityHeadAt(p, y);
  const double tie = 1e-9 * p.diameter;
  const char label = y > p.normalDepth + tie ? 'B' : (y > p.criticalDepth + tie ? 'C' : 'D');
  return {label, energy, invert + y};
}

double BenchingCoefficient(Benching benching, double submergence) {
  double submerged = 0, unsubmerged = 0;
  switch (benching) {
    case Benching::Flat:
      submerged = unsubmerged = -0.05;
      break;
    case Benching::Depressed:
      break;
    case Benching::HalfBenched:
      submerged = -0.05, unsubmerged = -0.85;
      break;
    case Benching::FullBenched:
      submerged = -0.25, unsubmerged = -0.93;
      break;
    case Benching::Improved:
      submerged = -0.60, unsubmerged = -0.98;
      break;
  }
  const double t = std::clamp((submergence - 1.0) / 1.5, 0.0, 1.0);
  return unsubmerged + (submerged - unsubmerged) * t;
}

AccessHoleEnergy AccessHoleLevel(const AccessHoleInput& in) {
  AccessHoleEnergy e;
  const double d = in.outflowDiameter;
  const double qo = in.outflowDischarge;
  // A supercritical outflow pipe cannot hold the structure's level up from its outlet.
  e.outletControl =
      in.outflowSupercritical ? 0 : in.outflowEnergy + kEntranceLoss * in.outflowVelocityHead;
  const double intensity = Div(qo, FullArea(d) * Sqrt(kGravity * d));
  e.inletSubmerged = d * intensity * intensity;
  e.inletUnsubmerged = kWeirControl * d * Pow(intensity, kWeirExponent);
  e.initial = e.outletControl;
  if (e.inletSubmerged > e.initial) {
    e.initial = e.inletSubmerged;
    e.governing = GoverningTerm::InletSubmerged;
  }
  if (e.inletUnsubmerged > e.initial) {
    e.initial = e.inletUnsubmerged;
    e.governing = GoverningTerm::InletUnsubmerged;
  }

  bool pipeInflow = false;
  double straightQ = 0, weightedAngle = 0, plunge = 0;
  for (const AccessHoleInflow& f : in.inflows) {
    pipeInflow = pipeInflow || !f.surface;
    if (!f.surface && f.height <= e.initial) {
      straightQ += f.discharge;
      weightedAngle += f.discharge * std::min(f.angle, 180.0);
    } else {
      const double drop = (std::min(f.height, kPlungeCap * d) - e.initial) / d;
      if (drop > 0) plunge += f.discharge * drop;
    }
  }
  // A head structure has no floor flow for benching to guide.
  e.benching = pipeInflow ? BenchingCoefficient(in.benching, e.initial / d) : 0;
  if (qo > 0) {
    if (straightQ > 0) {
      // Straight through turns nothing: exactly 0, not cos(π/2)'s rounding.
      const double degrees = weightedAngle / straightQ;
      const double half = degrees >= 180 ? 0 : std::cos(degrees * std::numbers::pi / 360);
      e.angle = kAngleFactor * straightQ / qo * half;
    }
    e.plunge = plunge / qo;
  }
  e.adjustment = std::max(0.0, (e.benching + e.angle + e.plunge) * (e.initial - in.outflowEnergy));
  e.level = std::max(e.initial + e.adjustment, in.outflowEnergy);
  return e;
}

double JunctionLoss(const JunctionFlow& out, const std::vector<JunctionFlow>& inflows) {
  if (inflows.empty()) return 0;
  const auto main = std::max_element(
      inflows.begin(), inflows.end(),
      [](const JunctionFlow& a, const JunctionFlow& b) { return a.angle < b.angle; });
  // Each inflow's momentum along the outflow: straight through (180°) counts whole.
  double momentumIn = 0;
  for (const JunctionFlow& f : inflows)
    momentumIn += f.discharge * f.velocity * std::cos((180 - f.angle) * std::numbers::pi / 180);
  const double headIn = main->velocity * main->velocity / (2 * kGravity);
  const double headOut = out.velocity * out.velocity / (2 * kGravity);
  const double loss =
      Div(out.discharge * out.velocity - momentumIn, 0.5 * kGravity * (out.area + main->area)) +
      headIn - headOut;
  return std::max(0.0, loss);
}

}  // namespace rivulet
