// The irregular-section window: points in by import and by table edits reach the
// worksheet, a file read fills the tables, Calculate draws the water, and the rating
// follows the section.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "core/shell/services.h"
#include "core/worksheets/section_sheet.h"
#include "core/worksheets/worksheet_model.h"
#include "gui/sections/section_drawing.h"
#include "gui/sections/section_editor.h"
#include "gui/sections/section_points_model.h"
#include "gui/sections/section_rating_window.h"
#include "gui/worksheets/worksheet_window.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

class SectionWindowTest : public ::testing::Test {
 protected:
  SectionWindowTest()
      : window(std::make_unique<WorksheetWindow>(IrregularSectionKind(), services, printer)) {
    SetUpSectionWindow(*window);
    editor = window->findChild<SectionEditor*>("sectionEditor");
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  }
  void TypeInput(const char* name, const char* text) {
    auto* box = window->findChild<QLineEdit*>(name);
    ASSERT_NE(nullptr, box) << name;
    box->setText(text);
    emit box->textEdited(text);
  }

  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
  SectionEditor* editor = nullptr;
};

TEST_F(SectionWindowTest, ImportedPointsAndZonesSolveAndDraw) {
  ASSERT_NE(nullptr, editor);
  // Stations in feet, elevations in metres, into a window whose points are in metres.
  ASSERT_TRUE(
      editor->ImportText("Station (ft),Elevation (m)\n0,3\n10,1\n20,0\n30,1\n40,3\n", "ft", "m"));
  const nlohmann::json* points = window->Model().ListInput("points");
  ASSERT_NE(nullptr, points);
  EXPECT_EQ("m", (*points)["unit"]);
  EXPECT_DOUBLE_EQ(3.048, (*points)["station"][1].get<double>());
  EXPECT_DOUBLE_EQ(1, (*points)["elevation"][1].get<double>());

  QTableWidget* zones = editor->Zones();
  zones->item(0, 1)->setText("0.035");
  ASSERT_NE(nullptr, zones->item(0, 1));
  TypeInput("input_longitudinalSlope", "0.002");
  TypeInput("input_discharge", "4");
  window->Calculate();
  ASSERT_EQ(ResultsState::Current, window->Model().State()) << window->Model().StatusText();
  const SectionPicture& picture = editor->Drawing()->Picture();
  ASSERT_TRUE(picture.waterSurface);
  EXPECT_GT(*picture.waterSurface, 0);
  EXPECT_LT(*picture.waterSurface, 3);
  ASSERT_TRUE(picture.criticalSurface);
  EXPECT_FALSE(picture.depthText.empty());

  // Editing one cell marks the results modified and moves the drawing's ground.
  const QModelIndex cell = editor->Points()->index(2, 1);
  ASSERT_TRUE(editor->Points()->setData(cell, "-0.5", Qt::EditRole));
  EXPECT_EQ(ResultsState::Modified, window->Model().State());
  EXPECT_DOUBLE_EQ(-0.5, editor->Drawing()->Picture().elevation[2]);
  EXPECT_FALSE(editor->Points()->setData(cell, "abc", Qt::EditRole));

  // A second zone splits the section; the zone table's text reaches the file's lists.
  zones->insertRow(1);
  zones->setItem(1, 0, new QTableWidgetItem("6"));
  zones->setItem(1, 1, new QTableWidgetItem("0.05"));
  const nlohmann::json* n = window->Model().ListInput("nZones");
  ASSERT_NE(nullptr, n);
  EXPECT_EQ(1u, (*n)["breaks"].size());
  EXPECT_EQ(2u, (*n)["n"].size());
  window->Calculate();
  EXPECT_EQ(ResultsState::Current, window->Model().State()) << window->Model().StatusText();

  SectionRatingWindow rating(*window, printer);
  EXPECT_TRUE(rating.Table().problem.empty()) << rating.Table().problem;
  EXPECT_EQ(51u, rating.Table().rows.size());
  EXPECT_TRUE(rating.Table().cutAt);  // bank-full
}

