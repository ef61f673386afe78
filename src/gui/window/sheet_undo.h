// Undo and Redo of the calculation window: after each action the view calls Record(),
// which keeps what the user changed as one step, starts afresh after New and Open, and
// leaves out what Calculate wrote.
#pragma once

#include <QObject>

#include "core/files/sheet_edits.h"

class QAction;
class QUndoStack;

namespace rivulet {

class SheetUndo : public QObject {
  Q_OBJECT

 public:
  SheetUndo(frmRivulet& form, QObject* parent);
  ~SheetUndo() override;

  QUndoStack* Stack() const { return stack_; }
  QAction* UndoAction() const { return undo_; }
  QAction* RedoAction() const { return redo_; }

  /// Takes the sheet as it stands after an action: an edit becomes a step, a New or Open
  /// empties the history, a Save marks where the file stands.
  void Record();
  /// Puts edits on the sheet, as Undo and Redo do.
  void Apply(const SheetEdits& edits);

 signals:
  /// Undo or Redo changed the sheet; the window redraws.
  void Applied();

 private:
  frmRivulet& form_;
  QUndoStack* stack_;
  QAction* undo_;
  QAction* redo_;
  SheetEdits recorded_;
  long editCount_ = 0;
  bool applying_ = false;
};

}  // namespace rivulet
