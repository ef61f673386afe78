#include "core/batch/worksheet_batch.h"

#include <algorithm>
#include <filesystem>

#include "core/batch/batch.h"
#include "core/batch/details_output.h"
#include "core/design/design_settings_file.h"
#include "core/printing/report.h"
#include "core/printing/report_text.h"
#include "core/shell/app_texts.h"
#include "core/worksheets/worksheet_json.h"
#include "core/worksheets/worksheet_report.h"

namespace rivulet {

std::string PrintedPath(const std::string& file) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(file, ec);
  return ec ? file : absolute.string();
}

std::optional<SolvedWorksheet> SolveWorksheetFile(const std::string& file, const KindTable& kinds,
                                                  std::ostream& err, int& status) {
  WorksheetRead read = ReadWorksheetFile(file);
  const WorksheetKind* kind = read.document ? FindKind(kinds, read.document->kind) : nullptr;
  if (read.document && !kind)
    read.message = "Unknown worksheet kind \"" + read.document->kind + "\".";
  if (!kind) {
    err << kProductName << ": " << read.message << "\n";
    err << file << ": cannot be opened as a worksheet file\n";
    status = kBatchBadFile;
    return std::nullopt;
  }
  SolvedWorksheet solved{file, std::move(*read.document), kind, {}};
  solved.outcome = SolveWorksheet(*kind, solved.document);
  if (!solved.outcome.ok) {
    err << kind->title << ": " << solved.outcome.message << "\n";
    status = std::max(status, kBatchSomeUnsolved);
  }
  return solved;
}

int ForEachBatchFile(const std::vector<std::string>& files, const StartupValues& startup,
                     const KindTable& kinds, std::ostream& err,
                     const std::function<void(frmRivulet&, const std::string&)>& onSheet,
                     const std::function<void(const SolvedWorksheet&)>& onWorksheet) {
  int status = kBatchAllSolved;
  // The defaults are read at the first calculation file, once for the run.
  std::optional<CaseStart> start;
  StreamServices services(err);
  for (const std::string& file : files) {
    // One read serves both: the leading bytes tell a worksheet, and hold the whole of
    // whatever a calculation file's reader would look at.
    const std::optional<std::string> bytes = ReadBatchFile(file);
    if (!bytes || !LooksLikeWorksheet(std::string_view(*bytes).substr(0, kWorksheetSniffBytes))) {
      if (!start) start.emplace(startup);
      status = std::max(status, OpenOnFreshSheet(file, bytes, *start, services, err, onSheet));
      continue;
    }
    if (auto solved = SolveWorksheetFile(file, kinds, err, status)) onWorksheet(*solved);
  }
  return status;
}

int ForEachBatchReport(const std::vector<std::string>& files, const StartupValues& startup,
                       const KindTable& kinds, std::ostream& err,
                       const std::function<void(const std::vector<std::string>&)>& onReport,
                       const DesignSettings* details) {
  ReportExtras extras;
  extras.printFileName = true;
  return ForEachBatchFile(
      files, startup, kinds, err,
      [&](frmRivulet& form, const std::string&) {
        std::vector<std::string> lines = ReportLines(form, extras);
        if (details)
          for (std::string& l : DetailsReportLines(form, details)) lines.push_back(std::move(l));
        onReport(lines);
      },
      [&](const SolvedWorksheet& w) {
        onReport(WorksheetReportLines(*w.kind, w.document, w.outcome, PrintedPath(w.file)));
      });
}

int RunMixedBatch(const std::vector<std::string>& files, const StartupValues& startup,
                  BatchOutput output, const KindTable& kinds, std::ostream& out,
                  std::ostream& err) {
  ReportExtras extras;
  extras.printFileName = true;
  const DesignSettings design = LoadBatchDesign(startup, err);
  // Reports as ReportStream writes them, a form-feed line between two; the text is made
  // in one buffer kept for the run and written in one piece per file.
  std::string text;
  bool first = true;
  auto start = [&] {
    text.clear();
    if (!first) text += "\f\n";
    first = false;
  };
  auto write = [&] { out.write(text.data(), static_cast<std::streamsize>(text.size())); };
  auto writeLines = [&](const std::vector<std::string>& lines) {
    start();
    for (const std::string& l : lines) text.append(l).push_back('\n');
    write();
  };
  return ForEachBatchFile(
      files, startup, kinds, err,
      [&](frmRivulet& form, const std::string& file) {
        if (output == BatchOutput::Json) {
          out << CalculationJson(form, file, &design) << "\n";
          return;
        }
        start();
        AppendReportText(form, extras, text);
        if (output == BatchOutput::ReportsWithDetails)
          for (const std::string& l : DetailsReportLines(form, &design))
            text.append(l).push_back('\n');
        write();
      },
      [&](const SolvedWorksheet& w) {
        if (output == BatchOutput::Json)
          out << WorksheetJsonLine(w.file, w.document, w.outcome) << "\n";
        else
          writeLines(WorksheetReportLines(*w.kind, w.document, w.outcome, PrintedPath(w.file)));
      });
}

}  // namespace rivulet
