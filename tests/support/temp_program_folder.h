// A program folder of a test's own: a test that writes settings, defaults or a font list
// writes them there, and nothing is left on the machine afterwards, whoever runs the tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "core/shell/startup.h"

namespace rivulet {

class TempProgramFolder {
 public:
  TempProgramFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("rivulet-program-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// The start-up values of a program installed in this folder.
  StartupValues Startup() const { return StartupValues::ForFolder(path_.string()); }

 private:
  std::filesystem::path path_;
};

}  // namespace rivulet
