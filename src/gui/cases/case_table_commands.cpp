// The Case Table window's commands: rows, files, the clipboard, the calculation window
// and printing.
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QTableView>

#include "gui/cases/case_table_model.h"
#include "gui/cases/case_table_print.h"
#include "gui/cases/case_table_window.h"
#include "gui/files/program_documents.h"
#include "gui/shell/qt_text.h"
#include "gui/window/flow_details_panel.h"
#include "gui/window/frm_rivulet_view.h"

namespace rivulet {
namespace {

// Dialogs open beside the table's file, where its neighbours are.
std::string FolderOf(const QString& path) {
  return path.isEmpty() ? std::string() : QFileInfo(path).absolutePath().toStdString();
}

FileDialogRequest CsvRequest(const char* title, const QString& proposed, const QString& path) {
  return {title,
          {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
          proposed.toStdString(),
          "csv",
          FolderOf(path)};
}

}  // namespace

QString CaseTableWindow::ProposedName(const char* extension) const {
  const QString base = path_.isEmpty() ? QString("cases") : QFileInfo(path_).completeBaseName();
  return base + "." + extension;
}

void CaseTableWindow::AddRow() {
  const int at =
      CurrentSourceRow() >= 0 ? CurrentSourceRow() + 1 : static_cast<int>(doc_.RowCount());
  std::vector<std::string> cells(doc_.Header().size());
  // A new row starts as the sheet starts: a pipe, solving for velocity.
  cells[*doc_.Column("section")] = "pipe";
  cells[*doc_.Column("solveFor")] = "velocity";
  model_->Restructure([&] { doc_.InsertRows(static_cast<size_t>(at), {cells}); });
  view_->setCurrentIndex(filter_->mapFromSource(model_->index(at, 0)));
  DocumentChanged();
}

void CaseTableWindow::DuplicateRows() {
  const std::vector<size_t> rows = SelectedRows();
  model_->Restructure([&] {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) doc_.DuplicateRow(*it);
  });
  DocumentChanged();
}

void CaseTableWindow::DeleteRows() {
  const std::vector<size_t> rows = SelectedRows();
  if (rows.empty()) return;
  model_->Restructure([&] { doc_.RemoveRows(rows); });
  DocumentChanged();
}

void CaseTableWindow::AddCurrentSheet() {
  const size_t at = doc_.RowCount();
  model_->Restructure([&] {
    doc_.InsertRows(at, {doc_.RowFromSheet(form_)});
    // Its results at once, so that the row can be checked against the sheet beside it.
    doc_.Compute(at, CaseStart(form_.Startup()));
  });
  view_->setCurrentIndex(filter_->mapFromSource(model_->index(static_cast<int>(at), 0)));
  view_->scrollTo(view_->currentIndex());
  DocumentChanged();
}

void CaseTableWindow::OpenRowInSheet() {
  const int row = CurrentSourceRow();
  if (row < 0) return;
  std::string error;
  const bool velocityFirst = form_.VelocityGiven();
  const auto caseInput = doc_.InputOf(static_cast<size_t>(row), velocityFirst, error);
  if (!caseInput) {
    services_.MessageBox("Row " + std::to_string(row + 1) + " cannot go on the sheet: " + error,
                         kProductName, MessageIcon::Exclamation);
    return;
  }
  ApplyCase(form_, *caseInput);
  if (main_) main_->Sync();
  form_.cmdCalculate_Click();
  if (main_) {
    main_->Sync();
    emit main_->Changed();
    main_->raise();
    main_->activateWindow();
  }
}

void CaseTableWindow::CopyRows() {
  const std::vector<size_t> rows = SelectedRows();
  if (rows.empty()) return;
  services_.SetClipboardText(doc_.RowsAsText(rows));
}

void CaseTableWindow::PasteRows() {
  const auto text = services_.ClipboardText();
  if (!text || text->empty()) return;
  auto rows = doc_.RowsFromText(*text);
  if (rows.empty()) return;
  const int current = CurrentSourceRow();
  const size_t at = current >= 0 ? static_cast<size_t>(current) + 1 : doc_.RowCount();
  const int count = static_cast<int>(rows.size());
  model_->Restructure([&] { doc_.InsertRows(at, std::move(rows)); });
  view_->selectionModel()->clearSelection();
  for (int r = 0; r < count; ++r)
    view_->selectionModel()->select(
        filter_->mapFromSource(model_->index(static_cast<int>(at) + r, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  DocumentChanged();
}

bool CaseTableWindow::MayDiscardChanges() {
  if (!doc_.Modified()) return true;
  // Asked from the calculation window's Exit too: the table the question is about shows.
  if (isVisible()) {
    raise();
    activateWindow();
  }
  const std::string name = path_.isEmpty()
                               ? std::string("the untitled case table")
                               : "the case table " + QFileInfo(path_).fileName().toStdString();
  switch (services_.AskSaveChanges("Save changes to " + name + "?", "Case Table")) {
    case SaveChoice::Save:
      return Save();
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

void CaseTableWindow::NewTable() {
  if (next_ || !MayDiscardChanges()) return;
  model_->Restructure([&] { doc_ = CaseDocument(); });
  path_.clear();
  ForgetEdits();
  DocumentChanged();
}

void CaseTableWindow::RevertToSaved() {
  std::string error;
  bool reopened = false;
  model_->Restructure([&] {
    reopened = !path_.isEmpty() && doc_.Open(path_.toStdString(), error);
    if (!reopened) doc_ = CaseDocument();
  });
  // A file gone or spoilt since it was saved leaves nothing to go back to but a new table.
  if (!reopened) path_.clear();
  ForgetEdits();
  DocumentChanged();
}

bool CaseTableWindow::Save() {
  if (path_.isEmpty()) return SaveAs();
  if (doc_.Save(path_.toStdString())) {
    doc_.SetModified(false);
    MarkUndoClean();
    AddRecentDocument(path_.toStdString());
    UpdateTitle();
    return true;
  }
  services_.MessageBox("The case table could not be saved to " + path_.toStdString() +
                           ".  The previous file, if any, is unchanged.",
                       kProductName, MessageIcon::Exclamation);
  return false;
}

bool CaseTableWindow::SaveAs() {
  const auto choice =
      services_.SaveFileDialog(CsvRequest("Save Case Table", ProposedName("csv"), path_));
  if (!choice || choice->path.empty()) return false;
  const QString previous = path_;
  path_ = ToQt(choice->path);
  if (Save()) return true;
  path_ = previous;
  return false;
}

void CaseTableWindow::OpenFile() {
  if (next_ || !MayDiscardChanges()) return;
  const auto choice = services_.OpenFileDialog(CsvRequest("Open Case Table", QString(), path_));
  if (choice && !choice->path.empty()) OpenPath(ToQt(choice->path));
}

bool CaseTableWindow::OpenPath(const QString& path) {
  std::string error;
  bool opened = false;
  model_->Restructure([&] { opened = doc_.Open(path.toStdString(), error); });
  if (!opened) {
    services_.MessageBox(error, kProductName, MessageIcon::Exclamation);
    return false;
  }
  path_ = path;
  ForgetEdits();
  AddRecentDocument(path.toStdString());
  DocumentChanged();
  // As a worksheet does on Open: the results follow from the rows read.
  RecalculateAll();
  openingCalculation_ = Recalculating();
  statusBar()->showMessage("Read as " + ToQt(doc_.ReadAs()) + ".", 10000);
  return true;
}

std::optional<std::vector<CaseDesignCells>> CaseTableWindow::RowDesigns() const {
  // The checks go on paper while the calculation window shows them.
  const DesignSettings* settings = main_ ? main_->Details()->DesignSettingsInUse() : nullptr;
  if (!settings) return std::nullopt;
  BusyPointer busy(services_);
  return CaseDesigns(doc_, ShownRows(), CaseStart(form_.Startup()), *settings);
}

void CaseTableWindow::Print() {
  if (doc_.RowCount() == 0) return;
  // Without a printer, printing means a PDF file, as it does for the results report.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    SavePdf();
    return;
  }
  // The table's thirteen columns want a landscape page, but the printer is the program's
  // one: the orientation the user set up comes back for the reports printed after it.
  QPrinter& printer = printer_.Get();
  const QPageLayout::Orientation setUp = printer.pageLayout().orientation();
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle("Print Case Table");
  const bool accepted = dialog.exec() == QDialog::Accepted;
  const auto designs = accepted ? RowDesigns() : std::nullopt;
  const bool painted = accepted && PaintCaseTable(printer, doc_, ShownRows(), windowTitle(),
                                                  designs ? &*designs : nullptr);
  printer.setPageOrientation(setUp);
  if (accepted && !painted)
    services_.MessageBox("The case table could not be printed.", kProductName,
                         MessageIcon::Exclamation);
}

void CaseTableWindow::SavePdf() {
  if (doc_.RowCount() == 0) return;
  const auto choice =
      services_.SaveFileDialog({"Save Case Table as PDF",
                                {{"PDF Files (*.pdf)", "*.pdf"}, {"All Files", "*"}},
                                ProposedName("pdf").toStdString(),
                                "pdf",
                                FolderOf(path_)});
  if (!choice || choice->path.empty()) return;
  const auto designs = RowDesigns();
  if (!WriteCaseTablePdf(ToQt(choice->path), doc_, ShownRows(), windowTitle().remove(" *"),
                         designs ? &*designs : nullptr)) {
    services_.MessageBox("The case table could not be saved to " + choice->path + ".", kProductName,
                         MessageIcon::Exclamation);
    return;
  }
  statusBar()->showMessage("Case table saved as " + ToQt(choice->path), 15000);
}

}  // namespace rivulet
