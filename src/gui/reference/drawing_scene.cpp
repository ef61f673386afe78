#include "gui/reference/drawing_scene.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace rivulet {
namespace {

const QColor kGroundGrey(236, 236, 236);
const QColor kWaterBlue(173, 216, 245);
constexpr double kWallWidth = 2.4;
constexpr double kLineWidth = 1.0;
constexpr double kArrowLength = 7.0;
constexpr double kArrowHalfWidth = 2.6;

constexpr int kWrapFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

void PaintArrowHead(QPainter& painter, QPointF tip, QPointF from) {
  const QLineF back(tip, from);
  if (back.length() <= 0) return;
  const QPointF unit = (from - tip) / back.length();
  const QPointF normal(-unit.y(), unit.x());
  const QPointF base = tip + unit * kArrowLength;
  painter.drawPolygon(
      QPolygonF{tip, base + normal * kArrowHalfWidth, base - normal * kArrowHalfWidth});
}

}  // namespace

QFont SceneFont(const SceneText& text) {
  QFont font;
  font.setPixelSize(qRound(text.pixelSize));
  font.setBold(text.bold);
  font.setUnderline(text.underline);
  // Unhinted glyphs keep the same proportions at every scale, so the box measured here
  // is the box painted at 100% and at 200%.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QRectF SceneTextRect(const SceneText& text) {
  const QFontMetricsF metrics(SceneFont(text));
  QSizeF size;
  if (text.wrapWidth > 0)
    size = metrics.boundingRect(QRectF(0, 0, text.wrapWidth, 1000), kWrapFlags, text.text).size();
  else
    size = QSizeF(metrics.horizontalAdvance(text.text), metrics.height());
  QPointF topLeft = text.anchor;
  if (text.align & Qt::AlignHCenter) topLeft.rx() -= size.width() / 2;
  if (text.align & Qt::AlignRight) topLeft.rx() -= size.width();
  if (text.align & Qt::AlignVCenter) topLeft.ry() -= size.height() / 2;
  if (text.align & Qt::AlignBottom) topLeft.ry() -= size.height();
  return QRectF(topLeft, size);
}

void PaintDrawingScene(QPainter& painter, const DrawingScene& scene, const QRectF& target) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const double scale =
      std::min(target.width() / scene.size.width(), target.height() / scene.size.height());
  painter.translate(target.center().x() - scene.size.width() * scale / 2,
                    target.center().y() - scene.size.height() * scale / 2);
  painter.scale(scale, scale);

  painter.setPen(Qt::NoPen);
  painter.setBrush(kGroundGrey);
  for (const QPainterPath& path : scene.ground) painter.drawPath(path);
  painter.setBrush(kWaterBlue);
  painter.drawPath(scene.water);

  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  for (const QPainterPath& path : scene.lines) painter.drawPath(path);
  painter.setPen(QPen(Qt::black, kWallWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  for (const QPainterPath& path : scene.walls) painter.drawPath(path);

  for (const SceneDimension& dim : scene.dimensions) {
    // The shaft stops short of the tips so it does not poke through the arrowheads.
    const QLineF& l = dim.line;
    const double inset = std::min(kArrowLength * 0.8, l.length() / 2);
    const QPointF unit = (l.p2() - l.p1()) / l.length();
    painter.setPen(QPen(Qt::black, kLineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(l.p1() + unit * inset, l.p2() - unit * inset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    PaintArrowHead(painter, l.p1(), l.p2());
    PaintArrowHead(painter, l.p2(), l.p1());
    painter.setBrush(Qt::NoBrush);
  }

  painter.setPen(Qt::black);
  for (const SceneText& text : scene.texts) {
    painter.setFont(SceneFont(text));
    const QRectF box = SceneTextRect(text);
    painter.drawText(box, text.wrapWidth > 0 ? kWrapFlags : Qt::AlignLeft | Qt::AlignTop,
                     text.text);
  }
  painter.restore();
}

}  // namespace rivulet
