#include "core/worksheets/orifice_sheet.h"

#include <string>
#include <vector>

#include "core/hydraulics/checked_math.h"
#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

const std::vector<std::string> kShapes{"circular", "rectangular"};
const std::vector<std::string> kEdges{"squareEdged", "sharp", "rounded", "ragged"};
const std::vector<std::string> kUnknowns{"discharge", "upstreamElevation", "diameter", "width"};

std::string OptionText(const Document& d, const char* name, const char* otherwise) {
  const auto it = d.options.find(name);
  return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
}

FieldUse UseOfOrificeField(const Document& d, const std::string& field) {
  const bool circle = OptionText(d, "shape", "circular") == "circular";
  if (field == "diameter") return circle ? FieldUse::Required : FieldUse::Unused;
  if (field == "width" || field == "height") return circle ? FieldUse::Unused : FieldUse::Required;
  if (field == "downstreamElevation") return FieldUse::Optional;
  if (field == "dischargeCoefficient")
    return OptionText(d, "edge", "squareEdged") == "rounded" ? FieldUse::Required
                                                             : FieldUse::Optional;
  return FieldUse::Required;
}

std::string CoefficientLine(const Orifice& o) {
  if (o.dischargeCoefficient) return "Cd = " + ShownNumber(*o.dischargeCoefficient, 6) + " given.";
  switch (o.edge) {
    case OrificeEdge::Sharp:
      return "Sharp edge: Cd read against the head in feet from Hamilton Smith's table (circle; "
             "square, 4:1 and 16:1 rectangles, between them by the logarithm of the "
             "proportion).";
    case OrificeEdge::Ragged:
      return "Ragged edge: Cd = 0.4.";
    case OrificeEdge::SquareEdged:
    case OrificeEdge::Rounded:
      break;
  }
  return "Square-edged entrance: Cd = 0.6.";
}

SheetOutcome OrificeOutcome(const OrificeInputs& in, const OrificeResults& r) {
  const OrificeFlow& f = r.flow;
  std::vector<NamedResult> results{
      NamedResult::Number("discharge", "Discharge", Dimension::Discharge, r.discharge)};
  if (in.solveFor == OrificeUnknown::UpstreamElevation)
    results.push_back(
        NamedResult::Level("upstreamElevation", "Upstream Elevation", r.upstreamElevation));
  if (in.solveFor == OrificeUnknown::Size) {
    if (r.orifice.shape == OrificeShape::Circular)
      results.push_back(
          NamedResult::Number("diameter", "Diameter", Dimension::Length, r.orifice.diameter));
    else
      results.push_back(NamedResult::Number("width", "Width", Dimension::Length, r.orifice.width));
  }
  std::vector<NamedResult> more{
      NamedResult::Number("effectiveHead", "Effective Head", Dimension::Length, f.effectiveHead),
      NamedResult::Number("velocity", "Velocity", Dimension::Velocity, f.velocity),
      NamedResult::Number("area", "Area", Dimension::Area, f.area),
      NamedResult::Number("dischargeCoefficient", "Discharge Coefficient", Dimension::None,
                          f.coefficient),
      NamedResult::Text("regime", "Regime", OrificeRegimeName(f.regime)),
      NamedResult::Flag("submerged", "Submerged", f.submerged)};
  results.insert(results.end(), more.begin(), more.end());
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.methodLines.push_back(
      "Orifice: Q = Cd A (2 g h)^(1/2), h above the centroid, or above the downstream level "
      "when that is higher. Below the top of the opening (depth D) a weir: Q = Cd A g^(1/2) h^1.5 "
      "/ "
      "D with h above the invert, equal to the orifice flow at the top; a downstream level "
      "above the invert reduces it by (1 - (h2/h)^1.5)^0.385, to no more than the whole "
      "opening passes at the same difference of levels.");
  o.methodLines.push_back(CoefficientLine(r.orifice) + " g = 9.80665 m/s2.");
  if (r.evaluations > 0)
    o.methodLines.push_back(std::string(in.solveFor == OrificeUnknown::UpstreamElevation
                                            ? "Upstream elevation"
                                            : "Size") +
                            " found by a bracketed false-position search in " +
                            std::to_string(r.evaluations) + " evaluations.");
  o.warnings = f.warnings;
  if (f.regime == OrificeRegime::None)
    o.warnings.push_back("The water stands at or below the invert: nothing flows.");
  return o;
}

}  // namespace

