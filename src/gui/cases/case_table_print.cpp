#include "gui/cases/case_table_print.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "core/shell/text_file.h"
#include "gui/cases/case_table_model.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

QFont Sized(double points, bool bold = false) {
  QFont font;
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace

const std::vector<CasePrintColumn>& CasePrintColumns() {
  static const std::vector<CasePrintColumn> columns{
      {"Name", "name", "", 1.4},
      {"Section", "section", "", 1.4},
      {"Solve For", "solveFor", "", 1.4},
      {"Flow", "flow", "flowUnit", 1.5},
      {"Depth", "depth", "depthUnit", 1.5},
      {"Width or Diameter", "width", "widthUnit", 1.5},
      {"Side Slope", "sideSlope", "sideSlopeUnit", 1.3},
      {"Channel Slope", "slope", "slopeUnit", 1.3},
      {"Manning's n", "manningsN", "", 1.3},
      {"Flow Area", "area", "areaUnit", 1.5},
      {"Other Flow", "otherFlow", "otherFlowUnit", 1.5},
      {"Alternate Value", "altValue", "altValueUnit", 1.4},
      {"Status", "status", "", 2.2},
  };
  return columns;
}

bool PaintCaseTable(QPagedPaintDevice& device, const CaseDocument& doc,
                    const std::vector<size_t>& rows, const QString& title,
                    const std::vector<CaseDesignCells>* designs) {
  QPainter p;
  if (!p.begin(&device)) return false;
  const QRectF page(0, 0, device.width(), device.height());
  std::vector<CasePrintColumn> columns = CasePrintColumns();
  if (designs) {
    columns.push_back({"Design Checks", "designChecks", "", 2.0});
    columns.push_back({"Next Standard Size", "standardSize", "", 2.0});
  }
  double weights = 0;
  for (const auto& c : columns) weights += c.weight;
  std::vector<double> left{page.left()};
  for (const auto& c : columns) left.push_back(left.back() + page.width() * c.weight / weights);

  auto cellText = [&](size_t i, const CasePrintColumn& c) {
    const size_t row = rows[i];
    if (designs && i < designs->size()) {
      if (c.value == "designChecks") return ToQt((*designs)[i].checks);
      if (c.value == "standardSize") return ToQt((*designs)[i].standardSize);
    }
    const CaseDocumentRow& r = doc.Row(row);
    const auto value = doc.Column(c.value.toStdString());
    if (!value) return QString();
    if (c.value == "status") return CaseTableModel::StatusWords(r, r.cells[*value]);
    QString text = CaseTableModel::ShownCell(c.value.toStdString(), r.cells[*value]);
    const auto unit = c.unit.isEmpty() ? std::nullopt : doc.Column(c.unit.toStdString());
    if (unit && !text.isEmpty() && !r.cells[*unit].empty()) text += " " + ToQt(r.cells[*unit]);
    return text;
  };

  const QFont body = Sized(7.5), bold = Sized(7.5, true), heading = Sized(11, true);
  const QFontMetricsF fm(body, &device);
  const double line = fm.height() * 1.35;
  const double gap = fm.averageCharWidth();
  const double headingHeight = QFontMetricsF(heading, &device).height() * 1.6;
  const double footer = line * 1.5;
  auto widthOf = [&](size_t c) { return left[c + 1] - left[c] - gap; };
  // A cell wider than its column wraps onto a second and third line rather than being cut
  // short; only a longer one is shortened.
  constexpr int kMostLines = 3;
  auto linesOf = [&](const QString& text, double width) {
    const QRectF box = fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text);
    return std::clamp(static_cast<int>(std::ceil(box.height() / fm.lineSpacing() - 0.01)), 1,
                      kMostLines);
  };
  // Each row's height, then the pages: as many rows as fit under the titles.
  std::vector<int> rowLines(rows.size(), 1);
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t c = 0; c < columns.size(); ++c)
      rowLines[i] = std::max(rowLines[i], linesOf(cellText(i, columns[c]), widthOf(c)));
  const double room = page.height() - headingHeight - 2.2 * line - footer;
  const double rowPad = line - fm.lineSpacing();
  auto heightOf = [&](size_t i) { return rowLines[i] * fm.lineSpacing() + rowPad; };
  std::vector<size_t> firstOfPage{0};
  double used = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (used > 0 && used + heightOf(i) > room) {
      firstOfPage.push_back(i);
      used = 0;
    }
    used += heightOf(i);
  }
  const size_t pages = firstOfPage.size();

  for (size_t pageNo = 0; pageNo < pages; ++pageNo) {
    if (pageNo > 0 && !device.newPage()) return false;
    double y = page.top();
    p.setFont(heading);
    p.drawText(QRectF(page.left(), y, page.width(), headingHeight), Qt::AlignLeft | Qt::AlignTop,
               title);
    y += headingHeight;
    p.setFont(bold);
    // Two lines for the column titles, so that none is cut short.
    for (size_t c = 0; c < columns.size(); ++c)
      p.drawText(QRectF(left[c], y, widthOf(c), 2 * line),
                 Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, columns[c].title);
    y += 2 * line;
    p.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    y += line * 0.2;
    p.setFont(body);
    const size_t end = pageNo + 1 < pages ? firstOfPage[pageNo + 1] : rows.size();
    for (size_t i = firstOfPage[pageNo]; i < end; ++i) {
      const double h = heightOf(i);
      for (size_t c = 0; c < columns.size(); ++c) {
        const QString text = cellText(i, columns[c]);
        const double width = widthOf(c);
        const QRectF cell(left[c], y + rowPad / 2, width, h - rowPad);
        const bool fits =
            fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height() <=
            cell.height() + 1;
        p.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   fits ? text : fm.elidedText(text, Qt::ElideRight, width * (kMostLines - 0.5)));
      }
      y += h;
    }
    const QString number = QString("Page %1 of %2").arg(pageNo + 1).arg(pages);
    p.drawText(QRectF(page.left(), page.bottom() - line, page.width(), line),
               Qt::AlignRight | Qt::AlignVCenter, number);
  }
  return p.end();
}

bool WriteCaseTablePdf(const QString& path, const CaseDocument& doc,
                       const std::vector<size_t>& rows, const QString& title,
                       const std::vector<CaseDesignCells>* designs) {
  return ReplaceFileSafely(path.toStdString(), [&](const std::string& tempPath) {
    QPdfWriter pdf(QString::fromStdString(tempPath));
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    pdf.setTitle(title);
    pdf.setCreator(QCoreApplication::applicationName());
    return PaintCaseTable(pdf, doc, rows, title, designs);
  });
}

}  // namespace rivulet
