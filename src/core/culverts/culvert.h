// Culverts by inlet and outlet control: the headwater each control needs for a discharge, the
// higher one governing, a tailwater from an elevation or a downstream channel, and the road
// overtopping as a weir once the headwater passes its crest. Base units throughout (m, m³/s,
// m/s, m/m), so US and SI culverts run through the same arithmetic.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/standard_sizes.h"
#include "core/hydraulics/section_kind.h"
#include "core/structures/weir.h"

namespace rivulet {

enum class BarrelShape { Circular, Box };
enum class BarrelMaterial { Concrete, CorrugatedMetal };

/// One inlet of the coefficient table, keyed by its chart and scale ("1/1", "16-19/2").
struct InletConfiguration {
  const char* code;
  BarrelShape shape;
  /// The material the chart is for; none where it is for either (bevelled rings).
  std::optional<BarrelMaterial> material;
  const char* description;
  int form;  ///< unsubmerged form: 1 with the critical specific head, 2 the power law
  double k, m, c, y;
  double ks;  ///< slope term: -0.5, or +0.7 for an end mitered to the slope
  double ke;  ///< entrance loss coefficient under outlet control
};

/// The whole table, in its printed order.
const std::vector<InletConfiguration>& InletConfigurations();
/// The inlet of that code, or nullptr.
const InletConfiguration* FindInlet(std::string_view code);

/// X below which the unsubmerged form holds and above which the submerged one does; the
/// headwater is interpolated in X between them.
inline constexpr double kUnsubmergedLimit = 3.5;
inline constexpr double kSubmergedLimit = 4.0;
/// Below this headwater over rise the (dc + D)/2 outlet level does not hold.
inline constexpr double kOutletRuleLeast = 0.75;

/// The downstream channel the tailwater is the normal depth of.
struct TailwaterChannel {
  SectionKind shape = SectionKind::Trapezoid;  ///< rectangle, triangle or trapezoid
  double bottomWidth = 0;                      ///< m
  double sideSlope = 0;                        ///< horizontal per 1 vertical
  double slope = 0;                            ///< m/m
  double n = 0;
};

struct Roadway {
  double crestElevation = 0;  ///< m
  double crestLength = 0;     ///< m, across the flow
  double width = 0;           ///< m, along the flow
  RoadwaySurface surface = RoadwaySurface::Paved;
};

struct Culvert {
  BarrelShape shape = BarrelShape::Circular;
  BarrelMaterial material = BarrelMaterial::Concrete;
  const InletConfiguration* inlet = nullptr;
  double rise = 0;  ///< m; the diameter of a pipe
  double span = 0;  ///< m; boxes only
  int barrels = 1;
  double length = 0;  ///< m
  double n = 0;
  double entranceLoss = 0;                   ///< ke
  double inletInvert = 0;                    ///< m
  double outletInvert = 0;                   ///< m
  std::optional<double> tailwaterElevation;  ///< m; none: the channel's normal depth
  std::optional<TailwaterChannel> channel;
  std::optional<Roadway> roadway;
  std::optional<double> velocityLimit;  ///< m/s, warned above
};

/// Refuses what no culvert has, naming the field; throws StructureInputError.
void CheckCulvert(const Culvert& c);

enum class InletForm { Unsubmerged, Transition, Submerged };
const char* InletFormName(InletForm form);

struct InletControl {
  double headwater = 0;  ///< m above the inlet invert
  InletForm form = InletForm::Unsubmerged;
  double x = 0;  ///< Ku Q / (A D^0.5), in US units
};

struct OutletControl {
  double headwater = 0;  ///< m above the inlet invert
  double entranceLoss = 0, frictionLoss = 0, exitLoss = 0;
  double outletLevel = 0;  ///< ho, m above the outlet invert
};

/// Flow through the barrels at one discharge with the tailwater at a depth above the outlet.
struct BarrelFlow {
  double discharge = 0;  ///< m³/s, all barrels
  InletControl inlet;
  OutletControl outlet;
  double headwaterElevation = 0;  ///< m, the higher control's
  bool inletControls = true;
  double criticalDepth = 0;  ///< m, capped at the rise
  bool criticalCapped = false;
  std::optional<double> normalDepth;  ///< m; none on a level barrel; the rise when full
  double outletDepth = 0;             ///< m
  double outletVelocity = 0;          ///< m/s
};

double BarrelSlope(const Culvert& c);
/// Area (m²) of one full barrel.
double FullArea(const Culvert& c);

InletControl InletControlHeadwater(const Culvert& c, double discharge);
OutletControl OutletControlHeadwater(const Culvert& c, double discharge, double tailwaterDepth);
BarrelFlow BarrelFlowAt(const Culvert& c, double discharge, double tailwaterDepth);
/// Tailwater depth (m) above the outlet invert at a total discharge (m³/s).
double TailwaterDepth(const Culvert& c, double totalDischarge);
/// The discharge through the barrels whose governing headwater reaches elevation (m).
double BarrelDischargeAt(const Culvert& c, double elevation, double tailwaterDepth);

/// A total discharge shared between the barrels and the road at one headwater.
struct CulvertState {
  double totalDischarge = 0;
  double tailwaterDepth = 0;
  BarrelFlow barrel;
  double overtoppingDischarge = 0;
  bool overtopping = false;
  double headwaterElevation = 0;
};

CulvertState CulvertAt(const Culvert& c, double totalDischarge);

enum class CulvertUnknown { Headwater, Discharge, Size };

struct CulvertInputs {
  Culvert culvert;
  CulvertUnknown solveFor = CulvertUnknown::Headwater;
  double discharge = 0;                      ///< m³/s, unless it is the unknown
  std::optional<double> allowableHeadwater;  ///< m elevation: discharge and size solves
  SizeList sizes;                            ///< for the size solve
  int performancePoints = 21;
};

struct PerformancePoint {
  double discharge = 0;
  double headwaterInlet = 0;  ///< elevations, m
  double headwaterOutlet = 0;
  double headwaterElevation = 0;
  double barrelDischarge = 0;
  double overtoppingDischarge = 0;
};

struct CulvertResults {
  Culvert culvert;  ///< with the size chosen
  CulvertState state;
  std::optional<double> nominalSize;  ///< in the size list's unit, for the size solve
  std::vector<PerformancePoint> performance;
  std::vector<std::string> warnings;
};

/// Solves the culvert; throws StructureInputError naming the field at fault.
CulvertResults SolveCulvert(const CulvertInputs& in);

/// Points of headwater against total discharge from zero to twice the design discharge.
std::vector<PerformancePoint> PerformanceCurve(const Culvert& c, double designDischarge,
                                               int points);

}  // namespace rivulet
