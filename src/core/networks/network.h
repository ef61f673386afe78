// The storm-sewer network's calculation: a tree of pipes designed by the rational method
// from its heads down to the outfall, then its energy and hydraulic grade lines walked back
// up through every structure. One inputs struct in SI base units (m, m², m/s, s, m³/s) in,
// one results struct with its messages out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design/standard_sizes.h"
#include "core/networks/rainfall.h"

namespace rivulet {

enum class StructureKind { Inlet, AccessHole, Junction, Outfall };
/// The floor of an access hole, as its benching coefficient's table names it.
enum class Benching { Flat, Depressed, HalfBenched, FullBenched, Improved };
/// Where a pipe's upstream invert sits against the pipes entering its structure.
enum class CrownRule { MatchCrowns, MatchInverts };

struct NetworkStructure {
  std::string id;
  StructureKind kind = StructureKind::AccessHole;
  double rimElevation = 0;       ///< m
  double drainageArea = 0;       ///< m², draining to this structure at the surface
  double runoffCoefficient = 0;  ///< C, 0 to 1 (weighted over sub-areas by the reader)
  double inletTime = 0;          ///< s, time of concentration to this inlet
  Benching benching = Benching::Flat;
};

struct NetworkPipe {
  std::string id;
  std::string from;  ///< upstream structure id
  std::string to;    ///< downstream structure id
  double length = 0;
  double manningsN = 0;
  std::optional<double> diameter;  ///< m; given pipes are checked, the others designed
  std::optional<double> upstreamInvert;
  std::optional<double> downstreamInvert;
  std::optional<double> slope;  ///< m/m, when the inverts are to be set by the crown rule
  double inflowAngle = 180;     ///< degrees to the outflow pipe of the structure entered
};

struct NetworkDesign {
  double minimumDiameter = 0;             ///< m
  double minimumTimeOfConcentration = 0;  ///< s
  std::optional<double> minimumVelocity;  ///< m/s, full-flow self-cleansing check
  double minimumCover = 0;                ///< m, rim to crown
  CrownRule crownRule = CrownRule::MatchCrowns;
  double freeboard = 0;  ///< m, grade line below the rim
  /// Each travel time rounded to whole minutes before it is added downstream.
  bool roundTravelTimes = false;
  SizeList sizes;
};

struct NetworkInputs {
  std::vector<NetworkStructure> structures;
  std::vector<NetworkPipe> pipes;
  IdfCurve idf;
  NetworkDesign design;
  /// m; absent: the outfall pipe's own normal depth sets the tailwater.
  std::optional<double> tailwaterElevation;
};

/// Which of the downstream-end cases set a pipe's outlet energy, and which condition its
/// upstream end is in.
struct PipeResult {
  std::string id;
  double drainageArea = 0;         ///< m², all the area upstream
  double cumulativeCA = 0;         ///< m²
  double timeOfConcentration = 0;  ///< s
  double intensity = 0;            ///< m/s
  double discharge = 0;            ///< m³/s
  double requiredDiameter = 0;     ///< m, running full at the slope
  double diameter = 0;             ///< m
  bool designed = false;
  double fullCapacity = 0;  ///< m³/s
  double fullVelocity = 0;  ///< m/s
  double velocity = 0;      ///< m/s at the design depth
  double depth = 0;         ///< m, normal depth (the diameter when it cannot flow part-full)
  double criticalDepth = 0;
  double travelTime = 0;  ///< s
  double upstreamInvert = 0;
  double downstreamInvert = 0;
  double slope = 0;
  double frictionSlope = 0;     ///< m/m used along the pipe by the grade line
  char outletCase = 'E';        ///< A to E
  char inletCondition = 'D';    ///< A to D
  bool full = false;            ///< surcharged at its upstream end
  double downstreamEnergy = 0;  ///< EGL just inside the outlet, m
  double downstreamHydraulic = 0;
  double upstreamEnergy = 0;
  double upstreamHydraulic = 0;
};

/// Which term set an access hole's initial energy level.
enum class GoverningTerm { None, OutletControl, InletSubmerged, InletUnsubmerged };

struct StructureResult {
  std::string id;
  StructureKind kind = StructureKind::AccessHole;
  double invert = 0;  ///< m, the outflow pipe's upstream invert (the outfall: lowest inflow)
  /// m above the invert; the access-hole terms are absent at a junction and the outfall.
  std::optional<double> initialEnergyLevel;
  GoverningTerm governingTerm = GoverningTerm::None;
  std::optional<double> benchingCoefficient;
  std::optional<double> angleCoefficient;
  std::optional<double> plungeCoefficient;
  std::optional<double> junctionLoss;  ///< m, a junction's momentum loss
  double energyLevel = 0;              ///< m above the invert
  double energyGradeElevation = 0;
  double hydraulicGradeElevation = 0;
  double freeboard = 0;  ///< m, rim less the hydraulic grade
  bool surcharged = false;
};

struct NetworkResults {
  bool ok = false;
  std::string message;
  std::string field;  ///< "structures", "pipes", "idf", "design" or "tailwaterElevation"
  std::vector<PipeResult> pipes;            ///< in the order given
  std::vector<StructureResult> structures;  ///< in the order given
  std::vector<std::string> warnings;
};

/// A refusal of the network's input, naming the list or input at fault.
struct NetworkInputError {
  std::string field;
  std::string message;
};

/// Designs the network and walks its grade line; a refusal comes back with ok false.
NetworkResults SolveNetwork(const NetworkInputs& inputs);

/// The network's words as files write them.
const char* StructureKindName(StructureKind kind);
const char* BenchingName(Benching benching);
const char* GoverningTermName(GoverningTerm term);

}  // namespace rivulet
