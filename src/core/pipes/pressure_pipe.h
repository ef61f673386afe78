// Full-pipe (pressure) flow in one pipe: friction by Darcy-Weisbach, Hazen-Williams or
// Manning plus minor losses, solved for the discharge, diameter, head loss or length. One
// inputs struct in SI base units in, one results struct with its messages out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/design/design_criteria.h"
#include "core/design/standard_sizes.h"
#include "core/pipes/friction.h"
#include "core/pipes/pipe_tables.h"

namespace rivulet {

enum class FrictionMethod { DarcyWeisbach, HazenWilliams, Manning };
enum class PressurePipeUnknown { Discharge, Diameter, HeadLoss, Length };

/// Hazen-Williams head loss h = K L Q^1.852 / (C^1.852 D^4.871): K = 4.727 with feet and
/// ft3/s (EPANET 2.2 manual, table 3.1), and that constant converted exactly for metres
/// and m3/s (10.667, printed rounded as 10.67).
inline constexpr double kHazenWilliamsUS = 4.727;
double HazenWilliamsConstantSI();
inline constexpr double kHazenWilliamsQExponent = 1.852;
inline constexpr double kHazenWilliamsDExponent = 4.871;

/// What a pipe's losses depend on besides its discharge, diameter and length (SI base units).
struct PipeLaw {
  FrictionMethod method = FrictionMethod::DarcyWeisbach;
  TurbulentFormula formula = TurbulentFormula::ColebrookWhite;
  double roughness = 0;  ///< absolute roughness e, m (Darcy-Weisbach)
  double hazenWilliamsC = 0;
  double manningsN = 0;
  double kinematicViscosity = kWaterViscosity20C;  ///< m2/s
  double minorLossK = 0;                           ///< sum of the fittings' K
};

/// The flow through the pipe at one discharge (m, m3/s, m/s).
struct PipeFlow {
  double discharge = 0;
  double diameter = 0;
  double length = 0;
  double velocity = 0;
  double velocityHead = 0;
  double reynoldsNumber = 0;
  PipeFlowRegime regime = PipeFlowRegime::Turbulent;
  /// Darcy f; for Hazen-Williams and Manning the f that gives the same friction loss.
  double frictionFactor = 0;
  double frictionLoss = 0;
  double minorLoss = 0;
  double totalHeadLoss = 0;
};

/// The losses of the law at a discharge above zero in a pipe of diameter and length.
PipeFlow PipeFlowAt(const PipeLaw& law, double discharge, double diameter, double length);

/// Levels at the upstream end and the downstream end's elevation (m), for the grade lines.
struct PipeEnds {
  double upstreamElevation = 0;
  double upstreamPressureHead = 0;
  double downstreamElevation = 0;
};

struct PressurePipeInputs {
  PipeLaw law;
  PressurePipeUnknown solveFor = PressurePipeUnknown::Discharge;
  double discharge = 0;            ///< m3/s, unless it is the unknown
  double diameter = 0;             ///< internal, m, unless it is the unknown
  double length = 0;               ///< m, unless it is the unknown
  std::optional<double> headLoss;  ///< total, m; the head available unless it is the unknown
  std::optional<PipeEnds> ends;    ///< for the grade lines
  DesignCriteria criteria;         ///< the velocity limits
  std::optional<SizeList> sizes;   ///< the standard diameters a diameter solve rounds up to
};

struct PressurePipeError {
  std::string field;
  std::string message;
};

/// One point of the head-loss curve (m3/s, m).
struct HeadLossPoint {
  double discharge = 0;
  double headLoss = 0;
};

/// Points of the head-loss curve, from zero to twice the discharge.
inline constexpr int kHeadLossCurvePoints = 11;

struct PressurePipeResults {
  std::optional<PressurePipeError> error;  ///< set when nothing was computed
  PipeFlow flow;
  double frictionSlope = 0;  ///< m/m
  std::optional<double> energyGradeUpstream, energyGradeDownstream;
  std::optional<double> hydraulicGradeUpstream, hydraulicGradeDownstream;
  std::optional<double> downstreamPressureHead;
  /// A diameter solve: the next size of the list and the head loss through it.
  std::optional<double> standardNominal, standardDiameter, standardHeadLoss;
  std::string sizeNote;  ///< why there is no standard size, when there is none
  bool velocityAboveMinimum = true;
  bool velocityBelowMaximum = true;
  std::vector<std::string> warnings;  ///< notes that carry no unit
  int evaluations = 0;                ///< of the search for a discharge or a diameter
  /// The head-loss curve, when the caller asked HeadLossCurve for it.
  std::vector<HeadLossPoint> curve;
  bool Ok() const { return !error; }
};

/// Solves the pipe for its unknown and fills every result but the curve.
PressurePipeResults SolvePressurePipe(const PressurePipeInputs& in);

/// Total head loss from zero to twice the discharge in `points` equal steps.
std::vector<HeadLossPoint> HeadLossCurve(const PipeLaw& law, double discharge, double diameter,
                                         double length, int points = kHeadLossCurvePoints);

}  // namespace rivulet
