#include "core/worksheets/culvert_sheet.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/files/csv_cell.h"
#include "core/hydraulics/checked_math.h"
#include "core/shell/number_text.h"
#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

const std::vector<std::string> kShapes{"circular", "box"};
const std::vector<std::string> kMaterials{"concrete", "corrugatedMetal"};
const std::vector<std::string> kTailwaters{"elevation", "channel"};
const std::vector<std::string> kSurfaces{"paved", "gravel"};
const std::vector<std::string> kUnknowns{"headwater", "discharge", "size"};
// Points of the performance table, from no flow to twice the design discharge.
constexpr int kPerformancePoints = 41;

std::vector<std::string> InletCodes() {
  std::vector<std::string> codes;
  for (const InletConfiguration& i : InletConfigurations()) codes.emplace_back(i.code);
  return codes;
}

// The window names an inlet by its code and edge; the shape and material have their own
// options, so the description's leading "Box, " and the like are left out.
std::vector<Choice> InletChoices() {
  std::vector<Choice> choices;
  for (const InletConfiguration& i : InletConfigurations()) {
    const std::string description = i.description;
    const std::size_t comma = description.find(", ");
    choices.push_back(
        {i.code, std::string(i.code) + ": " +
                     (comma == std::string::npos ? description : description.substr(comma + 2))});
  }
  return choices;
}

// An option as the document holds it, for the use rule (which must not throw).
std::string OptionText(const Document& d, const char* name, const char* otherwise) {
  const auto it = d.options.find(name);
  return it != d.options.end() && it->is_string() ? it->get<std::string>() : otherwise;
}

FieldUse UseOfCulvertField(const Document& d, const std::string& field) {
  const bool box = OptionText(d, "barrelShape", "circular") == "box";
  const std::string unknown = d.solveFor.empty() ? "headwater" : d.solveFor;
  const bool channel = OptionText(d, "tailwater", "elevation") == "channel";
  const bool road = d.HasInput("roadwayCrestElevation");
  if (field == "diameter") return !box && unknown != "size" ? FieldUse::Required : FieldUse::Unused;
  if (field == "span") return box ? FieldUse::Required : FieldUse::Unused;
  if (field == "rise") return box && unknown != "size" ? FieldUse::Required : FieldUse::Unused;
  if (field == "discharge") return unknown == "discharge" ? FieldUse::Unused : FieldUse::Required;
  if (field == "allowableHeadwaterElevation")
    return unknown == "headwater" ? FieldUse::Unused : FieldUse::Required;
  if (field == "outletInvertElevation" || field == "barrelSlope") return FieldUse::EitherOfPair;
  if (field == "tailwaterElevation") return channel ? FieldUse::Unused : FieldUse::Required;
  if (field == "channelBottomWidth" || field == "channelSideSlope" || field == "channelSlope" ||
      field == "channelManningsN")
    return channel ? FieldUse::Required : FieldUse::Unused;
  if (field == "roadwayCrestElevation") return FieldUse::Optional;
  if (field == "roadwayCrestLength" || field == "roadwayWidth" || field == "roadwaySurface")
    return road ? FieldUse::Required : FieldUse::Unused;
  if (field == "numberOfBarrels" || field == "entranceLossCoefficient" ||
      field == "maximumOutletVelocity")
    return FieldUse::Optional;
  return FieldUse::Required;
}

const char* DefaultInlet(BarrelShape shape, BarrelMaterial material) {
  const bool metal = material == BarrelMaterial::CorrugatedMetal;
  if (shape == BarrelShape::Box) return metal ? "16-19/2" : "10/1";
  return metal ? "2/1" : "1/1";
}

std::string Fixed(double v) { return ShownNumber(v, 4); }

