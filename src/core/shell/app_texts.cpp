#include "core/shell/app_texts.h"

#include <sys/stat.h>

#include "core/shell/startup.h"

namespace rivulet {

const std::string& DisclaimerText() {
  static const std::string text =
      "Tarn makes no warranty or guarantee, expressed or implied, as to the accuracy, "
      "reliability, suitability, functioning, or results derived from the use of this "
      "program.  Nor shall the fact of distribution or sale of the program and related "
      "material constitute any such warranty or guarantee.  No responsability or liability "
      "is assumed by Tarn in connection therewith.  Portions of this program and its "
      "components are the property of Tarn and of their respective owners, and are used "
      "under licence.";
  return text;
}

std::string MainCaption(const std::string& version) {
  return std::string(kProductName) + " - Ver. " + version;
}

std::string AboutCaption(const std::string& version) { return "About " + MainCaption(version); }

std::string AboutVersionLine(const std::string& version) { return "Version: " + version; }

std::optional<std::time_t> ProgramFileTime(const std::string& programFolder) {
  struct stat st {};
  if (::stat(PathJoin(programFolder, kProgramFileName).c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

}  // namespace rivulet
