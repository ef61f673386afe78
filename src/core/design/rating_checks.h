// The design limits judged at every row of a channel's rating: short marks a table column
// shows for the rows that break a limit, and the legend that explains them.
#pragma once

#include <string>
#include <vector>

#include "core/design/design_settings.h"
#include "core/hydraulics/rating_table.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

/// The column's header in tables and exports.
inline constexpr char kRatingChecksTitle[] = "Design Checks";
/// The mark of a row that meets every limit that applies to it.
inline constexpr char kRatingChecksMet[] = "OK";

/// How a rating is judged: the channel's criteria, in the unit system its velocities are
/// shown in (a foot unit: US).
struct RatingCheckBasis {
  RatingChannel channel;
  DesignCriteria criteria;
  UnitSystem system = UnitSystem::SI;
};

/// The basis for a rating shown in units under settings.
RatingCheckBasis RatingCheckBasisFor(const RatingChannel& channel, const RatingUnits& units,
                                     const DesignSettings& settings);

/// The marks of the limits the row breaks ("V<min", "V>max", "y/D>max", "FB<min", "Fr~1",
/// "shear>perm"), in that order; empty when it breaks none.
std::vector<std::string> RatingRowMarks(const RatingCheckBasis& basis, const RatingRow& row);

/// The marks joined by spaces, or kRatingChecksMet.
std::string RatingRowMarksText(const RatingCheckBasis& basis, const RatingRow& row);

/// One line per mark that can occur for this channel, saying what it means with its limit
/// in the criteria's units ("V<min: velocity below the self-cleansing minimum 0.6 m/s").
std::vector<std::string> RatingChecksLegend(const RatingCheckBasis& basis);

/// The legend as one paragraph for a window or a page: "Design checks: V<min: ...; OK: ...".
std::string RatingChecksParagraph(const RatingCheckBasis& basis);

/// The column header with its legend in brackets, for a CSV that travels without one.
std::string RatingChecksHeader(const RatingCheckBasis& basis);

}  // namespace rivulet
