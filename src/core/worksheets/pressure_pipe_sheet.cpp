#include "core/worksheets/pressure_pipe_sheet.h"

#include <cmath>
#include <sstream>

#include "core/design/design_settings.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

const std::vector<std::string> kUnknowns{"discharge", "diameter", "headLoss", "length"};
const std::vector<std::string> kMethods{"darcyWeisbach", "hazenWilliams", "manning"};
const std::vector<std::string> kFormulas{"colebrookWhite", "swameeJain"};
// The ends' hydraulic grades and a typed head loss agree when within this (relative).
constexpr double kHeadAgreement = 1e-6;

std::vector<std::string> MaterialNames() {
  std::vector<std::string> names{"custom"};
  for (const PipeMaterial& m : PipeMaterials()) names.push_back(m.name);
  return names;
}

std::vector<std::string> TemperatureNames() {
  std::vector<std::string> names{"given"};
  for (int t = kWaterTableLowest; t <= kWaterTableHighest; ++t) names.push_back(std::to_string(t));
  return names;
}

std::vector<Choice> Choices(const std::vector<std::string>& names,
                            const std::vector<std::string>& labels) {
  std::vector<Choice> choices;
  for (size_t i = 0; i < names.size(); ++i) choices.push_back({names[i], labels[i]});
  return choices;
}

std::vector<Choice> MaterialChoices() {
  std::vector<Choice> choices{{"custom", "Custom (enter the values)"}};
  for (const PipeMaterial& m : PipeMaterials()) choices.push_back({m.name, m.label});
  return choices;
}

std::vector<Choice> FittingChoices() {
  std::vector<Choice> choices{{"other", "Other (enter K)"}};
  for (const FittingKind& k : FittingKinds()) choices.push_back({k.name, k.label});
  return choices;
}

// The fittings' rows: a fitting of the table takes its K unless one is typed; any other
// needs its K; a count is a whole number of fittings.
std::vector<Fitting> ReadFittings(const Document& d) {
  std::vector<std::string> names;
  for (const Choice& c : FittingChoices()) names.push_back(c.name);
  std::vector<Fitting> fittings;
  for (const InputRow& row : d.InputRows("minorLosses")) {
    Fitting f;
    f.id = row.Id();
    f.fitting = row.Word("fitting", names, "other");
    const std::optional<double> k = row.OptionalNumber("k", Dimension::None, Allowed::NonNegative);
    const FittingKind* kind = FindFittingKind(f.fitting);
    if (!k && !kind)
      throw WorksheetError("minorLosses",
                           row.Name() + ": give the K of a fitting not in the table.");
    f.k = k ? *k : kind->k;
    f.count = row.OptionalNumber("count", Dimension::None).value_or(1);
    if (f.count != std::floor(f.count))
      throw WorksheetError("minorLosses", row.Name() + ": the count " + FormatNumber(f.count) +
                                              " is not a whole number of fittings.");
    fittings.push_back(f);
  }
  return fittings;
}

// Whether the document lists fittings, which then stand for the K sum.
bool ListsFittings(const Document& d) {
  const auto it = d.inputs.find("minorLosses");
  return it != d.inputs.end() && it->is_array() && !it->empty();
}

std::vector<Choice> TemperatureChoices() {
  std::vector<Choice> choices{{"given", "Viscosity as entered"}};
  for (int t = kWaterTableLowest; t <= kWaterTableHighest; ++t)
    choices.push_back({std::to_string(t), std::to_string(t) + " \xC2\xB0"
                                                              "C"});
  return choices;
}

// Text options read without throwing, for deciding what a field is used for.
std::string OptionText(const Document& d, const char* name, const char* otherwise) {
  const auto it = d.options.find(name);
  return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
}

// The law's own coefficient input for a friction method.
const char* CoefficientOf(const std::string& method) {
  if (method == "hazenWilliams") return "hazenWilliamsC";
  if (method == "manning") return "manningsN";
  return "roughness";
}

std::string Shown(const Document& d, const char* resultName, Dimension dim, double base) {
  const FileUnit* unit = d.ResultUnit(resultName, dim);
  if (!unit) return ShownNumber(base, kShownDigits);
  return ShownNumber(FromBase(*unit, base), kShownDigits) + " " + std::string(unit->symbol);
}

