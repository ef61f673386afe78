// The flow details of the last completed calculation as the window, the reports and the
// scripts' output show them: one row per quantity, primary and alternate side by side, in
// the units the sheet uses.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/flow_details.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// Whether the details belong to the results the sheet shows.
enum class DetailsState {
  Empty,    ///< no completed calculation stands behind the sheet
  Current,  ///< "Calculations Complete!"
  Stale,    ///< the input was modified since
};

struct DetailCell {
  /// The number in the row's unit; none for words and for what does not exist.
  std::optional<double> value;
  /// As shown: the number in the sheet's format, or words.
  std::string text;
};

struct DetailRow {
  /// A stable camelCase name for scripts ("wettedPerimeter").
  std::string key;
  std::string label;
  /// The unit's name as the sheet's lists write it ("mm", "m/s"); empty when none.
  std::string unit;
  /// How the figure is made and every constant it uses.
  std::string toolTip;
  DetailCell primary;
  DetailCell alternate;
};

struct DetailsTable {
  DetailsState state = DetailsState::Empty;
  bool hasAlternate = false;
  /// The flow asked for is more than the pipe carries: shown running full (SurchargeOf).
  bool surcharged = false;
  std::vector<DetailRow> rows;
  /// A circular pipe's capacity in a sentence, for each solution ("" for other sections).
  std::string primaryNote;
  std::string alternateNote;
};

/// The solved flows in base units: the primary and, where the sheet has one, the alternate.
struct SolvedFlows {
  FlowState primary;
  std::optional<FlowState> alternate;
};

/// The flows of a completed solve.
SolvedFlows FlowsOf(const CompletedSolve& solve);

/// The details of the sheet's last completed calculation in the sheet's units and format.
DetailsTable FlowDetailsTable(const frmRivulet& form);

/// The unit of length the details use: the depth's.
int DetailsLengthUnit(const frmRivulet& form);

/// The ground of a result that stands with a warning: a surcharged pipe at its capacity.
inline constexpr Colour kSurchargeAmber = Colour::FromRgb(255, 224, 128);

/// A pipe asked for more than it carries running full, in the unit of the first row.
struct Surcharge {
  bool velocity = false;  ///< a velocity was asked for, not a discharge
  double asked = 0;       ///< what the first row asks for
  double capacity = 0;    ///< the same quantity of the pipe running full (Manning's equation)
  double ratio = 0;       ///< asked / capacity, above 1
  std::string unit;
};

/// What the pipe ran full with an asked flow: its full-flow capacity and what was asked,
/// whether or not the asked flow exceeds it; none when it did not run full.
std::optional<Surcharge> RunningFullCapacity(const frmRivulet& form);
/// The running-full capacity when the asked flow exceeds it: the results stand for the
/// pipe running full, not for what was asked.
std::optional<Surcharge> SurchargeOf(const frmRivulet& form);
/// The surcharge in one sentence: what was asked, the capacity, the ratio and which
/// results are at capacity.
std::string SurchargeSentence(const Surcharge& s);

}  // namespace rivulet
