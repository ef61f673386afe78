// The Case Table window over the example table: opened from Tools, recalculated in slices
// with the window answering in between, edited, sorted and filtered, exchanged with the
// calculation window and the clipboard, saved and printed to PDF.
#include "gui/cases/case_table_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <filesystem>
#include <fstream>

#include "core/files/calc_file.h"
#include "gui/cases/case_table_model.h"
#include "support/example_files.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CaseWindowTest : public ViewTest {
 protected:
  CaseWindowTest()
      : folder(fs::temp_directory_path() / ("rivulet-cases-" + std::to_string(::getpid()))) {
    fs::create_directories(folder);
    AttachCaseTableWindow(form, services, printer, view.get());
    form.mnuCaseTable.Click();
    window = view->findChild<CaseTableWindow*>("frmCaseTable");
    EXPECT_NE(window, nullptr);
  }
  ~CaseWindowTest() override {
    if (window) window->Document().SetModified(false);
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  void OpenExample() {
    ASSERT_TRUE(window->OpenPath(
        QString::fromStdString((ExamplesFolder() / "storm-sewer-cases.csv").string())));
  }
  // Recalculates everything, turning the event loop as the application would.
  void RecalculateAndWait() {
    window->RecalculateAll();
    QElapsedTimer clock;
    clock.start();
    while (window->Recalculating() && clock.elapsed() < 60000) QCoreApplication::processEvents();
    ASSERT_FALSE(window->Recalculating());
  }
  QString Shown(int row, const char* column) {
    const auto c = window->Document().Column(column);
    const QAbstractItemModel* m = window->TableView()->model();
    return m->data(m->index(row, static_cast<int>(*c))).toString();
  }
  std::string Cell(size_t row, const char* column) {
    return window->Document().Row(row).cells[*window->Document().Column(column)];
  }

  SharedPrinter printer;
  fs::path folder;
  CaseTableWindow* window = nullptr;
};

TEST_F(CaseWindowTest, OpensFromTheToolsMenuAndFitsTheSmallScreen) {
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_LE(window->frameGeometry().width(), 1366);
  EXPECT_LE(window->frameGeometry().height(), 768);
  QStringList menus;
  for (QAction* a : window->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Table", "&Help"}));
  // A second choice of the menu raises the same window.
  form.mnuCaseTable.Click();
  EXPECT_EQ(view->findChildren<CaseTableWindow*>().size(), 1);
}

TEST_F(CaseWindowTest, RecalculatesEveryRowWithStatusWordedAndColoured) {
  OpenExample();
  ASSERT_EQ(window->Document().RowCount(), 11u);
  EXPECT_EQ(Shown(0, "status"), "New: not calculated yet");
  RecalculateAndWait();
  EXPECT_EQ(Shown(0, "status"), kStatusComplete);
  EXPECT_EQ(Cell(0, "depth"), "153.573289948645");
  EXPECT_EQ(Shown(10, "status"), kStatusNotCalculated);
  const QAbstractItemModel* m = window->TableView()->model();
  const int status = static_cast<int>(*window->Document().Column("status"));
  EXPECT_EQ(m->data(m->index(0, status), Qt::BackgroundRole).value<QBrush>().color(),
            QColor(192, 255, 192));
  EXPECT_EQ(m->data(m->index(10, status), Qt::BackgroundRole).value<QBrush>().color(),
            QColor(255, 192, 192));
  EXPECT_EQ(m->data(m->index(10, status), Qt::ToolTipRole).toString(),
            "flowUnit: \"L/min\" is not a velocity or discharge unit");
  // The status stands beside the name.
  EXPECT_EQ(window->TableView()->horizontalHeader()->visualIndex(status), 1);
  // Opening calculates every row, and that is no change to save; a recalculation asked for
  // afterwards is.
  EXPECT_TRUE(window->windowTitle().endsWith("storm-sewer-cases.csv"));
  RecalculateAndWait();
  EXPECT_TRUE(window->windowTitle().endsWith("storm-sewer-cases.csv *"));
}

// A typed cell (with a decimal comma), an added row and deleted rows are one step each;
// recalculating is none, and undoing back to the file leaves nothing to save.
TEST_F(CaseWindowTest, UndoAndRedoStepThroughTableEdits) {
  OpenExample();
  RecalculateAndWait();
  services.saveAnswers.push_back(FileChoice{(folder / "undo.csv").string(), "undo.csv"});
  ASSERT_TRUE(window->SaveAs());
  QUndoStack* undo = window->UndoStack();
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->count(), 0) << "results are no step";
  const std::string depth = Cell(0, "depth");
  QAbstractItemModel* m = window->TableView()->model();
  m->setData(m->index(0, static_cast<int>(*window->Document().Column("flow"))), "47,5");
  window->AddRow();
  window->TableView()->selectRow(1);
  window->DeleteRows();
  ASSERT_EQ(undo->count(), 3);
  EXPECT_EQ(window->Document().RowCount(), 11u);

  undo->undo();
  EXPECT_EQ(window->Document().RowCount(), 12u);
  undo->undo();
  EXPECT_EQ(window->Document().RowCount(), 11u);
  EXPECT_EQ(Cell(0, "flow"), "47,5");
  RecalculateAndWait();
  EXPECT_EQ(Shown(0, "status"), kStatusComplete) << "the comma is the decimal point";
  EXPECT_NE(Cell(0, "depth"), depth);
  undo->undo();
  EXPECT_EQ(Cell(0, "depth"), depth) << "the row as it was, with its results";
  EXPECT_FALSE(window->Document().Modified());
  EXPECT_FALSE(window->windowTitle().endsWith("*"));
  undo->redo();
  EXPECT_EQ(Cell(0, "flow"), "47,5");
  EXPECT_TRUE(window->windowTitle().endsWith("*"));
}

