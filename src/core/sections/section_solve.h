// The irregular-section calculation: a pure function of the section, slope and the known
// flow, returning the solved state with its messages. Base units: m, m², m/s, m³/s, m/m, Pa.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/brackets.h"
#include "core/sections/section_model.h"

namespace rivulet {

/// The depth and critical-depth searches stop once the conveyance (or the critical
/// discharge) is met exactly or their bracket is no wider than this fraction of the water
/// surface's elevation or of its depth, whichever is larger: a few units in the last place,
/// which every bracket reaches, however small the depth against the elevation.
inline constexpr double kSectionSurfaceResolution = 1e-15;
/// Halvings that place the lowest point of a dip between two levels: to 2^-40 of the stretch.
inline constexpr int kDipHalvings = 40;

enum class SectionUnknown { Depth, Discharge, Slope };

struct SectionInputs {
  StationSection section;
  CompositeMethod method = CompositeMethod::Conveyance;
  SectionUnknown solveFor = SectionUnknown::Depth;
  double slope = 0;      ///< m/m; not used when solving for slope
  double discharge = 0;  ///< m³/s; not used when solving for discharge
  /// The known water surface (m) when solving for discharge or slope; else depth is used.
  std::optional<double> waterSurfaceElevation;
  /// The known depth (m) above the lowest point, when no water surface is given.
  std::optional<double> depth;
};

/// How the depth search went.
struct SectionSearch {
  int evaluations = 0;
  bool converged = false;
  /// Width of the last bracket (m).
  double bracket = 0;
  /// Every water surface (m) that carries the conveyance, lowest first: the discharge of a
  /// section whose conveyance falls as the water spreads can be carried at several.
  std::vector<double> surfaces;
};

struct ZoneResult {
  double n = 0;
  double flowArea = 0;         ///< m²
  double wettedPerimeter = 0;  ///< m
  double topWidth = 0;         ///< m
  double discharge = 0;        ///< m³/s
  double velocity = 0;         ///< m/s; 0 for a dry zone
};

struct SectionResults {
  /// False with the reason in message when there is no solution.
  bool ok = false;
  std::string message;
  /// The input at fault when not ok: "points", "nZones", "longitudinalSlope", "discharge",
  /// "waterSurfaceElevation" or "" (no single input, as when the flow overtops the banks).
  std::string field;
  std::vector<std::string> warnings;

  double waterSurfaceElevation = 0;  ///< m
  double depth = 0;                  ///< m above the lowest point
  double discharge = 0;              ///< m³/s
  double slope = 0;                  ///< m/m
  double flowArea = 0;
  double wettedPerimeter = 0;
  double hydraulicRadius = 0;
  double topWidth = 0;
  double velocity = 0;
  double compositeN = 0;
  double conveyance = 0;         ///< m³/s
  double energyCoefficient = 1;  ///< α
  double froudeNumber = 0;       ///< √(α·Q²·T / (g·A³))
  /// Depths (m) above the lowest point that carry the discharge at the slope, lowest first;
  /// depth is the first. Filled by the depth solve.
  std::vector<double> normalDepths;
  /// Depths (m) where the Froude number falls through 1 as the water rises (the minima of
  /// specific energy, α held at its value there), lowest first; the first of least energy
  /// is criticalDepth.
  std::vector<double> criticalDepths;
  std::optional<double> criticalDepth;
  std::optional<double> criticalWaterSurfaceElevation;
  double specificEnergy = 0;  ///< depth + α·V²/2g, m
  double averageShear = 0;    ///< γ·R·S, Pa
  bool overtopped = false;
  /// "left", "right" or "both" when overtopped.
  std::string overtoppedSide;
  /// Discharge (m³/s) with the water at the lower end point; none with walls extended.
  std::optional<double> bankFullDischarge;
  std::vector<ZoneResult> zones;
  SectionSearch search;
};

/// The refusal of a discharge above bank-full: capacity is the shown figure with its unit,
/// side "left", "right" or "both".
std::string BankFullExceededMessage(const std::string& capacity, const std::string& side);

/// Solves the section for the unknown the inputs name; its messages give figures in SI.
SectionResults SolveSection(const SectionInputs& inputs);

/// The lowest water surface (m) at which the model carries conveyance k (m³/s), searched
/// upward from `from` (a surface known to carry less, or the lowest point); the search's
/// `surfaces` list every one up to the bank-full level (from the lowest point only). None
/// when the section would have to overtop without walls.
std::optional<double> SurfaceForConveyance(const SectionModel& model, double k, double from,
                                           SectionSearch* search = nullptr);

/// Critical depths (m, above the lowest point) for discharge q (m³/s): where the Froude
/// number √(α·Q²·T/(g·A³)) falls through 1 as the water rises, lowest first, searched up to
/// the bank-full surface (or beyond with walls).
std::vector<double> CriticalDepths(const SectionModel& model, double q);

}  // namespace rivulet
