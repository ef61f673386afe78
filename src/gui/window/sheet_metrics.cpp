#include "gui/window/sheet_metrics.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "core/hydraulics/units.h"
#include "gui/shell/qt_text.h"

namespace rivulet {

// One width for every unit list, wide enough for the longest entry of any list, because a
// list changes its entries with the section and the mode.
int UnitListWidth() {
  QComboBox probe;
  probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const auto* units : {&VelocityUnits(), &DischargeUnits(), &LengthUnits(), &AreaUnits(),
                            &SideSlopeUnits(), &SlopeUnits()})
    for (const std::string& unit : *units) probe.addItem(ToQt(unit));
  return probe.sizeHint().width();
}

int ValueBoxWidth() {
  QLineEdit probe;
  const int digits = probe.fontMetrics().horizontalAdvance(QString(18, '0'));
  // The box's frame and margins: its size hint less the room it leaves for text.
  const int frame = probe.sizeHint().width() - probe.fontMetrics().horizontalAdvance('x') * 17;
  return digits + std::max(frame, 0);
}

// Two opposed arrows, drawn rather than loaded so that they follow the button's text colour
// and stay sharp at any scale.
QIcon SwapIcon(int side, const QColor& ink) {
  const qreal ratio = qApp->devicePixelRatio();
  QPixmap pixmap(QSize(side, side) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = side;
  QPen pen(ink, std::max(1.0, s / 10), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  const qreal head = s * 0.22;
  // Up on the left, down on the right.
  const qreal left = s * 0.32, right = s * 0.68, top = s * 0.12, bottom = s * 0.88;
  p.drawLine(QPointF(left, bottom), QPointF(left, top));
  p.drawLine(QPointF(left, top), QPointF(left - head, top + head));
  p.drawLine(QPointF(left, top), QPointF(left + head, top + head));
  p.drawLine(QPointF(right, top), QPointF(right, bottom));
  p.drawLine(QPointF(right, bottom), QPointF(right - head, bottom - head));
  p.drawLine(QPointF(right, bottom), QPointF(right + head, bottom - head));
  return QIcon(pixmap);
}

}  // namespace rivulet
