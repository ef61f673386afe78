#include "core/shell/dialog_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace rivulet {
namespace {

namespace fs = std::filesystem;

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The documents entry of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string UserDirsDocuments(const std::string& home) {
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = home + "/.config";
  if (config.empty()) return {};
  std::ifstream in(config + "/user-dirs.dirs");
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(kKey)) continue;
    std::string value = line.substr(kKey.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.starts_with("$HOME")) value = home + value.substr(5);
    return value;
  }
  return {};
}

}  // namespace

std::string DocumentsFolder() {
  const std::string home = Environment("HOME");
  const std::string listed = UserDirsDocuments(home);
  if (IsFolder(listed)) return listed;
  if (!home.empty() && IsFolder(fs::path(home) / "Documents")) return home + "/Documents";
  if (IsFolder(home)) return home;
  return "/";
}

std::string FileDialogStartFolder(const std::string& currentFilePath) {
  if (!currentFilePath.empty()) {
    std::error_code ec;
    const fs::path folder = fs::absolute(currentFilePath, ec).parent_path();
    if (!ec && IsFolder(folder)) return folder.string();
  }
  return DocumentsFolder();
}

}  // namespace rivulet
