// What the View menu remembers between runs: whether the flow details panel is shown. It
// lives in its own small file beside the defaults file, whose fixed format has no room.
#pragma once

#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr char kViewSettingsFileName[] = "RIVULET.VEW";
inline constexpr char kViewSettingsHeader[] = "Rivulet View Settings File";

/// The file's lines for the sheet's View menu as it stands and the display digits (a line
/// only when not 0).
std::vector<std::string> ViewSettingsLines(const frmRivulet& form, int displayDigits = 0);

/// The fewest and most significant digits windows may show results with.
inline constexpr int kMinDisplayDigits = 3;
inline constexpr int kMaxDisplayDigits = 15;

/// The significant digits windows show results with, as the file keeps it; 0 (each figure
/// with its own) without a valid entry.
int ReadDisplayDigits(const StartupValues& startup);

/// Writes the file with the sheet's View menu and the digits (0, or kMinDisplayDigits to
/// kMaxDisplayDigits); false when no folder would take it.
bool WriteViewSettings(const frmRivulet& form, int displayDigits);

/// Sets the View menu's check marks from the file; without a valid file nothing changes.
void ApplyViewSettings(frmRivulet& form);

/// Applies the file, then makes Flow Details write it each time it is chosen. A file that
/// cannot be written is reported once per window; the choice still holds until exit.
void AttachViewSettings(frmRivulet& form);

}  // namespace rivulet
