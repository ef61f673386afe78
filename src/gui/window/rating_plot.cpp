#include "gui/window/rating_plot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "core/window/rating_axes.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

const QColor kDischargeColour(20, 80, 200);
const QColor kVelocityColour(215, 110, 0);
const QColor kGrid(225, 225, 225);
const QColor kAxis(60, 60, 60);
const QColor kSolutionColour(210, 20, 20);
const QColor kAlternateColour(140, 40, 170);
const QColor kCriticalColour(200, 40, 40);
const QColor kCapacityColour(20, 20, 20);
constexpr double kHoverReach = 10;  // pixels from a point that still count as on it
constexpr size_t kRowDots = 150;    // most table rows drawn as dots; more would merge

// Maps shown values onto the plotting area.
struct Axes {
  QRectF area;
  double depthTop, dischargeTop, velocityTop;
  double Y(double depth) const { return area.bottom() - depth / depthTop * area.height(); }
  double Xq(double q) const { return area.left() + q / dischargeTop * area.width(); }
  double Xv(double v) const { return area.left() + v / velocityTop * area.width(); }
};

// At most a few points per pixel row: a curve of 100,000 rows draws as fast as one of 500
// and looks the same, because each pixel row keeps its leftmost and rightmost point.
QPolygonF Curve(const std::vector<QPointF>& points) {
  QPolygonF curve;
  size_t i = 0;
  while (i < points.size()) {
    const double row = std::round(points[i].y());
    QPointF first = points[i], left = points[i], right = points[i], last = points[i];
    for (++i; i < points.size() && std::round(points[i].y()) == row; ++i) {
      if (points[i].x() < left.x()) left = points[i];
      if (points[i].x() > right.x()) right = points[i];
      last = points[i];
    }
    curve << first;
    if (left != first) curve << left;
    if (right != first && right != left) curve << right;
    if (last != right && last != left && last != first) curve << last;
  }
  return curve;
}

void Marker(QPainter& p, RatingMarkKind kind, QPointF at, double size) {
  p.setPen(QPen(Qt::white, size / 4));
  switch (kind) {
    case RatingMarkKind::Solution:
      p.setBrush(kSolutionColour);
      p.drawEllipse(at, size, size);
      break;
    case RatingMarkKind::Alternate:
      p.setBrush(kAlternateColour);
      p.drawEllipse(at, size, size);
      break;
    case RatingMarkKind::FullFlow:
      p.setBrush(kCapacityColour);
      p.drawRect(QRectF(at.x() - size, at.y() - size, 2 * size, 2 * size));
      break;
    case RatingMarkKind::MaximumFlow:
      p.setBrush(kCapacityColour);
      p.drawPolygon(QPolygonF{at + QPointF(0, -1.4 * size), at + QPointF(1.4 * size, 0),
                              at + QPointF(0, 1.4 * size), at + QPointF(-1.4 * size, 0)});
      break;
    case RatingMarkKind::Critical:
      break;
  }
}

// The first of a few places beside the point where the label fits inside the area and
// clear of the labels already placed.
QRectF PlaceLabel(QSizeF size, QPointF at, double gap, const QRectF& area,
                  const std::vector<QRectF>& taken) {
  const double w = size.width(), h = size.height();
  // Left of the point first: the curves run up to the right, so the left is the open side.
  const QPointF offsets[] = {{-w - gap, -h / 2},  {-w - gap, -h - gap},     {-w - gap, gap},
                             {gap, -h / 2},       {gap, -h - gap},          {gap, gap},
                             {-w - gap, h + gap}, {-w - gap, -2 * h - gap}, {-w / 2, -2 * h - gap},
                             {-w / 2, h + gap}};
  QRectF fallback;
  for (const QPointF& o : offsets) {
    const QRectF r(at + o, size);
    if (fallback.isNull() && area.contains(r)) fallback = r;
    if (!area.contains(r)) continue;
    if (std::none_of(taken.begin(), taken.end(), [&](const QRectF& t) { return t.intersects(r); }))
      return r;
  }
  return fallback.isNull() ? QRectF(at + offsets[0], size) : fallback;
}

