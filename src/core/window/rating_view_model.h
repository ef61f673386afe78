// The Rating Table window without its widgets: it follows the sheet, rebuilds the table
// only when its channel or request changes, gives the plot its smooth curve and marks,
// words the note line, applies the range rule to a typed end and proposes export names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/window/frm_rivulet.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

/// Rows of the smooth curve under a table: as fine as a screen or a page can show.
inline constexpr int kRatingCurveRows = 801;

/// What a table is built from: equal requests give equal tables.
struct RatingBuildRequest {
  RatingChannel channel;
  RatingRequest request;
  bool operator==(const RatingBuildRequest&) const = default;
};

/// The depth request of the smooth curve drawn under a table of that step; none when the
/// table has no rows or its own depths are already as fine.
std::optional<RatingRequest> RatingCurveRequest(const RatingTable& table, RatingStep step);

/// What the note line above the table is worded from.
struct RatingNoteFacts {
  std::string problem;          ///< why there is no table; "" when there is one
  bool solutionMarked = false;  ///< the sheet's results are current and marked
  bool calculated = false;      ///< the sheet has solved once, current or not
  RatingStep step = RatingStep::Depth;
  bool pipe = false;
  std::optional<double> cutAt;  ///< the table's cut (m or m³/s)
  RatingUnits units;
};

/// The note line: the problem alone, or the notes that apply joined by blanks; "" for none.
std::string RatingNote(const RatingNoteFacts& facts);

/// A range end as the window shows it: six significant digits, enough to retype.
std::string RatingRangeText(double value);

enum class RatingRangeEnd { From, To };

/// What became of a typed range end.
struct RatingRangeEdit {
  enum class Outcome { Unchanged, Changed, Refused };
  Outcome outcome = Outcome::Unchanged;
  /// Why a refused end was refused, naming the box; the range is kept.
  std::string refusal;
};

/// Applies one typed range end (shown units) to settings. The untouched end keeps its
/// exact value, not its shown digits; an end retyped as shown changes nothing.
RatingRangeEdit EditRatingRange(RatingSettings& settings, RatingRangeEnd end,
                                const std::string& typed);

/// The unit the range is shown in: the length unit or the discharge unit, as the step asks.
std::string RatingRangeUnit(const RatingSettings& settings);

/// "storm-sewer-rating.csv" for the sheet's file "storm-sewer.rvl"; unsavedName + ".csv"
/// ("rating.csv") while the sheet has no file name.
std::string ProposedRatingFileName(const std::string& sheetFileName, const std::string& extension,
                                   const std::string& unsavedName = "rating");

class RatingViewModel {
 public:
  explicit RatingViewModel(const frmRivulet& form) : form_(form) {}

  /// Takes in the sheet as it stands: its channel, solution, units and file name.
  void Refresh();
  /// A new step starts from its own default range.
  void SetStep(RatingStep step);
  void SetRows(int rows);
  void UseDefaultRange();
  void SetUnits(const RatingUnits& units);
  /// A typed From or To; see EditRatingRange.
  RatingRangeEdit EditRange(RatingRangeEnd end, const std::string& typed);

  const RatingSource& Source() const { return source_; }
  const RatingSettings& Settings() const { return settings_; }
  const RatingTable& Table() const { return table_; }
  /// The smooth curve for the plot; empty when the table's rows serve.
  const std::vector<RatingRow>& Curve() const { return curve_; }
  /// The solution, critical depth and pipe capacities, while there is a table.
  const std::vector<RatingMark>& Marks() const { return marks_; }
  bool Pipe() const { return source_.channel.section.shape == SectionKind::Pipe; }

  /// "Rating Table - storm-sewer.rvl", or "Rating Table" for an unsaved sheet.
  const std::string& Title() const { return title_; }
  std::string Note() const;
  /// The note says why there is no table rather than adding to one.
  bool NoteIsProblem() const { return !table_.problem.empty(); }
  /// The range ends as shown; none when the range cannot be shown in the unit.
  std::optional<std::pair<std::string, std::string>> RangeTexts() const;
  std::string RangeUnit() const { return RatingRangeUnit(settings_); }
  /// The name offered when the table is saved with that extension ("csv", "pdf").
  std::string ProposedName(const std::string& extension) const;
  /// How many tables have been built: a rebuild happens only when the request changes.
  int Builds() const { return builds_; }

 private:
  void Rebuild();

  const frmRivulet& form_;
  RatingSource source_;
  RatingSettings settings_;
  RatingTable table_;
  std::optional<RatingBuildRequest> built_;
  std::vector<RatingRow> curve_;
  std::vector<RatingMark> marks_;
  std::string title_ = "Rating Table";
  int builds_ = 0;
};

}  // namespace rivulet
