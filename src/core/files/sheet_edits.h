// What the user edits on the calculation sheet, taken whole so that Undo and Redo can put
// it back: the lines a calculation file holds, the depth lock, the values shown beside
// them and the Fix Results check.
#pragma once

#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

struct SheetEdits {
  std::vector<std::string> lines;   ///< as the file holds them
  std::vector<std::string> values;  ///< the Other Values boxes
  int lockedDiameter = 0;
  bool fixResults = false;
  bool operator==(const SheetEdits&) const = default;
};

SheetEdits TakeSheetEdits(frmRivulet& form);
/// Puts the edits back through the sheet's own handlers, as Open does, without calculating:
/// the sheet is then modified and its results, if any, out of date.
void RestoreSheetEdits(frmRivulet& form, const SheetEdits& edits);

}  // namespace rivulet
