#include "core/design/sheet_design.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {

namespace {

// Positions in the sheet's unit lists.
constexpr int kInches = 3;
constexpr int kFeet = 4;
constexpr int kFeetPerSecond = 2;
constexpr int kFeetPerDay = 3;
constexpr int kMetres = 2;  // the standard size is shown in metres when the list is metric

bool VelocityIsFirst(const frmRivulet& f) { return f.optVelDis1.Caption() == "Velocity"; }

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", v);
  return buf;
}

std::string Pad(const std::string& s, size_t width) {
  return s.size() >= width ? s + " " : s + std::string(width - s.size(), ' ');
}

}  // namespace

std::optional<SheetDesign> DesignOfSheet(const frmRivulet& form, const DesignSettings& settings) {
  const std::string& status = form.txtStatus.Text();
  if (!form.LastSolve() || (status != kStatusComplete && status != kStatusModified)) {
    return std::nullopt;
  }
  const SolvedFlows flows = FlowsOf(*form.LastSolve());
  const std::optional<FlowDetails> details = ComputeFlowDetails(flows.primary);
  if (!details) return std::nullopt;
  SheetDesign d;
  d.current = status == kStatusComplete;
  d.diameterGiven = !form.optDiam.Value();
  d.diameterUnit = form.cboDiam.ListIndex();
  d.sizeSystem =
      d.diameterUnit == kInches || d.diameterUnit == kFeet ? UnitSystem::US : UnitSystem::Metric;
  const int velocityUnit = (VelocityIsFirst(form) ? form.cboVelDis1 : form.cboVelDis2).ListIndex();
  d.criteriaSystem = velocityUnit == kFeetPerSecond || velocityUnit == kFeetPerDay
                         ? UnitSystem::US
                         : UnitSystem::Metric;
  DesignInput in;
  const FlowState& f = flows.primary;
  in.isPipe = f.section.shape == ChannelShape::Pipe;
  in.diameter = f.section.diameter;
  in.depth = f.depth;
  in.slope = f.slope;
  in.n = f.n;
  in.discharge = f.requestedDischarge.value_or(f.discharge);
  d.discharge = in.discharge;
  in.velocity = details->velocity;
  in.froude = details->froude;
  in.maximumShear = details->maximumShear;
  in.sizeSystem = d.sizeSystem;
  in.criteriaSystem = d.criteriaSystem;
  d.result = EvaluateDesign(in, settings);
  return d;
}

std::vector<std::string> DesignReportLines(const SheetDesign& design) {
  const std::string indent(5, ' ');
  std::vector<std::string> lines;
  const DesignResult& r = design.result;
  if (r.list) {
    lines.push_back(indent + "Standard size (" + r.list->name + ")");
    if (r.standard) {
      const StandardSize& s = *r.standard;
      const bool us = r.list->system == UnitSystem::US;
      const double len = us ? 0.3048 : 1;
      const double flow = us ? 0.3048 * 0.3048 * 0.3048 : 1;
      const std::string l = us ? "ft" : "m";
      const std::string q = us ? "ft³/s" : "m³/s";
      const std::string v = us ? "ft/s" : "m/s";
      lines.push_back(indent + Pad("  Diameter", 24) + Num(s.nominal) + " " +
                      NominalUnit(r.list->system));
      lines.push_back(indent + Pad("  Depth", 24) + Num(s.depth / len) + " " + l);
      lines.push_back(indent + Pad("  Velocity", 24) + Num(s.velocity / len) + " " + v);
      lines.push_back(indent + Pad("  Percent full", 24) + Num(s.percentFull) + " %");
      lines.push_back(indent + Pad("  Full-flow capacity", 24) + Num(s.fullFlow / flow) + " " + q);
      lines.push_back(indent + Pad("  Spare (full flow)", 24) + Num(s.spare / flow) + " " + q);
    } else {
      lines.push_back(indent + "  " + r.sizeNote);
    }
    if (design.diameterGiven) {
      lines.push_back(indent + (r.meetsLimits ? "The pipe as given meets the limits."
                                              : "The pipe as given does not meet the limits."));
    }
  }
  lines.push_back(indent + "Design checks");
  for (const DesignCheck& c : r.checks) {
    lines.push_back(indent + "  " + Pad(CheckMark(c), 5) + c.text);
  }
  return lines;
}

std::string DesignJson(const SheetDesign& design) {
  using nlohmann::json;
  const DesignResult& r = design.result;
  auto number = [](const std::optional<double>& v) {
    return v && std::isfinite(*v) ? json(*v) : json(nullptr);
  };
  json out = json::object();
  if (r.standard) {
    const bool us = r.list->system == UnitSystem::US;
    const double len = us ? 0.3048 : 1;
    const double flow = us ? 0.3048 * 0.3048 * 0.3048 : 1;
    const std::string l = us ? "ft" : "m";
    const std::string q = us ? "ft3/s" : "m3/s";
    const StandardSize& s = *r.standard;
    auto quantity = [&](double value, const std::string& unit) {
      return json{{"value", value}, {"unit", unit}};
    };
    out["standardDiameter"] = quantity(s.nominal, NominalUnit(r.list->system));
    out["standardDiameterDepth"] = quantity(s.depth / len, l);
    out["standardDiameterVelocity"] = quantity(s.velocity / len, l + "/s");
    out["standardDiameterPercentFull"] = quantity(s.percentFull, "%");
    out["standardDiameterCapacity"] = quantity(s.fullFlow / flow, q);
    out["standardDiameterSpare"] = quantity(s.spare / flow, q);
    out["sizeList"] = r.list->name;
  } else {
    out["standardDiameter"] = nullptr;
    if (!r.sizeNote.empty()) out["sizeNote"] = r.sizeNote;
  }
  out["current"] = design.current;
  if (r.list && design.diameterGiven) out["givenPipeMeetsLimits"] = r.meetsLimits;
  json checks = json::array();
  for (const DesignCheck& c : r.checks) {
    checks.push_back({{"name", c.name},
                      {"pass", c.pass ? json(*c.pass) : json(nullptr)},
                      {"value", number(c.value)},
                      {"limit", number(c.limit)},
                      {"unit", c.unit},
                      {"text", c.text}});
  }
  out["checks"] = checks;
  return out.dump();
}

bool UseStandardSize(frmRivulet& form, const SheetDesign& design) {
  if (!design.result.standard) return false;
  int unit = design.diameterUnit;
  const bool us = design.result.list->system == UnitSystem::US;
  // A size of the other family's list is written in a unit of its own family.
  if (us != (unit == kInches || unit == kFeet)) unit = us ? kInches : kMetres;
  const double value = ConvertLength(design.result.standard->diameter, unit, kFromBase);
  if (form.chkLocDiam.Value() == 1) form.chkLocDiam.SetValue(0);  // the depth is to be found
  // The new pipe must carry the design discharge, not keep the old velocity.
  if (VelocityIsFirst(form)) form.cmdVelDis.Click();
  form.txtVelDis1.SetText(
      FormatNumber(ConvertDischarge(design.discharge, form.cboVelDis1.ListIndex(), kFromBase)));
  form.cboDiam.SetListIndex(unit);
  form.txtDiam.SetText(FormatNumber(value));
  form.optDepth.SetValue(true);
  form.cmdCalculate_Click();
  return true;
}

}  // namespace rivulet
