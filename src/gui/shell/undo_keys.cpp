#include "gui/shell/undo_keys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace rivulet {
namespace {

constexpr char kRoutesUndo[] = "routesUndoKeys";

class UndoKeyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || !box->window()->property(kRoutesUndo).toBool()) return false;
    for (QWidget* w = box->parentWidget(); w; w = w->parentWidget())
      if (qobject_cast<QAbstractItemView*>(w)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
        key->keyCombination() ==
            QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
      // Ignored here, the key goes on to the window's shortcuts.
      event->ignore();
      return true;
    }
    return false;
  }
};

}  // namespace

void RouteUndoKeysToWindow(QWidget& window) {
  window.setProperty(kRoutesUndo, true);
  static UndoKeyFilter* filter = nullptr;
  if (!filter) {
    filter = new UndoKeyFilter(qApp);
    qApp->installEventFilter(filter);
  }
}

}  // namespace rivulet
