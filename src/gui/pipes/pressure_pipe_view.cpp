#include "gui/pipes/pressure_pipe_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/drainage/gutter_profile.h"
#include "core/shell/number_text.h"
#include "core/window/rating_axes.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

const QColor kPipe(90, 90, 90);
const QColor kEnergy(200, 40, 40);
const QColor kHydraulic(30, 80, 190);
const QColor kCurve(20, 120, 60);
constexpr double kMargin = 10;

QString Figure(double v) { return ToQt(SignificantFigures(v, 4)); }

// The pipe from its upstream end (left) to its downstream end at its length, and the two
// grade lines above it; heights exaggerated so the fall reads.
int PaintProfile(QPainter& p, const QRectF& rect, const PressurePipeDrawing& d) {
  const PressurePipeResults& r = d.solved.results;
  const PressurePipeInputs& in = d.solved.inputs;
  const QFontMetricsF fm(p.font());
  const double line = fm.height();
  p.drawText(rect.topLeft() + QPointF(0, line), "Profile");
  if (!in.ends || !r.energyGradeUpstream) {
    p.drawText(rect.adjusted(0, 2 * line, 0, 0), Qt::AlignLeft | Qt::TextWordWrap,
               "Give the elevations of both ends to draw the grade lines.");
    return 0;
  }
  const double length = r.flow.length;
  const double z1 = in.ends->upstreamElevation, z2 = in.ends->downstreamElevation;
  const double top = std::max({*r.energyGradeUpstream, z1, z2});
  const double bottom = std::min({*r.hydraulicGradeDownstream, z1, z2});
  const QRectF area = rect.adjusted(kMargin, 2.5 * line, -kMargin, -2.5 * line);
  const double sx = area.width() / length;
  const double height = std::max(top - bottom, 1e-9);
  const int ve = DrawingExaggeration(area.height() / height / sx);
  const double sz = sx * ve;
  const double mid = area.center().y() + (top + bottom) / 2 * sz;
  const auto at = [&](double x, double z) { return QPointF(area.left() + x * sx, mid - z * sz); };
  p.setPen(QPen(kPipe, 3));
  p.drawLine(at(0, z1), at(length, z2));
  p.setPen(QPen(kEnergy, 1.5, Qt::DashLine));
  p.drawLine(at(0, *r.energyGradeUpstream), at(length, *r.energyGradeDownstream));
  p.setPen(QPen(kHydraulic, 1.5));
  p.drawLine(at(0, *r.hydraulicGradeUpstream), at(length, *r.hydraulicGradeDownstream));
  const auto label = [&](double z) { return Figure(z / d.lengthFactor) + " " + d.lengthSymbol; };
  p.setPen(kEnergy);
  p.drawText(at(0, *r.energyGradeUpstream) + QPointF(2, -3),
             "EGL " + label(*r.energyGradeUpstream));
  p.setPen(kHydraulic);
  const QString hgl2 = "HGL " + label(*r.hydraulicGradeDownstream);
  p.drawText(at(length, *r.hydraulicGradeDownstream) + QPointF(-fm.horizontalAdvance(hgl2), -3),
             hgl2);
  p.setPen(kPipe);
  p.drawText(QPointF(area.left(), rect.bottom() - line / 2),
             "Length " + label(length) + (ve > 1 ? ", heights \u00d7" + QString::number(ve) : ""));
  return ve;
}

// Head loss against discharge from zero to twice the design flow, on nice axes.
void PaintCurve(QPainter& p, const QRectF& rect, const PressurePipeDrawing& d) {
  const std::vector<HeadLossPoint>& curve = d.solved.results.curve;
  const QFontMetricsF fm(p.font());
  const double line = fm.height();
  p.setPen(Qt::black);
  p.drawText(rect.topLeft() + QPointF(0, line),
             "Head loss (" + d.lengthSymbol + ") against discharge (" + d.dischargeSymbol + ")");
  if (curve.size() < 2) return;
  const double qTop = NiceAxisTop(curve.back().discharge / d.dischargeFactor);
  const double hTop = NiceAxisTop(curve.back().headLoss / d.lengthFactor);
  const double left = fm.horizontalAdvance("00000") + kMargin;
  const QRectF area = rect.adjusted(left, 2 * line, -kMargin, -2 * line);
  const auto at = [&](double q, double h) {
    return QPointF(area.left() + q / d.dischargeFactor / qTop * area.width(),
                   area.bottom() - h / d.lengthFactor / hTop * area.height());
  };
  p.setPen(QPen(Qt::gray, 0.5));
  for (const AxisTick& t : AxisTicks(qTop)) {
    const double x = area.left() + t.value / qTop * area.width();
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    p.drawText(QPointF(x - fm.horizontalAdvance(ToQt(t.text)) / 2, area.bottom() + line),
               ToQt(t.text));
  }
  for (const AxisTick& t : AxisTicks(hTop)) {
    const double y = area.bottom() - t.value / hTop * area.height();
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    p.drawText(QPointF(area.left() - fm.horizontalAdvance(ToQt(t.text)) - 4, y + fm.ascent() / 2),
               ToQt(t.text));
  }
  QPolygonF path;
  for (const HeadLossPoint& pt : curve) path << at(pt.discharge, pt.headLoss);
  p.setPen(QPen(kCurve, 2));
  p.drawPolyline(path);
  const PipeFlow& f = d.solved.results.flow;
  p.setBrush(kCurve);
  p.drawEllipse(at(f.discharge, f.totalHeadLoss), 4, 4);
}

}  // namespace

PressurePipeView::PressurePipeView(QWidget* parent) : QWidget(parent) {
  setObjectName("pressurePipeView");
  setMinimumSize(420, 380);
}

void PressurePipeView::SetDrawing(std::optional<PressurePipeDrawing> drawing) {
  drawing_ = std::move(drawing);
  update();
}

void PressurePipeView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!drawing_) {
    exaggeration_ = 0;
    p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, "Calculate to draw the pipe.");
    return;
  }
  const QRectF all = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
  const double half = all.height() / 2;
  exaggeration_ = PaintProfile(p, QRectF(all.left(), all.top(), all.width(), half), *drawing_);
  PaintCurve(p, QRectF(all.left(), all.top() + half, all.width(), half), *drawing_);
}

}  // namespace rivulet
