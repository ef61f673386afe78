// The calculation window on screen: one widget per control of frmRivulet, laid out as the
// sheet's groups and rows. It forwards the user's actions and redraws from the core.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "core/files/recent_files.h"
#include "core/window/frm_rivulet.h"
#include "gui/shell/control_binder.h"

class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QMimeData;
class QScrollArea;

namespace rivulet {

class FlowDetailsPanel;
class SheetUndo;

class frmRivuletView : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the widgets for a loaded window and draws it.
  explicit frmRivuletView(frmRivulet& form, QWidget* parent = nullptr);
  ~frmRivuletView() override;

  /// Redraws every widget, the title and the menus from the core; unless told not to (a
  /// message box in the middle of a command), it first records an edit for Undo.
  void Sync(bool recordEdit = true);
  /// Puts the window in the middle of the primary screen.
  void CentreOnScreen();

  frmRivulet& Form() { return form_; }
  const ControlBinder& Binder() const { return binder_; }
  SheetUndo* Undo() const { return undo_; }
  /// The flow details panel below the sheet, shown while View > Flow Details is checked.
  FlowDetailsPanel* Details() const { return details_; }

  /// The File menu's recent files, kept beside the view settings.
  RecentFiles& Recent() { return *recent_; }
  /// Opens a file of the recent list or one dropped on the window as File > Open opens the
  /// one chosen in its dialog; a worksheet goes to the worksheet opener.
  void OpenFile(const std::string& path, bool fromRecentList);
  /// Who opens worksheet files in their own windows (true when one opened); until one is
  /// set, worksheets are not taken from a drop.
  void SetWorksheetOpener(std::function<bool(const std::string& path)> opener);
  /// Asked before the window closes (Exit, the title bar's close); false keeps it open.
  std::function<bool()> confirmClose;

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
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  /// The one local file a drag carries that this window can open, or "".
  std::string OpenableFile(const QMimeData* data) const;
  void AddRecentFilesMenu();
  void AddUndoCommands();
  void ShowStaleResults();
  void closeEvent(QCloseEvent* event) override;
  void SyncDetails();
  /// Sizes the details' scroll area so that the window fits the free part of the screen.
  void FitDetails();

  frmRivulet& form_;
  ControlBinder binder_;
  FlowDetailsPanel* details_ = nullptr;
  /// The sheet above the details, whose height the details must leave room for.
  QWidget* sheet_ = nullptr;
  QScrollArea* detailsArea_ = nullptr;
  /// A surcharged pipe's capacity in words, under the status line; hidden otherwise.
  QLabel* surcharge_ = nullptr;
  QMetaObject::Connection focusTracking_;
  /// The menu's shortcut keys, which win over a text box's own editing keys.
  QList<QKeySequence> menuKeys_;
  std::unique_ptr<RecentFiles> recent_;
  std::function<bool(const std::string&)> worksheetOpener_;
  SheetUndo* undo_ = nullptr;
};

}  // namespace rivulet
