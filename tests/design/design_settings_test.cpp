#include "core/design/design_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace rivulet {
namespace {

TEST(DesignSettings, RoundTripKeepsListsAndCriteria) {
  DesignSettings s = DefaultDesignSettings();
  s.lists.push_back({"Plastic (mm)", UnitSystem::SI, {110, 160, 200, 250, 315}});
  s.metricList = "Plastic (mm)";
  s.us.minFullVelocity = DefaultMinFullVelocity(UnitSystem::US);
  s.us.permissibleShear = LiningTable()[7].permissibleShear;
  s.us.lining = LiningTable()[7].name;
  s.metric.minFreeboard = 0.3;
  s.metric.shearSafetyFactor = 1.5;
  DesignSettings read = DefaultDesignSettings();
  ASSERT_EQ(ParseDesignSettings(DesignSettingsText(s), read), "");
  EXPECT_EQ(read.ListFor(UnitSystem::SI).sizes, (std::vector<double>{110, 160, 200, 250, 315}));
  EXPECT_EQ(read.ListFor(UnitSystem::US).name, BuiltInUsSizes().name);
  ASSERT_TRUE(read.us.minFullVelocity);
  EXPECT_NEAR(*read.us.minFullVelocity, 3 * 0.3048, 1e-12);
  ASSERT_TRUE(read.us.permissibleShear);
  EXPECT_NEAR(*read.us.permissibleShear, 3.70 * kPascalPerPsf, 1e-9);
  EXPECT_EQ(read.us.lining, "Vegetation, class A");
  EXPECT_NEAR(read.us.maxVelocity, 10 * 0.3048, 1e-12);
  EXPECT_EQ(read.metric.minFreeboard, 0.3);
  EXPECT_EQ(read.metric.shearSafetyFactor, 1.5);
  EXPECT_FALSE(read.metric.bankHeight);
}

TEST(DesignSettings, UserListsAreSortedAndRepeatsDropped) {
  DesignSettings s = DefaultDesignSettings();
  ASSERT_EQ(ParseDesignSettings(R"({"rivulet":"design","version":1,"sizeLists":[
      {"name":"Mine","system":"US","sizes":[24,12,18,12]}],"usList":"Mine"})",
                                s),
            "");
  EXPECT_EQ(s.ListFor(UnitSystem::US).sizes, (std::vector<double>{12, 18, 24}));
  // A file without a metric list falls back to the built-in one, and so does the file
  // these settings are saved as: it must read again.
  EXPECT_EQ(s.ListFor(UnitSystem::SI).name, BuiltInMetricSizes().name);
  DesignSettings again = DefaultDesignSettings();
  ASSERT_EQ(ParseDesignSettings(DesignSettingsText(s), again), "");
  EXPECT_EQ(DesignSettingsText(again), DesignSettingsText(s));
}

struct BadFile {
  const char* text;
  const char* expected;  // part of the message, naming the field
};

TEST(DesignSettings, BadFilesAreRefusedNamingTheField) {
  const BadFile cases[] = {
      {"", "not valid"},
      {"\x01\x02binary", "not valid"},
      {"[1,2]", "not valid"},
      {R"({"rivulet":"worksheet","version":1})", "not valid"},
      {R"({"rivulet":7,"version":1})", "not valid"},
      {R"({"rivulet":["design"],"version":1})", "not valid"},
      {R"({"rivulet":"design","version":0})", "version 0"},
      {R"({"rivulet":"design","version":-3})", "version -3"},
      {R"({"rivulet":"design"})", "version"},
      {R"({"rivulet":"design","version":2})", "newer"},
      {R"({"rivulet":"design","version":1,"sizeLists":{}})", "sizeLists"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"system":"US","sizes":[1]}]})",
       "sizeLists[0].name"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"name":"a","system":"SI","sizes":[1]}]})",
       "sizeLists[0].system"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"name":"a","system":"US","sizes":[]}]})",
       "sizeLists[0].sizes"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"name":"a","system":"US","sizes":[12,-1]}]})",
       "sizeLists[0].sizes[1]"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"name":"a","system":"US","sizes":["x"]}]})",
       "sizeLists[0].sizes[0]"},
      {R"({"rivulet":"design","version":1,"sizeLists":[{"name":"a","system":"US","sizes":[1]},
          {"name":"a","system":"US","sizes":[2]}]})",
       "repeats"},
      {R"({"rivulet":"design","version":1,"usList":"nothing"})", "usList"},
      {R"x({"rivulet":"design","version":1,"metricList":"US nominal (in)"})x", "metricList"},
      {R"({"rivulet":"design","version":1,"criteria":{"metric":{"maxDepthRatio":1.5}}})",
       "criteria.metric.maxDepthRatio"},
      {R"({"rivulet":"design","version":1,"criteria":{"US":{"minVelocity":0}}})",
       "criteria.US.minVelocity"},
      {R"({"rivulet":"design","version":1,"criteria":{"US":{"minVelocity":12}}})",
       "below maxVelocity"},
      {R"({"rivulet":"design","version":1,"criteria":{"metric":{"permissibleShear":"high"}}})",
       "criteria.metric.permissibleShear"},
      {R"({"rivulet":"design","version":1,"criteria":{"metric":{"shearSafetyFactor":-1}}})",
       "criteria.metric.shearSafetyFactor"},
      {R"({"rivulet":"design","version":1,"criteria":{"metric":{"lining":5}}})",
       "criteria.metric.lining"},
      {R"({"rivulet":"design","version":1,"criteria":[]})", "criteria"},
  };
  for (const BadFile& c : cases) {
    DesignSettings s = DefaultDesignSettings();
    s.metric.maxDepthRatio = 0.7;  // a mark that a refused file leaves untouched
    const std::string message = ParseDesignSettings(c.text, s);
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.text << " -> " << message;
    EXPECT_EQ(s.metric.maxDepthRatio, 0.7) << c.text;
  }
}

TEST(DesignSettings, OversizedFileAndByteOrderMark) {
  DesignSettings s = DefaultDesignSettings();
  EXPECT_NE(ParseDesignSettings(std::string(kDesignSettingsMaxBytes + 1, ' '), s), "");
  EXPECT_EQ(ParseDesignSettings("\xEF\xBB\xBF{\"rivulet\":\"design\",\"version\":1}", s), "");
}

TEST(LiningTable, ValuesConvertFromPoundsPerSquareFoot) {
  EXPECT_NEAR(kPascalPerPsf, 47.880259, 1e-6);
  ASSERT_FALSE(LiningTable().empty());
  EXPECT_EQ(LiningTable()[1].name, "Jute net");
  EXPECT_NEAR(LiningTable()[1].permissibleShear, 0.45 * 47.880259, 1e-5);
}

}  // namespace
}  // namespace rivulet
