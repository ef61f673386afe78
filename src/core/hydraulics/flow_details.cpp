#include "core/hydraulics/flow_details.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

// The same π the geometry routines get from the window.
const double kPi = 4 * std::atan(1.0);

// Manning's discharge A·R^(2/3)·S^(1/2)/n peaks where 5·P·dA/dy = 2·A·dP/dy. In a pipe
// dA/dy = T and dP/dy = 2D/T, so the sign of 5·T²·P − 4·A·D tells the rising side of the
// peak from the falling one: positive at half depth, negative at the crown where T = 0.
// [D/2, D] closes in about 52 halvings, far below the cap.
double PipePeakDepth(double d) {
  const ChannelSection pipe{SectionKind::Pipe, d, 0, 0};
  auto falling = [&](double y) {
    const SectionGeometry g = GeometryAt(pipe, y);
    return Checked(5 * g.topWidth * g.topWidth * g.perimeter) < Checked(4 * g.area * d);
  };
  Bracket b{d / 2, d};
  CloseBracket(b, falling);
  return Middle(b);
}

PipeFlowPoint PipeFlowAt(double d, double depth, double slope, double n) {
  const SectionGeometry g = GeometryAt({SectionKind::Pipe, d, 0, 0}, depth);
  PipeFlowPoint point;
  point.depth = std::min(depth, d);
  // A level pipe carries nothing whatever its n, even the 0 that solving for n gives it.
  point.velocity = slope == 0 ? 0 : ManningVelocity(HydraulicRadius(g.area, g.perimeter), slope, n);
  point.discharge = Mul(point.velocity, g.area);
  return point;
}

FlowRegime RegimeFor(double froude) {
  if (std::abs(froude - 1) <= kCriticalBand) return FlowRegime::Critical;
  return froude < 1 ? FlowRegime::Subcritical : FlowRegime::Supercritical;
}

// The class by its definition: the normal depth (the flow's own, uniform) against the critical
// depth, with the regime's band for "critical". Comparing S with the critical slope instead
// disagrees with the regime near a pipe's crown, where the discharge falls again with depth.
std::optional<SlopeClass> SlopeClassFor(double slope, FlowRegime regime, double depth,
                                        const CriticalDepthResult& critical) {
  if (slope == 0) return SlopeClass::Horizontal;
  if (critical.state != CriticalState::Found) return std::nullopt;
  if (regime == FlowRegime::Critical || depth == critical.depth) return SlopeClass::Critical;
  return depth > critical.depth ? SlopeClass::Mild : SlopeClass::Steep;
}

// Sign of dR/dy in a pipe: R = A/P rises while T²·P > 2·A·D (dP/dy = 2D/T), so the largest
// part-full velocity is where the two meet, near 0.81 D. Closed as PipePeakDepth.
double PipePeakVelocityDepth(double d) {
  const ChannelSection pipe{SectionKind::Pipe, d, 0, 0};
  auto falling = [&](double y) {
    const SectionGeometry g = GeometryAt(pipe, y);
    return Checked(g.topWidth * g.topWidth * g.perimeter) < Checked(2 * g.area * d);
  };
  Bracket b{d / 2, d};
  CloseBracket(b, falling);
  return Middle(b);
}

}  // namespace

SectionGeometry GeometryAt(const ChannelSection& s, double depth) {
  SectionGeometry g;
  double y = depth;
  switch (s.shape) {
    case SectionKind::Pipe: {
      const double d = s.diameter;
      const double theta = PipeAngle(y, d, kPi);  // a depth above the crown becomes the crown
      g.area = PipeArea(theta, d);
      g.perimeter = PipePerimeter(theta, d);
      // The chord 2·√(y·(D − y)) is D·sin(θ/2) without its cancellation near the crown.
      g.topWidth = y >= d ? 0 : 2 * Sqrt(Mul(y, d - y));
      break;
    }
    case SectionKind::Rectangle:
      g.area = TrapezoidArea(s.width, y, 0);
      g.perimeter = TrapezoidPerimeter(s.width, y, 0);
      g.topWidth = s.width;
      break;
    case SectionKind::Triangle:
      g.area = TrapezoidArea(0, y, s.side);
      g.perimeter = TrapezoidPerimeter(0, y, s.side);
      g.topWidth = Checked(2 * s.side * y);
      break;
    case SectionKind::Trapezoid:
      g.area = TrapezoidArea(s.width, y, s.side);
      g.perimeter = TrapezoidPerimeter(s.width, y, s.side);
      g.topWidth = Checked(s.width + 2 * s.side * y);
      break;
    case SectionKind::Gutter:
      g.area = GutterArea(s.width, y, s.side);
      g.perimeter = GutterPerimeter(s.width, y, s.side);
      g.topWidth = Checked(s.width + s.side * y);
      break;
  }
  return g;
}

CriticalDepthResult CriticalDepth(const ChannelSection& section, double discharge) {
  CriticalDepthResult result;
  if (!(discharge > 0)) return result;
  const double q2 = Mul(discharge, discharge);
  // At or above the critical depth g·A³ ≥ Q²·T. Compared without a division, the invert
  // (A = 0) and a pipe's crown (T = 0) need no case of their own.
  auto atOrAbove = [&](double y) {
    ++result.evaluations;
    const SectionGeometry g = GeometryAt(section, y);
    return Checked(kGravity * g.area * g.area * g.area) >= Mul(q2, g.topWidth);
  };
  // The surface of a pipe closes at the crown: always at or above there.
  Bracket b{0, section.diameter};
  // Open channels widen (or keep their width) upwards, so doubling finds a bracket; a
  // section that never carries it overflows into a fault.
  if (section.shape != SectionKind::Pipe) WidenUpward(b, atOrAbove);
  result.end = CloseBracket(b, atOrAbove);
  const double depth = Middle(b);
  if (section.shape == SectionKind::Pipe && depth >= section.diameter * (1 - kCrownGap)) {
    result.state = CriticalState::NoneBelowCrown;
    return result;
  }
  result.state = CriticalState::Found;
  result.depth = depth;
  return result;
}

