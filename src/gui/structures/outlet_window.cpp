#include "gui/structures/outlet_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <any>
#include <cmath>

#include "core/shell/number_text.h"
#include "core/shell/safe_file.h"
#include "core/worksheets/results.h"

namespace rivulet {
namespace {

QString Symbol(const FileUnit* unit) {
  return unit ? QString::fromUtf8(unit->symbol.data(), static_cast<int>(unit->symbol.size()))
              : QString();
}

// A round step of about a fifth of the span, for the axis ticks.
double TickStep(double span) {
  const double raw = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10 * power;
}

const QColor kDeviceColours[] = {QColor(200, 80, 40), QColor(40, 140, 60), QColor(120, 60, 170),
                                 QColor(190, 150, 20), QColor(20, 150, 170)};

std::optional<OutletPicture> CurrentPicture(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return std::nullopt;
  const auto* solved = std::any_cast<OutletSolved>(&model.Outcome().solved);
  if (!solved) return std::nullopt;
  const Document d = model.ToDocument();
  return OutletPicture{solved->inputs, solved->rating, d.ResultUnit("stage", Dimension::Length),
                       d.ResultUnit("discharge", Dimension::Discharge)};
}

void SaveCsv(WorksheetWindow& window) {
  const WorksheetModel& model = window.Model();
  const std::optional<OutletPicture> p = CurrentPicture(model);
  Services& services = window.WindowServices();
  if (!p) {
    services.MessageBox("Calculate the rating first.", "Outlet Structure",
                        MessageIcon::Exclamation);
    return;
  }
  const auto choice = services.SaveFileDialog(
      {"Save Rating as CSV", {{"CSV files (*.csv)", "*.csv"}}, "rating.csv", "csv", ""});
  if (!choice) return;
  const std::string text = OutletRatingCsv(p->inputs, p->rating, *p->level, *p->discharge);
  const SaveOutcome saved = ReplaceFileContent(choice->path, text);
  if (!saved)
    services.MessageBox(SaveFailureText(saved), "Outlet Structure", MessageIcon::Exclamation);
}

}  // namespace

OutletRatingView::OutletRatingView(QWidget* parent) : QWidget(parent) {
  setObjectName("outletRatingView");
  setMinimumSize(420, 220);
}

void OutletRatingView::SetPicture(std::optional<OutletPicture> picture) {
  picture_ = std::move(picture);
  update();
}

void OutletRatingView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!picture_ || picture_->rating.rows.empty()) {
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the outlet and its rating.");
    return;
  }
  const OutletPicture& pic = *picture_;
  const FileUnit& lu = *pic.level;
  const FileUnit& qu = *pic.discharge;
  const auto& rows = pic.rating.rows;
  const double lo = rows.front().stage;
  const double hi = rows.back().stage;
  double qMax = 0;
  for (const auto& r : rows) qMax = std::max(qMax, r.discharge);
  if (!(qMax > 0)) qMax = 1;

  const QFontMetrics fm(font());
  const double top = fm.height() + 6;
  const double bottom = height() - 2.0 * fm.height() - 8;
  const double left = fm.horizontalAdvance("0000.00") + 10;
  const double split = left + (width() - left) * 0.32;
  const double right = width() - 12;
  const auto y = [&](double stage) { return bottom - (stage - lo) / (hi - lo) * (bottom - top); };
  const double scale = (bottom - top) / (hi - lo);  // pixels per metre, both ways

  // Stage axis, shared by the structure and the curve.
  p.setPen(Qt::black);
  p.drawLine(QPointF(left, top), QPointF(left, bottom));
  const double shownLo = FromBase(lu, lo), shownHi = FromBase(lu, hi);
  const double step = TickStep(shownHi - shownLo);
  for (double v = std::ceil(shownLo / step) * step; v <= shownHi + 1e-9 * step; v += step) {
    const double yy = y(ToBase(lu, v));
    p.setPen(QColor(225, 225, 225));
    p.drawLine(QPointF(left, yy), QPointF(right, yy));
    p.setPen(Qt::black);
    p.drawText(QRectF(0, yy - fm.height() / 2.0, left - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(FormatNumber(v)));
  }
  p.drawText(QRectF(0, 0, split, top), Qt::AlignLeft, "Stage (" + Symbol(&lu) + ")");

  // The structure: a wall with each device at its level. Heights follow the stage axis;
  // widths share one scale, the same where the devices fit side by side.
  p.fillRect(QRectF(left + 1, top, split - left - 8, bottom - top), QColor(236, 232, 224));
  const auto across = [](const OutletDevice& d, double rise) {
    switch (d.type) {
      case OutletDeviceType::Orifice:
        return d.orifice.shape == OrificeShape::Circular ? d.orifice.diameter : d.orifice.width;
      case OutletDeviceType::Weir:
        return d.weir.type == WeirType::VNotch
                   ? 2 * std::tan(d.weir.notchAngle * M_PI / 360) * std::max(rise, 0.0)
                   : d.weir.crestLength;
      case OutletDeviceType::Riser:
        break;
    }
    return d.riser.diameter;
  };
  const double gap = 8;
  const double room = split - left - 16 - gap * static_cast<double>(pic.inputs.devices.size());
  // Orifices keep their true shape on the stage axis's scale; weirs and risers share what
  // width is left.
  double widths = 0, fixed = 0;
  for (const OutletDevice& d : pic.inputs.devices)
    (d.type == OutletDeviceType::Orifice ? fixed : widths) += across(d, hi - FirstFlowStage(d));
  const double spare = std::max(room - fixed * scale, room / 4);
  const double wide = widths > 0 ? std::min(scale, spare / widths) : scale;
  double x = left + 10;
  for (size_t i = 0; i < pic.inputs.devices.size(); ++i) {
    const OutletDevice& d = pic.inputs.devices[i];
    const QColor colour = kDeviceColours[i % std::size(kDeviceColours)];
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::white);
    const double w = std::max(
        across(d, hi - FirstFlowStage(d)) * (d.type == OutletDeviceType::Orifice ? scale : wide),
        3.0);
    double labelAt = y(FirstFlowStage(d));
    switch (d.type) {
      case OutletDeviceType::Orifice: {
        const double h = std::max(OrificeHeight(d.orifice) * scale, 2.0);
        const QRectF r(x, y(d.orifice.invertElevation) - h, w, h);
        labelAt = r.top();
        if (d.orifice.shape == OrificeShape::Circular)
          p.drawEllipse(r);
        else
          p.drawRect(r);
        break;
      }
      case OutletDeviceType::Weir: {
        const double crest = y(d.crestElevation);
        if (d.weir.type == WeirType::VNotch) {
          QPainterPath v;
          v.moveTo(x, top);
          v.lineTo(x + w / 2, crest);
          v.lineTo(x + w, top);
          p.drawPath(v);
        } else {
          p.drawRect(QRectF(x, top, w, crest - top));
        }
        break;
      }
      case OutletDeviceType::Riser:
        p.drawLine(QPointF(x, y(d.riser.crestElevation)),
                   QPointF(x + w, y(d.riser.crestElevation)));
        break;
    }
    // Each name just above where its device starts to flow.
    p.setPen(colour);
    p.drawText(QPointF(x, labelAt - 3), QString::fromStdString(d.id));
    x += w + gap;
  }
  p.setBrush(Qt::NoBrush);

  // The curve: discharge along the bottom, each device thin, the total bold.
  const double cl = split + 8;
  const auto xq = [&](double q) { return cl + q / qMax * (right - cl); };
  p.setPen(Qt::black);
  p.drawLine(QPointF(cl, bottom), QPointF(right, bottom));
  const double shownMax = FromBase(qu, qMax);
  const double qStep = TickStep(shownMax);
  for (double v = 0; v <= shownMax * (1 + 1e-9); v += qStep) {
    const double xx = xq(ToBase(qu, v));
    p.drawLine(QPointF(xx, bottom), QPointF(xx, bottom + 3));
    p.drawText(QRectF(xx - 40, bottom + 2, 80, fm.height()), Qt::AlignHCenter,
               QString::fromStdString(FormatNumber(v)));
  }
  p.drawText(QRectF(cl, bottom + fm.height() + 2, right - cl, fm.height()), Qt::AlignHCenter,
             "Discharge (" + Symbol(&qu) + ")");
  for (size_t i = 0; i < pic.inputs.devices.size(); ++i) {
    QPainterPath path;
    for (size_t k = 0; k < rows.size(); ++k) {
      const QPointF pt(xq(rows[k].devices[i].discharge), y(rows[k].stage));
      k == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    p.setPen(QPen(kDeviceColours[i % std::size(kDeviceColours)], 1.2));
    p.drawPath(path);
  }
  QPainterPath total;
  for (size_t k = 0; k < rows.size(); ++k) {
    const QPointF pt(xq(rows[k].discharge), y(rows[k].stage));
    k == 0 ? total.moveTo(pt) : total.lineTo(pt);
  }
  p.setPen(QPen(QColor(20, 60, 160), 2.5));
  p.drawPath(total);
  p.drawText(QRectF(cl, 0, right - cl, top), Qt::AlignRight, "Total");
}

