#include "core/profiles/water_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

#include "core/hydraulics/checked_math.h"
#include "core/profiles/profile_section.h"
#include "core/profiles/profile_steps.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// A refusal of the inputs, naming the one at fault.
struct Refusal {
  std::string field;
  std::string message;
};

// Stations times points per section a surveyed reach may ask for (10 000 stations of 200
// points, or 400 of 5000): seconds at most, where a million takes about one.
constexpr double kMaxSurveyedWork = 2e6;
// A control depth this close to critical depth (relative) counts as critical.
constexpr double kAtCritical = 1e-9;

std::string DefaultLength(double metres) { return SignificantFigures(metres, 4) + " m"; }

// The reach: its stations for standard step, or its one section for direct step, and the
// section at any station between.
class Reach {
 public:
  Reach(const ProfileInputs& in, const std::function<std::string(double)>& text)
      : in_(in), text_(text) {
    if (in.channel == ProfileChannel::Prismatic)
      BuildPrismatic();
    else
      BuildSurveyed();
  }

  const std::vector<ReachNode>& Nodes() const { return nodes_; }
  const PrismaticReach& Prismatic() const { return prismatic_; }
  double Slope() const { return slope_; }
  const ReachNode& Downstream() const { return nodes_.front(); }
  const ReachNode& Upstream() const { return nodes_.back(); }

  // The section, bed and depths at station s (m) inside the reach.
  ReachNode At(double s) const {
    if (in_.channel == ProfileChannel::Prismatic) {
      ReachNode n = prismatic_.node;
      n.station = s;
      n.bed = in_.bedElevation + in_.slope * s;
      return n;
    }
    const auto above = std::lower_bound(nodes_.begin(), nodes_.end(), s,
                                        [](const ReachNode& n, double x) { return n.station < x; });
    if (above == nodes_.end()) return nodes_.back();
    if (above->station == s || above == nodes_.begin()) return *above;
    const ReachNode& below = *(above - 1);
    const double t = (s - below.station) / (above->station - below.station);
    ReachNode n;
    n.station = s;
    n.bed = below.bed + t * (above->bed - below.bed);
    n.section = MakeBlendedSection(below.section, above->section, t);
    Depths(n, "sections");
    return n;
  }

 private:
  void Depths(ReachNode& n, const std::string& field) const {
    const std::optional<double> yc = n.section->CriticalDepth(in_.discharge);
    if (!yc)
      throw Refusal{field, "The discharge fills the section at station " + text_(n.station) +
                               " before its flow turns critical: it would flow full or "
                               "overtop its banks."};
    n.criticalDepth = *yc;
    if (slope_ > 0) n.normalDepth = n.section->NormalDepth(in_.discharge, slope_);
  }

  void BuildPrismatic() {
    if (in_.shape.shape == SectionKind::Gutter)
      throw Refusal{"section", "A profile needs a rectangle, trapezoid, triangle or circle."};
    slope_ = in_.slope;
    ReachNode node;
    node.bed = in_.bedElevation;
    node.section = MakePrismaticSection(in_.shape, in_.manningsN);
    Depths(node, "discharge");
    prismatic_ = {node, in_.slope, in_.reachLength};
    if (in_.method == ProfileMethod::DirectStep) {
      nodes_ = {node, node};
      nodes_.back().station = in_.reachLength;
      nodes_.back().bed = in_.bedElevation + in_.slope * in_.reachLength;
      return;
    }
    const double steps = std::ceil(in_.reachLength / in_.maximumStepLength);
    if (!(steps <= kMaxProfileSteps))
      throw Refusal{"maximumStepLength", "The maximum step length gives more than " +
                                             std::to_string(kMaxProfileSteps) +
                                             " steps over the reach: make it longer."};
    const int count = std::max(1, static_cast<int>(steps));
    for (int i = 0; i <= count; ++i) {
      ReachNode n = node;
      n.station = in_.reachLength * i / count;
      n.bed = in_.bedElevation + in_.slope * n.station;
      nodes_.push_back(n);
    }
  }

