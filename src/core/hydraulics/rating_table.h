// A channel's rating: depth against discharge at uniform flow, from the section's geometry
// and Manning's equation at one slope and n, tabulated over a range of depths or of
// discharges, with the points a designer looks for on it. Base units throughout: m, m²,
// m/s, m³/s, m/m.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/searches.h"

namespace rivulet {

inline constexpr int kDefaultRatingRows = 51;
inline constexpr int kMinRatingRows = 2;
/// Far beyond any useful table; it keeps a typing slip from asking for gigabytes.
inline constexpr int kMaxRatingRows = 1000000;

/// A channel at uniform flow: its section, slope (m/m) and Manning's n.
struct RatingChannel {
  ChannelSection section;
  double slope = 0;
  double n = 0;
  bool operator==(const RatingChannel&) const = default;
};

/// One depth of the rating.
struct RatingRow {
  double depth = 0;      ///< m
  double area = 0;       ///< m²
  double velocity = 0;   ///< m/s
  double discharge = 0;  ///< m³/s
  /// V / √(g·A/T); none where the surface has closed (a pipe running full).
  std::optional<double> froude;
  /// Depth over diameter, in per cent; pipes only.
  std::optional<double> percentFull;
};

/// Why a channel has no rating, or "" when it has one: a section that holds no water, a
/// slope or n that is not above zero.
std::string RatingChannelProblem(const RatingChannel& channel);

/// The row at depth (m). A pipe's depth above its crown counts as the crown. An empty
/// channel is the limit of a shallow one: no area, no velocity, no flow, Froude number 0.
/// Faults (a section that holds no water, n of 0) raise ArithmeticFault.
RatingRow RatingRowAt(const RatingChannel& channel, double depth);

/// Depth (m) at which the channel carries discharge (m³/s) at uniform flow; 0 for no flow.
/// A pipe carries discharges between full flow and its maximum at two depths: this is the
/// lower one, below the peak. None above a pipe's maximum.
std::optional<double> NormalDepth(const RatingChannel& channel, double discharge);

enum class RatingStep { Depth, Discharge };

/// Rows evenly spaced from one depth (m) or discharge (m³/s) to another, both included.
struct RatingRequest {
  RatingStep step = RatingStep::Depth;
  double from = 0;
  double to = 0;
  int rows = kDefaultRatingRows;
  bool operator==(const RatingRequest&) const = default;
};

struct RatingTable {
  std::vector<RatingRow> rows;
  /// Why there are no rows; "" when there are.
  std::string problem;
  /// Where a pipe cut the range short: its crown (m) when stepping depths, its maximum
  /// discharge (m³/s) when stepping discharges.
  std::optional<double> cutAt;
  /// The worst end of the depth searches behind the rows of a discharge step; a row whose
  /// search hit its cap shows the middle of the bracket it had reached.
  SearchEnd searchEnd = SearchEnd::Converged;
};

/// The table the request asks for. A depth step gives every row its own depth; a
/// discharge step gives every row exactly its discharge, at its normal depth.
RatingTable BuildRatingTable(const RatingChannel& channel, const RatingRequest& request);

enum class RatingMarkKind { Solution, Alternate, Critical, FullFlow, MaximumFlow };

/// A point worth marking on the rating curve.
struct RatingMark {
  RatingMarkKind kind = RatingMarkKind::Solution;
  /// The curve at the mark's depth.
  RatingRow row;
  /// For the critical depth: the discharge (m³/s) it belongs to, which the curve itself
  /// carries at another depth.
  double forDischarge = 0;
};

/// What the sheet solved for the channel, in base units.
struct RatingSolution {
  double depth = 0;
  double discharge = 0;
  /// A second depth of the same section carrying the same discharge (a part-full pipe).
  std::optional<double> alternateDepth;
};

/// The marks of a channel: the solution and its alternate, the critical depth of the
/// solution's discharge, and for a pipe its full flow and its maximum. Marks that do not
/// exist (no solution, no critical depth below the crown) are left out.
std::vector<RatingMark> RatingMarks(const RatingChannel& channel,
                                    const std::optional<RatingSolution>& solution);

}  // namespace rivulet
