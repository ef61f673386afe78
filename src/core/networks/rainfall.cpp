#include "core/networks/rainfall.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"

namespace rivulet {

std::string IdfProblem(const IdfCurve& c) {
  if (c.form == IdfCurve::Form::Formula) {
    if (!(c.a > 0)) return "The rainfall curve's a must be above zero.";
    if (!(c.b >= 0)) return "The rainfall curve's b must not be negative.";
    if (!(c.c >= 0) || !std::isfinite(c.c)) return "The rainfall curve's c must not be negative.";
    if (!(c.durationUnit > 0) || !(c.intensityUnit > 0))
      return "The rainfall curve needs units for its duration and intensity.";
    return "";
  }
  if (c.duration.empty() || c.duration.size() != c.intensity.size())
    return "The rainfall table needs as many intensities as durations, at least one.";
  for (size_t i = 0; i < c.duration.size(); ++i) {
    if (!(c.duration[i] > 0) || !(c.intensity[i] > 0) || !std::isfinite(c.duration[i]) ||
        !std::isfinite(c.intensity[i]))
      return "The rainfall table's durations and intensities must be above zero (row " +
             std::to_string(i + 1) + ").";
    if (i > 0 && !(c.duration[i] > c.duration[i - 1]))
      return "The rainfall table's durations must rise from row to row (row " +
             std::to_string(i + 1) + ").";
  }
  return "";
}

IntensityAt RainfallIntensity(const IdfCurve& c, double duration) {
  if (c.form == IdfCurve::Form::Formula) {
    const double t = duration / c.durationUnit;
    return {Mul(Div(c.a, Pow(t + c.b, c.c)), c.intensityUnit), false};
  }
  if (duration <= c.duration.front()) return {c.intensity.front(), false};
  // Intensity falls with duration, so holding the last value past the table errs high.
  if (duration > c.duration.back()) return {c.intensity.back(), true};
  const auto hi = std::lower_bound(c.duration.begin(), c.duration.end(), duration);
  const size_t j = static_cast<size_t>(hi - c.duration.begin());
  const double t0 = c.duration[j - 1], t1 = c.duration[j];
  const double i0 = c.intensity[j - 1], i1 = c.intensity[j];
  return {i0 + (i1 - i0) * (duration - t0) / (t1 - t0), false};
}

}  // namespace rivulet
