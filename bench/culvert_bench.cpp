// A twin box culvert under a gravel road with its tailwater from the downstream channel: one
// headwater solve (no overtopping at the design flow), and a 200-point performance curve up
// to twice it, most of whose points overtop and so balance barrels and road at one headwater.
#include <benchmark/benchmark.h>

#include "core/culverts/culvert.h"

namespace rivulet {
namespace {

Culvert TwinBox() {
  Culvert c;
  c.shape = BarrelShape::Box;
  c.inlet = FindInlet("8/1");
  c.span = 2.4;
  c.rise = 1.5;
  c.barrels = 2;
  c.length = 18;
  c.n = 0.013;
  c.entranceLoss = c.inlet->ke;
  c.inletInvert = 50;
  c.outletInvert = 49.91;
  c.channel = TailwaterChannel{SectionKind::Trapezoid, 6, 2, 0.002, 0.035};
  c.roadway = Roadway{52.6, 60, 6, RoadwaySurface::Gravel};
  return c;
}

void BM_CulvertHeadwater(benchmark::State& state) {
  const Culvert c = TwinBox();
  for (auto _ : state) benchmark::DoNotOptimize(CulvertAt(c, 15).headwaterElevation);
}

void BM_CulvertPerformance200(benchmark::State& state) {
  const Culvert c = TwinBox();
  for (auto _ : state) benchmark::DoNotOptimize(PerformanceCurve(c, 45, 200).back());
  state.counters["points"] = 200;
}

BENCHMARK(BM_CulvertHeadwater);
BENCHMARK(BM_CulvertPerformance200);

}  // namespace
}  // namespace rivulet