// The coefficient typed, else the material's, else a refusal naming the input.
double Coefficient(const Document& d, const std::string& material, const char* field,
                   Dimension dim) {
  if (const std::optional<double> typed = d.OptionalInput(field, dim)) return *typed;
  if (const std::optional<double> filled = MaterialValue(material, field)) return *filled;
  throw WorksheetError(field, std::string("The input \"") + field + "\" is missing" +
                                  (material == "custom" ? "." : " (the material has no value)."));
}

// The head the ends make available: the fall of the hydraulic grade between them.
std::optional<double> HeadFromEnds(const Document& d) {
  if (!d.HasInput("upstreamElevation") || !d.HasInput("downstreamElevation")) return std::nullopt;
  const auto head = [&d](const char* name) {
    return d.OptionalInput(name, Dimension::Length, Allowed::Any).value_or(0);
  };
  return d.Input("upstreamElevation", Dimension::Length, Allowed::Any) +
         head("upstreamPressureHead") -
         d.Input("downstreamElevation", Dimension::Length, Allowed::Any) -
         head("downstreamPressureHead");
}

std::optional<double> AvailableHead(const Document& d) {
  const std::optional<double> typed = d.OptionalInput("headLoss", Dimension::Length, Allowed::Any);
  const std::optional<double> ends = HeadFromEnds(d);
  if (ends && !(*ends > 0))
    throw WorksheetError("downstreamElevation",
                         "The downstream end's hydraulic grade is not below the upstream end's, "
                         "so no water flows from one to the other.");
  if (typed && ends && std::fabs(*typed - *ends) > kHeadAgreement * std::fabs(*ends))
    throw WorksheetError("headLoss", "The head loss of " +
                                         Shown(d, "totalHeadLoss", Dimension::Length, *typed) +
                                         " contradicts the ends, whose hydraulic grades differ "
                                         "by " +
                                         Shown(d, "totalHeadLoss", Dimension::Length, *ends) + ".");
  return typed ? typed : ends;
}

std::string MethodLine(const PressurePipeInputs& in) {
  switch (in.law.method) {
    case FrictionMethod::HazenWilliams:
      return "Hazen-Williams: hf = K L Q^1.852 / (C^1.852 D^4.871), K = 4.727 (ft, ft3/s) or " +
             ShownNumber(HazenWilliamsConstantSI(), 6) +
             " (m, m3/s); C = " + ShownNumber(in.law.hazenWilliamsC, 6) + ".";
    case FrictionMethod::Manning:
      return "Manning, full pipe (R = D/4): hf = 10.29 n^2 L Q^2 / D^(16/3) in SI; n = " +
             ShownNumber(in.law.manningsN, 6) + ".";
    case FrictionMethod::DarcyWeisbach:
      break;
  }
  return std::string(
             "Darcy-Weisbach: hf = f (L/D) V^2/2g; f = 64/Re to Re 2000, the Dunlop "
             "cubic to Re 4000, then ") +
         (in.law.formula == TurbulentFormula::SwameeJain
              ? "Swamee-Jain, f = 0.25 / log10(e/3.7D + 5.74/Re^0.9)^2."
              : "Colebrook-White, 1/f^0.5 = -2 log10(e/3.7D + 2.51/(Re f^0.5)), solved by "
                "Newton's method to double precision.");
}

void AddChecks(SheetOutcome& o, const Document& d, const PressurePipeInputs& in,
               const PressurePipeResults& r) {
  const std::string v = Shown(d, "velocity", Dimension::Velocity, r.flow.velocity);
  const std::string low = Shown(d, "velocity", Dimension::Velocity, in.criteria.minVelocity);
  const std::string high = Shown(d, "velocity", Dimension::Velocity, in.criteria.maxVelocity);
  o.checkLines.push_back("Velocity " + v + " against the minimum " + low + ": " +
                         (r.velocityAboveMinimum ? "met." : "BELOW."));
  o.checkLines.push_back("Velocity " + v + " against the maximum " + high + ": " +
                         (r.velocityBelowMaximum ? "met." : "ABOVE."));
  if (!r.velocityAboveMinimum)
    o.warnings.push_back("Velocity of " + v + " is below the minimum of " + low);
  if (!r.velocityBelowMaximum)
    o.warnings.push_back("Velocity of " + v + " exceeds the maximum of " + high);
  if (in.solveFor == PressurePipeUnknown::Diameter && in.sizes) {
    if (r.standardDiameter)
      o.checkLines.push_back("Next standard diameter of \"" + in.sizes->name +
                             "\": " + ShownNumber(*r.standardNominal, 6) + " " +
                             NominalUnit(in.sizes->system) + ", head loss " +
                             Shown(d, "standardHeadLoss", Dimension::Length, *r.standardHeadLoss) +
                             ".");
    else
      o.warnings.push_back(r.sizeNote);
  }
}

}  // namespace

