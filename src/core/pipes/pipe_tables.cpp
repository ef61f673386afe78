#include "core/pipes/pipe_tables.h"

#include <array>

namespace rivulet {
namespace {

constexpr double kMilliFoot = 0.3048e-3;

}  // namespace

const std::vector<PipeMaterial>& PipeMaterials() {
  // C 130-140, e 0.85; C 120-140, e 1.0-10; C 120, e 0.5; C 140-150, e 0.005; C 140-150,
  // e 0.15; C 110, no e (10^-3 ft); n 0.012-0.015, 0.012-0.017, 0.015-0.017, 0.011-0.015,
  // 0.015-0.017, 0.013-0.015.
  static const std::vector<PipeMaterial> materials{
      {"castIron", "Cast iron", 0.85 * kMilliFoot, 130, 0.015},
      {"concrete", "Concrete or concrete lined", 10 * kMilliFoot, 120, 0.017},
      {"galvanizedIron", "Galvanized iron", 0.5 * kMilliFoot, 120, 0.017},
      {"plastic", "Plastic", 0.005 * kMilliFoot, 140, 0.015},
      {"steel", "Steel", 0.15 * kMilliFoot, 140, 0.017},
      {"vitrifiedClay", "Vitrified clay", std::nullopt, 110, 0.015},
  };
  return materials;
}

const PipeMaterial* FindPipeMaterial(std::string_view name) {
  for (const PipeMaterial& m : PipeMaterials())
    if (m.name == name) return &m;
  return nullptr;
}

const std::vector<FittingKind>& FittingKinds() {
  static const std::vector<FittingKind> kinds{
      {"globeValve", "Globe valve, fully open", 10.0},
      {"angleValve", "Angle valve, fully open", 5.0},
      {"swingCheckValve", "Swing check valve, fully open", 2.5},
      {"gateValve", "Gate valve, fully open", 0.2},
      {"shortRadiusElbow", "Short-radius elbow", 0.9},
      {"mediumRadiusElbow", "Medium-radius elbow", 0.8},
      {"longRadiusElbow", "Long-radius elbow", 0.6},
      {"elbow45", "45 degree elbow", 0.4},
      {"closedReturnBend", "Closed return bend", 2.2},
      {"teeRun", "Standard tee, flow through run", 0.6},
      {"teeBranch", "Standard tee, flow through branch", 1.8},
      {"squareEntrance", "Square entrance", 0.5},
      {"exit", "Exit", 1.0},
  };
  return kinds;
}

const FittingKind* FindFittingKind(std::string_view name) {
  for (const FittingKind& k : FittingKinds())
    if (k.name == name) return &k;
  return nullptr;
}

double MinorLossK(const std::vector<Fitting>& fittings) {
  double sum = 0;
  for (const Fitting& f : fittings) sum += f.k * f.count;
  return sum;
}

std::optional<double> WaterViscosityAt(int celsius) {
  // Centistokes at 0, 1, ... 39 C.
  static constexpr std::array<double, kWaterTableHighest - kWaterTableLowest + 1> kCentistokes{
      1.7923, 1.7321, 1.6741, 1.6193, 1.5676, 1.5188, 1.4726, 1.4288, 1.3874, 1.3479,
      1.3101, 1.2740, 1.2396, 1.2068, 1.1756, 1.1457, 1.1168, 1.0888, 1.0618, 1.0356,
      1.0105, 0.9863, 0.9629, 0.9403, 0.9186, 0.8975, 0.8774, 0.8581, 0.8394, 0.8214,
      0.8039, 0.7870, 0.7708, 0.7551, 0.7398, 0.7251, 0.7109, 0.6971, 0.6839, 0.6711};
  if (celsius < kWaterTableLowest || celsius > kWaterTableHighest) return std::nullopt;
  return kCentistokes[celsius - kWaterTableLowest] * 1e-6;
}

}  // namespace rivulet
