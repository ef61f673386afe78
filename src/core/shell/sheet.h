// The controls of the calculation window: they are the data of one calculation. The
// window wires their handlers; the solver and the files read and write them by name.
#pragma once

#include "core/shell/controls.h"

namespace rivulet {

struct CalculationSheet {
  CalculationSheet() = default;
  CalculationSheet(const CalculationSheet&) = delete;
  CalculationSheet& operator=(const CalculationSheet&) = delete;

  Label lblSection{"lblSection"};
  ComboBox cboSection{"cboSection"};
  Button cmdSection{"cmdSection"};

  // "Solve For": one option group, a value box and a unit list per row.
  Label fraSolve{"fraSolve"};
  OptionGroup solveFor;
  OptionButton optVelDis1{"optVelDis1", solveFor};
  OptionButton optDepth{"optDepth", solveFor};
  OptionButton optDiam{"optDiam", solveFor};
  OptionButton optSide{"optSide", solveFor};
  OptionButton optSlope{"optSlope", solveFor};
  OptionButton optManning{"optManning", solveFor};
  CheckBox chkLocDiam{"chkLocDiam"};
  TextBox txtVelDis1{"txtVelDis1"};
  ComboBox cboVelDis1{"cboVelDis1"};
  TextBox txtDepth{"txtDepth"};
  ComboBox cboDepth{"cboDepth"};
  TextBox txtDiam{"txtDiam"};
  ComboBox cboDiam{"cboDiam"};
  TextBox txtSide{"txtSide"};
  ComboBox cboSide{"cboSide"};
  TextBox txtSlope{"txtSlope"};
  ComboBox cboSlope{"cboSlope"};
  TextBox txtManning{"txtManning"};
  Button cmdManning{"cmdManning"};

  // "Other Values": computed results and the alternate solution.
  Label fraOther{"fraOther"};
  Button cmdVelDis{"cmdVelDis"};
  Label lblVelDis2{"lblVelDis2"};
  TextBox txtVelDis2{"txtVelDis2"};
  ComboBox cboVelDis2{"cboVelDis2"};
  Label lblArea{"lblArea"};
  TextBox txtArea{"txtArea"};
  ComboBox cboArea{"cboArea"};
  Label lblDDS{"lblDDS"};
  TextBox txtDDS{"txtDDS"};
  ComboBox cboDDS{"cboDDS"};
  Label lblVelDis3{"lblVelDis3"};
  TextBox txtVelDis3{"txtVelDis3"};
  ComboBox cboVelDis3{"cboVelDis3"};
  Label lblArea2{"lblArea2"};
  TextBox txtArea2{"txtArea2"};
  ComboBox cboArea2{"cboArea2"};

  Button cmdCalculate{"cmdCalculate"};
  TextBox txtStatus{"txtStatus"};

  /// Whether row 1 holds the velocity (and row 2 the discharge) rather than the reverse;
  /// the swap button moves the captions, so the caption is the state.
  bool VelocityGiven() const { return optVelDis1.Caption() == "Velocity"; }
};

}  // namespace rivulet
