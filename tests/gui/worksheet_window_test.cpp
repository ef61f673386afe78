#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/shell/services.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/example_files.h"
#include "support/near.h"
#include "support/recording_services.h"
#include "worksheets/test_kind.h"

namespace rivulet {
namespace {

using testing::StripKind;
using testing::TempFolder;

class WorksheetWindowTest : public ::testing::Test {
 protected:
  WorksheetWindowTest()
      : window(std::make_unique<WorksheetWindow>(StripKind(), services, printer)) {
    window->SetSaveQuestion([this](const std::string& name) {
      asked.push_back(name);
      return answer;
    });
    window->show();
    window->activateWindow();
    active = QTest::qWaitForWindowActive(window.get());
  }

  QLineEdit* Box(const QString& name) {
    auto* w = window->findChild<QLineEdit*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  void Type(const QString& name, const QString& keys) {
    QLineEdit* box = Box(name);
    box->setFocus();
    box->selectAll();
    if (keys.isEmpty())
      QTest::keyClick(box, Qt::Key_Backspace);
    else
      QTest::keyClicks(box, keys);
  }
  void FillStrip() {
    Type("input_width", "3");
    Type("input_depth", "0.5");
    Type("input_slope", "0.1");
    Type("input_manningsN", "0.013");
    window->findChild<QComboBox*>("unit_slope")->setCurrentIndex(2);  // %
    emit window->findChild<QComboBox*>("unit_slope")->activated(2);
  }
  QString Status() { return Box("txtStatus")->text(); }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  std::vector<std::string> asked;
  SaveAnswer answer = SaveAnswer::Cancel;
  TempFolder folder;
  bool active = false;
};

TEST_F(WorksheetWindowTest, CalculateMakesResultsCurrentAndAnyEditMarksThemModified) {
  EXPECT_EQ(Status(), kWorksheetWelcome);
  FillStrip();
  QTest::mouseClick(window->findChild<QAbstractButton*>("cmdCalculate"), Qt::LeftButton);
  EXPECT_EQ(Status(), kCalculationsComplete);
  QLineEdit* discharge = Box("result_discharge");
  ASSERT_NE(discharge, nullptr);
  EXPECT_EQ(discharge->text(), "1.897");
  EXPECT_TRUE(discharge->isEnabled());
  EXPECT_EQ(Box("input_discharge")->text(), "1.89744305911");
  EXPECT_TRUE(Box("input_discharge")->isReadOnly());

  Type("input_width", "4");
  EXPECT_EQ(Status(), kWorksheetModified);
  EXPECT_FALSE(Box("result_discharge")->isEnabled()) << "stale results shown as current";
  EXPECT_TRUE(window->isWindowModified());

  // F5 calculates from anywhere in the window.
  if (!active) GTEST_SKIP() << "the window could not be made active for its shortcuts";
  QTest::keyClick(Box("input_width"), Qt::Key_F5);
  EXPECT_EQ(Status(), kCalculationsComplete);
  EXPECT_TRUE(Box("result_discharge")->isEnabled());
  EXPECT_NE(Box("result_discharge")->text(), "1.897");
}

TEST_F(WorksheetWindowTest, BoxesKeepOnlyNumbersAndTheUnknownIsChosenByOptionButtons) {
  Type("input_width", "12abc");
  EXPECT_EQ(Box("input_width")->text(), "12");
  Type("input_width", ".");
  EXPECT_EQ(Box("input_width")->text(), "0.");
  QTest::mouseClick(window->findChild<QRadioButton*>("unknown_depth"), Qt::LeftButton);
  EXPECT_EQ(window->Model().Unknown(), "depth");
  EXPECT_TRUE(Box("input_depth")->isReadOnly());
  EXPECT_FALSE(Box("input_discharge")->isReadOnly());
  EXPECT_FALSE(window->findChild<QRadioButton*>("unknown_discharge")->isChecked());
}

TEST_F(WorksheetWindowTest, ARefusalPutsTheCaretInTheFieldItNames) {
  FillStrip();
  Type("input_width", "");
  window->Calculate();
  EXPECT_EQ(Status(), "Input \"width\" is missing.");
  if (active) {
    EXPECT_TRUE(Box("input_width")->hasFocus());
  }
  EXPECT_EQ(window->findChild<QLineEdit*>("result_discharge"), nullptr);
}

TEST_F(WorksheetWindowTest, SaveAndOpenGiveTheSameWorksheetBack) {
  FillStrip();
  Type("txtTitle", "Ditch 4");
  window->findChild<QComboBox*>("unit_width")->setCurrentIndex(3);  // ft
  emit window->findChild<QComboBox*>("unit_width")->activated(3);
  window->Calculate();
  const std::string path = (folder.path / "ditch.rvw").string();
  services.saveAnswers.push_back(FileChoice{path, "ditch.rvw"});
  ASSERT_TRUE(window->SaveAs());
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_TRUE(window->windowTitle().contains("ditch.rvw"));
  ASSERT_EQ(services.saveRequests.size(), 1u);
  EXPECT_EQ(services.saveRequests[0].proposedName, "strip.rvw");
  EXPECT_EQ(services.saveRequests[0].startFolder, "") << "before a save: the documents folder";

  WorksheetWindow again(StripKind(), services, printer);
  services.openAnswers.push_back(FileChoice{path, "ditch.rvw"});
  ASSERT_TRUE(again.Open());
  services.saveAnswers.push_back(std::nullopt);
  EXPECT_FALSE(again.SaveAs());
  EXPECT_EQ(services.saveRequests.back().startFolder, folder.path.string());
  EXPECT_EQ(again.findChild<QLineEdit*>("txtTitle")->text(), "Ditch 4");
  EXPECT_EQ(again.findChild<QLineEdit*>("input_width")->text(), "3");
  EXPECT_EQ(again.findChild<QComboBox*>("unit_width")->currentData().toString(), "ft");
  EXPECT_EQ(again.Model().State(), ResultsState::Current);
  EXPECT_EQ(WorksheetText(again.Model().ToDocument()), WorksheetText(window->Model().ToDocument()));

  // A file of another kind is refused with a message and leaves the window as it was.
  const std::string other =
      folder.Write("pond.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "pond"})");
  EXPECT_FALSE(again.OpenFile(other));
  ASSERT_FALSE(services.messages.empty());
  EXPECT_EQ(services.messages.back().text, "The file holds a pond worksheet, not a strip one.");
  EXPECT_EQ(again.findChild<QLineEdit*>("input_width")->text(), "3");
}

TEST_F(WorksheetWindowTest, ClosingWithUnsavedChangesAsksAndHonoursTheAnswer) {
  EXPECT_TRUE(window->close()) << "nothing to save, nothing asked";
  EXPECT_TRUE(asked.empty());
  window->show();
  Type("input_width", "3");

  answer = SaveAnswer::Cancel;
  EXPECT_FALSE(window->close());
  EXPECT_EQ(asked, std::vector<std::string>{"Untitled"});
  EXPECT_TRUE(window->isVisible());

  answer = SaveAnswer::Save;  // Save As is cancelled: the window stays
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());

