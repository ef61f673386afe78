// Puts the calculation window into a results state without solving, for tests of what
// follows a calculation (edit tracking, defaults, paste) that must keep their own texts.
#pragma once

#include "core/window/frm_rivulet.h"

namespace rivulet {

struct FormTestAccess {
  /// The status and standing a calculation that completed leaves, the boxes untouched.
  static void MarkComplete(frmRivulet& form) {
    form.SetStatus(kStatusComplete, kStatusGreen, ResultsState::Current);
  }
};

}  // namespace rivulet