std::vector<std::string> MethodLines(const CulvertInputs& in, const CulvertResults& r) {
  const Culvert& c = r.culvert;
  const InletConfiguration& t = *c.inlet;
  std::vector<std::string> lines;
  lines.push_back(std::string("Inlet ") + t.code + " (" + t.description + "): form " +
                  std::to_string(t.form) + ", K = " + Fixed(t.k) + ", M = " + Fixed(t.m) +
                  ", c = " + Fixed(t.c) + ", Y = " + Fixed(t.y) + ", Ks = " + Fixed(t.ks) +
                  "; ke = " + Fixed(c.entranceLoss) +
                  (in.culvert.entranceLoss == t.ke ? " (table)." : " (given)."));
  lines.push_back(t.form == 1
                      ? "Inlet control, unsubmerged: HW/D = Hc/D + K X^M + Ks S, Hc = dc + "
                        "Ac/(2 Tc); submerged: HW/D = c X^2 + Y + Ks S; X = Ku Q/(A D^0.5), "
                        "Ku = 1 (ft) or 0.3048^-0.5 = 1.811 (m), per barrel."
                      : "Inlet control, unsubmerged: HW/D = K X^M; submerged: HW/D = c X^2 + Y "
                        "+ Ks S; X = Ku Q/(A D^0.5), Ku = 1 (ft) or 0.3048^-0.5 = 1.811 (m), "
                        "per barrel.");
  lines.push_back(
      "Unsubmerged for X <= 3.5, submerged for X >= 4.0, linear in X between the "
      "headwaters at 3.5 and 4.0.");
  lines.push_back(
      "Outlet control: HW = ho + (1 + ke + 2g n^2 L/R^(4/3)) V^2/2g - S L, ho = "
      "max(TW, (dc + D)/2), dc capped at D; the higher headwater governs.");
  if (c.channel)
    lines.push_back(
        "Tailwater: normal depth of the total discharge in the downstream channel "
        "(Manning).");
  if (c.roadway)
    lines.push_back(std::string("Roadway overtopping (") +
                    (c.roadway->surface == RoadwaySurface::Paved ? "paved" : "gravel") +
                    "): Q = kt Cr L HWr^1.5; barrels and road share the flow at one headwater.");
  lines.push_back("g = 9.80665 m/s2 (32.174 ft/s2).");
  return lines;
}

std::vector<std::vector<NamedResult>> PerformanceRecords(const std::vector<PerformancePoint>& p) {
  std::vector<std::vector<NamedResult>> rows;
  for (const PerformancePoint& pt : p)
    rows.push_back(
        {NamedResult::Number("discharge", "Discharge", Dimension::Discharge, pt.discharge),
         NamedResult::Level("headwaterInlet", "HW Inlet", pt.headwaterInlet),
         NamedResult::Level("headwaterOutlet", "HW Outlet", pt.headwaterOutlet),
         NamedResult::Level("headwaterElevation", "Headwater", pt.headwaterElevation),
         NamedResult::Number("barrelDischarge", "Barrel Q", Dimension::Discharge,
                             pt.barrelDischarge),
         NamedResult::Number("overtoppingDischarge", "Road Q", Dimension::Discharge,
                             pt.overtoppingDischarge)});
  return rows;
}

SheetOutcome CulvertOutcome(const CulvertInputs& in, const CulvertResults& r) {
  const Culvert& c = r.culvert;
  const CulvertState& s = r.state;
  const BarrelFlow& b = s.barrel;
  std::vector<NamedResult> results{
      NamedResult::Level("headwaterElevation", "Headwater Elevation", s.headwaterElevation),
      NamedResult::Level("headwaterInletControl", "Headwater, Inlet Control",
                         c.inletInvert + b.inlet.headwater),
      NamedResult::Level("headwaterOutletControl", "Headwater, Outlet Control",
                         c.inletInvert + b.outlet.headwater),
      NamedResult::Text("controlType", "Control", b.inletControls ? "inlet" : "outlet"),
      NamedResult::Text("inletControlForm", "Inlet Control Form", InletFormName(b.inlet.form)),
      NamedResult::Number("discharge", "Total Discharge", Dimension::Discharge, s.totalDischarge)};
  if (in.solveFor == CulvertUnknown::Size)
    results.push_back(NamedResult::Number(
        "barrelSize", c.shape == BarrelShape::Box ? "Barrel Rise" : "Barrel Diameter",
        Dimension::Length, c.rise));
  std::vector<NamedResult> more{
      NamedResult::Number("criticalDepth", "Critical Depth", Dimension::Length, b.criticalDepth),
      NamedResult::Number("normalDepth", "Normal Depth", Dimension::Length, b.normalDepth),
      NamedResult::Number("outletDepth", "Outlet Depth", Dimension::Length, b.outletDepth),
      NamedResult::Number("outletVelocity", "Outlet Velocity", Dimension::Velocity,
                          b.outletVelocity),
      NamedResult::Number("tailwaterDepth", "Tailwater Depth", Dimension::Length, s.tailwaterDepth),
      NamedResult::Number("entranceLoss", "Entrance Loss", Dimension::Length,
                          b.outlet.entranceLoss),
      NamedResult::Number("frictionLoss", "Friction Loss", Dimension::Length,
                          b.outlet.frictionLoss),
      NamedResult::Number("exitLoss", "Exit Loss", Dimension::Length, b.outlet.exitLoss),
      NamedResult::Number("barrelDischarge", "Barrel Discharge", Dimension::Discharge, b.discharge),
      NamedResult::Number("overtoppingDischarge", "Overtopping Discharge", Dimension::Discharge,
                          s.overtoppingDischarge),
      NamedResult::Flag("overtopping", "Overtopping", s.overtopping),
      NamedResult::Table("performance", "Performance", PerformanceRecords(r.performance))};
  results.insert(results.end(), more.begin(), more.end());
  SheetOutcome o = SheetOutcome::Solved(std::move(results));
  o.methodLines = MethodLines(in, r);
  o.warnings = r.warnings;
  return o;
}

}  // namespace