// The rating of a section with US results is in feet and ft³/s in the table, the plot and
// the PDF, which sets the plot above the table.
// A point typed with a decimal comma is taken, Undo takes it back and the tables follow;
// the rating copies as a spreadsheet takes it and closes with Esc.
TEST_F(SectionWindowTest, CommaCellsUndoAndTheRatingsCopyAndEsc) {
  ASSERT_TRUE(window->OpenFile(Example("ditch-survey.rvw")));
  SectionPointsModel* points = editor->Points();
  const QString before = points->data(points->index(4, 1), Qt::DisplayRole).toString();
  ASSERT_TRUE(points->setData(points->index(4, 1), "98,25", Qt::EditRole));
  EXPECT_EQ(points->data(points->index(4, 1), Qt::DisplayRole).toString(), "98.25");
  EXPECT_EQ(window->Model().State(), ResultsState::Modified);
  window->UndoStack()->undo();
  EXPECT_EQ(points->data(points->index(4, 1), Qt::DisplayRole).toString(), before);
  EXPECT_FALSE(window->isWindowModified());

  window->Calculate();
  auto* rating = new SectionRatingWindow(*window, printer);
  rating->show();
  rating->findChild<QPushButton*>("cmdRatingCopy")->click();
  ASSERT_TRUE(services.clipboard);
  EXPECT_EQ(services.clipboard->rfind("Depth (", 0), 0u) << *services.clipboard;
  EXPECT_NE(services.clipboard->find('\t'), std::string::npos);
  QPointer<SectionRatingWindow> alive(rating);
  for (QShortcut* s : rating->findChildren<QShortcut*>())
    if (s->key() == QKeySequence(Qt::Key_Escape)) emit s->activated();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull() || !alive->isVisible());
}

