// The water-surface profile worksheet (kind "profile"): a document's channel, controls and
// method read into the profile calculation, and its profile table, classes and jump named for
// files and reports.
#pragma once

#include <string>

#include "core/profiles/water_profile.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The kind's entry for the kinds table.
const WorksheetKind& ProfileKind();

/// The calculation's inputs in base units; throws WorksheetError naming the field at fault.
ProfileInputs ProfileInputsFrom(const Document& document);

/// What a solved outcome carries for the window's long section.
struct ProfileSolved {
  ProfileInputs inputs;
  ProfileResults results;
};

/// The outcome of solved results, figures in the document's result units.
SheetOutcome ProfileOutcome(const ProfileInputs& inputs, const ProfileResults& results,
                            const Document& document);

/// The profile table of a solved outcome as CSV text: a header of labels with their units,
/// then one line per point as shown in the document's result units ("" when none).
std::string ProfileTableCsv(const SheetOutcome& outcome, const Document& document);

}  // namespace rivulet
