// The worksheet windows of the program: the Tools menu of the main window with one item
// per kind, a kind's own additions to the window, and opening a .rvw file in the window
// of its kind.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/shell/services.h"
#include "core/worksheets/kinds.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// What a kind adds to its window (its drawing, say); kinds without an entry get the window
/// as it is.
using WorksheetWindowSetup = std::function<void(WorksheetWindow&)>;
const std::map<std::string, WorksheetWindowSetup>& WorksheetWindowSetups();

/// The drawings a kind's report carries, made from a solved document as its window draws
/// them; a kind without an entry prints its report without drawings. A new kind supplies its
/// drawings by adding its hook to this table.
using ReportDrawingsHook =
    std::function<std::vector<ReportDrawing>(const Document&, const SheetOutcome&)>;
const std::map<std::string, ReportDrawingsHook>& ReportDrawingsHooks();
/// The drawings of a document's report by its kind's hook; none without results.
std::vector<ReportDrawing> WorksheetReportDrawings(const WorksheetKind& kind,
                                                   const Document& document,
                                                   const SheetOutcome& outcome);

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
