// A pond outlet's stage-discharge rating of 1000 rows with three devices (a low orifice, a
// second orifice pair and an overflow weir), the whole RateOutlet per iteration: what the
// worksheet computes each time its window or the batch mode solves it.
#include <benchmark/benchmark.h>

#include "core/structures/outlet.h"

namespace rivulet {
namespace {

std::vector<OutletDevice> ThreeDevices() {
  OutletDevice low;
  low.name = "low";
  low.orifice.diameter = 0.1;
  low.orifice.invertElevation = 100;
  OutletDevice mid = low;
  mid.name = "mid";
  mid.count = 2;
  mid.orifice.diameter = 0.15;
  mid.orifice.invertElevation = 100.6;
  OutletDevice weir;
  weir.name = "weir";
  weir.type = OutletDeviceType::Weir;
  weir.weir.method = WeirMethod::Simple;
  weir.weir.crestLength = 1.5;
  weir.crestElevation = 101.2;
  return {low, mid, weir};
}

void BM_OutletRating1000Rows(benchmark::State& state) {
  const std::vector<OutletDevice> devices = ThreeDevices();
  for (auto _ : state) {
    const OutletRating r = RateOutlet(devices, 100, 102.997, 0.003);
    benchmark::DoNotOptimize(r.rows.back().discharge);
  }
  state.counters["rows"] = 1000;
}

BENCHMARK(BM_OutletRating1000Rows);

}  // namespace
}  // namespace rivulet
