#include "core/design/design_settings_file.h"

#include <fstream>
#include <sstream>

#include "core/shell/text_file.h"

namespace rivulet {

DesignSettings LoadDesignSettings(const StartupValues& startup, std::string* problem) {
  DesignSettings settings = DefaultDesignSettings();
  const std::string path = FindInFolders(SettingsFolders(startup), kDesignSettingsFileName);
  if (path.empty()) return settings;
  std::ifstream in(path, std::ios::binary);
  std::string text;
  if (in) {
    // Read one byte past the cap so an oversized file is told apart from one at the cap.
    text.resize(kDesignSettingsMaxBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
  }
  const std::string why =
      in.bad() ? "The design settings file could not be read" : ParseDesignSettings(text, settings);
  if (!why.empty() && problem) *problem = why + " (" + path + ").";
  return settings;
}

std::string SaveDesignSettings(const StartupValues& startup, const DesignSettings& settings) {
  std::vector<std::string> lines;
  std::istringstream text(DesignSettingsText(settings));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return WriteToFirstWritable(SettingsFolders(startup), kDesignSettingsFileName, lines);
}

}  // namespace rivulet
