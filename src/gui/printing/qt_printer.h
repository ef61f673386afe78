// The printer behind Qt: QPrinter for the document, the font database for the font list.
// Lines are set on a grid of equal cells, so the report's columns line up even in a font
// that is not quite fixed-pitch.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/printing/printer.h"
#include "gui/printing/report_drawing.h"

namespace rivulet {

class QtPrinter : public Printer {
 public:
  /// Prints on printer, or, when no printer is installed, into the file the print window
  /// asks for.
  explicit QtPrinter(QPrinter& printer);
  /// Writes every document into this PDF file (the batch mode).
  QtPrinter(QPrinter& printer, const QString& pdfFile);
  ~QtPrinter() override;
  QtPrinter(const QtPrinter&) = delete;
  QtPrinter& operator=(const QtPrinter&) = delete;

  int FontCount() override;
  std::string FontName(int index) override;
  bool IsFixedPitch(const std::string& name) override;
  bool PrintsToFile() override;
  void SetOutputFile(const std::string& path) override;
  void SetFont(const std::string& name, int points) override;
  void PrintLine(const std::string& text) override;
  void NewPage() override;
  void KeepTogether(int lines) override;
  /// Prints the drawings of SetDrawings, each under its caption, across the report's body
  /// and at most half a page high; one that does not fit below the text starts a page.
  void PrintDrawings() override;
  void EndDocument() override;

  /// The drawings of the reports printed next; they stay for every copy until replaced.
  void SetDrawings(std::vector<ReportDrawing> drawings) { drawings_ = std::move(drawings); }
  void AbortDocument() noexcept override;

 private:
  void Begin();
  void ApplyFont();
  void ResetOutput();

  QPrinter& printer_;
  QString fixedFile_;
  QString documentFile_;
  QStringList families_;
  QString fontName_;
  int points_ = 12;
  QPainter painter_;
  // Cell width, line height and ascent in device pixels of the open document.
  qreal cell_ = 0, lineHeight_ = 0, ascent_ = 0;
  qreal y_ = 0;
  bool fixedPitch_ = false;
  std::vector<ReportDrawing> drawings_;
};

}  // namespace rivulet
