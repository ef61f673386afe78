// The arithmetic alone, without the sheet's text round trip: each closed-form inversion and
// one evaluation of a part-full pipe, on base-unit numbers. Set beside the solver's figures
// they show how much of a solve is arithmetic and how much is reading and writing text, and
// why a pipe search costs what its evaluation count times one evaluation costs.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/hydraulics/closed_forms.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"

namespace rivulet {
namespace {

// The solver benchmark's sheet: pipe D = 1 m, channels b = 1 m, y = 1 m, z = 1.5, S = 0.001,
// n = 0.013. The inputs pass through DoNotOptimize so the compiler cannot fold the formulas.
constexpr double kSlope = 0.001, kN = 0.013, kV = 0.6, kQ = 1.2, kWidth = 1, kDepth = 1,
                 kSide = 1.5;
const double kPi = 4 * std::atan(1.0);

template <typename F>
void RunClosedForm(benchmark::State& st, F f) {
  double v = kV, n = kN, s = kSlope, b = kWidth, y = kDepth, z = kSide, q = kQ;
  for (auto _ : st) {
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(q);
    benchmark::DoNotOptimize(f(v, q, n, s, b, y, z));
  }
}

void BM_RectangleDepthForVelocity(benchmark::State& st) {
  RunClosedForm(st, [](double v, double, double n, double s, double b, double, double) {
    return RectangleDepthForVelocity(v, n, s, b);
  });
}
BENCHMARK(BM_RectangleDepthForVelocity);

void BM_TriangleDepthForDischarge(benchmark::State& st) {
  RunClosedForm(st, [](double, double q, double n, double s, double, double, double z) {
    return TriangleDepthForDischarge(q, n, s, z);
  });
}
BENCHMARK(BM_TriangleDepthForDischarge);

void BM_TrapezoidWidthForVelocity(benchmark::State& st) {
  RunClosedForm(st, [](double v, double, double n, double s, double, double y, double z) {
    return TrapezoidWidthForVelocity(v, n, s, y, z);
  });
}
BENCHMARK(BM_TrapezoidWidthForVelocity);

void BM_FullPipeDiameterForDischarge(benchmark::State& st) {
  RunClosedForm(st, [](double, double q, double n, double s, double, double, double) {
    return FullPipeDiameterForDischarge(q, n, s);
  });
}
BENCHMARK(BM_FullPipeDiameterForDischarge);

void BM_ManningSlope(benchmark::State& st) {
  RunClosedForm(st, [](double v, double, double n, double, double, double y, double) {
    return ManningSlope(v, n, y / 4);
  });
}
BENCHMARK(BM_ManningSlope);

// One step of every pipe search: the wetted angle, area, perimeter, radius and velocity at
// one depth. A search's cost is its evaluation count times this, whatever else it does.
void BM_PipeEvaluation(benchmark::State& st) {
  double depth = 0.62, d = 1, s = kSlope, n = kN;
  for (auto _ : st) {
    benchmark::DoNotOptimize(depth);
    double y = depth;
    const double theta = PipeAngle(y, d, kPi);
    const double area = PipeArea(theta, d);
    const double r = HydraulicRadius(area, PipePerimeter(theta, d));
    benchmark::DoNotOptimize(ManningVelocity(r, s, n) * area);
  }
}
BENCHMARK(BM_PipeEvaluation);

// The primary depth search of the solver benchmark's pipe, with its evaluation count.
void BM_PartFullPipeDepth(benchmark::State& st) {
  const SearchContext ctx{SectionKind::Pipe, MachineEpsilon(), kPi};
  const FlowTarget flow{FlowQuantity::Velocity, 1.05, kSlope, kN};
  int evaluations = 0;
  for (auto _ : st) {
    const SearchResult r = PartFullPipeDepth(ctx, flow, 1);
    evaluations = r.evaluations;
    benchmark::DoNotOptimize(r.value);
  }
  st.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_PartFullPipeDepth);

}  // namespace
}  // namespace rivulet
