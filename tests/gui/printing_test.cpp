// The Qt side of printing: the PDF the print path makes, read back with pdftotext, and
// the print window's widgets.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "core/files/calc_file.h"
#include "core/printing/frm_print.h"
#include "gui/printing/frm_print_view.h"
#include "gui/printing/pdf_report.h"
#include "gui/printing/print_window.h"
#include "gui/printing/qt_printer.h"
#include "support/example_files.h"
#include "support/recording_services.h"
#include "worksheets/test_kind.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Examples() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(ExamplesFolder()))
    if (entry.path().extension() == ".rvl") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

class TempFolder {
 public:
  TempFolder()
      : path_(fs::temp_directory_path() / ("rivulet-print-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string RightTrimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

struct Word {
  double xMin, yMin, xMax;
  QString text;
};

int PageCount(const QString& pdf) {
  QFile file(pdf);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(file.readAll().count("/Type /Page\n"));
}

/// The words of each page with their boxes, as pdftotext finds them; empty when pdftotext
/// is not installed.
std::vector<std::vector<Word>> PdfWords(const QString& pdf) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) return {};
  QProcess run;
  run.start(tool, {"-bbox-layout", pdf, "-"});
  EXPECT_TRUE(run.waitForFinished(30000));
  std::vector<std::vector<Word>> pages;
  QXmlStreamReader xml(run.readAllStandardOutput());
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("page")) pages.emplace_back();
    if (xml.name() != QLatin1String("word") || pages.empty()) continue;
    const auto a = xml.attributes();
    const double x0 = a.value("xMin").toDouble(), y0 = a.value("yMin").toDouble();
    const double x1 = a.value("xMax").toDouble();
    pages.back().push_back({x0, y0, x1, xml.readElementText()});
  }
  return pages;
}

/// The page as lines of text, each word put back in the column and on the line its
/// position gives: the page's first word starts column 11 of line 4 (the report's
/// "Rivulet"), columns are pitch wide and lines lineHeight apart, in points. A word that
/// would overlap its neighbour is marked.
std::vector<std::string> PageText(const std::vector<Word>& words, double pitch, double lineHeight) {
  if (words.empty()) return {};
  // pdftotext lists words in its reading order, not always left to right.
  std::map<std::pair<int, int>, QString> cells;
  for (const Word& w : words) {
    const int row = 3 + static_cast<int>(std::lround((w.yMin - words[0].yMin) / lineHeight));
    const int col = 10 + static_cast<int>(std::lround((w.xMin - words[0].xMin) / pitch));
    cells[{row, col}] += w.text;
  }
  std::map<int, QString> rows;
  for (const auto& [at, text] : cells) {
    QString& line = rows[at.first];
    if (line.size() > at.second) line += "<overlap>";
    line = line.leftJustified(at.second, ' ') + text;
  }
  std::vector<std::string> lines(static_cast<size_t>(rows.rbegin()->first + 1));
  for (const auto& [row, text] : rows) lines[static_cast<size_t>(row)] = text.toStdString();
  return lines;
}

/// The same, with the scale taken from a fixed-pitch page itself: its first two words are
/// "Rivulet" and, on the next line, "Version".
std::vector<std::string> PageText(const std::vector<Word>& words) {
  if (words.size() < 2 || words[0].text != "Rivulet" || words[1].text != "Version") return {};
  return PageText(words, (words[0].xMax - words[0].xMin) / 7, words[1].yMin - words[0].yMin);
}

/// The lines where two texts differ, at most five, or "" when they agree line for line.
std::string Differences(const std::vector<std::string>& got,
                        const std::vector<std::string>& expected) {
  std::string out;
  int shown = 0;
  for (size_t i = 0; i < std::max(got.size(), expected.size()) && shown < 5; ++i) {
    const std::string a = i < got.size() ? got[i] : "<none>";
    const std::string b = i < expected.size() ? expected[i] : "<none>";
    if (a == b) continue;
    out += "line " + std::to_string(i + 1) + ":\n  got      [" + a + "]\n  expected [" + b + "]\n";
    ++shown;
  }
  return out;
}

std::vector<std::string> Trimmed(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(RightTrimmed(l));
  return out;
}

