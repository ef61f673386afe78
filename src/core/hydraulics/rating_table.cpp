#include "core/hydraulics/rating_table.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"

namespace rivulet {
namespace {

// A discharge this close to the one sought is as close as its own rounding allows.
constexpr double kResidualEnd = 2e-16;

bool IsPipe(const RatingChannel& c) { return c.section.shape == SectionKind::Pipe; }

// Manning's discharge at depth y, without the rest of a row: the search calls it often.
double DischargeAt(const RatingChannel& c, double y) {
  if (!(y > 0)) return 0;
  const SectionGeometry g = GeometryAt(c.section, y);
  return Mul(ManningVelocity(HydraulicRadius(g.area, g.perimeter), c.slope, c.n), g.area);
}

// Normal depths of one channel, one discharge after another. A pipe's peak is found once.
class DepthSearch {
 public:
  explicit DepthSearch(const RatingChannel& c) : c_(c) {
    if (IsPipe(c)) peak_ = PipeMaximumFlow(c.section.diameter, c.slope, c.n);
  }

  const std::optional<PipeFlowPoint>& Peak() const { return peak_; }

  // The depth carrying q, searched from below: `from` is a depth known to carry no more.
  // The false position stops once Q(y) is q to the last bits or the bracket cannot narrow
  // further.
  std::optional<SearchResult> Find(double q, double from) const {
    if (!(q > 0)) return SearchResult{};
    Bracket b{from, 0};
    if (peak_) {
      if (q > peak_->discharge) return std::nullopt;
      b.above = peak_->depth;
    } else {
      // Open sections carry more the deeper they run, so doubling brackets any discharge;
      // one that is never reached overflows into a fault.
      WidenUpward(b, [&](double y) { return !(DischargeAt(c_, y) < q); });
    }
    return FalsePosition(b, [&](double y) { return DischargeAt(c_, y) - q; },
                         {.tolerance = kResidualEnd * q});
  }

