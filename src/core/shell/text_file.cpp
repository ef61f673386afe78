#include "core/shell/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
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

size_t LinesReadLimit(size_t maxLines) {
  // A byte-order mark, then each line at most its longest text, a CR and an LF; one byte
  // more shows a line that is too long.
  constexpr size_t kPerLine = kMaxLineLength + 2;
  if (maxLines > (SIZE_MAX - 4) / kPerLine) return SIZE_MAX;
  return 3 + maxLines * kPerLine + 1;
}

std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes) {
  // Judged before opening, as NotAFileToRead does; the size found sizes the buffer.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // One byte past the size shows the end in the first read; a file that grew meanwhile is
  // still read on, to the cap.
  std::string bytes(std::min(maxBytes, static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 1),
                    '\0');
  size_t used = 0;
  bool failed = false;
  while (used < maxBytes) {
    if (used == bytes.size()) bytes.resize(std::min(maxBytes, bytes.size() * 2));
    const size_t wanted = bytes.size() - used;
    const ssize_t n = read(fd, bytes.data() + used, wanted);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    used += static_cast<size_t>(n);
    // A regular file gives less than asked only at its end.
    if (static_cast<size_t>(n) < wanted) break;
  }
  close(fd);
  if (failed) return std::nullopt;
  bytes.resize(used);
  return bytes;
}

std::optional<std::vector<std::string>> SplitLines(std::string_view bytes, size_t maxLines) {
  // A byte-order mark that an editor put before the first line is not part of it.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::vector<std::string> lines;
  while (lines.size() < maxLines && !bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (line.find('\0') != std::string_view::npos) return std::nullopt;
    // The CR of a CR LF ending does not count: a line reads alike with either ending.
    if (line.size() > kMaxLineLength + 1 ||
        (line.size() == kMaxLineLength + 1 && line.back() != '\r'))
      return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path, size_t maxLines) {
  const auto bytes = ReadFileHead(path, LinesReadLimit(maxLines));
  if (!bytes) return std::nullopt;
  return SplitLines(*bytes, maxLines);
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