  void BuildSurveyed() {
    const std::vector<SurveyedStation>& list = in_.sections;
    if (list.size() < 2) throw Refusal{"sections", "A surveyed reach needs two sections at least."};
    const auto name = [&](size_t i) {
      return "sections row " + std::to_string(i + 1) +
             (list[i].id.empty() ? std::string() : " (\"" + list[i].id + "\")");
    };
    std::vector<ReachNode> surveyed;
    for (size_t i = 0; i < list.size(); ++i) {
      if (i > 0 && !(list[i].station > list[i - 1].station))
        throw Refusal{"sections", name(i) + ": station " + text_(list[i].station) +
                                      " is not above " + text_(list[i - 1].station) +
                                      " of the row before. List the sections from the "
                                      "downstream end up, in increasing station."};
      if (const std::string why = SectionProblem(list[i].section); !why.empty())
        throw Refusal{"sections", name(i) + ": " + why};
      ReachNode n;
      n.station = list[i].station;
      n.bed = *std::min_element(list[i].section.elevation.begin(), list[i].section.elevation.end());
      n.section = MakeSurveyedSection(list[i].section, in_.compositeMethod);
      surveyed.push_back(n);
    }
    slope_ = (surveyed.back().bed - surveyed.front().bed) /
             (surveyed.back().station - surveyed.front().station);
    const double length = surveyed.back().station - surveyed.front().station;
    // Every station between surveys is worked from both neighbours' points: the work grows
    // with stations times points, and a window must not freeze on a survey of thousands.
    size_t points = 0;
    for (const SurveyedStation& s : list) points = std::max(points, s.section.station.size());
    const double stations = length / in_.maximumStepLength + static_cast<double>(list.size());
    if (!(length / in_.maximumStepLength <= kMaxProfileSteps) ||
        !(stations * static_cast<double>(points) <= kMaxSurveyedWork))
      throw Refusal{"maximumStepLength",
                    "The maximum step length gives too many stations for sections of " +
                        std::to_string(points) + " points: make it longer."};
    for (size_t i = 0; i < surveyed.size(); ++i) {
      Depths(surveyed[i], "sections");
      if (i > 0) {
        const ReachNode& a = surveyed[i - 1];
        const ReachNode& b = surveyed[i];
        const int count = std::max(
            1, static_cast<int>(std::ceil((b.station - a.station) / in_.maximumStepLength)));
        for (int j = 1; j < count; ++j) {
          const double t = static_cast<double>(j) / count;
          ReachNode n;
          n.station = a.station + t * (b.station - a.station);
          n.bed = a.bed + t * (b.bed - a.bed);
          n.section = MakeBlendedSection(a.section, b.section, t);
          Depths(n, "sections");
          nodes_.push_back(n);
        }
      }
      nodes_.push_back(surveyed[i]);
    }
  }

  const ProfileInputs& in_;
  const std::function<std::string(double)>& text_;
  std::vector<ReachNode> nodes_;
  PrismaticReach prismatic_;
  double slope_ = 0;
};

enum class Regime { Sub, Super };

struct ControlNames {
  const char* end;  // "downstream"
  const char* control;
  const char* depth;
  const char* surface;
};
const ControlNames kDownstream{"downstream", "downstreamControl", "downstreamDepth",
                               "downstreamWaterSurfaceElevation"};
const ControlNames kUpstream{"upstream", "upstreamControl", "upstreamDepth",
                             "upstreamWaterSurfaceElevation"};

