#include "core/shell/startup.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef RIVULET_VERSION_MAJOR
#error "the build defines RIVULET_VERSION_MAJOR, _MINOR and _PATCH from the project version"
#endif

namespace rivulet {

std::string VersionString(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string BuildVersionString() {
  return VersionString(RIVULET_VERSION_MAJOR, RIVULET_VERSION_MINOR, RIVULET_VERSION_PATCH);
}

std::string PathJoin(const std::string& folder, const std::string& relative) {
  if (!folder.empty() && folder.back() == kPathSeparator) return folder + relative;
  return folder + kPathSeparator + relative;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

std::string HelpPagePath(const std::string& programFolder) {
  return PathJoin(programFolder, "RVHELP/RVHELP.HTM");
}

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return PathJoin(xdg, "rivulet/");
  const char* home = std::getenv("HOME");
  if (home && *home) return PathJoin(home, ".config/rivulet/");
  return {};
}

StartupValues StartupValues::ForFolder(const std::string& folder, const std::string& configFolder) {
  StartupValues v;
  v.configFolder = configFolder;
  v.version = BuildVersionString();
  v.programFolder = folder;
  if (v.programFolder.empty() || v.programFolder.back() != kPathSeparator)
    v.programFolder += kPathSeparator;
  v.helpPagePath = HelpPagePath(v.programFolder);
  return v;
}

StartupValues StartupValues::Compute() { return ForFolder(ExecutableFolder(), UserConfigFolder()); }

std::vector<std::string> SettingsFolders(const StartupValues& startup) {
  // The user's own settings win over the shared ones beside the program.
  return {startup.configFolder, startup.programFolder};
}

}  // namespace rivulet
