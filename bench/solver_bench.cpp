// Time of one SolveManning per section and unknown, and of the searches behind the
// alternate solutions. Each case is a sheet filled as a user would fill it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/hydraulics/searches.h"
#include "core/hydraulics/solver.h"
#include "hydraulics/sheet_builder.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using testing::Inputs;
using testing::Solve;

struct SolveCase {
  const char* name;
  int section;
  bool velocityMode;
  Solve unknown;
  Inputs inputs;
  int lock = 0;
};

// Pipe D = 1 m and open channels b = 1 m, y = 1 m, z = 1.5, all at S = 0.001, n = 0.013.
const std::vector<SolveCase>& Cases() {
  static const std::vector<SolveCase> cases{
      {"Pipe/Velocity", testing::kPipe, true, Solve::Row1, {"", "0.6", "1", "", "0.001", "0.013"}},
      {"Pipe/Depth/V+alternate",
       testing::kPipe,
       true,
       Solve::Depth,
       {"1.05", "", "1", "", "0.001", "0.013"}},
      {"Pipe/Depth/V past the peak",
       testing::kPipe,
       true,
       Solve::Depth,
       {"1.097", "", "1", "", "0.001", "0.013"}},
      {"Pipe/Depth/Q+alternate",
       testing::kPipe,
       false,
       Solve::Depth,
       {"0.78", "", "1", "", "0.001", "0.013"}},
      {"Pipe/Diameter/Q",
       testing::kPipe,
       false,
       Solve::Diam,
       {"0.5", "0.6", "", "", "0.001", "0.013"}},
      {"Pipe/MaxDiam/Q",
       testing::kPipe,
       false,
       Solve::Diam,
       {"0.5", "0.6", "", "", "0.001", "0.013"},
       1},
      {"Pipe/Slope", testing::kPipe, true, Solve::Slope, {"1", "0.6", "1", "", "", "0.013"}},
      {"Pipe/Manning", testing::kPipe, true, Solve::Manning, {"1", "0.6", "1", "", "0.001", ""}},
      {"Rectangle/Depth/V",
       testing::kRectangle,
       true,
       Solve::Depth,
       {"1.2", "", "1", "", "0.001", "0.013"}},
      {"Rectangle/Depth/Q",
       testing::kRectangle,
       false,
       Solve::Depth,
       {"1.2", "", "1", "", "0.001", "0.013"}},
      {"Rectangle/Width/V",
       testing::kRectangle,
       true,
       Solve::Diam,
       {"1.2", "1", "", "", "0.001", "0.013"}},
      {"Rectangle/Width/Q",
       testing::kRectangle,
       false,
       Solve::Diam,
       {"1.2", "1", "", "", "0.001", "0.013"}},
      {"Triangle/Depth/V",
       testing::kTriangle,
       true,
       Solve::Depth,
       {"1.2", "", "", "1.5", "0.001", "0.013"}},
      {"Triangle/Depth/Q",
       testing::kTriangle,
       false,
       Solve::Depth,
       {"1.2", "", "", "1.5", "0.001", "0.013"}},
      {"Triangle/Side/V",
       testing::kTriangle,
       true,
       Solve::Side,
       {"1.2", "1", "", "", "0.001", "0.013"}},
      {"Triangle/Side/Q",
       testing::kTriangle,
       false,
       Solve::Side,
       {"1.2", "1", "", "", "0.001", "0.013"}},
      {"Trapezoid/Depth/Q",
       testing::kTrapezoid,
       false,
       Solve::Depth,
       {"3", "", "1", "1.5", "0.001", "0.013"}},
      {"Trapezoid/Width/V",
       testing::kTrapezoid,
       true,
       Solve::Diam,
       {"1.5", "1", "", "1.5", "0.001", "0.013"}},
      {"Trapezoid/Width/Q",
       testing::kTrapezoid,
       false,
       Solve::Diam,
       {"3", "1", "", "1.5", "0.001", "0.013"}},
      {"Trapezoid/Side/V+alternate",
       testing::kTrapezoid,
       true,
       Solve::Side,
       {"1.6", "1", "1", "", "0.001", "0.013"}},
      {"Trapezoid/Side/Q",
       testing::kTrapezoid,
       false,
       Solve::Side,
       {"3", "1", "1", "", "0.001", "0.013"}},
      {"Gutter/Depth/Q",
       testing::kGutter,
       false,
       Solve::Depth,
       {"2", "", "1", "1.5", "0.001", "0.013"}},
      {"Gutter/Width/V",
       testing::kGutter,
       true,
       Solve::Diam,
       {"1.4", "1", "", "1.5", "0.001", "0.013"}},
      {"Gutter/Side/V",
       testing::kGutter,
       true,
       Solve::Side,
       {"1.4", "1", "1", "", "0.001", "0.013"}},
      {"Gutter/Side/Q",
       testing::kGutter,
       false,
       Solve::Side,
       {"2", "1", "1", "", "0.001", "0.013"}},
  };
  return cases;
}

void BM_SolveManning(benchmark::State& st, const SolveCase& c) {
  CalculationSheet sheet;
  testing::PrepareSheet(sheet, c.section, c.velocityMode);
  testing::SelectUnknown(sheet, c.unknown);
  testing::SetInputs(sheet, c.inputs);
  sheet.chkLocDiam.SetValue(c.lock);
  HydraulicState state;
  RecordingServices services;
  for (auto _ : st) {
    SolveManning(sheet, state, services);
    services.busyCalls.clear();
    services.messages.clear();
  }
  if (state.noSolution) st.SkipWithError("the case has no solution");
}

const SearchContext kPipe{SectionKind::Pipe, MachineEpsilon(), 4 * std::atan(1.0)};
const SearchContext kTrapezoid{SectionKind::Trapezoid, MachineEpsilon(), 4 * std::atan(1.0)};
const SideSlopeSearch kSideSlope{
    .width = 1, .depth = 1, .velocity = 1.6, .slope = 0.001, .n = 0.013};

void BM_AltDepthSearch(benchmark::State& st) {
  const PipeSearch search{.unknown = PipeUnknown::AltDepth,
                          .flow = {FlowQuantity::Velocity, 1.05, 0.001, 0.013},
                          .diameter = 1,
                          .lower = 0.6269516};
  for (auto _ : st) benchmark::DoNotOptimize(BisectPipe(kPipe, search));
}
BENCHMARK(BM_AltDepthSearch);

void BM_PipePeak(benchmark::State& st) {
  for (auto _ : st)
    benchmark::DoNotOptimize(LocatePipePeak(kPipe, FlowQuantity::Velocity, 1, 0.001, 0.013));
}
BENCHMARK(BM_PipePeak);

void BM_SideSlopeAngleSearch(benchmark::State& st) {
  for (auto _ : st) benchmark::DoNotOptimize(SearchSideSlopeAngle(kTrapezoid, kSideSlope));
}
BENCHMARK(BM_SideSlopeAngleSearch);

void BM_NewtonSideSlope(benchmark::State& st) {
  const StoppingRule rule{kTrapezoid.eps, kNewtonCap};
  for (auto _ : st) benchmark::DoNotOptimize(NewtonSideSlope(kTrapezoid, kSideSlope, rule));
}
BENCHMARK(BM_NewtonSideSlope);

const bool kRegistered = [] {
  for (const SolveCase& c : Cases())
    benchmark::RegisterBenchmark((std::string("BM_SolveManning/") + c.name).c_str(),
                                 BM_SolveManning, c);
  return true;
}();

}  // namespace
}  // namespace rivulet
