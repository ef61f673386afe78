#include "gui/shell/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace rivulet {
namespace {

QRect FreeArea(const QWidget& window) {
  QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

// The window frame (title bar, borders) is known only once the window manager has framed
// the window; before that, a typical title bar is allowed for so the first placement fits.
QSize FrameExtra(const QWidget& window) {
  if (window.isVisible()) {
    const QSize extra = window.frameGeometry().size() - window.geometry().size();
    if (extra.width() > 0 || extra.height() > 0) return extra;
  }
  return {8, 32};
}

class ShowWatcher : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && !(widget->windowFlags() & Qt::ToolTip) &&
          widget->windowType() != Qt::Popup) {
        KeepOnScreen(*widget);
        // Again once the window manager has framed it and the frame's size is known.
        QTimer::singleShot(0, widget, [widget] { KeepOnScreen(*widget); });
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QRect FittedFrame(QRect at, QSize frame, const QRect& area) {
  if (area.isEmpty()) return QRect(at.topLeft(), frame);
  const QSize size = frame.boundedTo(area.size());
  const int x = std::clamp(at.x(), area.left(), area.left() + area.width() - size.width());
  const int y = std::clamp(at.y(), area.top(), area.top() + area.height() - size.height());
  return QRect(QPoint(x, y), size);
}

void CentreOnScreen(QWidget& window) {
  window.adjustSize();
  const QRect area = FreeArea(window);
  if (area.isEmpty()) return;
  const QSize frame = window.size() + FrameExtra(window);
  const QPoint centred(area.x() + (area.width() - frame.width()) / 2,
                       area.y() + (area.height() - frame.height()) / 2);
  window.move(FittedFrame(QRect(centred, frame), frame, area).topLeft());
}

void KeepOnScreen(QWidget& window) {
  const QRect area = FreeArea(window);
  if (area.isEmpty()) return;
  const QSize extra = FrameExtra(window);
  const QSize frame = window.size() + extra;
  const QRect fitted = FittedFrame(QRect(window.pos(), frame), frame, area);
  if (fitted.size() != frame) {
    const QSize inner = fitted.size() - extra;
    // A window of fixed size cannot be cut; its layout has to fit the screen by itself.
    if (window.minimumSize().boundedTo(inner) == window.minimumSize()) window.resize(inner);
  }
  if (fitted.topLeft() != window.pos()) window.move(fitted.topLeft());
}

QSize FreeContentsSize(const QWidget& window) {
  const QRect area = FreeArea(window);
  if (area.isEmpty()) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  return area.size() - FrameExtra(window);
}

void KeepWindowsOnScreen(QObject& application) {
  application.installEventFilter(new ShowWatcher(&application));
}

}  // namespace rivulet
