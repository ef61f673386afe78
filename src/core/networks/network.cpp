#include "core/networks/network.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/closed_forms.h"
#include "core/hydraulics/flow_details.h"
#include "core/networks/grade_line.h"
#include "core/networks/network_tree.h"

namespace rivulet {
namespace {

std::string Quoted(const std::string& id) { return "\"" + id + "\""; }

// Plain figures whatever the locale: the messages end up in reports and --json.
std::string Figure(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
  return std::string(text, end.ptr);
}

[[noreturn]] void Refuse(const char* field, const std::string& message) {
  throw NetworkInputError{field, message};
}

// Each row's numbers within what the calculation can use, named by id and member.
void CheckRows(const NetworkInputs& in) {
  for (const NetworkStructure& s : in.structures) {
    const std::string who = "Structure " + Quoted(s.id) + ": ";
    if (!std::isfinite(s.rimElevation)) Refuse("structures", who + "rimElevation is not a number.");
    if (!(s.drainageArea >= 0) || !std::isfinite(s.drainageArea))
      Refuse("structures", who + "drainageArea is negative.");
    if (!(s.runoffCoefficient >= 0 && s.runoffCoefficient <= 1))
      Refuse("structures",
             who + "runoffCoefficient " + Figure(s.runoffCoefficient) + " is outside 0 to 1.");
    if (!(s.inletTime >= 0) || !std::isfinite(s.inletTime))
      Refuse("structures", who + "inletTime is negative.");
  }
  for (const NetworkPipe& p : in.pipes) {
    const std::string who = "Pipe " + Quoted(p.id) + ": ";
    const auto positive = [&](double v, const char* member) {
      if (!(v > 0) || !std::isfinite(v)) Refuse("pipes", who + member + " must be above zero.");
    };
    positive(p.length, "length");
    positive(p.manningsN, "manningsN");
    if (p.diameter) positive(*p.diameter, "diameter");
    if (!(p.inflowAngle >= 0 && p.inflowAngle <= 180))
      Refuse("pipes",
             who + "inflowAngle " + Figure(p.inflowAngle) + " is outside 0 to 180 degrees.");
    for (const auto& level : {p.upstreamInvert, p.downstreamInvert, p.slope})
      if (level && !std::isfinite(*level))
        Refuse("pipes", who + "an invert or slope is not a number.");
  }
  if (!(in.design.minimumDiameter >= 0) || !(in.design.minimumCover >= 0) ||
      !(in.design.freeboard >= 0) || !(in.design.minimumTimeOfConcentration >= 0))
    Refuse("design", "The design limits must not be negative.");
  if (const std::string why = IdfProblem(in.idf); !why.empty()) Refuse("idf", why);
}

double FullArea(double d) { return std::numbers::pi * d * d / 4; }

// The slope (m/m) and the inverts a pipe gives itself; an invert left open is set later by
// the crown rule from the pipes entering its structure.
double PipeSlope(const NetworkPipe& p) {
  if (p.upstreamInvert && p.downstreamInvert)
    return (*p.upstreamInvert - *p.downstreamInvert) / p.length;
  if (!p.slope)
    Refuse("pipes",
           "Pipe " + Quoted(p.id) + ": give upstreamInvert and downstreamInvert, or a slope.");
  return *p.slope;
}

struct Sized {
  double diameter = 0;
  bool found = true;
};

// The smallest listed size at least every floor whose full-flow capacity carries q.
Sized SizeFor(const SizeList& list, double q, double slope, double n, double floor) {
  std::vector<double> sizes = list.sizes;
  std::sort(sizes.begin(), sizes.end());
  const double unit = NominalToMetres(list.system);
  double largest = floor;
  for (double nominal : sizes) {
    const double d = nominal * unit;
    if (!(d > 0) || d < floor * (1 - 1e-9)) continue;
    largest = std::max(largest, d);
    if (!(q > 0) || PipeFullFlow(d, slope, n).discharge >= q * (1 - kSizingTolerance))
      return {d, true};
  }
  return {largest, false};
}

// What the design pass knows of a structure from the pipes already designed into it.
struct Gathered {
  double area = 0;
  double ca = 0;
  double time = 0;  // s, the latest arrival
  double largestDiameter = 0;
};

}  // namespace

const char* StructureKindName(StructureKind kind) {
  switch (kind) {
    case StructureKind::Inlet:
      return "inlet";
    case StructureKind::AccessHole:
      return "accessHole";
    case StructureKind::Junction:
      return "junction";
    case StructureKind::Outfall:
      return "outfall";
  }
  return "";
}

const char* BenchingName(Benching b) {
  switch (b) {
    case Benching::Flat:
      return "flat";
    case Benching::Depressed:
      return "depressed";
    case Benching::HalfBenched:
      return "halfBenched";
    case Benching::FullBenched:
      return "fullBenched";
    case Benching::Improved:
      return "improved";
  }
  return "";
}

const char* GoverningTermName(GoverningTerm t) {
  switch (t) {
    case GoverningTerm::None:
      return "";
    case GoverningTerm::OutletControl:
      return "outletControl";
    case GoverningTerm::InletSubmerged:
      return "inletSubmerged";
    case GoverningTerm::InletUnsubmerged:
      return "inletUnsubmerged";
  }
  return "";
}

namespace {

class NetworkSolver {
 public:
  explicit NetworkSolver(const NetworkInputs& in)
      : in_(in), tree_(BuildNetworkTree(in.structures, in.pipes)) {
    pipes_.resize(in.pipes.size());
    flows_.resize(in.pipes.size());
    structures_.resize(in.structures.size());
  }

