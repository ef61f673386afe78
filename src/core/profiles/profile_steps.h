// The step equations of a gradually varied profile: one profile computed from its control in
// one direction, by standard step over fixed stations or by direct step over chosen depths.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/profiles/profile_section.h"
#include "core/profiles/water_profile.h"

namespace rivulet {

/// A station of the reach with its section.
struct ReachNode {
  double station = 0;  ///< m
  double bed = 0;      ///< invert elevation (m)
  SectionPtr section;
  double criticalDepth = 0;
  std::optional<double> normalDepth;
};

struct StepSettings {
  double discharge = 0;
  FrictionAveraging averaging = FrictionAveraging::AverageConveyance;
  double expansion = 0, contraction = 0;
};

struct ComputedPoint {
  double station = 0;
  double depth = 0;
};

/// One profile from its control, in the order computed.
struct ComputedProfile {
  std::vector<ComputedPoint> points;
  /// Why it stopped short of the reach's far end ("" when it reached it), in a few words
  /// that follow "The ... profile": "reaches critical depth at station 120 m".
  std::string stopped;
  bool reachedCritical = false;
  /// The station (m) from which the depth stays within kNormalApproach of normal depth.
  std::optional<double> normalFrom;
  int iterations = 0;
};

/// The friction slope over a step by the averaging chosen.
double AverageFrictionSlope(const SectionHydraulics& a, const SectionHydraulics& b, double q,
                            FrictionAveraging averaging);

/// Standard step from depth y0 at nodes.front() (subcritical, nodes increasing in station) or
/// nodes.back() (supercritical) to the other end.
ComputedProfile StandardStep(const std::vector<ReachNode>& nodes, double y0, bool supercritical,
                             const StepSettings& settings,
                             const std::function<std::string(double)>& lengthText);

/// A prismatic reach for direct step: one section, its bed slope and length.
struct PrismaticReach {
  ReachNode node;  ///< the section with its critical and normal depths; station unused
  double slope = 0;
  double length = 0;
};

/// Direct step from depth y0 at station 0 (subcritical) or the reach length (supercritical)
/// towards the profile's limit: numberOfSteps equal depth steps or steps of depthIncrement.
ComputedProfile DirectStep(const PrismaticReach& reach, double y0, bool supercritical,
                           int numberOfSteps, double depthIncrement, const StepSettings& settings,
                           const std::function<std::string(double)>& lengthText);

}  // namespace rivulet
