// The Rating Table window over a solved storm sewer: table, plot marks and hovering, the
// inputs, the sheet's changes, and the exports.
#include "gui/window/rating_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QToolTip>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "core/files/calc_file.h"
#include "gui/window/rating_plot.h"
#include "support/example_files.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class RatingWindowTest : public ViewTest {
 protected:
  RatingWindowTest() : folder(fs::temp_directory_path() / ("rivulet-rating-" + Pid())) {
    fs::create_directories(folder);
    EXPECT_EQ(OpenNamedFile(form, Example("storm-sewer-pipe.rvl")), OpenResult::Loaded);
    view->Sync();
    AttachRatingWindow(form, services, printer, view.get());
    form.mnuRatingTable.Click();
    window = view->findChild<RatingWindow*>("frmRating");
    if (window) exposed = QTest::qWaitForWindowExposed(window);
  }
  ~RatingWindowTest() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  static std::string Pid() { return std::to_string(::getpid()); }

  QString Cell(int row, int column) {
    const QAbstractItemModel* m = window->TableView()->model();
    return m->data(m->index(row, column)).toString();
  }
  template <class W>
  W* Child(const char* name) {
    W* w = window->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Choose(const char* list, int position) {
    auto* box = Child<QComboBox>(list);
    box->setCurrentIndex(position);
    emit box->activated(position);
  }

  fs::path folder;
  SharedPrinter printer;
  RatingWindow* window = nullptr;
  bool exposed = false;
};

