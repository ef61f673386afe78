#include "core/worksheets/network_sheet.h"

#include <cmath>
#include <string>
#include <vector>

namespace rivulet {
namespace {

const std::vector<std::string> kKinds{"inlet", "accessHole", "junction", "outfall"};
const std::vector<std::string> kBenchings{"flat", "depressed", "halfBenched", "fullBenched",
                                          "improved"};

template <typename E>
E Pick(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<E>(i);
  return static_cast<E>(0);
}

// A number written as {"value": x, "unit": u} or bare, in base units of the dimension.
double NumberIn(const nlohmann::json& j, Dimension dimension, const std::string& field,
                const std::string& what) {
  const nlohmann::json* value = &j;
  std::string unitName;
  if (j.is_object()) {
    const auto v = j.find("value");
    if (v == j.end()) throw WorksheetError(field, what + " has no value.");
    value = &*v;
    const auto u = j.find("unit");
    if (u != j.end() && u->is_string()) unitName = u->get<std::string>();
  }
  if (!value->is_number()) throw WorksheetError(field, what + " is not a number.");
  const double number = value->get<double>();
  if (dimension == Dimension::None) return number;
  const FileUnit* unit = FindFileUnit(dimension, unitName);
  if (!unit)
    throw WorksheetError(field, what + " needs a unit of " + std::string(DimensionName(dimension)) +
                                    " (" + UnitNameList(dimension) + ").");
  return ToBase(*unit, number);
}

const FileUnit& UnitOf(const nlohmann::json& idf, const char* member, Dimension dimension) {
  const auto u = idf.find(member);
  const FileUnit* unit =
      u != idf.end() && u->is_string() ? FindFileUnit(dimension, u->get<std::string>()) : nullptr;
  if (!unit)
    throw WorksheetError("idf", std::string("The rainfall curve's ") + member + " must be one of " +
                                    UnitNameList(dimension) + ".");
  return *unit;
}

// The rainfall curve: a table of durations and intensities, or the fitted a/(t + b)^c.
IdfCurve IdfFrom(const Document& d) {
  const auto found = d.inputs.find("idf");
  if (found == d.inputs.end() || !found->is_object())
    throw WorksheetError("idf",
                         "Give the rainfall curve \"idf\": a table of durations and "
                         "intensities, or a, b and c of i = a/(t + b)^c.");
  const nlohmann::json& j = *found;
  const FileUnit& time = UnitOf(j, "durationUnit", Dimension::Time);
  const FileUnit& rate = UnitOf(j, "intensityUnit", Dimension::RainfallIntensity);
  IdfCurve c;
  if (j.contains("a")) {
    c.form = IdfCurve::Form::Formula;
    c.a = NumberIn(j["a"], Dimension::None, "idf", "The rainfall curve's a");
    c.b = j.contains("b") ? NumberIn(j["b"], Dimension::None, "idf", "The rainfall curve's b") : 0;
    c.c =
        NumberIn(j.value("c", nlohmann::json()), Dimension::None, "idf", "The rainfall curve's c");
    c.durationUnit = ToBase(time, 1);
    c.intensityUnit = ToBase(rate, 1);
    return c;
  }
  const auto list = [&](const char* member, const FileUnit& unit) {
    const auto it = j.find(member);
    if (it == j.end() || !it->is_array())
      throw WorksheetError("idf",
                           std::string("The rainfall table needs its list \"") + member + "\".");
    std::vector<double> values;
    for (const nlohmann::json& v : *it) {
      if (!v.is_number())
        throw WorksheetError("idf", std::string("The rainfall table's ") + member + " " +
                                        std::to_string(values.size() + 1) + " is not a number.");
      values.push_back(ToBase(unit, v.get<double>()));
    }
    return values;
  };
  c.duration = list("duration", time);
  c.intensity = list("intensity", rate);
  return c;
}

// A structure's area and weighted C, from its own two figures or its sub-areas.
void AreaOf(const InputRow& row, NetworkStructure& s) {
  if (!row.Has("subAreas")) {
    s.drainageArea =
        row.OptionalNumber("drainageArea", Dimension::DrainageArea, Allowed::Any).value_or(0);
    const auto c = row.OptionalNumber("runoffCoefficient", Dimension::None, Allowed::Any);
    if (s.drainageArea != 0 && !c)
      throw WorksheetError("structures",
                           row.Name() + ": give the runoffCoefficient of its drainageArea.");
    s.runoffCoefficient = c.value_or(0);
    return;
  }
  const nlohmann::json& parts = row.Json()["subAreas"];
  if (!parts.is_array())
    throw WorksheetError("structures", row.Name() + ": subAreas must be a list.");
  double area = 0, ca = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string what = row.Name() + ": sub-area " + std::to_string(i + 1);
    if (!parts[i].is_object() || !parts[i].contains("area") ||
        !parts[i].contains("runoffCoefficient"))
      throw WorksheetError("structures", what + " needs an area and a runoffCoefficient.");
    const double a = NumberIn(parts[i]["area"], Dimension::DrainageArea, "structures", what);
    const double c = NumberIn(parts[i]["runoffCoefficient"], Dimension::None, "structures", what);
    if (!(a >= 0) || !(c >= 0 && c <= 1))
      throw WorksheetError("structures",
                           what + ": the area must not be negative and C must lie in 0 to 1.");
    area += a;
    ca += c * a;
  }
  // The weighted coefficient: C = sum(C A) / sum(A).
  s.drainageArea = area;
  s.runoffCoefficient = area > 0 ? ca / area : 0;
}

// A design limit: an input of its own, or a member of a "design" group as files written by
// hand may hold them.
std::optional<double> Maybe(const Document& d, const char* name, Dimension dimension) {
  if (d.HasInput(name)) return d.OptionalInput(name, dimension, Allowed::NonNegative);
  const auto group = d.inputs.find("design");
  if (group == d.inputs.end() || !group->is_object() || !group->contains(name) ||
      (*group)[name].is_null())
    return std::nullopt;
  const double v = NumberIn((*group)[name], dimension, "design", std::string("design ") + name);
  if (!(v >= 0) || !std::isfinite(v))
    throw WorksheetError("design", std::string("design ") + name + " must not be negative.");
  return v;
}

NamedResult Length(const char* name, const char* label, std::optional<double> v) {
  return NamedResult::Number(name, label, Dimension::Length, v);
}

std::string Letter(char c) { return std::string(1, c); }

std::vector<NamedResult> PipeRecord(const PipeResult& p) {
  return {
      NamedResult::Text("id", "Pipe", p.id),
      NamedResult::Number("drainageArea", "Drainage Area", Dimension::DrainageArea, p.drainageArea),
      NamedResult::Number("cumulativeCA", "Sum of C x A", Dimension::DrainageArea, p.cumulativeCA),
      NamedResult::Number("timeOfConcentration", "Time of Concentration", Dimension::Time,
                          p.timeOfConcentration),
      NamedResult::Number("intensity", "Intensity", Dimension::RainfallIntensity, p.intensity),
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, p.discharge),
      Length("requiredDiameter", "Required Diameter", p.requiredDiameter),
      Length("diameter", "Diameter", p.diameter),
      NamedResult::Flag("designed", "Designed", p.designed),
      NamedResult::Number("fullCapacity", "Full Capacity", Dimension::Discharge, p.fullCapacity),
      NamedResult::Number("fullVelocity", "Full Velocity", Dimension::Velocity, p.fullVelocity),
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, p.velocity),
      Length("depth", "Normal Depth", p.depth),
      NamedResult::Number("travelTime", "Travel Time", Dimension::Time, p.travelTime),
      NamedResult::Level("upstreamInvert", "Upstream Invert", p.upstreamInvert),
      NamedResult::Level("downstreamInvert", "Downstream Invert", p.downstreamInvert),
      NamedResult::Number("slope", "Slope", Dimension::Slope, p.slope),
      NamedResult::Number("frictionSlope", "Friction Slope", Dimension::Slope, p.frictionSlope),
      NamedResult::Text("flowCondition", "Flow", p.full ? "full" : "partFull"),
      NamedResult::Text("outletCase", "Outlet Case", Letter(p.outletCase)),
      NamedResult::Text("inletCondition", "Upstream Condition", Letter(p.inletCondition)),
      NamedResult::Level("downstreamEnergyGrade", "EGL at Outlet", p.downstreamEnergy),
      NamedResult::Level("downstreamHydraulicGrade", "HGL at Outlet", p.downstreamHydraulic),
      NamedResult::Level("upstreamEnergyGrade", "EGL at Upstream End", p.upstreamEnergy),
      NamedResult::Level("upstreamHydraulicGrade", "HGL at Upstream End", p.upstreamHydraulic)};
}

