#include "core/design/standard_sizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/hydraulics/flow_details.h"

namespace rivulet {
namespace {

double ManningPipeQ(double d, double y, double s, double n) {
  ChannelSection pipe;
  pipe.shape = SectionKind::Pipe;
  pipe.diameter = d;
  const SectionGeometry g = GeometryAt(pipe, y);
  return g.area * std::pow(g.area / g.perimeter, 2.0 / 3.0) * std::sqrt(s) / n;
}

class SizingAcrossLists : public ::testing::TestWithParam<double> {};

// For every size of both lists: a discharge just above the next smaller size's capacity
// chooses this size, which carries it within the limit, and the smaller one does not.
TEST_P(SizingAcrossLists, ChoosesTheSmallestSizeThatCarries) {
  const double ratio = GetParam();
  const double slope = 0.004, n = 0.013;
  for (const SizeList& list : {BuiltInMetricSizes(), BuiltInUsSizes()}) {
    const double unit = NominalToMetres(list.system);
    for (size_t i = 1; i < list.sizes.size(); ++i) {
      const double smaller = CapacityWithinDepthRatio(list.sizes[i - 1] * unit, slope, n, ratio);
      const double q = smaller * 1.0001;
      auto chosen = SmallestStandardSize(list, slope, n, q, ratio);
      ASSERT_TRUE(chosen) << list.name << " " << list.sizes[i];
      EXPECT_EQ(chosen->nominal, list.sizes[i]) << list.name << " ratio " << ratio;
      EXPECT_LE(chosen->depth, ratio * chosen->diameter * (1 + 1e-12));
      EXPECT_NEAR(ManningPipeQ(chosen->diameter, chosen->depth, slope, n), q, q * 1e-9);
      ChannelSection pipe;
      pipe.shape = SectionKind::Pipe;
      pipe.diameter = chosen->diameter;
      EXPECT_NEAR(chosen->velocity * GeometryAt(pipe, chosen->depth).area, q, q * 1e-12);
      EXPECT_DOUBLE_EQ(chosen->percentFull, 100 * chosen->depth / chosen->diameter);
      EXPECT_DOUBLE_EQ(chosen->spare, chosen->fullFlow - q);
      EXPECT_FALSE(SizeAt(list, list.sizes[i - 1], slope, n, q, ratio));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, SizingAcrossLists, ::testing::Values(0.5, 0.8, 0.938, 1.0));

TEST(StandardSizes, ADischargeExactlyAtASizesCapacityChoosesThatSize) {
  const SizeList list = BuiltInMetricSizes();
  const double q = CapacityWithinDepthRatio(0.45, 0.002, 0.013, 0.8);
  auto chosen = SmallestStandardSize(list, 0.002, 0.013, q, 0.8);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->nominal, 450);
  EXPECT_NEAR(chosen->percentFull, 80, 1e-6);
  // A hair more than rounding can explain moves up a size.
  chosen = SmallestStandardSize(list, 0.002, 0.013, q * (1 + 1e-9), 0.8);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->nominal, 525);
}

TEST(StandardSizes, CapacityAboveThePeakDepthIsThePeak) {
  const PipeFlowPoint peak = PipeMaximumFlow(0.6, 0.01, 0.012);
  EXPECT_DOUBLE_EQ(CapacityWithinDepthRatio(0.6, 0.01, 0.012, 1.0), peak.discharge);
  EXPECT_LT(CapacityWithinDepthRatio(0.6, 0.01, 0.012, 0.8), peak.discharge);
  // Half full carries half the full flow.
  EXPECT_NEAR(CapacityWithinDepthRatio(0.6, 0.01, 0.012, 0.5),
              PipeFullFlow(0.6, 0.01, 0.012).discharge / 2, 1e-12);
}

TEST(StandardSizes, NormalDepthInvertsManning) {
  for (double ratio : {0.05, 0.3, 0.5, 0.8, 0.93}) {
    const double q = ManningPipeQ(0.9, ratio * 0.9, 0.003, 0.013);
    EXPECT_NEAR(PipeNormalDepth(0.9, 0.003, 0.013, q), ratio * 0.9, 1e-12) << ratio;
  }
}

TEST(StandardSizes, NothingIsChosenWhenNoSizeCarriesOrNothingFlows) {
  const SizeList list = BuiltInUsSizes();
  EXPECT_FALSE(SmallestStandardSize(list, 0.01, 0.013, 1e4, 0.8));  // far beyond 108 in
  EXPECT_FALSE(SmallestStandardSize(list, 0, 0.013, 1, 0.8));
  EXPECT_FALSE(SmallestStandardSize(list, 0.01, 0, 1, 0.8));
  EXPECT_FALSE(SmallestStandardSize(list, 0.01, 0.013, 0, 0.8));
}

TEST(StandardSizes, ListsAreAscendingInTheirUnits) {
  EXPECT_STREQ(NominalUnit(UnitSystem::US), "in");
  EXPECT_STREQ(NominalUnit(UnitSystem::SI), "mm");
  for (const SizeList& list : {BuiltInMetricSizes(), BuiltInUsSizes()}) {
    EXPECT_TRUE(std::is_sorted(list.sizes.begin(), list.sizes.end())) << list.name;
  }
  EXPECT_EQ(BuiltInMetricSizes().sizes.size(), 24u);
  EXPECT_EQ(BuiltInUsSizes().sizes.size(), 23u);
}

}  // namespace
}  // namespace rivulet
