// A surveyed cross-section: station-elevation points with Manning's n by zone, and its wetted
// geometry and conveyance at a water-surface elevation. Base units throughout: stations and
// elevations in metres, areas in m², conveyance in m³/s.
#pragma once

#include <string>
#include <vector>

namespace rivulet {

inline constexpr int kMinSectionPoints = 3;
inline constexpr int kMaxSectionPoints = 5000;
/// Roughness zones are bounded as points are. A level is evaluated zone by zone wherever a
/// search looks, so the bound keeps the worst section (5000 points, 500 zones) to tens of
/// milliseconds; a survey needs a handful.
inline constexpr int kMaxSectionZones = 500;

/// How the zones' roughness combines into the section's.
enum class CompositeMethod { Conveyance, Horton, Pavlovskii, Lotter };

/// "conveyance", "horton", "pavlovskii" or "lotter".
const char* CompositeMethodKey(CompositeMethod method);
/// The method for a key; false when the key names none.
bool CompositeMethodForKey(const std::string& key, CompositeMethod& method);

/// The ground line and its roughness. k breaks (stations, m) cut the section into k + 1
/// zones; n holds one Manning's n per zone, left to right.
struct StationSection {
  std::vector<double> station;
  std::vector<double> elevation;
  std::vector<double> breaks;
  std::vector<double> n;
  /// Water above an end point stands against a vertical wall there instead of overtopping.
  bool extendWalls = false;
};

/// Why the section cannot carry water, naming the point, break or zone at fault; "" when it
/// can. Points, breaks and zones are numbered from 1 as the user sees them.
std::string SectionProblem(const StationSection& section);
/// The same for the points alone.
std::string PointsProblem(const StationSection& section);
/// The same for the breaks and n values of points that have no problem.
std::string ZonesProblem(const StationSection& section);

/// The wetted part of one zone.
struct ZoneFlow {
  double area = 0;       ///< m²
  double perimeter = 0;  ///< m
  double topWidth = 0;   ///< m
  /// How fast the perimeter, top width and area grow with the water surface (m/m, m/m,
  /// m²/m = topWidth).
  double perimeterRate = 0;
  double topWidthRate = 0;
  double conveyance = 0;  ///< (1/n)·A·R^(2/3), m³/s
};

/// The section's hydraulic state at one water surface, before a slope is applied.
struct SectionState {
  double waterSurface = 0;  ///< m
  double area = 0;
  double perimeter = 0;
  double topWidth = 0;
  double compositeN = 0;
  /// Q = K·√S (m³/s).
  double conveyance = 0;
  /// Energy coefficient α; 1 for the whole-section methods.
  double alpha = 1;
  /// dα per metre of rise of the water surface.
  double alphaRate = 0;
  /// dT and dK per metre of rise.
  double topWidthRate = 0;
  double conveyanceRate = 0;
  std::vector<ZoneFlow> zones;
};

/// One zone's wetted geometry just above a level and its growth up to the zone's next level:
/// between two levels every piece of ground is either dry, wholly wet or cut at a rate that
/// does not change, so top width and perimeter are linear and area quadratic there.
struct ZoneKnot {
  double level = 0;  ///< m
  double area = 0;
  double topWidth = 0;
  double perimeter = 0;
  double topWidthRate = 0;
  double perimeterRate = 0;
};

/// What the searches ask of a water surface: the conveyance and the discharge that flows
/// critically there, Qc = (g·A³/(α·T))^(1/2), with their rates of change per metre of rise.
struct SectionFlowing {
  double conveyance = 0;      ///< m³/s
  double conveyanceRate = 0;  ///< m³/s per m
  double critical = 0;        ///< m³/s
  double criticalRate = 0;    ///< m³/s per m
};

/// Bounds of the conveyance and the critical discharge (m³/s) over a run of water surfaces.
struct FlowingBounds {
  double conveyanceLow = 0, conveyanceHigh = 0;
  double criticalLow = 0, criticalHigh = 0;
};

/// A validated section ready for repeated evaluation. Not for use from two threads at once:
/// it keeps a scratch list of zones.
class SectionModel {
 public:
  /// The section must have no SectionProblem.
  SectionModel(const StationSection& section, CompositeMethod method);

