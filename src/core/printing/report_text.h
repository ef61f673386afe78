// The results report as one text, for output that keeps no list of lines (the batch).
#pragma once

#include <string>

#include "core/printing/report.h"

namespace rivulet {

/// ReportLines' lines added to text, each ended by a line feed.
void AppendReportText(frmRivulet& form, const ReportExtras& extras, std::string& text);

}  // namespace rivulet
