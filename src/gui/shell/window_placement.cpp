#include "gui/shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace rivulet {

void CentreOnScreen(QWidget& window) {
  QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  window.adjustSize();
  const QRect area = screen->geometry();
  const QSize size = window.isVisible() ? window.frameGeometry().size() : window.size();
  window.move(area.x() + (area.width() - size.width()) / 2,
              area.y() + (area.height() - size.height()) / 2);
}

}  // namespace rivulet