 private:
  const RatingChannel& c_;
  std::optional<PipeFlowPoint> peak_;
};

std::string RangeProblem(const RatingRequest& r) {
  if (r.rows < kMinRatingRows || r.rows > kMaxRatingRows)
    return "The number of rows must be from " + std::to_string(kMinRatingRows) + " to " +
           std::to_string(kMaxRatingRows) + ".";
  if (!(std::isfinite(r.from) && std::isfinite(r.to) && r.from >= 0 && r.to > r.from))
    return "The range must start at 0 or more and end above its start.";
  return "";
}

double Step(double from, double to, int i, int rows) {
  return i == rows - 1 ? to : from + (to - from) * i / (rows - 1);
}

void StepDepths(const RatingChannel& c, double from, double to, int rows, RatingTable& t) {
  for (int i = 0; i < rows; ++i) t.rows.push_back(RatingRowAt(c, Step(from, to, i, rows)));
}

void StepDischarges(const RatingChannel& c, const DepthSearch& search, double from, double to,
                    int rows, RatingTable& t) {
  double below = 0;
  for (int i = 0; i < rows; ++i) {
    const double q = Step(from, to, i, rows);
    const std::optional<SearchResult> y = search.Find(q, below);
    if (!y) throw ArithmeticFault("no depth carries the discharge");
    RatingRow row = RatingRowAt(c, y->value);
    row.discharge = q;  // the asked-for value itself, not its round trip through the depth
    t.rows.push_back(row);
    t.searchEnd = WorseEnd(t.searchEnd, y->end);
    below = y->value;
  }
}

}  // namespace

std::string RatingChannelProblem(const RatingChannel& c) {
  const ChannelSection& s = c.section;
  auto bad = [](double v) { return !std::isfinite(v) || v < 0; };
  switch (s.shape) {
    case SectionKind::Pipe:
      if (!(s.diameter > 0) || bad(s.diameter)) return "The pipe needs a diameter above 0.";
      break;
    case SectionKind::Rectangle:
      if (!(s.width > 0) || bad(s.width)) return "The rectangle needs a width above 0.";
      break;
    case SectionKind::Triangle:
      if (!(s.side > 0) || bad(s.side)) return "The triangle needs a side slope above 0.";
      break;
    case SectionKind::Trapezoid:
    case SectionKind::Gutter:
      if (bad(s.width) || bad(s.side) || !(s.width > 0 || s.side > 0))
        return "The section needs a width or a side slope above 0.";
      break;
  }
  if (!(c.slope > 0) || !std::isfinite(c.slope)) return "The channel slope must be above 0.";
  if (!(c.n > 0) || !std::isfinite(c.n)) return "Manning's n must be above 0.";
  return "";
}

RatingRow RatingRowAt(const RatingChannel& c, double depth) {
  RatingRow row;
  const bool pipe = IsPipe(c);
  row.depth = depth > 0 ? depth : 0;
  if (pipe) {
    row.depth = std::min(row.depth, c.section.diameter);
    row.percentFull = Div(100 * row.depth, c.section.diameter);
  }
  if (row.depth == 0) {
    row.froude = 0;
    return row;
  }
  const SectionGeometry g = GeometryAt(c.section, row.depth);
  row.area = g.area;
  row.velocity = ManningVelocity(HydraulicRadius(g.area, g.perimeter), c.slope, c.n);
  row.discharge = Mul(row.velocity, g.area);
  if (g.topWidth > 0) row.froude = Div(row.velocity, Sqrt(Mul(kGravity, Div(g.area, g.topWidth))));
  return row;
}

std::optional<double> NormalDepth(const RatingChannel& channel, double discharge) {
  const std::optional<SearchResult> found = DepthSearch(channel).Find(discharge, 0);
  if (!found) return std::nullopt;
  return found->value;
}

RatingTable BuildRatingTable(const RatingChannel& c, const RatingRequest& r) {
  RatingTable t;
  t.problem = RatingChannelProblem(c);
  if (t.problem.empty()) t.problem = RangeProblem(r);
  if (!t.problem.empty()) return t;
  double to = r.to;
  try {
    if (r.step == RatingStep::Depth) {
      if (IsPipe(c) && to > c.section.diameter) {
        if (r.from >= c.section.diameter) {
          t.problem = "The range starts at or above the pipe's crown.";
          return t;
        }
        to = c.section.diameter;
        t.cutAt = to;
      }
      t.rows.reserve(r.rows);
      StepDepths(c, r.from, to, r.rows, t);
    } else {
      const DepthSearch search(c);
      if (search.Peak() && to > search.Peak()->discharge) {
        if (r.from >= search.Peak()->discharge) {
          t.problem = "The range starts at or above the pipe's maximum discharge.";
          return t;
        }
        to = search.Peak()->discharge;
        t.cutAt = to;
      }
      t.rows.reserve(r.rows);
      StepDischarges(c, search, r.from, to, r.rows, t);
    }
  } catch (const ArithmeticFault&) {
    t.rows.clear();
    t.cutAt.reset();
    t.searchEnd = SearchEnd::Converged;
    t.problem = "The range is too large for this channel: its figures overflow.";
  }
  return t;
}

std::vector<RatingMark> RatingMarks(const RatingChannel& c,
                                    const std::optional<RatingSolution>& solution) {
  std::vector<RatingMark> marks;
  // Each mark stands alone: one that faults leaves the others.
  auto add = [&](RatingMarkKind kind, auto depthOf, double forDischarge = 0) {
    try {
      if (const std::optional<double> y = depthOf())
        marks.push_back({kind, RatingRowAt(c, *y), forDischarge});
    } catch (const ArithmeticFault&) {
    }
  };
  if (!RatingChannelProblem(c).empty()) return marks;
  if (solution) {
    add(RatingMarkKind::Solution, [&] { return std::optional(solution->depth); });
    add(RatingMarkKind::Alternate, [&] { return solution->alternateDepth; });
    add(
        RatingMarkKind::Critical,
        [&] {
          const CriticalDepthResult critical = CriticalDepth(c.section, solution->discharge);
          return critical.state == CriticalState::Found ? std::optional(critical.depth)
                                                        : std::nullopt;
        },
        solution->discharge);
  }
  if (IsPipe(c)) {
    const double d = c.section.diameter;
    add(RatingMarkKind::FullFlow, [&] { return std::optional(d); });
    add(RatingMarkKind::MaximumFlow,
        [&] { return std::optional(PipeMaximumFlow(d, c.slope, c.n).depth); });
  }
  return marks;
}

}  // namespace rivulet