  NetworkResults Solve() {
    for (std::size_t p : tree_.downstreamOrder) Design(p);
    CheckJoins();
    const auto& order = tree_.downstreamOrder;
    for (auto it = order.rbegin(); it != order.rend(); ++it) GradeLine(*it);
    Outfall();
    NetworkResults r;
    r.ok = true;
    r.message = "Calculations Complete!";
    r.pipes = std::move(pipes_);
    r.structures = std::move(structures_);
    r.warnings = std::move(warnings_);
    return r;
  }

 private:
  const NetworkStructure& StructureAt(std::size_t s) const { return in_.structures[s]; }

  double Intensity(double t, const std::string& pipeId) {
    const IntensityAt i = RainfallIntensity(in_.idf, t);
    if (i.beyondTable)
      warnings_.push_back("Pipe " + Quoted(pipeId) + ": its time of concentration, " +
                          Figure(std::round(t / 6) / 10) +
                          " min, lies beyond the rainfall table; its last intensity was used.");
    return i.intensity;
  }

  void Design(std::size_t p) {
    const NetworkPipe& pipe = in_.pipes[p];
    const std::size_t s = tree_.from[p];
    const NetworkStructure& at = StructureAt(s);
    PipeResult& r = pipes_[p];
    r.id = pipe.id;

    // What arrives at the structure: its own runoff and every pipe into it.
    Gathered g{at.drainageArea, at.drainageArea * at.runoffCoefficient, at.inletTime, 0};
    double lowestCrown = INFINITY, lowestInvert = INFINITY;
    for (std::size_t q : tree_.inflows[s]) {
      const PipeResult& up = pipes_[q];
      g.area += up.drainageArea;
      g.ca += up.cumulativeCA;
      g.time = std::max(g.time, up.timeOfConcentration + up.travelTime);
      g.largestDiameter = std::max(g.largestDiameter, up.diameter);
      lowestCrown = std::min(lowestCrown, up.downstreamInvert + up.diameter);
      lowestInvert = std::min(lowestInvert, up.downstreamInvert);
    }
    r.drainageArea = g.area;
    r.cumulativeCA = g.ca;
    r.timeOfConcentration = std::max(g.time, in_.design.minimumTimeOfConcentration);
    r.intensity = Intensity(r.timeOfConcentration, pipe.id);
    r.discharge = g.ca * r.intensity;  // base units: Q = C·i·A exactly
    r.slope = PipeSlope(pipe);
    if (!(r.slope > 0))
      Refuse("pipes",
             "Pipe " + Quoted(pipe.id) + " runs uphill or level: a storm sewer flows by gravity.");
    const double n = pipe.manningsN;
    if (r.discharge > 0) r.requiredDiameter = FullPipeDiameterForDischarge(r.discharge, n, r.slope);

    if (pipe.diameter) {
      r.diameter = *pipe.diameter;
      if (r.diameter < g.largestDiameter * (1 - 1e-9))
        warnings_.push_back("Pipe " + Quoted(pipe.id) + " is smaller than a pipe flowing into it.");
    } else {
      r.designed = true;
      const double floor = std::max(in_.design.minimumDiameter, g.largestDiameter);
      const Sized sized = SizeFor(in_.design.sizes, r.discharge, r.slope, n, floor);
      r.diameter = sized.diameter;
      if (!sized.found)
        warnings_.push_back("Pipe " + Quoted(pipe.id) +
                            ": no listed size carries its discharge running full; the largest "
                            "was taken.");
      if (!(r.diameter > 0))
        Refuse("pipes", "Pipe " + Quoted(pipe.id) + ": no listed size to design it with.");
    }

    const PipeFlowPoint full = PipeFullFlow(r.diameter, r.slope, n);
    r.fullCapacity = full.discharge;
    r.fullVelocity = full.velocity;
    flows_[p] = DescribePipeFlow(r.diameter, r.discharge, r.slope, n, pipe.length);
    r.depth = flows_[p].normalDepth;
    r.criticalDepth = flows_[p].criticalDepth;
    if (r.discharge > 0) {
      r.velocity = r.discharge / GeometryAt({SectionKind::Pipe, r.diameter, 0, 0}, r.depth).area;
      r.travelTime = pipe.length / r.velocity;
      if (in_.design.roundTravelTimes) r.travelTime = std::round(r.travelTime / 60) * 60;
    } else {
      warnings_.push_back("Pipe " + Quoted(pipe.id) + " carries no flow.");
    }
    if (r.discharge > r.fullCapacity * (1 + kSizingTolerance))
      warnings_.push_back("Pipe " + Quoted(pipe.id) + " carries more than its full-flow capacity.");
    if (in_.design.minimumVelocity && r.fullVelocity < *in_.design.minimumVelocity)
      warnings_.push_back("Pipe " + Quoted(pipe.id) +
                          ": its full-flow velocity is below the minimum for self-cleansing.");

    // Inverts: given, or from the pipes entering the structure, else from the cover.
    const double coverInvert = at.rimElevation - in_.design.minimumCover - r.diameter;
    if (pipe.upstreamInvert) {
      r.upstreamInvert = *pipe.upstreamInvert;
    } else if (pipe.downstreamInvert) {
      r.upstreamInvert = *pipe.downstreamInvert + r.slope * pipe.length;
    } else {
      double rule = coverInvert;
      if (!tree_.inflows[s].empty())
        rule = std::min(rule, in_.design.crownRule == CrownRule::MatchCrowns
                                  ? std::min(lowestCrown - r.diameter, lowestInvert)
                                  : lowestInvert);
      r.upstreamInvert = rule;
    }
    r.downstreamInvert =
        pipe.downstreamInvert ? *pipe.downstreamInvert : r.upstreamInvert - r.slope * pipe.length;
    const double coverBelow = StructureAt(tree_.to[p]).rimElevation - in_.design.minimumCover;
    if (r.upstreamInvert + r.diameter > at.rimElevation - in_.design.minimumCover + 1e-9 ||
        r.downstreamInvert + r.diameter > coverBelow + 1e-9)
      warnings_.push_back("Pipe " + Quoted(pipe.id) + " has less than the minimum cover.");
  }

