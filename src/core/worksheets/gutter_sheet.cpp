#include "core/worksheets/gutter_sheet.h"

#include <string>
#include <vector>

namespace rivulet {

namespace {

const std::vector<std::string> kTypes{"uniform", "composite", "vShaped"};
const std::vector<std::string> kUnknowns{"spread", "discharge"};
// The unknown is found from the other of spread and discharge, or from the depth at curb.
const std::vector<std::string> kKnowns{"other", "depthAtCurb"};

GutterType TypeOf(const std::string& name) {
  if (name == "composite") return GutterType::Composite;
  if (name == "vShaped") return GutterType::VShaped;
  return GutterType::Uniform;
}

// The value of a base quantity in the unit the document shows results of that name in.
std::string Shown(const Document& d, const char* resultName, Dimension dim, double base) {
  const FileUnit* unit = d.ResultUnit(resultName, dim);
  if (!unit) return ShownNumber(base, kShownDigits);
  return ShownNumber(FromBase(*unit, base), kShownDigits) + " " + std::string(unit->symbol);
}

// Values are read as they stand and judged by the calculation, so one set of rules (and
// messages) covers the window, the batch mode and the inlet worksheet alike.
std::optional<double> Maybe(const Document& d, const char* name, Dimension dim) {
  return d.OptionalInput(name, dim, Allowed::Any);
}

double Required(const Document& d, const char* name, Dimension dim) {
  return d.Input(name, dim, Allowed::Any);
}

void AddMethod(SheetOutcome& o, const GutterInputs& in, const GutterResults& r) {
  o.methodLines.push_back(
      "Modified Manning (Izzard) equation for road gutters, Q = (Ku/n) Sx^(5/3) SL^(1/2) "
      "T^(8/3), with exact exponents; the kerb face is not part of the wetted perimeter.");
  o.methodLines.push_back(in.constant == GutterConstant::SI
                              ? "Ku = 0.376, the SI form, because the results are in SI units."
                              : "Ku = 0.56, the US customary form, because the results are in "
                                "US units.");
  switch (in.gutterType) {
    case GutterType::Uniform:
      if (in.gutterWidth)
        o.methodLines.push_back(
            "Frontal flow ratio over the gutter width: Eo = 1 - (1 - W/T)^(8/3).");
      break;
    case GutterType::Composite: {
      std::string line = "Composite gutter: pan cross slope Sw = " +
                         ShownNumber(*r.gutterCrossSlope, kShownDigits) +
                         "; frontal flow ratio Eo by the depressed-gutter formula; flow = pan "
                         "band plus the pavement beyond it, Manning summed over strips.";
      if (r.evaluations > 0)
        line += " Spread found by a bracketed Newton search in " + std::to_string(r.evaluations) +
                " evaluations, to 1e-13 of the spread.";
      o.methodLines.push_back(line);
      break;
    }
    case GutterType::VShaped: {
      std::string line =
          "V-shaped gutter: Manning summed over strips of the actual section; the spread is "
          "the whole water-surface width and the depth at curb is the depth at the bottom of "
          "the V.";
      if (!in.crossSlope3)
        line += " Equivalent cross slope Sx1 Sx2/(Sx1 + Sx2) = " +
                ShownNumber(VEquivalentCrossSlope(in.crossSlope1, in.crossSlope2), kShownDigits) +
                ".";
      if (r.evaluations > 0)
        line += " Depth found by a bracketed Newton search in " + std::to_string(r.evaluations) +
                " evaluations.";
      o.methodLines.push_back(line);
      break;
    }
  }
}

void AddChecks(SheetOutcome& o, const Document& d, const GutterInputs& in, const GutterResults& r) {
  if (r.spreadWithinAllowable) {
    const std::string spread = Shown(d, "spread", Dimension::Length, r.spread);
    const std::string limit = Shown(d, "spread", Dimension::Length, *in.allowableSpread);
    o.checkLines.push_back("Spread " + spread + " against the allowable spread " + limit + ": " +
                           (*r.spreadWithinAllowable ? "within." : "EXCEEDED."));
    if (!*r.spreadWithinAllowable)
      o.warnings.push_back("Spread of " + spread + " exceeds the allowable spread of " + limit);
  }
  if (r.depthWithinKerb) {
    const std::string depth = Shown(d, "depthAtCurb", Dimension::Length, r.depthAtCurb);
    const std::string kerb = Shown(d, "depthAtCurb", Dimension::Length, *in.kerbHeight);
    o.checkLines.push_back("Depth at curb " + depth + " against the kerb height " + kerb + ": " +
                           (*r.depthWithinKerb ? "within." : "OVERTOPPED."));
    if (!*r.depthWithinKerb)
      o.warnings.push_back("Depth at curb of " + depth + " exceeds the kerb height of " + kerb);
  }
}

}  // namespace

GutterInputs ReadGutterInputs(const Document& d) {
  GutterInputs in;
  in.gutterType = TypeOf(d.Option("gutterType", kTypes, "uniform"));
  const std::string unknown = d.Unknown(kUnknowns);
  const std::string known = d.Option("known", kKnowns, "other");
  if (known == "depthAtCurb") {
    in.solveFor =
        unknown == "spread" ? GutterUnknown::SpreadFromDepth : GutterUnknown::DischargeFromDepth;
    in.depthAtCurb = Required(d, "depthAtCurb", Dimension::Length);
  } else if (unknown == "spread") {
    in.solveFor = GutterUnknown::SpreadFromDischarge;
    in.discharge = Required(d, "discharge", Dimension::Discharge);
  } else {
    in.solveFor = GutterUnknown::DischargeFromSpread;
    in.spread = Required(d, "spread", Dimension::Length);
  }
  in.constant = d.resultUnits == UnitSystem::US ? GutterConstant::US : GutterConstant::SI;
  in.longitudinalSlope = Required(d, "longitudinalSlope", Dimension::Slope);
  in.manningsN = Required(d, "manningsN", Dimension::None);
  if (in.gutterType == GutterType::VShaped) {
    in.crossSlope1 = Required(d, "crossSlope1", Dimension::Slope);
    in.crossSlope2 = Required(d, "crossSlope2", Dimension::Slope);
    in.crossSlope3 = Maybe(d, "crossSlope3", Dimension::Slope);
    in.slopeBreakWidth = Maybe(d, "slopeBreakWidth", Dimension::Length);
  } else {
    in.crossSlope = Required(d, "crossSlope", Dimension::Slope);
    in.gutterWidth = Maybe(d, "gutterWidth", Dimension::Length);
    if (in.gutterType == GutterType::Composite) {
      in.gutterCrossSlope = Maybe(d, "gutterCrossSlope", Dimension::Slope);
      in.gutterDepression = Maybe(d, "gutterDepression", Dimension::Length);
    }
  }
  in.allowableSpread = Maybe(d, "allowableSpread", Dimension::Length);
  in.kerbHeight = Maybe(d, "kerbHeight", Dimension::Length);
  return in;
}

GutterInputUse GutterInputUseFor(const std::string& input, const std::string& gutterType,
                                 const std::string& unknown, const std::string& known) {
  using U = GutterInputUse;
  const bool v = gutterType == "vShaped";
  if (input == "spread" || input == "discharge")
    return input == unknown || known != "depthAtCurb" ? U::Required : U::Unused;
  if (input == "depthAtCurb") return known == "depthAtCurb" ? U::Required : U::Unused;
  if (input == "crossSlope") return v ? U::Unused : U::Required;
  if (input == "gutterWidth")
    return v ? U::Unused : gutterType == "composite" ? U::Required : U::Optional;
  if (input == "gutterCrossSlope" || input == "gutterDepression")
    return gutterType == "composite" ? U::EitherOfPair : U::Unused;
  if (input == "crossSlope1" || input == "crossSlope2") return v ? U::Required : U::Unused;
  if (input == "crossSlope3" || input == "slopeBreakWidth") return v ? U::Optional : U::Unused;
  if (input == "allowableSpread" || input == "kerbHeight") return U::Optional;
  return U::Required;
}

SheetOutcome GutterOutcome(const Document& d, const GutterInputs& in, const GutterResults& r) {
  if (!r.Ok()) return SheetOutcome::Failed(r.error->message, r.error->field);
  std::vector<NamedResult> results{
      NamedResult::Number("spread", "Spread", Dimension::Length, r.spread),
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, r.discharge),
      NamedResult::Number(
          "depthAtCurb",
          in.gutterType == GutterType::VShaped ? "Depth at V Bottom" : "Depth at Curb",
          Dimension::Length, r.depthAtCurb),
      NamedResult::Number("flowArea", "Flow Area", Dimension::Area, r.flowArea),
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, r.velocity),
      NamedResult::Number("frontalFlowRatio", "Frontal Flow Ratio Eo", Dimension::None,
                          r.frontalFlowRatio),
      NamedResult::Number("gutterFlow", "Gutter Flow Qw", Dimension::Discharge, r.gutterFlow),
      NamedResult::Number("sideFlow", "Side Flow Qs", Dimension::Discharge, r.sideFlow),
      NamedResult::Number("spreadOverGutterWidth", "Spread Over Width T/W", Dimension::None,
                          r.spreadOverGutterWidth),
  };
  if (r.spreadWithinAllowable)
    results.push_back(NamedResult::Flag("spreadWithinAllowable", "Spread Within Allowable",
                                        *r.spreadWithinAllowable));
  if (r.depthWithinKerb)
    results.push_back(
        NamedResult::Flag("depthWithinKerb", "Depth Within Kerb", *r.depthWithinKerb));
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  AddMethod(o, in, r);
  AddChecks(o, d, in, r);
  for (const std::string& note : r.notes) o.warnings.push_back(note);
  return o;
}

