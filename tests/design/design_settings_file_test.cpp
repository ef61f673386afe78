#include "core/design/design_settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace rivulet {
namespace {

class DesignSettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/rivulet-dsn-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  void Write(const std::string& text) {
    std::ofstream(folder + "/" + kDesignSettingsFileName, std::ios::binary) << text;
  }
  std::string folder;
};

TEST_F(DesignSettingsFileTest, NoFileGivesTheBuiltInSettingsQuietly) {
  std::string problem;
  const DesignSettings s = LoadDesignSettings(StartupValues::ForFolder(folder), &problem);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(s.ListFor(UnitSystem::SI).name, BuiltInMetricSizes().name);
}

TEST_F(DesignSettingsFileTest, SavedSettingsReadBack) {
  DesignSettings s = DefaultDesignSettings();
  s.metric.maxDepthRatio = 0.75;
  s.lists.push_back({"Plastic", UnitSystem::SI, {110, 160}});
  s.metricList = "Plastic";
  const StartupValues startup = StartupValues::ForFolder(folder);
  ASSERT_EQ(SaveDesignSettings(startup, s), folder + "/" + kDesignSettingsFileName);
  std::string problem;
  const DesignSettings read = LoadDesignSettings(startup, &problem);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(read.metric.maxDepthRatio, 0.75);
  EXPECT_EQ(read.ListFor(UnitSystem::SI).sizes, (std::vector<double>{110, 160}));
}

TEST_F(DesignSettingsFileTest, ABadFileIsReportedWithItsPathAndTheBuiltInsUsed) {
  Write(R"({"rivulet":"design","version":1,"criteria":{"metric":{"maxVelocity":-3}}})");
  std::string problem;
  const DesignSettings s = LoadDesignSettings(StartupValues::ForFolder(folder), &problem);
  EXPECT_NE(problem.find("criteria.metric.maxVelocity"), std::string::npos) << problem;
  EXPECT_NE(problem.find(folder), std::string::npos) << problem;
  EXPECT_EQ(s.metric.maxVelocity, 3.0);
}

TEST_F(DesignSettingsFileTest, AnOversizedFileIsRefused) {
  Write(std::string(kDesignSettingsMaxBytes + 10, ' '));
  std::string problem;
  LoadDesignSettings(StartupValues::ForFolder(folder), &problem);
  EXPECT_NE(problem.find("too large"), std::string::npos) << problem;
}

}  // namespace
}  // namespace rivulet
