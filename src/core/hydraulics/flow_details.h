// The hydraulic state of a solved section beyond what the sheet shows: the geometry at the
// flow depth, energy, Froude number and regime, critical flow, boundary shear and, for a
// circular pipe, its full-flow and peak capacities. Base units throughout: m, m², m/s,
// m³/s, m/m, side slopes as x horizontal per 1 vertical, shear in Pa.
#pragma once

#include <optional>

#include "core/hydraulics/searches.h"
#include "core/hydraulics/section_kind.h"

namespace rivulet {

/// Standard gravity (m/s²) and the density of water (kg/m³) behind every energy, Froude and
/// shear figure.
inline constexpr double kGravity = 9.80665;
inline constexpr double kWaterDensity = 1000;
/// Unit weight of water γ = ρ·g (N/m³).
inline constexpr double kUnitWeight = kWaterDensity * kGravity;
/// A Froude number within this of 1 counts as critical flow; a channel slope within this
/// fraction of the critical slope counts as a critical slope.
inline constexpr double kCriticalBand = 0.01;
/// A pipe's critical depth is sought up to its crown; one closer to the crown than this
/// fraction of the diameter means the surface has closed: none below the crown.
inline constexpr double kCrownGap = 1e-6;

/// A cross-section: lengths in metres, side slope as x horizontal per 1 vertical.
struct ChannelSection {
  SectionKind shape = SectionKind::Rectangle;
  double diameter = 0;  ///< circular pipe
  double width = 0;     ///< bottom width of the rectangle, trapezoid and gutter
  double side = 0;      ///< side slope of the triangle, trapezoid and gutter
  bool operator==(const ChannelSection&) const = default;
};

/// Flow area (m²), wetted perimeter (m) and water-surface width (m) at one depth.
struct SectionGeometry {
  double area = 0;
  double perimeter = 0;
  double topWidth = 0;
};

/// The section's geometry at depth (m); a pipe's depth above its crown counts as the crown.
/// Faults (a zero diameter) raise ArithmeticFault.
SectionGeometry GeometryAt(const ChannelSection& section, double depth);

enum class CriticalState { Found, NoFlow, NoneBelowCrown };

struct CriticalDepthResult {
  CriticalState state = CriticalState::NoFlow;
  /// Depth (m) at which Q²·T / (g·A³) = 1; 0 unless found.
  double depth = 0;
  /// Geometry evaluations of the search.
  int evaluations = 0;
  /// HitCap when the bracket did not close within its halvings (a test that is not monotone).
  SearchEnd end = SearchEnd::Converged;
};

/// Critical depth (m) of discharge (m³/s) in the section, by bisection on its own geometry:
/// upward from the invert for open channels, up to the crown for a pipe. No discharge has
/// none. A section that never widens to carry it raises ArithmeticFault.
CriticalDepthResult CriticalDepth(const ChannelSection& section, double discharge);

/// Slope (m/m) at which Manning's equation carries discharge (m³/s) at depth (m) with
/// roughness n: at the critical depth, the critical slope.
double SlopeForUniformFlow(const ChannelSection& section, double depth, double discharge, double n);

/// A depth (m) of a circular pipe with its discharge (m³/s) and velocity (m/s).
struct PipeFlowPoint {
  double depth = 0;
  double discharge = 0;
  double velocity = 0;
};

/// Manning's flow of a pipe of diameter (m) running full at slope (m/m) with roughness n.
PipeFlowPoint PipeFullFlow(double diameter, double slope, double n);

/// The largest discharge a part-full pipe carries and the depth carrying it (about 0.938 of
/// the diameter), found by searching the pipe's discharge curve.
PipeFlowPoint PipeMaximumFlow(double diameter, double slope, double n);

/// Where a discharge stands against a pipe's capacities.
enum class PipeCapacity {
  NoFlow,        ///< nothing flows (a level pipe)
  OneDepth,      ///< below full flow: one part-full depth carries it
  TwoDepths,     ///< from full flow to the maximum: two depths carry it
  AboveMaximum,  ///< beyond the maximum: no open-channel depth, the pipe surcharges
  RunningFull,   ///< the solution is the pipe running full
};

/// The class of discharge (m³/s) against the full and maximum flows of its pipe.
PipeCapacity ClassifyPipeDischarge(double discharge, const PipeFlowPoint& full,
                                   const PipeFlowPoint& maximum);

enum class FlowRegime { Subcritical, Critical, Supercritical, RunningFull };
enum class SlopeClass { Horizontal, Mild, Critical, Steep };

/// "Subcritical", "Critical", "Supercritical" or "None: running full".
const char* RegimeName(FlowRegime regime);
/// "Horizontal", "Mild", "Critical" or "Steep".
const char* SlopeClassName(SlopeClass slopeClass);

/// A solved section: its dimensions, depth, slope, roughness and discharge.
struct FlowState {
  ChannelSection section;
  double depth = 0;      ///< m
  double slope = 0;      ///< m/m
  double n = 0;          ///< Manning's n
  double discharge = 0;  ///< m³/s
  /// The discharge (m³/s) asked for when no part-full depth carried it and the pipe was
  /// solved running full instead.
  std::optional<double> requestedDischarge;
  /// The same for a velocity (m/s) asked for.
  std::optional<double> requestedVelocity = std::nullopt;
};

struct PipeDetails {
  /// Depth over diameter, in per cent.
  double percentFull = 0;
  PipeFlowPoint full;
  PipeFlowPoint maximum;
  PipeCapacity capacity = PipeCapacity::OneDepth;
  /// What was asked for when the pipe was solved running full instead (m³/s, m/s).
  std::optional<double> requestedDischarge;
  std::optional<double> requestedVelocity;
  /// The largest part-full velocity, worked out when a velocity was asked for.
  std::optional<PipeFlowPoint> maximumVelocity;
};

struct FlowDetails {
  double depth = 0;
  double area = 0;
  double wettedPerimeter = 0;
  double hydraulicRadius = 0;
  double topWidth = 0;
  /// A / T; none for a pipe running full, which has no free surface.
  std::optional<double> hydraulicDepth;
  double velocity = 0;
  /// V² / 2g (m).
  double velocityHead = 0;
  /// Depth plus velocity head (m).
  double specificEnergy = 0;
  std::optional<double> froude;
  FlowRegime regime = FlowRegime::Subcritical;
  CriticalDepthResult critical;
  std::optional<double> criticalVelocity;
  std::optional<double> criticalSlope;
  /// Against the critical slope; none when there is no critical depth to compare with.
  std::optional<SlopeClass> slopeClass;
  /// γ·R·S and γ·y·S (Pa).
  double averageShear = 0;
  double maximumShear = 0;
  std::optional<PipeDetails> pipe;
};

/// Everything above for a solved section; nullopt when the section holds no water (zero
/// area or perimeter) or a figure overflows.
std::optional<FlowDetails> ComputeFlowDetails(const FlowState& state);

}  // namespace rivulet
