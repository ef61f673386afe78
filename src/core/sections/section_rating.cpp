#include "core/sections/section_rating.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/sections/section_solve.h"

namespace rivulet {
namespace {

double Step(double from, double to, int i, int rows) {
  return i == rows - 1 ? to : from + (to - from) * i / (rows - 1);
}

}  // namespace

RatingRow SectionRatingRow(const SectionModel& m, double slope, double depth) {
  RatingRow row;
  row.depth = std::max(depth, 0.0);
  if (row.depth == 0) {
    row.froude = 0;
    return row;
  }
  const SectionState s = m.StateAt(m.Lowest() + row.depth);
  row.area = s.area;
  row.discharge = Checked(s.conveyance * std::sqrt(slope));
  row.velocity = Div(row.discharge, s.area);
  row.froude =
      Sqrt(Div(s.alpha * row.discharge * row.discharge * s.topWidth, kGravity * Pow(s.area, 3)));
  return row;
}

RatingTable BuildSectionRating(const StationSection& section, CompositeMethod method, double slope,
                               const RatingRequest& r) {
  RatingTable t;
  t.problem = SectionProblem(section);
  if (t.problem.empty() && !(std::isfinite(slope) && slope > 0))
    t.problem = "The longitudinal slope must be a number above 0.";
  if (t.problem.empty() && (r.rows < kMinRatingRows || r.rows > kMaxRatingRows))
    t.problem = "The number of rows must be from " + std::to_string(kMinRatingRows) + " to " +
                std::to_string(kMaxRatingRows) + ".";
  if (t.problem.empty() &&
      !(std::isfinite(r.from) && std::isfinite(r.to) && r.from >= 0 && r.to > r.from))
    t.problem = "The range must start at 0 or more and end above its start.";
  if (!t.problem.empty()) return t;
  try {
    const SectionModel m(section, method);
    const double fullDepth = m.BankFull() - m.Lowest();
    const double rootS = std::sqrt(slope);
    double to = r.to;
    if (r.step == RatingStep::Depth) {
      if (!m.ExtendWalls() && to > fullDepth) {
        if (r.from >= fullDepth) {
          t.problem = "The range starts at or above the bank-full depth.";
          return t;
        }
        to = fullDepth;
        t.cutAt = to;
      }
      t.rows.reserve(r.rows);
      for (int i = 0; i < r.rows; ++i)
        t.rows.push_back(SectionRatingRow(m, slope, Step(r.from, to, i, r.rows)));
    } else {
      const double full = m.ConveyanceAt(m.BankFull()) * rootS;
      if (!m.ExtendWalls() && to > full) {
        if (r.from >= full) {
          t.problem = "The range starts at or above the bank-full discharge.";
          return t;
        }
        to = full;
        t.cutAt = to;
      }
      t.rows.reserve(r.rows);
      double below = m.Lowest();
      for (int i = 0; i < r.rows; ++i) {
        const double q = Step(r.from, to, i, r.rows);
        // Each search starts from the last row's surface: discharge rises with depth.
        const std::optional<double> w = SurfaceForConveyance(m, q / rootS, below);
        if (!w) throw ArithmeticFault("no surface carries the discharge");
        RatingRow row = SectionRatingRow(m, slope, *w - m.Lowest());
        row.discharge = q;
        t.rows.push_back(row);
        below = *w;
      }
    }
  } catch (const ArithmeticFault&) {
    t.rows.clear();
    t.cutAt.reset();
    t.problem = "The range is too large for this section: its figures overflow.";
  }
  return t;
}

std::vector<RatingMark> SectionRatingMarks(const StationSection& section, CompositeMethod method,
                                           double slope,
                                           const std::optional<RatingSolution>& solution) {
  std::vector<RatingMark> marks;
  if (!solution || !SectionProblem(section).empty() || !(slope > 0)) return marks;
  try {
    const SectionModel m(section, method);
    marks.push_back({RatingMarkKind::Solution, SectionRatingRow(m, slope, solution->depth), 0});
    for (double y : CriticalDepths(m, solution->discharge))
      marks.push_back(
          {RatingMarkKind::Critical, SectionRatingRow(m, slope, y), solution->discharge});
  } catch (const ArithmeticFault&) {
  }
  return marks;
}

}  // namespace rivulet