void DrawAxes(QPainter& p, const Axes& a, const RatingUnits& u, double line) {
  const QFontMetricsF fm(p.font());
  const QRectF& r = a.area;
  const std::vector<AxisTick> depths = AxisTicks(a.depthTop),
                              discharges = AxisTicks(a.dischargeTop),
                              velocities = AxisTicks(a.velocityTop);
  // Grid lines at the inner ticks: the frame draws the outer ones.
  p.setPen(QPen(kGrid, line));
  for (size_t i = 1; i + 1 < depths.size(); ++i)
    p.drawLine(QPointF(r.left(), a.Y(depths[i].value)), QPointF(r.right(), a.Y(depths[i].value)));
  for (size_t i = 1; i + 1 < discharges.size(); ++i)
    p.drawLine(QPointF(a.Xq(discharges[i].value), r.top()),
               QPointF(a.Xq(discharges[i].value), r.bottom()));
  p.setPen(QPen(kAxis, line));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);

  const double tick = fm.height() / 3;
  for (const AxisTick& t : depths) {
    const double y = a.Y(t.value);
    const QString text = ToQt(t.text);
    p.drawLine(QPointF(r.left() - tick, y), QPointF(r.left(), y));
    p.drawText(QPointF(r.left() - tick * 1.5 - fm.horizontalAdvance(text), y + fm.ascent() / 2.5),
               text);
  }
  p.setPen(QPen(kDischargeColour, line));
  for (const AxisTick& t : discharges) {
    const double x = a.Xq(t.value);
    const QString text = ToQt(t.text);
    p.drawLine(QPointF(x, r.bottom()), QPointF(x, r.bottom() + tick));
    p.drawText(QPointF(x - fm.horizontalAdvance(text) / 2, r.bottom() + tick + fm.ascent()), text);
  }
  p.setPen(QPen(kVelocityColour, line));
  for (const AxisTick& t : velocities) {
    const double x = a.Xv(t.value);
    const QString text = ToQt(t.text);
    p.drawLine(QPointF(x, r.top() - tick), QPointF(x, r.top()));
    p.drawText(QPointF(x - fm.horizontalAdvance(text) / 2, r.top() - tick - fm.descent()), text);
  }

  const QString qTitle = ToQt(RatingColumnHeader(RatingColumn::Discharge, u));
  const QString vTitle = ToQt(RatingColumnHeader(RatingColumn::Velocity, u));
  const QString dTitle = ToQt(RatingColumnHeader(RatingColumn::Depth, u));
  p.setPen(kDischargeColour);
  p.drawText(QPointF(r.center().x() - fm.horizontalAdvance(qTitle) / 2,
                     r.bottom() + tick + fm.height() + fm.ascent()),
             qTitle);
  p.setPen(kVelocityColour);
  p.drawText(QPointF(r.center().x() - fm.horizontalAdvance(vTitle) / 2,
                     r.top() - tick - fm.height() - fm.descent()),
             vTitle);
  p.setPen(kAxis);
  p.save();
  p.translate(r.left() - tick * 1.5 - fm.horizontalAdvance("0000.000") - fm.descent(),
              r.center().y() + fm.horizontalAdvance(dTitle) / 2);
  p.rotate(-90);
  p.drawText(QPointF(0, 0), dTitle);
  p.restore();
}

void DrawLegend(QPainter& p, const Axes& a, double line) {
  const QFontMetricsF fm(p.font());
  const QString q = "Discharge", v = "Velocity";
  const double swatch = fm.height() * 1.6, w = swatch + fm.horizontalAdvance(q) + fm.height();
  const QRectF box(a.area.right() - w - fm.height(), a.area.bottom() - 2.6 * fm.height(), w,
                   2.2 * fm.height());
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 230));
  p.drawRect(box);
  const double x = box.left() + fm.height() / 3;
  double y = box.top() + fm.height() * 0.6;
  p.setPen(QPen(kDischargeColour, 2 * line));
  p.drawLine(QPointF(x, y), QPointF(x + swatch, y));
  p.setPen(kAxis);
  p.drawText(QPointF(x + swatch + fm.height() / 3, y + fm.ascent() / 2.5), q);
  y += fm.height();
  p.setPen(QPen(kVelocityColour, 2 * line, Qt::DashLine));
  p.drawLine(QPointF(x, y), QPointF(x + swatch, y));
  p.setPen(kAxis);
  p.drawText(QPointF(x + swatch + fm.height() / 3, y + fm.ascent() / 2.5), v);
}

}  // namespace

