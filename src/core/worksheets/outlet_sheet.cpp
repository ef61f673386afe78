#include "core/worksheets/outlet_sheet.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/files/csv_cell.h"
#include "core/hydraulics/checked_math.h"
#include "core/shell/number_text.h"
#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

const std::vector<std::string> kTypes{"orifice", "weir", "riser"};
const std::vector<std::string> kShapes{"circular", "rectangular"};
const std::vector<std::string> kEdges{"squareEdged", "sharp", "rounded", "ragged"};
// An outlet's weirs are rarely gauged in a channel of known width: the simple form first.
const std::vector<std::string> kWeirTypes{"rectangular", "vNotch", "cipolletti", "broadCrested"};
const std::vector<std::string> kMethods{"simple", "kindsvaterCarter"};
const std::vector<std::string> kContractions{"0", "1", "2"};

std::vector<Choice> Choices(const std::vector<std::string>& names,
                            const std::vector<std::string>& labels) {
  std::vector<Choice> out;
  for (size_t i = 0; i < names.size(); ++i) out.push_back({names[i], labels[i]});
  return out;
}

ListColumn Quantity(const char* name, const char* label, Dimension d,
                    Allowed allowed = Allowed::Positive) {
  ListColumn c;
  c.name = name;
  c.label = label;
  c.dimension = d;
  c.optional = true;
  c.allowed = allowed;
  return c;
}

ListColumn Word(const char* name, const char* label, std::vector<Choice> choices) {
  ListColumn c;
  c.name = name;
  c.label = label;
  c.optional = true;
  c.choices = std::move(choices);
  return c;
}

std::vector<ListColumn> DeviceColumns() {
  ListColumn type = Word("type", "Type", Choices(kTypes, {"Orifice", "Weir", "Riser"}));
  type.optional = false;
  return {type,
          Quantity("count", "Count", Dimension::None),
          Word("shape", "Shape", Choices(kShapes, {"Circular", "Rectangular"})),
          Word("edge", "Edge", Choices(kEdges, {"Square-Edged", "Sharp", "Rounded", "Ragged"})),
          Quantity("diameter", "Diameter", Dimension::Length),
          Quantity("width", "Width", Dimension::Length),
          Quantity("height", "Height", Dimension::Length),
          Quantity("invertElevation", "Invert Elevation", Dimension::Length, Allowed::Any),
          Quantity("dischargeCoefficient", "Cd", Dimension::None),
          Word("weirType", "Weir Type",
               Choices(kWeirTypes, {"Rectangular", "V-Notch", "Cipolletti", "Broad-Crested"})),
          Word("method", "Method", Choices(kMethods, {"Simple", "Kindsvater-Carter"})),
          Word("endContractions", "End Contractions", Choices(kContractions, {"0", "1", "2"})),
          Quantity("crestLength", "Crest Length", Dimension::Length),
          Quantity("notchAngle", "Notch Angle", Dimension::Angle),
          Quantity("crestHeight", "Crest Height", Dimension::Length),
          Quantity("channelWidth", "Channel Width", Dimension::Length),
          Quantity("crestBreadth", "Crest Breadth", Dimension::Length),
          Quantity("crestElevation", "Crest Elevation", Dimension::Length, Allowed::Any),
          Quantity("weirCoefficient", "Cw", Dimension::None)};
}

int Count(const InputRow& row) {
  const std::optional<double> count = row.OptionalNumber("count", Dimension::None);
  if (!count) return 1;
  if (*count != std::floor(*count) || *count > 1e6)
    throw WorksheetError("devices", row.Name() + ": the count must be a whole number.");
  return static_cast<int>(*count);
}

