// Flow through an orifice in a vertical wall: the orifice law above the top of the opening,
// a weir law while the water is below it, submergence by the downstream level. Base units
// (m, m³/s); the outlet rating calls the same functions at every stage.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rivulet {

enum class OrificeShape { Circular, Rectangular };
/// The entrance, which sets the default coefficient.
enum class OrificeEdge { Sharp, SquareEdged, Rounded, Ragged };
enum class OrificeRegime { None, Weir, Orifice };

/// Square-edged entrances (road-drainage manual, Eq. 10.23).
inline constexpr double kSquareEdgedCd = 0.6;
/// Ragged edges such as torch-cut openings in corrugated pipe.
inline constexpr double kRaggedCd = 0.4;

struct Orifice {
  OrificeShape shape = OrificeShape::Circular;
  OrificeEdge edge = OrificeEdge::SquareEdged;
  double diameter = 0;                         ///< m (circular)
  double width = 0;                            ///< m (rectangular)
  double height = 0;                           ///< m (rectangular)
  double invertElevation = 0;                  ///< bottom of the opening, m
  std::optional<double> dischargeCoefficient;  ///< replaces the entrance's own
};

struct OrificeFlow {
  double discharge = 0;      ///< m³/s
  double effectiveHead = 0;  ///< m: above the centroid, the downstream level or the invert
  double area = 0;           ///< of the opening, m²
  double velocity = 0;       ///< Q / area, m/s
  double coefficient = 0;    ///< Cd used
  OrificeRegime regime = OrificeRegime::None;
  bool submerged = false;
  std::vector<std::string> warnings;
};

/// Refuses sizes not above zero and a coefficient not above zero, and a rounded entrance
/// without a coefficient; throws StructureInputError naming the field.
void CheckOrifice(const Orifice& orifice);

/// The opening's height (m): its diameter, or the rectangle's height.
double OrificeHeight(const Orifice& orifice);

/// Flow through a checked orifice with the water upstream at `upstream` and downstream at
/// `downstream` (elevations, m). No flow while the water stands at or below the invert or
/// the downstream level is not below the upstream one.
OrificeFlow OrificeDischarge(const Orifice& orifice, double upstream,
                             std::optional<double> downstream = {});

enum class OrificeUnknown { Discharge, UpstreamElevation, Size };

struct OrificeInputs {
  Orifice orifice;
  OrificeUnknown solveFor = OrificeUnknown::Discharge;
  double upstreamElevation = 0;  ///< m, unless it is the unknown
  std::optional<double> downstreamElevation;
  double discharge = 0;  ///< m³/s, unless it is the unknown
};

struct OrificeResults {
  Orifice orifice;  ///< with the size found
  double upstreamElevation = 0;
  double discharge = 0;
  OrificeFlow flow;
  int evaluations = 0;
};

/// Solves the orifice for its unknown (the size: the diameter, or a rectangle's width);
/// throws StructureInputError naming the field at fault.
OrificeResults SolveOrifice(const OrificeInputs& in);

}  // namespace rivulet
