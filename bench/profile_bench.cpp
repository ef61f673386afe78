// Water-surface profiles: a 1000-step direct-step backwater in a prismatic channel, and a
// standard-step profile through 100 surveyed sections of 200 points each, one whole
// SolveProfile per iteration (critical and normal depths, both controls, classes).
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/profiles/water_profile.h"

namespace rivulet {
namespace {

void BM_DirectStep1000(benchmark::State& state) {
  ProfileInputs in;
  in.shape = {SectionKind::Trapezoid, 0, 6.0, 2.0};
  in.manningsN = 0.03;
  in.slope = 0.0008;
  in.reachLength = 1e6;  // long enough for every step to be taken
  in.discharge = 25;
  in.downstream = {ControlKind::Depth, 3.5};
  in.method = ProfileMethod::DirectStep;
  in.numberOfSteps = 1000;
  size_t points = 0;
  for (auto _ : state) {
    const ProfileResults r = SolveProfile(in);
    points = r.points.size();
    benchmark::DoNotOptimize(r.points.back().depth);
  }
  state.counters["points"] = static_cast<double>(points);
}

// A stream surveyed every 20 m: 200 points per section, a meandering low-flow channel in a
// wide floodplain, three roughness zones.
void BM_StandardStep100Sections(benchmark::State& state) {
  ProfileInputs in;
  in.channel = ProfileChannel::Sections;
  for (int s = 0; s < 100; ++s) {
    SurveyedStation row;
    row.station = 20.0 * s;
    const double bed = 100 + 0.001 * row.station;
    for (int i = 0; i < 200; ++i) {
      const double x = i * 0.5;
      const double centre = 50 + 5 * std::sin(s * 0.3);
      const double u = (x - centre) / 6;
      const double z = u * u < 1 ? 0.2 + 2.5 * (u * u - 1) + 0.05 * std::sin(i)
                                 : 0.2 + 0.02 * std::abs(x - centre);
      row.section.station.push_back(x);
      row.section.elevation.push_back(bed + 2.3 + z + (i == 0 || i == 199 ? 5 : 0));
    }
    row.section.breaks = {40, 60};
    row.section.n = {0.06, 0.035, 0.06};
    in.sections.push_back(row);
  }
  in.discharge = 30;
  in.downstream = {ControlKind::Normal, 0};
  in.method = ProfileMethod::StandardStep;
  in.maximumStepLength = 50;  // the survey's own stations only
  size_t points = 0;
  for (auto _ : state) {
    const ProfileResults r = SolveProfile(in);
    if (!r.ok) state.SkipWithError(r.message.c_str());
    points = r.points.size();
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = static_cast<double>(points);
}

BENCHMARK(BM_DirectStep1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StandardStep100Sections)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rivulet
