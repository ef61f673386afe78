// A temporary folder of a test's own, removed with the object, and files written into it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace rivulet::testing {

/// A temporary folder removed with the object.
struct TempFolder {
  TempFolder() {
    std::random_device rd;
    path = std::filesystem::temp_directory_path() / ("rivulet-ws-" + std::to_string(rd()));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string Write(const std::string& name, const std::string& bytes) const {
    const auto p = path / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  std::filesystem::path path;
};

}  // namespace rivulet::testing