  const std::string path = (folder.path / "kept.rvw").string();
  services.saveAnswers.push_back(FileChoice{path, "kept.rvw"});
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(std::filesystem::exists(path));

  window->show();
  Type("input_width", "5");
  answer = SaveAnswer::Discard;
  EXPECT_TRUE(window->close());
  EXPECT_EQ(asked.back(), "kept.rvw");
  const WorksheetRead read = ReadWorksheetFile(path);
  ASSERT_TRUE(read.document);
  EXPECT_EQ(read.document->inputs["width"]["value"], 3) << "a discarded edit was saved";
}

TEST_F(WorksheetWindowTest, AFailedSaveAsSaysWhyAndKeepsThePreviousFile) {
  Type("input_width", "3");
  const std::string first = (folder.path / "first.rvw").string();
  services.saveAnswers.push_back(FileChoice{first, "first.rvw"});
  ASSERT_TRUE(window->SaveAs());
  Type("input_width", "4");
  const std::string missing = (folder.path / "gone" / "second.rvw").string();
  services.saveAnswers.push_back(FileChoice{missing, "second.rvw"});
  EXPECT_FALSE(window->SaveAs());
  ASSERT_FALSE(services.messages.empty());
  EXPECT_EQ(
      services.messages.back().text.rfind("The worksheet could not be saved to " + missing, 0), 0u);
  EXPECT_EQ(window->Model().FileName(), "first.rvw");
  EXPECT_TRUE(window->isWindowModified());
}

TEST_F(WorksheetWindowTest, ReportGoesToPdfAndResultsToTheClipboard) {
  FillStrip();
  window->Calculate();
  window->CopyResults();
  ASSERT_TRUE(services.clipboard);
  EXPECT_NE(services.clipboard->find("Discharge\t1.897\tm³/s"), std::string::npos);

  const std::string pdf = (folder.path / "strip.pdf").string();
  services.saveAnswers.push_back(FileChoice{pdf, "strip.pdf"});
  ASSERT_TRUE(window->SavePdf());
  std::ifstream in(pdf, std::ios::binary);
  std::string head(5, '\0');
  in.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

TEST_F(WorksheetWindowTest, FitsASmallLaptopScreen) {
  EXPECT_LE(window->width(), 1366);
  EXPECT_LE(window->height(), 740);
}

TEST(WorksheetTools, TheToolsMenuSitsBeforeHelpAndOpensAWindowPerKind) {
  RecordingServices services;
  SharedPrinter printer;
  QMainWindow main;
  main.menuBar()->addMenu("&File");
  main.menuBar()->addMenu("&Help");
  AddToolsMenu(main, testing::TestKinds(), services, printer);
  const QList<QAction*> menus = main.menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(menus[1]->text(), "&Tools");
  QAction* item = main.findChild<QAction*>("mnuTools_strip");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "Strip Flow...");
  item->trigger();
  WorksheetWindow* opened = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* ws = qobject_cast<WorksheetWindow*>(w); ws && ws->isVisible()) opened = ws;
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->Model().Kind().name, "strip");
  opened->close();