std::optional<double> MaterialValue(const std::string& material, const std::string& field) {
  const PipeMaterial* m = FindPipeMaterial(material);
  if (!m) return std::nullopt;
  if (field == "roughness") return m->roughness;
  if (field == "hazenWilliamsC") return m->hazenWilliamsC;
  if (field == "manningsN") return m->manningsN;
  return std::nullopt;
}

PressurePipeInputs ReadPressurePipeInputs(const Document& d) {
  PressurePipeInputs in;
  const std::string unknown = d.Unknown(kUnknowns);
  const std::string method = d.Option("frictionMethod", kMethods, "darcyWeisbach");
  const std::string material = d.Option("material", MaterialNames(), "custom");
  const std::string temperature = d.Option("waterTemperature", TemperatureNames(), "given");
  in.law.method = method == "hazenWilliams" ? FrictionMethod::HazenWilliams
                  : method == "manning"     ? FrictionMethod::Manning
                                            : FrictionMethod::DarcyWeisbach;
  if (in.law.method == FrictionMethod::DarcyWeisbach) {
    in.law.formula = d.Option("frictionFormula", kFormulas, "colebrookWhite") == "swameeJain"
                         ? TurbulentFormula::SwameeJain
                         : TurbulentFormula::ColebrookWhite;
    in.law.roughness = Coefficient(d, material, "roughness", Dimension::Length);
  } else if (in.law.method == FrictionMethod::HazenWilliams) {
    in.law.hazenWilliamsC = Coefficient(d, material, "hazenWilliamsC", Dimension::None);
  } else {
    in.law.manningsN = Coefficient(d, material, "manningsN", Dimension::None);
  }
  in.law.kinematicViscosity =
      temperature == "given" ? d.OptionalInput("kinematicViscosity", Dimension::KinematicViscosity)
                                   .value_or(kWaterViscosity20C)
                             : *WaterViscosityAt(std::stoi(temperature));
  const std::vector<Fitting> fittings = ReadFittings(d);
  in.law.minorLossK =
      fittings.empty()
          ? d.OptionalInput("minorLossK", Dimension::None, Allowed::NonNegative).value_or(0)
          : MinorLossK(fittings);

  in.solveFor = unknown == "diameter"   ? PressurePipeUnknown::Diameter
                : unknown == "headLoss" ? PressurePipeUnknown::HeadLoss
                : unknown == "length"   ? PressurePipeUnknown::Length
                                        : PressurePipeUnknown::Discharge;
  if (unknown != "discharge") in.discharge = d.Input("discharge", Dimension::Discharge);
  if (unknown != "diameter") in.diameter = d.Input("diameter", Dimension::Length);
  if (unknown != "length") in.length = d.Input("length", Dimension::Length);
  if (unknown != "headLoss") {
    in.headLoss = AvailableHead(d);
    if (!in.headLoss)
      throw WorksheetError("headLoss",
                           "Give the input \"headLoss\", or the elevations of both "
                           "ends, to solve for " +
                               unknown + ".");
  }
  if (d.HasInput("upstreamElevation") != d.HasInput("downstreamElevation"))
    throw WorksheetError(
        d.HasInput("upstreamElevation") ? "downstreamElevation" : "upstreamElevation",
        "Give the elevations of both ends, or of neither.");
  if (d.HasInput("upstreamElevation"))
    in.ends = PipeEnds{
        d.Input("upstreamElevation", Dimension::Length, Allowed::Any),
        d.OptionalInput("upstreamPressureHead", Dimension::Length, Allowed::Any).value_or(0),
        d.Input("downstreamElevation", Dimension::Length, Allowed::Any)};
  const DesignSettings settings = DefaultDesignSettings();
  in.criteria = settings.CriteriaFor(d.resultUnits);
  in.sizes = settings.ListFor(d.resultUnits);
  return in;
}

