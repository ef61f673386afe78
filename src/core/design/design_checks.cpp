#include "core/design/design_checks.h"

#include <cstdio>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"

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

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", v);
  return buf;
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
  checks.push_back(Applies("minimumVelocity", v >= vmin, v, vmin, u.velocityUnit,
                           "Velocity " + Num(v) + " " + u.velocityUnit +
                               (v >= vmin ? " is at least " : " is below ") + "the minimum " +
                               Num(vmin) + " " + u.velocityUnit + " for self-cleansing"));
  if (c.minFullVelocity && in.isPipe && in.slope > 0 && in.n > 0) {
    const double full = PipeFullFlow(in.diameter, in.slope, in.n).velocity / u.velocity;
    const double lim = *c.minFullVelocity / u.velocity;
    checks.push_back(Applies("minimumFullFlowVelocity", full >= lim, full, lim, u.velocityUnit,
                             "Full-flow velocity " + Num(full) + " " + u.velocityUnit +
                                 (full >= lim ? " is at least " : " is below ") + "the minimum " +
                                 Num(lim) + " " + u.velocityUnit));
  }
  checks.push_back(Applies("maximumVelocity", v <= vmax, v, vmax, u.velocityUnit,
                           "Velocity " + Num(v) + " " + u.velocityUnit +
                               (v <= vmax ? " is within " : " exceeds ") + "the maximum " +
                               Num(vmax) + " " + u.velocityUnit));
}

DesignCheck DepthRatioCheck(const DesignInput& in, const DesignCriteria& c) {
  if (!in.isPipe) return NotApplicable("depthRatio", "Depth ratio applies to pipes only");
  const double ratio = in.depth / in.diameter;
  const bool pass = ratio <= c.maxDepthRatio;
  return Applies("depthRatio", pass, ratio, c.maxDepthRatio, "",
                 "y/D " + Num(ratio) + (pass ? " is within " : " exceeds ") + "the limit " +
                     Num(c.maxDepthRatio));
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
  return Applies("freeboard", board >= lim, board, lim, u.lengthUnit,
                 "Freeboard " + Num(board) + " " + u.lengthUnit +
                     (board >= lim ? " is at least " : " is less than ") + "the minimum " +
                     Num(lim) + " " + u.lengthUnit);
}

DesignCheck NearCriticalCheck(const DesignInput& in) {
  if (!in.froude) return NotApplicable("nearCritical", "No free surface: running full");
  const double fr = *in.froude;
  const bool near = fr >= kNearCriticalLow && fr <= kNearCriticalHigh;
  DesignCheck c = Applies("nearCritical", !near, fr, 0, "",
                          "Froude number " + Num(fr) +
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
                 "Maximum shear " + Num(tau) + " " + u.shearUnit +
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
