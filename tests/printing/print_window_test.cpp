#include <gtest/gtest.h>

#include "core/batch/details_output.h"
#include "core/files/calc_file.h"
#include "core/printing/frm_print.h"
#include "core/shell/utf8_text.h"
#include "files/files_fixture.h"
#include "printing/fake_printer.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

// The main window with its file commands, a recording printer and the print commands.
class PrintWindowTest : public FilesTest {
 protected:
  PrintWindowTest() : commands(form, printer) {
    printer.fonts = {"Arial", "DejaVu Sans Mono", "Noto Mono"};
    printer.fixedPitch = {"DejaVu Sans Mono", "Noto Mono"};
    services.busyCalls.clear();
    services.messages.clear();
  }

  frmPrint& Open() {
    commands.mnuPrint_Click();
    EXPECT_NE(commands.Window(), nullptr);
    return *commands.Window();
  }

  /// Presses Print with copies typed into the copies box.
  void PrintCopies(const std::string& copies) {
    frmPrint& w = Open();
    w.Combo3.SetEditText(copies);
    w.cmdPrint.Click();
  }

  FakePrinter printer;
  PrintCommands commands;
};

std::vector<std::string> Names(const std::vector<Control*>& controls) {
  std::vector<std::string> names;
  for (const Control* c : controls) names.push_back(c->Name());
  return names;
}

TEST_F(PrintWindowTest, LoadFillsTheControls) {
  frmPrint& w = Open();
  EXPECT_EQ(w.Caption(), "Print Results from Rivulet");
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(Names(w.TabOrder()),
            (std::vector<std::string>{"cmdPrint", "cmdCancel", "txtComments0", "txtComments1",
                                      "txtComments2", "txtComments3", "txtComments4", "chkFileName",
                                      "Combo1", "Combo2", "Combo3", "cmdSetup"}));
  for (const TextBox& box : w.txtComments) {
    EXPECT_EQ(box.MaxLength(), 60);
    EXPECT_EQ(box.Text(), "");
  }
  EXPECT_EQ(w.Combo1.Items(), printer.fonts);
  EXPECT_FALSE(w.Combo1.Editable());
  EXPECT_EQ(w.Combo1.Text(), "DejaVu Sans Mono");
  EXPECT_EQ(w.Combo2.Items(), (std::vector<std::string>{"8", "10", "12", "14", "16"}));
  EXPECT_EQ(w.Combo2.Text(), "12");
  EXPECT_FALSE(w.Combo2.Editable());
  ASSERT_EQ(w.Combo3.ListCount(), 20);
  EXPECT_EQ(w.Combo3.Items().front(), "1");
  EXPECT_EQ(w.Combo3.Items().back(), "20");
  EXPECT_TRUE(w.Combo3.Editable());
  EXPECT_EQ(w.Combo3.Text(), "1");
  EXPECT_EQ(w.Label1.Caption(), "Rivulet Sample Text...");
  EXPECT_EQ(w.sample.name, "DejaVu Sans Mono");
  EXPECT_EQ(w.sample.points, 10);
  EXPECT_FALSE(w.sample.italic);
  EXPECT_EQ(w.chkFileName.Value(), 0) << "no file opened yet";
  EXPECT_FALSE(w.lblPrintsToFile.Visible());
  EXPECT_EQ(services.busyCalls, (std::vector<bool>{true, true, false, false}));
  EXPECT_TRUE(fs::exists(folder / "RIVULET.FTS"));
}

TEST_F(PrintWindowTest, SampleFollowsFontAndIsTwoPointsBelowThePrintSize) {
  frmPrint& w = Open();
  const int samples[] = {6, 8, 10, 12, 14};
  for (int position = 0; position < 5; ++position) {
    w.Combo2.SetListIndex(position);
    EXPECT_EQ(w.sample.points, samples[position]) << w.Combo2.Text();
  }
  w.sample.italic = true;
  w.Combo1.SetListIndex(0);
  EXPECT_EQ(w.sample.name, "Arial");
  EXPECT_FALSE(w.sample.italic);
}

