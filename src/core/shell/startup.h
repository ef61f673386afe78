// The values fixed once at start-up: version string, program folder, help page path.
#pragma once

#include <string>
#include <vector>

namespace rivulet {

inline constexpr char kProductName[] = "Rivulet";
inline constexpr char kPathSeparator = '/';

/// Major, minor and revision joined by "." with no padding (2.0.1).
std::string VersionString(int major, int minor, int revision);
/// This build's version, from the project version.
std::string BuildVersionString();

/// The folder and the relative name with exactly one separator between them.
std::string PathJoin(const std::string& folder, const std::string& relative);

/// The folder of the running executable, ending in the separator; empty if unknown.
std::string ExecutableFolder();

/// The help page beside the program.
std::string HelpPagePath(const std::string& programFolder);

/// The user's configuration folder for Rivulet ($XDG_CONFIG_HOME/rivulet, else
/// ~/.config/rivulet), ending in the separator; empty when neither is set.
std::string UserConfigFolder();

struct StartupValues {
  std::string version;
  std::string programFolder;
  std::string helpPagePath;
  /// Where the defaults file and the font list go when the program folder is not
  /// writable; read before the program folder, so the user's own files win. Empty: no fallback.
  std::string configFolder;

  /// Values for a program in the given folder (a separator is appended when missing),
  /// with an optional fallback configuration folder.
  static StartupValues ForFolder(const std::string& folder, const std::string& configFolder = {});
  /// Values for the running executable.
  static StartupValues Compute();
};

/// Where the settings files are looked for, in order: the user's configuration folder, then
/// the program folder. Writing goes to the program folder unless the user has a file of
/// their own or the program folder cannot take it (WriteToFirstWritable).
std::vector<std::string> SettingsFolders(const StartupValues& startup);

}  // namespace rivulet
