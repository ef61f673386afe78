// The gutter worksheet window: its drawing follows the current results only, the inputs of
// other sections are greyed, and the Tools menu opens it.
#include "gui/drainage/gutter_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <memory>

#include "core/shell/services.h"
#include "core/worksheets/gutter_sheet.h"
#include "gui/drainage/gutter_section_view.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

class GutterWindowTest : public ::testing::Test {
 protected:
  GutterWindowTest() : window(std::make_unique<WorksheetWindow>(GutterKind(), services, printer)) {
    SetUpGutterWindow(*window);
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
    view = window->findChild<GutterSectionView*>("picSection");
  }
  bool Enabled(const char* input) {
    return window->findChild<QLineEdit*>(QString("input_") + input)->isEnabled();
  }
  void ChooseType(int index) {
    auto* box = window->findChild<QComboBox*>("option_gutterType");
    box->setCurrentIndex(index);
    emit box->activated(index);
  }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  GutterSectionView* view = nullptr;
};

TEST_F(GutterWindowTest, DrawingShowsTheCurrentResultsOnly) {
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->Drawing().has_value());
  ASSERT_TRUE(window->OpenFile(Example("gutter-composite-si.rvw")));
  ASSERT_EQ(window->Model().State(), ResultsState::Current);
  ASSERT_TRUE(view->Drawing().has_value());
  EXPECT_NEAR(view->Drawing()->profile.spread, 2.8823466903, 1e-9);
  EXPECT_EQ(view->Drawing()->profile.panWidth, 0.6);
  EXPECT_EQ(view->Drawing()->unit.symbol, "m");

  // US results: the dimensions are labelled in feet.
  auto* system = window->findChild<QComboBox*>("cboResultUnits");
  system->setCurrentIndex(1);
  emit system->activated(1);
  window->Calculate();
  ASSERT_TRUE(view->Drawing().has_value());
  EXPECT_EQ(view->Drawing()->unit.symbol, "ft");
  EXPECT_DOUBLE_EQ(view->Drawing()->unit.metres, 0.3048);

  ChooseType(0);  // an edit: the picture of the old results goes
  EXPECT_EQ(window->Model().State(), ResultsState::Modified);
  EXPECT_FALSE(view->Drawing().has_value());
}

TEST_F(GutterWindowTest, OnlyTheChosenSectionsInputsCanBeTyped) {
  const struct {
    int type;
    std::vector<const char*> on, off;
  } rows[] = {
      {0,
       {"crossSlope", "gutterWidth", "discharge"},
       {"gutterCrossSlope", "gutterDepression", "crossSlope1", "slopeBreakWidth", "depthAtCurb"}},
      {1,
       {"crossSlope", "gutterWidth", "gutterCrossSlope", "gutterDepression"},
       {"crossSlope1", "crossSlope3"}},
      {2,
       {"crossSlope1", "crossSlope2", "crossSlope3", "slopeBreakWidth"},
       {"crossSlope", "gutterWidth", "gutterDepression"}},
  };
  for (const auto& row : rows) {
    ChooseType(row.type);
    for (const char* name : row.on) EXPECT_TRUE(Enabled(name)) << row.type << " " << name;
    for (const char* name : row.off) EXPECT_FALSE(Enabled(name)) << row.type << " " << name;
  }
  // A composite gutter needs its width: its caption loses "(optional)".
  ChooseType(1);
  bool required = false;
  for (QLabel* label : window->findChildren<QLabel*>())
    required = required || label->text() == "Gutter Width W";
  EXPECT_TRUE(required);
}

TEST(GutterToolsMenu, OpensTheGutterWindow) {
  RecordingServices services;
  SharedPrinter printer;
  QMainWindow main;
  main.menuBar()->addMenu("&Help");
  AddToolsMenu(main, BuiltInKinds(), services, printer);
  auto* item = main.findChild<QAction*>("mnuTools_gutter");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&Gutter Flow...");
  item->trigger();
  WorksheetWindow* opened = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "worksheet_gutter") opened = qobject_cast<WorksheetWindow*>(w);
  ASSERT_NE(opened, nullptr);
  EXPECT_NE(opened->findChild<GutterSectionView*>("picSection"), nullptr);
  opened->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  opened->close();
}

}  // namespace
}  // namespace rivulet
