// A drawing printed with a report: the picture a window shows, painted again for the page.
// A kind of report supplies its drawings as a list of these; the printer sets them under
// the report's results, to scale across the report's body.
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class QWidget;

namespace rivulet {

struct ReportDrawing {
  /// The line printed above it ("Section at the solved depth").
  QString caption;
  /// The size it is painted at, in screen pixels; the page scales it to the report's width,
  /// so this fixes its proportions and the size of its lettering.
  QSize size{560, 300};
  /// Paints the drawing into a rectangle of that size at the origin.
  std::function<void(QPainter&, const QRectF&)> paint;
};

/// A drawing made by a widget's own painting, the widget sized to size first. The widget is
/// kept with the drawing.
ReportDrawing WidgetDrawing(const QString& caption, std::shared_ptr<QWidget> widget, QSize size);

/// The drawing rendered into an image scale times its size in each direction, white behind
/// it, for the page.
QImage RenderDrawing(const ReportDrawing& drawing, double scale);

}  // namespace rivulet
