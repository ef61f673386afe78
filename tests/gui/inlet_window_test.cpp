// The inlet worksheet window: its drawings follow the current results only, the inputs of
// other inlets are greyed, the sag's unknown is chosen by its buttons, and the Tools menu
// opens it.
#include "gui/drainage/inlet_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <filesystem>
#include <memory>

#include "core/shell/services.h"
#include "core/worksheets/inlet_sheet.h"
#include "gui/drainage/inlet_plan_view.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

class InletWindowTest : public ::testing::Test {
 protected:
  InletWindowTest() : window(std::make_unique<WorksheetWindow>(InletKind(), services, printer)) {
    SetUpInletWindow(*window);
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
    plan = window->findChild<InletPlanView*>("picPlan");
  }
  bool Enabled(const char* input) {
    return window->findChild<QLineEdit*>(QString("input_") + input)->isEnabled();
  }
  void Choose(const char* option, const char* value) {
    auto* box = window->findChild<QComboBox*>(QString("option_") + option);
    const int index = box->findData(value);
    ASSERT_GE(index, 0) << value;
    box->setCurrentIndex(index);
    emit box->activated(index);
  }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  InletPlanView* plan = nullptr;
};

TEST_F(InletWindowTest, DrawingsShowTheCurrentResultsOnly) {
  ASSERT_NE(plan, nullptr);
  EXPECT_FALSE(plan->Plan().has_value());
  ASSERT_TRUE(window->OpenFile(Example("inlet-sweeper-composite-si.rvw")));
  ASSERT_EQ(window->Model().State(), ResultsState::Current);
  ASSERT_TRUE(plan->Plan().has_value());
  const InletResults& r = plan->Plan()->results;
  EXPECT_NEAR(*r.interceptedDischarge + *r.bypassDischarge, 0.09, 1e-12);
  EXPECT_EQ(plan->Plan()->discharge.symbol, "m³/s");
  auto* section = window->findChild<GutterSectionView*>();
  ASSERT_NE(section, nullptr);
  EXPECT_TRUE(section->Drawing().has_value());

  auto* grateLength = window->findChild<QLineEdit*>("input_grateLength");
  grateLength->setText("1.2");
  emit grateLength->textEdited("1.2");  // an edit: the pictures of the old results go
  EXPECT_EQ(window->Model().State(), ResultsState::Modified);
  EXPECT_FALSE(plan->Plan().has_value());
  EXPECT_FALSE(section->Drawing().has_value());
  EXPECT_FALSE(window->findChild<QLineEdit*>("result_interceptedDischarge")->isEnabled());
}

TEST_F(InletWindowTest, OnlyTheChosenInletsInputsCanBeTyped) {
  const struct {
    const char *location, *type;
    std::vector<const char*> on, off;
  } rows[] = {
      {"grade",
       "grate",
       {"grateLength", "grateWidth", "splashOverVelocity"},
       {"openingLength", "openingHeight", "pondingDepth", "openingRatio"}},
      {"grade",
       "curb-opening",
       {"openingLength", "depression", "depressionWidth"},
       {"grateLength", "openingHeight", "slotWidth"}},
      {"sag",
       "combination",
       {"grateLength", "openingLength", "openingHeight", "openingRatio"},
       {"splashOverVelocity", "depression", "slotWidth"}},
      {"sag", "slotted", {"openingLength", "slotWidth"}, {"grateWidth", "openingHeight"}},
  };
  for (const auto& row : rows) {
    Choose("location", row.location);
    Choose("inletType", row.type);
    for (const char* name : row.on) EXPECT_TRUE(Enabled(name)) << row.type << " " << name;
    for (const char* name : row.off) EXPECT_FALSE(Enabled(name)) << row.type << " " << name;
  }
}

TEST_F(InletWindowTest, SagUnknownIsChosenByItsButtons) {
  auto* capacity = window->findChild<QRadioButton*>("optSolveCapacity");
  ASSERT_NE(capacity, nullptr);
  EXPECT_FALSE(capacity->isEnabled());  // on a grade there is no choice
  Choose("location", "sag");
  EXPECT_TRUE(capacity->isEnabled());
  EXPECT_FALSE(Enabled("pondingDepth"));
  capacity->click();
  EXPECT_EQ(window->Model().Unknown(), "capacity");
  EXPECT_TRUE(Enabled("pondingDepth"));
  EXPECT_EQ(window->Model().ToDocument().solveFor, "capacity");
}

// The inlet sheet is taller than a small screen leaves: it scrolls, but the status line and
// Calculate must stay in view.
TEST_F(InletWindowTest, StatusLineAndCalculateStayOutsideTheScrollingSheet) {
  auto* scroll = window->findChild<QScrollArea*>();
  ASSERT_NE(scroll, nullptr);
  EXPECT_TRUE(scroll->isAncestorOf(window->findChild<QLineEdit*>("input_discharge")));
  EXPECT_FALSE(scroll->isAncestorOf(window->findChild<QLineEdit*>("txtStatus")));
  EXPECT_FALSE(scroll->isAncestorOf(window->findChild<QPushButton*>("cmdCalculate")));
}

TEST(InletToolsMenu, OpensTheInletWindow) {
  RecordingServices services;
  SharedPrinter printer;
  QMainWindow main;
  main.menuBar()->addMenu("&Help");
  AddToolsMenu(main, BuiltInKinds(), services, printer);
  auto* item = main.findChild<QAction*>("mnuTools_inlet");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&Inlet...");
  item->trigger();
  WorksheetWindow* opened = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "worksheet_inlet") opened = qobject_cast<WorksheetWindow*>(w);
  ASSERT_NE(opened, nullptr);
  EXPECT_NE(opened->findChild<InletPlanView*>("picPlan"), nullptr);
  // It fits a 1366x768 screen.
  EXPECT_LE(opened->width(), 1366);
  EXPECT_LE(opened->height(), 768);
  opened->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  opened->close();
}

}  // namespace
}  // namespace rivulet
