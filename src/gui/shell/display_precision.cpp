#include "gui/shell/display_precision.h"

#include <QAction>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "core/files/view_settings.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

DisplayPrecision& DisplayPrecision::Instance() {
  static DisplayPrecision* precision = new DisplayPrecision;
  return *precision;
}

void DisplayPrecision::SetDigits(int digits) {
  if (digits != 0) digits = std::clamp(digits, kMinDisplayDigits, kMaxDisplayDigits);
  if (digits == digits_) return;
  digits_ = digits;
  emit Changed(digits_);
}

bool AskDisplayPrecision(QWidget* parent) {
  QStringList choices{"Default (4 to 6 significant figures, as each value needs)"};
  for (int d = kMinDisplayDigits; d <= kMaxDisplayDigits; ++d)
    choices << QString("%1 significant figures").arg(d);
  const int digits = DisplayPrecision::Instance().Digits();
  const int current = digits == 0 ? 0 : digits - kMinDisplayDigits + 1;
  bool ok = false;
  const QString chosen = QInputDialog::getItem(
      parent, "Display Precision",
      "Results, flow details, design checks and the case table show values with:", choices, current,
      false, &ok);
  if (!ok) return false;
  const qsizetype index = choices.indexOf(chosen);
  DisplayPrecision::Instance().SetDigits(
      index <= 0 ? 0 : kMinDisplayDigits + static_cast<int>(index) - 1);
  return true;
}

void AddDisplayPrecisionItem(QMainWindow& window, const char* menuName) {
  QMenu* menu = nullptr;
  for (QAction* a : window.menuBar()->actions())
    if (a->objectName() == menuName && a->menu()) menu = a->menu();
  if (!menu) {
    menu = new QMenu("&Options", &window);
    menu->menuAction()->setObjectName(menuName);
    // Help stays the last menu.
    const QList<QAction*> menus = window.menuBar()->actions();
    window.menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.last(), menu);
  } else {
    menu->addSeparator();
  }
  QAction* item = menu->addAction("Display &Precision...");
  item->setObjectName("mnuDisplayPrecision");
  QObject::connect(item, &QAction::triggered, &window, [&window] { AskDisplayPrecision(&window); });
}

void AttachDisplayPrecision(frmRivulet& form, QMainWindow& window, std::function<void()> resync) {
  DisplayPrecision& precision = DisplayPrecision::Instance();
  precision.SetDigits(ReadDisplayDigits(form.Startup()));
  AddDisplayPrecisionItem(window, "mnuOptions");
  QObject::connect(&precision, &DisplayPrecision::Changed, &window,
                   [&form, resync, reported = false](int digits) mutable {
                     if (resync) resync();
                     if (WriteViewSettings(form, digits) || reported) return;
                     // Once is enough: the choice still holds for this session.
                     reported = true;
                     form.Svc().MessageBox(
                         "The display precision could not be saved in RIVULET.VEW in the "
                         "configuration folder or the program folder, so Rivulet will not "
                         "remember it next time.",
                         kProductName, MessageIcon::Exclamation);
                   });
}

}  // namespace rivulet
