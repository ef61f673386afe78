// Nominal pipe diameters that are bought, and the choice of the smallest one that carries a
// discharge within a fullness limit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/units.h"

namespace rivulet {

/// A list of nominal diameters: millimetres for a metric list, inches for a US list.
struct SizeList {
  std::string name;
  UnitSystem system = UnitSystem::SI;
  std::vector<double> sizes;
};

/// The built-in metric list (DN 100 to 3000 mm) and US list (8 to 108 in).
SizeList BuiltInMetricSizes();
SizeList BuiltInUsSizes();

/// "mm" for a metric list, "in" for a US list.
const char* NominalUnit(UnitSystem system);
/// Metres in one unit of the list (0.001 or 0.0254).
double NominalToMetres(UnitSystem system);

/// A standard pipe at the design discharge, in base units (m, m³/s, m/s).
struct StandardSize {
  double nominal = 0;   ///< in the list's unit
  double diameter = 0;  ///< m
  double depth = 0;     ///< normal depth of the design discharge (m)
  double velocity = 0;  ///< m/s at that depth
  double percentFull = 0;
  double capacityAtLimit = 0;  ///< largest discharge within the fullness limit (m³/s)
  double fullFlow = 0;         ///< running-full discharge (m³/s)
  double spare = 0;            ///< full-flow discharge less the design discharge (m³/s)
};

/// The largest discharge (m³/s) a pipe of diameter (m) carries at slope (m/m) and n without
/// its depth exceeding depthRatio · D: the peak of Q(y) on [0, depthRatio · D].
double CapacityWithinDepthRatio(double diameter, double slope, double n, double depthRatio);

/// The lower normal depth (m) of discharge (m³/s) in the pipe, which must not exceed the
/// pipe's peak; bisection to the last bit.
double PipeNormalDepth(double diameter, double slope, double n, double discharge);

/// The pipe of nominal size (list unit) at the design discharge; nullopt when it does not
/// carry it within depthRatio.
std::optional<StandardSize> SizeAt(const SizeList& list, double nominal, double slope, double n,
                                   double discharge, double depthRatio);

/// The smallest size of the list carrying discharge (m³/s) at slope (m/m) and n within the
/// depth ratio; nullopt when none does (or the inputs cannot carry flow). A capacity short
/// of the discharge by no more than kSizingTolerance (relative) still counts, so a diameter
/// solved exactly at a standard size chooses that size.
std::optional<StandardSize> SmallestStandardSize(const SizeList& list, double slope, double n,
                                                 double discharge, double depthRatio);

/// Relative shortfall of capacity still accepted when choosing a size (rounding of a
/// solved diameter that lands on a standard size).
inline constexpr double kSizingTolerance = 1e-12;

}  // namespace rivulet