CulvertInputs ReadCulvertInputs(const Document& d) {
  CulvertInputs in;
  Culvert& c = in.culvert;
  const std::string unknown = d.Unknown(kUnknowns);
  in.solveFor = unknown == "discharge" ? CulvertUnknown::Discharge
                : unknown == "size"    ? CulvertUnknown::Size
                                       : CulvertUnknown::Headwater;
  c.shape = d.Option("barrelShape", kShapes, "circular") == "box" ? BarrelShape::Box
                                                                  : BarrelShape::Circular;
  c.material = d.Option("barrelMaterial", kMaterials, "concrete") == "corrugatedMetal"
                   ? BarrelMaterial::CorrugatedMetal
                   : BarrelMaterial::Concrete;
  c.inlet = FindInlet(d.Option("inletType", InletCodes(), DefaultInlet(c.shape, c.material)));
  const bool box = c.shape == BarrelShape::Box;
  if (in.solveFor != CulvertUnknown::Size)
    c.rise = box ? d.Input("rise", Dimension::Length, Allowed::Any)
                 : d.Input("diameter", Dimension::Length, Allowed::Any);
  if (box) c.span = d.Input("span", Dimension::Length, Allowed::Any);
  const double barrels =
      d.OptionalInput("numberOfBarrels", Dimension::None, Allowed::Positive).value_or(1);
  if (barrels != std::floor(barrels) || barrels > 100)
    throw WorksheetError("numberOfBarrels",
                         "Number of barrels (numberOfBarrels) must be a whole number, 1 to 100.");
  c.barrels = static_cast<int>(barrels);
  c.length = d.Input("barrelLength", Dimension::Length, Allowed::Any);
  c.n = d.Input("manningsN", Dimension::None, Allowed::Any);
  c.entranceLoss = d.OptionalInput("entranceLossCoefficient", Dimension::None, Allowed::Any)
                       .value_or(c.inlet ? c.inlet->ke : 0);
  c.inletInvert = d.Input("inletInvertElevation", Dimension::Length, Allowed::Any);
  if (d.HasInput("outletInvertElevation") || !d.HasInput("barrelSlope")) {
    c.outletInvert = d.Input("outletInvertElevation", Dimension::Length, Allowed::Any);
  } else {
    const double s = d.Input("barrelSlope", Dimension::Slope, Allowed::NonNegative);
    c.outletInvert = c.inletInvert - s * c.length;
  }
  if (d.Option("tailwater", kTailwaters, "elevation") == "channel") {
    // A zero bottom width makes the channel a triangle, zero side slopes a rectangle.
    TailwaterChannel ch;
    ch.bottomWidth = d.Input("channelBottomWidth", Dimension::Length, Allowed::NonNegative);
    ch.sideSlope = d.Input("channelSideSlope", Dimension::SideSlope, Allowed::NonNegative);
    ch.shape = ch.bottomWidth == 0 ? SectionKind::Triangle
               : ch.sideSlope == 0 ? SectionKind::Rectangle
                                   : SectionKind::Trapezoid;
    ch.slope = d.Input("channelSlope", Dimension::Slope, Allowed::Any);
    ch.n = d.Input("channelManningsN", Dimension::None, Allowed::Any);
    c.channel = ch;
  } else {
    c.tailwaterElevation = d.Input("tailwaterElevation", Dimension::Length, Allowed::Any);
  }
  if (d.HasInput("roadwayCrestElevation")) {
    Roadway road;
    road.crestElevation = d.Input("roadwayCrestElevation", Dimension::Length, Allowed::Any);
    road.crestLength = d.Input("roadwayCrestLength", Dimension::Length, Allowed::Any);
    road.width = d.Input("roadwayWidth", Dimension::Length, Allowed::Any);
    road.surface = d.Option("roadwaySurface", kSurfaces, "paved") == "gravel"
                       ? RoadwaySurface::Gravel
                       : RoadwaySurface::Paved;
    c.roadway = road;
  }
  c.velocityLimit = d.OptionalInput("maximumOutletVelocity", Dimension::Velocity);
  if (in.solveFor != CulvertUnknown::Discharge)
    in.discharge = d.Input("discharge", Dimension::Discharge, Allowed::Any);
  if (in.solveFor != CulvertUnknown::Headwater)
    in.allowableHeadwater = d.Input("allowableHeadwaterElevation", Dimension::Length, Allowed::Any);
  in.sizes = d.resultUnits == UnitSystem::US ? BuiltInUsSizes() : BuiltInMetricSizes();
  in.performancePoints = kPerformancePoints;
  return in;
}

