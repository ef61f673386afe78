#include "core/files/sheet_edits.h"

#include "core/files/calc_file.h"

namespace rivulet {
namespace {

std::vector<TextBox*> ValueBoxes(frmRivulet& f) {
  return {&f.txtVelDis2, &f.txtArea, &f.txtDDS, &f.txtVelDis3, &f.txtArea2};
}

}  // namespace

SheetEdits TakeSheetEdits(frmRivulet& form) {
  SheetEdits e;
  e.lines = CalcFileLines(form);
  for (TextBox* t : ValueBoxes(form)) e.values.push_back(t->Text());
  e.lockedDiameter = form.chkLocDiam.Value();
  e.fixResults = form.mnuOptionsFix.Checked();
  return e;
}

void RestoreSheetEdits(frmRivulet& form, const SheetEdits& edits) {
  // The lock first, so that a depth the lines give is not overwritten by the diameter's
  // mirror; again after the section the lines choose has shown or hidden it.
  if (form.chkLocDiam.Visible()) form.chkLocDiam.SetValue(edits.lockedDiameter);
  ApplyCalcFileLines(form, edits.lines);
  if (form.chkLocDiam.Visible()) form.chkLocDiam.SetValue(edits.lockedDiameter);
  const std::vector<TextBox*> boxes = ValueBoxes(form);
  for (size_t i = 0; i < boxes.size() && i < edits.values.size(); ++i)
    boxes[i]->SetText(edits.values[i]);
  form.mnuOptionsFix.SetChecked(edits.fixResults);
  form.HighlightUnknown();
  form.SetModified(true);
  form.Changes();
}

}  // namespace rivulet
