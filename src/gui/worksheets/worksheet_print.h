// A worksheet's report on paper or in a PDF file, through the same printer path and font
// choice as the calculation report.
#pragma once

#include <QPrinter>
#include <QString>
#include <string>
#include <vector>

#include "gui/printing/report_drawing.h"

namespace rivulet {

/// Prints the report lines on printer in the report's start font, the drawings before its
/// status. False with why in *error when the printer failed.
bool PrintReportLines(QPrinter& printer, const std::vector<std::string>& lines, std::string* error,
                      std::vector<ReportDrawing> drawings = {});

/// Writes the report lines into a PDF at path through a temporary file beside it, so that
/// a failed write leaves an older file as it was.
bool WriteReportLinesPdf(const std::string& path, const std::vector<std::string>& lines,
                         std::string* error, std::vector<ReportDrawing> drawings = {});

}  // namespace rivulet
