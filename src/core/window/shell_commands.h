// Connects the Edit and Help menus of the calculation window.
#pragma once

#include "core/window/frm_rivulet.h"

namespace rivulet {

/// Cut, Copy, Paste on the focused control; Help Contents; the three web links.
void AttachShellCommands(frmRivulet& form);

}  // namespace rivulet
