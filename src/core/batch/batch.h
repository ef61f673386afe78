// The batch mode: the same sheet as the window, driven from the command line. Every
// runner (--report, --details, --json, --rating) starts here.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/cases/case_sheet.h"
#include "core/design/design_settings.h"
#include "core/hydraulics/rating_table.h"
#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// Services without a screen: each message box becomes a "TITLE: TEXT" line on a stream,
/// dialogs are cancelled.
class StreamServices : public HeadlessServices {
 public:
  explicit StreamServices(std::ostream& err) : err_(err) {}
  void MessageBox(const std::string& text, const std::string& title, MessageIcon) override {
    err_ << title << ": " << text << "\n";
  }

 private:
  std::ostream& err_;
};

/// Exit statuses of the batch mode.
inline constexpr int kBatchAllSolved = 0;
inline constexpr int kBatchSomeUnsolved = 1;
inline constexpr int kBatchBadFile = 2;

/// Flushes out and checks that everything written to it arrived: a full disk or a closed
/// pipe makes the run fail (kBatchBadFile, with a message naming the output on err)
/// instead of ending as if the output were complete. status otherwise.
int FinishBatchOutput(std::ostream& out, const std::string& outputName, std::ostream& err,
                      int status);

/// Opens each file on a sheet of its own, started as the window starts, and hands the
/// sheet with the opened file to onSheet. Messages go to err.
int ForEachOpenedSheet(const std::vector<std::string>& files, const StartupValues& startup,
                       std::ostream& err,
                       const std::function<void(frmRivulet&, const std::string&)>& onSheet);
/// The same with the defaults read once beforehand: every file's sheet starts from them,
/// so a run reads its settings once and no file's result depends on the files before it.
int ForEachOpenedSheet(const std::vector<std::string>& files, const CaseStart& start,
                       std::ostream& err,
                       const std::function<void(frmRivulet&, const std::string&)>& onSheet);

/// One file of ForEachOpenedSheet, given its leading bytes as ReadBatchFile read them.
/// Returns the status of this file.
int OpenOnFreshSheet(const std::string& file, const std::optional<std::string>& bytes,
                     const CaseStart& start, StreamServices& services, std::ostream& err,
                     const std::function<void(frmRivulet&, const std::string&)>& onSheet);

/// The leading bytes of a file named on the command line, enough to tell a worksheet from
/// a calculation file and to load the latter; nullopt when it is no file or cannot be read.
std::optional<std::string> ReadBatchFile(const std::string& file);

/// Opens each file on a sheet of its own, started as the window starts, and hands each
/// opened file's report (no comments, file name printed) to onReport. Messages go to err.
int ForEachReport(const std::vector<std::string>& files, const StartupValues& startup,
                  std::ostream& err,
                  const std::function<void(const std::vector<std::string>&)>& onReport);

/// Reports written one after another on a stream, a form-feed line between two files.
class ReportStream {
 public:
  explicit ReportStream(std::ostream& out) : out_(out) {}
  void Write(const std::vector<std::string>& lines);

 private:
  std::ostream& out_;
  bool first_ = true;
  std::string text_;  // kept from report to report, so its room is reused
};

/// The design settings every file of a run is checked against, read once; a settings file
/// that cannot be read is said once on err, and the defaults serve.
DesignSettings LoadBatchDesign(const StartupValues& startup, std::ostream& err);

/// The reports as text on out, files separated by a form-feed line.
int RunReportBatch(const std::vector<std::string>& files, const StartupValues& startup,
                   std::ostream& out, std::ostream& err);

enum class BatchOutput {
  Reports,             ///< the results reports
  ReportsWithDetails,  ///< each report followed by its details block
  Json,                ///< one JSON object per file, one per line
};

/// The batch mode with its output chosen; exit statuses as RunReportBatch's.
int RunBatch(const std::vector<std::string>& files, const StartupValues& startup,
             BatchOutput output, std::ostream& out, std::ostream& err);

struct RatingBatchOptions {
  int rows = kDefaultRatingRows;
  /// The top of the depth range in the file's depth unit; its default range without one.
  std::optional<double> top;
};

/// Opens the calculation file as the window does and writes its depth rating as CSV on
/// out, in the file's units. Messages go to err. Exit status 0 when the table was written,
/// 1 when the file gives no rating, 2 when it cannot be read.
int RunRatingBatch(const std::string& file, const RatingBatchOptions& options,
                   const StartupValues& startup, std::ostream& out, std::ostream& err);

}  // namespace rivulet