  double Lowest() const { return lowest_; }
  double LeftEnd() const { return section_.elevation.front(); }
  double RightEnd() const { return section_.elevation.back(); }
  /// The highest water surface the section holds without overtopping an end (m).
  double BankFull() const;
  bool ExtendWalls() const { return extendWalls_; }
  CompositeMethod Method() const { return method_; }
  const StationSection& Section() const { return section_; }
  size_t ZoneCount() const { return section_.n.size(); }
  /// The distinct elevations from the lowest up (m) where the geometry's growth with the
  /// water surface changes: the points' and those of the ground where it crosses a break.
  const std::vector<double>& Levels() const { return levels_; }

  /// Everything at water surface w (m), with the zones or without (faster). At a level the
  /// state is the one just below it, or just above it when `above`: they differ where flat
  /// ground starts to wet there, and in their rates.
  SectionState StateAt(double w, bool withZones = true, bool above = false) const;
  /// Only the conveyance (m³/s) at water surface w: the depth search calls it often.
  double ConveyanceAt(double w) const;
  /// Conveyance and critical discharge at w, below or above a level as StateAt.
  SectionFlowing FlowingAt(double w, bool above = false) const;
  /// FlowingAt just below and just above level i, each worked out once, when first asked for.
  const SectionFlowing& FlowingBelow(size_t i) const;
  const SectionFlowing& FlowingAbove(size_t i) const;
  /// Bounds that hold at every water surface from just above lo to just above hi: a search
  /// skips the levels between when its target lies outside them. They come from each zone's
  /// area, perimeter and top width at the two ends, none of which falls as the water rises.
  FlowingBounds BoundsBetween(double lo, double hi) const;

 private:
  // Fills zone j of zones_ at w from its knot under − 1 (dry when under is 0).
  void WetZone(size_t j, double w, size_t under) const;
  // Fills zones_ with the wetted geometry of each zone at w.
  void WetZones(double w, bool above) const;
  // Combines zones_ into the section's state by the method: in full with the composite n
  // and every zone's conveyance, or only what the searches need.
  void Combine(double w, SectionState& s, bool withRates, bool full) const;
  // FlowingAt from zones_ as they stand.
  SectionFlowing Flowing(double w) const;
  // The zones' knots, from the ground line once.
  void BuildKnots();

  StationSection section_;
  CompositeMethod method_;
  bool extendWalls_;
  double lowest_ = 0;
  std::vector<double> levels_;
  std::vector<std::vector<ZoneKnot>> knots_;  // per zone, by level
  // FlowingBelow and FlowingAbove at each of levels_, and which of them are known (bit 1
  // below, bit 2 above): a search looks at a few levels only.
  mutable std::vector<SectionFlowing> below_, above_;
  mutable std::vector<unsigned char> tabulated_;
  // The wetted geometry at the two ends of the last BoundsBetween: the next call often starts
  // at one of them.
  struct BoundsEnd {
    std::vector<ZoneFlow> zones;
    double at = 0;
    bool known = false;
  };
  mutable BoundsEnd boundsLow_, boundsHigh_;
  mutable std::vector<ZoneFlow> zones_;
  struct KnownConveyance {
    double area = -1, perimeter = -1, conveyance = 0;
  };
  mutable std::vector<KnownConveyance> known_;  // each zone's last conveyance
  mutable KnownConveyance known23_;             // the whole section's last R^(2/3)
  std::vector<double> nPower_;                  // n^1.5 (Horton) or n² (Pavlovskii) of each zone
  double nPowerLow_ = 0, nPowerHigh_ = 0;       // their least and greatest
};

}  // namespace rivulet
