#include "gui/worksheets/worksheet_windows.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/shell/startup.h"
#include "gui/culverts/culvert_window.h"
#include "gui/drainage/gutter_window.h"
#include "gui/drainage/inlet_window.h"
#include "gui/networks/network_window.h"
#include "gui/pipes/pressure_pipe_window.h"
#include "gui/profiles/profile_window.h"
#include "gui/sections/section_editor.h"
#include "gui/structures/orifice_window.h"
#include "gui/structures/outlet_window.h"
#include "gui/structures/weir_window.h"
#include "gui/worksheets/worksheet_options.h"

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
      {"network", SetUpNetworkWindow},
      {"culvert", SetUpCulvertWindow},
  };
  return setups;
}

const std::map<std::string, ReportDrawingsHook>& ReportDrawingsHooks() {
  // One line per kind with drawings: {"gutter", GutterReportDrawings}.
  static const std::map<std::string, ReportDrawingsHook> hooks{
      {"gutter", GutterReportDrawings},   {"inlet", InletReportDrawings},
      {"section", SectionReportDrawings}, {"pressurePipe", PressurePipeReportDrawings},
      {"profile", ProfileReportDrawings}, {"weir", WeirReportDrawings},
      {"orifice", OrificeReportDrawings}, {"outletStructure", OutletReportDrawings},
      {"culvert", CulvertReportDrawings}, {"network", NetworkReportDrawings},
  };
  return hooks;
}

std::vector<ReportDrawing> WorksheetReportDrawings(const WorksheetKind& kind,
                                                   const Document& document,
                                                   const SheetOutcome& outcome) {
  const auto hook = ReportDrawingsHooks().find(kind.name);
  if (hook == ReportDrawingsHooks().end() || !outcome.ok || outcome.results.empty()) return {};
  return hook->second(document, outcome);
}

WorksheetWindow* ShowWorksheetWindow(const WorksheetKind& kind, Services& services,
                                     SharedPrinter& printer) {
  // No parent: a worksheet stays open after the main window closes, as reference windows do.
  auto* window = new WorksheetWindow(kind, services, printer);
  window->setAttribute(Qt::WA_DeleteOnClose);
  AddWorksheetOptions(*window);
  const auto setup = WorksheetWindowSetups().find(kind.name);
  if (setup != WorksheetWindowSetups().end()) setup->second(*window);
  window->ForgetEdits();  // what a kind's set-up put in is where Undo stops
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

namespace {

// The title with an access key no other item of the menu has: the first free initial of a
// word, else the first free letter; "" when every letter is taken.
QString WithAccessKey(const QString& title, QString& taken) {
  auto take = [&](qsizetype i) {
    taken += title[i].toLower();
    return title.left(i) + "&" + title.mid(i);
  };
  for (qsizetype i = 0; i < title.size(); ++i)
    if (title[i].isLetter() && (i == 0 || title[i - 1] == ' ') &&
        !taken.contains(title[i].toLower()))
      return take(i);
  for (qsizetype i = 0; i < title.size(); ++i)
    if (title[i].isLetter() && !taken.contains(title[i].toLower())) return take(i);
  return title;
}

}  // namespace

void AddToolsMenu(QMainWindow& window, const KindTable& kinds, Services& services,
                  SharedPrinter& printer) {
  // The calculation window's own Tools menu (the case table) takes the worksheets after a line.
  QMenu* own = nullptr;
  for (QAction* a : window.menuBar()->actions())
    if (a->objectName() == "mnuTools" && a->menu()) own = a->menu();
  auto* tools = own ? own : new QMenu("&Tools", &window);
  if (own) tools->addSeparator();
  tools->setObjectName("mnuTools");
  // Every item reachable by its key, as the menu's own items are.
  QString taken;
  for (const QAction* a : tools->actions()) {
    const qsizetype amp = a->text().indexOf('&');
    if (amp >= 0 && amp + 1 < a->text().size()) taken += a->text()[amp + 1].toLower();
  }
  for (const WorksheetKind* kind : kinds) {
    QAction* item =
        tools->addAction(WithAccessKey(QString::fromStdString(kind->title), taken) + "...");
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