TEST_F(PrintWindowTest, CopiesAreReadWithTheFileNumberRule) {
  const struct {
    std::string typed;
    int copies;
  } rows[] = {{"3", 3},   {"0", 0}, {"2abc", 2}, {"2.5", 2}, {"3.5", 4},
              {" 1 ", 1}, {"", 0},  {"abc", 0},  {"-2", 0},  {"20", 20}};
  for (const auto& row : rows) {
    SCOPED_TRACE("typed \"" + row.typed + "\"");
    printer.events.clear();
    PrintCopies(row.typed);
    const size_t reportLines = ReportLines(form, commands.Window()->Extras()).size();
    EXPECT_EQ(printer.Lines().size(), reportLines * static_cast<size_t>(row.copies));
    std::vector<std::string> calls{"font DejaVu Sans Mono 12"};
    for (int i = 1; i < row.copies; ++i) calls.push_back("page");
    calls.push_back("end");
    EXPECT_EQ(printer.Calls(), calls);
    EXPECT_FALSE(commands.Window()->Visible()) << "Print hides the window";
    EXPECT_TRUE(services.messages.empty());
  }
}

TEST_F(PrintWindowTest, ThreeCopiesAreThreeIdenticalReportsInOneDocument) {
  form.txtStatus.SetText("Calculations Complete!");
  PrintCopies("3");
  const auto report = ReportLines(form, commands.Window()->Extras());
  std::vector<std::string> expected;
  for (int copy = 0; copy < 3; ++copy) {
    if (copy > 0) expected.push_back("page");
    for (const auto& l : report) expected.push_back("line " + l);
  }
  expected.push_back("end");
  expected.insert(expected.begin(), "font DejaVu Sans Mono 12");
  EXPECT_EQ(printer.events, expected);
}

TEST_F(PrintWindowTest, ChosenFontAndSizeGoToThePrinterBeforeAnyLine) {
  frmPrint& w = Open();
  w.Combo1.SetListIndex(2);
  w.Combo2.SetListIndex(4);
  w.cmdPrint.Click();
  ASSERT_FALSE(printer.events.empty());
  EXPECT_EQ(printer.events.front(), "font Noto Mono 16");
}

TEST_F(PrintWindowTest, CommentsAndFileNameReachTheReport) {
  frmPrint& w = Open();
  const std::string sixty(60, 'c');
  w.txtComments[0].SetText("Culvert under Mill Lane");
  w.txtComments[2].SetText("checked by R.");
  w.txtComments[4].SetText(sixty);
  w.cmdPrint.Click();
  auto lines = printer.Lines();
  ASSERT_EQ(lines.size(), 54u) << "Print Filename is unchecked: the report ends with its rule";
  EXPECT_EQ(lines[47], "          Culvert under Mill Lane");
  EXPECT_EQ(lines[48], "          ");
  EXPECT_EQ(lines[49], "          checked by R.");
  EXPECT_EQ(lines[51], "          " + sixty);
  EXPECT_EQ(lines[51].size(), 70u);

  form.currentFilePath = "/data/culvert.rvl";
  Open().chkFileName.SetValue(1);
  printer.events.clear();
  commands.Window()->cmdPrint.Click();
  lines = printer.Lines();
  ASSERT_EQ(lines.size(), 55u);
  EXPECT_EQ(lines.back(), "          /data/culvert.rvl");
}

