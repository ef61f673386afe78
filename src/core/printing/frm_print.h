// The print window without a screen: comments, the file-name choice, font, size and
// copies, and the Print command that sends the results report to the printer.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/printing/printer.h"
#include "core/printing/report.h"
#include "core/shell/controls.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr char kPrintCaption[] = "Print Results from Rivulet";
inline constexpr char kSampleText[] = "Rivulet Sample Text...";
inline constexpr char kPrinterErrorText[] =
    "An unexpected printer error has occured.  Make sure that the path to the printer is "
    "correct.";
inline constexpr char kPrinterErrorTitle[] = "Oops";
inline constexpr char kPrintsToFileNote[] =
    "No printer is installed: Print saves the report as a PDF file that you choose.";
inline constexpr char kPrintsDetailsNote[] =
    "While View > Flow Details is shown, the flow details and design checks are printed "
    "after the report.";
/// A comment line fills the report's body: 70 columns less the 10 of the margin.
inline constexpr int kCommentLength = 60;
/// The size the window starts with and the batch mode prints in, in points.
inline constexpr int kInitialFontSize = 12;

/// The font the sample text is shown in.
struct SampleFont {
  std::string name;
  int points = 0;
  bool italic = false;
};

class frmPrint {
 public:
  frmPrint(frmRivulet& main, Printer& printer);
  frmPrint(const frmPrint&) = delete;
  frmPrint& operator=(const frmPrint&) = delete;

  /// Fills the font list (from the cache file when it still fits the printer), the sizes
  /// and the copies, picks the start font and size, and sets Print Filename from whether
  /// the sheet has a file.
  void Form_Load();

  const std::string& Caption() const { return caption_; }
  bool Visible() const { return visible_; }
  void Show();
  void Hide() { visible_ = false; }

  Button cmdPrint{"cmdPrint"};
  Button cmdCancel{"cmdCancel"};
  Label lblComments{"lblComments"};
  std::array<TextBox, 5> txtComments{{TextBox{"txtComments0"}, TextBox{"txtComments1"},
                                      TextBox{"txtComments2"}, TextBox{"txtComments3"},
                                      TextBox{"txtComments4"}}};
  CheckBox chkFileName{"chkFileName"};
  Label lblFont{"lblFont"};
  ComboBox Combo1{"Combo1"};
  Label lblSize{"lblSize"};
  ComboBox Combo2{"Combo2"};
  Label lblCopies{"lblCopies"};
  ComboBox Combo3{"Combo3"};
  Label Label1{"Label1"};
  /// Label1's font.
  SampleFont sample;
  Button cmdSetup{"cmdSetup"};
  /// Says where Print goes when there is no printer; hidden otherwise.
  Label lblPrintsToFile{"lblPrintsToFile"};
  /// Says when the flow details go with the report; shown when there is a details block.
  Label lblDetails{"lblDetails"};

  /// The controls the user can reach, in tab order.
  std::vector<Control*> TabOrder();

  /// The comments and the file-name choice, as the report takes them.
  ReportExtras Extras() const;

  /// The flow details block printed after the report while the sheet shows its Flow
  /// Details; none prints the report alone.
  std::function<std::vector<std::string>()> detailsBlock;

  /// Told the path of a PDF file the report went into (no printer installed).
  std::function<void(const std::string& path)> onPrintedToFile;

  /// The lines of one copy: the report, then the details when they are shown.
  std::vector<std::string> PrintedLines();

  void cmdPrint_Click();
  void cmdCancel_Click() { Hide(); }
  void cmdSetup_Click() { main_.Svc().PrinterSetup(); }
  void Combo1_Click();
  void Combo2_Click();

 private:
  /// Everything of cmdPrint_Click that can fail; false when the user declined the file.
  bool PrintReports();
  FileDialogRequest PdfRequest() const;

  frmRivulet& main_;
  Printer& printer_;
  std::string caption_ = kPrintCaption;
  bool visible_ = false;
};

/// The main window's two printing commands and the print window's life: made on first
/// use, kept (settings and all) while hidden, discarded when closed.
class PrintCommands {
 public:
  PrintCommands(frmRivulet& main, Printer& printer) : main_(main), printer_(printer) {}

  /// Makes and loads the print window when there is none, then shows it (not modal).
  void mnuPrint_Click();
  void mnuPrintSetup_Click() { main_.Svc().PrinterSetup(); }

  /// Gives the print window (this one and any made later) its flow details block.
  void SetDetailsBlock(std::function<std::vector<std::string>()> block);
  /// And what it tells of a PDF file it printed into.
  void SetPrintedToFile(std::function<void(const std::string&)> told);

  /// The print window, or nullptr before the first Print and after a close.
  frmPrint* Window() const { return window_.get(); }
  /// The window's close control (and Exit) discard it; the next Print makes a new one.
  void CloseWindow() { window_.reset(); }

 private:
  frmRivulet& main_;
  Printer& printer_;
  std::unique_ptr<frmPrint> window_;
  std::function<std::vector<std::string>()> detailsBlock_;
  std::function<void(const std::string&)> printedToFile_;
};

}  // namespace rivulet
