// The flow details panel below the calculation sheet: the solved section drawn to scale
// beside a table of its hydraulic state, primary and alternate, redrawn from the core.
#pragma once

#include <QGroupBox>

#include "core/window/frm_rivulet.h"

class QLabel;
class QTableWidget;

namespace rivulet {

class SectionSketchView;

class FlowDetailsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit FlowDetailsPanel(QWidget* parent = nullptr);

  /// Redraws the panel from the sheet's last completed calculation.
  void Sync(const frmRivulet& form);

  SectionSketchView* Sketch() const { return sketch_; }
  QTableWidget* Table() const { return table_; }

 private:
  QLabel* state_;
  SectionSketchView* sketch_;
  QTableWidget* table_;
  QLabel* notes_;
};

}  // namespace rivulet
