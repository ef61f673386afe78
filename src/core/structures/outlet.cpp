#include "core/structures/outlet.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "core/hydraulics/checked_math.h"
#include "core/structures/structure_error.h"

namespace rivulet {
namespace {

[[noreturn]] void Refuse(const char* field, const std::string& message) {
  throw StructureInputError(field, message);
}

constexpr double kVillemontePower = 0.385;

DeviceFlow RiserFlow(const Riser& r, double stage, std::optional<double> tailwater) {
  DeviceFlow f;
  const double h = stage - r.crestElevation;
  if (h <= 0 || (tailwater && *tailwater >= stage)) return f;
  const double root2g = std::sqrt(2 * kWeirGravity);
  double weir = r.weirCoefficient * root2g * std::numbers::pi * r.diameter * Pow(h, 1.5);
  double head = h;
  if (tailwater && *tailwater > r.crestElevation) {
    weir *= std::pow(1 - std::pow((*tailwater - r.crestElevation) / h, 1.5), kVillemontePower);
    head = stage - *tailwater;
  }
  const double orifice =
      r.orificeCoefficient * std::numbers::pi / 4 * r.diameter * r.diameter * root2g * Sqrt(head);
  // The smaller flow controls.
  f.discharge = std::min(weir, orifice);
  f.regime = weir <= orifice ? "weir" : "orifice";
  return f;
}

std::string Prefixed(const OutletDevice& d, const std::string& text) {
  return d.name + ": " + text;
}

}  // namespace

void CheckOutletDevice(const OutletDevice& d) {
  if (d.count < 1) Refuse("devices", d.name + ": the count must be a whole number of at least 1.");
  try {
    switch (d.type) {
      case OutletDeviceType::Orifice:
        CheckOrifice(d.orifice);
        break;
      case OutletDeviceType::Weir:
        CheckWeir(d.weir);
        break;
      case OutletDeviceType::Riser:
        if (!(d.riser.diameter > 0))
          Refuse("diameter", "Diameter (diameter) must be greater than 0.");
        if (!(d.riser.weirCoefficient > 0))
          Refuse("weirCoefficient", "Weir coefficient (weirCoefficient) must be greater than 0.");
        if (!(d.riser.orificeCoefficient > 0 && d.riser.orificeCoefficient <= 1))
          Refuse("dischargeCoefficient",
                 "Discharge coefficient (dischargeCoefficient) must be above 0 and at most 1.");
        break;
    }
  } catch (const StructureInputError& e) {
    Refuse("devices", Prefixed(d, e.what()));
  }
}

double FirstFlowStage(const OutletDevice& d) {
  switch (d.type) {
    case OutletDeviceType::Orifice:
      return d.orifice.invertElevation;
    case OutletDeviceType::Weir:
      return d.crestElevation;
    case OutletDeviceType::Riser:
      break;
  }
  return d.riser.crestElevation;
}

DeviceFlow OutletDeviceFlow(const OutletDevice& d, double stage, std::optional<double> tailwater,
                            std::vector<std::string>* warnings) {
  DeviceFlow f;
  switch (d.type) {
    case OutletDeviceType::Orifice: {
      const OrificeFlow o = OrificeDischarge(d.orifice, stage, tailwater);
      f.discharge = o.discharge;
      f.regime = o.regime == OrificeRegime::Weir      ? "weir"
                 : o.regime == OrificeRegime::Orifice ? "orifice"
                                                      : "none";
      if (warnings)
        for (const std::string& w : o.warnings) warnings->push_back(Prefixed(d, w));
      break;
    }
    case OutletDeviceType::Weir: {
      const double head = stage - d.crestElevation;
      std::optional<double> tw;
      if (tailwater) tw = *tailwater - d.crestElevation;
      if (head <= 0 || (tw && *tw >= head)) break;
      WeirFlow w;
      try {
        w = WeirDischarge(d.weir, head, tw);
      } catch (const StructureInputError& e) {
        Refuse("devices", Prefixed(d, e.what()));
      }
      f.discharge = w.discharge;
      f.regime = w.submerged ? "submerged" : "free";
      if (warnings)
        for (const std::string& text : w.warnings) warnings->push_back(Prefixed(d, text));
      break;
    }
    case OutletDeviceType::Riser:
      f = RiserFlow(d.riser, stage, tailwater);
      break;
  }
  f.discharge *= d.count;
  return f;
}

OutletRating RateOutlet(const std::vector<OutletDevice>& devices, double from, double to,
                        double step, std::optional<double> tailwater) {
  if (devices.empty()) Refuse("devices", "Devices (devices): the outlet needs at least one.");
  if (!(step > 0)) Refuse("stageStep", "Stage step (stageStep) must be greater than 0.");
  if (!(to > from))
    Refuse("stageTo", "Stage to (stageTo) must be above the stage from (stageFrom).");
  const double intervals = std::ceil((to - from) / step * (1 - 1e-12));
  if (!(intervals < kMostOutletRows))
    Refuse("stageStep", "Stage step (stageStep) makes more than " +
                            std::to_string(kMostOutletRows) + " rows; take a larger step.");
  for (const OutletDevice& d : devices) CheckOutletDevice(d);
  OutletRating rating;
  for (const OutletDevice& d : devices) rating.firstFlowStage.push_back(FirstFlowStage(d));
  const int n = static_cast<int>(intervals) + 1;
  rating.rows.reserve(n);
  std::vector<std::string> raised;
  for (int i = 0; i < n; ++i) {
    OutletRatingRow row;
    // The last row is the top stage itself, whatever the step leaves over.
    row.stage = i + 1 == n ? to : from + i * step;
    row.devices.reserve(devices.size());
    for (const OutletDevice& d : devices) {
      const DeviceFlow f = OutletDeviceFlow(d, row.stage, tailwater, &raised);
      row.discharge += f.discharge;
      row.devices.push_back(f);
    }
    rating.rows.push_back(std::move(row));
  }
  std::set<std::string> seen;
  for (std::string& w : raised)
    if (seen.insert(w).second) rating.warnings.push_back(std::move(w));
  return rating;
}

}  // namespace rivulet