// The depth a control sets at its end of the reach, refused where its regime would have to
// be computed from the other end.
std::optional<double> ControlDepth(const ProfileControl& c, const ReachNode& node,
                                   const ControlNames& names, Regime regime,
                                   const std::function<std::string(double)>& text) {
  double y = 0;
  std::string field = names.control;
  switch (c.kind) {
    case ControlKind::None:
      return std::nullopt;
    case ControlKind::Normal:
      if (!node.normalDepth)
        throw Refusal{field, std::string("Normal depth at the ") + names.end +
                                 " end needs a bed falling downstream that can carry the "
                                 "discharge below the section's top."};
      y = *node.normalDepth;
      break;
    case ControlKind::Critical:
      return node.criticalDepth;
    case ControlKind::Depth:
      field = names.depth;
      y = c.value;
      if (!(y > 0))
        throw Refusal{field, std::string("The ") + names.end + " depth must be above zero."};
      break;
    case ControlKind::WaterSurface:
      field = names.surface;
      y = c.value - node.bed;
      if (!(y > 0))
        throw Refusal{field, std::string("The ") + names.end + " water surface " + text(c.value) +
                                 " is not above the bed there, " + text(node.bed) + "."};
      break;
  }
  const double yc = node.criticalDepth;
  if (regime == Regime::Sub && y < yc * (1 - kAtCritical))
    throw Refusal{field, "The downstream control depth " + text(y) + " is below critical depth " +
                             text(yc) +
                             ": the flow there is supercritical, and a supercritical profile is "
                             "computed downstream from a control at the upstream end. Give it as "
                             "the upstream control."};
  if (regime == Regime::Super && y > yc * (1 + kAtCritical))
    throw Refusal{field, "The upstream control depth " + text(y) + " is above critical depth " +
                             text(yc) +
                             ": the flow there is subcritical, and a subcritical profile is "
                             "computed upstream from a control at the downstream end. Give it as "
                             "the downstream control."};
  return y;
}

// Depth (m) of a computed profile at station s by linear interpolation; none outside it.
std::optional<double> DepthAt(const std::vector<ComputedPoint>& byStation, double s) {
  if (byStation.empty() || s < byStation.front().station || s > byStation.back().station)
    return std::nullopt;
  const auto above =
      std::lower_bound(byStation.begin(), byStation.end(), s,
                       [](const ComputedPoint& p, double x) { return p.station < x; });
  if (above->station == s || above == byStation.begin()) return above->depth;
  const ComputedPoint& below = *(above - 1);
  const double t = (s - below.station) / (above->station - below.station);
  return below.depth + t * (above->depth - below.depth);
}

std::vector<ComputedPoint> ByStation(std::vector<ComputedPoint> points) {
  std::stable_sort(
      points.begin(), points.end(),
      [](const ComputedPoint& a, const ComputedPoint& b) { return a.station < b.station; });
  return points;
}

ProfileRow PointAt(const ReachNode& n, double depth, double q, bool supercritical) {
  const SectionHydraulics h = n.section->At(depth);
  ProfileRow p;
  p.station = n.station;
  p.bedElevation = n.bed;
  p.depth = depth;
  p.velocity = q / h.area;
  p.froudeNumber = std::sqrt(FroudeSquared(h, q));
  p.specificEnergy = depth + VelocityHead(h, q);
  p.frictionSlope = (q / h.conveyance) * (q / h.conveyance);
  p.criticalDepth = n.criticalDepth;
  p.normalDepth = n.normalDepth;
  p.supercritical = supercritical;
  return p;
}

std::string SlopeClassOf(double slope, std::optional<double> yn, double yc) {
  if (slope == 0) return "Horizontal";
  if (slope < 0) return "Adverse";
  if (!yn) return "Mild";  // a pipe too small for the flow at normal depth runs full
  if (std::abs(*yn - yc) <= kCriticalSlopeBand * yc) return "Critical";
  return *yn > yc ? "Mild" : "Steep";
}

// The profile class of one point; "" at normal or critical depth, which belong to none.
std::string ClassOf(const ProfileRow& p, double slope) {
  const double y = p.depth, yc = p.criticalDepth;
  if (std::abs(y - yc) <= kAtCritical * yc) return "";
  // Within 1 % of normal depth the flow is as good as uniform: a surveyed reach's own normal
  // depth wanders from section to section, and a class per wander says nothing.
  if (p.normalDepth && std::abs(y - *p.normalDepth) <= kNormalReported * *p.normalDepth) return "";
  const std::string cls = SlopeClassOf(slope, p.normalDepth, yc);
  const double yn = p.normalDepth.value_or(std::numeric_limits<double>::infinity());
  if (cls == "Horizontal") return y > yc ? "H2" : "H3";
  if (cls == "Adverse") return y > yc ? "A2" : "A3";
  if (cls == "Critical") return y > yc ? "C1" : "C3";
  if (cls == "Mild") return y > yn ? "M1" : y > yc ? "M2" : "M3";
  return y > yc ? "S1" : y > yn ? "S2" : "S3";
}

