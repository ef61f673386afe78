// The inlet worksheet's calculation: the gutter flow arriving at an inlet (solved by the
// gutter worksheet's own core) and what a grate, curb opening, slot or combination of grate
// and curb opening takes of it, on a grade or in a sag. One inputs struct in SI base units
// in, one results struct with its messages out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/drainage/gutter.h"
#include "core/drainage/inlet_constants.h"

namespace rivulet {

enum class InletLocation { Grade, Sag };
enum class InletType { Grate, CurbOpening, Slotted, Combination };
/// In a sag: the ponding depth from the approach flow, or the capacity at a ponding depth.
enum class SagUnknown { Depth, Capacity };
/// The throat of a curb opening, which sets the head on it as an orifice (Fig. 7.17).
enum class ThroatType { Horizontal, Inclined, Vertical };

/// Inputs, SI base units (m, m/m, m³/s, m/s). The gutter part is the gutter worksheet's
/// (uniform or composite, spread from discharge; its discharge is the approach flow).
struct InletInputs {
  GutterInputs gutter;
  /// In a sag the weir and orifice need only the discharge: without the longitudinal slope
  /// and n (false) the approach gutter is not solved and its spread is not reported.
  bool approachGutter = true;
  InletLocation location = InletLocation::Grade;
  InletType inletType = InletType::Grate;
  GrateType grateType = GrateType::P1_7_8;
  double grateLength = 0;                 ///< along the flow, m
  double grateWidth = 0;                  ///< across the flow from the kerb, m
  double openingLength = 0;               ///< curb opening, m
  double openingHeight = 0;               ///< curb opening h, m
  double slotWidth = 0;                   ///< m
  double clogging = 0;                    ///< fraction, 0 ≤ c < 1
  std::optional<double> depression;       ///< local depression a at a curb opening, m
  std::optional<double> depressionWidth;  ///< its lateral width W, m
  ThroatType throat = ThroatType::Horizontal;
  double throatAngle = 0;                    ///< inclined throat from the horizontal, degrees
  std::optional<double> splashOverVelocity;  ///< overrides the grate's fit, m/s
  std::optional<double> openingRatio;        ///< overrides the grate's opening ratio
  SagUnknown solveFor = SagUnknown::Depth;
  double pondingDepth = 0;  ///< depth at the curb, sag capacity, m
};

/// How a sag inlet runs at its ponding depth.
enum class SagRegime { Weir, Orifice, Transition };

struct InletResults {
  std::optional<GutterInputError> error;  ///< set when nothing was computed
  /// The approach gutter; absent in a sag solved for capacity with no discharge given.
  std::optional<GutterResults> gutter;
  std::optional<double> interceptedDischarge;        ///< Qi, m³/s
  std::optional<double> bypassDischarge;             ///< Qb, m³/s
  std::optional<double> efficiency;                  ///< E = Qi/Q
  std::optional<double> frontalFlowRatio;            ///< Eo over the grate (or depression) width
  std::optional<double> frontalFlowEfficiency;       ///< Rf
  std::optional<double> sideFlowEfficiency;          ///< Rs
  std::optional<double> splashOverVelocity;          ///< Vo, m/s
  std::optional<double> lengthForTotalInterception;  ///< LT, m
  std::optional<double> equivalentCrossSlope;        ///< Se, m/m
  std::optional<double> pondingDepth;                ///< sag: depth at the curb, m
  std::optional<SagRegime> regime;                   ///< sag
  std::optional<double> capacity;                    ///< sag: Qi at the ponding depth, m³/s
  std::optional<double> spreadAtPonding;             ///< sag, m
  /// Sag: the ponded water's depth at the kerb over the gutter's own section, a local
  /// depression left out, m.
  std::optional<double> pondingDepthInGutter;
  bool splashOverExceeded = false;    ///< the gutter runs faster than the grate's Vo
  std::vector<std::string> notes;     ///< the method's choices, without units
  std::vector<std::string> cautions;  ///< limits of the method met, without units
  bool Ok() const { return !error; }
};

/// The checks of the inputs alone, in field order; nothing when they may be solved.
std::optional<GutterInputError> CheckInletInputs(const InletInputs& in);

/// Largest relative difference the answer may show against the inlet's own equations.
inline constexpr double kInletAnswerTolerance = 1e-6;

/// Why a solved inlet's numbers do not satisfy its equations ("" when they do): a value
/// that is not finite, intercepted and bypass flows that do not add up to the approach flow
/// or lie outside it, an efficiency that is not their ratio, a grate's interception that is
/// not Q (Rf Eo + Rs (1 - Eo)) scaled as its length requires, or a sag capacity that is not
/// the capacity curve's at the depth found (or falls short of the flow it was found for).
std::string InletAnswerProblem(const InletInputs& in, const InletResults& results);

/// Solves the approach gutter and the inlet and fills every result that applies.
InletResults SolveInlet(const InletInputs& in);

/// "weir", "orifice" or "transition".
std::string SagRegimeName(SagRegime regime);

}  // namespace rivulet
