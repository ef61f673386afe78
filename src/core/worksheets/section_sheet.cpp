#include "core/worksheets/section_sheet.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "core/shell/number_text.h"
#include "core/shell/utf8_text.h"
#include "core/worksheets/input_range.h"

namespace rivulet {
namespace {

const char* MethodText(CompositeMethod m) {
  switch (m) {
    case CompositeMethod::Conveyance:
      return "Conveyance: zones split by vertical lines at the breaks that add no wetted "
             "perimeter; K = sum of (1/n_i) A_i R_i^(2/3); energy coefficient "
             "alpha = sum(K_i^3/A_i^2) / (K^3/A^2).";
    case CompositeMethod::Horton:
      return "Horton (equal velocity): n_c = (sum P_i n_i^1.5 / P)^(2/3); alpha = 1.";
    case CompositeMethod::Pavlovskii:
      return "Pavlovskii: n_c = (sum P_i n_i^2 / P)^(1/2); alpha = 1.";
    case CompositeMethod::Lotter:
      return "Lotter: n_c = P R^(5/3) / sum(P_i R_i^(5/3) / n_i); alpha = 1.";
  }
  return "";
}

// A break station (m) in the unit the zones were surveyed in, to its resolution.
std::string Station(double metres, const Document& d) {
  const FileUnit* unit = FindFileUnit(Dimension::Length, d.InputUnit("nZones"));
  if (!unit) return SurveyLevelText(metres, 1.0) + " m";
  return SurveyLevelText(FromBase(*unit, metres), unit->factor) + " " + std::string(unit->symbol);
}

NamedResult Length(const char* name, const char* label, std::optional<double> v) {
  return NamedResult::Number(name, label, Dimension::Length, v);
}

std::vector<NamedResult> ZoneRecord(const ZoneResult& z) {
  return {NamedResult::Number("n", "Manning's n", Dimension::None, z.n),
          NamedResult::Number("flowArea", "Flow Area", Dimension::Area, z.flowArea),
          Length("wettedPerimeter", "Wetted Perimeter", z.wettedPerimeter),
          Length("topWidth", "Top Width", z.topWidth),
          NamedResult::Number("discharge", "Discharge", Dimension::Discharge, z.discharge),
          NamedResult::Number("velocity", "Velocity", Dimension::Velocity, z.velocity)};
}

// The lists by the worksheets' range rule, named as the user sees them; n no smoother than
// any real surface, or the velocity runs off to numbers no channel has.
void CheckListRanges(const StationSection& section) {
  const auto check = [](const std::vector<double>& values, const char* field, const char* what,
                        Dimension dimension) {
    for (size_t i = 0; i < values.size(); ++i)
      CheckInputNumber(values[i], values[i], dimension, field,
                       std::string(what) + " " + std::to_string(i + 1), "m");
  };
  check(section.station, "points", "Station of point", Dimension::Length);
  check(section.elevation, "points", "Elevation of point", Dimension::Length);
  check(section.breaks, "nZones", "Station of zone break", Dimension::Length);
  for (size_t j = 0; j < section.n.size(); ++j) {
    const std::string label = "Manning's n of zone " + std::to_string(j + 1);
    CheckInputNumber(section.n[j], section.n[j], Dimension::None, "nZones", label, "");
    if (!(section.n[j] >= kLeastManningN))
      throw WorksheetError("nZones", label + ": " + ShownNumber(section.n[j], 6) +
                                         " is below 0.001, smoother than any surface.");
  }
}

}  // namespace

std::string SectionAnswerProblem(const SectionInputs& in, const SectionResults& r) {
  for (double v :
       {r.waterSurfaceElevation, r.depth, r.discharge, r.slope, r.flowArea, r.wettedPerimeter,
        r.hydraulicRadius, r.topWidth, r.velocity, r.conveyance, r.specificEnergy, r.froudeNumber})
    if (!std::isfinite(v)) return "The answer is not a usable number (it overflowed).";
  const auto normal = [](double v) { return std::fpclassify(v) == FP_NORMAL && v > 0; };
  if (!normal(r.depth) || !normal(r.discharge) || !normal(r.flowArea) || !normal(r.slope))
    return "The answer has no water in the section (its depth or discharge vanished).";
  const SectionModel model(in.section, in.method);
  const double w = r.waterSurfaceElevation;
  const double root = std::sqrt(r.slope);
  const double q = model.ConveyanceAt(w) * root;
  const double tolerance = 1e-6;
  if (std::fabs(q - r.discharge) > tolerance * std::max(q, r.discharge)) {
    // Where the next representable surfaces below and above bracket the flow, the answer is
    // as near as the survey's numbers can hold it; not where the one below carries nothing.
    const double below =
        model.ConveyanceAt(std::nextafter(w, -std::numeric_limits<double>::infinity())) * root;
    const double above =
        model.ConveyanceAt(std::nextafter(w, std::numeric_limits<double>::infinity())) * root;
    if (!(below > 0 && below <= r.discharge && r.discharge <= above))
      return "The answer does not satisfy Manning's equation (Q = K S^(1/2) at the water "
             "surface found): no solution is reported.";
  }
  if (std::fabs(r.velocity * r.flowArea - r.discharge) > tolerance * r.discharge)
    return "The answer does not satisfy Q = V A: no solution is reported.";
  return "";
}

SectionInputs SectionInputsFrom(const Document& d) {
  SectionInputs in;
  const std::string unknown = d.Unknown({"depth", "discharge", "slope"});
  in.solveFor = unknown == "depth"       ? SectionUnknown::Depth
                : unknown == "discharge" ? SectionUnknown::Discharge
                                         : SectionUnknown::Slope;
  in.section.station = d.InputList("points", "station", Dimension::Length);
  in.section.elevation = d.InputList("points", "elevation", Dimension::Length);
  const auto zones = d.inputs.find("nZones");
  // Without breaks the whole section takes its one n.
  if (zones != d.inputs.end() && zones->is_object() && zones->contains("breaks"))
    in.section.breaks = d.InputList("nZones", "breaks", Dimension::Length);
  in.section.n = d.InputList("nZones", "n", Dimension::None, Allowed::Positive);
  CheckListRanges(in.section);
  in.section.extendWalls = d.OptionFlag("extendWalls", false);
  const std::string method =
      d.Option("compositeMethod", {"conveyance", "horton", "pavlovskii", "lotter"}, "conveyance");
  CompositeMethodForKey(method, in.method);
  if (in.solveFor != SectionUnknown::Slope)
    in.slope = d.Input("longitudinalSlope", Dimension::Slope);
  if (in.solveFor != SectionUnknown::Discharge)
    in.discharge = d.Input("discharge", Dimension::Discharge);
  if (in.solveFor != SectionUnknown::Depth) {
    in.waterSurfaceElevation =
        d.OptionalInput("waterSurfaceElevation", Dimension::Length, Allowed::Any);
    if (!in.waterSurfaceElevation) in.depth = d.OptionalInput("depth", Dimension::Length);
    if (!in.waterSurfaceElevation && !in.depth)
      throw WorksheetError(
          "waterSurfaceElevation",
          "Give the input \"waterSurfaceElevation\" or \"depth\" to solve for " + unknown + ".");
  }
  return in;
}

SheetOutcome SectionOutcome(const SectionInputs& in, const SectionResults& r, const Document& d) {
  if (!r.ok) {
    std::string message = r.message;
    // The calculation states capacity in SI; the user reads it in the units of the results.
    if (r.overtopped && r.bankFullDischarge && in.solveFor == SectionUnknown::Depth) {
      const FileUnit* unit = d.ResultUnit("bankFullDischarge", Dimension::Discharge);
      message =
          BankFullExceededMessage(ShownNumber(FromBase(*unit, *r.bankFullDischarge), kShownDigits) +
                                      " " + std::string(unit->symbol),
                                  r.overtoppedSide);
    }
    SheetOutcome failed = SheetOutcome::Failed(message, r.field);
    failed.warnings = r.warnings;
    return failed;
  }
  std::vector<NamedResult> results{
      NamedResult::Level("waterSurfaceElevation", "Water Surface Elevation",
                         r.waterSurfaceElevation),
      Length("depth", "Depth", r.depth),
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, r.discharge)};
  if (in.solveFor == SectionUnknown::Slope)
    results.push_back(
        NamedResult::Number("longitudinalSlope", "Longitudinal Slope", Dimension::Slope, r.slope));
  std::vector<NamedResult> more{
      NamedResult::Number("flowArea", "Flow Area", Dimension::Area, r.flowArea),
      Length("wettedPerimeter", "Wetted Perimeter", r.wettedPerimeter),
      Length("hydraulicRadius", "Hydraulic Radius", r.hydraulicRadius),
      Length("topWidth", "Top Width", r.topWidth),
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, r.velocity),
      NamedResult::Number("compositeN", "Composite n", Dimension::None, r.compositeN),
      NamedResult::Number("conveyance", "Conveyance", Dimension::Discharge, r.conveyance),
      NamedResult::Number("energyCoefficient", "Energy Coefficient", Dimension::None,
                          r.energyCoefficient),
      NamedResult::Number("froudeNumber", "Froude Number", Dimension::None, r.froudeNumber),
      Length("criticalDepth", "Critical Depth", r.criticalDepth)};
  results.insert(results.end(), more.begin(), more.end());
  if (r.criticalDepths.size() > 1)
    results.push_back(NamedResult::Series("criticalDepths", "Critical Depths", Dimension::Length,
                                          r.criticalDepths));
  results.push_back(NamedResult::Level("criticalWaterSurfaceElevation", "Critical Water Surface",
                                       r.criticalWaterSurfaceElevation));
  results.push_back(Length("specificEnergy", "Specific Energy", r.specificEnergy));
  results.push_back(
      NamedResult::Number("averageShear", "Average Shear", Dimension::Shear, r.averageShear));
  results.push_back(NamedResult::Number("bankFullDischarge", "Bank-full Discharge",
                                        Dimension::Discharge, r.bankFullDischarge));
  results.push_back(NamedResult::Flag("overtopped", "Overtopped", r.overtopped));
  std::vector<std::vector<NamedResult>> zones;
  for (const ZoneResult& z : r.zones) zones.push_back(ZoneRecord(z));
  results.push_back(NamedResult::Records("zones", "Zone", std::move(zones)));

  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.warnings = r.warnings;
  o.methodLines.push_back(std::string("Manning's equation, SI: Q = K S^(1/2). ") +
                          MethodText(in.method));
  o.methodLines.push_back(
      "Critical depth at each minimum of specific energy E = y + alpha V^2/2g, "
      "g = 9.80665 m/s2; Froude number (alpha Q^2 T / g A^3)^(1/2).");
  std::ostringstream pts;
  pts << in.section.station.size() << " points, " << in.section.n.size() << " zone"
      << (in.section.n.size() == 1 ? "" : "s") << ", depth above the lowest point.";
  o.methodLines.push_back(pts.str());
  for (size_t j = 0; j < in.section.n.size(); ++j) {
    std::ostringstream zone;
    zone << "Zone " << j + 1 << ": n = " << in.section.n[j] << ", from "
         << (j == 0 ? std::string("the left end")
                    : "station " + Station(in.section.breaks[j - 1], d))
         << " to "
         << (j + 1 == in.section.n.size() ? std::string("the right end")
                                          : "station " + Station(in.section.breaks[j], d))
         << ".";
    o.methodLines.push_back(zone.str());
  }
  if (in.section.extendWalls)
    o.methodLines.push_back("Water above an end stands against a vertical wall raised there.");
  return o;
}

