#include "core/printing/printer.h"

namespace rivulet {

void ReportDocument::Add(const std::vector<std::string>& lines) {
  if (reports_ > 0) printer_.NewPage();
  for (const std::string& line : lines) printer_.PrintLine(line);
  ++reports_;
}

}  // namespace rivulet