FieldUse PressurePipeFieldUse(const Document& d, const std::string& field) {
  const std::string unknown = d.solveFor.empty() ? "discharge" : d.solveFor;
  const std::string method = OptionText(d, "frictionMethod", "darcyWeisbach");
  const std::string material = OptionText(d, "material", "custom");
  if (field == "frictionFormula")
    return method == "darcyWeisbach" ? FieldUse::Required : FieldUse::Unused;
  if (field == "roughness" || field == "hazenWilliamsC" || field == "manningsN") {
    if (field != CoefficientOf(method)) return FieldUse::Unused;
    return MaterialValue(material, field) ? FieldUse::Optional : FieldUse::Required;
  }
  if (field == "kinematicViscosity")
    return OptionText(d, "waterTemperature", "given") == "given" ? FieldUse::Optional
                                                                 : FieldUse::Unused;
  if (field == "headLoss") return field == unknown ? FieldUse::Required : FieldUse::Optional;
  if (field == "downstreamPressureHead")
    return unknown == "headLoss" ? FieldUse::Unused : FieldUse::Optional;
  if (field == "minorLossK") return ListsFittings(d) ? FieldUse::Unused : FieldUse::Optional;
  if (field == "upstreamElevation" || field == "downstreamElevation" ||
      field == "upstreamPressureHead" || field == "minorLosses")
    return FieldUse::Optional;
  return FieldUse::Required;
}

SheetOutcome PressurePipeOutcome(const Document& d, const PressurePipeInputs& in,
                                 const PressurePipeResults& r) {
  if (!r.Ok()) return SheetOutcome::Failed(r.error->message, r.error->field);
  const PipeFlow& f = r.flow;
  const auto length = [](const char* name, const char* label, std::optional<double> v) {
    return NamedResult::Number(name, label, Dimension::Length, v);
  };
  std::vector<NamedResult> results{
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, f.discharge),
      length("diameter", "Diameter", f.diameter)};
  if (in.solveFor == PressurePipeUnknown::Length)
    results.push_back(length("length", "Length", f.length));
  if (in.solveFor == PressurePipeUnknown::HeadLoss)
    results.push_back(length("headLoss", "Head Loss", f.totalHeadLoss));
  std::vector<NamedResult> more{
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, f.velocity),
      length("velocityHead", "Velocity Head", f.velocityHead),
      NamedResult::Number("reynoldsNumber", "Reynolds Number", Dimension::None, f.reynoldsNumber),
      NamedResult::Text("flowRegime", "Flow Regime", RegimeName(f.regime)),
      NamedResult::Number("frictionFactor", "Friction Factor f", Dimension::None, f.frictionFactor),
      length("frictionLoss", "Friction Loss", f.frictionLoss),
      length("minorLoss", "Minor Loss", f.minorLoss),
      length("totalHeadLoss", "Total Head Loss", f.totalHeadLoss),
      NamedResult::Number("frictionSlope", "Friction Slope", Dimension::Slope, r.frictionSlope),
      NamedResult::Level("energyGradeUpstream", "Energy Grade Upstream", r.energyGradeUpstream),
      NamedResult::Level("energyGradeDownstream", "Energy Grade Downstream",
                         r.energyGradeDownstream),
      NamedResult::Level("hydraulicGradeUpstream", "Hydr. Grade Upstream",
                         r.hydraulicGradeUpstream),
      NamedResult::Level("hydraulicGradeDownstream", "Hydr. Grade Downstream",
                         r.hydraulicGradeDownstream),
      length("downstreamPressureHead", "Downstream Press. Head", r.downstreamPressureHead)};
  results.insert(results.end(), more.begin(), more.end());
  if (in.solveFor == PressurePipeUnknown::Diameter) {
    results.push_back(length("standardDiameter", "Standard Diameter", r.standardDiameter));
    results.push_back(length("standardHeadLoss", "Standard Head Loss", r.standardHeadLoss));
  }
  results.push_back(
      NamedResult::Flag("minimumVelocityMet", "Minimum Velocity Met", r.velocityAboveMinimum));
  results.push_back(
      NamedResult::Flag("maximumVelocityMet", "Maximum Velocity Met", r.velocityBelowMaximum));
  std::vector<std::vector<NamedResult>> curve;
  for (const HeadLossPoint& p : r.curve)
    curve.push_back(
        {NamedResult::Number("discharge", "Discharge", Dimension::Discharge, p.discharge),
         length("headLoss", "Head Loss", p.headLoss)});
  results.push_back(NamedResult::Table("headLossCurve", "Head-Loss Curve", std::move(curve)));

  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.methodLines.push_back(MethodLine(in));
  std::ostringstream constants;
  constants << "Minor losses hm = K V^2/2g with K = " << ShownNumber(in.law.minorLossK, 6)
            << (ListsFittings(d) ? " (the fittings' K times their count)" : "")
            << "; g = 9.80665 m/s2; kinematic viscosity "
            << ShownNumber(in.law.kinematicViscosity, 5) << " m2/s.";
  o.methodLines.push_back(constants.str());
  if (in.law.method == FrictionMethod::DarcyWeisbach)
    o.methodLines.push_back(
        "Roughness e = " + Shown(d, "velocityHead", Dimension::Length, in.law.roughness) +
        ", e/D = " + ShownNumber(in.law.roughness / f.diameter, 4) + ".");
  if (r.evaluations > 0)
    o.methodLines.push_back(
        "Found by false position on the logarithm of the " +
        std::string(in.solveFor == PressurePipeUnknown::Diameter ? "diameter" : "discharge") +
        " in " + std::to_string(r.evaluations) + " evaluations.");
  AddChecks(o, d, in, r);
  for (const std::string& w : r.warnings) o.warnings.push_back(w);
  return o;
}

