#include "core/worksheets/inlet_sheet.h"

#include <string>
#include <vector>

namespace rivulet {

namespace {

const std::vector<std::string> kLocations{"grade", "sag"};
const std::vector<std::string> kInletTypes{"grate", "curb-opening", "slotted", "combination"};
const std::vector<std::string> kGutterTypes{"uniform", "composite"};
const std::vector<std::string> kThroats{"horizontal", "inclined", "vertical"};
const std::vector<std::string> kUnknowns{"depth", "capacity"};

std::vector<std::string> GrateNames() {
  std::vector<std::string> names;
  for (const GrateData& g : kGrates) names.emplace_back(g.name);
  return names;
}

InletType TypeOf(const std::string& name) {
  if (name == "curb-opening") return InletType::CurbOpening;
  if (name == "slotted") return InletType::Slotted;
  if (name == "combination") return InletType::Combination;
  return InletType::Grate;
}

GrateType GrateNamed(const std::string& name) {
  for (const GrateData& g : kGrates)
    if (g.name == name) return g.type;
  return GrateType::P1_7_8;
}

ThroatType ThroatOf(const std::string& name) {
  if (name == "inclined") return ThroatType::Inclined;
  if (name == "vertical") return ThroatType::Vertical;
  return ThroatType::Horizontal;
}

// The input's dimension as the kind lists it.
Dimension DimensionOf(const std::string& name) {
  for (const InputField& f : InletKind().inputs)
    if (f.name == name) return f.dimension;
  return Dimension::None;
}

// Values are read as they stand and judged by the calculation, so one set of rules (and
// messages) covers the window and the batch mode.
std::optional<double> Read(const Document& d, const InletChoices& c, const char* name) {
  const InletInputUse use = InletInputUseFor(name, c);
  if (use == InletInputUse::Unused) return std::nullopt;
  if (use == InletInputUse::Required) return d.Input(name, DimensionOf(name), Allowed::Any);
  return d.OptionalInput(name, DimensionOf(name), Allowed::Any);
}

std::string Shown(const Document& d, const char* resultName, Dimension dim, double base) {
  const FileUnit* unit = d.ResultUnit(resultName, dim);
  if (!unit) return ShownNumber(base, kShownDigits);
  return ShownNumber(FromBase(*unit, base), kShownDigits) + " " + std::string(unit->symbol);
}

void AddMethod(SheetOutcome& o, const InletInputs& in, const InletResults& r) {
  const bool si = in.gutter.constant == GutterConstant::SI;
  if (r.gutter)
    o.methodLines.push_back(
        "Approach flow: modified Manning (Izzard) gutter equation, as in the gutter worksheet; "
        "constants in their " +
        std::string(si ? "SI" : "US customary") + " form, following the result units.");
  const bool grade = in.location == InletLocation::Grade;
  const bool grate = in.inletType == InletType::Grate || in.inletType == InletType::Combination;
  if (grade && grate)
    o.methodLines.push_back(
        std::string("Grate: E = Rf Eo + Rs (1 - Eo); Rf = 1 - Ku (V - Vo) held within 0 to 1 "
                    "(Ku = ") +
        (si ? "0.295" : "0.09") +
        "); Rs = 1/(1 + Ku V^1.8/(Sx L^2.3)) (Ku = " + (si ? "0.0828" : "0.15") + "). Vo " +
        (in.splashOverVelocity ? "as given"
                               : "from the cubic fit of the splash-over curve of the " +
                                     std::string(GrateOf(in.grateType).label) + " grate") +
        ".");
  if (grade && in.inletType != InletType::Grate && r.lengthForTotalInterception)
    o.methodLines.push_back(
        std::string("Opening: LT = Ku Q^0.42 SL^0.3 (1/(n Se))^0.6 (Ku = ") +
        (si ? "0.817" : "0.6") + "), Se = Sx + (a/W) Eo; E = 1 - (1 - L/LT)^1.8 below LT." +
        (in.inletType == InletType::Combination && in.openingLength > in.grateLength
             ? " Sweeper: the opening upstream of the grate (its length less the grate's) "
               "first, the grate on the flow that passes it."
             : ""));
  if (!grade)
    o.methodLines.push_back(
        "Sag: weir Q = Cw (2g)^0.5 P d^1.5 and orifice Q = Co A (2g d)^0.5; the lower of the "
        "two in a transition, and never more than at any greater depth. g = " +
        std::string(si ? "9.81 m/s2" : "32.2 ft/s2") + ".");
  if (in.clogging > 0)
    o.methodLines.push_back(
        grade ? "Clogging shortens the effective length of the grate, opening or slot."
              : "Clogging narrows the grate from the kerb (weir perimeter and open area) and "
                "shortens a curb opening or slot; a combination's curb opening stays open.");
  for (const std::string& note : r.notes) o.methodLines.push_back(note);
}

void AddChecks(SheetOutcome& o, const Document& d, const InletInputs& in, const InletResults& r) {
  const auto check = [&](const char* what, const char* name, double value, double limit,
                         const char* limitName, const char* bad) {
    const std::string v = Shown(d, name, Dimension::Length, value);
    const std::string l = Shown(d, name, Dimension::Length, limit);
    const bool ok = value <= limit;
    o.checkLines.push_back(std::string(what) + " " + v + " against the " + limitName + " " + l +
                           ": " + (ok ? "within." : bad));
    if (!ok)
      o.warnings.push_back(std::string(what) + " of " + v + " exceeds the " + limitName + " of " +
                           l);
  };
  const auto& spread = in.gutter.allowableSpread;
  const auto& kerb = in.gutter.kerbHeight;
  if (r.gutter && spread)
    check("Spread", "spread", r.gutter->spread, *spread, "allowable spread", "EXCEEDED.");
  if (r.spreadAtPonding && spread)
    check("Spread at ponding", "spreadAtPonding", *r.spreadAtPonding, *spread, "allowable spread",
          "EXCEEDED.");
  if (r.gutter && kerb && in.location == InletLocation::Grade)
    check("Depth at curb", "depthAtCurb", r.gutter->depthAtCurb, *kerb, "kerb height",
          "OVERTOPPED.");
  if (r.pondingDepth && kerb)
    check("Ponding depth", "pondingDepth", *r.pondingDepth, *kerb, "kerb height", "OVERTOPPED.");
  if (r.splashOverExceeded)
    o.warnings.push_back(
        "The gutter velocity of " + Shown(d, "velocity", Dimension::Velocity, r.gutter->velocity) +
        " exceeds the grate's splash-over velocity of " +
        Shown(d, "splashOverVelocity", Dimension::Velocity, *r.splashOverVelocity));
  const double q = in.gutter.discharge;
  if (q > 0 && r.capacity && q > *r.capacity * (1 + 1e-9))
    o.warnings.push_back("The approach flow of " +
                         Shown(d, "gutterDischarge", Dimension::Discharge, q) +
                         " exceeds the capacity at the ponding depth: the water ponds deeper.");
  for (const std::string& c : r.cautions) o.warnings.push_back(c);
}

}  // namespace

InletInputUse InletInputUseFor(const std::string& input, const InletChoices& c) {
  using U = InletInputUse;
  const bool sag = c.location == "sag";
  const bool capacity = sag && c.solveFor == "capacity";
  const bool grate = c.inletType == "grate" || c.inletType == "combination";
  const bool curb = c.inletType == "curb-opening" || c.inletType == "combination";
  const bool composite = c.gutterType == "composite";
  if (input == "discharge") return capacity ? U::Optional : U::Required;
  // The sag's weir and orifice do not use them; the approach gutter's spread does.
  if (input == "longitudinalSlope" || input == "manningsN") return sag ? U::Optional : U::Required;
  if (input == "gutterWidth") return composite ? U::Required : U::Unused;
  if (input == "gutterCrossSlope" || input == "gutterDepression")
    return composite ? U::EitherOfPair : U::Unused;
  if (input == "grateLength" || input == "grateWidth") return grate ? U::Required : U::Unused;
  if (input == "openingLength") return c.inletType != "grate" ? U::Required : U::Unused;
  if (input == "openingHeight") return sag && curb ? U::Required : U::Unused;
  if (input == "slotWidth")
    return c.inletType == "slotted" ? (sag ? U::Required : U::Optional) : U::Unused;
  if (input == "depression" || input == "depressionWidth")
    return c.inletType == "curb-opening" ? U::Optional : U::Unused;
  if (input == "throatAngle")
    return sag && curb && c.throat == "inclined" ? U::Required : U::Unused;
  if (input == "splashOverVelocity") return !sag && grate ? U::Optional : U::Unused;
  if (input == "openingRatio") return sag && grate ? U::Optional : U::Unused;
  if (input == "pondingDepth") return capacity ? U::Required : U::Unused;
  if (input == "clogging" || input == "allowableSpread" || input == "kerbHeight")
    return U::Optional;
  return U::Required;
}

InletChoices InletChoicesOf(const Document& d) {
  InletChoices c;
  auto text = [&d](const char* name, std::string& into) {
    const auto it = d.options.find(name);
    if (it != d.options.end() && it->is_string()) into = it->get<std::string>();
  };
  text("location", c.location);
  text("inletType", c.inletType);
  text("gutterType", c.gutterType);
  text("throat", c.throat);
  if (!d.solveFor.empty()) c.solveFor = d.solveFor;
  c.approachGiven =
      d.HasInput("discharge") && d.HasInput("longitudinalSlope") && d.HasInput("manningsN");
  return c;
}

bool InletFieldApplies(const std::string& field, const InletChoices& c) {
  const bool sag = c.location == "sag";
  if (field == "grateType") return c.inletType == "grate" || c.inletType == "combination";
  if (field == "throat")
    return sag && (c.inletType == "curb-opening" || c.inletType == "combination");
  if (field == "solveFor") return sag;
  if (field == "location" || field == "inletType" || field == "gutterType") return true;
  if (sag && (field == "longitudinalSlope" || field == "manningsN")) return c.approachGiven;
  return InletInputUseFor(field, c) != InletInputUse::Unused;
}

InletInputs ReadInletInputs(const Document& d) {
  InletChoices c;
  c.location = d.Option("location", kLocations, "grade");
  c.inletType = d.Option("inletType", kInletTypes, "grate");
  c.gutterType = d.Option("gutterType", kGutterTypes, "uniform");
  c.throat = d.Option("throat", kThroats, "horizontal");
  c.solveFor = c.location == "sag" ? d.Unknown(kUnknowns) : "depth";
  InletInputs in;
  in.location = c.location == "sag" ? InletLocation::Sag : InletLocation::Grade;
  in.inletType = TypeOf(c.inletType);
  in.grateType = GrateNamed(d.Option("grateType", GrateNames(), "P-1-7/8"));
  in.throat = ThroatOf(c.throat);
  in.solveFor = c.solveFor == "capacity" ? SagUnknown::Capacity : SagUnknown::Depth;
  GutterInputs& g = in.gutter;
  g.gutterType = c.gutterType == "composite" ? GutterType::Composite : GutterType::Uniform;
  g.solveFor = GutterUnknown::SpreadFromDischarge;
  g.constant = d.resultUnits == UnitSystem::US ? GutterConstant::US : GutterConstant::SI;
  g.discharge = Read(d, c, "discharge").value_or(0);
  const std::optional<double> slope = Read(d, c, "longitudinalSlope");
  const std::optional<double> n = Read(d, c, "manningsN");
  // In a sag both or neither: the approach gutter needs the two together.
  if (slope.has_value() != n.has_value() && d.HasInput("discharge"))
    throw slope ? WorksheetError("manningsN",
                                 "Manning's n is required with the longitudinal slope to solve "
                                 "the approach gutter (or leave both out).")
                : WorksheetError("longitudinalSlope",
                                 "Longitudinal Slope SL is required with Manning's n to solve "
                                 "the approach gutter (or leave both out).");
  in.approachGutter = slope && n && d.HasInput("discharge");
  g.longitudinalSlope = slope.value_or(0);
  g.manningsN = n.value_or(0);
  g.crossSlope = *Read(d, c, "crossSlope");
  g.gutterWidth = Read(d, c, "gutterWidth");
  g.gutterCrossSlope = Read(d, c, "gutterCrossSlope");
  g.gutterDepression = Read(d, c, "gutterDepression");
  g.allowableSpread = Read(d, c, "allowableSpread");
  g.kerbHeight = Read(d, c, "kerbHeight");
  in.grateLength = Read(d, c, "grateLength").value_or(0);
  in.grateWidth = Read(d, c, "grateWidth").value_or(0);
  in.openingLength = Read(d, c, "openingLength").value_or(0);
  in.openingHeight = Read(d, c, "openingHeight").value_or(0);
  in.slotWidth = Read(d, c, "slotWidth").value_or(0);
  in.clogging = Read(d, c, "clogging").value_or(0);
  in.depression = Read(d, c, "depression");
  in.depressionWidth = Read(d, c, "depressionWidth");
  in.throatAngle = Read(d, c, "throatAngle").value_or(0);
  in.splashOverVelocity = Read(d, c, "splashOverVelocity");
  in.openingRatio = Read(d, c, "openingRatio");
  in.pondingDepth = Read(d, c, "pondingDepth").value_or(0);
  return in;
}

SheetOutcome InletOutcome(const Document& d, const InletInputs& in, const InletResults& r) {
  if (!r.Ok()) return SheetOutcome::Failed(r.error->message, r.error->field);
  using N = NamedResult;
  const auto& g = r.gutter;
  std::vector<NamedResult> results{
      N::Number("gutterDischarge", "Approach Flow", Dimension::Discharge,
                in.gutter.discharge > 0 ? std::optional(in.gutter.discharge) : std::nullopt),
      N::Number("spread", "Spread", Dimension::Length, g ? std::optional(g->spread) : std::nullopt),
      N::Number("depthAtCurb", "Depth at Curb", Dimension::Length,
                g ? std::optional(g->depthAtCurb) : std::nullopt),
      N::Number("velocity", "Velocity", Dimension::Velocity,
                g ? std::optional(g->velocity) : std::nullopt),
  };
  if (in.location == InletLocation::Grade) {
    results.push_back(N::Number("frontalFlowRatio", "Frontal Flow Ratio Eo", Dimension::None,
                                r.frontalFlowRatio));
  } else {
    results.push_back(
        N::Number("pondingDepth", "Ponding Depth", Dimension::Length, r.pondingDepth));
    results.push_back(N::Text("weirOrOrifice", "Flow at the Inlet", SagRegimeName(*r.regime)));
    results.push_back(N::Number("capacity", "Capacity", Dimension::Discharge, r.capacity));
    results.push_back(
        N::Number("spreadAtPonding", "Spread at Ponding", Dimension::Length, r.spreadAtPonding));
  }
  results.push_back(N::Number("interceptedDischarge", "Intercepted Flow", Dimension::Discharge,
                              r.interceptedDischarge));
  results.push_back(
      N::Number("bypassDischarge", "Bypass Flow", Dimension::Discharge, r.bypassDischarge));
  results.push_back(N::Number("efficiency", "Efficiency", Dimension::None, r.efficiency));
  if (in.location == InletLocation::Grade) {
    results.push_back(N::Number("frontalFlowEfficiency", "Frontal Efficiency Rf", Dimension::None,
                                r.frontalFlowEfficiency));
    results.push_back(N::Number("sideFlowEfficiency", "Side Efficiency Rs", Dimension::None,
                                r.sideFlowEfficiency));
    results.push_back(N::Number("splashOverVelocity", "Splash-Over Velocity", Dimension::Velocity,
                                r.splashOverVelocity));
    results.push_back(N::Number("lengthForTotalInterception", "Total-Capture Length LT",
                                Dimension::Length, r.lengthForTotalInterception));
    results.push_back(N::Number("equivalentCrossSlope", "Equivalent Slope Se", Dimension::Slope,
                                r.equivalentCrossSlope));
  }
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  AddMethod(o, in, r);
  AddChecks(o, d, in, r);
  return o;
}

const WorksheetKind& InletKind() {
  static const WorksheetKind kind{
      "inlet",
      "Inlet",
      {
          {"discharge", "Approach Flow Q", Dimension::Discharge, true},
          {"longitudinalSlope", "Longitudinal Slope SL", Dimension::Slope},
          {"manningsN", "Manning's n", Dimension::None},
          {"crossSlope", "Cross Slope Sx", Dimension::Slope},
          {"gutterWidth", "Gutter Width W", Dimension::Length, true},
          {"gutterCrossSlope", "Gutter Cross Slope Sw", Dimension::Slope, true},
          {"gutterDepression", "Gutter Depression a", Dimension::Length, true},
          {"grateLength", "Grate Length", Dimension::Length, true},
          {"grateWidth", "Grate Width", Dimension::Length, true},
          {"openingLength", "Opening/Slot Length", Dimension::Length, true},
          {"openingHeight", "Opening Height h", Dimension::Length, true},
          {"slotWidth", "Slot Width", Dimension::Length, true},
          {"depression", "Local Depression", Dimension::Length, true},
          {"depressionWidth", "Depression Width", Dimension::Length, true},
          {"throatAngle", "Throat Angle (degrees)", Dimension::None, true},
          {"clogging", "Clogging (0 to <1)", Dimension::None, true},
          {"splashOverVelocity", "Splash-Over Velocity", Dimension::Velocity, true},
          {"openingRatio", "Grate Opening Ratio", Dimension::None, true},
          {"pondingDepth", "Ponding Depth", Dimension::Length, true},
          {"allowableSpread", "Allowable Spread", Dimension::Length, true},
          {"kerbHeight", "Kerb Height", Dimension::Length, true},
      },
      {{"depth", "Depth (sag)"}, {"capacity", "Capacity (sag)"}},
      {
          {"location", "Location", {{"grade", "On Grade"}, {"sag", "In Sag"}}},
          {"inletType",
           "Inlet",
           {{"grate", "Grate"},
            {"curb-opening", "Curb Opening"},
            {"slotted", "Slotted"},
            {"combination", "Combination"}}},
          {"grateType", "Grate",
           [] {
             std::vector<Choice> choices;
             for (const GrateData& g : kGrates)
               choices.push_back({std::string(g.name), std::string(g.label)});
             return choices;
           }()},
          {"gutterType", "Gutter", {{"uniform", "Uniform"}, {"composite", "Composite"}}},
          {"throat",
           "Throat",
           {{"horizontal", "Horizontal"}, {"inclined", "Inclined"}, {"vertical", "Vertical"}}},
      },
      [](const Document& d) {
        const InletInputs in = ReadInletInputs(d);
        const InletResults r = SolveInlet(in);
        SheetOutcome o = InletOutcome(d, in, r);
        o.solved = InletSolved{in, r};
        return o;
      },
      [](const Document& d, const std::string& field) {
        const InletChoices choices = InletChoicesOf(d);
        if (!InletFieldApplies(field, choices)) return FieldUse::Unused;
        for (const InputField& f : InletKind().inputs)
          if (f.name == field) return InletInputUseFor(field, choices);
        return FieldUse::Required;
      },
      "inlets",
      {"gutterDischarge", "spread", "depthAtCurb", "velocity", "frontalFlowRatio", "pondingDepth",
       "weirOrOrifice", "capacity", "spreadAtPonding", "interceptedDischarge", "bypassDischarge",
       "efficiency", "frontalFlowEfficiency", "sideFlowEfficiency", "splashOverVelocity",
       "lengthForTotalInterception", "equivalentCrossSlope"}};
  return kind;
}

}  // namespace rivulet
