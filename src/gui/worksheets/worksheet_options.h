// The Options menu of every worksheet window: converting all inputs to SI or US units, and
// the program's display precision, which the window's results follow.
#pragma once

#include "core/hydraulics/units.h"

namespace rivulet {

class WorksheetWindow;

/// Adds the Options menu before Help and keeps the window's results at the display
/// precision as it changes.
void AddWorksheetOptions(WorksheetWindow& window);

/// Converts the window's inputs to the system, and calculates again when the results were
/// current, so that they stay in view.
void ConvertWorksheetInputs(WorksheetWindow& window, UnitSystem system);

}  // namespace rivulet
