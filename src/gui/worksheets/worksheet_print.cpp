#include "gui/worksheets/worksheet_print.h"

#include "core/printing/font_list.h"
#include "core/printing/frm_print.h"
#include "core/printing/printer.h"
#include "core/shell/safe_file.h"
#include "gui/printing/pdf_report.h"
#include "gui/printing/qt_printer.h"

namespace rivulet {
namespace {

bool PrintOn(QtPrinter& out, const std::vector<std::string>& lines, std::string* error,
             std::vector<ReportDrawing> drawings) {
  out.SetDrawings(std::move(drawings));
  try {
    std::vector<std::string> fonts;
    const int count = out.FontCount();
    for (int i = 0; i < count; ++i) fonts.push_back(out.FontName(i));
    const int initial = InitialFontIndex(fonts, out);
    out.SetFont(initial >= 0 ? fonts[static_cast<size_t>(initial)] : std::string(),
                kInitialFontSize);
    ReportDocument document(out);
    document.Add(lines);
    document.End();
    return true;
  } catch (const PrinterError& e) {
    out.AbortDocument();
    if (error) *error = e.what();
    return false;
  }
}

}  // namespace

bool PrintReportLines(QPrinter& printer, const std::vector<std::string>& lines, std::string* error,
                      std::vector<ReportDrawing> drawings) {
  // A printer set to print into a file (Print to File in the dialog) writes that file
  // whether or not the system has a printer.
  const bool toFile =
      printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  QtPrinter out(printer, toFile ? printer.outputFileName() : QString());
  return PrintOn(out, lines, error, std::move(drawings));
}

bool WriteReportLinesPdf(const std::string& path, const std::vector<std::string>& lines,
                         std::string* error, std::vector<ReportDrawing> drawings) {
  const SaveOutcome saved = ReplaceFileThrough(
      path,
      [&](const std::string& tempPath) {
        QPrinter printer(QPrinter::HighResolution);
        QtPrinter out(printer, QString::fromStdString(tempPath));
        return PrintOn(out, lines, error, drawings);
      },
      IsCompletePdf);
  if (!saved && error && error->empty()) *error = SaveCause(saved);
  return static_cast<bool>(saved);
}

}  // namespace rivulet
