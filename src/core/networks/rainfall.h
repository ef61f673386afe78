// Rainfall intensity against storm duration: a tabulated intensity-duration-frequency curve
// read by linear interpolation, or the fitted form i = a / (t + b)^c.
#pragma once

#include <string>
#include <vector>

namespace rivulet {

struct IdfCurve {
  enum class Form { Table, Formula };
  Form form = Form::Table;
  std::vector<double> duration;   ///< s, rising (table)
  std::vector<double> intensity;  ///< m/s (table)
  /// The fitted constants, in the units the curve was fitted in: t in durationUnit, i in
  /// intensityUnit. They never convert by a fixed factor, so they stay in those units.
  double a = 0;
  double b = 0;
  double c = 0;
  double durationUnit = 60;  ///< s per unit of t
  double intensityUnit = 1;  ///< m/s per unit of i
};

struct IntensityAt {
  double intensity = 0;  ///< m/s
  /// The duration lay beyond the table's last one: its last intensity was held.
  bool beyondTable = false;
};

/// "" when the curve can be read; else why not.
std::string IdfProblem(const IdfCurve& curve);

/// The intensity (m/s) for a storm of the duration (s). Below the table's first duration the
/// first intensity holds (a shorter storm is never less intense).
IntensityAt RainfallIntensity(const IdfCurve& curve, double duration);

}  // namespace rivulet