double SlopeForUniformFlow(const ChannelSection& section, double depth, double discharge,
                           double n) {
  const SectionGeometry g = GeometryAt(section, depth);
  const double velocity = Div(discharge, g.area);
  const double radius = HydraulicRadius(g.area, g.perimeter);
  return Pow(Div(Mul(velocity, n), Pow(radius, kTwoThirds)), 2);
}

PipeFlowPoint PipeFullFlow(double diameter, double slope, double n) {
  return PipeFlowAt(diameter, diameter, slope, n);
}

PipeFlowPoint PipeMaximumFlow(double diameter, double slope, double n) {
  return PipeFlowAt(diameter, PipePeakDepth(diameter), slope, n);
}

PipeCapacity ClassifyPipeDischarge(double discharge, const PipeFlowPoint& full,
                                   const PipeFlowPoint& maximum) {
  if (!(discharge > 0)) return PipeCapacity::NoFlow;
  if (discharge < full.discharge) return PipeCapacity::OneDepth;
  if (discharge <= maximum.discharge) return PipeCapacity::TwoDepths;
  return PipeCapacity::AboveMaximum;
}

const char* RegimeName(FlowRegime regime) {
  switch (regime) {
    case FlowRegime::Subcritical:
      return "Subcritical";
    case FlowRegime::Critical:
      return "Critical";
    case FlowRegime::Supercritical:
      return "Supercritical";
    case FlowRegime::RunningFull:
      return "None: running full";
  }
  return "";
}

const char* SlopeClassName(SlopeClass slopeClass) {
  switch (slopeClass) {
    case SlopeClass::Horizontal:
      return "Horizontal";
    case SlopeClass::Mild:
      return "Mild";
    case SlopeClass::Critical:
      return "Critical";
    case SlopeClass::Steep:
      return "Steep";
  }
  return "";
}

std::optional<FlowDetails> ComputeFlowDetails(const FlowState& state) {
  try {
    const ChannelSection& section = state.section;
    const bool pipe = section.shape == SectionKind::Pipe;
    FlowDetails f;
    f.depth = pipe ? std::min(state.depth, section.diameter) : state.depth;
    const SectionGeometry g = GeometryAt(section, f.depth);
    if (!(g.area > 0 && g.perimeter > 0)) return std::nullopt;
    f.area = g.area;
    f.wettedPerimeter = g.perimeter;
    f.hydraulicRadius = HydraulicRadius(g.area, g.perimeter);
    f.topWidth = g.topWidth;
    f.velocity = Div(state.discharge, g.area);
    f.velocityHead = Div(Mul(f.velocity, f.velocity), 2 * kGravity);
    f.specificEnergy = Checked(f.depth + f.velocityHead);
    // Within a millionth of the diameter of the crown a pipe's surface is a sliver: A/T and
    // the Froude number made from it are artefacts of the last digits, not a free surface.
    const bool atCrown = pipe && f.depth >= section.diameter * (1 - kCrownGap);
    if (g.topWidth > 0 && !atCrown) {
      f.hydraulicDepth = Div(g.area, g.topWidth);
      f.froude = Div(f.velocity, Sqrt(Mul(kGravity, *f.hydraulicDepth)));
      f.regime = RegimeFor(*f.froude);
    } else {
      f.regime = FlowRegime::RunningFull;  // only a full pipe has no surface width
    }

    f.critical = CriticalDepth(section, state.discharge);
    if (f.critical.state == CriticalState::Found) {
      f.criticalVelocity = Div(state.discharge, GeometryAt(section, f.critical.depth).area);
      f.criticalSlope = SlopeForUniformFlow(section, f.critical.depth, state.discharge, state.n);
    }
    f.slopeClass = SlopeClassFor(state.slope, f.regime, f.depth, f.critical);

    f.averageShear = Checked(kUnitWeight * f.hydraulicRadius * state.slope);
    f.maximumShear = Checked(kUnitWeight * f.depth * state.slope);

    if (pipe) {
      PipeDetails p;
      p.percentFull = Checked(100 * f.depth / section.diameter);
      p.full = PipeFullFlow(section.diameter, state.slope, state.n);
      p.maximum = PipeMaximumFlow(section.diameter, state.slope, state.n);
      if (f.regime == FlowRegime::RunningFull) {
        p.capacity = PipeCapacity::RunningFull;
        p.requestedDischarge = state.requestedDischarge;
        p.requestedVelocity = state.requestedVelocity;
        if (p.requestedDischarge && *p.requestedDischarge > p.maximum.discharge)
          p.capacity = PipeCapacity::AboveMaximum;
        if (p.requestedVelocity) {
          p.maximumVelocity = PipeFlowAt(section.diameter, PipePeakVelocityDepth(section.diameter),
                                         state.slope, state.n);
          if (*p.requestedVelocity > p.maximumVelocity->velocity)
            p.capacity = PipeCapacity::AboveMaximum;
        }
      } else {
        p.capacity = ClassifyPipeDischarge(state.discharge, p.full, p.maximum);
        // A part-full depth carries it, so it is not above the maximum: a discharge at the
        // peak may round a few bits above the peak found here.
        if (p.capacity == PipeCapacity::AboveMaximum) p.capacity = PipeCapacity::TwoDepths;
      }
      f.pipe = p;
    }
    return f;
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

}  // namespace rivulet
