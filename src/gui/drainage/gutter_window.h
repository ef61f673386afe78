// What the gutter worksheet adds to its window: the to-scale drawing of the road edge, and
// the inputs of other sections greyed so only the chosen gutter's are typed.
#pragma once

#include <vector>

#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// The report's drawing of a solved gutter: the road edge as the window draws it.
std::vector<ReportDrawing> GutterReportDrawings(const Document& document,
                                                const SheetOutcome& outcome);

/// Adds the drawing to a gutter worksheet window and keeps it and the inputs in step.
void SetUpGutterWindow(WorksheetWindow& window);

}  // namespace rivulet
