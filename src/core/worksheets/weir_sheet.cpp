#include "core/worksheets/weir_sheet.h"

#include <string>
#include <vector>

#include "core/hydraulics/checked_math.h"
#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

const std::vector<std::string> kTypes{"rectangular", "vNotch", "cipolletti", "broadCrested",
                                      "roadway"};
const std::vector<std::string> kMethods{"kindsvaterCarter", "simple"};
const std::vector<std::string> kContractions{"0", "1", "2"};
const std::vector<std::string> kSurfaces{"paved", "gravel"};
const std::vector<std::string> kUnknowns{"discharge", "head", "crestLength"};

WeirType TypeOf(const std::string& name) {
  if (name == "vNotch") return WeirType::VNotch;
  if (name == "cipolletti") return WeirType::Cipolletti;
  if (name == "broadCrested") return WeirType::BroadCrested;
  if (name == "roadway") return WeirType::Roadway;
  return WeirType::Rectangular;
}

// An option as the document holds it, for the use rule (which must not throw).
std::string OptionText(const Document& d, const char* name, const char* otherwise) {
  const auto it = d.options.find(name);
  return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
}

FieldUse UseOfWeirField(const Document& d, const std::string& field) {
  const std::string type = OptionText(d, "weirType", "rectangular");
  const bool rect = type == "rectangular";
  const bool simple = rect && OptionText(d, "method", "kindsvaterCarter") == "simple";
  const bool kc = rect && !simple;
  if (field == "method") return rect ? FieldUse::Required : FieldUse::Unused;
  if (field == "endContractions") return simple ? FieldUse::Required : FieldUse::Unused;
  if (field == "roadwaySurface") return type == "roadway" ? FieldUse::Required : FieldUse::Unused;
  if (field == "crestLength") return type == "vNotch" ? FieldUse::Unused : FieldUse::Required;
  if (field == "notchAngle") return type == "vNotch" ? FieldUse::Optional : FieldUse::Unused;
  if (field == "crestHeight" || field == "channelWidth")
    return kc ? FieldUse::Required : type == "roadway" ? FieldUse::Unused : FieldUse::Optional;
  if (field == "crestBreadth")
    return type == "broadCrested" || type == "roadway" ? FieldUse::Required : FieldUse::Unused;
  if (field == "tailwaterHead" || field == "weirCoefficient") return FieldUse::Optional;
  return FieldUse::Required;
}

std::string MethodLine(const WeirInputs& in) {
  const Weir& w = in.weir;
  switch (w.type) {
    case WeirType::Rectangular:
      if (w.method == WeirMethod::Simple)
        return "Sharp-crested rectangular weir, Q = Cw (2g)^(1/2) Le h^1.5 with Le = L - 0.1 n h "
               "for n = " +
               std::to_string(w.endContractions) + " end contraction" +
               (w.endContractions == 1 ? "" : "s") + "; Cw = 0.37 unless given.";
      return "Kindsvater-Carter: Q = 2/3 Ce (2g)^(1/2) (L + kb) (h + kh)^1.5, Ce = (c1 h/P + "
             "c2)/5.348 with c1, c2 read against L/B (linear between rows); kh = 0.003 ft "
             "(0.91 mm); kb = -0.001 m for a full-width crest, 0 otherwise.";
    case WeirType::VNotch:
      return "Kindsvater-Shen V-notch: Q = 8/15 Ce (2g)^(1/2) tan(theta/2) (h + kh)^2.5, Ce and "
             "kh (ft) from their fitted curves in theta (25-100 degrees).";
    case WeirType::Cipolletti:
      return "Cipolletti weir (sides 1:4): Q = 3.367 L h^1.5 in feet (1.859 in metres), i.e. "
             "Q = 2/3 Ce (2g)^(1/2) L h^1.5 with Ce = 0.6296.";
    case WeirType::BroadCrested:
      return "Broad-crested weir: Q = Cw (2g)^(1/2) L h^1.5, Cw = C/8.022 with C (ft^(1/2)/s) "
             "read bilinearly from Brater and King's table against head and crest breadth in "
             "feet.";
    case WeirType::Roadway:
      return std::string("Roadway overtopping (") +
             (w.surface == RoadwaySurface::Paved ? "paved" : "gravel") +
             "): Q = kt Cr L HWr^1.5, Cr read against HWr (ft) while HWr/Lr <= 0.15, against "
             "HWr/Lr above; kt against ht/HWr; curves linear between points, held beyond "
             "them; Cw = Cr/8.022.";
  }
  return "";
}

