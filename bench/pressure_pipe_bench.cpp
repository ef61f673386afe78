// A pressure pipe solved for its discharge and for its diameter by Darcy-Weisbach with
// Colebrook-White, one full SolvePressurePipe per iteration (search, every result, the
// standard size and the head-loss curve): what the window and the batch run per Calculate.
#include <benchmark/benchmark.h>

#include <iterator>

#include "core/pipes/pressure_pipe.h"

namespace rivulet {
namespace {

PressurePipeInputs ForceMain(PressurePipeUnknown unknown) {
  PressurePipeInputs in;
  in.solveFor = unknown;
  in.law.roughness = 0.26e-3;
  in.law.minorLossK = 6.5;
  in.discharge = 0.085;
  in.diameter = 0.3;
  in.length = 2350;
  in.sizes = BuiltInMetricSizes();
  return in;
}

// Heads cycled so that no two solves in a row start from the same numbers.
void Solve(benchmark::State& state, PressurePipeUnknown unknown) {
  PressurePipeInputs in = ForceMain(unknown);
  const double heads[] = {2.5, 4, 6, 9, 12.5, 18.5, 27, 40};
  size_t i = 0;
  int evaluations = 0;
  for (auto _ : state) {
    in.headLoss = heads[i++ % std::size(heads)];
    const PressurePipeResults r = SolvePressurePipe(in);
    evaluations += r.evaluations;
    benchmark::DoNotOptimize(r.flow.totalHeadLoss);
  }
  state.counters["evaluations"] =
      benchmark::Counter(evaluations, benchmark::Counter::kAvgIterations);
}

void BM_PressurePipeDischarge(benchmark::State& s) { Solve(s, PressurePipeUnknown::Discharge); }
void BM_PressurePipeDiameter(benchmark::State& s) { Solve(s, PressurePipeUnknown::Diameter); }

BENCHMARK(BM_PressurePipeDischarge);
BENCHMARK(BM_PressurePipeDiameter);

}  // namespace
}  // namespace rivulet