OutletDevice ReadDevice(const InputRow& row) {
  OutletDevice d;
  d.id = row.Id().empty() ? std::to_string(row.Position() + 1) : row.Id();
  d.name = row.Name();
  const std::string type = row.Word("type", kTypes, "");
  d.count = Count(row);
  const auto level = [&row](const char* member) {
    return row.Number(member, Dimension::Length, Allowed::Any);
  };
  if (type == "orifice") {
    d.type = OutletDeviceType::Orifice;
    Orifice& o = d.orifice;
    o.shape = row.Word("shape", kShapes, "circular") == "rectangular" ? OrificeShape::Rectangular
                                                                      : OrificeShape::Circular;
    const std::string edge = row.Word("edge", kEdges, "squareEdged");
    o.edge = edge == "sharp"     ? OrificeEdge::Sharp
             : edge == "rounded" ? OrificeEdge::Rounded
             : edge == "ragged"  ? OrificeEdge::Ragged
                                 : OrificeEdge::SquareEdged;
    if (o.shape == OrificeShape::Circular) {
      o.diameter = row.Number("diameter", Dimension::Length);
    } else {
      o.width = row.Number("width", Dimension::Length);
      o.height = row.Number("height", Dimension::Length);
    }
    o.invertElevation = level("invertElevation");
    o.dischargeCoefficient = row.OptionalNumber("dischargeCoefficient", Dimension::None);
  } else if (type == "weir") {
    d.type = OutletDeviceType::Weir;
    Weir& w = d.weir;
    const std::string weirType = row.Word("weirType", kWeirTypes, "rectangular");
    w.type = weirType == "vNotch"         ? WeirType::VNotch
             : weirType == "cipolletti"   ? WeirType::Cipolletti
             : weirType == "broadCrested" ? WeirType::BroadCrested
                                          : WeirType::Rectangular;
    w.method = row.Word("method", kMethods, "simple") == "kindsvaterCarter"
                   ? WeirMethod::KindsvaterCarter
                   : WeirMethod::Simple;
    if (w.type == WeirType::Rectangular && w.method == WeirMethod::Simple)
      w.endContractions = std::stoi(row.Word("endContractions", kContractions, "0"));
    if (w.type == WeirType::VNotch)
      w.notchAngle = row.OptionalNumber("notchAngle", Dimension::Angle).value_or(90.0);
    else
      w.crestLength = row.Number("crestLength", Dimension::Length);
    w.crestHeight = row.OptionalNumber("crestHeight", Dimension::Length);
    w.channelWidth = row.OptionalNumber("channelWidth", Dimension::Length);
    w.crestBreadth = row.OptionalNumber("crestBreadth", Dimension::Length);
    w.weirCoefficient = row.OptionalNumber("weirCoefficient", Dimension::None);
    d.crestElevation = level("crestElevation");
  } else {
    d.type = OutletDeviceType::Riser;
    d.riser.diameter = row.Number("diameter", Dimension::Length);
    d.riser.crestElevation = level("crestElevation");
    d.riser.weirCoefficient =
        row.OptionalNumber("weirCoefficient", Dimension::None).value_or(d.riser.weirCoefficient);
    d.riser.orificeCoefficient = row.OptionalNumber("dischargeCoefficient", Dimension::None)
                                     .value_or(d.riser.orificeCoefficient);
  }
  return d;
}

const char* TypeWord(OutletDeviceType t) {
  switch (t) {
    case OutletDeviceType::Weir:
      return "weir";
    case OutletDeviceType::Riser:
      return "riser";
    case OutletDeviceType::Orifice:
      break;
  }
  return "orifice";
}

SheetOutcome OutletOutcome(const Document& d, const OutletInputs& in, const OutletRating& r) {
  std::vector<std::vector<NamedResult>> rows;
  rows.reserve(r.rows.size());
  for (const OutletRatingRow& row : r.rows) {
    std::vector<std::vector<NamedResult>> devices;
    for (size_t i = 0; i < row.devices.size(); ++i)
      devices.push_back({NamedResult::Text("id", "Id", in.devices[i].id),
                         NamedResult::Number("discharge", "Discharge", Dimension::Discharge,
                                             row.devices[i].discharge),
                         NamedResult::Text("regime", "Regime", row.devices[i].regime)});
    rows.push_back(
        {NamedResult::Level("stage", "Stage", row.stage),
         NamedResult::Number("discharge", "Discharge", Dimension::Discharge, row.discharge),
         NamedResult::Records("devices", "Device", std::move(devices))});
  }
  SheetOutcome o = SheetOutcome::Solved({NamedResult::Table("rating", "Rating", std::move(rows))});
  const FileUnit* unit = d.ResultUnit("stage", Dimension::Length);
  for (size_t i = 0; i < in.devices.size(); ++i) {
    const OutletDevice& dev = in.devices[i];
    o.methodLines.push_back(dev.id + " (" + TypeWord(dev.type) +
                            (dev.count > 1 ? " x " + std::to_string(dev.count) : "") +
                            "): flows from " +
                            SurveyLevelText(FromBase(*unit, r.firstFlowStage[i]), unit->factor) +
                            " " + std::string(unit->symbol) + ".");
  }
  o.methodLines.push_back(
      "Each device by its own worksheet's method at every stage: orifices as in the Orifice "
      "worksheet (a weir below their top), weirs as in the Weir worksheet with the head above "
      "their crest, risers as the smaller of the rim's weir flow (Cw (2g)^(1/2) pi D h^1.5) "
      "and the pipe's orifice flow (Cd A (2g h)^(1/2)); the total is their sum.");
  if (in.tailwaterElevation)
    o.methodLines.push_back(
        "The tailwater submerges each device it stands above; a device "
        "passes nothing at stages at or below the tailwater.");
  o.warnings = r.warnings;
  return o;
}

