#include "gui/shell/help_key.h"

#include <QAction>
#include <QWidget>

#include "core/shell/clipboard_commands.h"
#include "core/shell/startup.h"

namespace rivulet {

QAction* AddHelpKey(QWidget& window, Services& services, const std::string& anchor,
                    const QString& text) {
  auto* action = new QAction(text, &window);
  action->setObjectName("mnuWindowHelp");
  action->setShortcut(QKeySequence(Qt::Key_F1));
  action->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action, &QAction::triggered, &window, [&services, anchor] {
    HelpContentsCommand(services, "file://" + HelpPagePath(ExecutableFolder()) +
                                      (anchor.empty() ? "" : "#" + anchor));
  });
  window.addAction(action);
  return action;
}

}  // namespace rivulet
