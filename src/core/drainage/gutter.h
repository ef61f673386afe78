// The gutter worksheet's calculation: one inputs struct in SI base units in, one results
// struct with its messages out. The window, the batch mode and the inlet worksheet's gutter
// part all call SolveGutter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/drainage/gutter_geometry.h"

namespace rivulet {

enum class GutterType { Uniform, Composite, VShaped };

/// The unknown and the quantity it is found from.
enum class GutterUnknown {
  SpreadFromDischarge,
  DischargeFromSpread,
  DischargeFromDepth,
  SpreadFromDepth,
};

/// Inputs, SI base units (m, m/m, m³/s). Fields a section does not use are ignored; the
/// optional ones are absent when not given. Field names match the worksheet file's.
struct GutterInputs {
  GutterType gutterType = GutterType::Uniform;
  GutterUnknown solveFor = GutterUnknown::SpreadFromDischarge;
  GutterConstant constant = GutterConstant::SI;
  double longitudinalSlope = 0;  ///< SL, m/m
  double manningsN = 0;
  double crossSlope = 0;                   ///< Sx (uniform, composite), m/m
  std::optional<double> gutterWidth;       ///< W, m; optional for a uniform gutter (Eo)
  std::optional<double> gutterCrossSlope;  ///< Sw, m/m (composite; or gutterDepression)
  std::optional<double> gutterDepression;  ///< a, m (composite; or gutterCrossSlope)
  double crossSlope1 = 0;                  ///< V: outer side slope, m/m
  double crossSlope2 = 0;                  ///< V: road-side slope at the bottom, m/m
  std::optional<double> crossSlope3;       ///< V: pavement slope beyond the break, m/m
  std::optional<double> slopeBreakWidth;   ///< V: width of crossSlope2 from the bottom, m
  double discharge = 0;                    ///< m³/s, when it is the known
  double spread = 0;                       ///< m, when it is the known
  double depthAtCurb = 0;                  ///< m, when it is the known
  std::optional<double> allowableSpread;   ///< m
  std::optional<double> kerbHeight;        ///< m
};

/// An input refused, with the worksheet field it concerns.
struct GutterInputError {
  std::string field;
  std::string message;
};

/// A refusal naming the field: "Label (field) what".
GutterInputError RefuseInput(const char* field, const char* label, const std::string& what);

/// A value that must lie in (0, max]; NaN fails both comparisons and is refused.
std::optional<GutterInputError> CheckPositiveInput(double v, const char* field, const char* label,
                                                   double max);

struct GutterResults {
  std::optional<GutterInputError> error;        ///< set when nothing was computed
  double spread = 0;                            ///< T, m
  double discharge = 0;                         ///< Q, m³/s
  double depthAtCurb = 0;                       ///< m, depression included; V: at the bottom
  double flowArea = 0;                          ///< m²
  double velocity = 0;                          ///< Q/A, m/s
  std::optional<double> frontalFlowRatio;       ///< Eo, where a gutter width applies
  std::optional<double> gutterFlow;             ///< Qw, m³/s
  std::optional<double> sideFlow;               ///< Qs, m³/s
  std::optional<double> spreadOverGutterWidth;  ///< T/W
  std::optional<double> gutterCrossSlope;       ///< Sw used, m/m (composite)
  std::optional<bool> spreadWithinAllowable;
  std::optional<bool> depthWithinKerb;
  bool withinPan = false;  ///< composite: the water does not reach past the pan
  double ku = 0;           ///< the constant used, in the form of its unit system
  int evaluations = 0;     ///< of the spread search; 0 when found in closed form
  /// Notes that do not depend on units (the unit-bearing checks are formatted by callers).
  std::vector<std::string> notes;
  bool Ok() const { return !error; }
};

/// The checks of the inputs alone, in field order; nothing when they may be solved.
std::optional<GutterInputError> CheckGutterInputs(const GutterInputs& in);

/// Largest relative difference the answer may show against the gutter's own equations
/// (discharge from the spread or depth it found, and V·A against Q). The searches stop near
/// 1e-13; an answer that lost its water to overflow or underflow misses by far more.
inline constexpr double kGutterAnswerTolerance = 1e-6;

/// Why a solved gutter's numbers do not satisfy its equations ("" when they do): a value
/// that is not a finite number above zero, a discharge the equation does not give at the
/// spread or depth found, or a velocity that is not Q/A.
std::string GutterAnswerProblem(const GutterInputs& in, const GutterResults& results);

/// Solves the gutter for the chosen unknown and fills every result that applies.
GutterResults SolveGutter(const GutterInputs& in);

}  // namespace rivulet
