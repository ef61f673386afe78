// Reading and writing the design settings file RIVULET.DSN under the folder rules of the
// defaults file.
#pragma once

#include <string>

#include "core/design/design_settings.h"
#include "core/shell/startup.h"

namespace rivulet {

/// The settings from the first folder holding the file; the built-in ones when there is no
/// file. A file that cannot be read leaves the built-in settings and its reason in problem.
DesignSettings LoadDesignSettings(const StartupValues& startup, std::string* problem);

/// Writes the settings to the first folder where that works; the path written, or "".
std::string SaveDesignSettings(const StartupValues& startup, const DesignSettings& settings);

}  // namespace rivulet
