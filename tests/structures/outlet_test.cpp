// The outlet rating: each device's flow at a stage against hand calculations, the riser's
// change of control, the rating's shape, and the refusals.
#include "core/structures/outlet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "core/structures/structure_error.h"
#include "support/near.h"

namespace rivulet {
namespace {

const double kRoot2g = std::sqrt(2 * 9.80665);
const double kPi = std::numbers::pi;

class OutletRatingTest : public ::testing::Test {
 protected:
  // A pond riser: a 100 mm orifice at 100.0, two 150 mm at 100.5, a 1.5 m weir at 101.0
  // and a 900 mm riser rim at 101.2.
  OutletRatingTest() {
    OutletDevice low;
    low.name = "low";
    low.orifice.diameter = 0.1;
    low.orifice.invertElevation = 100;
    OutletDevice mid = low;
    mid.name = "mid";
    mid.count = 2;
    mid.orifice.diameter = 0.15;
    mid.orifice.invertElevation = 100.5;
    OutletDevice weir;
    weir.name = "weir";
    weir.type = OutletDeviceType::Weir;
    weir.weir.method = WeirMethod::Simple;
    weir.weir.crestLength = 1.5;
    weir.crestElevation = 101;
    OutletDevice riser;
    riser.name = "riser";
    riser.type = OutletDeviceType::Riser;
    riser.riser.diameter = 0.9;
    riser.riser.crestElevation = 101.2;
    devices = {low, mid, weir, riser};
  }
  std::vector<OutletDevice> devices;
};

TEST_F(OutletRatingTest, DevicesMatchHandCalculations) {
  const double a1 = kPi / 4 * 0.01;
  const double a2 = kPi / 4 * 0.0225;
  const double ar = kPi / 4 * 0.81;
  const struct {
    double stage;
    double expected[4];  // m³/s per device
    const char* riserRegime;
  } rows[] = {
      {99.9, {0, 0, 0, 0}, "none"},
      {100.05, {0.6 * a1 * std::sqrt(9.80665) * std::pow(0.05, 1.5) / 0.1, 0, 0, 0}, "none"},
      // Riser at 0.3 m: the rim's weir 0.37 √(2g) π 0.9 0.3^1.5 is below the pipe's orifice.
      {101.5,
       {0.6 * a1 * kRoot2g * std::sqrt(1.45), 2 * 0.6 * a2 * kRoot2g * std::sqrt(0.925),
        0.37 * kRoot2g * 1.5 * std::pow(0.5, 1.5), 0.37 * kRoot2g * kPi * 0.9 * std::pow(0.3, 1.5)},
       "weir"},
      // At 1 m over the rim the pipe's orifice controls.
      {102.2,
       {0.6 * a1 * kRoot2g * std::sqrt(2.15), 2 * 0.6 * a2 * kRoot2g * std::sqrt(1.625),
        0.37 * kRoot2g * 1.5 * std::pow(1.2, 1.5), 0.6 * ar * kRoot2g * 1.0},
       "orifice"},
  };
  for (const auto& row : rows) {
    double total = 0;
    for (size_t i = 0; i < devices.size(); ++i) {
      const DeviceFlow f = OutletDeviceFlow(devices[i], row.stage, {}, nullptr);
      EXPECT_TRUE(testing::Near(f.discharge, row.expected[i], 1e-12))
          << row.stage << " " << devices[i].name;
      total += row.expected[i];
    }
    EXPECT_STREQ(OutletDeviceFlow(devices[3], row.stage, {}, nullptr).regime, row.riserRegime);
    const OutletRating one = RateOutlet(devices, row.stage, row.stage + 1, 2);
    EXPECT_TRUE(testing::Near(one.rows[0].discharge, total, 1e-12)) << row.stage;
  }
}

TEST_F(OutletRatingTest, RatingRisesWithStageAndEndsAtTheTop) {
  for (const std::optional<double> tailwater : {std::optional<double>{}, std::optional(100.7)}) {
    const OutletRating r = RateOutlet(devices, 99.5, 103, 0.003, tailwater);
    ASSERT_EQ(r.rows.size(), 1168u);  // 3.5/0.003 = 1166.7 intervals, rounded up, plus one
    EXPECT_EQ(r.rows.back().stage, 103);
    for (size_t i = 1; i < r.rows.size(); ++i) {
      EXPECT_GE(r.rows[i].discharge, r.rows[i - 1].discharge) << r.rows[i].stage;
      for (size_t d = 0; d < devices.size(); ++d)
        EXPECT_GE(r.rows[i].devices[d].discharge, r.rows[i - 1].devices[d].discharge)
            << r.rows[i].stage << " " << devices[d].name;
    }
    EXPECT_EQ(r.firstFlowStage, (std::vector<double>{100, 100.5, 101, 101.2}));
  }
}

TEST_F(OutletRatingTest, RefusalsNameTheField) {
  std::vector<OutletDevice> none;
  std::vector<OutletDevice> noCount = devices;
  noCount[1].count = 0;
  std::vector<OutletDevice> flatRiser = devices;
  flatRiser[3].riser.diameter = 0;
  const struct {
    const char* name;
    const std::vector<OutletDevice>& devices;
    double from, to, step;
    const char* field;
    const char* says;
  } rows[] = {
      {"no devices", none, 100, 101, 0.1, "devices", "at least one"},
      {"zero step", devices, 100, 101, 0, "stageStep", "greater than 0"},
      {"upside down", devices, 101, 100, 0.1, "stageTo", "above"},
      {"too many rows", devices, 100, 101, 1e-6, "stageStep", "more than 100000 rows"},
      {"no count", noCount, 100, 101, 0.1, "devices", "mid: the count"},
      {"flat riser", flatRiser, 100, 101, 0.1, "devices", "riser: Diameter (diameter)"},
  };
  for (const auto& row : rows) {
    try {
      RateOutlet(row.devices, row.from, row.to, row.step);
      ADD_FAILURE() << row.name << ": not refused";
    } catch (const StructureInputError& e) {
      EXPECT_EQ(e.Field(), row.field) << row.name;
      EXPECT_NE(std::string(e.what()).find(row.says), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace rivulet
