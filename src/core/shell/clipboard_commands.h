// Cut, Copy and Paste on the focused control, through the model: a paste is a change of
// the box's text and runs its input filter and edit tracking like typing.
#pragma once

#include "core/shell/controls.h"
#include "core/shell/services.h"

namespace rivulet {

/// Puts the focused text box's selected text on the clipboard; anything else: nothing.
void CopyCommand(Services& services, Control* active);
/// Copy, then delete the selection of an editable text box.
void CutCommand(Services& services, Control* active);
/// Replaces the selection of an editable text box by the clipboard's text (nothing when
/// the clipboard holds no text).
void PasteCommand(Services& services, Control* active);

/// Opens the help page; says so when the launch fails.
void HelpContentsCommand(Services& services, const std::string& helpPagePath);

}  // namespace rivulet