  TempFolder folder;
  const std::string file = folder.Write("a.rvw", testing::StripText(testing::kStripInputs));
  WorksheetWindow* fromFile = OpenWorksheetWindow(file, testing::TestKinds(), services, printer);
  ASSERT_NE(fromFile, nullptr);
  EXPECT_EQ(fromFile->Model().State(), ResultsState::Current);
  fromFile->close();
  const std::string pond =
      folder.Write("pond.rvw", R"({"rivulet": "worksheet", "version": 1, "kind": "pond"})");
  EXPECT_EQ(OpenWorksheetWindow(pond, testing::TestKinds(), services, printer), nullptr);
  EXPECT_EQ(services.messages.back().text, "Unknown worksheet kind \"pond\".");
}

// Every kind's window opens its example solved, and Help (F1), its last menu, opens the help
// page at the kind's own section.
TEST(WorksheetKindWindows, EachOpensItsExampleAndHasHelpAtItsSection) {
  for (const WorksheetKind* kind : BuiltInKinds()) {
    SCOPED_TRACE(kind->name);
    std::string example;
    for (const auto& entry : std::filesystem::directory_iterator(ExamplesFolder())) {
      const WorksheetRead read = ReadWorksheetFile(entry.path().string());
      if (read.document && read.document->kind == kind->name) example = entry.path().string();
    }
    ASSERT_FALSE(example.empty()) << "no example of this kind in examples/";
    RecordingServices services;
    SharedPrinter printer;
    WorksheetWindow* window = OpenWorksheetWindow(example, BuiltInKinds(), services, printer);
    ASSERT_NE(window, nullptr);
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
    EXPECT_EQ(window->Model().State(), ResultsState::Current) << window->Model().StatusText();
    EXPECT_EQ(window->menuBar()->actions().last()->text(), "&Help");
    auto* help = window->findChild<QAction*>("mnuWorksheetHelp");
    EXPECT_NE(help, nullptr) << "the window has no Help";
    if (help) {
      EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
      help->trigger();
      ASSERT_EQ(services.launched.size(), 1u);
      const std::string& target = services.launched[0];
      EXPECT_EQ(target.rfind("file://", 0), 0u) << target;
      EXPECT_NE(target.find("RVHELP/RVHELP.HTM#" + kind->helpAnchor), std::string::npos) << target;
    }
    window->close();
  }
}

