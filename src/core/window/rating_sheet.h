// The rating of the channel on the calculation sheet: what it is built from, the window's
// own settings (range, rows, units) that follow the sheet, and its columns as the table,
// the plot, the exports and the batch mode show them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// The channel behind the sheet with its solution and default range.
struct RatingSource {
  RatingChannel channel;
  /// Why the sheet gives no channel; "" when it does.
  std::string problem;
  /// The solution, while the sheet's results are current.
  std::optional<RatingSolution> solution;
  /// The top of the default range: a pipe's diameter, else twice the depth (m); and the
  /// discharge there, or a pipe's maximum (m³/s).
  double defaultTopDepth = 1;
  double defaultTopDischarge = 0;
  /// "Circular Pipe: diameter 450 mm, slope 5 /1000, n 0.013", in the sheet's units.
  std::string description;
};

/// The channel of the last completed calculation while its results are current (so a
/// solved dimension counts, unrounded), otherwise the section, dimensions, slope and n
/// typed on the sheet.
RatingSource RatingSourceOf(const frmRivulet& form);

/// List positions of the units the rating is shown in.
struct RatingUnits {
  int length = 2;     ///< length units, "meters"
  int area = 2;       ///< area units, "m²"
  int velocity = 0;   ///< velocity units, "m/s"
  int discharge = 0;  ///< discharge units, "m³/s"
  bool operator==(const RatingUnits&) const = default;
};

/// The sheet's units: the depth's length, the flow area's, and its velocity and discharge
/// wherever the velocity/discharge mode puts them.
RatingUnits RatingUnitsOf(const frmRivulet& form);

enum class RatingColumn { Depth, Area, Velocity, Discharge, Froude, PercentFull };

/// The columns in order; percent full for pipes only.
std::vector<RatingColumn> RatingColumns(bool pipe);
/// "Depth", "Flow Area", ...
std::string RatingColumnTitle(RatingColumn column);
/// The unit's name as the sheet's lists write it; "-" for the Froude number, "%".
std::string RatingColumnUnit(RatingColumn column, const RatingUnits& units);
/// "Depth (mm)": the title with its unit, as headers write it.
std::string RatingColumnHeader(RatingColumn column, const RatingUnits& units);
/// The row's value in the column's unit; none where the row has none.
std::optional<double> RatingCellValue(const RatingRow& row, RatingColumn column,
                                      const RatingUnits& units);

/// Decimals that show the column's largest value to five significant digits, so that a
/// column of numbers lines up.
int RatingColumnDecimals(const std::vector<RatingRow>& rows, RatingColumn column,
                         const RatingUnits& units);
/// The value with that many decimals; "" for none.
std::string RatingCellText(const std::optional<double>& value, int decimals);

/// "Solution", "Alternate", "Critical depth", "Full flow", "Maximum".
std::string RatingMarkName(RatingMarkKind kind);
/// Every value of a row as lines of "Title: value unit", for the plot's hover text.
std::string RatingRowText(const RatingRow& row, const RatingUnits& units);

/// The rating window's own settings. The units take the sheet's whenever the sheet changes
/// one; the range follows the sheet's default until the user sets one.
class RatingSettings {
 public:
  /// Takes in the sheet as it stands.
  void Follow(const RatingSource& source, const RatingUnits& sheetUnits);

  RatingStep Step() const { return step_; }
  /// A new step starts from its default range: depths and discharges do not compare.
  void SetStep(RatingStep step);

  /// The range in base units (m or m³/s).
  double From() const { return from_; }
  double To() const { return to_; }
  /// The range as shown: in the length unit or the discharge unit, as the step asks.
  double ShownFrom() const;
  double ShownTo() const;
  /// Sets the range from shown values; from now on it is the user's.
  void SetShownRange(double from, double to);
  void UseDefaultRange();
  bool RangeIsDefault() const { return defaultRange_; }

  int Rows() const { return rows_; }
  void SetRows(int rows) { rows_ = rows; }

  const RatingUnits& Units() const { return units_; }
  void SetUnits(const RatingUnits& units) { units_ = units; }

  RatingRequest Request() const { return {step_, from_, to_, rows_}; }

 private:
  double ToShown(double base) const;
  double FromShown(double shown) const;

  RatingStep step_ = RatingStep::Depth;
  double from_ = 0, to_ = 1;
  bool defaultRange_ = true;
  int rows_ = kDefaultRatingRows;
  RatingUnits units_;
  std::optional<RatingUnits> sheetUnits_;
  double defaultDepth_ = 1, defaultDischarge_ = 0;
};

}  // namespace rivulet
