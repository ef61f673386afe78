// Orifice flow against hand calculations, the weir-to-orifice switch at the top of the
// opening, the inverse solves and the refusals.
#include "core/structures/orifice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/structures/structure_error.h"
#include "support/near.h"

namespace rivulet {
namespace {

constexpr double kFt = 0.3048;
const double kG = 9.80665;
const double kRoot2g = std::sqrt(2 * kG);
const double kCircle10cm = std::numbers::pi / 4 * 0.01;

Orifice Circle(double d, OrificeEdge edge = OrificeEdge::SquareEdged, double invert = 100) {
  Orifice o;
  o.diameter = d;
  o.edge = edge;
  o.invertElevation = invert;
  return o;
}
Orifice Slot(double w, double h, OrificeEdge edge = OrificeEdge::SquareEdged) {
  Orifice o = Circle(0, edge);
  o.shape = OrificeShape::Rectangular;
  o.width = w;
  o.height = h;
  return o;
}
Orifice Given(Orifice o, double cd) {
  o.dischargeCoefficient = cd;
  return o;
}

TEST(OrificeFlow, MatchesHandCalculations) {
  const struct {
    const char* name;
    Orifice orifice;
    double up;
    std::optional<double> down;
    double expected;  // m³/s
    OrificeRegime regime;
  } rows[] = {
      {"free, head to the centroid",
       Circle(0.1),
       101,
       {},
       0.6 * kCircle10cm * kRoot2g * std::sqrt(0.95),
       OrificeRegime::Orifice},
      {"US, 6 in under 2.75 ft to the centroid",
       Circle(0.5 * kFt, OrificeEdge::SquareEdged, 0),
       3 * kFt,
       {},
       0.6 * std::numbers::pi / 4 * 0.25 * std::sqrt(2 * kG / kFt * 2.75) * kFt * kFt * kFt,
       OrificeRegime::Orifice},
      {"downstream below the centroid", Circle(0.1), 101, 100.04,
       0.6 * kCircle10cm * kRoot2g * std::sqrt(0.95), OrificeRegime::Orifice},
      {"submerged, the difference of levels", Circle(0.1), 101, 100.5,
       0.6 * kCircle10cm * kRoot2g * std::sqrt(0.5), OrificeRegime::Orifice},
      {"below the top, a weir",
       Circle(0.1),
       100.05,
       {},
       0.6 * kCircle10cm * std::sqrt(kG) * std::pow(0.05, 1.5) / 0.1,
       OrificeRegime::Weir},
      {"below the invert", Circle(0.1), 99.9, {}, 0, OrificeRegime::None},
      {"ragged",
       Circle(0.1, OrificeEdge::Ragged),
       101,
       {},
       0.4 * kCircle10cm * kRoot2g * std::sqrt(0.95),
       OrificeRegime::Orifice},
      {"given coefficient",
       Given(Circle(0.1, OrificeEdge::Rounded), 0.92),
       101,
       {},
       0.92 * kCircle10cm * kRoot2g * std::sqrt(0.95),
       OrificeRegime::Orifice},
      // Sharp edge, 4 ft over the centroid: Cd 0.608.
      {"sharp circle on a row",
       Circle(0.1, OrificeEdge::Sharp),
       100.05 + 4 * kFt,
       {},
       0.608 * kCircle10cm * kRoot2g * std::sqrt(4 * kFt),
       OrificeRegime::Orifice},
      // 3 ft: halfway between 0.613 (2 ft) and 0.608 (4 ft).
      {"sharp circle between rows",
       Circle(0.1, OrificeEdge::Sharp),
       100.05 + 3 * kFt,
       {},
       0.6105 * kCircle10cm * kRoot2g * std::sqrt(3 * kFt),
       OrificeRegime::Orifice},
      // 2:1 upright is halfway (in the logarithm) from the square 0.620 to 4:1's 0.634 at 2 ft.
      {"sharp 2:1 slot",
       Slot(0.1, 0.2, OrificeEdge::Sharp),
       100.1 + 2 * kFt,
       {},
       0.627 * 0.02 * kRoot2g * std::sqrt(2 * kFt),
       OrificeRegime::Orifice},
  };
  for (const auto& row : rows) {
    CheckOrifice(row.orifice);
    const OrificeFlow f = OrificeDischarge(row.orifice, row.up, row.down);
    EXPECT_TRUE(testing::Near(f.discharge, row.expected, 1e-12)) << row.name;
    EXPECT_EQ(f.regime, row.regime) << row.name;
  }
}

TEST(OrificeFlow, WeirMeetsOrificeAtTheTopAndFlowRisesWithTheWater) {
  for (const std::optional<double> down : {std::optional<double>{}, std::optional(100.095)}) {
    const Orifice o = Circle(0.1);
    const OrificeFlow below = OrificeDischarge(o, 100.1 - 1e-9, down);
    const OrificeFlow at = OrificeDischarge(o, 100.1 + 1e-9, down);
    EXPECT_EQ(below.regime, OrificeRegime::Weir);
    EXPECT_EQ(at.regime, OrificeRegime::Orifice);
    if (!down) {
      EXPECT_TRUE(testing::Near(below.discharge, at.discharge, 1e-7));
    }
    double last = 0;
    for (double up = 100.0; up < 100.4; up += 0.001) {
      const double q = OrificeDischarge(o, up, down).discharge;
      EXPECT_GE(q, last) << "upstream " << up;
      last = q;
    }
  }
}

TEST(OrificeFlow, InverseSolvesReturnTheirInputs) {
  const struct {
    const char* name;
    Orifice orifice;
    double up;
    std::optional<double> down;
  } rows[] = {
      {"free", Circle(0.15), 101.2, {}},
      {"weir below the top", Circle(0.3), 100.2, {}},
      {"submerged", Circle(0.2), 101, 100.6},
      {"sharp slot", Slot(0.3, 0.1, OrificeEdge::Sharp), 102, {}},
  };
  for (const auto& row : rows) {
    OrificeInputs in{row.orifice, OrificeUnknown::Discharge, row.up, row.down, 0};
    in.discharge = SolveOrifice(in).discharge;
    in.solveFor = OrificeUnknown::UpstreamElevation;
    EXPECT_TRUE(testing::Near(SolveOrifice(in).upstreamElevation, row.up, 1e-12)) << row.name;
    in.solveFor = OrificeUnknown::Size;
    const Orifice found = SolveOrifice(in).orifice;
    const bool circle = row.orifice.shape == OrificeShape::Circular;
    EXPECT_TRUE(testing::Near(circle ? found.diameter : found.width,
                              circle ? row.orifice.diameter : row.orifice.width, 1e-10))
        << row.name;
  }
}

TEST(OrificeFlow, RefusalsNameTheField) {
  const struct {
    const char* name;
    OrificeInputs in;
    const char* field;
  } rows[] = {
      {"zero diameter", {Circle(0), OrificeUnknown::Discharge, 101, {}, 0}, "diameter"},
      {"rounded without a coefficient",
       {Circle(0.1, OrificeEdge::Rounded), OrificeUnknown::Discharge, 101, {}, 0},
       "dischargeCoefficient"},
      {"coefficient above 1",
       {Given(Circle(0.1), 1.2), OrificeUnknown::Discharge, 101, {}, 0},
       "dischargeCoefficient"},
      {"tailwater above the headwater",
       {Circle(0.1), OrificeUnknown::Discharge, 101, 101.5, 0},
       "downstreamElevation"},
      {"slot without height", {Slot(0.2, 0), OrificeUnknown::Discharge, 101, {}, 0}, "height"},
      {"size with the water below the invert",
       {Circle(0), OrificeUnknown::Size, 99, {}, 0.1},
       "upstreamElevation"},
  };
  for (const auto& row : rows) {
    try {
      SolveOrifice(row.in);
      ADD_FAILURE() << row.name << ": not refused";
    } catch (const StructureInputError& e) {
      EXPECT_EQ(e.Field(), row.field) << row.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace rivulet
