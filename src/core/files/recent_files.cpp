#include "core/files/recent_files.h"

#include <algorithm>
#include <filesystem>

#include "core/shell/startup.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

// A few more than the list keeps, so a file written by a later version still reads.
constexpr size_t kMaxLines = 1 + 4 * kMaxRecentFiles;

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

// One path per line: a name holding a line break cannot be stored, and is better left out
// than stored broken.
bool Storable(const std::string& path) {
  return !path.empty() && path.find_first_of("\r\n") == std::string::npos &&
         path.size() < kMaxLineLength;
}

bool HasFile(const frmRivulet& form) {
  return !form.currentFilePath.empty() && form.Title().find('[') != std::string::npos;
}

}  // namespace

RecentFiles::RecentFiles(std::vector<std::string> folders) : folders_(std::move(folders)) {}

std::vector<std::string> RecentFiles::Paths() const {
  const std::string file = FindInFolders(folders_, kRecentFilesName);
  const auto lines = file.empty() ? std::nullopt : ReadLines(file, kMaxLines);
  std::vector<std::string> paths;
  if (!lines || lines->empty() || Trim((*lines)[0]) != kRecentFilesHeader) return paths;
  for (size_t i = 1; i < lines->size() && paths.size() < kMaxRecentFiles; ++i) {
    const std::string& path = (*lines)[i];
    if (Storable(path) && std::find(paths.begin(), paths.end(), path) == paths.end())
      paths.push_back(path);
  }
  return paths;
}

bool RecentFiles::Add(const std::string& path) {
  const std::string absolute = Absolute(path);
  if (!Storable(absolute)) return false;
  std::vector<std::string> paths = Paths();
  std::erase(paths, absolute);
  paths.insert(paths.begin(), absolute);
  if (paths.size() > kMaxRecentFiles) paths.resize(kMaxRecentFiles);
  return Store(paths);
}

bool RecentFiles::Remove(const std::string& path) {
  std::vector<std::string> paths = Paths();
  std::erase(paths, path);
  std::erase(paths, Absolute(path));
  return Store(paths);
}

bool RecentFiles::Store(const std::vector<std::string>& paths) const {
  std::vector<std::string> lines{kRecentFilesHeader};
  lines.insert(lines.end(), paths.begin(), paths.end());
  return !WriteToFirstWritable(folders_, kRecentFilesName, lines).empty();
}

std::string RecentFileCaption(size_t index, const std::string& path) {
  std::string caption = "&";
  caption += std::to_string(index + 1);
  caption += "  ";
  // A "&" in a file name is shown as itself, not taken as the menu's accelerator mark.
  for (char c : std::filesystem::path(path).filename().string()) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

OpenResult OpenCalcFileFromList(frmRivulet& form, RecentFiles& recent, const std::string& path) {
  if (!ConfirmDiscard(form)) return OpenResult::Cancelled;
  const std::string absolute = Absolute(path);
  const OpenResult result =
      OpenCalcFile(form, absolute, std::filesystem::path(absolute).filename().string());
  if (result == OpenResult::Loaded) recent.Add(absolute);
  return result;
}

OpenResult OpenRecentCalcFile(frmRivulet& form, RecentFiles& recent, const std::string& path) {
  // A missing file is told before any question about the sheet, which it would not replace;
  // so is a name that now holds no file (a folder, a named pipe), never opened.
  if (const std::string why = NotAFileToRead(path); !why.empty()) {
    recent.Remove(path);
    std::error_code ec;
    const std::string what = std::filesystem::exists(path, ec) ? " cannot be opened: " + why + "."
                                                               : " could not be found.";
    form.Svc().MessageBox(path + what + "  It has been removed from the list of " + "recent files.",
                          kProductName, MessageIcon::Exclamation);
    return OpenResult::Cancelled;
  }
  return OpenCalcFileFromList(form, recent, path);
}

void AttachRecentFiles(frmRivulet& form, RecentFiles& recent) {
  for (MenuItem* item : {&form.mnuOpen, &form.mnuSave, &form.mnuSaveAs}) {
    item->onClick = [&form, &recent, inner = item->onClick] {
      if (inner) inner();
      if (HasFile(form)) recent.Add(form.currentFilePath);
    };
  }
}

}  // namespace rivulet
