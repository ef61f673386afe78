#include "core/culverts/culvert.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"
#include "core/structures/structure_error.h"
#include "core/structures/structure_search.h"

namespace rivulet {
namespace {

using Material = BarrelMaterial;
constexpr auto kCircle = BarrelShape::Circular;
constexpr auto kBox = BarrelShape::Box;
constexpr std::optional<Material> kConcrete = Material::Concrete;
constexpr std::optional<Material> kMetal = Material::CorrugatedMetal;
constexpr std::optional<Material> kAny = std::nullopt;

// The inlet equations' coefficients are fitted in feet; Ku turns Q / (A D^0.5) in metres into
// its US value exactly (1.811 as usually rounded), so a culvert gives the same headwater in
// either unit system.
const double kKu = 1 / std::sqrt(kFootInMetres);

[[noreturn]] void Refuse(const std::string& field, const std::string& message) {
  throw StructureInputError(field, message);
}

double VelocityHead(double v) { return v * v / (2 * kGravity); }

// Wetted area, perimeter and top width of one barrel at depth (capped at the rise).
SectionGeometry BarrelGeometry(const Culvert& c, double depth) {
  depth = std::clamp(depth, 0.0, c.rise);
  if (c.shape == kCircle) return GeometryAt({SectionKind::Pipe, c.rise, 0, 0}, depth);
  return {c.span * depth, c.span + 2 * depth, c.span};
}

double FullPerimeter(const Culvert& c) {
  return c.shape == kCircle ? std::numbers::pi * c.rise : 2 * (c.span + c.rise);
}

// Critical depth of one barrel's discharge, and whether it reached the rise.
std::pair<double, bool> BarrelCritical(const Culvert& c, double q) {
  if (q <= 0) return {0.0, false};
  double dc = 0;
  if (c.shape == kBox) {
    dc = std::cbrt(q * q / (kGravity * c.span * c.span));
  } else {
    const CriticalDepthResult r = CriticalDepth({SectionKind::Pipe, c.rise, 0, 0}, q);
    dc = r.state == CriticalState::Found ? r.depth : c.rise;
  }
  if (dc >= c.rise) return {c.rise, true};
  return {dc, false};
}

// Normal depth of one barrel's discharge; the rise when Manning's full flow does not carry
// it; none on a level barrel.
std::optional<double> BarrelNormal(const Culvert& c, double q) {
  const double s = BarrelSlope(c);
  if (!(s > 0)) return std::nullopt;
  if (q <= 0) return 0.0;
  const double a = FullArea(c);
  const double full = a * ManningVelocity(a / FullPerimeter(c), s, c.n);
  if (q >= full) return c.rise;
  if (c.shape == kCircle) return PipeNormalDepth(c.rise, s, c.n, q);
  const SearchContext ctx{SectionKind::Rectangle, MachineEpsilon(), std::numbers::pi};
  ChannelSearch search;
  search.flow = {FlowQuantity::Discharge, q, s, c.n};
  search.width = c.span;
  return std::min(BisectOpenChannel(ctx, search).value, c.rise);
}

double XOf(const Culvert& c, double q) { return kKu * q / (FullArea(c) * std::sqrt(c.rise)); }
double DischargeOfX(const Culvert& c, double x) {
  return x * FullArea(c) * std::sqrt(c.rise) / kKu;
}

double Unsubmerged(const Culvert& c, double q) {
  const InletConfiguration& t = *c.inlet;
  const double x = XOf(c, q);
  if (t.form == 2) return c.rise * t.k * std::pow(x, t.m);
  const auto [dc, capped] = BarrelCritical(c, q);
  double hc = 0;
  if (capped) {
    hc = c.rise + VelocityHead(q / FullArea(c));
  } else if (dc > 0) {
    const SectionGeometry g = BarrelGeometry(c, dc);
    hc = dc + g.area / (2 * g.topWidth);
  }
  return hc + c.rise * (t.k * std::pow(x, t.m) + t.ks * BarrelSlope(c));
}

double Submerged(const Culvert& c, double q) {
  const InletConfiguration& t = *c.inlet;
  const double x = XOf(c, q);
  return c.rise * (t.c * x * x + t.y + t.ks * BarrelSlope(c));
}

}  // namespace

// Entrance losses follow each inlet's edge: square edges and headwalls 0.5, groove ends and
// bevels 0.2, mitered ends 0.7, projecting metal 0.9; box wingwalls by their flare angle.
const std::vector<InletConfiguration>& InletConfigurations() {
  static const std::vector<InletConfiguration> table = {
      {"1/1", kCircle, kConcrete, "Concrete pipe, square edge with headwall", 1, 0.0098, 2.0,
       0.0398, 0.67, -0.5, 0.5},
      {"1/2", kCircle, kConcrete, "Concrete pipe, groove end with headwall", 1, 0.0018, 2.0, 0.0292,
       0.74, -0.5, 0.2},
      {"1/3", kCircle, kConcrete, "Concrete pipe, groove end projecting", 1, 0.0045, 2.0, 0.0317,
       0.69, -0.5, 0.2},
      {"2/1", kCircle, kMetal, "Corrugated metal pipe, headwall", 1, 0.0078, 2.0, 0.0379, 0.69,
       -0.5, 0.5},
      {"2/2", kCircle, kMetal, "Corrugated metal pipe, mitered to slope", 1, 0.0210, 1.33, 0.0463,
       0.75, 0.7, 0.7},
      {"2/3", kCircle, kMetal, "Corrugated metal pipe, projecting", 1, 0.0340, 1.50, 0.0553, 0.54,
       -0.5, 0.9},
      {"3/A", kCircle, kAny, "Pipe, beveled ring, 45° bevels", 1, 0.0018, 2.50, 0.0300, 0.74, -0.5,
       0.2},
      {"3/B", kCircle, kAny, "Pipe, beveled ring, 33.7° bevels", 1, 0.0018, 2.50, 0.0243, 0.83,
       -0.5, 0.2},
      {"8/1", kBox, kConcrete, "Box, 30° to 75° wingwall flares", 1, 0.026, 1.0, 0.0347, 0.81, -0.5,
       0.4},
      {"8/2", kBox, kConcrete, "Box, 90° and 15° wingwall flares", 1, 0.061, 0.75, 0.0400, 0.80,
       -0.5, 0.5},
      {"8/3", kBox, kConcrete, "Box, 0° wingwall flares", 1, 0.061, 0.75, 0.0423, 0.82, -0.5, 0.7},
      {"9/1", kBox, kConcrete, "Box, 45° wingwall flare, top bevel d = 0.043D", 2, 0.510, 0.667,
       0.0309, 0.80, -0.5, 0.2},
      {"9/2", kBox, kConcrete, "Box, 18° to 33.7° wingwall flare, top bevel d = 0.083D", 2, 0.486,
       0.667, 0.0249, 0.83, -0.5, 0.2},
      {"10/1", kBox, kConcrete, "Box, 90° headwall, 3/4-in chamfers", 2, 0.515, 0.667, 0.0375, 0.79,
       -0.5, 0.5},
      {"10/2", kBox, kConcrete, "Box, 90° headwall, 45° bevels", 2, 0.495, 0.667, 0.0314, 0.82,
       -0.5, 0.2},
      {"10/3", kBox, kConcrete, "Box, 90° headwall, 33.7° bevels", 2, 0.486, 0.667, 0.0252, 0.865,
       -0.5, 0.2},
      {"11/1", kBox, kConcrete, "Box, 3/4-in chamfers, 45° skewed headwall", 2, 0.545, 0.667,
       0.04505, 0.73, -0.5, 0.5},
      {"11/2", kBox, kConcrete, "Box, 3/4-in chamfers, 30° skewed headwall", 2, 0.533, 0.667,
       0.0425, 0.705, -0.5, 0.5},
      {"11/3", kBox, kConcrete, "Box, 3/4-in chamfers, 15° skewed headwall", 2, 0.522, 0.667,
       0.0402, 0.68, -0.5, 0.5},
      {"11/4", kBox, kConcrete, "Box, 45° bevels, 10° to 45° skewed headwall", 2, 0.498, 0.667,
       0.0327, 0.75, -0.5, 0.2},
      {"12/1", kBox, kConcrete, "Box, 3/4-in top chamfer, 45° non-offset wingwall flares", 2, 0.497,
       0.667, 0.0339, 0.803, -0.5, 0.4},
      {"12/2", kBox, kConcrete, "Box, 3/4-in top chamfer, 18.4° non-offset wingwall flares", 2,
       0.493, 0.667, 0.0361, 0.806, -0.5, 0.5},
      {"12/3", kBox, kConcrete,
       "Box, 3/4-in top chamfer, 18.4° non-offset flares, 30° skewed barrel", 2, 0.495, 0.667,
       0.0386, 0.71, -0.5, 0.5},
      {"13/1", kBox, kConcrete, "Box, top bevels, 45° offset wingwall flares", 2, 0.497, 0.667,
       0.0302, 0.835, -0.5, 0.2},
      {"13/2", kBox, kConcrete, "Box, top bevels, 33.7° offset wingwall flares", 2, 0.495, 0.667,
       0.0252, 0.881, -0.5, 0.2},
      {"13/3", kBox, kConcrete, "Box, top bevels, 18.4° offset wingwall flares", 2, 0.493, 0.667,
       0.0227, 0.887, -0.5, 0.2},
      {"16-19/2", kBox, kMetal, "Corrugated metal box, 90° headwall", 1, 0.0083, 2.0, 0.0379, 0.69,
       -0.5, 0.5},
      {"16-19/3", kBox, kMetal, "Corrugated metal box, thick wall projecting", 1, 0.0145, 1.75,
       0.0419, 0.64, -0.5, 0.9},
      {"16-19/5", kBox, kMetal, "Corrugated metal box, thin wall projecting", 1, 0.0340, 1.5,
       0.0496, 0.57, -0.5, 0.9},
  };
  return table;
}

const InletConfiguration* FindInlet(std::string_view code) {
  for (const InletConfiguration& i : InletConfigurations())
    if (code == i.code) return &i;
  return nullptr;
}

const char* InletFormName(InletForm form) {
  switch (form) {
    case InletForm::Unsubmerged:
      return "unsubmerged";
    case InletForm::Transition:
      return "transition";
    case InletForm::Submerged:
      break;
  }
  return "submerged";
}

double BarrelSlope(const Culvert& c) { return (c.inletInvert - c.outletInvert) / c.length; }

double FullArea(const Culvert& c) {
  return c.shape == kCircle ? std::numbers::pi * c.rise * c.rise / 4 : c.span * c.rise;
}

void CheckCulvert(const Culvert& c) {
  const bool box = c.shape == kBox;
  if (!(c.rise > 0))
    box ? Refuse("rise", "Rise (rise) must be above 0.")
        : Refuse("diameter", "Diameter (diameter) must be above 0.");
  if (box && !(c.span > 0)) Refuse("span", "Span (span) must be above 0.");
  if (c.barrels < 1)
    Refuse("numberOfBarrels", "Number of barrels (numberOfBarrels) must be 1 or more.");
  if (!(c.length > 0)) Refuse("barrelLength", "Barrel length (barrelLength) must be above 0.");
  if (!(c.n > 0)) Refuse("manningsN", "Manning's n (manningsN) must be above 0.");
  if (!(c.entranceLoss >= 0))
    Refuse("entranceLossCoefficient",
           "Entrance loss coefficient (entranceLossCoefficient) must not be below 0.");
  if (!c.inlet) Refuse("inletType", "Inlet type (inletType) is not one of the table's codes.");
  if (c.inlet->shape != c.shape || (c.inlet->material && *c.inlet->material != c.material))
    Refuse("inletType", std::string("Inlet type (inletType) \"") + c.inlet->code +
                            "\" is not an inlet of this barrel's shape and material.");
  if (c.outletInvert > c.inletInvert)
    Refuse("outletInvertElevation",
           "Outlet invert elevation (outletInvertElevation) must not be above the inlet invert.");
  if (c.channel) {
    const TailwaterChannel& ch = *c.channel;
    if (!(ch.slope > 0)) Refuse("channelSlope", "Channel slope (channelSlope) must be above 0.");
    if (!(ch.n > 0))
      Refuse("channelManningsN", "Channel Manning's n (channelManningsN) must be above 0.");
    if (ch.shape != SectionKind::Triangle && !(ch.bottomWidth > 0))
      Refuse("channelBottomWidth", "Channel bottom width (channelBottomWidth) must be above 0.");
    if (ch.shape != SectionKind::Rectangle && !(ch.sideSlope > 0))
      Refuse("channelSideSlope", "Channel side slope (channelSideSlope) must be above 0.");
  }
  if (c.roadway) {
    const Roadway& r = *c.roadway;
    if (!(r.crestElevation > c.inletInvert))
      Refuse("roadwayCrestElevation",
             "Roadway crest elevation (roadwayCrestElevation) must be above the inlet invert.");
    if (!(r.crestLength > 0))
      Refuse("roadwayCrestLength", "Roadway crest length (roadwayCrestLength) must be above 0.");
    if (!(r.width > 0)) Refuse("roadwayWidth", "Roadway width (roadwayWidth) must be above 0.");
  }
}

InletControl InletControlHeadwater(const Culvert& c, double discharge) {
  const double q = discharge / c.barrels;
  InletControl r;
  r.x = XOf(c, q);
  if (r.x <= kUnsubmergedLimit) {
    r.headwater = Unsubmerged(c, q);
  } else if (r.x >= kSubmergedLimit) {
    r.form = InletForm::Submerged;
    r.headwater = Submerged(c, q);
  } else {
    r.form = InletForm::Transition;
    const double low = Unsubmerged(c, DischargeOfX(c, kUnsubmergedLimit));
    const double high = Submerged(c, DischargeOfX(c, kSubmergedLimit));
    const double t = (r.x - kUnsubmergedLimit) / (kSubmergedLimit - kUnsubmergedLimit);
    r.headwater = low + t * (high - low);
  }
  // The slope term alone would put a trickle's headwater below the invert.
  r.headwater = std::max(r.headwater, 0.0);
  return r;
}

OutletControl OutletControlHeadwater(const Culvert& c, double discharge, double tailwaterDepth) {
  const double q = discharge / c.barrels;
  const double a = FullArea(c);
  const double vh = VelocityHead(q / a);
  const double r = a / FullPerimeter(c);
  OutletControl o;
  o.entranceLoss = c.entranceLoss * vh;
  // Manning's friction slope of the full barrel: n² V² / R^(4/3) in SI (Ku = 2g / k²).
  o.frictionLoss = 2 * kGravity * c.n * c.n * c.length / std::pow(r, 4.0 / 3.0) * vh;
  o.exitLoss = vh;
  const double dc = BarrelCritical(c, q).first;
  o.outletLevel = std::max(tailwaterDepth, (dc + c.rise) / 2);
  o.headwater =
      c.outletInvert + o.entranceLoss + o.frictionLoss + o.exitLoss + o.outletLevel - c.inletInvert;
  return o;
}

BarrelFlow BarrelFlowAt(const Culvert& c, double discharge, double tailwaterDepth) {
  BarrelFlow f;
  f.discharge = discharge;
  f.inlet = InletControlHeadwater(c, discharge);
  f.outlet = OutletControlHeadwater(c, discharge, tailwaterDepth);
  f.inletControls = f.inlet.headwater >= f.outlet.headwater;
  f.headwaterElevation = c.inletInvert + std::max(f.inlet.headwater, f.outlet.headwater);
  const double q = discharge / c.barrels;
  std::tie(f.criticalDepth, f.criticalCapped) = BarrelCritical(c, q);
  f.normalDepth = BarrelNormal(c, q);
  if (f.inletControls)
    f.outletDepth = f.normalDepth.value_or(f.criticalDepth);
  else
    f.outletDepth = std::clamp(tailwaterDepth, f.criticalDepth, c.rise);
  const double area = BarrelGeometry(c, f.outletDepth).area;
  f.outletVelocity = area > 0 ? q / area : 0;
  return f;
}

double TailwaterDepth(const Culvert& c, double totalDischarge) {
  if (c.tailwaterElevation) return std::max(*c.tailwaterElevation - c.outletInvert, 0.0);
  if (!c.channel || totalDischarge <= 0) return 0;
  const TailwaterChannel& ch = *c.channel;
  const SearchContext ctx{ch.shape, MachineEpsilon(), std::numbers::pi};
  ChannelSearch search;
  search.flow = {FlowQuantity::Discharge, totalDischarge, ch.slope, ch.n};
  search.width = ch.shape == SectionKind::Triangle ? 0 : ch.bottomWidth;
  search.side = ch.shape == SectionKind::Rectangle ? 0 : ch.sideSlope;
  const SearchResult r = BisectOpenChannel(ctx, search);
  if (r.end != SearchEnd::Converged)
    Refuse("channelSlope", "The downstream channel has no normal depth for this discharge.");
  return r.value;
}

namespace {

// The governing headwater elevation alone, without the outlet depths the searches do not
// need.
double GoverningLevel(const Culvert& c, double q, double tailwaterDepth) {
  return c.inletInvert + std::max(InletControlHeadwater(c, q).headwater,
                                  OutletControlHeadwater(c, q, tailwaterDepth).headwater);
}

}  // namespace

double BarrelDischargeAt(const Culvert& c, double elevation, double tailwaterDepth) {
  const auto level = [&](double q) { return GoverningLevel(c, q, tailwaterDepth); };
  if (elevation <= level(0)) return 0;
  return SolveRising(level, elevation, 0.0).value;
}

namespace {

double Overtopping(const Culvert& c, double elevation, double tailwaterDepth,
                   std::vector<std::string>* warnings = nullptr) {
  if (!c.roadway) return 0;
  const Roadway& r = *c.roadway;
  const double head = elevation - r.crestElevation;
  const double tw = c.outletInvert + tailwaterDepth - r.crestElevation;
  if (head <= 0 || tw >= head) return 0;
  const WeirFlow f = RoadwayOvertopping(r.surface, r.crestLength, r.width, head,
                                        tw > 0 ? std::optional(tw) : std::nullopt);
  if (warnings) warnings->insert(warnings->end(), f.warnings.begin(), f.warnings.end());
  return f.discharge;
}

}  // namespace

CulvertState CulvertAt(const Culvert& c, double totalDischarge) {
  CulvertState s;
  s.totalDischarge = totalDischarge;
  s.tailwaterDepth = TailwaterDepth(c, totalDischarge);
  const auto alone = [&] {
    s.barrel = BarrelFlowAt(c, totalDischarge, s.tailwaterDepth);
    s.headwaterElevation = s.barrel.headwaterElevation;
    return s;
  };
  if (!c.roadway ||
      GoverningLevel(c, totalDischarge, s.tailwaterDepth) <= c.roadway->crestElevation)
    return alone();
  // Barrels and road share the flow at one headwater: searched on the barrels' share qb,
  // whose headwater follows directly, the road taking what that headwater puts over it;
  // qb + road(HW(qb)) rises with qb from below the total at none to above it at all.
  const auto excess = [&](double q) {
    return q + Overtopping(c, GoverningLevel(c, q, s.tailwaterDepth), s.tailwaterDepth) -
           totalDischarge;
  };
  double barrel = 0;
  if (excess(0) < 0) {
    // To a part in 10^12 of the flow, far below any figure shown.
    const SearchResult r =
        FalsePosition(Bracket{0, totalDischarge}, excess, {0, 1e-12 * totalDischarge});
    barrel = std::clamp(r.value, 0.0, totalDischarge);
  }
  s.barrel = BarrelFlowAt(c, barrel, s.tailwaterDepth);
  s.overtoppingDischarge = totalDischarge - barrel;
  s.overtopping = s.overtoppingDischarge > 0;
  s.headwaterElevation = s.barrel.headwaterElevation;
  return s;
}

std::vector<PerformancePoint> PerformanceCurve(const Culvert& c, double designDischarge,
                                               int points) {
  std::vector<PerformancePoint> out;
  if (points < 2) return out;
  for (int i = 0; i < points; ++i) {
    const double q = 2 * designDischarge * i / (points - 1);
    const CulvertState s = CulvertAt(c, q);
    out.push_back({q, c.inletInvert + s.barrel.inlet.headwater,
                   c.inletInvert + s.barrel.outlet.headwater, s.headwaterElevation,
                   s.barrel.discharge, s.overtoppingDischarge});
  }
  return out;
}

CulvertResults SolveCulvert(const CulvertInputs& in) {
  CulvertResults r;
  Culvert c = in.culvert;
  const bool needsAllowable = in.solveFor != CulvertUnknown::Headwater;
  if (needsAllowable && !in.allowableHeadwater)
    Refuse("allowableHeadwaterElevation",
           "Allowable headwater elevation (allowableHeadwaterElevation) is required.");
  if (in.solveFor == CulvertUnknown::Size) {
    // Any size passes the shape checks; the search below replaces it.
    if (!(c.rise > 0)) c.rise = 1;
  }
  CheckCulvert(c);
  if (in.solveFor != CulvertUnknown::Discharge && !(in.discharge > 0))
    Refuse("discharge", "Discharge (discharge) must be above 0.");
  double q = in.discharge;
  switch (in.solveFor) {
    case CulvertUnknown::Headwater:
      break;
    case CulvertUnknown::Discharge: {
      const double target = *in.allowableHeadwater;
      const auto level = [&](double total) { return CulvertAt(c, total).headwaterElevation; };
      if (!(target > level(0)))
        Refuse("allowableHeadwaterElevation",
               "Allowable headwater elevation (allowableHeadwaterElevation) is not above the "
               "headwater with no flow.");
      q = SolveRising(level, target, 0.0).value;
      break;
    }
    case CulvertUnknown::Size: {
      const double metres = NominalToMetres(in.sizes.system);
      bool found = false;
      for (const double nominal : in.sizes.sizes) {
        c.rise = nominal * metres;
        if (CulvertAt(c, q).headwaterElevation <= *in.allowableHeadwater) {
          r.nominalSize = nominal;
          found = true;
          break;
        }
      }
      if (!found)
        Refuse("allowableHeadwaterElevation",
               "No standard size keeps the headwater at or below the allowable headwater "
               "elevation (allowableHeadwaterElevation).");
      break;
    }
  }
  r.culvert = c;
  r.state = CulvertAt(c, q);
  r.performance = PerformanceCurve(c, q, in.performancePoints);

  const BarrelFlow& b = r.state.barrel;
  Overtopping(c, r.state.headwaterElevation, r.state.tailwaterDepth, &r.warnings);
  if (b.criticalCapped)
    r.warnings.push_back(
        "Critical depth in the barrel reaches the rise; it is capped at the rise.");
  if (r.state.tailwaterDepth > c.rise)
    r.warnings.push_back("The tailwater is above the crown of the barrel at the outlet.");
  const double hwDepth = r.state.headwaterElevation - c.inletInvert;
  if (!b.inletControls && hwDepth < kOutletRuleLeast * c.rise)
    r.warnings.push_back(
        "The headwater is below 0.75 times the rise under outlet control, "
        "where the (dc + D)/2 outlet level does not hold; compute a backwater "
        "profile where accuracy matters.");
  if (c.velocityLimit && b.outletVelocity > *c.velocityLimit)
    r.warnings.push_back("The outlet velocity is above the design settings' limit.");
  return r;
}

}  // namespace rivulet
