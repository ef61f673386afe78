// The batch mode over calculation files and worksheets together: each file told apart by
// its content, calculation files run on the sheet as before, worksheets solved by kind.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/batch/batch.h"
#include "core/design/design_settings.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// A worksheet file read and solved.
struct SolvedWorksheet {
  std::string file;  ///< as named on the command line
  Document document;
  const WorksheetKind* kind = nullptr;
  SheetOutcome outcome;
};

/// The path a worksheet's report prints: absolute, as calculation reports print theirs.
std::string PrintedPath(const std::string& file);

/// Reads and solves one worksheet file. Messages go to err as "TITLE: TEXT"; status is
/// raised to kBatchBadFile when the file cannot be read or its kind is unknown (nullopt
/// then), to kBatchSomeUnsolved when it did not solve.
std::optional<SolvedWorksheet> SolveWorksheetFile(const std::string& file, const KindTable& kinds,
                                                  std::ostream& err, int& status);

/// Goes through the files in order: calculation files go to onSheet as ForEachOpenedSheet
/// gives them, worksheets to onWorksheet. Returns the batch status.
int ForEachBatchFile(const std::vector<std::string>& files, const StartupValues& startup,
                     const KindTable& kinds, std::ostream& err,
                     const std::function<void(frmRivulet&, const std::string&)>& onSheet,
                     const std::function<void(const SolvedWorksheet&)>& onWorksheet);

/// Each file's report lines in order (calculation reports with the file name printed, as
/// ForEachReport gives them; worksheet reports with their path). With design settings a
/// calculation's report is followed by its flow details and design checks.
int ForEachBatchReport(const std::vector<std::string>& files, const StartupValues& startup,
                       const KindTable& kinds, std::ostream& err,
                       const std::function<void(const std::vector<std::string>&)>& onReport,
                       const DesignSettings* details = nullptr);

/// --report with its output chosen, over calculation files and worksheets: reports
/// separated by form-feed lines, or one JSON object per file and line.
int RunMixedBatch(const std::vector<std::string>& files, const StartupValues& startup,
                  BatchOutput output, const KindTable& kinds, std::ostream& out, std::ostream& err);

}  // namespace rivulet
