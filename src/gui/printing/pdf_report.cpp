#include "gui/printing/pdf_report.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>

#include "core/batch/batch.h"
#include "core/batch/details_output.h"
#include "core/batch/worksheet_batch.h"
#include "core/design/design_settings_file.h"
#include "core/printing/font_list.h"
#include "core/printing/frm_print.h"
#include "core/shell/safe_file.h"
#include "core/worksheets/worksheet_report.h"
#include "gui/printing/qt_printer.h"
#include "gui/window/section_sketch_view.h"
#include "gui/worksheets/worksheet_windows.h"

namespace rivulet {

bool IsCompletePdf(const std::string& path) {
  // A PDF ends with its end-of-file marker; a full disk cuts it off before that.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  if (!in || size < 16) return false;
  const std::streamoff tail = std::min<std::streamoff>(size, 64);
  in.seekg(size - tail);
  std::string end(static_cast<size_t>(tail), '\0');
  in.read(end.data(), tail);
  return in && end.find("%%EOF") != std::string::npos;
}

int WriteReportsPdf(const std::vector<std::string>& files, const StartupValues& startup,
                    const QString& pdfPath, std::ostream& err, const KindTable& kinds,
                    bool withDetails, bool withDrawings) {
  int status = kBatchAllSolved;
  std::string problem;
  std::optional<DesignSettings> design;
  if (withDetails) {
    std::string unread;
    design = LoadDesignSettings(startup, &unread);
    if (!unread.empty()) err << kProductName << ": " << unread << "\n";
  }
  // The reports go to a temporary file that replaces the PDF only when complete, so a
  // failure keeps the previous PDF.
  const SaveOutcome saved = ReplaceFileThrough(
      QFile::encodeName(pdfPath).toStdString(),
      [&](const std::string& tempPath) {
        QPrinter printer(QPrinter::HighResolution);
        QtPrinter pdf(printer, QFile::decodeName(tempPath.c_str()));
        try {
          // The font list straight from the printer: a batch run leaves no cache file behind.
          std::vector<std::string> fonts;
          const int count = pdf.FontCount();
          for (int i = 0; i < count; ++i) fonts.push_back(pdf.FontName(i));
          const int initial = InitialFontIndex(fonts, pdf);
          pdf.SetFont(initial >= 0 ? fonts[static_cast<size_t>(initial)] : std::string(),
                      kInitialFontSize);
          ReportDocument document(pdf);
          ReportExtras extras;
          extras.printFileName = true;
          // Each report with the drawings its window shows, as printing from the window does.
          status = ForEachBatchFile(
              files, startup, kinds, err,
              [&](frmRivulet& form, const std::string&) {
                std::vector<std::string> lines = ReportLines(form, extras);
                if (design)
                  for (std::string& l : DetailsReportLines(form, &*design))
                    lines.push_back(std::move(l));
                if (withDrawings) pdf.SetDrawings(CalculationDrawings(form));
                document.Add(lines);
              },
              [&](const SolvedWorksheet& w) {
                if (withDrawings)
                  pdf.SetDrawings(WorksheetReportDrawings(*w.kind, w.document, w.outcome));
                document.Add(
                    WorksheetReportLines(*w.kind, w.document, w.outcome, PrintedPath(w.file)));
              });
          document.End();
          return true;
        } catch (const PrinterError& e) {
          pdf.AbortDocument();
          problem = e.what();
          return false;
        }
      },
      IsCompletePdf);
  if (saved) return status;
  err << "rivulet: cannot write " << pdfPath.toStdString() << ": "
      << (problem.empty() || saved.error != SaveError::WriteFailed ? SaveFailureText(saved)
                                                                   : problem)
      << "; the previous file, if any, is unchanged\n";
  return kBatchBadFile;
}

int RunPdfBatch(int argc, char** argv, const std::vector<std::string>& files,
                const std::string& pdfPath, bool withDetails) {
  // Fonts, printing and the drawings' widgets need an application, not a screen.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return WriteReportsPdf(files, StartupValues::Compute(), QFile::decodeName(pdfPath.c_str()),
                         std::cerr, BuiltInKinds(), withDetails);
}

}  // namespace rivulet
