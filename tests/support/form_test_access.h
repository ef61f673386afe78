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
  /// Solves a 2 m wide rectangle 0.5 m deep at 1/1000 with n 0.013 for its velocity, in the
  /// units a loaded window starts with.
  static void CalculateRectangle(frmRivulet& form) {
    form.cboSection.SetListIndex(1);
    form.optVelDis1.SetValue(true);
    form.txtDepth.SetText("0.5");
    form.txtDiam.SetText("2");
    form.txtSlope.SetText("1");
    form.txtManning.SetText("0.013");
    form.cmdCalculate_Click();
  }
};

}  // namespace rivulet
