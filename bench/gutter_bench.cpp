// Spread of a road gutter from its discharge, one full SolveGutter per iteration (checks,
// search, every result): the inlet worksheet runs this for each inlet of a run, and a rating
// of spread against discharge runs it per row.
#include <benchmark/benchmark.h>

#include "core/drainage/gutter.h"

namespace rivulet {
namespace {

GutterInputs Street(GutterType type) {
  GutterInputs in;
  in.gutterType = type;
  in.longitudinalSlope = 0.01;
  in.manningsN = 0.016;
  in.crossSlope = 0.02;
  in.gutterWidth = 0.6;
  in.gutterDepression = 0.05;
  in.crossSlope1 = 0.25;
  in.crossSlope2 = 0.25;
  in.crossSlope3 = 0.02;
  in.slopeBreakWidth = 0.3;
  return in;
}

// Discharges cycled so that no two solves in a row start from the same numbers; all of
// them spread past the pan or the slope break, where the search runs.
void Solve(benchmark::State& state, GutterType type) {
  GutterInputs in = Street(type);
  const double discharges[] = {0.02, 0.035, 0.05, 0.08, 0.12, 0.2, 0.3, 0.45};
  size_t i = 0;
  int evaluations = 0;
  for (auto _ : state) {
    in.discharge = discharges[i++ % std::size(discharges)];
    const GutterResults r = SolveGutter(in);
    evaluations += r.evaluations;
    benchmark::DoNotOptimize(r.spread);
  }
  state.counters["evaluations"] =
      benchmark::Counter(evaluations, benchmark::Counter::kAvgIterations);
}

void BM_UniformSpread(benchmark::State& s) { Solve(s, GutterType::Uniform); }
void BM_CompositeSpread(benchmark::State& s) { Solve(s, GutterType::Composite); }
void BM_VShapedSpread(benchmark::State& s) { Solve(s, GutterType::VShaped); }

BENCHMARK(BM_UniformSpread);
BENCHMARK(BM_CompositeSpread);
BENCHMARK(BM_VShapedSpread);

}  // namespace
}  // namespace rivulet
