// Root searches for the unknowns Manning's equation cannot give in closed form. Each finds
// the dimension at which the computed velocity or discharge meets a target and reports how
// many times it evaluated the equation. Arithmetic faults are not caught here: they end the
// search and reach the caller as ArithmeticFault.
#pragma once

#include <optional>
#include <string_view>

#include "core/hydraulics/section_kind.h"

namespace rivulet {

/// Upper bound of the open-ended bisections and the failure value of the angle search; the
/// solver's final check rejects anything at or above it.
inline constexpr double kNoSolution = 1e8;
/// The angle search stops once the velocity is within this of the target (m/s).
inline constexpr double kAngleSearchTolerance = 1e-13;
inline constexpr int kAngleSearchCap = 5000;
inline constexpr int kNewtonCap = 1000;

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

/// Whether a target is a velocity (m/s) or a discharge (m³/s).
enum class FlowQuantity { Velocity, Discharge };

/// What BisectPipe looks for. AltDepth searches the falling branch above the peak.
enum class PipeUnknown { Depth, AltDepth, Diameter };

/// What BisectOpenChannel looks for.
enum class ChannelUnknown { Depth, Width, Side };

struct SearchResult {
  double value = 0;
  /// Evaluations of Manning's equation (Newton: iterations).
  int evaluations = 0;
};

/// Depth, alternate depth or diameter (m) of a circular pipe carrying the target. r is the
/// diameter for Depth and AltDepth, the depth for Diameter; the upper bound is the diameter,
/// or kNoSolution for Diameter. lower is raised in place as the search narrows.
SearchResult BisectPipe(const SearchContext& ctx, PipeUnknown unknown, FlowQuantity quantity,
                        double& lower, double r, double slope, double n, double target);

/// Depth, bottom width or side slope of an open channel carrying the target, searched over
/// [0, kNoSolution]. r and s are the known dimensions: Depth r = b, s = z; Width r = y,
/// s = z; Side r = b, s = y. Returns exactly kNoSolution when no value below it suffices.
SearchResult BisectOpenChannel(const SearchContext& ctx, ChannelUnknown unknown,
                               FlowQuantity quantity, double r, double s, double slope, double n,
                               double target);

/// Side slope of a trapezoid or gutter giving the target velocity (m/s), stepping the angle
/// of the sides up from nearly flat: the flatter of two solutions, or kNoSolution.
SearchResult SearchSideSlopeAngle(const SearchContext& ctx, double target, double b, double y,
                                  double n, double slope);

/// The same by Newton's method started from vertical sides: the steeper solution.
SearchResult NewtonSideSlope(const SearchContext& ctx, double b, double y, double slope, double n,
                             double target);

/// Where the velocity or discharge of a part-full pipe peaks below the crown.
struct PipePeak {
  double depth = 0;
  double value = 0;
  int evaluations = 0;
};

/// Locates the peak of the velocity or discharge of a pipe of diameter d over depth.
PipePeak LocatePipePeak(const SearchContext& ctx, FlowQuantity quantity, double d, double slope,
                        double n);

/// Primary depth of a part-full pipe carrying the target: BisectPipe's depth, except where
/// that search runs up to the crown although the target is below the pipe's peak. It assumes
/// the flow rises with depth, which fails above the peak; there the depth on the rising
/// branch below the peak is returned instead. A target above the peak still gives the crown.
SearchResult PartFullPipeDepth(const SearchContext& ctx, FlowQuantity quantity, double d,
                               double slope, double n, double target);

}  // namespace rivulet
