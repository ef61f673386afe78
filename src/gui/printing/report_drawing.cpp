#include "gui/printing/report_drawing.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace rivulet {

ReportDrawing WidgetDrawing(const QString& caption, std::shared_ptr<QWidget> widget, QSize size) {
  widget->setAttribute(Qt::WA_DontShowOnScreen);
  widget->resize(size);
  return {caption, size, [widget](QPainter& painter, const QRectF& rect) {
            widget->resize(rect.size().toSize());
            widget->render(&painter, rect.topLeft().toPoint(), QRegion(), QWidget::DrawChildren);
          }};
}

QImage RenderDrawing(const ReportDrawing& drawing, double scale) {
  // Painted as on screen and then scaled: lettering, pens and labels keep the proportions
  // the window gives them, whatever the printer's resolution.
  QImage image(drawing.size * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  if (drawing.paint) drawing.paint(painter, QRectF(QPointF(0, 0), QSizeF(drawing.size)));
  return image;
}

}  // namespace rivulet
