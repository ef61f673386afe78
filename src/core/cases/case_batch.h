// The case table from the command line: a CSV of cases in, the same rows with their
// results out, streamed one row at a time.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/cases/case_sheet.h"

namespace rivulet {

/// Exit statuses: every row solved, some row not, the table could not be read.
inline constexpr int kCasesAllSolved = 0;
inline constexpr int kCasesSomeUnsolved = 1;
inline constexpr int kCasesUnreadable = 2;

/// Computes every row of the CSV on in and writes the output CSV (CR LF line ends) to
/// out; faults of the table as a whole and a count of the unsolved rows go to err.
int RunCaseStream(std::istream& in, const CaseStart& start, bool withDetails, std::ostream& out,
                  std::ostream& err);

/// rivulet --cases IN.csv [--details] [-o OUT.csv]: with an output file, it is written
/// beside its target and renamed over it once complete, so a failed run keeps the old one.
int RunCaseBatch(const std::string& inPath, const std::optional<std::string>& outPath,
                 bool withDetails, const StartupValues& startup, std::ostream& out,
                 std::ostream& err);

}  // namespace rivulet

namespace rivulet {

/// The arguments after --cases (IN.csv [--details] [-o OUT.csv]) checked and run.
int RunCasesCommand(const std::vector<std::string>& args, const StartupValues& startup,
                    std::ostream& out, std::ostream& err);

}  // namespace rivulet
