// The water-surface profile of a reach: gradually varied flow computed from each control in
// the direction its regime needs (subcritical upstream from the downstream end, supercritical
// downstream from the upstream end), by direct step or standard step, with the hydraulic jump
// placed where the two profiles' momentum balances. Stations increase upstream; base units
// (m, m², m/s, m³/s, m/m).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/flow_details.h"
#include "core/sections/section_model.h"

namespace rivulet {

enum class ProfileChannel { Prismatic, Sections };
enum class ProfileMethod { DirectStep, StandardStep };
/// How the friction slope is averaged over a step.
enum class FrictionAveraging {
  AverageConveyance,     ///< [2Q/(K1 + K2)]²
  AverageFrictionSlope,  ///< (Sf1 + Sf2)/2
  GeometricMean,         ///< √(Sf1·Sf2)
  HarmonicMean,          ///< 2·Sf1·Sf2/(Sf1 + Sf2)
  MeanHydraulics,        ///< (n·V̄/R̄^(2/3))² from the mean velocity and hydraulic radius
};
enum class ControlKind { None, Normal, Critical, Depth, WaterSurface };

/// A control at one end of the reach: a depth (m) or a water-surface elevation (m) as value.
struct ProfileControl {
  ControlKind kind = ControlKind::None;
  double value = 0;
};

/// One surveyed section of a reach; elevations as surveyed.
struct SurveyedStation {
  std::string id;
  double station = 0;  ///< m, increasing upstream
  StationSection section;
};

struct ProfileInputs {
  ProfileChannel channel = ProfileChannel::Prismatic;
  // A prismatic reach, from station 0 (its downstream end) to reachLength.
  ChannelSection shape;
  double manningsN = 0;
  double slope = 0;         ///< bed slope, positive falling downstream (m/m)
  double reachLength = 0;   ///< m
  double bedElevation = 0;  ///< bed at station 0 (m)
  // A surveyed reach, in increasing station.
  std::vector<SurveyedStation> sections;
  CompositeMethod compositeMethod = CompositeMethod::Conveyance;

  double discharge = 0;  ///< m³/s
  ProfileControl downstream, upstream;
  ProfileMethod method = ProfileMethod::StandardStep;
  int numberOfSteps = 0;         ///< direct step: depth steps from the control to the limit...
  double depthIncrement = 0;     ///< ...or this depth per step (m) when numberOfSteps is 0
  double maximumStepLength = 0;  ///< standard step: stations no further apart (m)
  FrictionAveraging averaging = FrictionAveraging::AverageConveyance;
  double expansion = 0, contraction = 0;  ///< coefficients on the change of velocity head
  /// How messages write a length in metres (they read in the user's units); "1.234 m" if unset.
  std::function<std::string(double)> lengthText;
};

/// One computed point of the profile.
struct ProfileRow {
  double station = 0;  ///< m
  double bedElevation = 0;
  double depth = 0;
  double velocity = 0;        ///< mean, Q/A
  double froudeNumber = 0;    ///< √(α·Q²·T/(g·A³))
  double specificEnergy = 0;  ///< y + α·V²/2g
  double frictionSlope = 0;   ///< (Q/K)² at this depth
  double criticalDepth = 0;
  std::optional<double> normalDepth;
  bool supercritical = false;  ///< computed by the supercritical profile
  double WaterSurface() const { return bedElevation + depth; }
  double EnergyGrade() const { return bedElevation + specificEnergy; }
};

struct HydraulicJump {
  double station = 0;
  double upstreamDepth = 0;  ///< supercritical, before the jump (m)
  double sequentDepth = 0;   ///< of equal momentum after it (m)
  double energyLoss = 0;     ///< E1 − E2 (m)
  double length = 0;         ///< 6·y2 (m)
  double froudeNumber = 0;   ///< before the jump
};

struct ProfileResults {
  bool ok = false;
  std::string message;
  std::string field;  ///< the input at fault when not ok
  std::vector<std::string> warnings;
  std::vector<std::string> notes;  ///< where each profile started and how it ended

  std::vector<ProfileRow> points;       ///< ordered by station; a jump gives two at its station
  std::string profileType;              ///< "M1", or several in flow order: "M3, M2"
  std::string slopeClass;               ///< "Mild", "Steep", "Critical", "Horizontal", "Adverse"
  std::optional<double> normalDepth;    ///< at the downstream end (m)
  std::optional<double> criticalDepth;  ///< at the downstream end (m)
  std::optional<HydraulicJump> jump;
  /// From the control to where the depth is first within 1 % of normal depth (m).
  std::optional<double> normalApproachDistance;
  int steps = 0;       ///< steps computed
  int iterations = 0;  ///< trials of the standard step's energy balance
};

/// A normal depth within this fraction of critical depth makes a critical slope: the
/// solvers' own precision, far below any survey's.
inline constexpr double kCriticalSlopeBand = 1e-6;
/// Ends of a profile within this fraction of normal depth count as normal depth.
inline constexpr double kNormalApproach = 1e-3;
/// The distance to normal depth is measured to within this fraction of it.
inline constexpr double kNormalReported = 0.01;
/// Steps a profile may take, whatever the inputs ask.
inline constexpr int kMaxProfileSteps = 100000;
/// Jump length over sequent depth.
inline constexpr double kJumpLengthRatio = 6.0;

/// The profile of the inputs; never throws.
ProfileResults SolveProfile(const ProfileInputs& inputs);

}  // namespace rivulet
