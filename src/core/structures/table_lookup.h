// Piecewise-linear reading of digitised coefficient curves and grids. Outside its points a
// curve is held at its end value, and the reading says so, so that the caller can warn
// instead of extrapolating silently.
#pragma once

#include <cstddef>
#include <span>

namespace rivulet {

/// One point of a digitised curve.
struct CurvePoint {
  double x;
  double y;
};

/// A value read from a curve or grid, and whether x (or either grid coordinate) lay
/// outside the points and was held at the nearest end.
struct TableReading {
  double value = 0;
  bool held = false;
};

/// y at x on the curve (points in rising x), linear between points, held beyond the ends.
TableReading ReadCurve(std::span<const CurvePoint> curve, double x);

/// The bilinear value of a grid (rows × columns, row-major) at (row x, column y), each axis
/// rising; held at the nearest edge outside it.
TableReading ReadGrid(std::span<const double> rows, std::span<const double> columns,
                      std::span<const double> values, double x, double y);

}  // namespace rivulet