const WorksheetKind& GutterKind() {
  static const WorksheetKind kind{
      "gutter",
      "Gutter Flow",
      {
          {"discharge", "Discharge", Dimension::Discharge, true},
          {"spread", "Spread", Dimension::Length, true},
          {"depthAtCurb", "Depth at Curb", Dimension::Length, true},
          {"longitudinalSlope", "Longitudinal Slope SL", Dimension::Slope},
          {"manningsN", "Manning's n", Dimension::None},
          {"crossSlope", "Cross Slope Sx", Dimension::Slope, true},
          {"gutterWidth", "Gutter Width W", Dimension::Length, true},
          {"gutterCrossSlope", "Gutter Cross Slope Sw", Dimension::Slope, true},
          {"gutterDepression", "Gutter Depression a", Dimension::Length, true},
          {"crossSlope1", "Outer Cross Slope Sx1", Dimension::Slope, true},
          {"crossSlope2", "Inner Cross Slope Sx2", Dimension::Slope, true},
          {"crossSlope3", "Pavement Cross Slope Sx3", Dimension::Slope, true},
          {"slopeBreakWidth", "Slope Break Width", Dimension::Length, true},
          {"allowableSpread", "Allowable Spread", Dimension::Length, true},
          {"kerbHeight", "Kerb Height", Dimension::Length, true},
      },
      {{"spread", "Spread"}, {"discharge", "Discharge"}},
      {
          {"gutterType",
           "Gutter Type",
           {{"uniform", "Uniform"}, {"composite", "Composite"}, {"vShaped", "V-Shaped"}}},
          {"known",
           "Found From",
           {{"other", "Spread/Discharge"}, {"depthAtCurb", "Depth at Curb"}}},
      },
      [](const Document& d) {
        const GutterInputs in = ReadGutterInputs(d);
        const GutterResults r = SolveGutter(in);
        SheetOutcome o = GutterOutcome(d, in, r);
        o.solved = GutterSolved{in, r};
        return o;
      },
      [](const Document& d, const std::string& field) {
        const auto option = [&d](const char* name, const char* otherwise) {
          const auto it = d.options.find(name);
          return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
        };
        if (field == "gutterType" || field == "known" || field == "solveFor")
          return FieldUse::Required;
        return GutterInputUseFor(field, option("gutterType", "uniform"),
                                 d.solveFor.empty() ? "spread" : d.solveFor,
                                 option("known", "other"));
      },
      "gutterflow",
      {"spread", "discharge", "depthAtCurb", "flowArea", "velocity", "frontalFlowRatio",
       "gutterFlow", "sideFlow", "spreadOverGutterWidth", "spreadWithinAllowable",
       "depthWithinKerb"}};
  return kind;
}

}  // namespace rivulet
