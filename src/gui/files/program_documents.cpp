#include "gui/files/program_documents.h"

#include "gui/files/recent_files_menu.h"

namespace rivulet {

ProgramDocuments& Documents() {
  static ProgramDocuments documents;
  return documents;
}

void AddRecentDocument(const std::string& path) {
  if (Documents().recent && !path.empty()) Documents().recent->Add(path);
}

void AddRecentDocumentsMenu(QMenu& menu, QAction* before) {
  if (!Documents().recent) return;
  new RecentFilesMenu(menu, before, *Documents().recent, [](const std::string& path) {
    if (Documents().open) Documents().open(path);
  });
}

}  // namespace rivulet