TEST_F(RatingWindowTest, ViewMenuOpensItAfterFlowDetails) {
  QMenu* menu = nullptr;
  for (QAction* a : view->menuBar()->actions())
    if (a->text() == "&View") menu = a->menu();
  ASSERT_NE(menu, nullptr);
  QStringList items;
  for (QAction* a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(items, (QStringList{"&Circular Pipe", "&Rectangle", "&Trapezoid", "Tr&iangle",
                                "&Gutter", "-", "&Flow Details", "R&ating Table"}));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Rating Table - storm-sewer-pipe.rvl");
}

TEST_F(RatingWindowTest, TableAndPlotShowTheSolvedPipe) {
  ASSERT_NE(window, nullptr);
  const QAbstractItemModel* m = window->TableView()->model();
  ASSERT_EQ(m->rowCount(), 51);
  ASSERT_EQ(m->columnCount(), 6);
  EXPECT_EQ(m->headerData(3, Qt::Horizontal).toString(), "Discharge\n(L/s)");
  EXPECT_EQ(Cell(50, 0), "450.00");
  EXPECT_EQ(Cell(50, 4), "") << "a full pipe has no Froude number";
  EXPECT_EQ(Cell(25, 5), "50.00");
  EXPECT_EQ(Child<QLabel>("lblRatingChannel")->text(),
            "Circular Pipe: diameter 450 mm, slope 5 /1000, n 0.013");

  ASSERT_TRUE(exposed);
  RatingPlotView* plot = window->Plot();
  plot->repaint();
  for (RatingMarkKind kind : {RatingMarkKind::Solution, RatingMarkKind::Critical,
                              RatingMarkKind::FullFlow, RatingMarkKind::MaximumFlow})
    ASSERT_TRUE(plot->MarkPosition(kind)) << RatingMarkName(kind);
  EXPECT_FALSE(plot->MarkPosition(RatingMarkKind::Alternate)) << "150 L/s is below full flow";

  // Hovering the solution shows its values; an empty corner shows nothing.
  const QPointF solution = *plot->MarkPosition(RatingMarkKind::Solution);
  EXPECT_TRUE(
      plot->HoverText(solution).startsWith("Solution: 150 L/s at 289.2 mm\nDepth: 289.2 mm"))
      << plot->HoverText(solution).toStdString();
  EXPECT_EQ(plot->HoverText(QPointF(plot->width() - 30, 5)), "");
  // Near a row's point on the discharge curve: that row's values.
  const QPointF tenth = *plot->DischargePoint(10);
  std::optional<size_t> row;
  const QString text = plot->HoverText(tenth + QPointF(3, -2), &row);
  EXPECT_EQ(row, 10u);
  EXPECT_TRUE(text.startsWith("Row 11\nDepth: 90 mm\n")) << text.toStdString();
  QTest::mouseMove(plot, solution.toPoint());
  EXPECT_TRUE(QToolTip::text().startsWith("Solution")) << QToolTip::text().toStdString();
}

TEST_F(RatingWindowTest, InputsRebuildTheTableAndFollowTheSheet) {
  ASSERT_NE(window, nullptr);
  auto* to = Child<QLineEdit>("txtRatingTo");
  EXPECT_EQ(to->text(), "450");
  to->setText("300");
  emit to->editingFinished();
  EXPECT_EQ(window->Table().rows.back().depth, 0.3);
  EXPECT_FALSE(window->Settings().RangeIsDefault());

  Choose("cboRatingLength", 4);  // feet, in the window only
  EXPECT_EQ(Child<QLabel>("lblRatingUnit")->text(), "feet");
  EXPECT_EQ(window->TableView()->model()->headerData(0, Qt::Horizontal).toString(),
            "Depth\n(feet)");
  EXPECT_EQ(form.cboDepth.Text(), "mm") << "the sheet keeps its own unit";

  Choose("cboRatingStep", 1);
  EXPECT_EQ(Child<QLabel>("lblRatingUnit")->text(), "L/s");
  const RatingTable& t = window->Table();
  EXPECT_EQ(t.rows.back().discharge, PipeMaximumFlow(0.45, 0.005, 0.013).discharge);
  EXPECT_TRUE(Child<QLabel>("lblRatingNote")->text().contains("two depths"));

  // The sheet changes its discharge unit and its slope: the window follows both, and the
  // solution is no longer marked.
  form.cboVelDis1.SetListIndex(0);  // m³/s
  form.txtSlope.SetText("10");
  emit view->Changed();
  EXPECT_EQ(Child<QLabel>("lblRatingUnit")->text(), "m³/s");
  EXPECT_EQ(window->Table().rows.back().discharge, PipeMaximumFlow(0.45, 0.01, 0.013).discharge);
  EXPECT_TRUE(Child<QLabel>("lblRatingNote")->text().startsWith("The results are not current"));
  window->Plot()->repaint();
  EXPECT_FALSE(window->Plot()->MarkPosition(RatingMarkKind::Solution));
}

TEST_F(RatingWindowTest, RangeBoxesTakeNumbersAndSayWhyTheyRefuse) {
  ASSERT_NE(window, nullptr);
  auto* from = Child<QLineEdit>("txtRatingFrom");
  auto* to = Child<QLineEdit>("txtRatingTo");
  auto* note = Child<QLabel>("lblRatingNote");
  // Typing: letters never go in, a comma is a decimal point.
  QTest::keyClicks(to, "x");
  EXPECT_EQ(to->text(), "450");
  to->clear();
  QTest::keyClicks(to, "3a0,5");
  EXPECT_EQ(to->text(), "30.5");
  emit to->editingFinished();
  EXPECT_EQ(window->Table().rows.back().depth, 0.0305);

  struct Case {
    QLineEdit* box;
    const char* typed;
    const char* said;
  };
  const Case refused[] = {
      {from, "", "From needs a value"},
      {to, "2.5e-", "To \"2.5e-\" is not a number"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.typed);
    c.box->setText(c.typed);
    emit c.box->editingFinished();
    EXPECT_TRUE(note->text().startsWith(c.said)) << note->text().toStdString();
    EXPECT_EQ(to->text(), "30.5") << "the range is kept";
    EXPECT_EQ(from->text(), "0");
    EXPECT_EQ(window->Table().rows.back().depth, 0.0305);
  }
}

// A solved pipe stepped by depths has nothing to note, so the note line is hidden: a
// refusal must still be seen.
TEST_F(RatingWindowTest, ARefusalShowsEvenWhenThereWasNothingToNote) {
  ASSERT_NE(window, nullptr);
  auto* note = Child<QLabel>("lblRatingNote");
  ASSERT_TRUE(note->isHidden());
  auto* to = Child<QLineEdit>("txtRatingTo");
  to->setText("");
  emit to->editingFinished();
  EXPECT_FALSE(note->isHidden());
  EXPECT_EQ(note->text(), "To needs a value: the range is kept as it was.");
  EXPECT_EQ(to->text(), "450");
}

// A hundred thousand rows: built and shown through the model, scrolled to the end and
// drawn, without a widget per cell. The times are printed, not judged: benchmarks judge.
TEST_F(RatingWindowTest, HundredThousandRowsStayResponsive) {
  ASSERT_NE(window, nullptr);
  QElapsedTimer timer;
  timer.start();
  Child<QSpinBox>("spnRatingRows")->setValue(100000);
  const qint64 built = timer.restart();
  QTableView* table = window->TableView();
  table->scrollToBottom();
  table->repaint();
  window->Plot()->repaint();
  const qint64 drawn = timer.elapsed();
  EXPECT_EQ(table->model()->rowCount(), 100000);
  EXPECT_EQ(Cell(99999, 0), "450.00");
  EXPECT_TRUE(table->findChildren<QLineEdit*>().empty());
  std::cout << "[ timing ] 100000 rows: built and reset in " << built
            << " ms, scrolled and drawn in " << drawn << " ms\n";
}

TEST_F(RatingWindowTest, ExportsCopyCsvAndPdf) {
  ASSERT_NE(window, nullptr);
  const std::string header =
      "Depth (mm)\tFlow Area (m²)\tVelocity (m/s)\tDischarge (L/s)\tFroude Number (-)\tPercent "
      "Full (%)\n";
  window->CopyTable();
  ASSERT_TRUE(services.clipboard);
  EXPECT_EQ(services.clipboard->substr(0, header.size()), header);
  EXPECT_EQ(std::count(services.clipboard->begin(), services.clipboard->end(), '\n'), 52);

  const fs::path csv = folder / "pipe.csv";
  services.saveAnswers.push_back(FileChoice{csv.string(), "pipe.csv"});
  window->SaveCsv();
  ASSERT_EQ(services.saveRequests.size(), 1u);
  EXPECT_EQ(services.saveRequests[0].proposedName, "storm-sewer-pipe-rating.csv");
  EXPECT_EQ(Slurp(csv).substr(0, 3 + 82 + 11),
            "\xEF\xBB\xBF"
            "# Rivulet rating table\r\n"
            "# Circular Pipe: diameter 450 mm, slope 5 /1000, n 0.013\r\n"
            "Depth (mm),");

  const fs::path pdf = folder / "pipe.pdf";
  services.saveAnswers.push_back(FileChoice{pdf.string(), "pipe.pdf"});
  window->SavePdf();
  EXPECT_TRUE(services.messages.empty());
  ASSERT_EQ(Slurp(pdf).substr(0, 5), "%PDF-");

  // A folder that does not exist: the save says so and leaves nothing behind. Checked
  // before the text of the PDF, which needs a tool that may be missing.
  const std::string nowhere = (folder / "none" / "x.pdf").string();
  services.saveAnswers.push_back(FileChoice{nowhere, "x.pdf"});
  window->SavePdf();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "The rating table could not be saved to " + nowhere + ".");
  EXPECT_EQ(services.messages[0].title, "Rivulet");
  EXPECT_EQ(services.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_FALSE(fs::exists(folder / "none"));

  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess run;
  run.start(tool, {QString::fromStdString(pdf.string()), "-"});
  ASSERT_TRUE(run.waitForFinished(30000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  for (const char* expected :
       {"Rating Table - storm-sewer-pipe.rvl", "Solution: 150 L/s at 289.2 mm",
        "Maximum: 216.9 L/s at 422.2 mm", "Percent Full", "450.00", "Page 2"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

// Under design settings each row carries the marks of the limits it breaks, explained by
// the legend, in the table, the CSV and the PDF; the legend follows the velocity unit.
TEST_F(RatingWindowTest, DesignChecksMarkTheRowsThatBreakALimit) {
  ASSERT_NE(window, nullptr);
  const DesignSettings settings = DefaultDesignSettings();
  window->SetDesignSettings(&settings);
  window->Refresh();
  const QAbstractItemModel* m = window->TableView()->model();
  ASSERT_EQ(m->columnCount(), 7);
  EXPECT_EQ(m->headerData(6, Qt::Horizontal).toString(), "Design Checks\n(marks)");
  EXPECT_EQ(Cell(0, 6), "V<min") << "a dry pipe does not clean itself";
  // 5/1000 runs this pipe near critical from a tenth to two thirds full.
  EXPECT_EQ(Cell(5, 6), "V<min Fr~1");
  EXPECT_EQ(Cell(25, 6), "Fr~1");
  EXPECT_EQ(Cell(35, 6), "OK");
  EXPECT_EQ(Cell(45, 6), "y/D>max");  // 405 mm of 450
  EXPECT_TRUE(m->data(m->index(45, 6), Qt::ToolTipRole).toString().contains("depth ratio"));
  EXPECT_TRUE(Child<QLabel>("lblRatingNote")->isHidden()) << "a solved pipe has nothing to note";
  auto* legend = Child<QLabel>("lblRatingLegend");
  EXPECT_FALSE(legend->isHidden());
  EXPECT_TRUE(legend->text().contains("V<min: velocity below the self-cleansing minimum 0.6 m/s"))
      << legend->text().toStdString();

  Choose("cboRatingVelocity", 2);  // ft/s: the US criteria
  EXPECT_TRUE(legend->text().contains("minimum 2 ft/s")) << legend->text().toStdString();
  Choose("cboRatingVelocity", 0);

  window->CopyTable();
  ASSERT_TRUE(services.clipboard);
  const std::string& copied = *services.clipboard;
  EXPECT_NE(copied.find("\tDesign Checks (V<min"), std::string::npos);
  EXPECT_NE(copied.find("\tOK\n"), std::string::npos);
  EXPECT_NE(copied.find("\tV<min Fr~1\n"), std::string::npos);

  const fs::path pdf = folder / "checks.pdf";
  services.saveAnswers.push_back(FileChoice{pdf.string(), "checks.pdf"});
  window->SavePdf();
  EXPECT_TRUE(services.messages.empty());

  // Without the settings the column and the legend go (checked before the PDF's text, which
  // needs a tool that may be missing).
  window->SetDesignSettings(nullptr);
  window->Refresh();
  EXPECT_EQ(m->columnCount(), 6);
  EXPECT_TRUE(legend->isHidden());

  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess run;
  run.start(tool, {QString::fromStdString(pdf.string()), "-"});
  ASSERT_TRUE(run.waitForFinished(30000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  for (const char* expected : {"Design checks: V<min", "Design Checks", "y/D>max", "OK"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

}  // namespace
}  // namespace rivulet
