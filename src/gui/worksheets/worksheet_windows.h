// The worksheet windows of the program: the Tools menu of the main window with one item
// per kind, a kind's own additions to the window, and opening a .rvw file in the window
// of its kind.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

#include "core/shell/services.h"
#include "core/worksheets/kinds.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// What a kind adds to its window (its drawing, say); kinds without an entry get the window
/// as it is.
using WorksheetWindowSetup = std::function<void(WorksheetWindow&)>;
const std::map<std::string, WorksheetWindowSetup>& WorksheetWindowSetups();

/// A new window of kind, set up by its kind, shown, printing on printer; it deletes itself
/// when closed.
WorksheetWindow* ShowWorksheetWindow(const WorksheetKind& kind, Services& services,
                                     SharedPrinter& printer);

/// Opens the worksheet file in a new window of its kind. nullptr after a message when the
/// file is no worksheet, or of a kind not in kinds.
WorksheetWindow* OpenWorksheetWindow(const std::string& path, const KindTable& kinds,
                                     Services& services, SharedPrinter& printer);

/// Adds the Tools menu, before the Help menu, with one "Title..." item per kind; the
/// windows it opens print on printer.
void AddToolsMenu(QMainWindow& window, const KindTable& kinds, Services& services,
                  SharedPrinter& printer);

}  // namespace rivulet
