// Where the project's sources are, for tests that read the examples, the help page or the
// tree itself.
#pragma once

#include <filesystem>

namespace rivulet {

/// The project's source folder (the folder of the top-level CMakeLists.txt).
std::filesystem::path SourceDir();

}  // namespace rivulet
