#include "gui/window/results_export.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "core/files/results_csv.h"
#include "gui/window/flow_details_panel.h"

namespace rivulet {

void AttachResultsExport(frmRivulet& form, QMainWindow& window, FlowDetailsPanel& panel) {
  for (QAction* a : window.menuBar()->actions()) {
    if (a->objectName() != "mnuEdit" || !a->menu()) continue;
    a->menu()->addSeparator();
    QAction* copy = a->menu()->addAction("Copy &Results");
    copy->setObjectName("mnuCopyResults");
    // The worksheets' shortcut for the same command.
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    QObject::connect(copy, &QAction::triggered, &window, [&form] { CopyResultsCommand(form); });
  }
  panel.AddCommands([&form] { CopyDetailsCommand(form); },
                    [&form] { SaveDetailsCsvCommand(form); });
}

}  // namespace rivulet
