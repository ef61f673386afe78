// Root searches for the unknowns Manning's equation cannot give in closed form. Each finds
// the dimension at which the computed velocity or discharge meets a target, reports how
// many times it evaluated the equation and how it ended. Arithmetic faults are not caught
// here: they end the search and reach the caller as ArithmeticFault.
#pragma once

#include <string_view>

#include "core/hydraulics/section_kind.h"

namespace rivulet {

/// Upper bound of the open-ended bisections and the failure value of the angle search; the
/// solver's final check rejects anything at or above it.
inline constexpr double kNoSolution = 1e8;
/// The angle search stops once the velocity is within this of the target (m/s).
inline constexpr double kAngleSearchTolerance = 1e-13;
/// Steps of the angle search before it gives up.
inline constexpr int kAngleSearchCap = 5000;
/// Iterations of Newton's method before it gives up.
inline constexpr int kNewtonCap = 1000;
/// Narrowings of the golden-section search for a pipe's peak; about 75 close it to eps.
inline constexpr int kPeakSearchCap = 200;

/// The smallest power of two whose sum with 1 is still above 1 in double precision (2^-52).
double MachineEpsilon();

/// What every search needs from the solver.
struct SearchContext {
  SectionKind section = SectionKind::Pipe;
  /// Stopping tolerance of the bisections and of Newton's method.
  double eps = 0;
  /// The program's 4 · atan(1).
  double pi = 0;
};

/// How a search ended, from best to worst. Whatever the end, the value is the one the
/// search has always returned, so callers that used it go on using it.
enum class SearchEnd {
  Converged,  ///< its stopping rule was met with the target inside its range
  NoBracket,  ///< the flow never crossed the target: the value is the end of the range
  HitCap,     ///< it ran out of evaluations: the value is its last iterate, not a root
};

/// The worse of two ends.
SearchEnd WorseEnd(SearchEnd a, SearchEnd b);

struct SearchResult {
  double value = 0;
  /// Evaluations of Manning's equation (Newton: iterations).
  int evaluations = 0;
  SearchEnd end = SearchEnd::Converged;
  /// Width of the bracket when a bracketed search ended (0 when it hit its target exactly).
  double bracket = 0;
};

/// Whether a target is a velocity (m/s) or a discharge (m³/s).
enum class FlowQuantity { Velocity, Discharge };

/// The flow a search must meet.
struct FlowTarget {
  FlowQuantity quantity = FlowQuantity::Velocity;
  double value = 0;  ///< m/s or m³/s
  double slope = 0;  ///< m/m
  double n = 0;      ///< Manning's n
};

/// What BisectPipe looks for. AltDepth searches the falling branch above the peak.
enum class PipeUnknown { Depth, AltDepth, Diameter };

/// A circular pipe searched for a depth or its diameter; the field sought is ignored.
/// Stopping rule: two successive midpoints within ctx.eps of each other (absolute, m). No
/// cap is needed: a bracket of adjacent doubles stops moving, so the rule is always met.
struct PipeSearch {
  PipeUnknown unknown = PipeUnknown::Depth;
  FlowTarget flow;
  double diameter = 0;  ///< m
  double depth = 0;     ///< m
  /// Lower end of the range (m); a depth is searched up to the diameter, a diameter up to
  /// kNoSolution. The alternate depth starts at the primary one.
  double lower = 0;
};

/// Depth, alternate depth or diameter (m) of a circular pipe carrying the target. Ends
/// NoBracket when the flow stayed on one side of the target throughout.
SearchResult BisectPipe(const SearchContext& ctx, const PipeSearch& search);

/// What BisectOpenChannel looks for.
enum class ChannelUnknown { Depth, Width, Side };

/// An open channel searched for one dimension over [0, kNoSolution]; the field sought is
/// ignored. Gutter formulas when ctx.section is a gutter, the trapezoid's otherwise.
/// Stopping rule as PipeSearch's.
struct ChannelSearch {
  ChannelUnknown unknown = ChannelUnknown::Depth;
  FlowTarget flow;
  double width = 0;  ///< bottom width b (m)
  double depth = 0;  ///< y (m)
  double side = 0;   ///< z, horizontal per 1 vertical
};

/// Depth, bottom width or side slope of an open channel carrying the target. Returns exactly
/// kNoSolution, ending NoBracket, when no value below it suffices.
SearchResult BisectOpenChannel(const SearchContext& ctx, const ChannelSearch& search);

/// A trapezoid (ctx.section Trapezoid) or a gutter (any other section) of known width and
/// depth, searched for the side slope giving a velocity.
struct SideSlopeSearch {
  double width = 0;     ///< bottom width b (m)
  double depth = 0;     ///< y (m)
  double velocity = 0;  ///< target (m/s)
  double slope = 0;     ///< m/m
  double n = 0;         ///< Manning's n
};

/// Ends a search that steps towards its target: Converged once |residual| ≤ tolerance,
/// HitCap after cap evaluations.
struct StoppingRule {
  double tolerance = 0;  ///< in the residual's unit (m/s for the side-slope searches)
  int cap = 0;
};

inline constexpr StoppingRule kAngleSearchRule{kAngleSearchTolerance, kAngleSearchCap};

/// Side slope giving the target velocity, stepping the angle of the sides up from nearly
/// flat: the flatter of two solutions. An angle that leaves (0°, 90°] ends NoBracket with
/// kNoSolution.
SearchResult SearchSideSlopeAngle(const SearchContext& ctx, const SideSlopeSearch& search,
                                  const StoppingRule& rule = kAngleSearchRule);

/// The same by Newton's method started from vertical sides: the steeper solution. The value
/// is the last slope evaluated; the solver's rule is {ctx.eps, kNewtonCap}.
SearchResult NewtonSideSlope(const SearchContext& ctx, const SideSlopeSearch& search,
                             const StoppingRule& rule);

/// Where the velocity or discharge of a part-full pipe peaks below the crown.
struct PipePeak {
  double depth = 0;
  double value = 0;
  int evaluations = 0;
  /// Converged once the bracket is within 2·ctx.eps·d; HitCap after the cap's narrowings.
  SearchEnd end = SearchEnd::Converged;
};

/// Locates the peak of the velocity or discharge of a pipe of diameter d (m) over depth.
PipePeak LocatePipePeak(const SearchContext& ctx, FlowQuantity quantity, double d, double slope,
                        double n, int cap = kPeakSearchCap);

/// Primary depth (m) of a part-full pipe of diameter d (m) carrying the target: BisectPipe's
/// depth, except where that search runs up to the crown although the target is below the
/// pipe's peak. It assumes the flow rises with depth, which fails above the peak; there the
/// depth on the rising branch below the peak is returned instead. A target above the peak
/// still gives the crown.
SearchResult PartFullPipeDepth(const SearchContext& ctx, const FlowTarget& flow, double d);

}  // namespace rivulet