  // A pipe leaving a structure above the invert of a pipe entering it makes the flow climb.
  void CheckJoins() {
    for (std::size_t p = 0; p < pipes_.size(); ++p)
      for (std::size_t q : tree_.inflows[tree_.from[p]])
        if (pipes_[q].downstreamInvert < pipes_[p].upstreamInvert - 1e-9)
          warnings_.push_back("Pipe " + Quoted(pipes_[p].id) + " leaves structure " +
                              Quoted(StructureAt(tree_.from[p]).id) + " above the invert of pipe " +
                              Quoted(pipes_[q].id) + " entering it.");
  }

  // The level each pipe's outlet sees below it: the tailwater at the outfall, else the
  // energy level of the structure it enters.
  void GradeLine(std::size_t p) {
    PipeResult& r = pipes_[p];
    const PipeFlow& flow = flows_[p];
    const std::size_t below = tree_.to[p];
    const StructureKind kindBelow = StructureAt(below).kind;
    double level = structures_[below].energyGradeElevation;
    double exitLoss = kExitLossAccessHole;
    if (kindBelow == StructureKind::Outfall) {
      level =
          in_.tailwaterElevation ? *in_.tailwaterElevation : r.downstreamInvert + flow.normalDepth;
      exitLoss = kExitLossPool;
    } else if (kindBelow == StructureKind::Junction) {
      exitLoss = 0;  // the junction's momentum loss holds them all
    }
    const PipeEnd outlet = OutletEnergy(flow, r.downstreamInvert, level, exitLoss);
    const PipeEnd inlet = InletEnergy(flow, r.downstreamInvert, outlet, &r.frictionSlope);
    r.outletCase = outlet.label;
    r.inletCondition = inlet.label;
    r.full = inlet.label == 'A';
    r.downstreamEnergy = outlet.energy;
    r.downstreamHydraulic = outlet.hydraulic;
    r.upstreamEnergy = inlet.energy;
    r.upstreamHydraulic = inlet.hydraulic;
    Structure(tree_.from[p], p);
  }