std::vector<NamedResult> StructureRecord(const StructureResult& s) {
  const auto coefficient = [](const char* name, const char* label, std::optional<double> v) {
    return NamedResult::Number(name, label, Dimension::None, v);
  };
  return {
      NamedResult::Text("id", "Structure", s.id),
      NamedResult::Text("kind", "Kind", StructureKindName(s.kind)),
      NamedResult::Level("invert", "Invert", s.invert),
      Length("initialEnergyLevel", "Initial Energy Level Eai", s.initialEnergyLevel),
      NamedResult::Text("governingTerm", "Governing Term", GoverningTermName(s.governingTerm)),
      coefficient("benchingCoefficient", "Benching CB", s.benchingCoefficient),
      coefficient("angleCoefficient", "Angled Inflow C-theta", s.angleCoefficient),
      coefficient("plungeCoefficient", "Plunging Inflow CP", s.plungeCoefficient),
      Length("junctionLoss", "Junction Loss", s.junctionLoss),
      Length("energyLevel", "Energy Level Ea", s.energyLevel),
      NamedResult::Level("energyGradeElevation", "Energy Grade", s.energyGradeElevation),
      NamedResult::Level("hydraulicGradeElevation", "Hydraulic Grade", s.hydraulicGradeElevation),
      Length("freeboard", "Freeboard", s.freeboard),
      NamedResult::Flag("surcharged", "Surcharged", s.surcharged)};
}