namespace {

// The surveyed points as the file gives them, one line each, for the report.
std::vector<std::string> SectionPointLines(const Document& d) {
  const auto points = d.inputs.find("points");
  if (points == d.inputs.end() || !points->is_object()) return {};
  const auto list = [&](const char* key) {
    const auto it = points->find(key);
    return it != points->end() && it->is_array() ? *it : nlohmann::json::array();
  };
  const nlohmann::json station = list("station"), elevation = list("elevation");
  const std::string unit = d.InputUnit("points");
  const FileUnit* u = FindFileUnit(Dimension::Length, unit);
  const std::string symbol = u ? std::string(u->symbol) : unit;
  const auto text = [](const nlohmann::json& v) {
    return v.is_number() ? FormatNumber(v.get<double>()) : std::string("(missing)");
  };
  std::vector<std::string> lines{PadRight("Point", 8, 1) +
                                 PadRight("Station (" + symbol + ")", 20, 1) + "Elevation (" +
                                 symbol + ")"};
  const size_t n = std::max(station.size(), elevation.size());
  for (size_t i = 0; i < n; ++i)
    lines.push_back(PadRight(std::to_string(i + 1), 8, 1) +
                    PadRight(i < station.size() ? text(station[i]) : "(missing)", 20, 1) +
                    (i < elevation.size() ? text(elevation[i]) : "(missing)"));
  return lines;
}

}  // namespace

