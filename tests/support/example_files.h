// The sample files shipped in examples/, found from the project's source folder rather than
// from where a test's source happens to sit.
#pragma once

#include <filesystem>
#include <string>

#include "support/source_dir.h"

namespace rivulet {

inline std::filesystem::path ExamplesFolder() { return SourceDir() / "examples"; }

/// The full path of one example file.
inline std::string Example(const std::string& name) { return (ExamplesFolder() / name).string(); }

}  // namespace rivulet
