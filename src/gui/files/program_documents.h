// What every document window shares: the one recent-files list and the way a file is
// opened in the window of its kind. The program sets it up at start, for the whole run;
// until then a window shows no recent files (as in a window made on its own by a test).
#pragma once

#include <functional>
#include <string>

#include "core/files/recent_files.h"

class QAction;
class QMenu;

namespace rivulet {

struct ProgramDocuments {
  RecentFiles* recent = nullptr;
  /// Opens a file of any kind in its own window (a calculation file in the calculation
  /// window).
  std::function<void(const std::string& path)> open;
};

ProgramDocuments& Documents();

/// Puts the file first in the shared list, when there is one.
void AddRecentDocument(const std::string& path);
/// Shows the shared list in menu above before, when there is one.
void AddRecentDocumentsMenu(QMenu& menu, QAction* before);

}  // namespace rivulet
