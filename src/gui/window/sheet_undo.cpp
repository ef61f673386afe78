#include "gui/window/sheet_undo.h"

#include <QAction>
#include <QUndoCommand>
#include <QUndoStack>
#include <utility>

namespace rivulet {
namespace {

class SheetCommand : public QUndoCommand {
 public:
  SheetCommand(SheetUndo& owner, SheetEdits before, SheetEdits after, bool typing)
      : owner_(owner), before_(std::move(before)), after_(std::move(after)), typing_(typing) {
    setText(typing ? "Typing" : "Edit");
  }
  // The edit has happened when the command is pushed; only a later Redo repeats it.
  void redo() override {
    if (pushed_) owner_.Apply(after_);
    pushed_ = true;
  }
  void undo() override { owner_.Apply(before_); }
  int id() const override { return typing_ ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    // Keys typed into one box are one step: the next edit changes that same line only.
    const auto* next = static_cast<const SheetCommand*>(other);
    if (!next->typing_ || next->before_ != after_ || TypedLine(before_, after_) < 0 ||
        TypedLine(before_, after_) != TypedLine(next->before_, next->after_))
      return false;
    after_ = next->after_;
    return true;
  }

  /// The one line the edit changed, or -1 when it changed more or other things.
  static int TypedLine(const SheetEdits& a, const SheetEdits& b) {
    if (a.values != b.values || a.lockedDiameter != b.lockedDiameter ||
        a.fixResults != b.fixResults || a.lines.size() != b.lines.size())
      return -1;
    int line = -1;
    for (size_t i = 0; i < a.lines.size(); ++i) {
      if (a.lines[i] == b.lines[i]) continue;
      if (line >= 0) return -1;
      line = static_cast<int>(i);
    }
    return line;
  }

 private:
  SheetUndo& owner_;
  SheetEdits before_, after_;
  bool typing_;
  bool pushed_ = false;
};

}  // namespace

SheetUndo::SheetUndo(frmRivulet& form, QObject* parent)
    : QObject(parent), form_(form), stack_(new QUndoStack(this)) {
  recorded_ = TakeSheetEdits(form_);
  editCount_ = form_.EditCount();
  undo_ = stack_->createUndoAction(this, "&Undo");
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  undo_->setObjectName("mnuUndo");
  redo_ = stack_->createRedoAction(this, "&Redo");
  redo_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo_->setObjectName("mnuRedo");
  // Back at the saved state by Undo or Redo, the sheet has nothing left to save.
  connect(stack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
    if (clean && !applying_) form_.SetModified(false);
  });
}

SheetUndo::~SheetUndo() {
  // The history empties as it goes: that is no return to the saved sheet.
  disconnect(stack_, nullptr, this, nullptr);
}

void SheetUndo::Record() {
  if (applying_) return;
  SheetEdits now = TakeSheetEdits(form_);
  const bool edited = form_.EditCount() != editCount_;
  editCount_ = form_.EditCount();
  if (!edited) {
    // Calculate's results or a Save: no step; a saved sheet is where the file stands.
    recorded_ = std::move(now);
    if (!form_.Modified()) stack_->setClean();
    return;
  }
  if (!form_.Modified()) {
    // New or Open brought another sheet.
    stack_->clear();
    recorded_ = std::move(now);
    return;
  }
  if (now == recorded_) return;
  const bool typing = SheetCommand::TypedLine(recorded_, now) >= 0;
  SheetEdits before = std::exchange(recorded_, now);
  stack_->push(new SheetCommand(*this, std::move(before), std::move(now), typing));
}

void SheetUndo::Apply(const SheetEdits& edits) {
  applying_ = true;
  RestoreSheetEdits(form_, edits);
  recorded_ = edits;
  editCount_ = form_.EditCount();
  applying_ = false;
  emit Applied();
}

}  // namespace rivulet
