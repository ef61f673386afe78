// Rows per second of the case table: CSV text in, every row computed on a freshly started
// calculation sheet, CSV text out. The batch command promises 20,000 rows/s on one core.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "core/cases/case_batch.h"

namespace rivulet {
namespace {

constexpr int kRows = 10000;

// A storm-sewer and channel mix: closed forms, bisections and a failing row in ten.
std::string Table(int rows) {
  const char* kinds[] = {
      "pipe,depth,0.05,m3/s,,m,0.45,m,,,5,/1000,0.013",
      "pipe,diameter,0.05,m3/s,0.3,m,,m,,,5,/1000,0.013",
      "pipe,velocity,,m/s,0.2,m,0.45,m,,,5,/1000,0.013",
      "rectangle,depth,0.4,m3/s,,m,1,m,,,2,/1000,0.015",
      "trapezoid,discharge,,cfs,2,ft,4,ft,2,1/x,0.2,%,0.03",
      "triangle,depth,0.05,m3/s,,m,,,2,1/x,5,/1000,0.016",
      "gutter,sideSlope,0.05,m3/s,0.1,m,0.3,m,,1/x,5,/1000,0.016",
      "pipe,slope,0.1,m3/s,0.3,m,0.45,m,,,,/1000,0.013",
      "rectangle,manningsN,0.4,m3/s,0.3,m,1,m,,,2,/1000,",
      "rectangle,depth,45,m/s,,m,0.3,m,,,1,/1000,0.013",
  };
  std::string csv =
      "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,sideSlope,"
      "sideSlopeUnit,slope,slopeUnit,manningsN\n";
  for (int i = 0; i < rows; ++i) csv += "r" + std::to_string(i) + "," + kinds[i % 10] + "\n";
  return csv;
}

void Run(benchmark::State& state, bool details) {
  const std::string csv = Table(kRows);
  const CaseStart start = CaseStart::BuiltIn(StartupValues::ForFolder("/nonexistent/rivulet"));
  for (auto _ : state) {
    std::istringstream in(csv);
    std::ostringstream out, err;
    benchmark::DoNotOptimize(RunCaseStream(in, start, details, out, err));
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_CaseRows(benchmark::State& s) { Run(s, false); }
void BM_CaseRowsWithDetails(benchmark::State& s) { Run(s, true); }

BENCHMARK(BM_CaseRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaseRowsWithDetails)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rivulet
