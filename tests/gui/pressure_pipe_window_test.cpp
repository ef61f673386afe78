// The pressure-pipe window: the drawing and the curve's CSV follow the current results only,
// and a material chosen by the user fills in its values where a file's stay as they are.
#include "gui/pipes/pressure_pipe_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/worksheets/pressure_pipe_sheet.h"
#include "gui/pipes/pressure_pipe_view.h"
#include "support/example_files.h"
#include "support/recording_services.h"
#include "support/temp_folder.h"

namespace rivulet {
namespace {

class PressurePipeWindowTest : public ::testing::Test {
 protected:
  PressurePipeWindowTest()
      : window(std::make_unique<WorksheetWindow>(PressurePipeKind(), services, printer)) {
    SetUpPressurePipeWindow(*window);
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
    view = window->findChild<PressurePipeView*>("pressurePipeView");
  }
  void Choose(const char* option, int index) {
    auto* box = window->findChild<QComboBox*>(QString("option_") + option);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  std::string Text(const char* input) {
    return window->findChild<QLineEdit*>(QString("input_") + input)->text().toStdString();
  }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  PressurePipeView* view = nullptr;
  testing::TempFolder folder;
};

TEST_F(PressurePipeWindowTest, DrawingAndCurveFollowTheCurrentResults) {
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->Drawing().has_value());
  EXPECT_FALSE(SaveHeadLossCurve(*window));  // nothing solved: said so, nothing asked
  EXPECT_TRUE(services.saveAnswers.empty());
  ASSERT_TRUE(window->OpenFile(Example("pressure-pipe-force-main-si.rvw")));
  ASSERT_TRUE(view->Drawing().has_value());
  EXPECT_NEAR(view->Drawing()->solved.results.flow.diameter, 0.2759068932, 1e-9);
  // The file's roughness was kept: a material read from a file fills nothing in.
  EXPECT_EQ(Text("roughness"), "0.25908");

  const std::string path = (folder.path / "curve.csv").string();
  services.saveAnswers.push_back(FileChoice{path, "curve.csv"});
  ASSERT_TRUE(SaveHeadLossCurve(*window));
  std::ifstream in(path, std::ios::binary);
  const std::string csv{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "Discharge (m3/s),Head Loss (m)\r\n");
  // The design point is the sixth of eleven points, at the head the ends leave.
  const size_t at = csv.find("\r\n0.085,");
  ASSERT_NE(at, std::string::npos) << csv;
  EXPECT_NEAR(std::stod(csv.substr(at + 8)), 18.5, 1e-9);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 12);

  // The fittings' table sits under the inputs, beside the results.
  auto* fittings = window->findChild<QWidget*>("list_minorLosses");
  ASSERT_NE(fittings, nullptr);
  window->show();
  QApplication::processEvents();
  const int right = fittings->mapTo(window.get(), QPoint(fittings->width(), 0)).x();
  EXPECT_LT(right, view->mapTo(window.get(), QPoint(0, 0)).x());

  Choose("material", 4);  // plastic: its roughness in the box's mm, C and n beside it
  EXPECT_EQ(Text("roughness"), "0.001524");
  EXPECT_EQ(Text("hazenWilliamsC"), "140");
  EXPECT_EQ(Text("manningsN"), "0.015");
  EXPECT_FALSE(view->Drawing().has_value());
  EXPECT_FALSE(window->findChild<QPushButton*>("cmdSaveCurve")->isEnabled());
}

}  // namespace
}  // namespace rivulet
