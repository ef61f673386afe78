#include "core/shell/text_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <system_error>

namespace rivulet {
namespace fs = std::filesystem;

std::string NotAFileToRead(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISREG(st.st_mode)) return "";
  if (S_ISDIR(st.st_mode)) return "it is a folder";
  if (S_ISFIFO(st.st_mode)) return "it is a named pipe";
  return "it is a device or a socket, not a file";
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path, size_t maxLines) {
  if (!NotAFileToRead(path).empty()) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // A byte-order mark that an editor put before the first line is not part of it.
  char mark[3] = {};
  if (!in.read(mark, 3) || std::string_view(mark, 3) != "\xEF\xBB\xBF") {
    in.clear();
    in.seekg(0);
  }
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < maxLines) {
    line.clear();
    int c;
    bool any = false;
    while ((c = in.get()) != EOF) {
      any = true;
      if (c == '\n') break;
      // The CR of a CR LF ending does not count: a line reads alike with either ending.
      const bool crAfterFullLine = c == '\r' && line.size() == kMaxLineLength;
      if (c == '\0' || (line.size() >= kMaxLineLength && !crAfterFullLine)) return std::nullopt;
      line.push_back(static_cast<char>(c));
    }
    if (!any) break;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (c == EOF) break;
  }
  if (in.bad()) return std::nullopt;
  return lines;
}

bool ReplaceFileSafely(const std::string& path,
                       const std::function<bool(const std::string& tempPath)>& write) {
  return static_cast<bool>(ReplaceFileThrough(path, write));
}

SaveOutcome SaveLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& l : lines) bytes.append(l).append("\r\n");
  return ReplaceFileContent(path, bytes);
}

bool WriteLinesSafely(const std::string& path, const std::vector<std::string>& lines) {
  return static_cast<bool>(SaveLines(path, lines));
}

std::string FindFileNoCase(const std::string& folder, const std::string& name) {
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  std::error_code ec;
  const fs::path exact = fs::path(folder) / name;
  if (fs::is_regular_file(exact, ec)) return exact.string();
  const std::string wanted = lower(name);
  fs::directory_iterator it(folder.empty() ? "." : folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    if (lower(it->path().filename().string()) == wanted && it->is_regular_file(ec))
      return it->path().string();
  }
  return {};
}

std::string FindInFolders(const std::vector<std::string>& folders, const std::string& name) {
  for (const std::string& f : folders) {
    if (f.empty()) continue;
    std::string found = FindFileNoCase(f, name);
    if (!found.empty()) return found;
  }
  return {};
}

std::string WriteToFirstWritable(const std::vector<std::string>& folders, const std::string& name,
                                 const std::vector<std::string>& lines) {
  // Start at the folder whose file a read finds now, else at the last folder read; go on
  // only towards folders read earlier, since a file written in one read later would be
  // hidden behind the one that stays.
  size_t start = folders.size();
  for (size_t i = 0; i < folders.size() && start == folders.size(); ++i)
    if (!folders[i].empty() && !FindFileNoCase(folders[i], name).empty()) start = i;
  if (start == folders.size() && start > 0) start = folders.size() - 1;
  for (size_t k = start + 1; k-- > 0;) {
    const std::string& f = folders[k];
    if (f.empty()) continue;
    std::error_code ec;
    fs::create_directories(f, ec);
    std::string path = FindFileNoCase(f, name);
    if (path.empty()) path = (fs::path(f) / name).string();
    if (WriteLinesSafely(path, lines)) return path;
  }
  return {};
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace rivulet
