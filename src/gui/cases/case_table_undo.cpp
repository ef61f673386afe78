// The case table's Undo and Redo: every edit of the table ends in DocumentChanged(), which
// keeps the table as it was before as one step; a recalculation's results are no step.
#include <QAction>
#include <QMenu>
#include <QUndoCommand>
#include <QUndoStack>
#include <utility>

#include "gui/cases/case_table_model.h"
#include "gui/cases/case_table_window.h"
#include "gui/shell/undo_keys.h"

namespace rivulet {
namespace {

bool SameTable(const CaseDocument& a, const CaseDocument& b) {
  if (a.Header() != b.Header() || a.RowCount() != b.RowCount()) return false;
  for (size_t r = 0; r < a.RowCount(); ++r)
    if (a.Row(r).cells != b.Row(r).cells || a.Row(r).mark != b.Row(r).mark) return false;
  return true;
}

class TableCommand : public QUndoCommand {
 public:
  TableCommand(CaseTableWindow& window, CaseDocument before, CaseDocument after)
      : window_(window), before_(std::move(before)), after_(std::move(after)) {
    setText("Table Edit");
  }
  void redo() override {
    if (pushed_) window_.ApplyTable(after_);
    pushed_ = true;
  }
  void undo() override { window_.ApplyTable(before_); }

 private:
  CaseTableWindow& window_;
  CaseDocument before_, after_;
  bool pushed_ = false;
};

}  // namespace

void CaseTableWindow::ForgetUndoOnClose() {
  // The history empties as it goes, after the table it would mark.
  if (undo_) disconnect(undo_, nullptr, this, nullptr);
}

void CaseTableWindow::BuildUndo(QMenu* edit) {
  undo_ = new QUndoStack(this);
  // Each step holds a copy of the table: enough of them for an afternoon's edits.
  undo_->setUndoLimit(100);
  recorded_ = doc_;
  QAction* undo = undo_->createUndoAction(this, "&Undo");
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  undo->setObjectName("mnuUndo");
  QAction* redo = undo_->createRedoAction(this, "&Redo");
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo->setObjectName("mnuRedo");
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) {
    if (!clean || !doc_.Modified()) return;
    doc_.SetModified(false);
    UpdateTitle();
  });
  RouteUndoKeysToWindow(*this);
}

void CaseTableWindow::RecordEdit() {
  if (!undo_ || applying_ || SameTable(doc_, recorded_)) return;
  CaseDocument before = std::exchange(recorded_, doc_);
  undo_->push(new TableCommand(*this, std::move(before), doc_));
}

void CaseTableWindow::ApplyTable(const CaseDocument& table) {
  CancelRecalculation();  // its rows are about to change under it
  applying_ = true;
  model_->Restructure([&] { doc_ = table; });
  doc_.SetModified(true);
  recorded_ = doc_;
  DocumentChanged();
  applying_ = false;
}

void CaseTableWindow::ForgetEdits() {
  recorded_ = doc_;
  if (undo_) undo_->clear();
}

void CaseTableWindow::MarkUndoClean() {
  recorded_ = doc_;
  if (undo_) undo_->setClean();
}

}  // namespace rivulet
