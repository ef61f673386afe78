#include "core/design/design_checks.h"

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/shell/number_text.h"

namespace rivulet {

namespace {

constexpr double kFoot = 0.3048;

struct DisplayUnits {
  double velocity;
  const char* velocityUnit;
  double length;
  const char* lengthUnit;
  double shear;
  const char* shearUnit;
};

DisplayUnits UnitsFor(UnitSystem system) {
  if (system == UnitSystem::US) return {kFoot, "ft/s", kFoot, "ft", kPascalPerPsf, "lb/ft²"};
  return {1, "m/s", 1, "m", 1, "Pa"};
}

std::string Num(double v, int digits = 4) { return SignificantFigures(v, digits); }

// A value and the limit it failed, with as many more digits as it takes for the two to read
// differently: "0.5999999 is below 0.6", never "0.6 is below 0.6". A pass reads at four.
std::pair<std::string, std::string> Compared(double value, double limit, bool failed) {
  int digits = 4;
  while (failed && digits < 17 && Num(value, digits) == Num(limit, digits)) ++digits;
  return {Num(value, digits), Num(limit, digits)};
}

DesignCheck Applies(std::string name, bool pass, double value, double limit, std::string unit,
                    std::string text) {
  return {std::move(name), pass, value, limit, std::move(unit), std::move(text)};
}

DesignCheck NotApplicable(std::string name, std::string text) {
  return {std::move(name), std::nullopt, std::nullopt, std::nullopt, "", std::move(text)};
}

void AddVelocityChecks(const DesignInput& in, const DesignCriteria& c, const DisplayUnits& u,
                       std::vector<DesignCheck>& checks) {
  const double v = in.velocity / u.velocity;
  const double vmin = c.minVelocity / u.velocity;
  const double vmax = c.maxVelocity / u.velocity;
  const auto [vText, vminText] = Compared(v, vmin, v < vmin);
  checks.push_back(Applies("minimumVelocity", v >= vmin, v, vmin, u.velocityUnit,
                           "Velocity " + vText + " " + u.velocityUnit +
                               (v >= vmin ? " is at least " : " is below ") + "the minimum " +
                               vminText + " " + u.velocityUnit + " for self-cleansing"));
  if (c.minFullVelocity && in.isPipe && in.slope > 0 && in.n > 0) {
    const double full = PipeFullFlow(in.diameter, in.slope, in.n).velocity / u.velocity;
    const double lim = *c.minFullVelocity / u.velocity;
    const auto [fullText, limText] = Compared(full, lim, full < lim);
    checks.push_back(Applies("minimumFullFlowVelocity", full >= lim, full, lim, u.velocityUnit,
                             "Full-flow velocity " + fullText + " " + u.velocityUnit +
                                 (full >= lim ? " is at least " : " is below ") + "the minimum " +
                                 limText + " " + u.velocityUnit));
  }
  const auto [vAgainstMax, vmaxText] = Compared(v, vmax, v > vmax);
  checks.push_back(Applies("maximumVelocity", v <= vmax, v, vmax, u.velocityUnit,
                           "Velocity " + vAgainstMax + " " + u.velocityUnit +
                               (v <= vmax ? " is within " : " exceeds ") + "the maximum " +
                               vmaxText + " " + u.velocityUnit));
}

DesignCheck DepthRatioCheck(const DesignInput& in, const DesignCriteria& c) {
  if (!in.isPipe) return NotApplicable("depthRatio", "Depth ratio applies to pipes only");
  const double ratio = in.depth / in.diameter;
  const bool pass = ratio <= c.maxDepthRatio;
  const auto [ratioText, limitText] = Compared(ratio, c.maxDepthRatio, !pass);
  return Applies(
      "depthRatio", pass, ratio, c.maxDepthRatio, "",
      "y/D " + ratioText + (pass ? " is within " : " exceeds ") + "the limit " + limitText);
}

DesignCheck FreeboardCheck(const DesignInput& in, const DesignCriteria& c, const DisplayUnits& u) {
  if (in.isPipe) return NotApplicable("freeboard", "Freeboard applies to open channels only");
  if (!c.minFreeboard) return NotApplicable("freeboard", "No minimum freeboard set");
  const double need = (in.depth + *c.minFreeboard) / u.length;
  if (!c.bankHeight) {
    return NotApplicable("freeboard", "Channel depth needed for the freeboard: " + Num(need) + " " +
                                          u.lengthUnit + " (no bank height set)");
  }
  const double board = (*c.bankHeight - in.depth) / u.length;
  const double lim = *c.minFreeboard / u.length;
  const auto [boardText, limText] = Compared(board, lim, board < lim);
  return Applies("freeboard", board >= lim, board, lim, u.lengthUnit,
                 "Freeboard " + boardText + " " + u.lengthUnit +
                     (board >= lim ? " is at least " : " is less than ") + "the minimum " +
                     limText + " " + u.lengthUnit);
}

DesignCheck NearCriticalCheck(const DesignInput& in) {
  if (!in.froude) return NotApplicable("nearCritical", "No free surface: running full");
  const double fr = *in.froude;
  const bool near = fr >= kNearCriticalLow && fr <= kNearCriticalHigh;
  const double edge = fr < kNearCriticalLow ? kNearCriticalLow : kNearCriticalHigh;
  DesignCheck c = Applies("nearCritical", !near, fr, 0, "",
                          "Froude number " + Compared(fr, edge, !near).first +
                              (near ? " is near critical (" : " is outside the unstable band (") +
                              Num(kNearCriticalLow) + " to " + Num(kNearCriticalHigh) +
                              (near ? "): expect an unstable, wavy surface" : ")"));
  c.limit.reset();  // a band, stated in the text
  return c;
}

DesignCheck LiningShearCheck(const DesignInput& in, const DesignCriteria& c,
                             const DisplayUnits& u) {
  if (in.isPipe) return NotApplicable("liningShear", "Lining shear applies to open channels only");
  if (!c.permissibleShear) return NotApplicable("liningShear", "No permissible shear set");
  const double tau = in.maximumShear / u.shear;
  const double allowed = *c.permissibleShear / c.shearSafetyFactor / u.shear;
  const bool pass = in.maximumShear * c.shearSafetyFactor <= *c.permissibleShear;
  const std::string lining = c.lining.empty() ? "the lining" : c.lining;
  return Applies("liningShear", pass, tau, allowed, u.shearUnit,
                 "Maximum shear " + Compared(tau, allowed, !pass).first + " " + u.shearUnit +
                     (pass ? " is within " : " exceeds ") + "the permissible " +
                     Num(*c.permissibleShear / u.shear) + " " + u.shearUnit + " of " + lining +
                     " with a safety factor of " + Num(c.shearSafetyFactor));
}

}  // namespace

DesignResult EvaluateDesign(const DesignInput& in, const DesignSettings& settings) {
  DesignResult r;
  const DesignCriteria& c = settings.CriteriaFor(in.criteriaSystem);
  if (in.isPipe) {
    r.list = settings.ListFor(in.sizeSystem);
    try {
      r.standard = SmallestStandardSize(*r.list, in.slope, in.n, in.discharge, c.maxDepthRatio);
    } catch (const ArithmeticFault&) {
      r.standard.reset();
    }
    if (!r.standard) {
      r.sizeNote = !(in.discharge > 0) || !(in.slope > 0) || !(in.n > 0)
                       ? "No standard size: the pipe carries no flow"
                       : "No size of the list \"" + r.list->name +
                             "\" carries the discharge within y/D " + Num(c.maxDepthRatio);
    }
  }
  r.checks = LimitChecks(in, c);
  // Near-critical flow is a warning about the surface, not a limit the section fails.
  for (const DesignCheck& check : r.checks) {
    if (check.pass == false && check.name != "nearCritical") r.meetsLimits = false;
  }
  return r;
}

std::vector<DesignCheck> LimitChecks(const DesignInput& in, const DesignCriteria& c) {
  const DisplayUnits u = UnitsFor(in.criteriaSystem);
  std::vector<DesignCheck> checks;
  AddVelocityChecks(in, c, u, checks);
  checks.push_back(DepthRatioCheck(in, c));
  checks.push_back(FreeboardCheck(in, c, u));
  checks.push_back(NearCriticalCheck(in));
  checks.push_back(LiningShearCheck(in, c, u));
  return checks;
}

const char* CheckMark(const DesignCheck& check) {
  if (!check.pass) return "n/a";
  if (*check.pass) return "Pass";
  // Near-critical flow is a warning about a wavy surface, not a broken limit.
  return check.name == "nearCritical" ? "Warn" : "Fail";
}

}  // namespace rivulet