std::string ProfileTypeOf(const std::vector<ProfileRow>& points, double slope) {
  std::vector<std::string> labels;
  for (auto p = points.rbegin(); p != points.rend(); ++p) {
    const std::string c = ClassOf(*p, slope);
    if (!c.empty() && (labels.empty() || labels.back() != c)) labels.push_back(c);
  }
  if (labels.empty()) {
    const bool normal = std::all_of(points.begin(), points.end(), [](const ProfileRow& p) {
      return p.normalDepth &&
             std::abs(p.depth - *p.normalDepth) <= kNormalReported * *p.normalDepth;
    });
    return normal ? "uniform" : "critical";
  }
  std::string joined;
  for (const std::string& l : labels) joined += (joined.empty() ? "" : ", ") + l;
  return joined;
}

// Distance from the control at `from` along the points (in computing order) to where the
// depth first comes within kNormalReported of normal depth.
std::optional<double> NormalApproach(const std::vector<const ProfileRow*>& path) {
  const auto off = [](const ProfileRow& p) {
    return std::abs(p.depth - *p.normalDepth) / *p.normalDepth - kNormalReported;
  };
  for (size_t i = 0; i < path.size(); ++i) {
    if (!path[i]->normalDepth) return std::nullopt;
    const double f = off(*path[i]);
    if (f > 0) continue;
    const double start = path.front()->station;
    if (i == 0) return 0.0;
    const double f0 = off(*path[i - 1]);
    const double s =
        path[i - 1]->station + (path[i]->station - path[i - 1]->station) * f0 / (f0 - f);
    return std::abs(s - start);
  }
  return std::nullopt;
}

struct Solver {
  const ProfileInputs& in;
  std::function<std::string(double)> text;
  ProfileResults r;

  ComputedProfile Compute(const Reach& reach, double y0, bool supercritical) {
    const StepSettings settings{in.discharge, in.averaging, in.expansion, in.contraction};
    if (in.method == ProfileMethod::DirectStep)
      return DirectStep(reach.Prismatic(), y0, supercritical, in.numberOfSteps, in.depthIncrement,
                        settings, text);
    return StandardStep(reach.Nodes(), y0, supercritical, settings, text);
  }

  void Run() {
    if (in.method == ProfileMethod::DirectStep && in.channel != ProfileChannel::Prismatic)
      throw Refusal{"method",
                    "Direct step needs a prismatic channel: use standard step for a list of "
                    "sections."};
    if (in.method == ProfileMethod::DirectStep && in.numberOfSteps > kMaxProfileSteps)
      throw Refusal{"numberOfSteps",
                    "At most " + std::to_string(kMaxProfileSteps) + " steps are computed."};
    if (in.method == ProfileMethod::DirectStep && in.numberOfSteps <= 0 && !(in.depthIncrement > 0))
      throw Refusal{"depthIncrement", "Give the number of steps or a depth increment above zero."};
    if (in.downstream.kind == ControlKind::None && in.upstream.kind == ControlKind::None)
      throw Refusal{"downstreamControl",
                    "Give a control at one end at least: the downstream end for subcritical "
                    "flow, the upstream end for supercritical flow."};
    const Reach reach(in, text);
    const ReachNode& down = reach.Downstream();
    const ReachNode& up = reach.Upstream();
    r.slopeClass = SlopeClassOf(reach.Slope(), down.normalDepth, down.criticalDepth);
    r.normalDepth = down.normalDepth;
    r.criticalDepth = down.criticalDepth;
    const std::optional<double> ySub =
        ControlDepth(in.downstream, down, kDownstream, Regime::Sub, text);
    const std::optional<double> ySuper =
        ControlDepth(in.upstream, up, kUpstream, Regime::Super, text);

    std::optional<ComputedProfile> sub, super;
    if (ySub) {
      sub = Compute(reach, *ySub, false);
      Note("Subcritical profile computed upstream from depth " + text(*ySub) +
               " at the downstream end",
           *sub);
    }
    if (ySuper) {
      super = Compute(reach, *ySuper, true);
      Note("Supercritical profile computed downstream from depth " + text(*ySuper) +
               " at the upstream end",
           *super);
    }
    // A profile that could not leave its control (critical depth at the end where the flow
    // arrives in the other regime) controls nothing.
    if (sub && sub->points.size() < 2) {
      sub.reset();
      r.notes.push_back("The downstream control starts no subcritical profile.");
    }
    if (super && super->points.size() < 2) {
      super.reset();
      r.notes.push_back("The upstream control starts no supercritical profile.");
    }
    if (!sub && !super)
      throw Refusal{ySub ? kDownstream.control : kUpstream.control,
                    "Neither control can start a profile: critical depth at the end where the "
                    "flow arrives in the other regime controls nothing. Give a control at the "
                    "other end."};
    for (const auto* p : {&sub, &super})
      if (*p) {
        r.steps += static_cast<int>((*p)->points.size()) - 1;
        r.iterations += (*p)->iterations;
      }
    Assemble(reach, sub, super);
    r.profileType = ProfileTypeOf(r.points, reach.Slope());
    Approach();
  }