FieldUse UseOfOutletField(const Document&, const std::string& field) {
  return field == "tailwaterElevation" ? FieldUse::Optional : FieldUse::Required;
}

}  // namespace

OutletInputs ReadOutletInputs(const Document& d) {
  OutletInputs in;
  for (const InputRow& row : d.InputRows("devices")) in.devices.push_back(ReadDevice(row));
  in.stageFrom = d.Input("stageFrom", Dimension::Length, Allowed::Any);
  in.stageTo = d.Input("stageTo", Dimension::Length, Allowed::Any);
  in.stageStep = d.Input("stageStep", Dimension::Length, Allowed::Any);
  in.tailwaterElevation = d.OptionalInput("tailwaterElevation", Dimension::Length, Allowed::Any);
  return in;
}

std::string OutletRatingCsv(const OutletInputs& in, const OutletRating& r, const FileUnit& level,
                            const FileUnit& discharge, char separator) {
  const std::string lu(level.name), qu(discharge.name);
  std::string out;
  AppendDelimitedCell(out, "stage (" + lu + ")", separator);
  out += separator;
  AppendDelimitedCell(out, "discharge (" + qu + ")", separator);
  for (const OutletDevice& d : in.devices) {
    out += separator;
    AppendDelimitedCell(out, d.id + " discharge (" + qu + ")", separator);
    out += separator;
    AppendDelimitedCell(out, d.id + " regime", separator);
  }
  out += "\r\n";
  for (const OutletRatingRow& row : r.rows) {
    out += FormatNumber(FromBase(level, row.stage)) + separator +
           FormatNumber(FromBase(discharge, row.discharge));
    for (const DeviceFlow& f : row.devices)
      out += separator + FormatNumber(FromBase(discharge, f.discharge)) + separator + f.regime;
    out += "\r\n";
  }
  return out;
}

const WorksheetKind& OutletStructureKind() {
  static const WorksheetKind kind{
      "outletStructure",
      "Outlet Structure",
      {
          {"devices", "Devices", Dimension::None, false, DeviceColumns()},
          {"stageFrom", "Stage From", Dimension::Length},
          {"stageTo", "Stage To", Dimension::Length},
          {"stageStep", "Stage Step", Dimension::Length},
          {"tailwaterElevation", "Tailwater Elevation", Dimension::Length, true},
      },
      {},
      {},
      [](const Document& d) {
        const OutletInputs in = ReadOutletInputs(d);
        try {
          const OutletRating r =
              RateOutlet(in.devices, in.stageFrom, in.stageTo, in.stageStep, in.tailwaterElevation);
          SheetOutcome o = OutletOutcome(d, in, r);
          o.solved = OutletSolved{in, r};
          return o;
        } catch (const StructureInputError& e) {
          return SheetOutcome::Failed(e.what(), e.Field());
        } catch (const ArithmeticFault&) {
          return SheetOutcome::Failed(
              "The outlet's flow is beyond the numbers this program holds.");
        }
      },
      UseOfOutletField,
      "outlets",
      {"rating"}};
  return kind;
}

}  // namespace rivulet
