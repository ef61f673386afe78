#include "gui/printing/pdf_report.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <iostream>

#include "core/files/batch.h"
#include "core/printing/font_list.h"
#include "core/printing/frm_print.h"
#include "core/worksheets/worksheet_batch.h"
#include "gui/printing/qt_printer.h"

namespace rivulet {

int WriteReportsPdf(const std::vector<std::string>& files, const StartupValues& startup,
                    const QString& pdfPath, std::ostream& err) {
  QPrinter printer(QPrinter::HighResolution);
  QtPrinter pdf(printer, pdfPath);
  try {
    // The font list straight from the printer: a batch run leaves no cache file behind.
    std::vector<std::string> fonts;
    const int count = pdf.FontCount();
    for (int i = 0; i < count; ++i) fonts.push_back(pdf.FontName(i));
    const int initial = InitialFontIndex(fonts, pdf);
    pdf.SetFont(initial >= 0 ? fonts[static_cast<size_t>(initial)] : std::string(),
                kInitialFontSize);
    ReportDocument document(pdf);
    const int status = ForEachBatchReport(
        files, startup, BuiltInKinds(), err,
        [&document](const std::vector<std::string>& lines) { document.Add(lines); });
    document.End();
    return status;
  } catch (const PrinterError& e) {
    pdf.AbortDocument();
    err << "rivulet: cannot write " << pdfPath.toStdString() << ": " << e.what() << "\n";
    return kBatchBadFile;
  }
}

int RunPdfBatch(int argc, char** argv, const std::vector<std::string>& files,
                const std::string& pdfPath) {
  // Fonts and printing need a GUI application, not a screen.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return WriteReportsPdf(files, StartupValues::Compute(), QFile::decodeName(pdfPath.c_str()),
                         std::cerr);
}

}  // namespace rivulet