  void Structure(std::size_t s, std::size_t p) {
    const NetworkStructure& at = StructureAt(s);
    const PipeResult& out = pipes_[p];
    StructureResult& r = structures_[s];
    r.id = at.id;
    r.kind = at.kind;
    r.invert = out.upstreamInvert;
    const double ei = out.upstreamEnergy - out.upstreamInvert;
    if (at.kind == StructureKind::Junction) {
      JunctionFlow o{out.discharge, out.discharge / FullArea(out.diameter), FullArea(out.diameter),
                     180};
      std::vector<JunctionFlow> ins;
      for (std::size_t q : tree_.inflows[s]) {
        const PipeResult& up = pipes_[q];
        ins.push_back({up.discharge, up.velocity, FullArea(up.diameter), in_.pipes[q].inflowAngle});
      }
      r.junctionLoss = JunctionLoss(o, ins);
      r.energyLevel = ei + *r.junctionLoss;
    } else {
      AccessHoleInput h;
      h.outflowDiameter = out.diameter;
      h.outflowDischarge = out.discharge;
      h.outflowEnergy = ei;
      h.outflowVelocityHead = out.upstreamEnergy - out.upstreamHydraulic;
      h.outflowSupercritical = out.inletCondition == 'D';
      h.benching = at.benching;
      for (std::size_t q : tree_.inflows[s])
        h.inflows.push_back({pipes_[q].discharge, pipes_[q].downstreamInvert - r.invert,
                             in_.pipes[q].inflowAngle, false});
      if (at.drainageArea * at.runoffCoefficient > 0) {
        const double t = std::max(at.inletTime, in_.design.minimumTimeOfConcentration);
        h.inflows.push_back(
            {at.drainageArea * at.runoffCoefficient * RainfallIntensity(in_.idf, t).intensity,
             at.rimElevation - r.invert, 180, true});
      }
      const AccessHoleEnergy e = AccessHoleLevel(h);
      r.initialEnergyLevel = e.initial;
      r.governingTerm = e.governing;
      r.benchingCoefficient = e.benching;
      r.angleCoefficient = e.angle;
      r.plungeCoefficient = e.plunge;
      r.energyLevel = e.level;
    }
    r.energyGradeElevation = r.invert + r.energyLevel;
    // The water in a structure stands still: its level is its energy.
    r.hydraulicGradeElevation = r.energyGradeElevation;
    Rim(s);
  }

  void Rim(std::size_t s) {
    StructureResult& r = structures_[s];
    const NetworkStructure& at = StructureAt(s);
    r.freeboard = at.rimElevation - r.hydraulicGradeElevation;
    r.surcharged = r.freeboard < in_.design.freeboard - 1e-9;
    if (r.surcharged)
      warnings_.push_back("Structure " + Quoted(r.id) +
                          ": the grade line rises above its rim less the freeboard.");
  }

  void Outfall() {
    const std::size_t s = tree_.outfall;
    StructureResult& r = structures_[s];
    r.id = StructureAt(s).id;
    r.kind = StructureKind::Outfall;
    r.invert = INFINITY;
    double level = -INFINITY;
    for (std::size_t p : tree_.inflows[s]) {
      r.invert = std::min(r.invert, pipes_[p].downstreamInvert);
      level = std::max(level, in_.tailwaterElevation
                                  ? *in_.tailwaterElevation
                                  : pipes_[p].downstreamInvert + flows_[p].normalDepth);
    }
    r.energyGradeElevation = r.hydraulicGradeElevation = level;
    r.energyLevel = level - r.invert;
    Rim(s);
  }

  const NetworkInputs& in_;
  NetworkTree tree_;
  std::vector<PipeResult> pipes_;
  std::vector<PipeFlow> flows_;
  std::vector<StructureResult> structures_;
  std::vector<std::string> warnings_;
};

}  // namespace

NetworkResults SolveNetwork(const NetworkInputs& in) {
  NetworkResults r;
  try {
    CheckRows(in);
    return NetworkSolver(in).Solve();
  } catch (const NetworkInputError& e) {
    r.message = e.message;
    r.field = e.field;
  } catch (const ArithmeticFault& e) {
    r.message = std::string("The network could not be solved: ") + e.what() + ".";
  }
  return r;
}

}  // namespace rivulet
