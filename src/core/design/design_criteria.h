// The limits a designed pipe or channel is checked against, their defaults in each unit
// system, and the permissible shear of common linings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design/standard_sizes.h"
#include "core/hydraulics/units.h"

namespace rivulet {

/// A Froude number in [low, high] is near critical: the surface is unstable and wavy
/// (the band of the US Army Corps of Engineers, EM 1110-2-1601, hydraulic design of flood
/// control channels).
inline constexpr double kNearCriticalLow = 0.86;
inline constexpr double kNearCriticalHigh = 1.13;

/// A lining with its permissible shear (Pa).
struct Lining {
  std::string name;
  double permissibleShear = 0;
};

/// Typical permissible shear of flexible linings, from FHWA HEC-15 (1988), "Design of
/// Roadside Channels with Flexible Linings", Table 2 (given there in lb/ft²).
const std::vector<Lining>& LiningTable();

/// The limits of one unit system, in base units (m/s, m, Pa); absent ones are not checked.
struct DesignCriteria {
  double minVelocity = 0.6;
  std::optional<double> minFullVelocity;
  double maxVelocity = 3.0;
  double maxDepthRatio = 0.8;
  std::optional<double> minFreeboard;
  /// Depth of the channel to the top of its banks, when the freeboard is to be judged.
  std::optional<double> bankHeight;
  std::optional<double> permissibleShear;
  std::string lining;
  /// τp ≥ SF · τmax passes.
  double shearSafetyFactor = 1.0;
};

/// The defaults: 0.6 m/s, 3.0 m/s, y/D 0.8 (metric); 2 ft/s, 10 ft/s, y/D 0.8 (US). The
/// optional full-flow minimum, when switched on, defaults to 0.9 m/s or 3 ft/s.
DesignCriteria DefaultCriteria(UnitSystem system);
/// The full-flow minimum velocity suggested when the user turns that check on (m/s).
double DefaultMinFullVelocity(UnitSystem system);

}  // namespace rivulet
