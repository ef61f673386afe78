#include "gui/printing/qt_printer.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/printing/report.h"

namespace rivulet {
namespace {

// The characters of a line, one per column: a surrogate pair and the combining marks
// after a character share its column.
std::vector<QString> Cells(const QString& line) {
  std::vector<QString> cells;
  for (qsizetype i = 0; i < line.size();) {
    qsizetype end = i + (line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1);
    while (end < line.size() && line.at(end).isMark()) ++end;
    cells.push_back(line.mid(i, end - i));
    i = end;
  }
  return cells;
}

}  // namespace

QtPrinter::QtPrinter(QPrinter& printer) : printer_(printer) {}

QtPrinter::QtPrinter(QPrinter& printer, const QString& pdfFile)
    : printer_(printer), fixedFile_(pdfFile) {}

QtPrinter::~QtPrinter() { AbortDocument(); }

int QtPrinter::FontCount() {
  // The names are kept for the FontName calls that follow when the list is rebuilt.
  families_ = QFontDatabase::families();
  return static_cast<int>(families_.size());
}

std::string QtPrinter::FontName(int index) {
  if (families_.isEmpty()) families_ = QFontDatabase::families();
  if (index < 0 || index >= families_.size()) throw PrinterError("no such font");
  return families_.at(index).toStdString();
}

bool QtPrinter::IsFixedPitch(const std::string& name) {
  return QFontDatabase::isFixedPitch(QString::fromStdString(name));
}

bool QtPrinter::PrintsToFile() {
  return fixedFile_.isEmpty() && QPrinterInfo::availablePrinters().isEmpty();
}

void QtPrinter::SetOutputFile(const std::string& path) {
  documentFile_ = QString::fromStdString(path);
}

void QtPrinter::SetFont(const std::string& name, int points) {
  if (points <= 0) throw PrinterError("font size must be positive");
  fontName_ = QString::fromStdString(name);
  points_ = points;
  if (painter_.isActive()) ApplyFont();
}

void QtPrinter::Begin() {
  if (painter_.isActive()) return;
  const QString file = fixedFile_.isEmpty() ? documentFile_ : fixedFile_;
  if (!file.isEmpty()) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(file);
  } else if (PrintsToFile()) {
    throw PrinterError("no printer and no file to print to");
  }
  // Copies are made by printing the report again, never by the printer.
  printer_.setCopyCount(1);
  if (!painter_.begin(&printer_)) {
    ResetOutput();
    throw PrinterError("the printer cannot start a document");
  }
  ApplyFont();
  y_ = 0;
}

void QtPrinter::ApplyFont() {
  QFont font(fontName_.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family()
                                 : fontName_);
  font.setPointSize(points_);
  font.setItalic(false);
  font.setKerning(false);
  // Only used when the family is missing: fall back to a typewriter face.
  font.setStyleHint(QFont::TypeWriter);
  painter_.setFont(font);
  const QFontMetricsF metrics(painter_.font(), painter_.device());
  cell_ = metrics.horizontalAdvance(QLatin1Char('M'));
  lineHeight_ = metrics.lineSpacing();
  ascent_ = metrics.ascent();
  fixedPitch_ = QFontInfo(painter_.font()).fixedPitch();
}

void QtPrinter::PrintLine(const std::string& text) {
  Begin();
  // Like a line printer, a line that would run off the page starts the next one.
  if (y_ > 0 && y_ + lineHeight_ > painter_.device()->height()) NewPage();
  const QString line = QString::fromStdString(text);
  const qreal baseline = y_ + ascent_;
  const std::vector<QString> cells = Cells(line);
  // A fixed-pitch font that has every character of the line sets it in one piece, which
  // keeps the text whole for whoever reads it back; anything else goes cell by cell.
  if (fixedPitch_ &&
      std::abs(QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(line) -
               cell_ * static_cast<qreal>(cells.size())) < cell_ / 4) {
    painter_.drawText(QPointF(0, baseline), line);
  } else {
    for (size_t column = 0; column < cells.size(); ++column)
      if (cells[column] != QLatin1String(" "))
        painter_.drawText(QPointF(static_cast<qreal>(column) * cell_, baseline), cells[column]);
  }
  y_ += lineHeight_;
}

void QtPrinter::NewPage() {
  Begin();
  if (!printer_.newPage()) throw PrinterError("the printer cannot start a page");
  y_ = 0;
}

void QtPrinter::KeepTogether(int lines) {
  Begin();
  if (y_ > 0 && y_ + lines * lineHeight_ > painter_.device()->height()) NewPage();
}

void QtPrinter::PrintDrawings() {
  if (drawings_.empty()) return;
  Begin();
  // The body of the report: 60 of its 70 columns after a margin of 10.
  const qreal left = kReportMargin * cell_;
  const qreal width = std::min<qreal>(kReportBodyWidth * cell_, painter_.device()->width() - left);
  const qreal pageHeight = painter_.device()->height();
  for (const ReportDrawing& drawing : drawings_) {
    if (drawing.size.isEmpty()) continue;
    qreal w = width;
    qreal h = w * drawing.size.height() / drawing.size.width();
    if (h > pageHeight / 2) {
      h = pageHeight / 2;
      w = h * drawing.size.width() / drawing.size.height();
    }
    if (y_ > 0 && y_ + 3 * lineHeight_ + h > pageHeight) NewPage();
    PrintLine(std::string(kReportMargin, ' ') + drawing.caption.toStdString());
    y_ += lineHeight_ / 2;
    // About 300 dots an inch on the page, whatever the printer's resolution.
    const qreal dpi = printer_.resolution();
    const qreal scale =
        std::clamp(w / drawing.size.width() * 300.0 / std::max<qreal>(dpi, 1), 1.0, 6.0);
    const QRectF target(left, y_, w, h);
    painter_.drawImage(target, RenderDrawing(drawing, scale));
    painter_.save();
    painter_.setPen(QPen(Qt::gray, 0));
    painter_.drawRect(target);
    painter_.restore();
    y_ += h + lineHeight_;
  }
}

void QtPrinter::EndDocument() {
  if (!painter_.isActive()) {
    ResetOutput();
    return;
  }
  const bool ended = painter_.end();
  const bool failed = !ended || printer_.printerState() == QPrinter::Error;
  ResetOutput();
  if (failed) throw PrinterError("the printer could not finish the document");
}

void QtPrinter::AbortDocument() noexcept {
  if (painter_.isActive()) {
    printer_.abort();
    painter_.end();
    // Half a report in a file is worse than none.
    const QString file = fixedFile_.isEmpty() ? documentFile_ : fixedFile_;
    if (!file.isEmpty()) QFile::remove(file);
  }
  ResetOutput();
}

void QtPrinter::ResetOutput() {
  if (!documentFile_.isEmpty()) {
    // The next document asks for its own file; the printer goes back to printing.
    documentFile_.clear();
    printer_.setOutputFileName(QString());
  }
}

}  // namespace rivulet
