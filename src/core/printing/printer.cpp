#include "core/printing/printer.h"

#include <algorithm>

#include "core/printing/report.h"

namespace rivulet {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

ReportTail FindReportTail(const std::vector<std::string>& lines) {
  const auto disclaimer = std::find_if(
      lines.begin(), lines.end(), [](const std::string& l) { return Trim(l) == "Disclaimer:"; });
  if (disclaimer == lines.end()) return {lines.size(), 0};
  const size_t d = static_cast<size_t>(disclaimer - lines.begin());
  size_t start = d;
  for (size_t i = d; i-- > 0;)
    if (Trim(lines[i]).substr(0, 6) == "Status") {
      start = i;
      break;
    }
  // Through the rule that closes the report and the file name under it, so that neither is
  // left on a page of its own either.
  const std::string closing = ReportRule('=');
  size_t end = lines.size();
  for (size_t i = d + 1; i < lines.size(); ++i)
    if (lines[i] == closing) {
      end = std::min(lines.size(), i + 2);
      break;
    }
  return {start, static_cast<int>(end - start)};
}

void ReportDocument::Add(const std::vector<std::string>& lines) {
  if (reports_ > 0) printer_.NewPage();
  const ReportTail tail = FindReportTail(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == tail.start) {
      printer_.PrintDrawings();
      printer_.KeepTogether(tail.keep);
    }
    printer_.PrintLine(lines[i]);
  }
  if (tail.start >= lines.size()) printer_.PrintDrawings();
  ++reports_;
}

}  // namespace rivulet
