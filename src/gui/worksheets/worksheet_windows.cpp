#include "gui/worksheets/worksheet_windows.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/shell/startup.h"
#include "gui/culverts/culvert_window.h"
#include "gui/drainage/gutter_window.h"
#include "gui/drainage/inlet_window.h"
#include "gui/pipes/pressure_pipe_window.h"
#include "gui/profiles/profile_window.h"
#include "gui/sections/section_editor.h"
#include "gui/structures/orifice_window.h"
#include "gui/structures/outlet_window.h"
#include "gui/structures/weir_window.h"

namespace rivulet {

const std::map<std::string, WorksheetWindowSetup>& WorksheetWindowSetups() {
  // One line per kind with additions: {"gutter", SetUpGutterWindow}.
  static const std::map<std::string, WorksheetWindowSetup> setups{
      {"gutter", SetUpGutterWindow},
      {"inlet", SetUpInletWindow},
      {"section", SetUpSectionWindow},
      {"profile", SetUpProfileWindow},
      {"pressurePipe", SetUpPressurePipeWindow},
      {"weir", SetUpWeirWindow},
      {"orifice", SetUpOrificeWindow},
      {"outletStructure", SetUpOutletWindow},
      {"culvert", SetUpCulvertWindow},
  };
  return setups;
}

WorksheetWindow* ShowWorksheetWindow(const WorksheetKind& kind, Services& services,
                                     SharedPrinter& printer) {
  // No parent: a worksheet stays open after the main window closes, as reference windows do.
  auto* window = new WorksheetWindow(kind, services, printer);
  window->setAttribute(Qt::WA_DeleteOnClose);
  const auto setup = WorksheetWindowSetups().find(kind.name);
  if (setup != WorksheetWindowSetups().end()) setup->second(*window);
  window->show();
  return window;
}

WorksheetWindow* OpenWorksheetWindow(const std::string& path, const KindTable& kinds,
                                     Services& services, SharedPrinter& printer) {
  const WorksheetRead read = ReadWorksheetFile(path);
  const WorksheetKind* kind = read.document ? FindKind(kinds, read.document->kind) : nullptr;
  if (!kind) {
    services.MessageBox(
        read.document ? "Unknown worksheet kind \"" + read.document->kind + "\"." : read.message,
        kProductName, MessageIcon::Exclamation);
    return nullptr;
  }
  WorksheetWindow* window = ShowWorksheetWindow(*kind, services, printer);
  window->OpenFile(path);
  return window;
}

void AddToolsMenu(QMainWindow& window, const KindTable& kinds, Services& services,
                  SharedPrinter& printer) {
  // The calculation window's own Tools menu (the case table) takes the worksheets after a line.
  QMenu* own = nullptr;
  for (QAction* a : window.menuBar()->actions())
    if (a->objectName() == "mnuTools" && a->menu()) own = a->menu();
  auto* tools = own ? own : new QMenu("&Tools", &window);
  if (own) tools->addSeparator();
  tools->setObjectName("mnuTools");
  for (const WorksheetKind* kind : kinds) {
    QAction* item = tools->addAction(QString::fromStdString(kind->title) + "...");
    item->setObjectName("mnuTools_" + QString::fromStdString(kind->name));
    QObject::connect(item, &QAction::triggered, &window, [kind, &services, &printer] {
      ShowWorksheetWindow(*kind, services, printer);
    });
  }
  if (kinds.empty()) tools->addAction("No worksheets installed")->setEnabled(false);
  if (own) return;
  // Help stays the last menu, as desktop programs keep it.
  const QList<QAction*> menus = window.menuBar()->actions();
  QAction* help = menus.isEmpty() ? nullptr : menus.last();
  window.menuBar()->insertMenu(help, tools);
}

}  // namespace rivulet
