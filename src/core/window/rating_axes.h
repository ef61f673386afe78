// The rating plot's scales worked out without a painter: axis ends and ticks at steps a
// reader can add up at a glance, a row's values in the shown units, and the marks' labels.
#pragma once

#include <string>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

/// Steps an axis aims for between 0 and its end.
inline constexpr int kRatingAxisSteps = 5;

/// The step of an axis ending at top (shown units): 1, 2 or 5 times a power of ten, the
/// first at least top / kRatingAxisSteps.
double NiceAxisStep(double top);

/// The axis end for a largest value (shown units): the first multiple of its nice step at
/// or above it; 1 when largest is not a positive finite number.
double NiceAxisTop(double largest);

struct AxisTick {
  double value = 0;  ///< shown units
  std::string text;  ///< as many decimals as the step needs
};

/// The ticks of an axis from 0 to top (shown units) inclusive, at top's nice step.
std::vector<AxisTick> AxisTicks(double top);

/// A row's depth, discharge and velocity in the shown units.
struct RatingShown {
  double depth = 0;
  double discharge = 0;
  double velocity = 0;
};
RatingShown ShownRow(const RatingRow& row, const RatingUnits& units);

/// The ends of the plot's three axes in the shown units.
struct RatingAxisEnds {
  double depth = 1;
  double discharge = 1;
  double velocity = 1;
};

/// Ends just above the largest depth, discharge and velocity of the rows and the curve.
RatingAxisEnds RatingAxisEndsFor(const std::vector<RatingRow>& rows,
                                 const std::vector<RatingRow>& curve, const RatingUnits& units);

/// Whether a mark lies within the depths of the rows (sorted by depth); marks beyond them
/// belong to another range and are left off the plot.
bool MarkWithinRows(const RatingMark& mark, const std::vector<RatingRow>& rows,
                    const RatingUnits& units);

/// The label beside a mark: "Solution: 120 L/s at 310 mm", or for the critical depth
/// "Critical depth 250 mm for 120 L/s".
std::string RatingMarkLabel(const RatingMark& mark, const RatingUnits& units);

}  // namespace rivulet
