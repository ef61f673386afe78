#include "gui/shell/logo_widget.h"

#include <QPainter>
#include <QPainterPath>

namespace rivulet {

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("logo");
  setFixedSize(sizeHint());
}

void LogoWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(3, 3, -3, -3);
  // A pipe in section, part full: the program's subject in one picture.
  p.setPen(QPen(QColor(30, 50, 90), 3));
  p.setBrush(Qt::white);
  p.drawEllipse(r);
  QPainterPath circle;
  circle.addEllipse(r);
  QPainterPath water;
  const double surface = r.top() + r.height() * 0.45;
  water.addRect(QRectF(r.left(), surface, r.width(), r.bottom() - surface));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(120, 180, 235));
  p.drawPath(circle.intersected(water));
  p.setPen(QPen(QColor(30, 50, 90), 2));
  QPainterPath wave;
  wave.moveTo(r.left() + 8, surface);
  wave.cubicTo(r.center().x() - 8, surface - 6, r.center().x() + 8, surface + 6, r.right() - 8,
               surface);
  p.setBrush(Qt::NoBrush);
  p.drawPath(wave);
  p.setPen(QPen(QColor(30, 50, 90), 3));
  p.drawEllipse(r);
}

}  // namespace rivulet
