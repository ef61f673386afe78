// The print window on screen: one widget per control of frmPrint, the sample text in the
// chosen font, hidden (not destroyed) by Cancel and Print, discarded by its close control.
#pragma once

#include <QDialog>

#include "core/printing/frm_print.h"

class QLabel;

namespace rivulet {

class ControlBinder;

class frmPrintView : public QDialog {
  Q_OBJECT

 public:
  frmPrintView(frmPrint& core, QWidget* parent);

  frmPrint& Core() const { return core_; }
  /// Redraws every widget, the sample font and the window's visibility from the core.
  void Sync();
  /// Stops forwarding anything to the core, which is about to go.
  void Detach();

 signals:
  /// The user closed the window with its close control.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  /// Escape works as Cancel.
  void reject() override;

 private:
  void SyncWindow();

  frmPrint& core_;
  ControlBinder* binder_;
  QLabel* sample_;
};

}  // namespace rivulet