TEST_F(CaseWindowTest, EditsMarkTheRowAndResultsAreReadOnly) {
  OpenExample();
  RecalculateAndWait();
  QAbstractItemModel* m = window->TableView()->model();
  const int slope = static_cast<int>(*window->Document().Column("slope"));
  const int area = static_cast<int>(*window->Document().Column("area"));
  EXPECT_TRUE(m->flags(m->index(0, slope)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->flags(m->index(0, area)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m->setData(m->index(0, area), "1", Qt::EditRole));
  ASSERT_TRUE(m->setData(m->index(0, slope), "9", Qt::EditRole));
  EXPECT_EQ(Shown(0, "status"), kStatusModified);
  EXPECT_EQ(window->Document().Row(0).mark, CaseRowMark::Pending);
  RecalculateAndWait();
  EXPECT_EQ(Shown(0, "status"), kStatusComplete);
  EXPECT_NE(Cell(0, "depth"), "153.573289948645");
}

TEST_F(CaseWindowTest, TenThousandRowsStayResponsiveAndCanBeCancelled) {
  std::string csv =
      "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,slope,slopeUnit,"
      "manningsN\n";
  for (int i = 0; i < 10000; ++i)
    csv += "r" + std::to_string(i) + ",rectangle,depth," + std::to_string(0.1 + i * 1e-4) +
           ",m3/s,,m,1,m,2,/1000,0.015\n";
  std::ofstream(folder / "many.csv", std::ios::binary) << csv;
  ASSERT_TRUE(window->OpenPath(QString::fromStdString((folder / "many.csv").string())));
  // The longest the event loop waits between two turns while rows are calculated.
  qint64 longest = 0;
  QElapsedTimer sinceTick;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout,
                   [&] { longest = std::max(longest, sinceTick.restart()); });
  ticker.start(1);
  sinceTick.start();
  RecalculateAndWait();
  ticker.stop();
  EXPECT_EQ(window->Document().CountMarked(CaseRowMark::Solved), 10000u);
  EXPECT_LT(longest, 250) << "the window did not answer for " << longest << " ms";

  // The last rows edited: a cancel after the first slice leaves them waiting.
  const int depth = static_cast<int>(*window->Document().Column("depth"));
  for (int r = 9990; r < 10000; ++r)
    window->Model()->setData(window->Model()->index(r, depth), "0.1", Qt::EditRole);
  EXPECT_EQ(window->Document().CountMarked(CaseRowMark::Pending), 10u);
  window->RecalculateAll();
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->Recalculating());
  window->CancelRecalculation();
  EXPECT_FALSE(window->Recalculating());
  EXPECT_EQ(window->Document().CountMarked(CaseRowMark::Pending), 10u);
}

TEST_F(CaseWindowTest, SortsNumbersAsNumbersAndFilters) {
  OpenExample();
  RecalculateAndWait();
  QTableView* t = window->TableView();
  const int flow = static_cast<int>(*window->Document().Column("flow"));
  t->sortByColumn(flow, Qt::AscendingOrder);
  std::vector<double> shown;
  for (size_t r : window->ShownRows())
    if (Cell(r, "flowUnit") == "L/s") shown.push_back(std::stod(Cell(r, "flow")));
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_EQ(shown.size(), 7u);
  window->Filter()->SetText("TRAPEZOID");
  EXPECT_EQ(window->ShownRows().size(), 1u);
  window->Filter()->SetText("");
  window->Filter()->SetMark(static_cast<int>(CaseRowMark::Rejected));
  ASSERT_EQ(window->ShownRows().size(), 1u);
  EXPECT_EQ(Cell(window->ShownRows()[0], "name"), "Bad unit");
  // A surcharged row is a status of its own: shown by the list's last entry and counted.
  auto* show = window->findChild<QComboBox*>("cboShow");
  ASSERT_NE(show, nullptr);
  show->setCurrentIndex(show->count() - 1);
  EXPECT_EQ(show->currentText(), "Pipe surcharged");
  ASSERT_EQ(window->ShownRows().size(), 1u);
  EXPECT_EQ(Cell(window->ShownRows()[0], "name"), "MH5-OUT");
  EXPECT_TRUE(window->findChild<QLabel*>("lblCounts")->text().contains("1 surcharged"));
}