TEST_F(SectionWindowTest, RatingFollowsTheResultUnitsIntoThePdf) {
  const WorksheetRead read = ReadWorksheetFile(Example("ditch-survey.rvw"));
  ASSERT_TRUE(read.document) << read.message;
  ASSERT_EQ("", window->Model().Load(*read.document, Example("ditch-survey.rvw")));
  window->Sync();
  window->Calculate();
  SectionRatingWindow rating(*window, printer);
  ASSERT_TRUE(rating.Table().problem.empty()) << rating.Table().problem;
  const QAbstractItemModel* m = rating.findChild<QTableView*>("tblRating")->model();
  EXPECT_EQ("Depth\n(feet)", m->headerData(0, Qt::Horizontal).toString());
  EXPECT_EQ("Discharge\n(ft³/s)", m->headerData(3, Qt::Horizontal).toString());
  EXPECT_EQ("feet", rating.findChild<QLabel*>("lblRatingUnit")->text());
  // The last row is bank-full: the right end, 103.5 − 98.5 = 5 ft up.
  EXPECT_EQ("5.0000", m->data(m->index(m->rowCount() - 1, 0)).toString());
  EXPECT_TRUE(rating.findChild<QLabel*>("lblRatingNote")->text().contains("bank-full (5 feet)"))
      << rating.findChild<QLabel*>("lblRatingNote")->text().toStdString();

  const std::filesystem::path pdf =
      std::filesystem::temp_directory_path() /
      ("rivulet-section-rating-" + std::to_string(::getpid()) + ".pdf");
  services.saveAnswers.push_back(FileChoice{pdf.string(), "ditch.pdf"});
  rating.SavePdf();
  ASSERT_EQ(1u, services.saveRequests.size());
  EXPECT_EQ("ditch-survey-rating.pdf", services.saveRequests[0].proposedName);
  EXPECT_TRUE(services.messages.empty());
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) {
    std::filesystem::remove(pdf);
    GTEST_SKIP() << "pdftotext is not installed";
  }
  QProcess run;
  run.start(tool, {QString::fromStdString(pdf.string()), "-"});
  ASSERT_TRUE(run.waitForFinished(30000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  std::filesystem::remove(pdf);
  for (const char* expected : {"Irregular Section: Rating Table - ditch-survey.rvw",
                               "10 points, 3 zones", "(ft³/s)", "(feet)", "Solution"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
}

// A 5000-point survey: an edited point reaches the worksheet and the drawing, and the
// results go out of date. The time of each step is printed for the record.
TEST_F(SectionWindowTest, FiveThousandPointsStayResponsive) {
  window->show();
  std::string csv = "Station,Elevation\n";
  for (int i = 0; i < 5000; ++i) {
    const double x = i * 0.02;
    csv += std::to_string(x) + "," + std::to_string(2 + 0.04 * std::abs(x - 50)) + "\n";
  }
  QElapsedTimer timer;
  timer.start();
  ASSERT_TRUE(editor->ImportText(csv, "m", "m"));
  const qint64 imported = timer.restart();
  editor->Zones()->item(0, 1)->setText("0.035");
  TypeInput("input_longitudinalSlope", "0.002");
  TypeInput("input_discharge", "4");
  window->Calculate();
  ASSERT_EQ(ResultsState::Current, window->Model().State()) << window->Model().StatusText();
  const qint64 solved = timer.restart();
  qint64 slowest = 0;
  for (int edit = 0; edit < 10; ++edit) {
    timer.restart();
    const int row = 2000 + 100 * edit;
    ASSERT_TRUE(editor->Points()->setData(editor->Points()->index(row, 1),
                                          QString::number(1.5 + 0.01 * edit), Qt::EditRole));
    editor->Drawing()->repaint();
    slowest = std::max(slowest, timer.elapsed());
    EXPECT_DOUBLE_EQ(1.5 + 0.01 * edit, (*window->Model().ListInput("points"))["elevation"][row]);
    EXPECT_DOUBLE_EQ(1.5 + 0.01 * edit, editor->Drawing()->Picture().elevation[row]);
  }
  EXPECT_EQ(ResultsState::Modified, window->Model().State());
  timer.restart();
  SectionRatingWindow rating(*window, printer);
  const qint64 rated = timer.elapsed();
  EXPECT_EQ(51u, rating.Table().rows.size());
  std::cout << "[ timing ] 5000 points: imported in " << imported << " ms, solved in " << solved
            << " ms, slowest of 10 point edits with redraw " << slowest
            << " ms, rating window of 51 rows in " << rated << " ms\n";
}

TEST_F(SectionWindowTest, AFileFillsTheTables) {
  Document d;
  d.kind = "section";
  d.inputs["points"] = {{"unit", "ft"}, {"station", {0, 5, 10}}, {"elevation", {4, 1, 3}}};
  d.inputs["nZones"] = {{"unit", "ft"}, {"breaks", {4}}, {"n", {0.04, 0.03}}};
  ASSERT_EQ("", window->Model().Load(d, ""));
  window->Sync();
  EXPECT_EQ(3, editor->Points()->rowCount());
  EXPECT_EQ(2, editor->Zones()->rowCount());
  EXPECT_EQ("4", editor->Zones()->item(1, 0)->text());
  EXPECT_EQ("0.03", editor->Zones()->item(1, 1)->text());
  EXPECT_FALSE(window->Model().HasUnsavedChanges());
}

// The example solved and shown: the drawing sits under the few inputs, and no value box is
// squeezed below ten digits, so a result never shows only its last digits.
TEST_F(SectionWindowTest, ValueBoxesKeepTheirDigitsAndTheDrawingSitsUnderTheInputs) {
  ASSERT_TRUE(window->OpenFile(Example("ditch-survey.rvw")));
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QCoreApplication::processEvents();
  const auto boxes = window->findChildren<QLineEdit*>(QRegularExpression("^(input|result)_"));
  ASSERT_GT(boxes.size(), 20);
  for (const QLineEdit* box : boxes) {
    if (!box->isVisible()) continue;
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(QString(10, '0')))
        << box->objectName().toStdString();
  }
  auto* drawing = window->findChild<SectionDrawing*>();
  auto* slope = window->findChild<QLineEdit*>("input_longitudinalSlope");
  ASSERT_NE(drawing, nullptr);
  ASSERT_NE(slope, nullptr);
  EXPECT_GT(drawing->mapTo(window.get(), QPoint()).y(), slope->mapTo(window.get(), QPoint()).y());
  EXPECT_LT(drawing->mapTo(window.get(), QPoint()).x(), editor->mapTo(window.get(), QPoint()).x());
}

TEST_F(SectionWindowTest, ImportRefusalsChangeNothing) {
  QStringList said;
  editor->SetMessageSink([&](const QString& text) { said << text; });
  ASSERT_TRUE(editor->ImportText("0,3\n1,0\n2,3\n", "m", "m"));
  EXPECT_FALSE(editor->ImportText("0,3\n1,x\n", "m", "m"));
  EXPECT_EQ(3, editor->Points()->rowCount());
  ASSERT_EQ(1, said.size());
  EXPECT_TRUE(said[0].startsWith("Line 2: the elevation")) << said[0].toStdString();
}

TEST(SectionDrawingScale, ExaggerationIsARoundNumber) {
  const struct {
    double ratio, shown;
  } rows[] = {{0.3, 1}, {1, 1}, {1.9, 1}, {2, 2}, {4.99, 2}, {7, 5}, {19, 10}, {260, 200}};
  for (const auto& r : rows) EXPECT_EQ(r.shown, RoundExaggeration(r.ratio)) << r.ratio;
}

}  // namespace
}  // namespace rivulet
