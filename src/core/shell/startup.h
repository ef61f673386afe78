// The values fixed once at start-up: version string, program folder, help page path.
#pragma once

#include <string>

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

struct StartupValues {
  std::string version;
  std::string programFolder;
  std::string helpPagePath;

  /// Values for a program in the given folder (a separator is appended when missing).
  static StartupValues ForFolder(const std::string& folder);
  /// Values for the running executable.
  static StartupValues Compute();
};

}  // namespace rivulet
