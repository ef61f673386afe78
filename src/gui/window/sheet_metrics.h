// Sizes and pictures of the calculation window's widgets that do not depend on the sheet's
// state: kept apart so the window's own file stays about laying out and forwarding.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <algorithm>
#include <initializer_list>

namespace rivulet {

// Captions change with the section and the velocity/discharge mode; reserving the widest
// keeps the columns, and so the window, from jumping when they do.
template <class W>
void ReserveWidth(W* w, std::initializer_list<const char*> captions) {
  const QString shown = w->text();
  int widest = 0;
  for (const char* caption : captions) {
    w->setText(caption);
    widest = std::max(widest, w->sizeHint().width());
  }
  w->setText(shown);
  w->setMinimumWidth(widest);
}

/// The width of a unit list that holds the longest entry of any unit list.
int UnitListWidth();

/// The width of a value box that shows a result's 15 significant digits.
int ValueBoxWidth();

/// The velocity/discharge swap button's icon: two opposed arrows in the given ink.
QIcon SwapIcon(int side, const QColor& ink);

}  // namespace rivulet
