// The tables full-pipe flow draws on: pipe materials with their roughness, Hazen-Williams C
// and Manning's n; the loss coefficients of common fittings; the kinematic viscosity of
// water by temperature.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rivulet {

/// A new pipe's material. Where the source gives a range, the value is the end that loses
/// more head (lowest C, highest n and roughness), so a design on it errs to the safe side.
struct PipeMaterial {
  std::string name;                 ///< "castIron", as in files
  std::string label;                ///< "Cast iron"
  std::optional<double> roughness;  ///< absolute roughness e, m; none where the source has none
  double hazenWilliamsC = 0;
  double manningsN = 0;
};

/// Cast iron, concrete, galvanized iron, plastic, steel and vitrified clay (EPANET 2.2
/// manual, table 3.2; roughness given there in 10^-3 ft).
const std::vector<PipeMaterial>& PipeMaterials();
const PipeMaterial* FindPipeMaterial(std::string_view name);

/// A fitting and its loss coefficient K (EPANET 2.2 manual, table 3.3).
struct FittingKind {
  std::string name;   ///< "gateValve"
  std::string label;  ///< "Gate valve, fully open"
  double k = 0;
};

const std::vector<FittingKind>& FittingKinds();
const FittingKind* FindFittingKind(std::string_view name);

/// One line of the minor losses: a fitting's K (its table value unless typed) times how
/// many there are.
struct Fitting {
  std::string id;
  std::string fitting;  ///< a FittingKinds() name, or "other"
  double k = 0;
  double count = 1;
};

/// Sum of K times count over the fittings.
double MinorLossK(const std::vector<Fitting>& fittings);

/// Water at 20 C taken as 1.0 centistoke, the value full-pipe network models assume (m2/s).
inline constexpr double kWaterViscosity20C = 1.0e-6;

/// Lowest and highest temperature (C) of the viscosity table.
inline constexpr int kWaterTableLowest = 0;
inline constexpr int kWaterTableHighest = 39;

/// Kinematic viscosity of water (m2/s) at a whole temperature in C within the table, from
/// the International Critical Tables (1928, 1929); nullopt outside it.
std::optional<double> WaterViscosityAt(int celsius);

}  // namespace rivulet