TEST_F(PrintWindowTest, FailuresShowTheMessageAndLeaveTheWindowOpen) {
  const struct {
    const char* name;
    int failAtLine;
    bool failAtNewPage, failAtEnd;
    std::string copies;
  } rows[] = {
      {"first line", 1, false, false, "1"},
      {"inside the second copy", 60, false, false, "2"},
      {"page break", 0, true, false, "2"},
      {"ending the document", 0, false, true, "1"},
      {"copies beyond any count", 0, false, false, "1e12"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakePrinter failing;
    failing.fonts = printer.fonts;
    failing.failAtLine = row.failAtLine;
    failing.failAtNewPage = row.failAtNewPage;
    failing.failAtEnd = row.failAtEnd;
    PrintCommands cmds(form, failing);
    cmds.mnuPrint_Click();
    frmPrint& w = *cmds.Window();
    w.txtComments[1].SetText("kept");
    w.Combo3.SetEditText(row.copies);
    services.messages.clear();
    services.busyCalls.clear();
    w.cmdPrint.Click();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0],
              (Message{"An unexpected printer error has occured.  Make sure that the path to the "
                       "printer is correct.",
                       "Oops", MessageIcon::Stop}));
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.txtComments[1].Text(), "kept");
    EXPECT_EQ(w.Combo3.Text(), row.copies);
    ASSERT_FALSE(services.busyCalls.empty());
    EXPECT_FALSE(services.busyCalls.back()) << "normal pointer again";
    EXPECT_EQ(failing.events.back(), "abort");
  }
}

TEST_F(PrintWindowTest, WithoutAPrinterEachPrintGoesToAChosenPdfFile) {
  printer.printsToFile = true;
  form.currentFileName = "culvert.rvl";
  frmPrint& w = Open();
  std::vector<std::string> told;
  w.onPrintedToFile = [&told](const std::string& path) { told.push_back(path); };
  EXPECT_TRUE(w.lblPrintsToFile.Visible());
  EXPECT_NE(w.lblPrintsToFile.Caption().find("PDF"), std::string::npos);

  // Declining the file prints nothing and keeps the window.
  services.saveAnswers.push_back(std::nullopt);
  w.cmdPrint.Click();
  ASSERT_EQ(services.saveRequests.size(), 1u);
  EXPECT_EQ(services.saveRequests[0].proposedName, "culvert.pdf");
  EXPECT_EQ(services.saveRequests[0].defaultExtension, "pdf");
  EXPECT_TRUE(printer.Lines().empty());
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(services.messages.empty());
  EXPECT_FALSE(services.busyCalls.back());

  services.saveAnswers.push_back(FileChoice{"/tmp/out.pdf", "out.pdf"});
  w.cmdPrint.Click();
  EXPECT_EQ(printer.outputFiles, (std::vector<std::string>{"/tmp/out.pdf"}));
  EXPECT_FALSE(printer.Lines().empty());
  EXPECT_FALSE(w.Visible());
  // Only a file written is told of, once.
  EXPECT_EQ(told, (std::vector<std::string>{"/tmp/out.pdf"}));

  // Nothing to print, nothing to ask.
  w.Combo3.SetEditText("0");
  w.cmdPrint.Click();
  EXPECT_EQ(services.saveRequests.size(), 2u);
}

TEST_F(PrintWindowTest, CancelHidesAndReopeningKeepsEverything) {
  frmPrint& w = Open();
  w.Combo1.SetListIndex(2);
  w.Combo2.SetListIndex(3);
  w.Combo3.SetEditText("4");
  w.txtComments[3].SetText("fourth");
  w.cmdCancel.Click();
  EXPECT_FALSE(w.Visible());
  // A file opened meanwhile does not recompute the check box of the existing window.
  services.saveAnswers.push_back(Choice("kept.rvl"));
  ASSERT_TRUE(mnuSaveAs_Click(form));
  frmPrint& again = Open();
  EXPECT_EQ(&again, &w);
  EXPECT_TRUE(again.Visible());
  EXPECT_EQ(again.Combo1.Text(), "Noto Mono");
  EXPECT_EQ(again.Combo2.Text(), "14");
  EXPECT_EQ(again.Combo3.Text(), "4");
  EXPECT_EQ(again.txtComments[3].Text(), "fourth");
  EXPECT_EQ(again.chkFileName.Value(), 0);

  // After a successful Print too.
  again.cmdPrint.Click();
  EXPECT_FALSE(again.Visible());
  EXPECT_EQ(Open().Combo3.Text(), "4");
  EXPECT_EQ(commands.Window()->txtComments[3].Text(), "fourth");
}

