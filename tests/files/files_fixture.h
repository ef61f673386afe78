// A loaded window whose program folder is a fresh temporary folder, with the file and
// defaults commands attached.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "support/recording_services.h"

namespace rivulet {

inline std::filesystem::path MakeTempFolder() {
  std::random_device rd;
  auto dir = std::filesystem::temp_directory_path() / ("rivulet-test-" + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  return dir;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class FilesTest : public ::testing::Test {
 protected:
  FilesTest()
      : folder(MakeTempFolder()),
        form(services, StartupValues::ForFolder(folder.string(), (folder / "config").string())) {
    AttachCalcFileCommands(form);
    AttachDefaultsCommands(form);
    form.Form_Load();
  }
  ~FilesTest() override {
    std::error_code ec;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(folder, ec);
  }

  FileChoice Choice(const std::string& name) { return {(folder / name).string(), name}; }

  std::filesystem::path folder;
  RecordingServices services;
  frmRivulet form;
};

}  // namespace rivulet
