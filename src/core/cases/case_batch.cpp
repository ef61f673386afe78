#include "core/cases/case_batch.h"

#include <fstream>

#include "core/cases/case_columns.h"
#include "core/cases/csv_reader.h"
#include "core/shell/text_file.h"

namespace rivulet {

int RunCaseStream(std::istream& in, const CaseStart& start, bool withDetails, std::ostream& out,
                  std::ostream& err) {
  std::optional<CaseColumns> columns;
  std::string headerError;
  size_t rows = 0, unsolved = 0;
  std::string text, readError;
  const bool read = ReadCsvStream(
      in,
      [&](std::vector<std::string>& cells) {
        if (!headerError.empty()) return;
        if (!columns) {
          columns = CaseColumns::FromHeader(cells, withDetails, headerError);
          if (headerError.empty()) out << CsvRecordText(columns->OutputHeader());
          return;
        }
        ++rows;
        // A surcharged row has results, at the pipe's capacity, and says so in its status.
        const CaseRowState state = columns->Compute(start, cells);
        if (state != CaseRowState::Solved && state != CaseRowState::Surcharged) ++unsolved;
        text.clear();
        for (size_t i = 0; i < cells.size(); ++i) {
          if (i) text += ',';
          AppendCsvCell(text, cells[i]);
        }
        text += "\r\n";
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
      },
      readError);
  if (!headerError.empty()) {
    err << "rivulet: " << headerError << "\n";
    return kCasesUnreadable;
  }
  // A full disk shows only here; a table that was not written must not pass for done.
  out.flush();
  if (!out) {
    err << "rivulet: the case table could not be written\n";
    return kCasesUnreadable;
  }
  if (!read) {
    err << "rivulet: the case table could not be read: " << readError << "\n";
    return kCasesUnreadable;
  }
  if (!columns) {
    err << "rivulet: the case table has no header row\n";
    return kCasesUnreadable;
  }
  if (unsolved > 0) {
    err << "rivulet: " << unsolved << " of " << rows << " rows not solved\n";
    return kCasesSomeUnsolved;
  }
  return kCasesAllSolved;
}

int RunCaseBatch(const std::string& inPath, const std::optional<std::string>& outPath,
                 bool withDetails, const StartupValues& startup, std::ostream& out,
                 std::ostream& err) {
  std::ifstream in(inPath, std::ios::binary);
  if (!in) {
    err << "rivulet: " << inPath << ": cannot be opened\n";
    return kCasesUnreadable;
  }
  const CaseStart start(startup);
  if (!outPath) return RunCaseStream(in, start, withDetails, out, err);
  int status = kCasesUnreadable;
  const bool written = ReplaceFileSafely(*outPath, [&](const std::string& tempPath) {
    std::ofstream file(tempPath, std::ios::binary);
    if (!file) return false;
    status = RunCaseStream(in, start, withDetails, file, err);
    file.flush();
    return status != kCasesUnreadable && static_cast<bool>(file);
  });
  if (!written && status != kCasesUnreadable) {
    err << "rivulet: " << *outPath << ": could not be written; the previous file, if any, is "
        << "unchanged\n";
    return kCasesUnreadable;
  }
  return status;
}

int RunCasesCommand(const std::vector<std::string>& args, const StartupValues& startup,
                    std::ostream& out, std::ostream& err) {
  std::optional<std::string> in, outPath;
  bool details = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--details") {
      details = true;
    } else if (args[i] == "-o" || args[i] == "--output") {
      if (outPath || i + 1 >= args.size()) {
        err << "rivulet: -o needs one output file\n";
        return kCasesUnreadable;
      }
      outPath = args[++i];
    } else if (in) {
      err << "rivulet: --cases takes one CSV file\n";
      return kCasesUnreadable;
    } else {
      in = args[i];
    }
  }
  if (!in) {
    err << "rivulet: --cases needs a CSV file\n";
    return kCasesUnreadable;
  }
  return RunCaseBatch(*in, outPath, details, startup, out, err);
}

}  // namespace rivulet