TEST_F(CaseWindowTest, RowsTravelBetweenTheTableAndTheCalculationWindow) {
  ASSERT_EQ(OpenNamedFile(form, (ExamplesFolder() / "storm-sewer-pipe.rvl").string()),
            OpenResult::Loaded);
  const std::string depth = form.txtDepth.Text();
  window->AddCurrentSheet();
  ASSERT_EQ(window->Document().RowCount(), 1u);
  EXPECT_EQ(window->Document().Row(0).mark, CaseRowMark::Solved);
  EXPECT_EQ(Cell(0, "depth"), depth);
  EXPECT_EQ(Cell(0, "name"), "storm-sewer-pipe.rvl");
  // The sheet moves on; opening the row puts the sewer back and calculates it.
  form.cboSection.SetListIndex(3);
  form.txtDepth.SetText("1");
  window->TableView()->setCurrentIndex(window->TableView()->model()->index(0, 0));
  window->OpenRowInSheet();
  EXPECT_EQ(form.cboSection.ListIndex(), 0);
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(form.txtDepth.Text(), depth);
  EXPECT_EQ(Box("txtDepth")->text().toStdString(), depth);
}

// The calculation window's Exit (its close) asks about the table's edits: Cancel keeps
// both windows, Save writes the table, Discard lets them go with the file untouched.
TEST_F(CaseWindowTest, ExitAsksAboutTheTablesEdits) {
  const std::string csv = (folder / "cases.csv").string();
  fs::copy_file(ExamplesFolder() / "storm-sewer-cases.csv", csv);
  const std::string saved = Slurp(csv);
  const struct {
    SaveChoice answer;
    bool closes;
    bool written;
  } cases[] = {{SaveChoice::Cancel, false, false},
               {SaveChoice::Save, true, true},
               {SaveChoice::Discard, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    std::ofstream(csv, std::ios::binary) << saved;
    view->show();
    form.mnuCaseTable.Click();
    ASSERT_TRUE(window->OpenPath(QString::fromStdString(csv)));
    window->Document().SetCell(0, *window->Document().Column("slope"), "7");
    services.questions.clear();
    services.saveChoices = {c.answer};
    EXPECT_EQ(view->close(), c.closes);
    EXPECT_EQ(view->isVisible(), !c.closes);
    EXPECT_EQ(window->isVisible(), !c.closes);
    ASSERT_EQ(services.questions.size(), 1u);
    EXPECT_EQ(services.questions[0].text, "Save changes to the case table cases.csv?");
    EXPECT_EQ(Slurp(csv) != saved, c.written);
  }
}

// Closed with Discard, the table comes back from the Tools menu empty when it had no file,
// or as its file holds it.
TEST_F(CaseWindowTest, DiscardOnCloseDiscards) {
  window->AddRow();
  services.saveChoices = {SaveChoice::Discard};
  EXPECT_TRUE(window->close());
  form.mnuCaseTable.Click();
  EXPECT_EQ(window->Document().RowCount(), 0u);
  EXPECT_FALSE(window->Document().Modified());

  OpenExample();
  const std::string slope = Cell(0, "slope");
  window->Document().SetCell(0, *window->Document().Column("slope"), "7");
  window->AddRow();
  services.saveChoices = {SaveChoice::Discard};
  EXPECT_TRUE(window->close());
  form.mnuCaseTable.Click();
  ASSERT_EQ(window->Document().RowCount(), 11u);
  EXPECT_EQ(Cell(0, "slope"), slope);
  EXPECT_FALSE(window->Document().Modified());
  EXPECT_TRUE(window->windowTitle().endsWith("storm-sewer-cases.csv"));
}

TEST_F(CaseWindowTest, CopyPasteSaveAndPdf) {
  OpenExample();
  RecalculateAndWait();
  QTableView* t = window->TableView();
  t->selectRow(2);
  window->CopyRows();
  ASSERT_TRUE(services.clipboard);
  EXPECT_EQ(services.clipboard->rfind("name\t", 0), 0u);
  window->PasteRows();
  ASSERT_EQ(window->Document().RowCount(), 12u);
  EXPECT_EQ(window->Document().Row(3).cells, window->Document().Row(2).cells);

  const std::string csv = (folder / "saved.csv").string();
  services.saveAnswers.push_back(FileChoice{csv, "saved.csv"});
  ASSERT_TRUE(window->SaveAs());
  EXPECT_FALSE(window->windowTitle().endsWith("*"));
  EXPECT_EQ(Slurp(csv).rfind("\xEF\xBB\xBFname,section", 0), 0u);

  // Enough rows for several landscape pages.
  for (int i = 0; i < 5; ++i) {
    t->selectAll();
    window->CopyRows();
    window->PasteRows();
  }
  const std::string pdf = (folder / "cases.pdf").string();
  services.saveAnswers.push_back(FileChoice{pdf, "cases.pdf"});
  window->SavePdf();
  const std::string bytes = Slurp(pdf);
  ASSERT_EQ(bytes.rfind("%PDF", 0), 0u);
  size_t pages = 0;
  for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
       at = bytes.find("/Type /Page\n", at + 1))
    ++pages;
  EXPECT_GE(pages, 2u);
  EXPECT_NE(bytes.find("/MediaBox [0 0 842"), std::string::npos) << "not landscape A4";
}

}  // namespace
}  // namespace rivulet