SheetOutcome WeirOutcome(const WeirInputs& in, const WeirResults& r) {
  const WeirFlow& f = r.flow;
  std::vector<NamedResult> results{
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, r.discharge),
      NamedResult::Number("head", "Head", Dimension::Length, r.head)};
  if (in.solveFor == WeirUnknown::CrestLength)
    results.push_back(
        NamedResult::Number("crestLength", "Crest Length", Dimension::Length, r.crestLength));
  std::vector<NamedResult> more{
      NamedResult::Number("weirCoefficient", "Weir Coefficient", Dimension::None, f.coefficient),
      NamedResult::Number("effectiveLength", "Effective Length", Dimension::Length,
                          f.effectiveLength),
      NamedResult::Number("effectiveHead", "Effective Head", Dimension::Length, f.effectiveHead),
      NamedResult::Number("submergenceFactor", "Submergence Factor", Dimension::None,
                          f.submergenceFactor),
      NamedResult::Number("approachVelocity", "Approach Velocity", Dimension::Velocity,
                          r.approachVelocity),
      // Discharge per crest length has the units of m²/s, as a kinematic viscosity does.
      NamedResult::Number("dischargePerLength", "Discharge per Length",
                          Dimension::KinematicViscosity, r.dischargePerLength),
      NamedResult::Text("regime", "Regime", f.submerged ? "submerged" : "free")};
  results.insert(results.end(), more.begin(), more.end());
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.methodLines.push_back(MethodLine(in));
  if (in.weir.weirCoefficient)
    o.methodLines.push_back("Weir coefficient " + ShownNumber(*in.weir.weirCoefficient, 6) +
                            " given, in place of the method's own.");
  if (f.submerged)
    o.methodLines.push_back(
        in.weir.type == WeirType::Roadway
            ? "Submerged: kt read against ht/HWr."
            : "Submerged (Villemonte): Qs = Q (1 - (h2/h)^n)^0.385, n = " +
                  std::string(in.weir.type == WeirType::VNotch ? "2.5" : "1.5") + ".");
  o.methodLines.push_back(
      "g = 9.80665 m/s2 (32.174 ft/s2); US coefficients enter as C "
      "(ft^(1/2)/s) = Cw (2g)^(1/2) in feet.");
  if (r.evaluations > 0)
    o.methodLines.push_back(
        std::string(in.solveFor == WeirUnknown::Head ? "Head" : "Crest length") +
        " found by a bracketed false-position search in " + std::to_string(r.evaluations) +
        " evaluations.");
  o.warnings = f.warnings;
  return o;
}

}  // namespace

