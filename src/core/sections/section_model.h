// A surveyed cross-section: station-elevation points with Manning's n by zone, and its wetted
// geometry and conveyance at a water-surface elevation. Base units throughout: stations and
// elevations in metres, areas in m², conveyance in m³/s.
#pragma once

#include <string>
#include <vector>

namespace rivulet {

inline constexpr int kMinSectionPoints = 3;
inline constexpr int kMaxSectionPoints = 5000;

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
  /// How fast the perimeter and area grow with the water surface (m/m, m²/m = topWidth).
  double perimeterRate = 0;
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
  std::vector<ZoneFlow> zones;
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
  /// The distinct elevations of the points from the lowest up (m), where the geometry's
  /// growth with the water surface changes.
  const std::vector<double>& Levels() const { return levels_; }

  /// Everything at water surface w (m), with the zones or without (faster).
  SectionState StateAt(double w, bool withZones = true) const;
  /// Only the conveyance (m³/s) at water surface w: the depth search calls it often.
  double ConveyanceAt(double w) const;

 private:
  // Fills zones_ with the wetted geometry of each zone at w.
  void WetZones(double w) const;
  // Combines zones_ into the section's state by the method.
  void Combine(double w, SectionState& s, bool withRates) const;

  StationSection section_;
  CompositeMethod method_;
  bool extendWalls_;
  double lowest_ = 0;
  std::vector<double> levels_;
  std::vector<double> lengths_;  // of each piece of ground, m
  mutable std::vector<ZoneFlow> zones_;
};

}  // namespace rivulet