std::vector<Choice> KindChoices() {
  return {{"accessHole", "Access Hole"},
          {"inlet", "Inlet"},
          {"junction", "Junction"},
          {"outfall", "Outfall"}};
}

std::vector<Choice> BenchingChoices() {
  return {{"flat", "Flat"},
          {"depressed", "Depressed"},
          {"halfBenched", "Half Benched"},
          {"fullBenched", "Full Benched"},
          {"improved", "Improved"}};
}

}  // namespace

NetworkInputs NetworkInputsFrom(const Document& d) {
  NetworkInputs in;
  for (const InputRow& row : d.InputRows("structures")) {
    NetworkStructure s;
    s.id = row.Id();
    s.kind = Pick<StructureKind>(kKinds, row.Word("kind", kKinds, "accessHole"));
    s.rimElevation = row.Number("rimElevation", Dimension::Length, Allowed::Any);
    AreaOf(row, s);
    s.inletTime =
        row.OptionalNumber("inletTime", Dimension::Time, Allowed::NonNegative).value_or(0);
    s.benching = Pick<Benching>(kBenchings, row.Word("benching", kBenchings, "flat"));
    in.structures.push_back(std::move(s));
  }
  for (const InputRow& row : d.InputRows("pipes")) {
    NetworkPipe p;
    p.id = row.Id();
    p.from = row.Text("from");
    p.to = row.Text("to");
    p.length = row.Number("length", Dimension::Length);
    p.manningsN = row.Number("manningsN", Dimension::None);
    p.diameter = row.OptionalNumber("diameter", Dimension::Length);
    p.upstreamInvert = row.OptionalNumber("upstreamInvert", Dimension::Length, Allowed::Any);
    p.downstreamInvert = row.OptionalNumber("downstreamInvert", Dimension::Length, Allowed::Any);
    // An uphill slope is read as it stands, so that the refusal can say what is wrong.
    p.slope = row.OptionalNumber("slope", Dimension::Slope, Allowed::Any);
    p.inflowAngle =
        row.OptionalNumber("inflowAngle", Dimension::Angle, Allowed::NonNegative).value_or(180);
    in.pipes.push_back(std::move(p));
  }
  in.idf = IdfFrom(d);
  NetworkDesign& g = in.design;
  g.minimumDiameter = Maybe(d, "minimumDiameter", Dimension::Length).value_or(0);
  // A shorter time than 5 minutes overstates the intensity of small areas.
  g.minimumTimeOfConcentration =
      Maybe(d, "minimumTimeOfConcentration", Dimension::Time).value_or(300);
  g.minimumVelocity = Maybe(d, "minimumVelocity", Dimension::Velocity);
  g.minimumCover = Maybe(d, "minimumCover", Dimension::Length).value_or(0);
  g.freeboard = Maybe(d, "freeboard", Dimension::Length).value_or(0);
  std::string crown = d.Option("crownRule", {"matchCrowns", "matchInverts"}, "");
  if (crown.empty()) {
    const auto group = d.inputs.find("design");
    if (group != d.inputs.end() && group->is_object() && group->contains("crownRule"))
      crown = (*group)["crownRule"].is_string() ? (*group)["crownRule"].get<std::string>() : "?";
    if (!crown.empty() && crown != "matchCrowns" && crown != "matchInverts")
      throw WorksheetError("design", "design crownRule must be matchCrowns or matchInverts.");
  }
  g.crownRule = crown == "matchInverts" ? CrownRule::MatchInverts : CrownRule::MatchCrowns;
  g.roundTravelTimes =
      d.Option("travelTimes", {"exact", "wholeMinutes"}, "exact") == "wholeMinutes";
  g.sizes = d.resultUnits == UnitSystem::US ? BuiltInUsSizes() : BuiltInMetricSizes();
  if (d.Option("tailwater", {"elevation", "normalDepth"}, "elevation") == "elevation")
    in.tailwaterElevation = d.Input("tailwaterElevation", Dimension::Length, Allowed::Any);
  return in;
}

