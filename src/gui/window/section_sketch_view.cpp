#include "gui/window/section_sketch_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <memory>

#include "core/window/frm_rivulet.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

const QColor kWater(170, 210, 255);
const QColor kSurface(0, 90, 200);
const QColor kWall(60, 60, 60);
const QColor kCritical(200, 40, 40);
const QColor kDimension(90, 90, 90);
constexpr double kGap = 12;  // from the section to a dimension line, in pixels
constexpr double kArrow = 5;

QPolygonF Polygon(const std::vector<SketchPoint>& points,
                  const std::function<QPointF(const SketchPoint&)>& map) {
  QPolygonF polygon;
  for (const SketchPoint& p : points) polygon << map(p);
  return polygon;
}

void Arrowhead(QPainter& painter, QPointF tip, QPointF from) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length < 1) return;
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  painter.drawPolygon(QPolygonF{tip, tip - u * kArrow * 1.6 + n * kArrow * 0.6,
                                tip - u * kArrow * 1.6 - n * kArrow * 0.6});
}

// A dimension line between a and b with arrows pointing out to both ends when it is long
// enough for them, ticks otherwise.
void DimensionLine(QPainter& painter, QPointF a, QPointF b) {
  painter.drawLine(a, b);
  if (std::hypot(b.x() - a.x(), b.y() - a.y()) > 4 * kArrow) {
    Arrowhead(painter, a, b);
    Arrowhead(painter, b, a);
  } else {
    const bool vertical = std::abs(b.x() - a.x()) < std::abs(b.y() - a.y());
    const QPointF tick = vertical ? QPointF(4, 0) : QPointF(0, 4);
    painter.drawLine(a - tick, a + tick);
    painter.drawLine(b - tick, b + tick);
  }
}

}  // namespace

QFont FitLegendFont(const QFont& base, const QStringList& lines, double room) {
  auto widestIn = [&lines](const QFont& f) {
    const QFontMetricsF m(f);
    double widest = 0;
    for (const QString& line : lines) widest = std::max(widest, m.horizontalAdvance(line));
    return widest;
  };
  // Hinted type does not scale evenly, so the size steps down until the lines fit.
  QFont font = base;
  const bool points = font.pointSizeF() > 0;
  const double full = points ? font.pointSizeF() : font.pixelSize();
  for (double size = full; widestIn(font) > room && size > 0.75 * full;) {
    size = std::max(0.75 * full, size - (points ? 0.25 : 1.0));
    if (points)
      font.setPointSizeF(size);
    else
      font.setPixelSize(static_cast<int>(size));
  }
  return font;
}

std::vector<ReportDrawing> CalculationDrawings(const frmRivulet& form) {
  // A picture of results the inputs no longer give would contradict the page it is on.
  if (form.Results() != ResultsState::Current) return {};
  std::optional<SectionSketch> sketch = SketchOf(form);
  if (!sketch) return {};
  auto view = std::make_shared<SectionSketchView>();
  view->SetSketch(std::move(sketch), false);
  return {WidgetDrawing("Section at the calculated depth, drawn to scale", view, {560, 340})};
}

