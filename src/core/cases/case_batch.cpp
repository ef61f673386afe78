#include "core/cases/case_batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/cases/case_columns.h"
#include "core/cases/csv_reader.h"
#include "core/shell/fd_output.h"
#include "core/shell/text_file.h"

namespace rivulet {

namespace {

// The case table computed from in onto out, which is named outName in messages.
int RunCases(std::istream& in, const CaseStart& start, bool withDetails, std::ostream& out,
             const std::string& outName, std::ostream& err) {
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
    err << "rivulet: cannot write " << WriteFailureText(outName, StreamWriteError(out)) << "\n";
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

}  // namespace

int RunCaseStream(std::istream& in, const CaseStart& start, bool withDetails, std::ostream& out,
                  std::ostream& err) {
  return RunCases(in, start, withDetails, out, "standard output", err);
}

int RunCaseBatch(const std::string& inPath, const std::optional<std::string>& outPath,
                 bool withDetails, const StartupValues& startup, std::ostream& out,
                 std::ostream& err) {
  // A named pipe would hold the run for ever; a missing file is told below.
  if (const std::string why = NotAFileToRead(inPath);
      !why.empty() && std::filesystem::exists(inPath)) {
    err << "rivulet: " << inPath << ": cannot be read: " << why << "\n";
    return kCasesUnreadable;
  }
  std::ifstream in(inPath, std::ios::binary);
  if (!in) {
    err << "rivulet: " << inPath << ": cannot be opened\n";
    return kCasesUnreadable;
  }
  const CaseStart start(startup);
  if (!outPath) return RunCaseStream(in, start, withDetails, out, err);
  int status = kCasesUnreadable;
  bool ran = false;
  // Refused tables and failed writes are told of where they happen, naming the target.
  auto fill = [&](int fd) {
    ran = true;
    in.clear();
    in.seekg(0);  // a second try starts the table again
    FdOutputBuffer buffer(fd);
    std::ostream file(&buffer);
    status = RunCases(in, start, withDetails, file, *outPath, err);
    if (status != kCasesUnreadable) return 0;
    return buffer.Error() != 0 ? buffer.Error() : ECANCELED;
  };
  struct stat st;
  if (stat(outPath->c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    // A device or a pipe (/dev/stdout, another program's input) holds no file to keep:
    // it is written as it is. Without a reader a pipe refuses at once instead of waiting.
    const int fd = open(outPath->c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      err << "rivulet: cannot write " << WriteFailureText(*outPath, errno) << "\n";
      return kCasesUnreadable;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fill(fd);
    close(fd);
    return status;
  }
  const SaveOutcome saved = ReplaceFileStreamed(*outPath, fill);
  if (saved) return status;
  if (!ran || status != kCasesUnreadable)
    err << "rivulet: cannot write " << *outPath << ": " << SaveFailureText(saved)
        << "; the previous file, if any, is unchanged\n";
  return kCasesUnreadable;
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
