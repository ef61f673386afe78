// Connects the design checks to the calculation window: the settings read at start-up,
// Options > Design Settings..., the checks in the Flow Details panel and "Use this size".
#pragma once

#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

class frmRivuletView;

/// Reads the design settings (a file that cannot be read is said once) and wires the menu
/// item and the panel of view; the settings live as long as the view.
void AttachDesignChecks(frmRivulet& form, Services& services, frmRivuletView* view);

}  // namespace rivulet
