#include "core/worksheets/profile_sheet.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/files/csv_cell.h"
#include "core/worksheets/input_range.h"

namespace rivulet {
namespace {

const std::vector<std::string> kChannels{"prismatic", "sections"};
const std::vector<std::string> kShapes{"rectangle", "trapezoid", "triangle", "circle"};
const std::vector<std::string> kDownstreamControls{"normal", "critical", "depth",
                                                   "waterSurfaceElevation", "none"};
const std::vector<std::string> kUpstreamControls{"none", "normal", "critical", "depth",
                                                 "waterSurfaceElevation"};
const std::vector<std::string> kMethods{"standardStep", "directStep"};
const std::vector<std::string> kAveraging{"averageConveyance", "averageFrictionSlope",
                                          "geometricMean", "harmonicMean", "meanHydraulics"};

// An option as the document holds it, or its default, without refusing: the window greys
// by it before the document is checked.
std::string OptionOr(const Document& d, const char* name, const char* otherwise) {
  const auto it = d.options.find(name);
  return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
}

ControlKind ControlOf(const std::string& name) {
  if (name == "normal") return ControlKind::Normal;
  if (name == "critical") return ControlKind::Critical;
  if (name == "depth") return ControlKind::Depth;
  if (name == "waterSurfaceElevation") return ControlKind::WaterSurface;
  return ControlKind::None;
}

ProfileControl ReadControl(const Document& d, const char* option,
                           const std::vector<std::string>& choices, const char* depth,
                           const char* surface) {
  ProfileControl c{ControlOf(d.Option(option, choices, choices.front())), 0};
  // Values are read as they stand: the calculation says why a depth of zero cannot be.
  if (c.kind == ControlKind::Depth) c.value = d.Input(depth, Dimension::Length, Allowed::Any);
  if (c.kind == ControlKind::WaterSurface)
    c.value = d.Input(surface, Dimension::Length, Allowed::Any);
  return c;
}

// One surveyed section of the list: its station, ground points and roughness zones.
SurveyedStation ReadSectionRow(const InputRow& row) {
  SurveyedStation s;
  s.id = row.Id();
  s.station = row.Number("station", Dimension::Length, Allowed::Any);
  s.section.station = row.Numbers("points", "station", Dimension::Length);
  s.section.elevation = row.Numbers("points", "elevation", Dimension::Length);
  // Without breaks the whole section takes its one n.
  if (row.Has("nZones") && row.Json()["nZones"].is_object() &&
      row.Json()["nZones"].contains("breaks"))
    s.section.breaks = row.Numbers("nZones", "breaks", Dimension::Length);
  s.section.n = row.Numbers("nZones", "n", Dimension::None, Allowed::Positive);
  for (size_t j = 0; j < s.section.n.size(); ++j)
    if (!(s.section.n[j] >= kLeastManningN))
      throw WorksheetError("sections", row.Name() + ": Manning's n of zone " +
                                           std::to_string(j + 1) +
                                           " is below 0.001, smoother than any surface.");
  const auto walls = row.Json().find("extendWalls");
  s.section.extendWalls = walls != row.Json().end() && walls->is_boolean() && walls->get<bool>();
  return s;
}

std::vector<SurveyedStation> ReadSections(const Document& d) {
  std::vector<SurveyedStation> rows;
  for (const InputRow& row : d.InputRows("sections")) rows.push_back(ReadSectionRow(row));
  return rows;
}

std::string Shown(const Document& d, const char* result, Dimension dim, double base) {
  const FileUnit* unit = d.ResultUnit(result, dim);
  if (!unit) return ShownNumber(base, kShownDigits);
  return ShownNumber(FromBase(*unit, base), kShownDigits) + " " + std::string(unit->symbol);
}

NamedResult Length(const char* name, const char* label, std::optional<double> v) {
  return NamedResult::Number(name, label, Dimension::Length, v);
}

std::vector<NamedResult> Row(const ProfileRow& p) {
  const char* regime = std::abs(p.froudeNumber - 1) <= kCriticalBand ? "critical"
                       : p.froudeNumber < 1                          ? "subcritical"
                                                                     : "supercritical";
  return {NamedResult::Level("station", "Station", p.station),
          NamedResult::Level("bedElevation", "Bed Elevation", p.bedElevation),
          Length("depth", "Depth", p.depth),
          NamedResult::Level("waterSurfaceElevation", "Water Surface", p.WaterSurface()),
          NamedResult::Number("velocity", "Velocity", Dimension::Velocity, p.velocity),
          NamedResult::Number("froudeNumber", "Froude Number", Dimension::None, p.froudeNumber),
          Length("specificEnergy", "Specific Energy", p.specificEnergy),
          NamedResult::Level("energyGradeElevation", "Energy Grade", p.EnergyGrade()),
          NamedResult::Number("frictionSlope", "Friction Slope", Dimension::Slope, p.frictionSlope),
          NamedResult::Text("regime", "Regime", regime)};
}

const char* AveragingText(FrictionAveraging a) {
  switch (a) {
    case FrictionAveraging::AverageConveyance:
      return "average conveyance, Sf = [2Q/(K1 + K2)]^2";
    case FrictionAveraging::AverageFrictionSlope:
      return "average friction slope, Sf = (Sf1 + Sf2)/2";
    case FrictionAveraging::GeometricMean:
      return "geometric mean, Sf = (Sf1 Sf2)^(1/2)";
    case FrictionAveraging::HarmonicMean:
      return "harmonic mean, Sf = 2 Sf1 Sf2/(Sf1 + Sf2)";
    case FrictionAveraging::MeanHydraulics:
      return "mean velocity and hydraulic radius, Sf = (n V/R^(2/3))^2";
  }
  return "";
}

void AddMethod(SheetOutcome& o, const ProfileInputs& in, const ProfileResults& r) {
  if (in.method == ProfileMethod::DirectStep)
    o.methodLines.push_back(
        "Direct step: from each control the depth moves by equal steps towards its limit and "
        "each step's length is dx = (E2 - E1)/(Sf - S0); a limit at normal depth is taken "
        "within 0.1 %.");
  else
    o.methodLines.push_back(
        "Standard step: the energy equation WS2 + aV2^2/2g = WS1 + aV1^2/2g + L Sf + C |change "
        "of aV^2/2g| solved at each station by bracketed false position, to 1e-10 m of energy "
        "(" +
        std::to_string(r.iterations) + " trials in all).");
  o.methodLines.push_back(std::string("Friction slope averaged over each step by ") +
                          AveragingText(in.averaging) +
                          "; SI Manning K = (1/n) A R^(2/3); g = 9.80665 m/s2.");
  o.methodLines.push_back(
      "Subcritical flow is computed upstream from the downstream control, supercritical flow "
      "downstream from the upstream control; the jump stands where their specific forces "
      "Q^2/(gA) + A y_c balance, its length taken as 6 times the sequent depth.");
  for (const std::string& note : r.notes) o.methodLines.push_back(note);
}

}  // namespace

ProfileInputs ProfileInputsFrom(const Document& d) {
  ProfileInputs in;
  const std::string channel = d.Option("channel", kChannels, "prismatic");
  in.channel = channel == "sections" ? ProfileChannel::Sections : ProfileChannel::Prismatic;
  in.discharge = d.Input("discharge", Dimension::Discharge);
  if (in.channel == ProfileChannel::Prismatic) {
    const std::string shape = d.Option("section", kShapes, "trapezoid");
    in.shape.shape = shape == "rectangle"  ? SectionKind::Rectangle
                     : shape == "triangle" ? SectionKind::Triangle
                     : shape == "circle"   ? SectionKind::Pipe
                                           : SectionKind::Trapezoid;
    if (shape == "rectangle" || shape == "trapezoid")
      in.shape.width = d.Input("bottomWidth", Dimension::Length,
                               shape == "rectangle" ? Allowed::Positive : Allowed::NonNegative);
    if (shape == "triangle" || shape == "trapezoid")
      in.shape.side = d.Input("sideSlope", Dimension::SideSlope,
                              shape == "triangle" ? Allowed::Positive : Allowed::NonNegative);
    if (shape == "circle") in.shape.diameter = d.Input("diameter", Dimension::Length);
    in.slope = d.Input("longitudinalSlope", Dimension::Slope, Allowed::Any);
    in.manningsN = d.Input("manningsN", Dimension::None);
    if (!(in.manningsN >= kLeastManningN))
      throw WorksheetError("manningsN", "Manning's n is below 0.001, smoother than any surface.");
    in.reachLength = d.Input("reachLength", Dimension::Length);
    in.bedElevation =
        d.OptionalInput("bedElevation", Dimension::Length, Allowed::Any).value_or(0.0);
  } else {
    in.sections = ReadSections(d);
    const std::string method =
        d.Option("compositeMethod", {"conveyance", "horton", "pavlovskii", "lotter"}, "conveyance");
    CompositeMethodForKey(method, in.compositeMethod);
  }
  in.downstream = ReadControl(d, "downstreamControl", kDownstreamControls, "downstreamDepth",
                              "downstreamWaterSurfaceElevation");
  in.upstream = ReadControl(d, "upstreamControl", kUpstreamControls, "upstreamDepth",
                            "upstreamWaterSurfaceElevation");
  in.method = d.Option("method", kMethods, "standardStep") == "directStep"
                  ? ProfileMethod::DirectStep
                  : ProfileMethod::StandardStep;
  if (in.method == ProfileMethod::DirectStep) {
    if (const auto steps = d.OptionalInput("numberOfSteps", Dimension::None)) {
      if (*steps != std::floor(*steps) || *steps > kMaxProfileSteps)
        throw WorksheetError("numberOfSteps",
                             "The number of steps must be a whole number from 1 to " +
                                 std::to_string(kMaxProfileSteps) + ".");
      in.numberOfSteps = static_cast<int>(*steps);
    } else if (const auto dy = d.OptionalInput("depthIncrement", Dimension::Length)) {
      in.depthIncrement = *dy;
    } else {
      throw WorksheetError(
          "numberOfSteps",
          "Give the input \"numberOfSteps\" or \"depthIncrement\" for direct step.");
    }
  } else {
    in.maximumStepLength = d.Input("maximumStepLength", Dimension::Length);
    in.expansion = d.OptionalInput("expansionCoefficient", Dimension::None, Allowed::NonNegative)
                       .value_or(0.0);
    in.contraction =
        d.OptionalInput("contractionCoefficient", Dimension::None, Allowed::NonNegative)
            .value_or(0.0);
  }
  const std::string averaging = d.Option("frictionSlopeAveraging", kAveraging, "averageConveyance");
  for (size_t i = 0; i < kAveraging.size(); ++i)
    if (averaging == kAveraging[i]) in.averaging = static_cast<FrictionAveraging>(i);
  const FileUnit* unit = d.ResultUnit("depth", Dimension::Length);
  in.lengthText = [unit](double metres) {
    return ShownNumber(FromBase(*unit, metres), kShownDigits) + " " + std::string(unit->symbol);
  };
  return in;
}

SheetOutcome ProfileOutcome(const ProfileInputs& in, const ProfileResults& r, const Document& d) {
  if (!r.ok) return SheetOutcome::Failed(r.message, r.field);
  const std::optional<HydraulicJump>& j = r.jump;
  const auto jump = [&j](double HydraulicJump::*member) {
    return j ? std::optional<double>((*j).*member) : std::nullopt;
  };
  std::vector<std::vector<NamedResult>> rows;
  rows.reserve(r.points.size());
  for (const ProfileRow& p : r.points) rows.push_back(Row(p));
  std::vector<NamedResult> results{
      NamedResult::Text("profileType", "Profile Type", r.profileType),
      NamedResult::Text("slopeClass", "Slope Class", r.slopeClass),
      Length("normalDepth", "Normal Depth", r.normalDepth),
      Length("criticalDepth", "Critical Depth", r.criticalDepth),
      Length("distanceToNormalDepth", "Length to Normal Depth", r.normalApproachDistance),
      NamedResult::Level("jumpStation", "Jump Station", jump(&HydraulicJump::station)),
      Length("jumpUpstreamDepth", "Jump Upstream Depth", jump(&HydraulicJump::upstreamDepth)),
      Length("jumpSequentDepth", "Jump Sequent Depth", jump(&HydraulicJump::sequentDepth)),
      Length("jumpEnergyLoss", "Jump Energy Loss", jump(&HydraulicJump::energyLoss)),
      Length("jumpLength", "Jump Length", jump(&HydraulicJump::length)),
      NamedResult::Table("profile", "Profile", std::move(rows))};
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.warnings = r.warnings;
  AddMethod(o, in, r);
  if (j && (j->froudeNumber < 4.5 || j->froudeNumber > 13))
    o.checkLines.push_back("Jump Froude number " + ShownNumber(j->froudeNumber, kShownDigits) +
                           " lies outside 4.5 to 13, where the length rule was measured: the "
                           "length " +
                           Shown(d, "jumpLength", Dimension::Length, j->length) +
                           " is a rough figure.");
  return o;
}

std::string ProfileTableCsv(const SheetOutcome& outcome, const Document& d) {
  const NamedResult* table = outcome.ok ? outcome.Find("profile") : nullptr;
  if (!table || table->records.empty()) return "";
  std::string csv;
  const std::vector<NamedResult>& first = table->records.front();
  for (size_t i = 0; i < first.size(); ++i) {
    const ShownResult shown = ShowResult(first[i], d.ResultUnit(first[i].name, first[i].dimension));
    if (i > 0) csv += ',';
    AppendDelimitedCell(
        csv, first[i].label + (shown.unitSymbol.empty() ? "" : " (" + shown.unitSymbol + ")"), ',');
  }
  csv += "\r\n";
  for (const std::vector<NamedResult>& row : table->records) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) csv += ',';
      AppendDelimitedCell(csv, ShowResult(row[i], d.ResultUnit(row[i].name, row[i].dimension)).text,
                          ',');
    }
    csv += "\r\n";
  }
  return csv;
}