void SetUpOutletWindow(WorksheetWindow& window) {
  // The rating's table is the window's own; the drawing and the curve go beside the results.
  auto* view = new OutletRatingView;
  window.SetDrawing(view);
  const auto follow = [&window, view] { view->SetPicture(CurrentPicture(window.Model())); };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
  for (QAction* menu : window.menuBar()->actions()) {
    if (!menu->menu() || !menu->text().contains("File")) continue;
    QAction* csv = new QAction("Save Rating as &CSV...", &window);
    csv->setObjectName("mnuOutletSaveCsv");
    QObject::connect(csv, &QAction::triggered, &window, [&window] { SaveCsv(window); });
    const QList<QAction*> items = menu->menu()->actions();
    menu->menu()->insertAction(items.size() > 3 ? items[3] : nullptr, csv);
  }
  for (QAction* menu : window.menuBar()->actions()) {
    if (!menu->menu() || !menu->text().contains("Edit")) continue;
    QAction* copy = menu->menu()->addAction("Copy &Rating");
    copy->setObjectName("mnuOutletCopyRating");
    QObject::connect(copy, &QAction::triggered, &window, [&window] {
      const std::optional<OutletPicture> p = CurrentPicture(window.Model());
      if (p)
        window.WindowServices().SetClipboardText(
            OutletRatingCsv(p->inputs, p->rating, *p->level, *p->discharge, '\t'));
    });
  }
}

}  // namespace rivulet
