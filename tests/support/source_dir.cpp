#include "support/source_dir.h"

namespace rivulet {

std::filesystem::path SourceDir() { return RIVULET_SOURCE_DIR; }

}  // namespace rivulet
