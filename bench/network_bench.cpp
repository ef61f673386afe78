// A storm-sewer network of 10,000 pipes designed and its grade line walked, one SolveNetwork
// per iteration: a trunk of 100 pipes, each of its structures fed by a chain of 99 inlets,
// so that areas and times accumulate down long paths as they do in a real catchment.
#include <benchmark/benchmark.h>

#include <string>

#include "core/networks/network.h"

namespace rivulet {
namespace {

NetworkStructure Structure(std::string id, StructureKind kind, double area) {
  NetworkStructure s;
  s.id = std::move(id);
  s.kind = kind;
  s.rimElevation = 200;
  s.drainageArea = area;
  s.runoffCoefficient = area > 0 ? 0.6 : 0;
  s.inletTime = area > 0 ? 300 : 0;
  s.benching = Benching::HalfBenched;
  return s;
}

NetworkPipe Pipe(std::string id, std::string from, std::string to, double slope, double angle) {
  NetworkPipe p;
  p.id = std::move(id);
  p.from = std::move(from);
  p.to = std::move(to);
  p.length = 50;
  p.manningsN = 0.013;
  p.slope = slope;
  p.inflowAngle = angle;
  return p;
}

NetworkInputs Herringbone(int trunk, int branch) {
  NetworkInputs in;
  in.structures.push_back(Structure("OUT", StructureKind::Outfall, 0));
  for (int t = 0; t < trunk; ++t) {
    const std::string node = "T" + std::to_string(t);
    in.structures.push_back(Structure(node, StructureKind::AccessHole, 0));
    in.pipes.push_back(
        Pipe(node + "-out", node, t + 1 < trunk ? "T" + std::to_string(t + 1) : "OUT", 0.002, 180));
    for (int b = 0; b < branch; ++b) {
      const std::string inlet = node + "B" + std::to_string(b);
      in.structures.push_back(Structure(inlet, StructureKind::Inlet, 200));
      in.pipes.push_back(Pipe(inlet + "-out", inlet,
                              b + 1 < branch ? node + "B" + std::to_string(b + 1) : node, 0.005,
                              b + 1 < branch ? 180 : 90));
    }
  }
  const double mmPerHour = 1 / 3.6e6;
  in.idf.duration = {300, 600, 1200, 1800, 3600, 7200, 10800};
  in.idf.intensity = {150 * mmPerHour, 120 * mmPerHour, 90 * mmPerHour, 75 * mmPerHour,
                      50 * mmPerHour,  32 * mmPerHour,  24 * mmPerHour};
  in.design.minimumDiameter = 0.3;
  in.design.minimumTimeOfConcentration = 300;
  in.design.minimumCover = 1.0;
  in.design.sizes = BuiltInMetricSizes();
  in.tailwaterElevation = 150;
  return in;
}

void BM_DesignTenThousandPipes(benchmark::State& state) {
  const NetworkInputs in = Herringbone(100, 99);
  for (auto _ : state) {
    const NetworkResults r = SolveNetwork(in);
    if (!r.ok) state.SkipWithError(r.message.c_str());
    benchmark::DoNotOptimize(r.structures.back().energyGradeElevation);
  }
  state.counters["pipes"] = static_cast<double>(in.pipes.size());
}

BENCHMARK(BM_DesignTenThousandPipes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rivulet