const char* OrificeRegimeName(OrificeRegime regime) {
  switch (regime) {
    case OrificeRegime::Weir:
      return "weir";
    case OrificeRegime::Orifice:
      return "orifice";
    case OrificeRegime::None:
      break;
  }
  return "none";
}

OrificeInputs ReadOrificeInputs(const Document& d) {
  OrificeInputs in;
  Orifice& o = in.orifice;
  o.shape = d.Option("shape", kShapes, "circular") == "rectangular" ? OrificeShape::Rectangular
                                                                    : OrificeShape::Circular;
  const std::string edge = d.Option("edge", kEdges, "squareEdged");
  o.edge = edge == "sharp"     ? OrificeEdge::Sharp
           : edge == "rounded" ? OrificeEdge::Rounded
           : edge == "ragged"  ? OrificeEdge::Ragged
                               : OrificeEdge::SquareEdged;
  const std::string unknown = d.Unknown(kUnknowns);
  const bool circle = o.shape == OrificeShape::Circular;
  if ((unknown == "diameter" && !circle) || (unknown == "width" && circle))
    throw WorksheetError("solveFor", circle ? "A circular opening is sized by its diameter."
                                            : "A rectangular opening is sized by its width.");
  in.solveFor = unknown == "upstreamElevation" ? OrificeUnknown::UpstreamElevation
                : unknown == "discharge"       ? OrificeUnknown::Discharge
                                               : OrificeUnknown::Size;
  const auto number = [&d](const char* name, Dimension dim) {
    return d.Input(name, dim, Allowed::Any);
  };
  if (circle && unknown != "diameter") o.diameter = number("diameter", Dimension::Length);
  if (!circle) {
    if (unknown != "width") o.width = number("width", Dimension::Length);
    o.height = number("height", Dimension::Length);
  }
  o.invertElevation = number("invertElevation", Dimension::Length);
  o.dischargeCoefficient = d.OptionalInput("dischargeCoefficient", Dimension::None, Allowed::Any);
  if (in.solveFor != OrificeUnknown::UpstreamElevation)
    in.upstreamElevation = number("upstreamElevation", Dimension::Length);
  in.downstreamElevation = d.OptionalInput("downstreamElevation", Dimension::Length, Allowed::Any);
  if (in.solveFor != OrificeUnknown::Discharge)
    in.discharge = number("discharge", Dimension::Discharge);
  return in;
}

const WorksheetKind& OrificeKind() {
  static const WorksheetKind kind{
      "orifice",
      "Orifice",
      {
          {"discharge", "Discharge", Dimension::Discharge},
          {"upstreamElevation", "Upstream Elevation", Dimension::Length},
          {"diameter", "Diameter D", Dimension::Length, true},
          {"width", "Width", Dimension::Length, true},
          {"height", "Height D", Dimension::Length, true},
          {"invertElevation", "Invert Elevation", Dimension::Length},
          {"downstreamElevation", "Downstream Elevation", Dimension::Length, true},
          {"dischargeCoefficient", "Discharge Coefficient Cd", Dimension::None, true},
      },
      {{"discharge", "Discharge"},
       {"upstreamElevation", "Upstream Elevation"},
       {"diameter", "Diameter"},
       {"width", "Width"}},
      {
          {"shape", "Shape", {{"circular", "Circular"}, {"rectangular", "Rectangular"}}},
          {"edge",
           "Edge",
           {{"squareEdged", "Square-Edged"},
            {"sharp", "Sharp"},
            {"rounded", "Rounded"},
            {"ragged", "Ragged"}}},
      },
      [](const Document& d) {
        const OrificeInputs in = ReadOrificeInputs(d);
        try {
          const OrificeResults r = SolveOrifice(in);
          SheetOutcome o = OrificeOutcome(in, r);
          o.solved = OrificeSolved{in, r};
          return o;
        } catch (const StructureInputError& e) {
          return SheetOutcome::Failed(e.what(), e.Field());
        } catch (const ArithmeticFault&) {
          return SheetOutcome::Failed(
              "The orifice's flow is beyond the numbers this program holds.");
        }
      },
      UseOfOrificeField,
      "orifices",
      {"discharge", "upstreamElevation", "diameter", "width", "effectiveHead", "velocity", "area",
       "dischargeCoefficient", "regime", "submerged"}};
  return kind;
}

}  // namespace rivulet
