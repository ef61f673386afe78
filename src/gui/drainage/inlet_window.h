// What the inlet worksheet adds to its window: the choice of the sag's unknown, a plan of the
// inlet in its gutter with the flows, the road-edge section at the inlet, and the inputs of
// other inlets greyed so only the chosen inlet's are typed.
#pragma once

#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// Adds the unknown's buttons and the drawings to an inlet worksheet window and keeps them
/// and the inputs in step with it.
void SetUpInletWindow(WorksheetWindow& window);

}  // namespace rivulet
