// An example worksheet solved as the batch solves it, and its report as text, for tests
// that read what a reviewer would read.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/batch/worksheet_batch.h"
#include "core/worksheets/worksheet_report.h"
#include "support/example_files.h"

namespace rivulet {

/// The report lines of an example file; empty (and a test failure) when it does not solve.
inline std::vector<std::string> ExampleReportLines(const std::string& name) {
  int status = 0;
  std::ostringstream messages;
  const auto solved = SolveWorksheetFile(Example(name), BuiltInKinds(), messages, status);
  EXPECT_TRUE(solved) << name << ": " << messages.str();
  if (!solved) return {};
  return WorksheetReportLines(*solved->kind, solved->document, solved->outcome, "");
}

/// The words of the lines, each followed by one space: the report wraps its notes to its
/// width, so a sentence is found whatever line it broke on.
inline std::string ReportWords(const std::vector<std::string>& lines) {
  std::string text, word;
  for (const std::string& line : lines)
    for (std::istringstream words(line); words >> word;) text += word + " ";
  return text;
}

}  // namespace rivulet
