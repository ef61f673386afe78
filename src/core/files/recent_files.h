// The File menu's recent files: the last calculation and worksheet files opened or saved,
// newest first, kept in a small file beside the view settings so every window and every
// later run sees the same list.
#pragma once

#include <string>
#include <vector>

#include "core/files/calc_file.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr char kRecentFilesName[] = "RIVULET.MRU";
inline constexpr char kRecentFilesHeader[] = "Rivulet Recent Files";
inline constexpr size_t kMaxRecentFiles = 5;

class RecentFiles {
 public:
  /// A list stored in the first writable of the folders and read from the first holding it.
  explicit RecentFiles(std::vector<std::string> folders);

  /// The stored list, newest first. Read afresh each time, so a file another running copy
  /// added shows too.
  std::vector<std::string> Paths() const;
  /// Puts the file (made absolute) first, once, and keeps the newest five. False when the
  /// list could not be stored.
  bool Add(const std::string& path);
  /// Takes the file off the list. False when the list could not be stored.
  bool Remove(const std::string& path);

 private:
  bool Store(const std::vector<std::string>& paths) const;

  std::vector<std::string> folders_;
};

/// "&1  storm.rvl": the menu caption of the list's entry at index (from 0).
std::string RecentFileCaption(size_t index, const std::string& path);

/// Opens a calculation file as File > Open opens the one chosen in its dialog (asking about
/// unsaved changes first), and puts it first in the list when it loaded.
OpenResult OpenCalcFileFromList(frmRivulet& form, RecentFiles& recent, const std::string& path);

/// The list's entry: a file that no longer exists is taken off the list with a message
/// saying so; any other opens as OpenCalcFileFromList does.
OpenResult OpenRecentCalcFile(frmRivulet& form, RecentFiles& recent, const std::string& path);

/// Puts the sheet's file first in the list after each Open, Save and Save As.
void AttachRecentFiles(frmRivulet& form, RecentFiles& recent);

}  // namespace rivulet
