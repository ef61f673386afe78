// What must hold of the calculation window whatever is done to it: shared by the
// invariant tests and the fuzz targets, so it uses no test framework.
#pragma once

#include <cctype>
#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet::invariants {

/// Every text box of the sheet, inputs first.
inline std::vector<TextBox*> TextBoxes(CalculationSheet& s) {
  return {&s.txtVelDis1, &s.txtDepth, &s.txtDiam, &s.txtSide,    &s.txtSlope, &s.txtManning,
          &s.txtVelDis2, &s.txtArea,  &s.txtDDS,  &s.txtVelDis3, &s.txtArea2, &s.txtStatus};
}

/// The six boxes of the "Solve For" group.
inline std::vector<TextBox*> InputBoxes(CalculationSheet& s) {
  return {&s.txtVelDis1, &s.txtDepth, &s.txtDiam, &s.txtSide, &s.txtSlope, &s.txtManning};
}

/// Every list of the sheet, the section list first.
inline std::vector<ComboBox*> Lists(CalculationSheet& s) {
  return {&s.cboSection, &s.cboVelDis1, &s.cboDepth, &s.cboDiam,    &s.cboSide, &s.cboSlope,
          &s.cboVelDis2, &s.cboArea,    &s.cboDDS,   &s.cboVelDis3, &s.cboArea2};
}

inline std::vector<OptionButton*> Options(CalculationSheet& s) {
  return {&s.optVelDis1, &s.optDepth, &s.optDiam, &s.optSide, &s.optSlope, &s.optManning};
}

/// The texts the status line may hold.
inline bool IsKnownStatus(const std::string& text) {
  for (const char* known :
       {kStatusWelcome, kStatusThinking, kStatusComplete, kStatusNoSolution, kStatusModified})
    if (text == known) return true;
  return false;
}

/// The name of the first box whose text spells an infinity or a NaN, or "".
inline std::string BoxWithNonFinite(CalculationSheet& s) {
  for (TextBox* t : TextBoxes(s)) {
    std::string lower;
    for (char c : t->Text()) lower.push_back(static_cast<char>(std::tolower(c)));
    if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
      return t->Name();
  }
  return {};
}

inline std::string Describe(Colour c) {
  return std::to_string(static_cast<int>(c.role)) + ":" + std::to_string(c.r) + "," +
         std::to_string(c.g) + "," + std::to_string(c.b);
}

/// Everything the user can see of the sheet, one line per control, for comparing the
/// window before and after a command that must change nothing.
inline std::vector<std::string> Snapshot(frmRivulet& f) {
  std::vector<std::string> lines{"title " + f.Title(),
                                 "fix " + std::to_string(f.mnuOptionsFix.Checked())};
  auto common = [](const Control& c) {
    return c.Name() + " e" + std::to_string(c.Enabled()) + " v" + std::to_string(c.Visible()) +
           " tip[" + c.ToolTip() + "]";
  };
  for (TextBox* t : TextBoxes(f))
    lines.push_back(common(*t) + " [" + t->Text() + "] " + Describe(t->BackColour()) + " " +
                    Describe(t->ForeColour()) + " sel" + std::to_string(t->SelStart()) + "+" +
                    std::to_string(t->SelLength()));
  for (ComboBox* c : Lists(f)) {
    std::string items;
    for (const std::string& i : c->Items()) items += i + "|";
    lines.push_back(common(*c) + " at" + std::to_string(c->ListIndex()) + " " + items);
  }
  for (OptionButton* o : Options(f))
    lines.push_back(common(*o) + " [" + o->Caption() + "] " + std::to_string(o->Value()));
  for (Label* l : std::initializer_list<Label*>{&f.lblVelDis2, &f.lblArea, &f.lblDDS, &f.lblVelDis3,
                                                &f.lblArea2, &f.chkLocDiam})
    lines.push_back(common(*l) + " [" + l->Caption() + "]");
  lines.push_back("chkLocDiam " + std::to_string(f.chkLocDiam.Value()));
  return lines;
}

}  // namespace rivulet::invariants
