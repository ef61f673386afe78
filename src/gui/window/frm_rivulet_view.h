// The calculation window on screen: one widget per control of frmRivulet, laid out as the
// sheet's groups and rows. It forwards the user's actions and redraws from the core.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>

#include "core/window/frm_rivulet.h"
#include "gui/shell/control_binder.h"

class QGroupBox;
class QMenu;

namespace rivulet {

class FlowDetailsPanel;

class frmRivuletView : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the widgets for a loaded window and draws it.
  explicit frmRivuletView(frmRivulet& form, QWidget* parent = nullptr);
  ~frmRivuletView() override;

  /// Redraws every widget, the title and the menus from the core.
  void Sync();
  /// Puts the window in the middle of the primary screen.
  void CentreOnScreen();

  frmRivulet& Form() { return form_; }
  const ControlBinder& Binder() const { return binder_; }
  /// The flow details panel below the sheet, shown while View > Flow Details is checked.
  FlowDetailsPanel* Details() const { return details_; }

 signals:
  /// A user's action here changed the core; other windows showing it should redraw.
  void Changed();

 private:
  QWidget* BuildSheet();
  QGroupBox* BuildSolveFor();
  QGroupBox* BuildOtherValues();
  void BuildMenus();
  void AddMenuItems(QMenu* menu, const std::vector<MenuNode>& nodes);
  void SetTabOrder();
  void KeepColumnWidths();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SyncDetails();

  frmRivulet& form_;
  ControlBinder binder_;
  FlowDetailsPanel* details_ = nullptr;
  QMetaObject::Connection focusTracking_;
  /// The menu's shortcut keys, which win over a text box's own editing keys.
  QList<QKeySequence> menuKeys_;
};

}  // namespace rivulet
