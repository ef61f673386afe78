// The defaults file RIVULET.DEF: mode, section, every unit position and Fix Results.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr char kDefaultsFileName[] = "RIVULET.DEF";
inline constexpr char kDefaultsHeader[] = "Rivulet Default Values File";

/// The 14 lines for the sheet's current arrangement.
std::vector<std::string> DefaultsFileLines(frmRivulet& form);

/// The built-in defaults.
void mnuOptionsRestoreDefaults_Click(frmRivulet& form);
/// The defaults file's lines, found as Apply Defaults finds it; nullopt when none is readable.
std::optional<std::vector<std::string>> ReadDefaultsFile(const StartupValues& startup);
/// Applies defaults-file lines read earlier, or the built-in defaults when they are not valid.
void ApplyDefaultsLines(frmRivulet& form, const std::optional<std::vector<std::string>>& lines);
/// The defaults from the file, or the built-in ones when there is no valid file.
void mnuOptionsApplyDefaults_Click(frmRivulet& form);
/// Stores the sheet's arrangement; false (after a message) when it could not be written.
bool mnuOptionsWriteDefaults_Click(frmRivulet& form);

/// Connects the three Options commands and the start-up test for the file.
void AttachDefaultsCommands(frmRivulet& form);

}  // namespace rivulet
