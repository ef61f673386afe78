// The worksheet window's Undo and Redo. Every edit ends in Sync(), which compares what the
// user edits with what it last recorded and pushes the difference as one step, so an input
// widget gets Undo by changing the model and calling Sync(), nothing more.
#include <QAction>
#include <QMenu>
#include <QUndoCommand>
#include <QUndoStack>
#include <utility>

#include "gui/shell/qt_text.h"
#include "gui/shell/undo_keys.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {
namespace {

class EditCommand : public QUndoCommand {
 public:
  EditCommand(WorksheetWindow& window, WorksheetEdits before, WorksheetEdits after,
              const EditStep& step)
      : window_(window),
        before_(std::move(before)),
        after_(std::move(after)),
        mergeKey_(step.mergeKey) {
    setText(ToQt(step.text));
  }

  // The edit has happened when the command is pushed; only a later Redo repeats it.
  void redo() override {
    if (pushed_) window_.ApplyEdits(after_);
    pushed_ = true;
  }
  void undo() override { window_.ApplyEdits(before_); }
  int id() const override { return mergeKey_.empty() ? -1 : 1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const EditCommand*>(other);
    // Keys typed into one box are one step, unless a calculation came between them.
    if (next->mergeKey_ != mergeKey_ || next->before_ != after_) return false;
    after_ = next->after_;
    return true;
  }

 private:
  WorksheetWindow& window_;
  WorksheetEdits before_, after_;
  std::string mergeKey_;
  bool pushed_ = false;
};

}  // namespace

WorksheetWindow::~WorksheetWindow() {
  // The history empties as it goes, after the model it would redraw from.
  if (undo_) disconnect(undo_, nullptr, this, nullptr);
}

void WorksheetWindow::BuildUndo(QMenu* edit) {
  undo_ = new QUndoStack(this);
  recorded_ = model_.Edits();
  QAction* undo = undo_->createUndoAction(this, "&Undo");
  undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  undo->setObjectName("mnuUndo");
  QAction* redo = undo_->createRedoAction(this, "&Redo");
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo->setObjectName("mnuRedo");
  QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
  edit->insertActions(first, {undo, redo});
  edit->insertSeparator(first);
  // Back at the saved state by Undo or Redo, the worksheet has nothing left to save.
  connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) {
    if (clean && model_.HasUnsavedChanges()) {
      model_.MarkSaved(model_.FilePath());
      Sync();
    }
  });
  RouteUndoKeysToWindow(*this);
}

void WorksheetWindow::RecordEdit() {
  if (!undo_ || applying_) return;
  WorksheetEdits now = model_.Edits();
  if (now == recorded_) return;
  const EditStep step = DescribeEdit(model_.Kind(), recorded_, now);
  WorksheetEdits before = std::exchange(recorded_, now);
  undo_->push(new EditCommand(*this, std::move(before), std::move(now), step));
}

void WorksheetWindow::ApplyEdits(const WorksheetEdits& edits) {
  applying_ = true;
  model_.RestoreEdits(edits);
  recorded_ = edits;
  Sync();
  applying_ = false;
}

void WorksheetWindow::ForgetEdits() {
  recorded_ = model_.Edits();
  if (undo_) undo_->clear();
}

void WorksheetWindow::MarkUndoClean() {
  recorded_ = model_.Edits();
  if (undo_) undo_->setClean();
}

}  // namespace rivulet
