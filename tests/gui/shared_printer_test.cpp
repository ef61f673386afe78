// The windows that print are handed their printer by whoever makes them: the print path,
// the worksheet windows and the section's rating print on the printer they were given, and
// each calculation window has a print window of its own.
#include "gui/shell/shared_printer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "core/printing/frm_print.h"
#include "core/worksheets/kinds.h"
#include "gui/printing/pdf_report.h"
#include "gui/printing/print_window.h"
#include "gui/sections/section_rating_window.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

// The program folder of the sheets: the print window keeps its font list there.
class SharedPrinterTest : public ::testing::Test {
 protected:
  SharedPrinterTest()
      : folder(fs::temp_directory_path() /
               ("rivulet-shared-printer-" + std::to_string(::getpid()))) {
    fs::create_directories(folder);
  }
  ~SharedPrinterTest() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  StartupValues Startup() const { return StartupValues::ForFolder(folder.string()); }

  fs::path folder;
  RecordingServices services;
  SharedPrinter printer;
};

TEST_F(SharedPrinterTest, ThePrintPathPrintsOnThePrinterItWasGiven) {
  frmRivulet form(services, Startup());
  form.Form_Load();
  QWidget mainWindow;
  PrintWindow* window = AttachPrinting(form, printer, &mainWindow);
  const std::string pdf = (folder / "report.pdf").string();
  window->PrintPath().SetOutputFile(pdf);
  window->PrintPath().PrintLine("Rivulet");
  EXPECT_EQ(printer.Get().outputFileName().toStdString(), pdf)
      << "the document is open on the given printer";
  window->PrintPath().EndDocument();
  EXPECT_GT(fs::file_size(pdf), 0u);
}

// Two calculation windows: discarding one's print window leaves the other's as it was.
TEST_F(SharedPrinterTest, EachCalculationWindowOwnsItsPrintWindow) {
  frmRivulet first(services, Startup());
  frmRivulet second(services, Startup());
  first.Form_Load();
  second.Form_Load();
  QWidget firstMain, secondMain;
  PrintWindow* firstPrint = AttachPrinting(first, printer, &firstMain);
  PrintWindow* secondPrint = AttachPrinting(second, printer, &secondMain);
  first.mnuPrint.Click();
  second.mnuPrint.Click();
  ASSERT_NE(firstPrint->View(), nullptr);
  ASSERT_NE(secondPrint->View(), nullptr);
  firstPrint->Destroy();
  EXPECT_EQ(firstPrint->View(), nullptr);
  EXPECT_EQ(firstPrint->Core(), nullptr);
  EXPECT_NE(secondPrint->View(), nullptr);
  ASSERT_NE(secondPrint->Core(), nullptr);
  EXPECT_TRUE(secondPrint->Core()->Visible());
  secondPrint->Destroy();
}

// A worksheet opened from its file, and the rating its section window opens, print on the
// printer the program handed over, set here (as the Print dialog's Print to File sets it) to
// write a PDF: a window that made a printer of its own would leave the file unwritten.
TEST_F(SharedPrinterTest, WorksheetWindowsAndTheSectionRatingPrintOnTheGivenPrinter) {
  WorksheetWindow* window =
      OpenWorksheetWindow(Example("ditch-survey.rvw"), BuiltInKinds(), services, printer);
  ASSERT_NE(window, nullptr);
  window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  EXPECT_EQ(&window->WindowPrinter(), &printer);
  auto* ratingButton = window->findChild<QPushButton*>("cmdRating");
  ASSERT_NE(ratingButton, nullptr);
  ratingButton->click();
  auto* rating = window->findChild<SectionRatingWindow*>("sectionRating");
  ASSERT_NE(rating, nullptr);
  ASSERT_FALSE(rating->Table().rows.empty()) << rating->Table().problem;

  struct Case {
    const char* file;
    std::function<bool()> print;
  };
  const Case cases[] = {
      {"worksheet.pdf", [window] { return window->PrintOnPrinter(); }},
      {"rating.pdf", [rating] { return rating->PrintOnPrinter(); }},
  };
  for (const Case& c : cases) {
    const std::string pdf = (folder / c.file).string();
    printer.Get().setOutputFileName(QString::fromStdString(pdf));
    EXPECT_TRUE(c.print()) << c.file;
    EXPECT_TRUE(IsCompletePdf(pdf)) << c.file;
  }
  EXPECT_TRUE(services.messages.empty());
  window->close();
}

}  // namespace
}  // namespace rivulet
