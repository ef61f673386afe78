#include "gui/drainage/gutter_section_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/shell/number_text.h"
#include "gui/shell/qt_text.h"

namespace rivulet {

namespace {

const QColor kGround(214, 205, 188);
const QColor kConcrete(186, 186, 186);
const QColor kWater(110, 160, 225, 170);
const QColor kSurface(30, 80, 190);
const QColor kDimension(60, 60, 60);
constexpr double kMargin = 12;

// Lengths shown with three significant digits in the drawing's unit.
QString Length(double metres, const DrawingLengthUnit& u) {
  return ToQt(SignificantFigures(metres / u.metres, 3)) + " " + u.symbol;
}

// Maps metres (x across, z up) to the widget, z exaggerated.
struct Frame {
  double x0, z0, sx, sz;
  QRectF area;
  QPointF At(double x, double z) const {
    return {area.left() + (x - x0) * sx, area.bottom() - (z - z0) * sz};
  }
};

void Arrowhead(QPainter& p, QPointF tip, QPointF from) {
  const double a = std::atan2(tip.y() - from.y(), tip.x() - from.x());
  const double len = 6;
  QPolygonF head;
  head << tip << QPointF(tip.x() - len * std::cos(a - 0.4), tip.y() - len * std::sin(a - 0.4))
       << QPointF(tip.x() - len * std::cos(a + 0.4), tip.y() - len * std::sin(a + 0.4));
  p.drawPolygon(head);
}

void DimensionLine(QPainter& p, QPointF a, QPointF b, const QString& label, bool labelLeft) {
  p.setPen(QPen(kDimension, 1));
  p.setBrush(kDimension);
  p.drawLine(a, b);
  Arrowhead(p, a, b);
  Arrowhead(p, b, a);
  const QFontMetricsF fm(p.font());
  const QPointF mid = (a + b) / 2;
  const double w = fm.horizontalAdvance(label);
  if (std::abs(a.y() - b.y()) < 1) {
    p.drawText(QPointF(mid.x() - w / 2, mid.y() - 4), label);
  } else {
    const double x = labelLeft ? mid.x() - w - 6 : mid.x() + 6;
    p.drawText(QPointF(x, mid.y() + fm.ascent() / 2), label);
  }
}

}  // namespace

int PaintGutterSection(QPainter& p, const QRectF& rect, const GutterSectionDrawing& d) {
  const GutterProfile& g = d.profile;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetricsF fm(p.font());
  const double line = fm.height();
  // Room above for T and the scale note, below for W, and on the left for the whole of d's
  // label, which stands outside the kerb.
  const QString depthLabel = "d = " + Length(g.depthAtCurb, d.unit);
  const double left = std::max(4 * line, fm.horizontalAdvance(depthLabel) + 8 + 6 + 4);
  const QRectF area =
      rect.adjusted(kMargin + left, kMargin + 3.2 * line, -kMargin, -(kMargin + 2 * line));
  // The bed may dip below the gutter's line at the kerb (an inlet's local depression): the
  // drawing reaches down to it and d is measured from it.
  double bottom = 0;
  for (const ProfilePoint& pt : g.bed) bottom = std::min(bottom, pt.z);
  const double width = g.right - g.left;
  const double height = std::max(g.top - bottom, 1e-9);
  const double sx = area.width() / width;
  const int ve = DrawingExaggeration((area.height() / height) / sx);
  const Frame f{g.left, bottom, sx, sx * ve, area};

  // Ground under the bed, down to the drawing's foot.
  QPolygonF ground;
  for (const ProfilePoint& pt : g.bed) ground << f.At(pt.x, pt.z);
  ground << QPointF(area.right(), rect.bottom() - kMargin)
         << QPointF(area.left(), rect.bottom() - kMargin);
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(g.hasKerb ? kConcrete : kGround);
  p.drawPolygon(ground);

  // Water: between the surface and the bed, from edge to edge.
  QPolygonF water;
  water << f.At(g.waterLeft, g.waterLevel) << f.At(g.waterRight, g.waterLevel);
  for (auto it = g.bed.rbegin(); it != g.bed.rend(); ++it)
    if (it->x > g.waterLeft && it->x < g.waterRight && it->z < g.waterLevel)
      water << f.At(it->x, it->z);
  water << f.At(g.waterLeft, g.hasKerb ? bottom : g.waterLevel);
  p.setPen(Qt::NoPen);
  p.setBrush(kWater);
  p.drawPolygon(water);
  p.setPen(QPen(kSurface, 2));
  p.drawLine(f.At(g.waterLeft, g.waterLevel), f.At(g.waterRight, g.waterLevel));

  // T above the water, d at the kerb (or the V bottom), W under the pan.
  const double tY = area.top() - 0.6 * line;
  DimensionLine(p, QPointF(f.At(g.waterLeft, 0).x(), tY), QPointF(f.At(g.waterRight, 0).x(), tY),
                "T = " + Length(g.spread, d.unit), false);
  p.setPen(QPen(kDimension, 1, Qt::DotLine));
  p.drawLine(QPointF(f.At(g.waterLeft, 0).x(), tY), f.At(g.waterLeft, g.waterLevel));
  p.drawLine(QPointF(f.At(g.waterRight, 0).x(), tY), f.At(g.waterRight, g.waterLevel));
  const double dX = g.hasKerb ? f.At(0, 0).x() - 8 : f.At(0, 0).x();
  DimensionLine(p, QPointF(dX, f.At(0, bottom).y()), QPointF(dX, f.At(0, g.waterLevel).y()),
                depthLabel, g.hasKerb);
  if (g.panWidth > 0) {
    const double wY = f.At(0, 0).y() + 1.2 * line;
    const QPointF a(f.At(0, 0).x(), wY), b(f.At(g.panWidth, 0).x(), wY);
    p.setPen(QPen(kDimension, 1, Qt::DotLine));
    for (const ProfilePoint& pt : g.bed)
      if (pt.x == g.panWidth) p.drawLine(f.At(pt.x, pt.z), b);
    DimensionLine(p, a, b, "", false);
    p.drawText(QPointF(b.x() + 4, wY + fm.ascent() / 2), "W = " + Length(g.panWidth, d.unit));
  }

  p.setPen(Qt::black);
  const QString scale = ve == 1 ? QString("Drawn to scale, no vertical exaggeration")
                                : QString("Vertical exaggeration %1:1").arg(ve);
  QString note = scale;
  if (g.hasKerb && !g.kerbHeightGiven) note += "; kerb height not given, drawn above the water";
  p.drawText(QPointF(rect.left() + kMargin, rect.top() + kMargin + fm.ascent()), note);
  p.restore();
  return ve;
}

GutterSectionView::GutterSectionView(QWidget* parent) : QWidget(parent) {
  setObjectName("picSection");
  setMinimumSize(420, 200);
}

void GutterSectionView::SetDrawing(std::optional<GutterSectionDrawing> drawing) {
  drawing_ = std::move(drawing);
  update();
}

void GutterSectionView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!drawing_) {
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the section.");
    exaggeration_ = 0;
    return;
  }
  exaggeration_ = PaintGutterSection(p, QRectF(rect()), *drawing_);
}

}  // namespace rivulet
