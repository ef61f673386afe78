// The n-value table window: thirteen option rows drawn from the headless table, whose
// OK writes the chosen value into the calculation sheet.
#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "core/reference/n_values.h"

class QLabel;
class QRadioButton;

namespace rivulet {

class frmNValuesView : public QDialog {
  Q_OBJECT
 public:
  /// afterWrite runs once OK has written the n field, so the main window can redraw it;
  /// showGrassTable is what More... does.
  frmNValuesView(TextBox& txtManning, std::function<void()> afterWrite,
                 std::function<void()> showGrassTable, QWidget* parent = nullptr);

  frmNValues& Model() { return model_; }

 public slots:
  /// Escape and the title bar do what Cancel does.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SyncFromModel();

  frmNValues model_;
  std::function<void()> afterWrite_;
  QList<QRadioButton*> options_;
  QList<QLabel*> materials_;
};

}  // namespace rivulet
