#include "core/sections/section_rating.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/sections/section_solve.h"

namespace rivulet {
namespace {

constexpr double kBankFull = std::numeric_limits<double>::infinity();

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
      !(std::isfinite(r.from) && r.to <= kBankFull && r.from >= 0 && r.to > r.from))
    t.problem = "The range must start at 0 or more and end above its start.";
  if (!t.problem.empty()) return t;
  try {
    const SectionModel m(section, method);
    const double fullDepth = m.BankFull() - m.Lowest();
    const double rootS = std::sqrt(slope);
    double to = r.to;
    if (r.step == RatingStep::Depth) {
      if ((!m.ExtendWalls() || to == kBankFull) && to > fullDepth) {
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
      if ((!m.ExtendWalls() || to == kBankFull) && to > full) {
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
        // Each search starts from the last row's surface: discharge rises with depth. A
        // range cut at bank-full ends there: q / √S can round above the bank-full conveyance
        // and find no surface.
        const std::optional<double> w = t.cutAt && i == r.rows - 1
                                            ? std::optional<double>(m.BankFull())
                                            : SurfaceForConveyance(m, q / rootS, below);
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
                                           double slope, const SectionResults& solved) {
  std::vector<RatingMark> marks;
  if (!solved.ok || !SectionProblem(section).empty() || !(slope > 0)) return marks;
  try {
    const SectionModel m(section, method);
    marks.push_back({RatingMarkKind::Solution, SectionRatingRow(m, slope, solved.depth), 0});
    // The solve's own critical depths: searching them again would cost a second solve.
    for (double y : solved.criticalDepths)
      marks.push_back({RatingMarkKind::Critical, SectionRatingRow(m, slope, y), solved.discharge});
  } catch (const ArithmeticFault&) {
  }
  return marks;
}

}  // namespace rivulet
