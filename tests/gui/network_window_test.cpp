// The storm-sewer network window: the long section follows the chosen path, pipe
// connections typed in the small table reach the worksheet, and pipes come in from CSV and
// the design sheet goes out to it.
#include "gui/networks/network_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/worksheets/network_sheet.h"
#include "gui/worksheets/worksheet_window.h"
#include "support/example_files.h"
#include "support/recording_services.h"
#include "support/temp_folder.h"

namespace rivulet {
namespace {

class NetworkWindowTest : public ::testing::Test {
 protected:
  NetworkWindowTest()
      : window(std::make_unique<WorksheetWindow>(NetworkKind(), services, printer)) {
    SetUpNetworkWindow(*window);
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  }
  void Click(const char* name) {
    auto* button = window->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  testing::TempFolder folder;
};

TEST_F(NetworkWindowTest, TheLongSectionFollowsTheChosenHead) {
  ASSERT_TRUE(window->OpenFile(Example("network-two-streets-si.rvw")));
  auto* view = window->findChild<NetworkProfileView*>("picNetworkProfile");
  auto* path = window->findChild<QComboBox*>("cboProfilePath");
  ASSERT_NE(view, nullptr);
  ASSERT_NE(path, nullptr);
  ASSERT_EQ(path->count(), 2);
  ASSERT_TRUE(view->Profile());
  EXPECT_EQ(view->Profile()->structures.front().id, "I1");
  EXPECT_EQ(view->Profile()->pipes.front().id, "P1");
  path->setCurrentIndex(1);
  EXPECT_EQ(view->Profile()->structures.front().id, "I2");
  EXPECT_EQ(view->Profile()->structures.back().id, "OUT");
  // An edit puts the results out of date: no drawing of figures that no longer hold.
  auto* connections = window->findChild<QTableWidget*>("tblPipeConnections");
  ASSERT_NE(connections, nullptr);
  ASSERT_EQ(connections->rowCount(), 3);
  connections->item(1, 2)->setText("OUT");
  EXPECT_EQ((*window->Model().ListInput("pipes"))[1]["to"], "OUT");
  EXPECT_FALSE(view->Profile());
  window->Calculate();
  EXPECT_EQ(window->Model().State(), ResultsState::Current) << window->Model().StatusText();
}

TEST_F(NetworkWindowTest, PipesComeInFromCsvAndTheSheetGoesOutToIt) {
  ASSERT_TRUE(window->OpenFile(Example("network-two-streets-si.rvw")));
  services.openAnswers.push_back(
      FileChoice{folder.Write("pipes.csv",
                              "id,from,to,length [m],manningsN,slope [%],inflowAngle [degrees]\n"
                              "P1,I1,MH1,600,0.013,0.5,\nP2,I2,MH1,120,0.013,0.5,90\n"
                              "P3,MH1,OUT,80,0.013,0.4,\n"),
                 "pipes.csv"});
  Click("cmdImportPipes");
  ASSERT_TRUE(services.messages.empty()) << services.messages.front().text;
  EXPECT_EQ((*window->Model().ListInput("pipes"))[1]["slope"]["unit"], "%");
  window->Calculate();
  ASSERT_EQ(window->Model().State(), ResultsState::Current) << window->Model().StatusText();

  const std::string out = (folder.path / "pipes-out.csv").string();
  services.saveAnswers.push_back(FileChoice{out, "pipes-out.csv"});
  Click("cmdExportPipes");
  std::ifstream in(out);
  std::string header;
  std::getline(in, header);
  EXPECT_EQ(header.rfind("id,drainageArea [ha],cumulativeCA [ha],timeOfConcentration [min]", 0), 0u)
      << header;
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first.rfind("P1,1,0.5,5,150,", 0), 0u) << first;

  // A table the reader refuses leaves the pipes as they were and says why.
  services.openAnswers.push_back(FileChoice{folder.Write("bad.csv", "id,to\nA,B,C\n"), "bad.csv"});
  Click("cmdImportPipes");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "bad.csv: Line 2 has more cells than the header names.");
  EXPECT_EQ(window->Model().ListInput("pipes")->size(), 3u);
}

}  // namespace
}  // namespace rivulet