std::string HeadLossCurveCsv(const Document& d, const PressurePipeResults& r) {
  const FileUnit* q = d.ResultUnit("discharge", Dimension::Discharge);
  const FileUnit* h = d.ResultUnit("totalHeadLoss", Dimension::Length);
  std::string csv =
      "Discharge (" + std::string(q->name) + "),Head Loss (" + std::string(h->name) + ")\r\n";
  for (const HeadLossPoint& p : r.curve)
    csv += FormatNumber(FromBase(*q, p.discharge)) + "," + FormatNumber(FromBase(*h, p.headLoss)) +
           "\r\n";
  return csv;
}

const WorksheetKind& PressurePipeKind() {
  static const WorksheetKind kind{
      "pressurePipe",
      "Pressure Pipe",
      {
          {"discharge", "Discharge", Dimension::Discharge},
          {"diameter", "Diameter", Dimension::Length},
          {"length", "Length", Dimension::Length},
          {"headLoss", "Total Head Loss", Dimension::Length, true},
          {"upstreamElevation", "Upstream Elevation", Dimension::Length, true},
          {"upstreamPressureHead", "Upstream Pressure Head", Dimension::Length, true},
          {"downstreamElevation", "Downstream Elevation", Dimension::Length, true},
          {"downstreamPressureHead", "Downstream Press. Head", Dimension::Length, true},
          {"roughness", "Roughness e", Dimension::Length, true},
          {"hazenWilliamsC", "Hazen-Williams C", Dimension::None, true},
          {"manningsN", "Manning's n", Dimension::None, true},
          {"kinematicViscosity", "Kinematic Viscosity", Dimension::KinematicViscosity, true},
          {"minorLossK", "Minor Loss K (sum)", Dimension::None, true},
          {"minorLosses",
           "Fittings",
           Dimension::None,
           true,
           {{"fitting", "Fitting", Dimension::None, false, FittingChoices()},
            {"k", "K", Dimension::None, true, {}, Allowed::NonNegative},
            {"count", "Count", Dimension::None, true}}},
      },
      Choices(kUnknowns, {"Discharge", "Diameter", "Head Loss", "Length"}),
      {
          {"frictionMethod", "Friction Method",
           Choices(kMethods, {"Darcy-Weisbach", "Hazen-Williams", "Manning"})},
          {"frictionFormula", "Turbulent f",
           Choices(kFormulas, {"Colebrook-White", "Swamee-Jain"})},
          {"material", "Material", MaterialChoices()},
          {"waterTemperature", "Water Temperature", TemperatureChoices()},
      },
      [](const Document& d) {
        const PressurePipeInputs in = ReadPressurePipeInputs(d);
        PressurePipeResults r = SolvePressurePipe(in);
        if (r.Ok())
          r.curve = HeadLossCurve(in.law, r.flow.discharge, r.flow.diameter, r.flow.length);
        SheetOutcome o = PressurePipeOutcome(d, in, r);
        if (o.ok) o.solved = PressurePipeSolved{in, r};
        return o;
      },
      PressurePipeFieldUse,
      "pressurepipe",
      {"discharge",
       "diameter",
       "length",
       "headLoss",
       "velocity",
       "velocityHead",
       "reynoldsNumber",
       "flowRegime",
       "frictionFactor",
       "frictionLoss",
       "minorLoss",
       "totalHeadLoss",
       "frictionSlope",
       "energyGradeUpstream",
       "energyGradeDownstream",
       "hydraulicGradeUpstream",
       "hydraulicGradeDownstream",
       "downstreamPressureHead",
       "standardDiameter",
       "standardHeadLoss",
       "minimumVelocityMet",
       "maximumVelocityMet",
       "headLossCurve"}};
  return kind;
}

}  // namespace rivulet
