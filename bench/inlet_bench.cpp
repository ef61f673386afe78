// One full SolveInlet per iteration (checks, the gutter solve, the inlet): on a grade a grate
// and a sweeper combination (two gutter solves), in a sag the ponding depth's bisection for a
// curb opening and a combination inlet.
#include <benchmark/benchmark.h>

#include "core/drainage/inlet.h"

namespace rivulet {
namespace {

InletInputs Street(InletLocation location, InletType type) {
  InletInputs in;
  in.gutter.gutterType = GutterType::Composite;
  in.gutter.longitudinalSlope = 0.01;
  in.gutter.manningsN = 0.016;
  in.gutter.crossSlope = 0.02;
  in.gutter.gutterWidth = 0.6;
  in.gutter.gutterDepression = 0.05;
  in.location = location;
  in.inletType = type;
  in.grateType = GrateType::CurvedVane;
  in.grateLength = 0.9;
  in.grateWidth = 0.6;
  in.openingLength = 3.0;
  in.openingHeight = 0.125;
  return in;
}

// Discharges cycled so that no two solves in a row start from the same numbers.
void Solve(benchmark::State& state, InletLocation location, InletType type) {
  InletInputs in = Street(location, type);
  const double discharges[] = {0.02, 0.035, 0.05, 0.08, 0.12, 0.2, 0.3, 0.45};
  size_t i = 0;
  for (auto _ : state) {
    in.gutter.discharge = discharges[i++ % std::size(discharges)];
    const InletResults r = SolveInlet(in);
    benchmark::DoNotOptimize(r.interceptedDischarge);
  }
}

void BM_GrateOnGrade(benchmark::State& s) { Solve(s, InletLocation::Grade, InletType::Grate); }
void BM_SweeperOnGrade(benchmark::State& s) {
  Solve(s, InletLocation::Grade, InletType::Combination);
}
void BM_CurbOpeningSagDepth(benchmark::State& s) {
  Solve(s, InletLocation::Sag, InletType::CurbOpening);
}
void BM_CombinationSagDepth(benchmark::State& s) {
  Solve(s, InletLocation::Sag, InletType::Combination);
}

BENCHMARK(BM_GrateOnGrade);
BENCHMARK(BM_SweeperOnGrade);
BENCHMARK(BM_CurbOpeningSagDepth);
BENCHMARK(BM_CombinationSagDepth);

}  // namespace
}  // namespace rivulet