const WorksheetKind& IrregularSectionKind() {
  static const WorksheetKind kind{
      "section",
      "Irregular Section",
      // The points and zones are lists: the window edits them in tables of its own, and
      // the report lists the zones among its method lines.
      {{"longitudinalSlope", "Longitudinal Slope", Dimension::Slope, true},
       {"discharge", "Discharge", Dimension::Discharge, true},
       {"waterSurfaceElevation", "Water Surface Elevation", Dimension::Length, true},
       {"depth", "Depth", Dimension::Length, true}},
      {{"depth", "Depth"}, {"discharge", "Discharge"}, {"slope", "Slope"}},
      {{"compositeMethod",
        "Composite n Method",
        {{"conveyance", "Conveyance"},
         {"horton", "Horton"},
         {"pavlovskii", "Pavlovskii"},
         {"lotter", "Lotter"}}}},
      [](const Document& d) {
        const SectionInputs in = SectionInputsFrom(d);
        SectionResults r = SolveSection(in);
        if (r.ok)
          if (const std::string problem = SectionAnswerProblem(in, r); !problem.empty())
            return SheetOutcome::Failed(problem);
        return SectionOutcome(in, r, d);
      },
      // The water level is given by its elevation or, failing that, by its depth.
      [](const Document& d, const std::string& field) {
        const std::string unknown = d.solveFor.empty() ? "depth" : d.solveFor;
        if (field == unknown || (field != "waterSurfaceElevation" && field != "depth"))
          return FieldUse::Required;
        if (unknown == "depth") return FieldUse::Unused;
        return field == "depth" && d.HasInput("waterSurfaceElevation") ? FieldUse::Unused
                                                                       : FieldUse::EitherOfPair;
      },
      "irregular",
      {"waterSurfaceElevation",
       "depth",
       "discharge",
       "longitudinalSlope",
       "flowArea",
       "wettedPerimeter",
       "hydraulicRadius",
       "topWidth",
       "velocity",
       "compositeN",
       "conveyance",
       "energyCoefficient",
       "froudeNumber",
       "criticalDepth",
       "criticalDepths",
       "criticalWaterSurfaceElevation",
       "specificEnergy",
       "averageShear",
       "bankFullDischarge",
       "overtopped",
       "zones"},
      SectionPointLines};
  return kind;
}

}  // namespace rivulet