const WorksheetKind& ProfileKind() {
  static const WorksheetKind kind{
      "profile",
      "Water Surface Profile",
      {{"discharge", "Discharge", Dimension::Discharge},
       {"bottomWidth", "Bottom Width", Dimension::Length},
       {"sideSlope", "Side Slope", Dimension::SideSlope},
       {"diameter", "Diameter", Dimension::Length},
       {"longitudinalSlope", "Bed Slope", Dimension::Slope},
       {"manningsN", "Manning's n", Dimension::None},
       {"reachLength", "Reach Length", Dimension::Length},
       {"bedElevation", "Bed Elevation, Sta. 0", Dimension::Length, true},
       {"downstreamDepth", "Downstream Depth", Dimension::Length},
       {"downstreamWaterSurfaceElevation", "Downstream Water Level", Dimension::Length},
       {"upstreamDepth", "Upstream Depth", Dimension::Length},
       {"upstreamWaterSurfaceElevation", "Upstream Water Level", Dimension::Length},
       {"numberOfSteps", "Number of Steps", Dimension::None},
       {"depthIncrement", "Depth Increment", Dimension::Length},
       {"maximumStepLength", "Maximum Step Length", Dimension::Length},
       {"expansionCoefficient", "Expansion Coefficient", Dimension::None, true},
       {"contractionCoefficient", "Contraction Coefficient", Dimension::None, true},
       // Each row also holds its surveyed points and zones, kept as the file gives them.
       {"sections",
        "Sections",
        Dimension::None,
        false,
        {{"station", "Station", Dimension::Length, false, {}, Allowed::Any}}}},
      {},
      {{"channel", "Channel", {{"prismatic", "Prismatic"}, {"sections", "Surveyed Sections"}}},
       {"section",
        "Section",
        {{"trapezoid", "Trapezoid"},
         {"rectangle", "Rectangle"},
         {"triangle", "Triangle"},
         {"circle", "Circular Pipe"}}},
       {"downstreamControl",
        "Downstream Control",
        {{"normal", "Normal Depth"},
         {"critical", "Critical Depth"},
         {"depth", "Depth"},
         {"waterSurfaceElevation", "Water Level"},
         {"none", "None"}}},
       {"upstreamControl",
        "Upstream Control",
        {{"none", "None"},
         {"normal", "Normal Depth"},
         {"critical", "Critical Depth"},
         {"depth", "Depth"},
         {"waterSurfaceElevation", "Water Level"}}},
       {"method", "Method", {{"standardStep", "Standard Step"}, {"directStep", "Direct Step"}}},
       {"frictionSlopeAveraging",
        "Friction Slope",
        {{"averageConveyance", "Mean Conveyance"},
         {"averageFrictionSlope", "Arithmetic Mean"},
         {"geometricMean", "Geometric Mean"},
         {"harmonicMean", "Harmonic Mean"},
         {"meanHydraulics", "Mean V and R"}}},
       {"compositeMethod",
        "Composite n Method",
        {{"conveyance", "Conveyance"},
         {"horton", "Horton"},
         {"pavlovskii", "Pavlovskii"},
         {"lotter", "Lotter"}}}},
      [](const Document& d) {
        const ProfileInputs in = ProfileInputsFrom(d);
        const ProfileResults r = SolveProfile(in);
        SheetOutcome o = ProfileOutcome(in, r, d);
        if (o.ok) o.solved = ProfileSolved{in, r};
        return o;
      },
      [](const Document& d, const std::string& field) {
        const bool prismatic = OptionOr(d, "channel", "prismatic") != "sections";
        const std::string shape = OptionOr(d, "section", "trapezoid");
        const bool direct = OptionOr(d, "method", "standardStep") == "directStep";
        const std::string down = OptionOr(d, "downstreamControl", "normal");
        const std::string up = OptionOr(d, "upstreamControl", "none");
        const auto when = [](bool used) { return used ? FieldUse::Required : FieldUse::Unused; };
        if (field == "section") return when(prismatic);
        if (field == "compositeMethod" || field == "sections") return when(!prismatic);
        if (field == "bottomWidth")
          return when(prismatic && (shape == "rectangle" || shape == "trapezoid"));
        if (field == "sideSlope")
          return when(prismatic && (shape == "triangle" || shape == "trapezoid"));
        if (field == "diameter") return when(prismatic && shape == "circle");
        if (field == "longitudinalSlope" || field == "manningsN" || field == "reachLength")
          return when(prismatic);
        if (field == "bedElevation") return prismatic ? FieldUse::Optional : FieldUse::Unused;
        if (field == "downstreamDepth") return when(down == "depth");
        if (field == "downstreamWaterSurfaceElevation")
          return when(down == "waterSurfaceElevation");
        if (field == "upstreamDepth") return when(up == "depth");
        if (field == "upstreamWaterSurfaceElevation") return when(up == "waterSurfaceElevation");
        if (field == "numberOfSteps" || field == "depthIncrement")
          return direct ? (field == "depthIncrement" && d.HasInput("numberOfSteps")
                               ? FieldUse::Unused
                               : FieldUse::EitherOfPair)
                        : FieldUse::Unused;
        if (field == "maximumStepLength") return when(!direct);
        if (field == "expansionCoefficient" || field == "contractionCoefficient")
          return direct ? FieldUse::Unused : FieldUse::Optional;
        return FieldUse::Required;
      },
      "waterprofile",
      {"profileType", "slopeClass", "normalDepth", "criticalDepth", "distanceToNormalDepth",
       "jumpStation", "jumpUpstreamDepth", "jumpSequentDepth", "jumpEnergyLoss", "jumpLength",
       "profile"}};
  return kind;
}

}  // namespace rivulet
