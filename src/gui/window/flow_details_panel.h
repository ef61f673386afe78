// The flow details panel below the calculation sheet: the solved section drawn to scale
// beside a table of its hydraulic state, primary and alternate, redrawn from the core.
#pragma once

#include <QGroupBox>
#include <functional>

#include "core/design/design_settings.h"
#include "core/window/frm_rivulet.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace rivulet {

class DesignChecksView;
class SectionSketchView;

class FlowDetailsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit FlowDetailsPanel(QWidget* parent = nullptr);

  /// Redraws the panel from the sheet's last completed calculation.
  void Sync(const frmRivulet& form);

  /// The settings the design checks are made under; none hides the checks.
  void SetDesignSettings(const DesignSettings* settings) { design_ = settings; }
  const DesignSettings* DesignSettingsInUse() const { return design_; }

  /// Puts Copy and Save CSV buttons under the table, running copy and saveCsv.
  void AddCommands(std::function<void()> copy, std::function<void()> saveCsv);

  SectionSketchView* Sketch() const { return sketch_; }
  DesignChecksView* Design() const { return designView_; }
  QTableWidget* Table() const { return table_; }

 private:
  QLabel* state_;
  SectionSketchView* sketch_;
  QTableWidget* table_;
  QLabel* notes_;
  QPushButton* copy_ = nullptr;
  QPushButton* saveCsv_ = nullptr;
  DesignChecksView* designView_;
  const DesignSettings* design_ = nullptr;
};

}  // namespace rivulet