SheetOutcome NetworkOutcome(const NetworkInputs& in, const NetworkResults& r) {
  if (!r.ok) {
    SheetOutcome failed = SheetOutcome::Failed(r.message, r.field);
    failed.warnings = r.warnings;
    return failed;
  }
  std::vector<std::vector<NamedResult>> pipes, structures;
  for (const PipeResult& p : r.pipes) pipes.push_back(PipeRecord(p));
  for (const StructureResult& s : r.structures) structures.push_back(StructureRecord(s));
  SheetOutcome o =
      SheetOutcome::Solved({NamedResult::Table("pipes", "Pipes", std::move(pipes)),
                            NamedResult::Table("structures", "Structures", std::move(structures))});
  o.warnings = r.warnings;
  o.methodLines = {
      "Rational method Q = C i A, C A summed down the tree; time of concentration the longest "
      "of the inlet time and each upstream time plus its travel time, at least the minimum.",
      std::string("Intensity ") + (in.idf.form == IdfCurve::Form::Table
                                       ? "interpolated linearly in the rainfall table."
                                       : "from i = a / (t + b)^c."),
      "Designed pipes: the smallest listed size (" + in.design.sizes.name +
          ") whose full-flow Manning capacity carries Q, never below the minimum nor below a "
          "pipe flowing in; part-full depth and velocity by Manning's equation.",
      std::string("Inverts not given: ") +
          (in.design.crownRule == CrownRule::MatchCrowns ? "crowns matched" : "inverts matched") +
          " with the lowest pipe entering, the head pipes at the minimum cover.",
      "Grade line from the outfall up: pipe outlets by the five tailwater cases (exit loss 0.4 "
      "V^2/2g into a structure, 1.0 into the outfall pool), full-flow friction where "
      "surcharged; access holes by the energy-loss method (Eai = max of outlet control and "
      "inlet control, Ki = 0.2; benching, angled and plunging inflow adjustments); junctions "
      "by momentum. g = 9.80665 m/s2."};
  for (const StructureResult& s : r.structures)
    if (s.surcharged)
      o.checkLines.push_back("Structure " + s.id +
                             ": surcharged (grade line within the "
                             "freeboard of its rim).");
  o.solved = NetworkSolved{in, r};
  return o;
}

