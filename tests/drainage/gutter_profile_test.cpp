#include "core/drainage/gutter_profile.h"

#include <gtest/gtest.h>

#include <string>

namespace rivulet {
namespace {

// Height of the bed polyline at offset x (m), between the points that straddle it.
double BedHeightAt(const GutterProfile& p, double x) {
  for (size_t i = 0; i + 1 < p.bed.size(); ++i) {
    const ProfilePoint a = p.bed[i], b = p.bed[i + 1];
    if (a.x < b.x && x >= a.x && x <= b.x) return a.z + (x - a.x) * (b.z - a.z) / (b.x - a.x);
  }
  return -1;
}

GutterInputs Street(GutterType type) {
  GutterInputs in;
  in.gutterType = type;
  in.longitudinalSlope = 0.01;
  in.manningsN = 0.016;
  in.crossSlope = 0.02;
  in.gutterWidth = 0.6;
  in.gutterDepression = 0.05;
  in.crossSlope1 = 0.25;
  in.crossSlope2 = 0.25;
  in.crossSlope3 = 0.02;
  in.slopeBreakWidth = 0.3;
  in.discharge = 0.08;
  return in;
}

// The water surface must meet the drawn bed at both of its edges, or the picture lies about
// the spread.
TEST(GutterProfileTest, WaterMeetsTheBedAtTheSpread) {
  for (GutterType type : {GutterType::Uniform, GutterType::Composite, GutterType::VShaped}) {
    for (double q : {0.005, 0.08, 0.4}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(type)) + " Q " + std::to_string(q));
      GutterInputs in = Street(type);
      in.discharge = q;
      const GutterResults r = SolveGutter(in);
      ASSERT_TRUE(r.Ok());
      const GutterProfile p = GutterSectionProfile(in, r);
      EXPECT_NEAR(p.waterRight - p.waterLeft, r.spread, 1e-12);
      EXPECT_NEAR(BedHeightAt(p, p.waterRight), p.waterLevel, 1e-12);
      if (type == GutterType::VShaped) {
        EXPECT_NEAR(BedHeightAt(p, p.waterLeft), p.waterLevel, 1e-12);
        EXPECT_FALSE(p.hasKerb);
      } else {
        EXPECT_EQ(p.waterLeft, 0);
        EXPECT_GT(p.kerbHeight, p.waterLevel);
      }
      EXPECT_LT(p.left, p.waterLeft);
      EXPECT_GT(p.right, p.waterRight);
      EXPECT_GE(p.top, p.waterLevel);
    }
  }
}

TEST(GutterProfileTest, GivenKerbIsDrawnAsGiven) {
  GutterInputs in = Street(GutterType::Composite);
  in.kerbHeight = 0.1;
  in.discharge = 0.4;  // overtops it
  const GutterProfile p = GutterSectionProfile(in, SolveGutter(in));
  EXPECT_TRUE(p.kerbHeightGiven);
  EXPECT_EQ(p.kerbHeight, 0.1);
  EXPECT_GT(p.waterLevel, p.kerbHeight);
  EXPECT_EQ(p.panWidth, 0.6);
}

TEST(GutterProfileTest, ExaggerationIsARoundFigureThatFits) {
  const struct {
    double fit;
    int expected;
  } rows[] = {{0.3, 1}, {1.0, 1}, {1.9, 1}, {2.0, 2},   {4.99, 2},     {5, 5}, {9.9, 5},
              {12, 10}, {49, 20}, {75, 50}, {180, 100}, {1e9, 500000}, {-1, 1}};
  for (const auto& row : rows) EXPECT_EQ(DrawingExaggeration(row.fit), row.expected) << row.fit;
}

}  // namespace
}  // namespace rivulet
