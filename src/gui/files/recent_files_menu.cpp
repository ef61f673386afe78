#include "gui/files/recent_files_menu.h"

#include <QAction>
#include <QMenu>

namespace rivulet {

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QAction* before, const RecentFiles& recent,
                                 std::function<void(const std::string& path)> open)
    : QObject(&menu), menu_(menu), before_(before), recent_(recent), open_(std::move(open)) {
  menu_.setToolTipsVisible(true);
  connect(&menu_, &QMenu::aboutToShow, this, &RecentFilesMenu::Rebuild);
  Rebuild();
}

void RecentFilesMenu::Rebuild() {
  // Runs as the menu opens, never from one of its entries, so they can go at once.
  for (QAction* entry : entries_) delete entry;
  entries_.clear();
  const std::vector<std::string> paths = recent_.Paths();
  if (paths.empty()) return;
  // Between the file commands and Exit, set apart from the commands above.
  auto* separator = new QAction(&menu_);
  separator->setSeparator(true);
  separator->setObjectName("mnuRecentBreak");
  menu_.insertAction(before_, separator);
  entries_.push_back(separator);
  for (size_t i = 0; i < paths.size(); ++i) {
    auto* entry = new QAction(QString::fromStdString(RecentFileCaption(i, paths[i])), &menu_);
    entry->setObjectName(QString("mnuRecent%1").arg(i + 1));
    // Two files of one name in different folders are told apart by the full path.
    entry->setToolTip(QString::fromStdString(paths[i]));
    entry->setStatusTip(entry->toolTip());
    connect(entry, &QAction::triggered, this, [this, path = paths[i]] { open_(path); });
    menu_.insertAction(before_, entry);
    entries_.push_back(entry);
  }
}

}  // namespace rivulet
