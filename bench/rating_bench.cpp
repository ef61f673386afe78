// Time to build a rating table of 100,000 rows, stepping depths and stepping discharges,
// and to write it as CSV: the window rebuilds the table on every change, so this must
// stay far below what a user notices.
#include <benchmark/benchmark.h>

#include "core/files/rating_csv.h"
#include "core/hydraulics/rating_table.h"

namespace rivulet {
namespace {

constexpr int kRows = 100000;

const RatingChannel kPipe{{SectionKind::Pipe, 0.45, 0, 0}, 0.005, 0.013};
const RatingChannel kSwale{{SectionKind::Trapezoid, 0, 0.6, 4}, 0.005, 0.035};

void Build(benchmark::State& state, const RatingChannel& channel, RatingStep step, double top) {
  for (auto _ : state) {
    RatingTable t = BuildRatingTable(channel, {step, 0, top, kRows});
    benchmark::DoNotOptimize(t.rows.data());
  }
}

void BM_PipeDepths(benchmark::State& s) { Build(s, kPipe, RatingStep::Depth, 0.45); }
void BM_PipeDischarges(benchmark::State& s) { Build(s, kPipe, RatingStep::Discharge, 0.2); }
void BM_SwaleDepths(benchmark::State& s) { Build(s, kSwale, RatingStep::Depth, 0.52); }
void BM_SwaleDischarges(benchmark::State& s) { Build(s, kSwale, RatingStep::Discharge, 0.8); }

void BM_PipeCsv(benchmark::State& state) {
  const RatingTable t = BuildRatingTable(kPipe, {RatingStep::Depth, 0, 0.45, kRows});
  for (auto _ : state) {
    std::string text = JoinRatingLines(RatingLines(t.rows, true, RatingUnits{}, ','));
    benchmark::DoNotOptimize(text.data());
  }
}

BENCHMARK(BM_PipeDepths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipeDischarges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwaleDepths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwaleDischarges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipeCsv)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rivulet