WeirInputs ReadWeirInputs(const Document& d) {
  WeirInputs in;
  Weir& w = in.weir;
  w.type = TypeOf(d.Option("weirType", kTypes, "rectangular"));
  const std::string unknown = d.Unknown(kUnknowns);
  in.solveFor = unknown == "head"          ? WeirUnknown::Head
                : unknown == "crestLength" ? WeirUnknown::CrestLength
                                           : WeirUnknown::Discharge;
  const auto maybe = [&d](const char* name, Dimension dim) {
    return d.OptionalInput(name, dim, Allowed::Any);
  };
  if (w.type == WeirType::Rectangular) {
    w.method = d.Option("method", kMethods, "kindsvaterCarter") == "simple"
                   ? WeirMethod::Simple
                   : WeirMethod::KindsvaterCarter;
    if (w.method == WeirMethod::Simple)
      w.endContractions = std::stoi(d.Option("endContractions", kContractions, "0"));
  }
  if (w.type == WeirType::Roadway)
    w.surface = d.Option("roadwaySurface", kSurfaces, "paved") == "gravel" ? RoadwaySurface::Gravel
                                                                           : RoadwaySurface::Paved;
  if (w.type == WeirType::VNotch) {
    w.notchAngle = maybe("notchAngle", Dimension::Angle).value_or(90.0);
  } else if (in.solveFor != WeirUnknown::CrestLength) {
    w.crestLength = d.Input("crestLength", Dimension::Length, Allowed::Any);
  }
  if (w.type != WeirType::Roadway) {
    w.crestHeight = maybe("crestHeight", Dimension::Length);
    w.channelWidth = maybe("channelWidth", Dimension::Length);
  }
  if (w.type == WeirType::BroadCrested || w.type == WeirType::Roadway)
    w.crestBreadth = maybe("crestBreadth", Dimension::Length);
  w.weirCoefficient = maybe("weirCoefficient", Dimension::None);
  if (in.solveFor != WeirUnknown::Head) in.head = d.Input("head", Dimension::Length, Allowed::Any);
  if (in.solveFor != WeirUnknown::Discharge)
    in.discharge = d.Input("discharge", Dimension::Discharge, Allowed::Any);
  in.tailwaterHead = maybe("tailwaterHead", Dimension::Length);
  return in;
}

const WorksheetKind& WeirKind() {
  static const WorksheetKind kind{
      "weir",
      "Weir",
      {
          {"discharge", "Discharge", Dimension::Discharge},
          {"head", "Head h", Dimension::Length},
          {"crestLength", "Crest Length L", Dimension::Length},
          {"notchAngle", "Notch Angle", Dimension::Angle, true},
          {"crestHeight", "Crest Height P", Dimension::Length, true},
          {"channelWidth", "Channel Width B", Dimension::Length, true},
          {"crestBreadth", "Crest Breadth", Dimension::Length, true},
          {"tailwaterHead", "Tailwater Head h2", Dimension::Length, true},
          {"weirCoefficient", "Weir Coefficient", Dimension::None, true},
      },
      {{"discharge", "Discharge"}, {"head", "Head"}, {"crestLength", "Crest Length"}},
      {
          {"weirType",
           "Weir Type",
           {{"rectangular", "Rectangular"},
            {"vNotch", "V-Notch"},
            {"cipolletti", "Cipolletti"},
            {"broadCrested", "Broad-Crested"},
            {"roadway", "Roadway"}}},
          {"method", "Method", {{"kindsvaterCarter", "Kindsvater-Carter"}, {"simple", "Simple"}}},
          {"endContractions", "End Contractions", {{"0", "None"}, {"1", "One"}, {"2", "Two"}}},
          {"roadwaySurface", "Road Surface", {{"paved", "Paved"}, {"gravel", "Gravel"}}},
      },
      [](const Document& d) {
        const WeirInputs in = ReadWeirInputs(d);
        try {
          const WeirResults r = SolveWeir(in);
          SheetOutcome o = WeirOutcome(in, r);
          o.solved = WeirSolved{in, r};
          return o;
        } catch (const StructureInputError& e) {
          return SheetOutcome::Failed(e.what(), e.Field());
        } catch (const ArithmeticFault&) {
          return SheetOutcome::Failed("The weir's flow is beyond the numbers this program holds.");
        }
      },
      UseOfWeirField,
      "weirs",
      {"discharge", "head", "crestLength", "weirCoefficient", "effectiveLength", "effectiveHead",
       "submergenceFactor", "approachVelocity", "dischargePerLength", "regime"}};
  return kind;
}

}  // namespace rivulet
