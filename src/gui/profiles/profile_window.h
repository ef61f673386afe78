// What the profile worksheet adds to its window: the long section drawn to scale.
#pragma once

#include <vector>

#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// Adds the long section to a profile worksheet window and keeps it in step.
void SetUpProfileWindow(WorksheetWindow& window);

/// The long section of a solved profile, for its printed report.
std::vector<ReportDrawing> ProfileReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome);

}  // namespace rivulet
