#include "gui/worksheets/worksheet_options.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "gui/shell/display_precision.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

void ConvertWorksheetInputs(WorksheetWindow& window, UnitSystem system) {
  const bool current = window.Model().State() == ResultsState::Current;
  window.Model().ConvertInputs(system);
  if (current)
    window.Calculate();
  else
    window.Sync();
}

void AddWorksheetOptions(WorksheetWindow& window) {
  auto* options = new QMenu("&Options", &window);
  options->menuAction()->setObjectName("mnuWorksheetOptions");
  QAction* si = options->addAction("Convert Inputs to &SI Units");
  si->setObjectName("mnuConvertSI");
  QObject::connect(si, &QAction::triggered, &window,
                   [&window] { ConvertWorksheetInputs(window, UnitSystem::SI); });
  QAction* us = options->addAction("Convert Inputs to &US Units");
  us->setObjectName("mnuConvertUS");
  QObject::connect(us, &QAction::triggered, &window,
                   [&window] { ConvertWorksheetInputs(window, UnitSystem::US); });
  // Help stays the last menu.
  const QList<QAction*> menus = window.menuBar()->actions();
  window.menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.last(), options);
  AddDisplayPrecisionItem(window, "mnuWorksheetOptions");

  DisplayPrecision& precision = DisplayPrecision::Instance();
  window.Model().SetDisplayDigits(precision.Digits());
  QObject::connect(&precision, &DisplayPrecision::Changed, &window, [&window](int digits) {
    window.Model().SetDisplayDigits(digits);
    window.Sync();
  });
}

}  // namespace rivulet
