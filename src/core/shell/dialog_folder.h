// Where file dialogs open: beside the file the user is working on, else in their
// documents, else at home; never in whatever folder the program happened to start from.
#pragma once

#include <string>

namespace rivulet {

/// The user's documents folder (XDG_DOCUMENTS_DIR of user-dirs.dirs, else ~/Documents)
/// when it exists, else the home folder, else "/".
std::string DocumentsFolder();

/// The folder of currentFilePath when that folder exists, else DocumentsFolder().
std::string FileDialogStartFolder(const std::string& currentFilePath);

}  // namespace rivulet
