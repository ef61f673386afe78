// Flow over weirs: sharp-crested rectangular (Kindsvater-Carter, or the simple form with end
// contractions), V-notch (Kindsvater-Shen), Cipolletti, broad-crested and roadway
// embankments, with tailwater submergence. Base units throughout (m, m³/s, degrees), so the
// outlet rating and a culvert's roadway overtopping call the same functions as the worksheet.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rivulet {

enum class WeirType { Rectangular, VNotch, Cipolletti, BroadCrested, Roadway };
/// How a sharp-crested rectangular weir is computed.
enum class WeirMethod { KindsvaterCarter, Simple };
enum class RoadwaySurface { Paved, Gravel };

/// Standard gravity (m/s²), one value whatever units the results are shown in.
inline constexpr double kWeirGravity = 9.80665;
/// Feet per metre's reciprocal: the tables of US coefficients are read in feet.
inline constexpr double kFootInMetres = 0.3048;

/// A weir's shape and coefficient choices. Lengths in m, the notch angle in degrees.
struct Weir {
  WeirType type = WeirType::Rectangular;
  WeirMethod method = WeirMethod::KindsvaterCarter;  ///< rectangular only
  double crestLength = 0;                            ///< L, m; the overtopped length of a road
  double notchAngle = 90;                            ///< V-notch, degrees
  std::optional<double> crestHeight;                 ///< P above the approach bed, m
  std::optional<double> channelWidth;                ///< B of the approach channel, m
  std::optional<double> crestBreadth;  ///< broad crest or road width along the flow, m
  int endContractions = 0;             ///< simple rectangular form: 0, 1 or 2
  RoadwaySurface surface = RoadwaySurface::Paved;
  /// A dimensionless coefficient replacing the method's own, in the method's form (Cw of
  /// Q = Cw √(2g) L h^1.5, or Ce of Q = 2/3 Ce √(2g) L h^1.5, 8/15 for a notch).
  std::optional<double> weirCoefficient;
};

/// What flows over a weir at one head.
struct WeirFlow {
  double discharge = 0;                   ///< m³/s
  double coefficient = 0;                 ///< the dimensionless coefficient used (free flow)
  std::optional<double> effectiveLength;  ///< m; none for a V-notch
  double effectiveHead = 0;               ///< m
  double submergenceFactor = 1;           ///< Villemonte's, or a road's kt
  bool submerged = false;                 ///< the tailwater reduces the flow
  std::vector<std::string> warnings;      ///< each range of the method left
};

/// Refuses a shape no weir has (a length not above zero, an angle outside 0°–180°, a crest
/// longer than its channel, contractions other than 0–2, a coefficient not above zero);
/// throws StructureInputError naming the field.
void CheckWeir(const Weir& weir);

/// Flow over a checked weir at head (m above the crest, at least 0) with the tailwater at
/// tailwaterHead above the crest (none, or at or below 0: free flow). Throws
/// StructureInputError when the tailwater is not below the head, or the head leaves no
/// effective crest.
WeirFlow WeirDischarge(const Weir& weir, double head, std::optional<double> tailwaterHead = {});

/// Flow over a road embankment: crest length and road width (m) across and along the flow,
/// head and tailwater (m) above the road crest.
WeirFlow RoadwayOvertopping(RoadwaySurface surface, double crestLength, double roadWidth,
                            double head, std::optional<double> tailwaterHead = {});

enum class WeirUnknown { Discharge, Head, CrestLength };

/// The weir worksheet's calculation: the unknown from the other two.
struct WeirInputs {
  Weir weir;
  WeirUnknown solveFor = WeirUnknown::Discharge;
  double head = 0;                      ///< m, unless it is the unknown
  double discharge = 0;                 ///< m³/s, unless it is the unknown
  std::optional<double> tailwaterHead;  ///< m above the crest
};

struct WeirResults {
  double discharge = 0;    ///< m³/s
  double head = 0;         ///< m
  double crestLength = 0;  ///< m (the one given, or found)
  WeirFlow flow;
  std::optional<double> approachVelocity;    ///< Q / (B (P + h)), m/s, where B and P are given
  std::optional<double> dischargePerLength;  ///< Q / L, m²/s; none for a V-notch
  int evaluations = 0;  ///< of the search for head or crest length; 0 when direct
};

/// Solves the weir; throws StructureInputError naming the field at fault.
WeirResults SolveWeir(const WeirInputs& in);

}  // namespace rivulet