const WorksheetKind& NetworkKind() {
  static const WorksheetKind kind{
      "network",
      "Storm Sewer Network",
      {
          {"structures",
           "Structures",
           Dimension::None,
           false,
           {{"kind", "Kind", Dimension::None, false, KindChoices()},
            {"rimElevation", "Rim Elevation", Dimension::Length, false, {}, Allowed::Any},
            {"drainageArea",
             "Drainage Area",
             Dimension::DrainageArea,
             true,
             {},
             Allowed::NonNegative},
            {"runoffCoefficient",
             "Runoff Coefficient C",
             Dimension::None,
             true,
             {},
             Allowed::NonNegative},
            {"inletTime", "Inlet Time", Dimension::Time, true, {}, Allowed::NonNegative},
            {"benching", "Benching", Dimension::None, false, BenchingChoices()}}},
          {"pipes",
           "Pipes",
           Dimension::None,
           false,
           {{"length", "Length", Dimension::Length},
            {"manningsN", "Manning's n", Dimension::None},
            {"diameter", "Diameter", Dimension::Length, true},
            {"upstreamInvert", "Upstream Invert", Dimension::Length, true, {}, Allowed::Any},
            {"downstreamInvert", "Downstream Invert", Dimension::Length, true, {}, Allowed::Any},
            {"slope", "Slope", Dimension::Slope, true, {}, Allowed::Any},
            {"inflowAngle", "Inflow Angle", Dimension::Angle, true, {}, Allowed::NonNegative}}},
          {"minimumDiameter", "Minimum Diameter", Dimension::Length, true},
          {"minimumTimeOfConcentration", "Minimum Time of Concentration", Dimension::Time, true},
          {"minimumVelocity", "Minimum Full-Flow Velocity", Dimension::Velocity, true},
          {"minimumCover", "Minimum Cover", Dimension::Length, true},
          {"freeboard", "Freeboard", Dimension::Length, true},
          {"tailwaterElevation", "Tailwater Elevation", Dimension::Length, true},
      },
      {},
      {
          {"crownRule",
           "Crown Rule",
           {{"matchCrowns", "Match Crowns"}, {"matchInverts", "Match Inverts"}}},
          {"tailwater",
           "Tailwater",
           {{"elevation", "Elevation Given"}, {"normalDepth", "Normal Depth in the Outfall Pipe"}}},
          {"travelTimes",
           "Travel Times",
           {{"exact", "Exact"}, {"wholeMinutes", "Rounded to Whole Minutes"}}},
      },
      [](const Document& d) {
        const NetworkInputs in = NetworkInputsFrom(d);
        return NetworkOutcome(in, SolveNetwork(in));
      },
      [](const Document& d, const std::string& field) {
        if (field == "tailwaterElevation") {
          const auto it = d.options.find("tailwater");
          const bool normal = it != d.options.end() && it->is_string() && *it == "normalDepth";
          return normal ? FieldUse::Unused : FieldUse::Required;
        }
        for (const char* optional : {"minimumDiameter", "minimumTimeOfConcentration",
                                     "minimumVelocity", "minimumCover", "freeboard"})
          if (field == optional) return FieldUse::Optional;
        return FieldUse::Required;
      },
      "network",
      {"pipes", "structures"}};
  return kind;
}

}  // namespace rivulet
