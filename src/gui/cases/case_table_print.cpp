#include "gui/cases/case_table_print.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>

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
      {"Section", "section", "", 1.0},
      {"Solve For", "solveFor", "", 1.0},
      {"Flow", "flow", "flowUnit", 1.5},
      {"Depth", "depth", "depthUnit", 1.5},
      {"Width or Diameter", "width", "widthUnit", 1.5},
      {"Side Slope", "sideSlope", "sideSlopeUnit", 1.3},
      {"Channel Slope", "slope", "slopeUnit", 1.3},
      {"Manning's n", "manningsN", "", 0.9},
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
  const double line = QFontMetricsF(body, &device).height() * 1.35;
  const double gap = QFontMetricsF(body, &device).averageCharWidth();
  const double headingHeight = QFontMetricsF(heading, &device).height() * 1.6;
  const double footer = line * 1.5;
  // Two lines for the column titles, so that none is cut short.
  const size_t perPage = static_cast<size_t>(
      std::max(1.0, (page.height() - headingHeight - 3 * line - footer) / line));
  const size_t pages = std::max<size_t>(1, (rows.size() + perPage - 1) / perPage);

  for (size_t pageNo = 0; pageNo < pages; ++pageNo) {
    if (pageNo > 0 && !device.newPage()) return false;
    double y = page.top();
    p.setFont(heading);
    p.drawText(QRectF(page.left(), y, page.width(), headingHeight), Qt::AlignLeft | Qt::AlignTop,
               title);
    y += headingHeight;
    p.setFont(bold);
    for (size_t c = 0; c < columns.size(); ++c)
      p.drawText(QRectF(left[c], y, left[c + 1] - left[c] - gap, 2 * line),
                 Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, columns[c].title);
    y += 2 * line;
    p.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    y += line * 0.2;
    p.setFont(body);
    const QFontMetricsF fm(body, &device);
    for (size_t i = pageNo * perPage; i < rows.size() && i < (pageNo + 1) * perPage; ++i) {
      for (size_t c = 0; c < columns.size(); ++c) {
        const double width = left[c + 1] - left[c] - gap;
        p.drawText(QRectF(left[c], y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(cellText(i, columns[c]), Qt::ElideRight, width));
      }
      y += line;
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