RatingPlotLayout PaintRatingPlot(QPainter& p, const QRectF& rect, const RatingPlotData& data,
                                 std::optional<size_t> highlight) {
  RatingPlotLayout layout;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect, Qt::white);
  const QFontMetricsF fm(p.font());
  // Line widths and markers grow with the picture, so a printed page looks like the screen.
  const double line = std::max(1.0, rect.width() / 700);
  const double tickRoom = fm.height() / 3 * 1.5;
  layout.area = QRectF(rect.left() + fm.horizontalAdvance("0000.000") + fm.height() + tickRoom,
                       rect.top() + 2 * fm.height() + tickRoom, 0, 0);
  layout.area.setRight(rect.right() - fm.horizontalAdvance("00000"));
  layout.area.setBottom(rect.bottom() - 2 * fm.height() - tickRoom);
  if (data.rows.empty() || layout.area.width() < 20 || layout.area.height() < 20) {
    p.restore();
    return layout;
  }

  auto toShown = [&](const std::vector<RatingRow>& rows) {
    std::vector<RatingShown> shown;
    shown.reserve(rows.size());
    for (const RatingRow& row : rows) shown.push_back(ShownRow(row, data.units));
    return shown;
  };
  const std::vector<RatingShown> shown = toShown(data.rows);
  const std::vector<RatingShown> curve = data.curve.empty() ? shown : toShown(data.curve);
  const RatingAxisEnds ends = RatingAxisEndsFor(data.rows, data.curve, data.units);
  const Axes a{layout.area, ends.depth, ends.discharge, ends.velocity};
  layout.depthTop = a.depthTop;
  layout.dischargeTop = a.dischargeTop;
  layout.velocityTop = a.velocityTop;
  DrawAxes(p, a, data.units, line);

  std::vector<QPointF> qPoints, vPoints;
  qPoints.reserve(curve.size());
  vPoints.reserve(curve.size());
  for (const RatingShown& s : curve) {
    qPoints.emplace_back(a.Xq(s.discharge), a.Y(s.depth));
    vPoints.emplace_back(a.Xv(s.velocity), a.Y(s.depth));
  }
  p.setClipRect(a.area.adjusted(-line, -line, line, line));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kVelocityColour, 1.6 * line, Qt::DashLine));
  p.drawPolyline(Curve(vPoints));
  p.setPen(QPen(kDischargeColour, 2 * line));
  p.drawPolyline(Curve(qPoints));
  // A short table's own rows show as dots on the smooth curves; a long one's would merge.
  if (shown.size() <= kRowDots) {
    p.setPen(Qt::NoPen);
    for (const RatingShown& s : shown) {
      p.setBrush(kDischargeColour);
      p.drawEllipse(QPointF(a.Xq(s.discharge), a.Y(s.depth)), 2.2 * line, 2.2 * line);
      p.setBrush(kVelocityColour);
      p.drawEllipse(QPointF(a.Xv(s.velocity), a.Y(s.depth)), 2.2 * line, 2.2 * line);
    }
  }
  DrawLegend(p, a, line);

  // Marks beyond the table's depths belong to another range: they are left out. Markers
  // are drawn first and kept clear of, then the critical depth's label at its line, then
  // the others' beside their points.
  const double marker = 4 * line;
  struct Placing {
    const RatingMark* mark;
    QPointF at;
  };
  std::vector<Placing> placing;
  std::vector<QRectF> taken;
  for (const RatingMark& m : data.marks) {
    if (!MarkWithinRows(m, data.rows, data.units)) continue;
    const RatingShown s = ShownRow(m.row, data.units);
    QPointF at(a.Xq(s.discharge), a.Y(s.depth));
    if (m.kind == RatingMarkKind::Critical) {
      p.setPen(QPen(kCriticalColour, line, Qt::DashDotLine));
      p.drawLine(QPointF(a.area.left(), at.y()), QPointF(a.area.right(), at.y()));
      at.setX(a.area.left() + fm.height());
      placing.insert(placing.begin(), {&m, at});
      continue;
    }
    if (m.kind == RatingMarkKind::Solution) {
      p.setPen(QPen(kSolutionColour, line));
      p.setBrush(Qt::white);
      const QPointF ring(a.Xv(s.velocity), at.y());
      p.drawEllipse(ring, marker * 0.8, marker * 0.8);
      taken.emplace_back(ring - QPointF(2 * marker, 2 * marker), QSizeF(4 * marker, 4 * marker));
    }
    Marker(p, m.kind, at, marker);
    taken.emplace_back(at - QPointF(2 * marker, 2 * marker), QSizeF(4 * marker, 4 * marker));
    placing.push_back({&m, at});
  }
  for (const auto& [m, at] : placing) {
    const QString label = ToQt(RatingMarkLabel(*m, data.units));
    const QSizeF size(fm.horizontalAdvance(label) + fm.height() / 2, fm.height());
    const QRectF box = m->kind == RatingMarkKind::Critical
                           ? QRectF(QPointF(at.x(), at.y() - size.height() - line), size)
                           : PlaceLabel(size, at, 2 * marker, a.area, taken);
    taken.push_back(box);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRect(box);
    p.setPen(m->kind == RatingMarkKind::Critical    ? kCriticalColour
             : m->kind == RatingMarkKind::Solution  ? kSolutionColour
             : m->kind == RatingMarkKind::Alternate ? kAlternateColour
                                                    : kCapacityColour);
    p.drawText(box, Qt::AlignCenter, label);
    layout.marks.push_back({m->kind, at, label + "\n" + ToQt(RatingRowText(m->row, data.units))});
  }

  if (highlight && *highlight < shown.size()) {
    const RatingShown& s = shown[*highlight];
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAxis, line));
    p.drawEllipse(QPointF(a.Xq(s.discharge), a.Y(s.depth)), marker * 1.6, marker * 1.6);
    p.drawEllipse(QPointF(a.Xv(s.velocity), a.Y(s.depth)), marker * 1.6, marker * 1.6);
  }
  p.restore();
  return layout;
}

