#include "gui/window/rating_print.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include "core/design/rating_checks.h"
#include "core/shell/text_file.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

QFont Sized(QFont font, double points, bool bold = false) {
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// The table's columns across the page, numbers right-aligned under their headers.
class TablePrinter {
 public:
  TablePrinter(QPainter& p, const RatingReport& r, const QRectF& page)
      : p_(p),
        rows_(r.plot.rows),
        units_(r.plot.units),
        checks_(r.checks),
        page_(page),
        columns_(RatingColumns(r.pipe)) {
    for (RatingColumn c : columns_) decimals_.push_back(RatingColumnDecimals(rows_, c, units_));
    // The marks take two columns' room: a row may break several limits.
    width_ = page_.width() / (columns_.size() + (checks_.isEmpty() ? 0 : 2));
  }

  // Prints rows from `next` down the page from top; returns the first row not printed.
  size_t Page(size_t next, double top) {
    const QFontMetricsF fm(p_.font());
    const double line = fm.height() * 1.2, gap = fm.height() / 2;
    double y = top;
    p_.setFont(Sized(p_.font(), p_.font().pointSizeF(), true));
    // Title over unit, as on screen: "Froude Number (-)" on one line outgrows its column.
    for (size_t c = 0; c < columns_.size(); ++c) {
      Cell(c, y, line, ToQt(RatingColumnTitle(columns_[c])), gap);
      Cell(c, y + line, line, "(" + ToQt(RatingColumnUnit(columns_[c], units_)) + ")", gap);
    }
    if (!checks_.isEmpty()) {
      ChecksCell(y, line, ToQt(kRatingChecksTitle));
      ChecksCell(y + line, line, "(marks)");
    }
    p_.setFont(Sized(p_.font(), p_.font().pointSizeF(), false));
    y += 2 * line;
    p_.drawLine(QPointF(page_.left(), y), QPointF(page_.right(), y));
    y += line * 0.2;
    for (; next < rows_.size() && y + line <= page_.bottom(); ++next, y += line) {
      for (size_t c = 0; c < columns_.size(); ++c) {
        const auto v = RatingCellValue(rows_[next], columns_[c], units_);
        Cell(c, y, line, ToQt(RatingCellText(v, decimals_[c])), gap);
      }
      if (next < static_cast<size_t>(checks_.size())) ChecksCell(y, line, checks_[next]);
    }
    return next;
  }

 private:
  void Cell(size_t column, double y, double line, const QString& text, double gap) {
    const QRectF cell(page_.left() + column * width_, y, width_ - gap, line);
    p_.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, text);
  }

  void ChecksCell(double y, double line, const QString& text) {
    const QRectF cell(page_.left() + columns_.size() * width_ + width_ / 4, y, width_ * 1.75, line);
    p_.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
  }

  QPainter& p_;
  const std::vector<RatingRow>& rows_;
  const RatingUnits& units_;
  const QStringList& checks_;
  QRectF page_;
  std::vector<RatingColumn> columns_;
  std::vector<int> decimals_;
  double width_ = 0;
};

}  // namespace

bool PaintRatingReport(QPagedPaintDevice& device, const RatingReport& r) {
  QPainter p;
  if (!p.begin(&device)) return false;
  const QRectF page(0, 0, device.width(), device.height());
  const QFont base = Sized(QFont(), 9);
  p.setFont(Sized(base, 13, true));
  double y = page.top();
  const QFontMetricsF title(p.font());
  p.drawText(QPointF(page.left(), y + title.ascent()), r.title);
  y += title.height() * 1.4;
  p.setFont(base);
  const QFontMetricsF fm(p.font());
  for (const QString& line : {r.description, r.note, r.legend}) {
    if (line.isEmpty()) continue;
    const QRectF box =
        p.boundingRect(QRectF(page.left(), y, page.width(), page.height()), Qt::TextWordWrap, line);
    p.drawText(box, Qt::TextWordWrap, line);
    y += box.height() + fm.height() * 0.3;
  }
  y += fm.height() * 0.5;
  const QRectF plot(page.left(), y, page.width(), page.height() * 0.45);
  PaintRatingPlot(p, plot, r.plot, std::nullopt);
  y = plot.bottom() + fm.height() * 1.5;

  int number = 1;
  auto footer = [&] {
    const QString text = QString("Page %1").arg(number);
    p.drawText(QPointF(page.right() - fm.horizontalAdvance(text), page.bottom() - fm.descent()),
               text);
  };
  const QRectF body = page.adjusted(0, 0, 0, -fm.height() * 1.5);
  TablePrinter rows(p, r, body);
  size_t next = rows.Page(0, y);
  footer();
  while (next < r.plot.rows.size()) {
    if (!device.newPage()) break;
    ++number;
    next = rows.Page(next, body.top());
    footer();
  }
  return p.end();
}

bool WriteRatingPdf(const QString& path, const RatingReport& report) {
  return ReplaceFileSafely(path.toStdString(), [&report](const std::string& tempPath) {
    QPdfWriter pdf(QString::fromStdString(tempPath));
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setTitle(report.title);
    pdf.setCreator(QCoreApplication::applicationName());
    return PaintRatingReport(pdf, report);
  });
}

}  // namespace rivulet