  void Note(const std::string& start, const ComputedProfile& p) {
    r.notes.push_back(
        start + (p.stopped.empty() ? "; it reaches the other end." : "; it " + p.stopped + "."));
  }

  // The points of a computed profile whose stations pass the test.
  template <typename Keep>
  void Add(const Reach& reach, const std::vector<ComputedPoint>& points, bool supercritical,
           Keep keep) {
    for (const ComputedPoint& c : points)
      if (keep(c.station))
        r.points.push_back(PointAt(reach.At(c.station), c.depth, in.discharge, supercritical));
  }

  void SortByStation() {
    std::stable_sort(
        r.points.begin(), r.points.end(),
        [](const ProfileRow& x, const ProfileRow& y) { return x.station < y.station; });
  }

  void Assemble(const Reach& reach, const std::optional<ComputedProfile>& sub,
                const std::optional<ComputedProfile>& super) {
    const std::vector<ComputedPoint> a =
        sub ? ByStation(sub->points) : std::vector<ComputedPoint>{};
    const std::vector<ComputedPoint> b =
        super ? ByStation(super->points) : std::vector<ComputedPoint>{};
    const std::string subStop = sub ? sub->stopped : "", superStop = super ? super->stopped : "";
    const auto all = [](double) { return true; };
    if (!super || !sub) {
      Add(reach, sub ? a : b, !sub, all);
      const std::string& stop = sub ? subStop : superStop;
      // Past critical depth the flow changes regime, and only a control at the other end
      // can carry it on; a pipe that fills or a step that fails needs other inputs.
      const bool critical = sub ? sub->reachedCritical : super->reachedCritical;
      if (!stop.empty())
        r.warnings.push_back(
            std::string(sub ? "The subcritical profile " : "The supercritical profile ") + stop +
            (!critical ? "."
             : sub     ? ": a control at the upstream end would carry the flow on."
                       : ": a control at the downstream end would carry the flow on."));
      return;
    }
    const double lo = b.front().station, hi = a.back().station;
    if (lo > hi) {
      Add(reach, a, false, all);
      Add(reach, b, true, all);
      r.warnings.push_back("No profile between stations " + text(hi) + " and " + text(lo) +
                           ": the subcritical profile " + subStop + ", and the supercritical one " +
                           superStop + ".");
      return;
    }
    std::set<double> stations;
    for (const auto* list : {&a, &b})
      for (const ComputedPoint& c : *list)
        if (c.station >= lo && c.station <= hi) stations.insert(c.station);
    const double q = in.discharge;
    // Where the supercritical flow carries more momentum than the subcritical profile, it
    // pushes the jump further downstream.
    const auto excess = [&](double s) {
      const ReachNode n = reach.At(s);
      return Momentum(n.section->At(*DepthAt(b, s)), q) -
             Momentum(n.section->At(*DepthAt(a, s)), q);
    };
    double previous = 0, previousExcess = 0;
    for (auto s = stations.rbegin(); s != stations.rend(); ++s) {
      const double f = excess(*s);
      if (f > 0) {
        previous = *s;
        previousExcess = f;
        continue;
      }
      if (s == stations.rbegin()) {
        const double meet = *s;
        Add(reach, a, false, [&](double x) { return x <= meet; });
        Add(reach, b, true, [&](double x) { return x > meet; });
        SortByStation();
        r.notes.push_back(
            "The subcritical profile has more momentum than the supercritical "
            "flow where they meet: the jump is drowned at station " +
            text(meet) + ".");
        return;
      }
      Jump(reach, a, b, previous + (*s - previous) * previousExcess / (previousExcess - f));
      return;
    }
    Add(reach, a, false, [&](double x) { return x < lo; });
    Add(reach, b, true, [&](double x) { return x >= lo; });
    SortByStation();
    (lo <= reach.Downstream().station ? r.warnings : r.notes)
        .push_back(lo <= reach.Downstream().station
                       ? "The supercritical flow keeps more momentum than the subcritical "
                         "profile to the downstream end: the jump is swept out of the reach."
                       : "The supercritical flow keeps more momentum down to station " + text(lo) +
                             ".");
  }

