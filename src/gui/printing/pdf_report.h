// The batch mode's PDF output: the reports of several calculation files printed through
// the same path as the print window, into one PDF file, without a window.
#pragma once

#include <QString>
#include <ostream>
#include <string>
#include <vector>

#include "core/shell/startup.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// Opens each file as the batch mode does and prints its report (no comments, file name
/// printed) into one PDF: the print window's start font at its start size, each report
/// on new pages, with the drawings its window shows unless withDrawings is false;
/// withDetails adds each calculation's flow details and design checks. Needs a
/// QGuiApplication. Returns the batch mode's exit status; a PDF that cannot be written counts as a
/// file that cannot be opened, and keeps the previous file at that name.
int WriteReportsPdf(const std::vector<std::string>& files, const StartupValues& startup,
                    const QString& pdfPath, std::ostream& err,
                    const KindTable& kinds = BuiltInKinds(), bool withDetails = false,
                    bool withDrawings = true);

/// True when the file is a PDF written to its end (its end-of-file marker is there).
bool IsCompletePdf(const std::string& path);

/// The whole --pdf run: the Qt application it needs (on the offscreen platform when there
/// is no display), then WriteReportsPdf for the running program.
int RunPdfBatch(int argc, char** argv, const std::vector<std::string>& files,
                const std::string& pdfPath, bool withDetails = false);

}  // namespace rivulet