SectionSketchView::SectionSketchView(QWidget* parent) : QWidget(parent) {
  setObjectName("picSection");
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SectionSketchView::SetSketch(std::optional<SectionSketch> sketch, bool stale) {
  sketch_ = std::move(sketch);
  stale_ = stale;
  update();
}

// Narrow enough that the panel never widens the window: the picture takes whatever width
// the sheet above leaves beside the table.
QSize SectionSketchView::sizeHint() const {
  const int em = fontMetrics().averageCharWidth();
  return {em * 34, em * 40};
}

QSize SectionSketchView::minimumSizeHint() const {
  const int em = fontMetrics().averageCharWidth();
  return {em * 24, em * 20};
}

QMarginsF SectionSketchView::LabelRoom() const {
  const QFontMetricsF fm(font());
  QMarginsF room(8, 8, 8, 8);
  if (!sketch_) return room;
  const SectionSketch& k = *sketch_;
  for (const auto* level : {&k.alternateSurface, &k.critical})
    if (*level && !(*level)->tag.empty())
      room.setLeft(std::max(room.left(), fm.horizontalAdvance(ToQt((*level)->tag)) + 12));
  for (const SketchDimension& d : k.dimensions) {
    switch (d.side) {
      case SketchDimension::Side::Below:
        room.setBottom(std::max(room.bottom(), kGap + fm.height() + 6));
        break;
      case SketchDimension::Side::Above:
        room.setTop(std::max(room.top(), kGap + fm.height() + 6));
        break;
      case SketchDimension::Side::Right:  // the label stands along the line
        room.setRight(std::max(room.right(), kGap + fm.height() + 8));
        break;
    }
  }
  room.setBottom(room.bottom() + Legend().size() * fm.lineSpacing() + 6);
  return room;
}

std::vector<const SketchLevel*> SectionSketchView::Legend() const {
  std::vector<const SketchLevel*> legend;
  if (!sketch_) return legend;
  legend.push_back(&sketch_->surface);
  if (sketch_->alternateSurface) legend.push_back(&*sketch_->alternateSurface);
  if (sketch_->critical) legend.push_back(&*sketch_->critical);
  return legend;
}

SectionSketchView::Frame SectionSketchView::FrameFor(const QSize& size) const {
  Frame frame;
  if (!sketch_) return frame;
  const SectionSketch& k = *sketch_;
  const QRectF area = QRectF(QPointF(0, 0), QSizeF(size)).marginsRemoved(LabelRoom());
  const double w = std::max(k.maxX - k.minX, 1e-12);
  const double h = std::max(k.maxY - k.minY, 1e-12);
  frame.scale = std::max(0.0, std::min(area.width() / w, area.height() / h));
  frame.origin = area.topLeft() + QPointF((area.width() - w * frame.scale) / 2,
                                          (area.height() - h * frame.scale) / 2);
  return frame;
}

QPointF SectionSketchView::Map(const SketchPoint& p, const QSize& size) const {
  const Frame f = FrameFor(size);
  if (!sketch_) return f.origin;
  return f.origin + QPointF((p.x - sketch_->minX) * f.scale, (sketch_->maxY - p.y) * f.scale);
}

void SectionSketchView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().base());
  if (!sketch_) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                     tr("The section is drawn here after a calculation."));
    return;
  }
  const SectionSketch& k = *sketch_;
  if (stale_) painter.setOpacity(0.4);
  const QSize size = this->size();
  auto map = [&](const SketchPoint& p) { return Map(p, size); };
  const QFontMetricsF fm(font());
  const double left = map({k.minX, 0}).x(), right = map({k.maxX, 0}).x();
  const double top = map({0, k.maxY}).y(), bottom = map({0, k.minY}).y();

  painter.setPen(Qt::NoPen);
  painter.setBrush(kWater);
  painter.drawPolygon(Polygon(k.water, map));
  painter.setBrush(Qt::NoBrush);

  QPen wall(kWall, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  if (!k.alternateWalls.empty()) {
    QPen dashed = wall;
    dashed.setWidthF(1.5);
    dashed.setStyle(Qt::DashLine);
    painter.setPen(dashed);
    painter.drawPolyline(Polygon(k.alternateWalls, map));
  }
  painter.setPen(wall);
  if (k.closed) {
    painter.drawPolygon(Polygon(k.walls, map));
  } else {
    painter.drawPolyline(Polygon(k.walls, map));
  }

  const QPen surfacePen(kSurface, 2);
  const QPen alternatePen(kSurface, 1.5, Qt::DashLine);
  const QPen criticalPen(kCritical, 1.5, Qt::DashDotLine);
  auto penFor = [&](const SketchLevel* level) {
    if (level == &k.surface) return surfacePen;
    return k.critical && level == &*k.critical ? criticalPen : alternatePen;
  };
  auto levelLine = [&](const SketchLevel& level) {
    const QPen pen = penFor(&level);
    painter.setPen(pen);
    const QPointF a = map({level.left, level.depth}), b = map({level.right, level.depth});
    painter.drawLine(a, b);
    if (!level.tag.empty()) {
      painter.setPen(pen.color());
      painter.drawText(QRectF(0, a.y() - fm.height() / 2, left - 4, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, ToQt(level.tag));
    }
  };
  levelLine(k.surface);
  // The surface mark: an open triangle standing on the water line.
  const QPointF mark =
      map({k.surface.left + (k.surface.right - k.surface.left) / 3, k.surface.depth});
  painter.drawPolygon(QPolygonF{mark, mark + QPointF(-5, -8), mark + QPointF(5, -8)});
  if (k.alternateSurface) levelLine(*k.alternateSurface);
  if (k.critical) levelLine(*k.critical);

  // The legend under the drawing: each line's style and its value. The picture's width is
  // what the table leaves, so a line wider than that is set in smaller type (down to three
  // quarters) and shortened only beyond it.
  const auto legend = Legend();
  const double room = width() - 44.0;
  QStringList lines;
  for (const SketchLevel* level : legend) lines << ToQt(level->legend);
  const QFont legendFont = FitLegendFont(font(), lines, room);
  const QFontMetricsF legendMetrics(legendFont);
  double row = height() - 8 - legend.size() * fm.lineSpacing();
  for (const SketchLevel* level : legend) {
    const double mid = row + fm.lineSpacing() / 2;
    painter.setPen(penFor(level));
    painter.drawLine(QPointF(8, mid), QPointF(32, mid));
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(legendFont);
    painter.drawText(QRectF(38, row, room, fm.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                     legendMetrics.elidedText(ToQt(level->legend), Qt::ElideRight, room));
    painter.setFont(font());
    row += fm.lineSpacing();
  }

  QPen thin(kDimension, 1);
  for (const SketchDimension& d : k.dimensions) {
    const QPointF a = map(d.from), b = map(d.to);
    const QString label = ToQt(d.label);
    painter.setPen(QPen(kDimension, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    QPointF da, db;
    double textTop = 0;
    switch (d.side) {
      case SketchDimension::Side::Below: {
        const double y = bottom + kGap;
        da = {a.x(), y}, db = {b.x(), y};
        textTop = y + 3;
        break;
      }
      case SketchDimension::Side::Above: {
        const double y = top - kGap;
        da = {a.x(), y}, db = {b.x(), y};
        textTop = y - 3 - fm.height();
        break;
      }
      case SketchDimension::Side::Right: {
        const double x = right + kGap;
        da = {x, a.y()}, db = {x, b.y()};
        break;
      }
    }
    painter.drawLine(a, da);
    painter.drawLine(b, db);
    painter.setPen(thin);
    painter.setBrush(kDimension);
    DimensionLine(painter, da, db);
    painter.setBrush(Qt::NoBrush);
    if (d.side == SketchDimension::Side::Right) {
      // Read from below, along the line, as drawings letter their heights.
      painter.save();
      painter.translate(da.x() + 4 + fm.ascent(), (da.y() + db.y()) / 2);
      painter.rotate(-90);
      const double w = fm.horizontalAdvance(label);
      painter.drawText(QPointF(-w / 2, 0), label);
      painter.restore();
    } else {
      // Centred on its line, but never out of the picture at either side.
      const double w = fm.horizontalAdvance(label) + 4;
      const double x =
          std::clamp((da.x() + db.x()) / 2 - w / 2, 2.0, std::max(2.0, width() - w - 2));
      painter.drawText(QRectF(x, textTop, w, fm.height()), Qt::AlignCenter, label);
    }
  }
  if (!k.slopeLabel.empty()) {
    painter.setPen(kWall);
    const QPointF at = map(k.slopeAnchor);
    // Outside the wall: below and to the right of its middle.
    painter.drawText(QPointF(at.x() + 8, at.y() + fm.ascent() + 4), ToQt(k.slopeLabel));
  }
}

}  // namespace rivulet
