// The energy-loss method of a storm sewer's grade line, one piece at a time: the energy just
// inside a pipe's outlet from the level in the structure below it, the energy at its
// upstream end, and the energy level in an access hole from its outflow and inflows. Base
// units: m, m³/s, m/s; levels are elevations unless they say "above the invert".
#pragma once

#include <vector>

#include "core/networks/network.h"

namespace rivulet {

/// Exit loss coefficient of a pipe into an access hole (Ko) and into a pool (the outfall).
inline constexpr double kExitLossAccessHole = 0.4;
inline constexpr double kExitLossPool = 1.0;
/// Outlet-control loss of the flow into the outflow pipe, Ki.
inline constexpr double kEntranceLoss = 0.2;
/// Inlet control as a weir: Eaiu = 1.6 · Do · DI^0.67.
inline constexpr double kWeirControl = 1.6;
inline constexpr double kWeirExponent = 0.67;
/// Angled inflow: Cθ = 4.5 · (ΣQj / Qo) · cos(θw / 2).
inline constexpr double kAngleFactor = 4.5;
/// A plunging inflow's drop counts up to this many outflow diameters.
inline constexpr double kPlungeCap = 10;

/// A pipe's flow as the grade line needs it: its size and the depths of its discharge.
struct PipeFlow {
  double diameter = 0;
  double discharge = 0;
  double slope = 0;  ///< m/m, from its inverts
  double n = 0;
  double length = 0;
  double normalDepth = 0;    ///< the diameter when no part-full depth carries the discharge
  double criticalDepth = 0;  ///< the diameter when the surface closes first
};

/// The normal and critical depths of the discharge in the pipe (filled into a PipeFlow).
PipeFlow DescribePipeFlow(double diameter, double discharge, double slope, double n, double length);

/// Velocity head (m) of the discharge at depth (m) in the pipe; the full area above its crown.
double VelocityHeadAt(const PipeFlow& pipe, double depth);

/// Full-flow friction slope (Q·n / (A·R^(2/3)))².
double FullFlowFrictionSlope(const PipeFlow& pipe);

struct PipeEnd {
  char label = 'A';      ///< the outlet's case A–E or the upstream end's condition A–D
  double energy = 0;     ///< EGL elevation
  double hydraulic = 0;  ///< HGL elevation
};

/// The energy just inside the outlet of a pipe whose invert there is outletInvert, from the
/// energy level (elevation) in the structure or pool below and its exit loss coefficient.
PipeEnd OutletEnergy(const PipeFlow& pipe, double outletInvert, double energyBelow,
                     double exitLoss);

/// The energy at the pipe's upstream end from its outlet's, and the friction slope used.
PipeEnd InletEnergy(const PipeFlow& pipe, double outletInvert, const PipeEnd& outlet,
                    double* frictionSlope);

/// Benching coefficient CB for the floor at Eai/Do, interpolated between the unsubmerged
/// (≤ 1) and submerged (≥ 2.5) columns.
double BenchingCoefficient(Benching benching, double submergence);

/// One flow entering an access hole.
struct AccessHoleInflow {
  double discharge = 0;  ///< m³/s
  double height = 0;     ///< its invert above the structure's invert, m (a surface inflow: the rim)
  double angle = 180;    ///< degrees to the outflow pipe; 180 straight through
  bool surface = false;  ///< runoff falling in from the surface, always taken as plunging
};

struct AccessHoleInput {
  double outflowDiameter = 0;
  double outflowDischarge = 0;
  double outflowEnergy = 0;           ///< Ei, m above the outflow invert
  double outflowVelocityHead = 0;     ///< at the outflow pipe's upstream end
  bool outflowSupercritical = false;  ///< the outflow pipe's upstream end in condition D
  Benching benching = Benching::Flat;
  std::vector<AccessHoleInflow> inflows;
};

struct AccessHoleEnergy {
  double outletControl = 0;     ///< Eaio
  double inletSubmerged = 0;    ///< Eais
  double inletUnsubmerged = 0;  ///< Eaiu
  double initial = 0;           ///< Eai
  GoverningTerm governing = GoverningTerm::OutletControl;
  double benching = 0;    ///< CB
  double angle = 0;       ///< Cθ
  double plunge = 0;      ///< CP
  double adjustment = 0;  ///< Ha
  double level = 0;       ///< Ea, m above the invert
};

/// The energy level in an access hole by the initial level and its three adjustments.
AccessHoleEnergy AccessHoleLevel(const AccessHoleInput& in);

/// A junction without a structure, by momentum: the loss (m, never below 0) from the
/// outflow's discharge and velocity and each inflow's, the inflow nearest to straight
/// through taken as the main one.
struct JunctionFlow {
  double discharge = 0;
  double velocity = 0;
  double area = 0;
  double angle = 180;
};
double JunctionLoss(const JunctionFlow& outflow, const std::vector<JunctionFlow>& inflows);

}  // namespace rivulet