RatingPlotView::RatingPlotView(QWidget* parent) : QWidget(parent) {
  setObjectName("picRating");
  setMouseTracking(true);
  setMinimumSize(360, 300);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RatingPlotView::SetData(RatingPlotData data) {
  data_ = std::move(data);
  highlight_.reset();
  update();
}

void RatingPlotView::SetHighlight(std::optional<size_t> row) {
  if (row == highlight_) return;
  highlight_ = row;
  update();
}

void RatingPlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  layout_ = PaintRatingPlot(painter, QRectF(rect()), data_, highlight_);
}

QString RatingPlotView::HoverText(QPointF at, std::optional<size_t>* row) const {
  if (row) row->reset();
  for (const RatingPlotLayout::Placed& m : layout_.marks)
    if (std::hypot(m.at.x() - at.x(), m.at.y() - at.y()) <= kHoverReach) return m.text;
  const Axes a{layout_.area, layout_.depthTop, layout_.dischargeTop, layout_.velocityTop};
  double best = kHoverReach;
  std::optional<size_t> nearest;
  for (size_t i = 0; i < data_.rows.size(); ++i) {
    const RatingShown s = ShownRow(data_.rows[i], data_.units);
    const double y = a.Y(s.depth);
    if (std::abs(y - at.y()) > best) continue;
    for (double x : {a.Xq(s.discharge), a.Xv(s.velocity)}) {
      const double d = std::hypot(x - at.x(), y - at.y());
      if (d <= best) {
        best = d;
        nearest = i;
      }
    }
  }
  if (!nearest) return "";
  if (row) *row = nearest;
  return QString("Row %1\n").arg(*nearest + 1) +
         ToQt(RatingRowText(data_.rows[*nearest], data_.units));
}

std::optional<QPointF> RatingPlotView::DischargePoint(size_t row) const {
  if (row >= data_.rows.size() || layout_.area.isEmpty()) return std::nullopt;
  const Axes a{layout_.area, layout_.depthTop, layout_.dischargeTop, layout_.velocityTop};
  const RatingShown s = ShownRow(data_.rows[row], data_.units);
  return QPointF(a.Xq(s.discharge), a.Y(s.depth));
}

std::optional<QPointF> RatingPlotView::MarkPosition(RatingMarkKind kind) const {
  for (const RatingPlotLayout::Placed& m : layout_.marks)
    if (m.kind == kind) return m.at;
  return std::nullopt;
}

void RatingPlotView::mouseMoveEvent(QMouseEvent* event) {
  std::optional<size_t> row;
  const QString text = HoverText(event->position(), &row);
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(event->globalPosition().toPoint(), text, this);
  }
  SetHighlight(row);
  if (row) emit RowHovered(*row);
}

void RatingPlotView::leaveEvent(QEvent*) { SetHighlight(std::nullopt); }

}  // namespace rivulet
