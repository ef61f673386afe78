// Placing windows: in the middle of their screen when they load, and never partly off it.
#pragma once

#include <QRect>
#include <QSize>

class QObject;
class QWidget;

namespace rivulet {

/// Moves a window so that it stands in the middle of the free part of its screen (the
/// screen less panels and docks), and wholly on it.
void CentreOnScreen(QWidget& window);

/// The frame-outside rectangle a window of frame size `frame` at `at` should take so that
/// it lies wholly inside `area`: moved in first, and cut to `area` only where it is larger.
QRect FittedFrame(QRect at, QSize frame, const QRect& area);

/// Shrinks a resizable window that is larger than the free part of its screen and moves any
/// window so that all of it is on that screen.
void KeepOnScreen(QWidget& window);

/// The largest inside size (without title bar and borders) the window can have and still
/// lie wholly on the free part of its screen.
QSize FreeContentsSize(const QWidget& window);

/// Keeps every top-level window of the application on screen each time it is shown.
void KeepWindowsOnScreen(QObject& application);

}  // namespace rivulet
