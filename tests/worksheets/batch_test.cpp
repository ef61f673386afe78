#include "core/batch/batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/batch/worksheet_batch.h"
#include "support/example_files.h"
#include "support/worksheet_batch.h"
#include "test_kind.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;
using testing::kStripInputs;
using testing::StripText;
using testing::TestKinds;

class WorksheetBatch : public testing::WorksheetBatchTest {
 protected:
  const KindTable& Kinds() const override { return TestKinds(); }
  const std::string good = folder.Write("good.rvw", StripText(kStripInputs));
  // Named .rvl, but a worksheet by content.
  const std::string unsolved =
      folder.Write("unsolved.rvl", StripText(R"({"width": {"value": -3, "unit": "m"}})"));
  const std::string pond = folder.Write(
      "pond.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "pond", "inputs": {}})");
  const std::string newer =
      folder.Write("newer.rvw", R"({"rivulet": "worksheet", "version": 2, "kind": "strip"})");
  const std::string broken = folder.Write("broken.rvw", "{\"rivulet\": \"work");
};

TEST_F(WorksheetBatch, ExitStatusFollowsTheWorstFile) {
  const struct {
    std::vector<std::string> files;
    int status;
    std::string stderrText;
  } cases[] = {
      {{good}, kBatchAllSolved, ""},
      {{good, Example("storm-sewer-pipe.rvl")}, kBatchAllSolved, ""},
      {{good, unsolved},
       kBatchSomeUnsolved,
       "Strip Flow: Input \"width\" must be greater than zero.\n"},
      {{pond, good},
       kBatchBadFile,
       "Rivulet: Unknown worksheet kind \"pond\".\n" + pond +
           ": cannot be opened as a worksheet file\n"},
      {{unsolved, newer},
       kBatchBadFile,
       "Strip Flow: Input \"width\" must be greater than zero.\nRivulet: This worksheet is "
       "version 2; this program reads worksheets up to version 1.\n" +
           newer + ": cannot be opened as a worksheet file\n"},
      {{broken},
       kBatchBadFile,
       "Rivulet: The worksheet is not valid JSON at line 1, column 18: invalid string: missing "
       "closing quote; last read: '\"work'.\n" +
           broken + ": cannot be opened as a worksheet file\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.front());
    EXPECT_EQ(Run(c.files, BatchOutput::Reports), c.status);
    EXPECT_EQ(err.str(), c.stderrText);
  }
}

TEST_F(WorksheetBatch, ReportsKeepTheOrderOfTheFilesSeparatedByFormFeeds) {
  const std::vector<std::string> files{Example("v-ditch.rvl"), good, pond, unsolved,
                                       Example("storm-sewer-pipe.rvl")};
  EXPECT_EQ(Run(files, BatchOutput::Reports), kBatchBadFile);
  std::vector<std::string> reports{""};
  std::istringstream lines(out.str());
  for (std::string l; std::getline(lines, l);) {
    if (l == "\f") {
      reports.emplace_back();
      continue;
    }
    reports.back() += l + "\n";
  }
  ASSERT_EQ(reports.size(), 4u);  // the unknown kind gives no report
  EXPECT_NE(reports[0].find("v-ditch.rvl"), std::string::npos);
  EXPECT_NE(reports[1].find("Strip Flow"), std::string::npos);
  EXPECT_NE(reports[1].find(fs::absolute(good).string()), std::string::npos);
  EXPECT_NE(reports[1].find("Calculations Complete!"), std::string::npos);
  EXPECT_NE(reports[2].find("must be greater than zero"), std::string::npos);
  EXPECT_EQ(reports[2].find("(X)"), reports[2].find("(X)  Denotes")) << "results of a refusal";
  EXPECT_NE(reports[3].find("storm-sewer-pipe.rvl"), std::string::npos);
}

TEST_F(WorksheetBatch, CalculationFilesAloneGiveExactlyWhatTheyGaveBefore) {
  const std::vector<std::string> files{Example("v-ditch.rvl"), Example("street-gutter.rvl"),
                                       broken.substr(0, broken.size() - 4) + "absent.rvl",
                                       Example("grassed-swale.rvl")};
  for (BatchOutput output :
       {BatchOutput::Reports, BatchOutput::ReportsWithDetails, BatchOutput::Json}) {
    std::ostringstream before, beforeErr;
    const int status = RunBatch(files, Startup(), output, before, beforeErr);
    EXPECT_EQ(Run(files, output), status);
    EXPECT_EQ(out.str(), before.str());
    EXPECT_EQ(err.str(), beforeErr.str());
  }
}

TEST_F(WorksheetBatch, JsonGivesOneObjectPerReadableFile) {
  EXPECT_EQ(Run({good, Example("v-ditch.rvl"), unsolved, broken}, BatchOutput::Json),
            kBatchBadFile);
  std::istringstream lines(out.str());
  std::vector<nlohmann::json> objects;
  for (std::string l; std::getline(lines, l);) objects.push_back(nlohmann::json::parse(l));
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0]["kind"], "strip");
  EXPECT_EQ(objects[0]["file"], good);
  EXPECT_NEAR(objects[0]["results"]["discharge"]["value"].get<double>(), 1.897443, 1e-6);
  EXPECT_FALSE(objects[1].contains("kind") && objects[1]["kind"] == "strip");
  EXPECT_EQ(objects[2]["status"]["ok"], false);
  EXPECT_EQ(objects[2]["status"]["field"], "width");
  EXPECT_TRUE(objects[2]["results"].empty());
}

TEST_F(WorksheetBatch, ForEachBatchReportHandsEveryReportInOrder) {
  std::vector<std::string> firstLines;
  const int status = ForEachBatchReport(
      {good, Example("v-ditch.rvl")}, Startup(), TestKinds(), err,
      [&](const std::vector<std::string>& lines) { firstLines.push_back(lines.at(10)); });
  EXPECT_EQ(status, kBatchAllSolved);
  ASSERT_EQ(firstLines.size(), 2u);
  EXPECT_EQ(firstLines[0], "          Strip Flow");
  EXPECT_NE(firstLines[1].find("Channel Section"), std::string::npos);
}

TEST_F(WorksheetBatch, ForEachBatchReportAddsDetailsToCalculationsOnly) {
  const DesignSettings design = DefaultDesignSettings();
  std::vector<std::vector<std::string>> reports;
  const int status = ForEachBatchReport(
      {good, Example("v-ditch.rvl")}, Startup(), TestKinds(), err,
      [&](const std::vector<std::string>& lines) { reports.push_back(lines); }, &design);
  EXPECT_EQ(status, kBatchAllSolved);
  ASSERT_EQ(reports.size(), 2u);
  auto has = [](const std::vector<std::string>& lines, const char* text) {
    for (const std::string& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  };
  EXPECT_FALSE(has(reports[0], "Flow Details")) << "a worksheet has no flow details";
  EXPECT_TRUE(has(reports[1], "Flow Details"));
  EXPECT_TRUE(has(reports[1], "Design checks"));
}

}  // namespace
}  // namespace rivulet
