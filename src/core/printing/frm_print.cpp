#include "core/printing/frm_print.h"

#include <exception>

#include "core/printing/font_list.h"
#include "core/shell/dialog_folder.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"

namespace rivulet {

frmPrint::frmPrint(frmRivulet& main, Printer& printer) : main_(main), printer_(printer) {
  cmdPrint.SetCaption("Print");
  cmdCancel.SetCaption("Cancel");
  lblComments.SetCaption("Co&mments to be Printed");
  for (TextBox& box : txtComments) box.SetMaxLength(kCommentLength);
  chkFileName.SetCaption("&Print Filename");
  lblFont.SetCaption("Printer &Font   -- A \"fixed with\" font is best.");
  lblSize.SetCaption("Font &Size");
  lblCopies.SetCaption("&Copies");
  Combo3.SetEditable(true);
  Label1.SetCaption(kSampleText);
  cmdSetup.SetCaption("Setup...");
  lblPrintsToFile.SetCaption(kPrintsToFileNote);
  lblPrintsToFile.SetVisible(false);
  lblDetails.SetCaption(kPrintsDetailsNote);
  lblDetails.SetVisible(false);

  cmdPrint.onClick = [this] { cmdPrint_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
  cmdSetup.onClick = [this] { cmdSetup_Click(); };
  Combo1.onClick = [this] { Combo1_Click(); };
  Combo2.onClick = [this] { Combo2_Click(); };
}

void frmPrint::Form_Load() {
  BusyPointer busy(main_.Svc());
  const std::vector<std::string> fonts = LoadFontList(printer_, SettingsFolders(main_.Startup()));
  Combo1.Clear();
  Combo1.AddItems(fonts);
  if (!fonts.empty()) Combo1.SetListIndex(InitialFontIndex(fonts, printer_));

  Combo2.Clear();
  Combo2.AddItems({"8", "10", "12", "14", "16"});
  Combo2.SetListIndex(2);

  Combo3.Clear();
  for (int i = 1; i <= 20; ++i) Combo3.AddItem(std::to_string(i));
  Combo3.SetListIndex(0);

  chkFileName.SetValue(main_.currentFilePath.empty() ? 0 : 1);
  lblPrintsToFile.SetVisible(printer_.PrintsToFile());
}

void frmPrint::Show() {
  visible_ = true;
  // A printer may have come or gone since the window was made.
  lblPrintsToFile.SetVisible(printer_.PrintsToFile());
  lblDetails.SetVisible(static_cast<bool>(detailsBlock));
}

std::vector<Control*> frmPrint::TabOrder() {
  std::vector<Control*> order{&cmdPrint, &cmdCancel};
  for (TextBox& box : txtComments) order.push_back(&box);
  order.insert(order.end(), {&chkFileName, &Combo1, &Combo2, &Combo3, &cmdSetup});
  return order;
}

ReportExtras frmPrint::Extras() const {
  ReportExtras extras;
  for (size_t i = 0; i < txtComments.size(); ++i) extras.comments[i] = txtComments[i].Text();
  extras.printFileName = chkFileName.Value() == 1;
  return extras;
}

void frmPrint::Combo1_Click() {
  sample.name = Combo1.Text();
  sample.italic = false;
}

void frmPrint::Combo2_Click() {
  // The sample is shown two points smaller than it will print.
  sample.points = static_cast<int>(ReadNumber(Combo2.Text())) - 2;
}

FileDialogRequest frmPrint::PdfRequest() const {
  std::string proposed = main_.currentFileName;
  const auto dot = proposed.rfind('.');
  if (dot != std::string::npos && dot > 0) proposed.resize(dot);
  if (proposed.empty()) proposed = kProductName;
  return {"Print to PDF File",
          {{"PDF Files (*.pdf)", "*.pdf"}},
          proposed + ".pdf",
          "pdf",
          FileDialogStartFolder(main_.currentFilePath)};
}

bool frmPrint::PrintReports() {
  Services& services = main_.Svc();
  printer_.SetFont(Combo1.Text(), static_cast<int>(ReadNumber(Combo2.Text())));
  const std::optional<int> copies = ReadFileNumber(Combo3.Text());
  if (!copies) throw PrinterError("the number of copies is out of range");
  std::string file;
  if (*copies > 0 && printer_.PrintsToFile()) {
    // The file dialog wants the ordinary pointer.
    services.SetBusy(false);
    const auto choice = services.SaveFileDialog(PdfRequest());
    services.SetBusy(true);
    if (!choice) return false;
    printer_.SetOutputFile(choice->path);
    file = choice->path;
  }
  // Each copy is the report printed again; the printer's own copy count stays at 1.
  ReportDocument document(printer_);
  const std::vector<std::string> lines = PrintedLines();
  for (int copy = 0; copy < *copies; ++copy) document.Add(lines);
  document.End();
  if (!file.empty() && onPrintedToFile) onPrintedToFile(file);
  return true;
}

void frmPrint::cmdPrint_Click() {
  Services& services = main_.Svc();
  services.SetBusy(true);
  bool printed = false;
  try {
    printed = PrintReports();
  } catch (const std::exception&) {
    printer_.AbortDocument();
    services.SetBusy(false);
    services.MessageBox(kPrinterErrorText, kPrinterErrorTitle, MessageIcon::Stop);
    return;
  }
  if (printed) Hide();
  services.SetBusy(false);
}

std::vector<std::string> frmPrint::PrintedLines() {
  std::vector<std::string> lines = ReportLines(main_, Extras());
  // What the user has on screen goes on paper: the details when the panel is shown.
  if (main_.mnuFlowDetails.Checked() && detailsBlock) {
    for (std::string& l : detailsBlock()) lines.push_back(std::move(l));
  }
  return lines;
}

void PrintCommands::mnuPrint_Click() {
  BusyPointer busy(main_.Svc());
  if (!window_) {
    window_ = std::make_unique<frmPrint>(main_, printer_);
    window_->detailsBlock = detailsBlock_;
    window_->onPrintedToFile = printedToFile_;
    window_->Form_Load();
  }
  window_->Show();
}

void PrintCommands::SetPrintedToFile(std::function<void(const std::string&)> told) {
  printedToFile_ = std::move(told);
  if (window_) window_->onPrintedToFile = printedToFile_;
}

void PrintCommands::SetDetailsBlock(std::function<std::vector<std::string>()> block) {
  detailsBlock_ = std::move(block);
  if (window_) window_->detailsBlock = detailsBlock_;
}

}  // namespace rivulet