TEST_F(PrintWindowTest, ClosingDiscardsAndTheNextWindowChecksPrintFilenameAfterSaveAsOrOpen) {
  Open().txtComments[0].SetText("gone after close");
  commands.CloseWindow();
  EXPECT_EQ(commands.Window(), nullptr);

  services.saveAnswers.push_back(Choice("pipe.rvl"));
  ASSERT_TRUE(mnuSaveAs_Click(form));
  frmPrint& w = Open();
  EXPECT_EQ(w.txtComments[0].Text(), "");
  EXPECT_EQ(w.chkFileName.Value(), 1);

  // Open works the same way, and the path printed is the one opened.
  commands.CloseWindow();
  fs::copy_file(folder / "pipe.rvl", folder / "other.rvl");
  services.openAnswers.push_back(Choice("other.rvl"));
  ASSERT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
  Open().cmdPrint.Click();
  EXPECT_EQ(printer.Lines().back(), "          " + (folder / "other.rvl").string());
}

TEST_F(PrintWindowTest, SetupCommandsShowThePrinterSetupDialog) {
  commands.mnuPrintSetup_Click();
  Open().cmdSetup.Click();
  EXPECT_EQ(services.printerSetups, 2);
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(PrintWindowTest, SecondLoadUsesTheCachedFontList) {
  Open();
  commands.CloseWindow();
  printer.fontNameCalls = 0;
  EXPECT_EQ(Open().Combo1.Items(), printer.fonts);
  EXPECT_EQ(printer.fontNameCalls, 0);
}

TEST_F(PrintWindowTest, PrinterWithoutFontsStillPrints) {
  printer.fonts.clear();
  frmPrint& w = Open();
  EXPECT_EQ(w.Combo1.ListIndex(), -1);
  w.cmdPrint.Click();
  EXPECT_EQ(printer.Calls(), (std::vector<std::string>{"font  12", "end"}));
  EXPECT_FALSE(printer.Lines().empty());
}

// While the Flow Details are shown every copy carries the details block after the report;
// hidden, the report goes alone. The block keeps to the report's 70 columns.
TEST_F(PrintWindowTest, ShownFlowDetailsArePrintedAfterEachReport) {
  ASSERT_EQ(OpenNamedFile(form, Example("storm-sewer-pipe.rvl")), OpenResult::Loaded);
  const DesignSettings settings = DefaultDesignSettings();
  EXPECT_FALSE(Open().lblDetails.Visible()) << "no details block: nothing to say";
  commands.SetDetailsBlock([this, &settings] { return DetailsReportLines(form, &settings); });
  const std::vector<std::string> report = ReportLines(form, Open().Extras());
  EXPECT_TRUE(commands.Window()->lblDetails.Visible());
  const std::vector<std::string> details = DetailsReportLines(form, &settings);
  ASSERT_GT(details.size(), 10u);
  bool checks = false;
  for (const std::string& l : details) {
    EXPECT_LE(CharacterCount(l), 70u) << l;
    checks = checks || l.find("Design checks") != std::string::npos;
  }
  EXPECT_TRUE(checks);

  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    form.mnuFlowDetails.SetChecked(shown);
    printer.events.clear();
    PrintCopies("2");
    std::vector<std::string> copy = report;
    if (shown) copy.insert(copy.end(), details.begin(), details.end());
    std::vector<std::string> expected = copy;
    expected.insert(expected.end(), copy.begin(), copy.end());
    EXPECT_EQ(printer.Lines(), expected);
  }
}

}  // namespace
}  // namespace rivulet
