// What the inlet worksheet adds to its window: the choice of the sag's unknown, a plan of the
// inlet in its gutter with the flows, the road-edge section at the inlet, and the inputs of
// other inlets greyed so only the chosen inlet's are typed.
#pragma once

#include <vector>

#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// The report's drawings of a solved inlet: its plan in the gutter and the road-edge section
/// at the inlet, as the window draws them.
std::vector<ReportDrawing> InletReportDrawings(const Document& document,
                                               const SheetOutcome& outcome);

/// Adds the unknown's buttons and the drawings to an inlet worksheet window and keeps them
/// and the inputs in step with it.
void SetUpInletWindow(WorksheetWindow& window);

}  // namespace rivulet
