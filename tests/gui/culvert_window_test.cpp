// The culvert window: its profile and curve follow the current results only, and the
// performance table goes to a CSV file and, tab-separated, to the clipboard.
#include "gui/culverts/culvert_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "support/example_files.h"
#include "support/recording_services.h"
#include "support/temp_folder.h"

namespace rivulet {
namespace {

TEST(CulvertWindow, FollowsResultsAndSavesThePerformanceTable) {
  RecordingServices services;
  SharedPrinter printer;
  WorksheetWindow window(CulvertKind(), services, printer);
  window.SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  SetUpCulvertWindow(window);
  auto* profile = window.findChild<CulvertProfileView*>("culvertProfileView");
  ASSERT_NE(profile, nullptr);
  ASSERT_TRUE(window.OpenFile(Example("culvert-twin-box-overtopping-si.rvw")));
  ASSERT_TRUE(profile->Solved().has_value());
  EXPECT_TRUE(profile->Solved()->results.state.overtopping);

  testing::TempFolder folder;
  const std::string path = (folder.path / "performance.csv").string();
  services.saveAnswers.push_back(FileChoice{path, "performance.csv"});
  auto* save = window.findChild<QAction*>("mnuCulvertSaveCsv");
  ASSERT_NE(save, nullptr);
  save->trigger();
  std::ifstream in(path, std::ios::binary);
  const std::string csv{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "discharge (m3/s),headwater inlet (m),headwater outlet (m),headwater (m),barrel "
            "discharge (m3/s),overtopping discharge (m3/s)");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 42);
  window.findChild<QAction*>("mnuCulvertCopyPerformance")->trigger();
  ASSERT_TRUE(services.clipboard.has_value());
  std::string tabbed = csv;
  std::replace(tabbed.begin(), tabbed.end(), ',', '\t');
  EXPECT_EQ(*services.clipboard, tabbed);

  // An edit leaves the results out of date: nothing is drawn from them.
  auto* box = window.findChild<QLineEdit*>("input_discharge");
  ASSERT_NE(box, nullptr);
  box->setText("50");
  emit box->textEdited(box->text());
  EXPECT_FALSE(profile->Solved().has_value());
}

}  // namespace
}  // namespace rivulet
