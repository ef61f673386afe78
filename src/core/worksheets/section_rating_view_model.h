// The irregular section's rating window without its widgets: it reads the worksheet, solves
// it once, builds the table the controls ask for, marks the solution and critical depths
// from that one solve, and words the note, heading and export names.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/sections/section_solve.h"
#include "core/window/rating_sheet.h"
#include "core/worksheets/worksheet_model.h"

namespace rivulet {

/// The section in words for the rating's heading: "10 points, 3 zones (n 0.045, 0.032,
/// 0.05), slope 0.004 m/m, composite n by conveyance".
std::string SectionRatingDescription(const SectionInputs& inputs);

/// What the window's controls ask for.
struct SectionRatingRequest {
  RatingStep step = RatingStep::Depth;
  /// The end of the range as typed, in the step's shown unit; blank for bank-full.
  std::string to;
  int rows = kDefaultRatingRows;
};

class SectionRatingViewModel {
 public:
  using Solver = std::function<SectionResults(const SectionInputs&)>;
  /// solver solves the worksheet's section; tests count its calls.
  explicit SectionRatingViewModel(Solver solver = SolveSection);

  /// Takes in the worksheet as it stands: solves it once and builds the table asked for.
  void Refresh(const WorksheetModel& sheet, const SectionRatingRequest& request);
  /// Another request: the table is rebuilt from the last solve without solving again.
  void SetRequest(const SectionRatingRequest& request);

  const RatingTable& Table() const { return table_; }
  /// The worksheet's result units, which the table, plot and exports use.
  const RatingUnits& Units() const { return units_; }
  /// The solution and every critical depth of its discharge, while there is a table.
  const std::vector<RatingMark>& Marks() const { return marks_; }
  /// The unit the range end is typed in.
  std::string RangeUnit() const;
  /// "Irregular Section: Rating Table - ditch.rvw".
  const std::string& Title() const { return title_; }
  /// The sheet's title and the section in words, as printed above the table.
  std::string Description() const;
  /// Why there is no table, or what the table's depths mean and where its range stops.
  std::string Note() const;
  /// The name offered when the table is saved with that extension ("csv", "pdf").
  std::string ProposedName(const std::string& extension) const;

 private:
  void Rebuild();

  Solver solver_;
  SectionRatingRequest request_;
  // From the last Refresh.
  std::string sheetProblem_, sheetTitle_, fileName_;
  SectionInputs inputs_;
  SectionResults solved_;
  RatingUnits units_;
  std::string title_ = "Irregular Section: Rating Table";
  // From the last Rebuild.
  RatingTable table_;
  std::vector<RatingMark> marks_;
};

}  // namespace rivulet