// A list input is edited as a table: rows added, comma decimals taken, a column's unit
// converting its values, a word that is no number marked and refused on Calculate.
TEST(WorksheetListEditor, EditsRowsAsTheFileHoldsThem) {
  RecordingServices services;
  SharedPrinter printer;
  WorksheetWindow window(testing::WeirRowKind(), services, printer);
  window.show();
  auto* table = window.findChild<QTableWidget*>("table_weirs");
  ASSERT_NE(table, nullptr);
  window.findChild<QLineEdit*>("input_head")->setText("0.25");
  emit window.findChild<QLineEdit*>("input_head")->textEdited("0.25");
  QTest::mouseClick(window.findChild<QAbstractButton*>("add_weirs"), Qt::LeftButton);
  QTest::mouseClick(window.findChild<QAbstractButton*>("add_weirs"), Qt::LeftButton);
  ASSERT_EQ(table->rowCount(), 2);
  table->item(0, 0)->setText("main");
  table->item(0, 1)->setText("2,5");  // a comma locale's 2.5
  table->item(1, 1)->setText("1");
  auto* shape = qobject_cast<QComboBox*>(table->cellWidget(1, 3));
  ASSERT_NE(shape, nullptr);
  shape->setCurrentIndex(1);
  emit shape->activated(1);
  window.Calculate();
  // 1.7 · 2.5 · 0.125 + 2 · 1.7 · 1 · 0.125 = 0.95625
  ASSERT_EQ(window.Model().State(), ResultsState::Current) << window.Model().StatusText();
  EXPECT_TRUE(testing::Near(*window.Model().Outcome().Find("discharge")->value, 0.95625));
  const nlohmann::json rows = *window.Model().ListInput("weirs");
  EXPECT_EQ(rows[0]["id"], "main");
  EXPECT_EQ(rows[0]["length"]["value"], 2.5);
  EXPECT_EQ(rows[1]["shape"], "double");
  auto* results = window.findChild<QTableWidget*>("resultTable_weirs");
  ASSERT_NE(results, nullptr);
  ASSERT_EQ(results->rowCount(), 2);
  EXPECT_EQ(results->item(0, 0)->text(), "main");
  EXPECT_EQ(results->item(1, 1)->text(), "0.425");

  // Feet for the column: 2.5 m shows as 8.2021 ft and the answer does not change.
  auto* unit = window.findChild<QComboBox*>("unit_weirs_length");
  unit->setCurrentIndex(unit->findData("ft"));
  emit unit->activated(unit->currentIndex());
  EXPECT_TRUE(table->item(0, 1)->text().startsWith("8.202099737"))
      << table->item(0, 1)->text().toStdString();
  window.Calculate();
  EXPECT_TRUE(testing::Near(*window.Model().Outcome().Find("discharge")->value, 0.95625, 1e-12));

  table->item(1, 1)->setText("abc");
  EXPECT_EQ(table->item(1, 1)->text(), "abc");  // kept as typed, not reverted
  EXPECT_FALSE(results->isEnabled()) << "a table of stale results shown as current";
  window.Calculate();
  EXPECT_EQ(window.Model().State(), ResultsState::Failed);
  EXPECT_EQ(window.Model().StatusText(), "Input \"weirs\" row 2, \"length\" is missing.");

  table->selectRow(1);
  QTest::mouseClick(window.findChild<QAbstractButton*>("remove_weirs"), Qt::LeftButton);
  EXPECT_EQ(window.Model().ListInput("weirs")->size(), 1u);
  window.Calculate();
  EXPECT_EQ(window.Model().State(), ResultsState::Current);
}

}  // namespace
}  // namespace rivulet
