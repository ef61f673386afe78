// The read-only table of n ranges for grassed channels, opened by More...
#pragma once

#include <QDialog>

namespace rivulet {

class frmManningGrassView : public QDialog {
  Q_OBJECT
 public:
  explicit frmManningGrassView(QWidget* parent = nullptr);
};

}  // namespace rivulet
