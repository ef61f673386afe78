// The recent files at the foot of the File menu, rebuilt each time the menu opens so that
// it always shows the stored list.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/files/recent_files.h"

class QAction;
class QMenu;

namespace rivulet {

class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  /// Shows the list in menu above `before`; a chosen entry goes to open with its path.
  RecentFilesMenu(QMenu& menu, QAction* before, const RecentFiles& recent,
                  std::function<void(const std::string& path)> open);

  /// Replaces the entries by the stored list.
  void Rebuild();

 private:
  QMenu& menu_;
  QAction* before_;
  const RecentFiles& recent_;
  std::function<void(const std::string&)> open_;
  std::vector<QAction*> entries_;
};

}  // namespace rivulet
