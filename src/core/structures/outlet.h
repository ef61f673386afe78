// A pond outlet: orifices, weirs and risers on one structure, and its stage-discharge
// rating, each device's flow and regime at every stage and their total. Base units (m,
// m³/s).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/structures/orifice.h"
#include "core/structures/weir.h"

namespace rivulet {

enum class OutletDeviceType { Orifice, Weir, Riser };

/// A riser's rim runs as a sharp-crested weir of its circumference until the pipe's own
/// area, as a horizontal orifice, passes less (road-drainage manual, Example 10.11).
struct Riser {
  double diameter = 0;              ///< m
  double crestElevation = 0;        ///< rim, m
  double weirCoefficient = 0.37;    ///< Cw of Q = Cw (2g)^½ π D h^1.5
  double orificeCoefficient = 0.6;  ///< Cd of Q = Cd A (2g h)^½
};

/// One device of the outlet; only the member of its type is read.
struct OutletDevice {
  std::string name;  ///< as messages name it
  std::string id;    ///< as the rating names it
  OutletDeviceType type = OutletDeviceType::Orifice;
  int count = 1;  ///< identical devices at the same level
  Orifice orifice;
  Weir weir;
  double crestElevation = 0;  ///< weir: its crest (a notch's vertex), m
  Riser riser;
};

/// A device's flow at one stage.
struct DeviceFlow {
  double discharge = 0;  ///< m³/s, all `count` of it
  /// "none" (no flow), "free" or "submerged" (a weir), "weir" or "orifice".
  const char* regime = "none";
};

struct OutletRatingRow {
  double stage = 0;                 ///< m
  double discharge = 0;             ///< total, m³/s
  std::vector<DeviceFlow> devices;  ///< in the order given
};

struct OutletRating {
  std::vector<OutletRatingRow> rows;
  std::vector<double> firstFlowStage;  ///< per device: the level its flow starts from, m
  std::vector<std::string> warnings;   ///< each device's ranges left, once each
};

/// The most rows a rating makes; a finer step is refused.
inline constexpr int kMostOutletRows = 100000;

/// Refuses a device that cannot pass flow or a count below 1; throws StructureInputError
/// naming the list ("devices") with the device's name in the message.
void CheckOutletDevice(const OutletDevice& device);

/// Flow of one checked device at a stage, with the tailwater (elevations, m).
DeviceFlow OutletDeviceFlow(const OutletDevice& device, double stage,
                            std::optional<double> tailwater, std::vector<std::string>* warnings);

/// The level (m) from which the device passes flow.
double FirstFlowStage(const OutletDevice& device);

/// The rating from `from` to `to` (included) by `step` (elevations, m); throws
/// StructureInputError naming the field at fault.
OutletRating RateOutlet(const std::vector<OutletDevice>& devices, double from, double to,
                        double step, std::optional<double> tailwater = {});

}  // namespace rivulet
