// The calculation window's copy and CSV commands: Edit > Copy Results, and Copy and Save
// CSV under the flow details table.
#pragma once

class QMainWindow;

namespace rivulet {

class FlowDetailsPanel;
class frmRivulet;

/// Adds Copy Results to the window's Edit menu and the two buttons to the panel.
void AttachResultsExport(frmRivulet& form, QMainWindow& window, FlowDetailsPanel& panel);

}  // namespace rivulet
