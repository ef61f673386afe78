#include "core/window/rating_axes.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {

double NiceAxisStep(double top) {
  const double raw = top / kRatingAxisSteps;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  // The tolerance keeps a top that is already a round number from stepping up a size.
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * magnitude >= raw * (1 - 1e-9)) return m * magnitude;
  return 10 * magnitude;
}

double NiceAxisTop(double largest) {
  if (!(largest > 0) || !std::isfinite(largest)) return 1;
  const double step = NiceAxisStep(largest);
  return std::ceil(largest / step - 1e-9) * step;
}

std::vector<AxisTick> AxisTicks(double top) {
  const double step = NiceAxisStep(top);
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  std::vector<AxisTick> ticks;
  const long count = std::lround(top / step);
  for (long i = 0; i <= count; ++i) {
    const double value = static_cast<double>(i) * step;
    ticks.push_back({value, RatingCellText(value, decimals)});
  }
  return ticks;
}

RatingShown ShownRow(const RatingRow& row, const RatingUnits& u) {
  return {ConvertLength(row.depth, u.length, kFromBase),
          ConvertDischarge(row.discharge, u.discharge, kFromBase),
          ConvertVelocity(row.velocity, u.velocity, kFromBase)};
}

RatingAxisEnds RatingAxisEndsFor(const std::vector<RatingRow>& rows,
                                 const std::vector<RatingRow>& curve, const RatingUnits& units) {
  double depth = 0, discharge = 0, velocity = 0;
  for (const std::vector<RatingRow>* list : {&rows, &curve}) {
    for (const RatingRow& row : *list) {
      const RatingShown s = ShownRow(row, units);
      depth = std::max(depth, s.depth);
      discharge = std::max(discharge, s.discharge);
      velocity = std::max(velocity, s.velocity);
    }
  }
  return {NiceAxisTop(depth), NiceAxisTop(discharge), NiceAxisTop(velocity)};
}

bool MarkWithinRows(const RatingMark& mark, const std::vector<RatingRow>& rows,
                    const RatingUnits& units) {
  if (rows.empty()) return false;
  const double depth = ShownRow(mark.row, units).depth;
  // A mark computed at a row's own depth may differ from it in the last digit.
  return !(depth < ShownRow(rows.front(), units).depth * (1 - 1e-12) ||
           depth > ShownRow(rows.back(), units).depth * (1 + 1e-12));
}

std::string RatingMarkLabel(const RatingMark& mark, const RatingUnits& units) {
  const RatingShown s = ShownRow(mark.row, units);
  const std::string depth =
      ShortNumber(s.depth) + " " + RatingColumnUnit(RatingColumn::Depth, units);
  const std::string dischargeUnit = RatingColumnUnit(RatingColumn::Discharge, units);
  if (mark.kind == RatingMarkKind::Critical) {
    const double q = ConvertDischarge(mark.forDischarge, units.discharge, kFromBase);
    return "Critical depth " + depth + " for " + ShortNumber(q) + " " + dischargeUnit;
  }
  return RatingMarkName(mark.kind) + ": " + ShortNumber(s.discharge) + " " + dischargeUnit +
         " at " + depth;
}

}  // namespace rivulet
