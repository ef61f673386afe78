// What the pressure-pipe worksheet adds to its window: the profile with its grade lines and
// the head-loss curve, Save Curve as CSV, and a material's values filled in when it is chosen.
#pragma once

#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// Adds the drawing and the curve's CSV command to a pressure-pipe window and keeps them,
/// and the material's values, in step with it.
void SetUpPressurePipeWindow(WorksheetWindow& window);

/// Writes the current results' head-loss curve to a CSV file the user chooses; false when
/// there is no current curve, the dialog was cancelled or the file could not be written.
bool SaveHeadLossCurve(WorksheetWindow& window);

}  // namespace rivulet
