// What the profile worksheet adds to its window: the long section drawn to scale.
#pragma once

#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// Adds the long section to a profile worksheet window and keeps it in step.
void SetUpProfileWindow(WorksheetWindow& window);

}  // namespace rivulet