  void Jump(const Reach& reach, const std::vector<ComputedPoint>& a,
            const std::vector<ComputedPoint>& b, double station) {
    const double q = in.discharge;
    const ReachNode n = reach.At(station);
    const double y1 = *DepthAt(b, station);
    const std::optional<double> sequent = SequentDepth(*n.section, q, y1, n.criticalDepth);
    const double y2 = sequent ? *sequent : *DepthAt(a, station);
    if (!sequent)
      r.warnings.push_back("The sequent depth of the jump lies above the top of the section.");
    for (const ComputedPoint& c : a)
      if (c.station < station) r.points.push_back(PointAt(reach.At(c.station), c.depth, q, false));
    const ProfileRow before = PointAt(n, y1, q, true);
    const ProfileRow after = PointAt(n, y2, q, false);
    r.points.push_back(after);
    r.points.push_back(before);
    for (const ComputedPoint& c : b)
      if (c.station > station) r.points.push_back(PointAt(reach.At(c.station), c.depth, q, true));
    HydraulicJump j;
    j.station = station;
    j.upstreamDepth = y1;
    j.sequentDepth = y2;
    j.energyLoss = before.specificEnergy - after.specificEnergy;
    j.length = kJumpLengthRatio * y2;
    j.froudeNumber = before.froudeNumber;
    r.jump = j;
  }

  // From the control of whichever profile comes within reach of normal depth, the
  // subcritical one's first.
  void Approach() {
    std::vector<const ProfileRow*> up, down;
    for (const ProfileRow& p : r.points)
      if (!p.supercritical) up.push_back(&p);
    for (auto p = r.points.rbegin(); p != r.points.rend(); ++p)
      if (p->supercritical) down.push_back(&*p);
    if (!up.empty()) r.normalApproachDistance = NormalApproach(up);
    if (!r.normalApproachDistance && !down.empty()) r.normalApproachDistance = NormalApproach(down);
  }
};

}  // namespace

ProfileResults SolveProfile(const ProfileInputs& in) {
  Solver solver{in, in.lengthText ? in.lengthText : DefaultLength, {}};
  try {
    solver.Run();
    solver.r.ok = true;
  } catch (const Refusal& refusal) {
    ProfileResults failed;
    failed.message = refusal.message;
    failed.field = refusal.field;
    return failed;
  } catch (const ArithmeticFault& fault) {
    ProfileResults failed;
    failed.message = std::string("The profile could not be computed: ") + fault.what() + ".";
    return failed;
  }
  return solver.r;
}

}  // namespace rivulet
