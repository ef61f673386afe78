// The worksheet window's file, print, copy and close commands.
#include <QCloseEvent>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <filesystem>

#include "core/shell/app_texts.h"
#include "core/shell/startup.h"
#include "gui/files/program_documents.h"
#include "gui/worksheets/worksheet_print.h"
#include "gui/worksheets/worksheet_window.h"
#include "gui/worksheets/worksheet_windows.h"

namespace rivulet {
namespace {

const std::vector<std::pair<std::string, std::string>> kWorksheetFilters{
    {"Worksheet Files (*.rvw)", "*.rvw"}, {"All Files (*)", "*"}};

std::string Stem(const std::string& name) { return std::filesystem::path(name).stem().string(); }

// Dialogs open beside the current file; before the first save, in the documents folder.
FileDialogRequest Request(const std::string& title,
                          std::vector<std::pair<std::string, std::string>> filters,
                          const std::string& proposed, const std::string& extension,
                          const std::string& currentPath) {
  FileDialogRequest request;
  request.title = title;
  request.filters = std::move(filters);
  request.proposedName = proposed;
  request.defaultExtension = extension;
  request.startFolder = std::filesystem::path(currentPath).parent_path().string();
  return request;
}

}  // namespace

void WorksheetWindow::Message(const std::string& text, MessageIcon icon) {
  Sync();
  services_.MessageBox(text, kProductName, icon);
}

bool WorksheetWindow::OpenFile(const std::string& path) {
  const WorksheetRead read = ReadWorksheetFile(path);
  if (!read.document) {
    Message(read.message, MessageIcon::Exclamation);
    return false;
  }
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  const std::string refusal = model_.Load(*read.document, ec ? path : absolute.string());
  if (!refusal.empty()) {
    Message(refusal, MessageIcon::Exclamation);
    return false;
  }
  ForgetEdits();
  AddRecentDocument(model_.FilePath());
  // As a calculation file does on Open: the results follow from what was read.
  Calculate();
  return true;
}

bool WorksheetWindow::Open() {
  if (!MayDiscard()) return false;
  const auto choice = services_.OpenFileDialog(
      Request("Open Worksheet", kWorksheetFilters, "", "rvw", model_.FilePath()));
  return choice && OpenFile(choice->path);
}

bool WorksheetWindow::SaveTo(const std::string& path) {
  // Saying nothing on failure would let the user believe the work was kept.
  const SaveOutcome saved = SaveWorksheetFile(model_.ToDocument(), path);
  if (saved) return true;
  Message("The worksheet could not be saved to " + path + ": " + SaveCause(saved) + ".  " +
              SaveAdvice(saved) + "  The previous file, if any, is unchanged.",
          MessageIcon::Exclamation);
  return false;
}

bool WorksheetWindow::Save() {
  if (model_.FilePath().empty()) return SaveAs();
  if (!SaveTo(model_.FilePath())) return false;
  model_.MarkSaved(model_.FilePath());
  MarkUndoClean();
  AddRecentDocument(model_.FilePath());
  Sync();
  return true;
}

bool WorksheetWindow::SaveAs() {
  const std::string proposed =
      model_.FilePath().empty() ? model_.Kind().name + ".rvw" : model_.FileName();
  const auto choice = services_.SaveFileDialog(
      Request("Save Worksheet As", kWorksheetFilters, proposed, "rvw", model_.FilePath()));
  if (!choice) return false;
  // After a failed Save As the window keeps its previous file for the next Save.
  if (!SaveTo(choice->path)) return false;
  model_.MarkSaved(choice->path);
  MarkUndoClean();
  AddRecentDocument(model_.FilePath());
  Sync();
  return true;
}

void WorksheetWindow::Print() {
  // Without a printer, printing means a PDF file, as it does for the calculation report.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    SavePdf();
    return;
  }
  QPrintDialog dialog(&printer_.Get(), this);
  dialog.setWindowTitle("Print " + QString::fromStdString(model_.Kind().title));
  if (dialog.exec() != QDialog::Accepted) return;
  PrintOnPrinter();
}

std::vector<ReportDrawing> WorksheetWindow::ReportDrawings() const {
  if (model_.State() != ResultsState::Current) return {};
  return WorksheetReportDrawings(model_.Kind(), model_.ToDocument(), model_.Outcome());
}

bool WorksheetWindow::PrintOnPrinter() {
  std::string error;
  if (PrintReportLines(printer_.Get(), model_.ReportLines(), &error, ReportDrawings())) return true;
  Message("The report could not be printed: " + error, MessageIcon::Stop);
  return false;
}

bool WorksheetWindow::SavePdf() {
  const std::string stem = model_.FilePath().empty() ? model_.Kind().name : Stem(model_.FileName());
  const auto choice =
      services_.SaveFileDialog(Request("Save Report as PDF", {{"PDF Files (*.pdf)", "*.pdf"}},
                                       stem + ".pdf", "pdf", model_.FilePath()));
  if (!choice) return false;
  std::string error;
  if (!WriteReportLinesPdf(choice->path, model_.ReportLines(), &error, ReportDrawings())) {
    Message("The report could not be written to " + choice->path +
                (error.empty() ? std::string(".") : ": " + error),
            MessageIcon::Stop);
    return false;
  }
  Sync();
  ShowNotice("Report saved as " + choice->path);
  return true;
}

void WorksheetWindow::CopyResults() { services_.SetClipboardText(model_.CopyText()); }

bool WorksheetWindow::MayDiscard() {
  if (!model_.HasUnsavedChanges()) return true;
  Sync();
  switch (askSave_(model_.FileName())) {
    case SaveAnswer::Save:
      return Save();
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}

void WorksheetWindow::closeEvent(QCloseEvent* event) {
  if (MayDiscard())
    event->accept();
  else
    event->ignore();
}

}  // namespace rivulet
