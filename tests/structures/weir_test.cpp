// Weir flow against hand calculations from the published equations (written out below in
// the units each source uses), the inverse solves, submergence and the range warnings.
#include "core/structures/weir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/structures/structure_error.h"
#include "support/near.h"

namespace rivulet {
namespace {

constexpr double kFt = 0.3048;
constexpr double kCfs = kFt * kFt * kFt;
const double kRoot2g = std::sqrt(2 * 9.80665);
const double kRoot2gFt = std::sqrt(2 * 9.80665 / kFt);

Weir Rect(double l, WeirMethod m = WeirMethod::Simple) {
  Weir w;
  w.method = m;
  w.crestLength = l;
  return w;
}
Weir KindsvaterCarter(double l, double b, double p) {
  Weir w = Rect(l, WeirMethod::KindsvaterCarter);
  w.channelWidth = b;
  w.crestHeight = p;
  return w;
}
Weir Typed(WeirType type, double l, std::optional<double> breadth = {}) {
  Weir w = Rect(l);
  w.type = type;
  w.crestBreadth = breadth;
  return w;
}
Weir Notch(double degrees) {
  Weir w = Typed(WeirType::VNotch, 0);
  w.notchAngle = degrees;
  return w;
}
Weir Contracted(double l, int n) {
  Weir w = Rect(l);
  w.endContractions = n;
  return w;
}
Weir Gravel(double l, double road) {
  Weir w = Typed(WeirType::Roadway, l, road);
  w.surface = RoadwaySurface::Gravel;
  return w;
}

TEST(WeirFlow, MatchesHandCalculations) {
  // 90° notch: Ce = 0.607165052 - 0.000874466963*90 + 6.10393334e-6*8100 = 0.57790489,
  // kh = 0.0144902648 - 0.0305599815 + 0.0267153393 - 0.0077431057 = 0.00290252 ft.
  const double ce90 = 0.5779048853;
  const double kh90 = 0.0029025169;
  const struct {
    const char* name;
    Weir weir;
    double head;      // m
    double expected;  // m³/s
  } rows[] = {
      {"simple, full width", Rect(2), 0.3, 0.37 * kRoot2g * 2 * std::pow(0.3, 1.5)},
      {"simple, two contractions", Contracted(2, 2), 0.3,
       0.37 * kRoot2g * (2 - 0.2 * 0.3) * std::pow(0.3, 1.5)},
      // L/B = 0.5: Ce = 0.0612 h/P + 3.173 ft^½/s; h/P = 0.5, in feet.
      {"Kindsvater-Carter, US", KindsvaterCarter(3 * kFt, 6 * kFt, 1.5 * kFt), 0.75 * kFt,
       (0.0612 * 0.5 + 3.173) * 3 * std::pow(0.75 + 0.003, 1.5) * kCfs},
      // The same in metres: Ce(SI) = Ce(US) * √0.3048, kh = 0.0009144 m.
      {"Kindsvater-Carter, SI", KindsvaterCarter(1, 2, 0.5), 0.25,
       (0.0612 * 0.5 + 3.173) * std::sqrt(kFt) * 1 * std::pow(0.25 + 0.0009144, 1.5)},
      // L/B = 0.3 lies halfway between the 0.2 and 0.4 rows.
      {"Kindsvater-Carter, between rows", KindsvaterCarter(0.6, 2, 0.4), 0.2,
       (0.0115 * 0.5 + 3.158) * std::sqrt(kFt) * 0.6 * std::pow(0.2 + 0.0009144, 1.5)},
      {"Kindsvater-Carter, full width", KindsvaterCarter(1.5, 1.5, 0.6), 0.3,
       (0.4 * 0.5 + 3.22) * std::sqrt(kFt) * (1.5 - 0.001) * std::pow(0.3 + 0.0009144, 1.5)},
      {"V-notch 90 degrees, US", Notch(90), 0.5 * kFt,
       8.0 / 15 * ce90 * kRoot2gFt * std::pow(0.5 + kh90, 2.5) * kCfs},
      {"V-notch 60 degrees, SI", Notch(60), 0.2,
       8.0 / 15 * (0.607165052 - 0.000874466963 * 60 + 6.10393334e-6 * 3600) * kRoot2g *
           std::tan(M_PI / 6) *
           std::pow(0.2 + (0.0144902648 - 0.00033955535 * 60 + 3.29819003e-6 * 3600 -
                           1.06215442e-8 * 216000) *
                              kFt,
                    2.5)},
      {"Cipolletti", Typed(WeirType::Cipolletti, 3 * kFt), 0.6 * kFt,
       3.367 * 3 * std::pow(0.6, 1.5) * kCfs},
      {"broad-crested, on the grid", Typed(WeirType::BroadCrested, 10 * kFt, 2 * kFt), 1 * kFt,
       2.66 * 10 * kCfs},
      // Head 0.9 ft between rows 0.8 and 1.0, breadth 1.25 ft between 1.0 and 1.5 ft:
      // (2.85 + 2.68)/2 = 2.765 and (2.98 + 2.75)/2 = 2.865, then 2.815.
      {"broad-crested, bilinear", Typed(WeirType::BroadCrested, 10 * kFt, 1.25 * kFt), 0.9 * kFt,
       2.815 * 10 * std::pow(0.9, 1.5) * kCfs},
      // HWr/Lr = 0.015: Cr at 0.45 ft halfway between (0.2, 2.95) and (0.7, 3.03).
      {"roadway, paved, low head", Typed(WeirType::Roadway, 100 * kFt, 30 * kFt), 0.45 * kFt,
       2.99 * 100 * std::pow(0.45, 1.5) * kCfs},
      // HWr/Lr = 0.25: two thirds of the way from (0.15, 2.95) to (0.30, 3.10).
      {"roadway, gravel, high ratio", Gravel(50 * kFt, 12 * kFt), 3 * kFt,
       3.05 * 50 * std::pow(3.0, 1.5) * kCfs},
  };
  for (const auto& row : rows) {
    CheckWeir(row.weir);
    EXPECT_TRUE(testing::Near(WeirDischarge(row.weir, row.head).discharge, row.expected, 1e-9))
        << row.name;
  }
}

TEST(WeirFlow, TailwaterSubmergesByVillemonteOrTheRoadFactor) {
  const double villemonte15 = std::pow(1 - std::pow(0.5, 1.5), 0.385);
  const double villemonte25 = std::pow(1 - std::pow(0.5, 2.5), 0.385);
  const struct {
    const char* name;
    Weir weir;
    double head, tailwater, factor;
  } rows[] = {
      {"tailwater below the crest", Rect(2), 0.4, -0.1, 1},
      {"rectangular, half the head", Rect(2), 0.4, 0.2, villemonte15},
      {"V-notch, half the head", Notch(90), 0.4, 0.2, villemonte25},
      {"road, paved, below 0.8 stays free", Typed(WeirType::Roadway, 30, 10), 1, 0.79, 1},
      {"road, paved, 0.90", Typed(WeirType::Roadway, 30, 10), 1, 0.9, 0.92},
      {"road, paved, 0.96 between points", Typed(WeirType::Roadway, 30, 10), 1, 0.96, 0.75},
      {"road, gravel, 0.99", Gravel(30, 10), 1, 0.99, 0.40},
  };
  for (const auto& row : rows) {
    const WeirFlow free = WeirDischarge(row.weir, row.head);
    const WeirFlow f = WeirDischarge(row.weir, row.head, row.tailwater);
    EXPECT_TRUE(testing::Near(f.submergenceFactor, row.factor, 1e-12)) << row.name;
    EXPECT_TRUE(testing::Near(f.discharge, free.discharge * row.factor, 1e-12)) << row.name;
    EXPECT_EQ(f.submerged, row.factor < 1) << row.name;
  }
}

TEST(WeirFlow, InverseSolvesReturnTheirInputs) {
  const struct {
    const char* name;
    Weir weir;
    double head;
    std::optional<double> tailwater;
  } rows[] = {
      {"Kindsvater-Carter", KindsvaterCarter(1, 2, 0.5), 0.25, {}},
      {"simple, contracted, submerged", Contracted(1.2, 2), 0.35, 0.2},
      {"V-notch", Notch(90), 0.3, {}},
      {"broad-crested", Typed(WeirType::BroadCrested, 4, 0.6), 0.5, {}},
      {"roadway, submerged", Gravel(80, 9), 0.4, 0.37},
  };
  for (const auto& row : rows) {
    WeirInputs in{row.weir, WeirUnknown::Discharge, row.head, 0, row.tailwater};
    const WeirResults forward = SolveWeir(in);
    in.discharge = forward.discharge;
    in.solveFor = WeirUnknown::Head;
    EXPECT_TRUE(testing::Near(SolveWeir(in).head, row.head, 1e-12)) << row.name;
    if (row.weir.type == WeirType::VNotch) continue;
    in.solveFor = WeirUnknown::CrestLength;
    in.weir.crestLength = 0;
    EXPECT_TRUE(testing::Near(SolveWeir(in).crestLength, row.weir.crestLength, 1e-12)) << row.name;
  }
}

TEST(WeirFlow, LeavingAMethodsRangeWarns) {
  const struct {
    const char* name;
    Weir weir;
    double head;
    const char* warning;  // "" for none
  } rows[] = {
      {"K-C in range", KindsvaterCarter(1, 2, 0.5), 0.25, ""},
      {"K-C h/P above 2", KindsvaterCarter(1, 2, 0.2), 0.5, "h/P = 2.5 is above 2"},
      {"K-C L/B below 0.2", KindsvaterCarter(0.3, 2, 0.5), 0.1, "L/B = 0.15 is below 0.2"},
      {"K-C head below 0.03 m", KindsvaterCarter(1, 2, 0.5), 0.02, "below 0.03 m"},
      {"notch angle 120", Notch(120), 0.2, "Ce and kh of 100 degrees are used"},
      {"notch angle 20", Notch(20), 0.2, "Ce and kh of 25 degrees are used"},
      {"broad crest beyond the table", Typed(WeirType::BroadCrested, 4, 6), 0.5,
       "outside the broad-crested coefficient table"},
      {"road head above 4 ft", Typed(WeirType::Roadway, 40, 20), 1.5, "above 4 ft"},
      {"road ratio beyond the curve", Typed(WeirType::Roadway, 40, 3), 1.2, "HWr/Lr = 0.4"},
      {"contracted head over L/3", Contracted(0.6, 2), 0.3, "third of the crest length"},
  };
  for (const auto& row : rows) {
    const WeirFlow f = WeirDischarge(row.weir, row.head);
    if (*row.warning == 0) {
      EXPECT_TRUE(f.warnings.empty()) << row.name << ": " << f.warnings.front();
      continue;
    }
    ASSERT_EQ(f.warnings.size(), 1u) << row.name;
    EXPECT_NE(f.warnings[0].find(row.warning), std::string::npos)
        << row.name << ": " << f.warnings[0];
  }
}

TEST(WeirFlow, RefusalsNameTheField) {
  Weir noWidth = Rect(1, WeirMethod::KindsvaterCarter);
  noWidth.crestHeight = 0.5;
  const struct {
    const char* name;
    WeirInputs in;
    const char* field;
  } rows[] = {
      {"zero crest", {Rect(0), WeirUnknown::Discharge, 0.2, 0, {}}, "crestLength"},
      {"notch of 180 degrees", {Notch(180), WeirUnknown::Discharge, 0.2, 0, {}}, "notchAngle"},
      {"crest wider than the channel",
       {KindsvaterCarter(3, 2, 0.5), WeirUnknown::Discharge, 0.2, 0, {}},
       "crestLength"},
      {"K-C without channel width", {noWidth, WeirUnknown::Discharge, 0.2, 0, {}}, "channelWidth"},
      {"broad crest without breadth",
       {Typed(WeirType::BroadCrested, 2), WeirUnknown::Discharge, 0.2, 0, {}},
       "crestBreadth"},
      {"three contractions",
       {Contracted(2, 3), WeirUnknown::Discharge, 0.2, 0, {}},
       "endContractions"},
      {"negative head", {Rect(2), WeirUnknown::Discharge, -0.1, 0, {}}, "head"},
      {"tailwater above the head", {Rect(2), WeirUnknown::Discharge, 0.2, 0, 0.3}, "tailwaterHead"},
      {"contractions eat the crest",
       {Contracted(0.5, 2), WeirUnknown::Discharge, 3, 0, {}},
       "head"},
      {"more than a contracted crest carries",
       {Contracted(0.5, 2), WeirUnknown::Head, 0, 50, {}},
       "discharge"},
      {"more than the channel's width carries",
       {KindsvaterCarter(1, 2, 0.5), WeirUnknown::CrestLength, 0.1, 5, {}},
       "discharge"},
      {"crest length of a notch", {Notch(90), WeirUnknown::CrestLength, 0.1, 0.1, {}}, "solveFor"},
  };
  for (const auto& row : rows) {
    try {
      SolveWeir(row.in);
      ADD_FAILURE() << row.name << ": not refused";
    } catch (const StructureInputError& e) {
      EXPECT_EQ(e.Field(), row.field) << row.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace rivulet
