// Undo and Redo keys in a value box mean the window's Undo and Redo, not the box's own
// one-line undo, in every window that marks itself as keeping a document history.
#pragma once

class QWidget;

namespace rivulet {

/// Marks window as one whose Edit menu takes Ctrl+Z and Ctrl+Shift+Z even while a value
/// box has the focus (a cell being edited in a table keeps its own).
void RouteUndoKeysToWindow(QWidget& window);

}  // namespace rivulet
