// Small text files the program reads and writes: CRLF on write, CRLF or LF on read,
// and reading that never trusts the file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/safe_file.h"

namespace rivulet {

/// Longest line accepted from a file; the files hold short values, so anything longer
/// means the file is not one of ours.
inline constexpr size_t kMaxLineLength = 4096;

/// Why the file at path cannot be read as one, judged without opening it: opening a named
/// pipe waits for a writer that may never come, and a device may never end. "" for a
/// regular file (links followed); else the reason in the user's words ("it is a folder").
std::string NotAFileToRead(const std::string& path);

/// Up to maxLines lines of a file, line ends (CR LF or LF) and a leading UTF-8 byte-order
/// mark removed. nullopt when the file cannot be opened or a line is longer than
/// kMaxLineLength or holds a NUL byte (a binary file).
std::optional<std::vector<std::string>> ReadLines(const std::string& path, size_t maxLines);

/// ReadLines over bytes already read: the same lines, or nullopt where ReadLines would
/// refuse the file.
std::optional<std::vector<std::string>> SplitLines(std::string_view bytes, size_t maxLines);

/// How many leading bytes of a file SplitLines may look at for maxLines lines: a file cut
/// after that many reads exactly as the whole file does.
size_t LinesReadLimit(size_t maxLines);

/// Up to maxBytes bytes from the start of the file at path, or nullopt when it is not a
/// regular file (judged before opening, as NotAFileToRead) or cannot be read.
std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes);

/// Has write() fill a temporary file beside path, then renames it over path, so a failed
/// or empty write never destroys the previous file. False when anything failed.
bool ReplaceFileSafely(const std::string& path,
                       const std::function<bool(const std::string& tempPath)>& write);

/// Writes the lines, each ended by CR LF, in place of the file at path (links followed),
/// so a failed write never destroys the previous file; says why when it fails.
SaveOutcome SaveLines(const std::string& path, const std::vector<std::string>& lines);

/// SaveLines, for callers that only need to know whether it worked.
bool WriteLinesSafely(const std::string& path, const std::vector<std::string>& lines);

/// The file in folder whose name equals name without regard to letter case ("" if none).
std::string FindFileNoCase(const std::string& folder, const std::string& name);

/// The first place holding the file (folders in order, letter case ignored), or "".
std::string FindInFolders(const std::vector<std::string>& folders, const std::string& name);

/// Writes a settings file where FindInFolders(folders, name) will find it: over the file
/// it finds now, else in the last folder; when that fails, in the folders before it (a
/// missing one is created), never in one whose file would be hidden. Returns the path
/// written, or "" when every folder failed.
std::string WriteToFirstWritable(const std::vector<std::string>& folders, const std::string& name,
                                 const std::vector<std::string>& lines);

/// Blanks (spaces and tabs) removed from both ends.
std::string Trim(const std::string& text);

}  // namespace rivulet
