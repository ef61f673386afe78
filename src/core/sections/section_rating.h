// The rating of a surveyed section: depth against discharge at uniform flow, in the rating
// table's own rows, so that the tables, plots and exports of prismatic channels serve it.
// Depths are above the lowest point. Base units: m, m², m/s, m³/s, m/m.
#pragma once

#include <optional>

#include "core/hydraulics/rating_table.h"
#include "core/sections/section_model.h"
#include "core/sections/section_solve.h"

namespace rivulet {

/// The row at depth (m) above the lowest point, at slope (m/m). The Froude number carries
/// the energy coefficient: √(α·Q²·T / (g·A³)).
RatingRow SectionRatingRow(const SectionModel& model, double slope, double depth);

/// Rows the request asks for. Without walls at the ends the range stops at bank-full (its
/// depth or discharge in cutAt); an end of +infinity asks for bank-full, walls or not.
/// Problems (a bad section, slope or range) come in problem.
RatingTable BuildSectionRating(const StationSection& section, CompositeMethod method, double slope,
                               const RatingRequest& request);

/// The solved depth and every critical depth the solve found for its discharge, on the
/// curve at slope (m/m); none when the solve failed.
std::vector<RatingMark> SectionRatingMarks(const StationSection& section, CompositeMethod method,
                                           double slope, const SectionResults& solved);

}  // namespace rivulet