std::string CulvertPerformanceCsv(const std::vector<PerformancePoint>& points,
                                  const FileUnit& level, const FileUnit& discharge,
                                  char separator) {
  const std::string lu(level.name), qu(discharge.name);
  const std::string heads[] = {
      "discharge (" + qu + ")",        "headwater inlet (" + lu + ")",
      "headwater outlet (" + lu + ")", "headwater (" + lu + ")",
      "barrel discharge (" + qu + ")", "overtopping discharge (" + qu + ")"};
  std::string out;
  for (const std::string& h : heads) {
    if (&h != heads) out += separator;
    AppendDelimitedCell(out, h, separator);
  }
  out += "\r\n";
  for (const PerformancePoint& p : points) {
    const auto lv = [&](double v) { return FormatNumber(FromBase(level, v)); };
    const auto q = [&](double v) { return FormatNumber(FromBase(discharge, v)); };
    out += q(p.discharge) + separator + lv(p.headwaterInlet) + separator + lv(p.headwaterOutlet) +
           separator + lv(p.headwaterElevation) + separator + q(p.barrelDischarge) + separator +
           q(p.overtoppingDischarge) + "\r\n";
  }
  return out;
}

const WorksheetKind& CulvertKind() {
  static const WorksheetKind kind{
      "culvert",
      "Culvert",
      {
          {"discharge", "Discharge", Dimension::Discharge},
          {"allowableHeadwaterElevation", "Allowable Headwater Elevation", Dimension::Length},
          {"diameter", "Diameter D", Dimension::Length},
          {"span", "Span B", Dimension::Length},
          {"rise", "Rise D", Dimension::Length},
          {"numberOfBarrels", "Number of Barrels", Dimension::None, true},
          {"barrelLength", "Barrel Length L", Dimension::Length},
          {"manningsN", "Manning's n", Dimension::None},
          {"entranceLossCoefficient", "Entrance Loss Coefficient ke", Dimension::None, true},
          {"inletInvertElevation", "Inlet Invert Elevation", Dimension::Length},
          {"outletInvertElevation", "Outlet Invert Elevation", Dimension::Length},
          {"barrelSlope", "Barrel Slope S", Dimension::Slope},
          {"tailwaterElevation", "Tailwater Elevation", Dimension::Length},
          {"channelBottomWidth", "Channel Bottom Width", Dimension::Length},
          {"channelSideSlope", "Channel Side Slope", Dimension::SideSlope},
          {"channelSlope", "Channel Slope", Dimension::Slope},
          {"channelManningsN", "Channel Manning's n", Dimension::None},
          {"roadwayCrestElevation", "Roadway Crest Elevation", Dimension::Length, true},
          {"roadwayCrestLength", "Roadway Crest Length", Dimension::Length, true},
          {"roadwayWidth", "Roadway Width", Dimension::Length, true},
          {"maximumOutletVelocity", "Maximum Outlet Velocity", Dimension::Velocity, true},
      },
      {{"headwater", "Headwater"}, {"discharge", "Discharge"}, {"size", "Size"}},
      {
          {"barrelShape", "Shape", {{"circular", "Circular"}, {"box", "Box"}}},
          {"barrelMaterial",
           "Material",
           {{"concrete", "Concrete"}, {"corrugatedMetal", "Corrugated Metal"}}},
          {"inletType", "Inlet", InletChoices()},
          {"tailwater",
           "Tailwater",
           {{"elevation", "Elevation"}, {"channel", "Downstream Channel"}}},
          {"roadwaySurface", "Road Surface", {{"paved", "Paved"}, {"gravel", "Gravel"}}},
      },
      [](const Document& d) {
        const CulvertInputs in = ReadCulvertInputs(d);
        try {
          const CulvertResults r = SolveCulvert(in);
          SheetOutcome o = CulvertOutcome(in, r);
          o.solved = CulvertSolved{in, r};
          return o;
        } catch (const StructureInputError& e) {
          return SheetOutcome::Failed(e.what(), e.Field());
        } catch (const ArithmeticFault&) {
          return SheetOutcome::Failed(
              "The culvert's flow is beyond the numbers this program holds.");
        }
      },
      UseOfCulvertField,
      "culverts",
      {"headwaterElevation", "headwaterInletControl", "headwaterOutletControl", "controlType",
       "inletControlForm", "discharge", "barrelSize", "criticalDepth", "normalDepth", "outletDepth",
       "outletVelocity", "tailwaterDepth", "entranceLoss", "frictionLoss", "exitLoss",
       "barrelDischarge", "overtoppingDischarge", "overtopping", "performance"}};
  return kind;
}

}  // namespace rivulet
