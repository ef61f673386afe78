// Replacing a user's file without ever leaving it half written: the new content goes to
// an unnamed (or hidden) temporary file beside the real target and is renamed over it only
// when complete. A read-only file is refused, a link is kept and its target written, and a
// failure says why in words the user can act on.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rivulet {

/// Why a save failed.
enum class SaveError {
  None,
  ReadOnlyFile,      ///< the file's mode denies writing
  PermissionDenied,  ///< the folder may not be written in
  DiskFull,          ///< no room left (or the file is larger than allowed)
  FolderMissing,     ///< the folder to save in does not exist
  ReadOnlyDisk,      ///< the file system is mounted read-only
  NotAFile,          ///< the name is a folder or a device
  WriteFailed,       ///< anything else; errnoValue says what
};

/// What a save did: the file really written (a link's target) or why nothing was.
struct SaveOutcome {
  SaveError error = SaveError::None;
  int errnoValue = 0;
  /// The file the content went to, or would have gone to: links followed.
  std::string target;
  explicit operator bool() const { return error == SaveError::None; }
};

/// The file a save to path replaces: symbolic links followed to their end, so a link
/// stays a link. A dangling link gives the file it names.
SaveOutcome ResolveSaveTarget(const std::string& path);

/// Replaces the file at path with bytes (links followed); the previous file stays whole
/// whatever happens. A file whose mode allows nobody to write it is refused even for
/// root; a replaced file keeps its mode and, where allowed, its owner.
SaveOutcome ReplaceFileContent(const std::string& path, std::string_view bytes);

/// As ReplaceFileContent, for content written as it is made: fill writes it to the file
/// descriptor it is given and returns 0, or the errno that stopped it (the outcome then
/// carries it). fill runs again from the start, on a new file, where the system has no
/// unnamed files, so it must be able to begin again.
SaveOutcome ReplaceFileStreamed(const std::string& path, const std::function<int(int fd)>& fill);

/// As ReplaceFileContent, for writers that need a file name (a PDF engine): write fills
/// the hidden temporary file it is given and returns whether it succeeded; check, when
/// given, judges the finished file before it may replace the old one.
SaveOutcome ReplaceFileThrough(const std::string& path,
                               const std::function<bool(const std::string& tempPath)>& write,
                               const std::function<bool(const std::string& tempPath)>& check = {});

/// The cause in the user's words, without a full stop ("the disk is full").
std::string SaveCause(const SaveOutcome& outcome);
/// The cause for a message that names the target: SaveCause and, when the system gave
/// one, its own words ("the disk is full (No space left on device)").
std::string SaveFailureText(const SaveOutcome& outcome);
/// What the user can do about it, one sentence ending in a full stop.
std::string SaveAdvice(const SaveOutcome& outcome);

/// True for a name our saves give their temporary files.
bool IsSaveTemporaryName(std::string_view fileName);

}  // namespace rivulet
