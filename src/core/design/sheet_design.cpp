#include "core/design/sheet_design.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/shell/utf8_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {

namespace {

// Positions in the sheet's unit lists.
constexpr int kInches = 3;
constexpr int kFeet = 4;
constexpr int kFeetPerSecond = 2;
constexpr int kFeetPerDay = 3;
constexpr int kMetres = 2;  // the standard size is shown in metres when the list is metric

// Four figures read at a glance beside a limit.
std::string Num(double v) { return SignificantFigures(v, 4); }

}  // namespace

std::optional<SheetDesign> DesignOfSheet(const frmRivulet& form, const DesignSettings& settings) {
  const ResultsState state = form.Results();
  if (!form.LastSolve() || (state != ResultsState::Current && state != ResultsState::Modified))
    return std::nullopt;
  const SolvedFlows flows = FlowsOf(*form.LastSolve());
  const std::optional<FlowDetails> details = ComputeFlowDetails(flows.primary);
  if (!details) return std::nullopt;
  SheetDesign d;
  d.current = state == ResultsState::Current;
  d.diameterGiven = !form.optDiam.Value();
  d.diameterUnit = form.cboDiam.ListIndex();
  d.sizeSystem =
      d.diameterUnit == kInches || d.diameterUnit == kFeet ? UnitSystem::US : UnitSystem::SI;
  const bool velocityFirst = form.VelocityGiven();
  const ComboBox& vel = velocityFirst ? form.cboVelDis1 : form.cboVelDis2;
  const ComboBox& dis = velocityFirst ? form.cboVelDis2 : form.cboVelDis1;
  d.lengthUnit = form.cboDepth.ListIndex();
  d.lengthName = form.cboDepth.Text();
  d.velocityUnit = vel.ListIndex();
  d.velocityName = vel.Text();
  d.dischargeUnit = dis.ListIndex();
  d.dischargeName = dis.Text();
  d.criteriaSystem = d.velocityUnit == kFeetPerSecond || d.velocityUnit == kFeetPerDay
                         ? UnitSystem::US
                         : UnitSystem::SI;
  DesignInput in;
  const FlowState& f = flows.primary;
  in.isPipe = f.section.shape == SectionKind::Pipe;
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

std::vector<SizeFigure> StandardSizeFigures(const SheetDesign& design) {
  const DesignResult& r = design.result;
  if (!r.standard) return {};
  const StandardSize& s = *r.standard;
  const auto length = [&](double v) { return ConvertLength(v, design.lengthUnit, kFromBase); };
  return {
      {"standardDiameter", "Diameter", s.nominal, NominalUnit(r.list->system)},
      {"standardDiameterDepth", "Depth", length(s.depth), design.lengthName},
      {"standardDiameterVelocity", "Velocity",
       ConvertVelocity(s.velocity, design.velocityUnit, kFromBase), design.velocityName},
      {"standardDiameterPercentFull", "Percent full", s.percentFull, "%"},
      {"standardDiameterCapacity", "Full-flow capacity",
       ConvertDischarge(s.fullFlow, design.dischargeUnit, kFromBase), design.dischargeName},
      {"standardDiameterSpare", "Spare capacity",
       ConvertDischarge(s.spare, design.dischargeUnit, kFromBase), design.dischargeName},
  };
}

std::vector<std::string> DesignReportLines(const SheetDesign& design, size_t width) {
  const std::string indent(5, ' ');
  std::vector<std::string> lines;
  // A sentence on lines of the width, continued under its first word.
  auto wrap = [&](const std::string& lead, const std::string& text) {
    std::istringstream words(text);
    std::string line = indent + lead;
    const std::string hang = indent + std::string(lead.size(), ' ');
    bool empty = true;
    for (std::string w; words >> w;) {
      if (!empty && CharacterCount(line) + 1 + CharacterCount(w) > width) {
        lines.push_back(line);
        line = hang;
        empty = true;
      }
      line += (empty ? "" : " ") + w;
      empty = false;
    }
    lines.push_back(line);
  };
  const DesignResult& r = design.result;
  if (!design.current) wrap("", std::string("Out of date: ") + kStatusModified);
  if (r.list) {
    wrap("", "Standard size (" + r.list->name + ")");
    for (const SizeFigure& f : StandardSizeFigures(design)) {
      lines.push_back(indent + "  " + PadRight(f.label, 22, 1) + Num(f.value) + " " + f.unit);
    }
    if (!r.standard) wrap("  ", r.sizeNote);
    if (design.diameterGiven) {
      wrap("", r.meetsLimits ? "The pipe as given meets the limits."
                             : "The pipe as given does not meet the limits (Fail below).");
    }
  }
  wrap("", "Design checks");
  for (const DesignCheck& c : r.checks) wrap("  " + PadRight(CheckMark(c), 5, 1), c.text);
  return lines;
}

std::string DesignJson(const SheetDesign& design) {
  using nlohmann::json;
  const DesignResult& r = design.result;
  auto number = [](const std::optional<double>& v) {
    return v && std::isfinite(*v) ? json(*v) : json(nullptr);
  };
  json out = json::object();
  out["standardDiameter"] = nullptr;
  for (const SizeFigure& f : StandardSizeFigures(design)) {
    out[f.key] = json{{"value", number(f.value)}, {"unit", f.unit}};
  }
  if (r.list) out["sizeList"] = r.list->name;
  if (r.list && !r.standard) out["sizeNote"] = r.sizeNote;
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
  if (form.VelocityGiven()) form.cmdVelDis.Click();
  form.txtVelDis1.SetText(
      FormatNumber(ConvertDischarge(design.discharge, form.cboVelDis1.ListIndex(), kFromBase)));
  form.cboDiam.SetListIndex(unit);
  form.txtDiam.SetText(FormatNumber(value));
  form.optDepth.SetValue(true);
  form.cmdCalculate_Click();
  return true;
}

}  // namespace rivulet
