#include "core/structures/table_lookup.h"

#include <algorithm>

namespace rivulet {
namespace {

// The interval [i, i+1] of axis holding x (clamped) and the fraction of the way along it.
struct Place {
  std::size_t i = 0;
  double t = 0;
  bool held = false;
};

Place Locate(std::span<const double> axis, double x) {
  Place p;
  if (axis.size() < 2 || x <= axis.front()) {
    p.held = axis.size() >= 2 ? x < axis.front() : true;
    return p;
  }
  if (x >= axis.back()) {
    p.i = axis.size() - 2;
    p.t = 1;
    p.held = x > axis.back();
    return p;
  }
  const auto it = std::upper_bound(axis.begin(), axis.end(), x);
  p.i = static_cast<std::size_t>(it - axis.begin()) - 1;
  p.t = (x - axis[p.i]) / (axis[p.i + 1] - axis[p.i]);
  return p;
}

}  // namespace

TableReading ReadCurve(std::span<const CurvePoint> curve, double x) {
  if (curve.empty()) return {};
  if (x <= curve.front().x) return {curve.front().y, x < curve.front().x};
  if (x >= curve.back().x) return {curve.back().y, x > curve.back().x};
  std::size_t i = 1;
  while (curve[i].x < x) ++i;
  const CurvePoint& a = curve[i - 1];
  const CurvePoint& b = curve[i];
  return {a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x), false};
}

TableReading ReadGrid(std::span<const double> rows, std::span<const double> columns,
                      std::span<const double> values, double x, double y) {
  const Place r = Locate(rows, x);
  const Place c = Locate(columns, y);
  const std::size_t n = columns.size();
  const auto at = [&](std::size_t i, std::size_t j) {
    return values[std::min(i, rows.size() - 1) * n + std::min(j, n - 1)];
  };
  const double low = at(r.i, c.i) + (at(r.i, c.i + 1) - at(r.i, c.i)) * c.t;
  const double high = at(r.i + 1, c.i) + (at(r.i + 1, c.i + 1) - at(r.i + 1, c.i)) * c.t;
  return {low + (high - low) * r.t, r.held || c.held};
}

}  // namespace rivulet
