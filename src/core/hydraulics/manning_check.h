// The last word on a solve: whatever path found it, a solution is only reported when its
// numbers satisfy Manning's equation with the inputs they came from.
#pragma once

#include <optional>

#include "core/hydraulics/solver.h"

namespace rivulet {

/// Largest relative difference between the velocity a solve reports and the one Manning's
/// equation gives for its section, and between its discharge and V·A. The searches stop
/// far inside it (about 1e-12 at worst); a solve that lost its water to underflow or
/// overflow misses it by orders of magnitude.
inline constexpr double kManningResidualTolerance = 1e-6;

/// The relative residual of a solve's record (0 when exact): max of |V − R^(2/3)·S^(1/2)/n|
/// and |Q − V·A|, each over the larger magnitude of its two sides. nullopt when the record
/// cannot be judged: a value that is not finite, a geometry that faults, a flow V·A that
/// underflows, or a section without flow area that reports any velocity or discharge
/// other than exactly 0.
std::optional<double> ManningResidual(const SolveRecord& record, double pi);

/// True when the record satisfies Manning's equation within kManningResidualTolerance.
bool SatisfiesManning(const SolveRecord& record, double pi);

}  // namespace rivulet
