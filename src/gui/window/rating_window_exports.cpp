// The Rating Table window's design checks and its exports: clipboard, CSV, PDF and printer.
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/shell/dialog_folder.h"
#include "gui/shell/qt_text.h"
#include "gui/window/rating_plot.h"
#include "gui/window/rating_window.h"

namespace rivulet {
void RatingWindow::SetDesignSettings(const DesignSettings* settings) { design_ = settings; }

std::optional<RatingCheckBasis> RatingWindow::Checks() const {
  if (!design_ || !rating_.Table().problem.empty()) return std::nullopt;
  return RatingCheckBasisFor(rating_.Source().channel, rating_.Settings().Units(), *design_);
}

std::optional<RatingTextColumn> RatingWindow::ChecksColumn() const {
  const std::optional<RatingCheckBasis> basis = Checks();
  if (!basis) return std::nullopt;
  RatingTextColumn column{RatingChecksHeader(*basis), {}};
  const std::vector<RatingRow>& rows = rating_.Table().rows;
  column.cells.reserve(rows.size());
  for (const RatingRow& row : rows) column.cells.push_back(RatingRowMarksText(*basis, row));
  return column;
}

QString RatingWindow::ChecksLegend() const {
  const std::optional<RatingCheckBasis> basis = Checks();
  if (!basis) return {};
  return ToQt(RatingChecksParagraph(*basis));
}

RatingReport RatingWindow::Report() const {
  RatingReport report;
  report.title = windowTitle();
  report.description = ToQt(rating_.Source().description);
  report.note = ToQt(rating_.Note());
  report.pipe = rating_.Pipe();
  report.plot = plot_->Data();
  if (const auto column = ChecksColumn()) {
    report.legend = ChecksLegend();
    for (const std::string& cell : column->cells) report.checks << ToQt(cell);
  }
  return report;
}

void RatingWindow::CopyTable() {
  const RatingTable& table = rating_.Table();
  if (table.rows.empty()) return;
  const auto checks = ChecksColumn();
  services_.SetClipboardText(JoinRatingLines(RatingLines(
      table.rows, rating_.Pipe(), rating_.Settings().Units(), '\t', checks ? &*checks : nullptr)));
}

void RatingWindow::SaveCsv() {
  const RatingTable& table = rating_.Table();
  if (table.rows.empty()) return;
  const auto choice =
      services_.SaveFileDialog({"Save Rating Table",
                                {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
                                rating_.ProposedName("csv"),
                                "csv",
                                FileDialogStartFolder(form_.currentFilePath)});
  if (!choice) return;
  const auto checks = ChecksColumn();
  if (!SaveRatingCsv(choice->path, table.rows, rating_.Pipe(), rating_.Settings().Units(),
                     rating_.Source().description, checks ? &*checks : nullptr))
    services_.MessageBox("The rating table could not be saved to " + choice->path + ".",
                         kProductName, MessageIcon::Exclamation);
}

void RatingWindow::SavePdf() {
  if (rating_.Table().rows.empty()) return;
  const auto choice =
      services_.SaveFileDialog({"Save Rating Table as PDF",
                                {{"PDF Files (*.pdf)", "*.pdf"}, {"All Files", "*"}},
                                rating_.ProposedName("pdf"),
                                "pdf",
                                FileDialogStartFolder(form_.currentFilePath)});
  if (!choice) return;
  if (!WriteRatingPdf(ToQt(choice->path), Report()))
    services_.MessageBox("The rating table could not be saved to " + choice->path + ".",
                         kProductName, MessageIcon::Exclamation);
}

void RatingWindow::Print() {
  if (rating_.Table().rows.empty()) return;
  // Without a printer, printing means a PDF file, as it does for the results report.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    SavePdf();
    return;
  }
  QPrinter& printer = printer_.Get();
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle("Print Rating Table");
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PaintRatingReport(printer, Report()))
    services_.MessageBox("The rating table could not be printed.", "Oops", MessageIcon::Stop);
}

}  // namespace rivulet
