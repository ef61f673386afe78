// A surveyed section of 500 points in three roughness zones: one depth-from-discharge solve
// (the search alone, the critical depths alone, and the whole calculation with its critical
// depths, by each composite method), and a rating table of 1000 rows stepping depths and
// stepping discharges.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/sections/section_rating.h"
#include "core/sections/section_solve.h"

namespace rivulet {
namespace {

// A natural-looking channel 100 m wide: a main channel 20 m wide and 3 m deep between
// gently rising overbanks, with a small ripple on every point so that no two are in line.
StationSection SurveyedSection() {
  StationSection s;
  for (int i = 0; i < 500; ++i) {
    const double x = 100.0 * i / 499;
    const double fromCentre = std::abs(x - 50);
    double z = fromCentre < 10 ? 3 * std::pow(fromCentre / 10, 2) : 3 + 0.08 * (fromCentre - 10);
    z += 0.02 * std::sin(1.7 * i);
    s.station.push_back(x);
    s.elevation.push_back(100 + z);
  }
  s.elevation.front() += 2;
  s.elevation.back() += 2;
  s.breaks = {40, 60};
  s.n = {0.06, 0.035, 0.07};
  return s;
}

constexpr double kSlope = 0.001;
constexpr double kDischarge = 250;  // about 4 m deep: over the banks

void BM_DepthSearch(benchmark::State& state) {
  const SectionModel model(SurveyedSection(), CompositeMethod::Conveyance);
  const double k = kDischarge / std::sqrt(kSlope);
  for (auto _ : state) benchmark::DoNotOptimize(SurfaceForConveyance(model, k, model.Lowest()));
}

void BM_CriticalDepths(benchmark::State& state) {
  const SectionModel model(SurveyedSection(), CompositeMethod::Conveyance);
  for (auto _ : state) benchmark::DoNotOptimize(CriticalDepths(model, kDischarge));
}

// The argument is the composite method: 0 conveyance, 1 Horton, 2 Pavlovskii, 3 Lotter.
void BM_SolveDepth(benchmark::State& state) {
  SectionInputs in;
  in.section = SurveyedSection();
  in.method = static_cast<CompositeMethod>(state.range(0));
  in.slope = kSlope;
  in.discharge = kDischarge;
  for (auto _ : state) benchmark::DoNotOptimize(SolveSection(in).depth);
}

void Rating(benchmark::State& state, RatingStep step, double top) {
  const StationSection section = SurveyedSection();
  for (auto _ : state) {
    RatingTable t =
        BuildSectionRating(section, CompositeMethod::Conveyance, kSlope, {step, 0, top, 1000});
    benchmark::DoNotOptimize(t.rows.data());
  }
}

void BM_RatingDepths(benchmark::State& s) { Rating(s, RatingStep::Depth, 5); }
void BM_RatingDischarges(benchmark::State& s) { Rating(s, RatingStep::Discharge, 400); }

BENCHMARK(BM_DepthSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CriticalDepths)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SolveDepth)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RatingDepths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatingDischarges)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rivulet
