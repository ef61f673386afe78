// What the View menu remembers between runs: whether the flow details panel is shown. It
// lives in its own small file beside the defaults file, whose fixed format has no room.
#pragma once

#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr char kViewSettingsFileName[] = "RIVULET.VEW";
inline constexpr char kViewSettingsHeader[] = "Rivulet View Settings File";

/// The file's lines for the sheet's View menu as it stands.
std::vector<std::string> ViewSettingsLines(const frmRivulet& form);

/// Sets the View menu's check marks from the file; without a valid file nothing changes.
void ApplyViewSettings(frmRivulet& form);

/// Applies the file, then makes Flow Details write it each time it is chosen. A file that
/// cannot be written is reported once per window; the choice still holds until exit.
void AttachViewSettings(frmRivulet& form);

}  // namespace rivulet