TEST(PdfReport, EveryPageReadsBackAsTheTextReportLineForLine) {
  TempFolder temp;
  const auto files = Examples();
  ASSERT_GE(files.size(), 2u);
  const StartupValues startup = StartupValues::ForFolder(temp.Path().string());
  std::ostringstream text, textErr, pdfErr;
  const int textStatus = RunReportBatch(files, startup, text, textErr);
  const QString pdf = QString::fromStdString((temp.Path() / "reports.pdf").string());
  // Without the drawings each report is one page whose lines can be put back on the grid.
  EXPECT_EQ(WriteReportsPdf(files, startup, pdf, pdfErr, BuiltInKinds(), false, false), textStatus);
  EXPECT_EQ(pdfErr.str(), textErr.str());
  EXPECT_EQ(PageCount(pdf), static_cast<int>(files.size()));
  EXPECT_FALSE(fs::exists(temp.Path() / "RIVULET.FTS")) << "the batch mode leaves no cache";

  const auto pages = PdfWords(pdf);
  if (pages.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ASSERT_EQ(pages.size(), files.size());
  // The text reports are separated by form-feed lines.
  std::vector<std::vector<std::string>> reports(1);
  for (const auto& line : SplitLines(text.str())) {
    if (line == "\f")
      reports.emplace_back();
    else
      reports.back().push_back(line);
  }
  ASSERT_EQ(reports.size(), files.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(files[i]);
    EXPECT_EQ(Differences(PageText(pages[i]), Trimmed(reports[i])), "");
  }
}

TEST(PdfReport, WorksheetsPrintAsTheirTextReportsInTheirPlace) {
  TempFolder temp;
  const StartupValues startup = StartupValues::ForFolder(temp.Path().string());
  const std::string sheet = (temp.Path() / "strip.rvw").string();
  std::ofstream(sheet) << testing::StripText(testing::kStripInputs);
  const std::string pond = (temp.Path() / "pond.rvw").string();
  std::ofstream(pond) << R"({"rivulet": "worksheet", "version": 1, "kind": "pond"})";
  const std::vector<std::string> files{Examples().front(), pond, sheet};
  std::ostringstream text, textErr, pdfErr;
  const int textStatus =
      RunMixedBatch(files, startup, BatchOutput::Reports, testing::TestKinds(), text, textErr);
  EXPECT_EQ(textStatus, kBatchBadFile);
  const QString pdf = QString::fromStdString((temp.Path() / "mixed.pdf").string());
  EXPECT_EQ(WriteReportsPdf(files, startup, pdf, pdfErr, testing::TestKinds(), false, false),
            textStatus);
  EXPECT_EQ(pdfErr.str(), textErr.str());
  EXPECT_EQ(PageCount(pdf), 2);

  const auto pages = PdfWords(pdf);
  if (pages.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  ASSERT_EQ(pages.size(), 2u);
  std::vector<std::vector<std::string>> reports(1);
  for (const auto& line : SplitLines(text.str())) {
    if (line == "\f")
      reports.emplace_back();
    else
      reports.back().push_back(line);
  }
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(Differences(PageText(pages[1]), Trimmed(reports[1])), "");
}

TEST(PdfReport, DrawingsGoBetweenTheLinesAndLoseNoneOfThem) {
  TempFolder temp;
  const std::vector<std::string> files{Example("storm-sewer-pipe.rvl"),
                                       Example("inlet-curb-opening-sag-si.rvw")};
  const StartupValues startup = StartupValues::ForFolder(temp.Path().string());
  std::ostringstream text, textErr, pdfErr;
  RunMixedBatch(files, startup, BatchOutput::Reports, BuiltInKinds(), text, textErr);
  const QString pdf = QString::fromStdString((temp.Path() / "drawn.pdf").string());
  ASSERT_EQ(WriteReportsPdf(files, startup, pdf, pdfErr), kBatchAllSolved) << pdfErr.str();
  // The pipe's report and its section run to two pages, the inlet's and its two drawings
  // to more; the drawings' own lettering is part of their pictures, not of the text.
  EXPECT_GE(PageCount(pdf), 4);
  const auto pages = PdfWords(pdf);
  if (pages.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  QString printed;
  for (const auto& page : pages)
    for (const Word& w : page) printed += w.text + " ";
  for (const char* caption : {"Section at the calculated depth, drawn to scale ",
                              "The inlet in plan ", "Road-edge section at the inlet "})
    EXPECT_EQ(printed.count(caption), 1) << caption;
  for (const char* caption : {"Section at the calculated depth, drawn to scale ",
                              "The inlet in plan ", "Road-edge section at the inlet "})
    printed.remove(caption);
  // Every word of the text reports is printed, and nothing else; compared as sorted lists,
  // because the reading order pdftotext finds in two-column lines is its own.
  QStringList printedWords = printed.split(' ', Qt::SkipEmptyParts), reported;
  for (const std::string& line : SplitLines(text.str()))
    for (const QString& w : QString::fromStdString(line).split(' ', Qt::SkipEmptyParts))
      if (w != "\f") reported << w;
  printedWords.sort();
  reported.sort();
  EXPECT_EQ(printedWords.join(' ').toStdString(), reported.join(' ').toStdString());
}

TEST(PdfReport, UnwritableFileIsReportedAndExitsAsABadFile) {
  TempFolder temp;
  std::ostringstream err;
  const QString pdf = QString::fromStdString((temp.Path() / "no-such-folder" / "x.pdf").string());
  EXPECT_EQ(WriteReportsPdf({Examples().front()}, StartupValues::ForFolder(temp.Path().string()),
                            pdf, err),
            kBatchBadFile);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

// The print window printing into a PDF through QPrinter.
class QtPrintTest : public ::testing::Test {
 protected:
  QtPrintTest()
      : form(services, StartupValues::ForFolder(temp.Path().string())),
        pdf(QString::fromStdString((temp.Path() / "print.pdf").string())),
        printer(qprinter, pdf),
        commands(form, printer) {
    form.Form_Load();
    services.saveAnswers.push_back(FileChoice{(temp.Path() / "pipe.rvl").string(), "pipe.rvl"});
    mnuSaveAs_Click(form);
    commands.mnuPrint_Click();
  }
  frmPrint& Window() { return *commands.Window(); }

  TempFolder temp;
  RecordingServices services;
  frmRivulet form;
  QString pdf;
  QPrinter qprinter{QPrinter::HighResolution};
  QtPrinter printer;
  PrintCommands commands;
};

TEST_F(QtPrintTest, CopiesArePagesAndColumnsLineUpInAnyFont) {
  // The start font, then a proportional one: the grid keeps the columns either way. Sizes
  // are small enough for the report to fit its page.
  std::string proportional;
  for (const QString& family : QFontDatabase::families())
    if (!QFontDatabase::isFixedPitch(family)) {
      proportional = family.toStdString();
      break;
    }
  ASSERT_FALSE(proportional.empty());
  ASSERT_TRUE(printer.IsFixedPitch(Window().Combo1.Text())) << Window().Combo1.Text();
  const std::pair<std::string, int> rows[] = {{Window().Combo1.Text(), 2},  // 12 points
                                              {proportional, 0}};           // 8 points
  bool withoutPdfText = false;
  for (const auto& [font, size] : rows) {
    SCOPED_TRACE(font);
    frmPrint& w = Window();
    const auto& fonts = w.Combo1.Items();
    w.Combo1.SetListIndex(
        static_cast<int>(std::find(fonts.begin(), fonts.end(), font) - fonts.begin()));
    w.Combo2.SetListIndex(size);
    w.txtComments[0].SetText("Mill Lane culvert, 70 columns: " + std::string(29, '#'));
    w.Combo3.SetEditText("3");
    w.cmdPrint.Click();
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(PageCount(pdf), 3);
    const auto pages = PdfWords(pdf);
    // Without pdftotext the second font is still printed and its pages counted.
    withoutPdfText = pages.empty();
    if (withoutPdfText) {
      w.Show();
      continue;
    }
    ASSERT_EQ(pages.size(), 3u);
    // The grid the printer sets the lines on: cells as wide as an M.
    QFont qfont(QString::fromStdString(font));
    qfont.setPointSize(size == 0 ? 8 : 12);
    const QFontMetricsF metrics(qfont, &qprinter);
    const double points = 72.0 / qprinter.resolution();
    const auto report = Trimmed(ReportLines(form, w.Extras()));
    for (const auto& page : pages)
      EXPECT_EQ(Differences(PageText(page, metrics.horizontalAdvance('M') * points,
                                     metrics.lineSpacing() * points),
                            report),
                "");
    w.Show();
  }
  if (withoutPdfText) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
}

TEST_F(QtPrintTest, ReportTooLongForItsPageContinuesOnTheNext) {
  Window().Combo2.SetListIndex(4);  // 16 points: about 45 lines to an A4 or Letter page
  Window().Combo3.SetEditText("2");
  Window().cmdPrint.Click();
  EXPECT_EQ(PageCount(pdf), 4);
}

TEST_F(QtPrintTest, NoCopiesWritesNoFile) {
  Window().Combo3.SetEditText("0");
  Window().cmdPrint.Click();
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_FALSE(Window().Visible());
}

TEST(QtPrinter, FailureToStartTheDocumentIsAPrinterErrorAndTheWindowSaysSo) {
  TempFolder temp;
  RecordingServices services;
  frmRivulet form(services, StartupValues::ForFolder(temp.Path().string()));
  form.Form_Load();
  QPrinter qprinter;
  QtPrinter printer(qprinter, QString::fromStdString((temp.Path() / "gone" / "x.pdf").string()));
  EXPECT_THROW(printer.PrintLine("x"), PrinterError);
  PrintCommands commands(form, printer);
  commands.mnuPrint_Click();
  services.messages.clear();
  commands.Window()->cmdPrint.Click();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].title, "Oops");
  EXPECT_EQ(services.messages[0].icon, MessageIcon::Stop);
  EXPECT_TRUE(commands.Window()->Visible());
}

// The print window on the offscreen screen, made from the main window's Print command.
class PrintViewTest : public ::testing::Test {
 protected:
  PrintViewTest() : form(services, StartupValues::ForFolder(temp.Path().string())) {
    form.Form_Load();
    attached = AttachPrinting(form, printer, &mainWindow);
    form.mnuPrint.Click();
  }
  ~PrintViewTest() override { attached->Destroy(); }

  template <class W>
  W* Find(const char* name) {
    W* w = attached->View() ? attached->View()->findChild<W*>(name) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  TempFolder temp;
  RecordingServices services;
  frmRivulet form;
  SharedPrinter printer;
  QWidget mainWindow;
  PrintWindow* attached = nullptr;
};

TEST_F(PrintViewTest, WidgetsFollowTheCoreInTabOrder) {
  frmPrintView* view = attached->View();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_FALSE(view->isModal());
  EXPECT_EQ(view->windowTitle(), "Print Results from Rivulet");
  const char* order[] = {"cmdPrint",     "cmdCancel",    "txtComments0", "txtComments1",
                         "txtComments2", "txtComments3", "txtComments4", "chkFileName",
                         "Combo1",       "Combo2",       "Combo3",       "cmdSetup"};
  QWidget* widget = Find<QWidget>(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    ASSERT_NE(widget, nullptr);
    widget = widget->nextInFocusChain();
    EXPECT_EQ(widget->objectName().toStdString(), order[i]);
  }
  EXPECT_EQ(Find<QLineEdit>("txtComments3")->maxLength(), 60);
  EXPECT_FALSE(Find<QComboBox>("Combo1")->isEditable());
  EXPECT_FALSE(Find<QComboBox>("Combo2")->isEditable());
  EXPECT_TRUE(Find<QComboBox>("Combo3")->isEditable());
  EXPECT_EQ(Find<QLabel>("lblPrintsToFile")->isVisibleTo(view),
            QPrinterInfo::availablePrinters().isEmpty());
}

TEST_F(PrintViewTest, SampleTextShowsTheChosenFontTwoPointsSmaller) {
  QLabel* sample = Find<QLabel>("Label1");
  QComboBox* sizes = Find<QComboBox>("Combo2");
  ASSERT_TRUE(sample && sizes);
  EXPECT_EQ(sample->text(), "Rivulet Sample Text...");
  EXPECT_EQ(sample->font().pointSize(), 10);
  EXPECT_EQ(sample->font().family().toStdString(), attached->Core()->Combo1.Text());
  sizes->setCurrentIndex(4);
  emit sizes->activated(4);
  EXPECT_EQ(sample->font().pointSize(), 14);
}

TEST_F(PrintViewTest, CancelHidesAndTheCloseControlDiscards) {
  QLineEdit* comment = Find<QLineEdit>("txtComments0");
  ASSERT_NE(comment, nullptr);
  comment->setFocus();
  QTest::keyClicks(comment, "kept");
  EXPECT_EQ(attached->Core()->txtComments[0].Text(), "kept");

  QTest::mouseClick(Find<QPushButton>("cmdCancel"), Qt::LeftButton);
  EXPECT_FALSE(attached->View()->isVisible());
  form.mnuPrint.Click();
  EXPECT_TRUE(attached->View()->isVisible());
  EXPECT_EQ(Find<QLineEdit>("txtComments0")->text(), "kept");

  attached->View()->close();
  EXPECT_EQ(attached->Core(), nullptr);
  EXPECT_EQ(attached->View(), nullptr);
  form.mnuPrint.Click();
  ASSERT_NE(attached->Core(), nullptr);
  EXPECT_EQ(attached->Core()->txtComments[0].Text(), "");
  EXPECT_EQ(Find<QLineEdit>("txtComments0")->text(), "");
}

TEST_F(PrintViewTest, SetupButtonAndMenuShowThePrinterSetup) {
  QTest::mouseClick(Find<QPushButton>("cmdSetup"), Qt::LeftButton);
  form.mnuPrintSetup.Click();
  EXPECT_EQ(services.printerSetups, 2);
}

}  // namespace
}  // namespace rivulet
