#include "core/batch/batch.h"

#include <algorithm>
#include <filesystem>

#include "core/batch/details_output.h"
#include "core/design/design_settings_file.h"
#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/printing/report.h"
#include "core/shell/fd_output.h"
#include "core/shell/text_file.h"

namespace rivulet {

int FinishBatchOutput(std::ostream& out, const std::string& outputName, std::ostream& err,
                      int status) {
  out.flush();
  if (out) return status;
  err << "rivulet: cannot write " << WriteFailureText(outputName, StreamWriteError(out)) << "\n";
  return kBatchBadFile;
}

int ForEachOpenedSheet(const std::vector<std::string>& files, const StartupValues& startup,
                       std::ostream& err,
                       const std::function<void(frmRivulet&, const std::string&)>& onSheet) {
  return ForEachOpenedSheet(files, CaseStart(startup), err, onSheet);
}

std::optional<std::string> ReadBatchFile(const std::string& file) {
  return ReadFileHead(file, CalcFileReadLimit());
}

int OpenOnFreshSheet(const std::string& file, const std::optional<std::string>& bytes,
                     const CaseStart& start, StreamServices& services, std::ostream& err,
                     const std::function<void(frmRivulet&, const std::string&)>& onSheet) {
  // Checked before anything opens it: a named pipe would hold the run for ever. A missing
  // file says so. Bytes read show a regular file.
  const bool quoted = !file.empty() && (file.front() == '"' || file.back() == '"');
  if (const std::string why = bytes ? std::string() : NotAFileToRead(file); !why.empty()) {
    // A name in double quotes is the reader's to look up without them.
    std::error_code ec;
    if (std::filesystem::exists(file, ec) || !quoted) {
      err << file << ": cannot be read: "
          << (std::filesystem::exists(file, ec) ? why : std::string("it does not exist")) << "\n";
      return kBatchBadFile;
    }
  }
  // A fresh sheet for every file: what one file leaves behind (the alternate row's
  // caption and unit, say) must not change the next one's result.
  frmRivulet form(services, start.Startup());
  AttachCalcFileCommands(form);
  AttachDefaultsCommands(form);
  start.Load(form);
  // A name in double quotes means the file without them, which the bytes are not from.
  const OpenResult opened =
      quoted ? OpenNamedFile(form, file) : OpenNamedFileContent(form, file, bytes);
  if (opened != OpenResult::Loaded) {
    err << file << ": cannot be opened as a calculation file\n";
    return kBatchBadFile;
  }
  const int status = form.Results() == ResultsState::Current ? kBatchAllSolved : kBatchSomeUnsolved;
  onSheet(form, file);
  return status;
}

int ForEachOpenedSheet(const std::vector<std::string>& files, const CaseStart& start,
                       std::ostream& err,
                       const std::function<void(frmRivulet&, const std::string&)>& onSheet) {
  StreamServices services(err);
  int status = kBatchAllSolved;
  for (const std::string& file : files)
    status = std::max(status,
                      OpenOnFreshSheet(file, ReadBatchFile(file), start, services, err, onSheet));
  return status;
}

int ForEachReport(const std::vector<std::string>& files, const StartupValues& startup,
                  std::ostream& err,
                  const std::function<void(const std::vector<std::string>&)>& onReport) {
  ReportExtras extras;
  extras.printFileName = true;
  return ForEachOpenedSheet(files, startup, err, [&](frmRivulet& form, const std::string&) {
    onReport(ReportLines(form, extras));
  });
}

void ReportStream::Write(const std::vector<std::string>& lines) {
  // One write per report: a stream insertion per line costs more than the line.
  text_.clear();
  if (!first_) text_ += "\f\n";
  first_ = false;
  for (const std::string& l : lines) text_.append(l).push_back('\n');
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
}

DesignSettings LoadBatchDesign(const StartupValues& startup, std::ostream& err) {
  std::string problem;
  DesignSettings design = LoadDesignSettings(startup, &problem);
  if (!problem.empty()) err << kProductName << ": " << problem << "\n";
  return design;
}

int RunReportBatch(const std::vector<std::string>& files, const StartupValues& startup,
                   std::ostream& out, std::ostream& err) {
  ReportStream reports(out);
  return ForEachReport(files, startup, err,
                       [&](const std::vector<std::string>& lines) { reports.Write(lines); });
}

int RunBatch(const std::vector<std::string>& files, const StartupValues& startup,
             BatchOutput output, std::ostream& out, std::ostream& err) {
  if (output == BatchOutput::Reports) return RunReportBatch(files, startup, out, err);
  ReportExtras extras;
  extras.printFileName = true;
  ReportStream reports(out);
  const DesignSettings design = LoadBatchDesign(startup, err);
  return ForEachOpenedSheet(files, startup, err, [&](frmRivulet& form, const std::string& file) {
    if (output == BatchOutput::Json) {
      out << CalculationJson(form, file, &design) << "\n";
      return;
    }
    std::vector<std::string> lines = ReportLines(form, extras);
    for (std::string& l : DetailsReportLines(form, &design)) lines.push_back(std::move(l));
    reports.Write(lines);
  });
}

}  // namespace rivulet
