// The start-up window: the maker, the product and the disclaimer, until the user says OK.
#pragma once

#include <QDialog>

#include "core/shell/startup.h"

class QPushButton;

namespace rivulet {

class frmStartView : public QDialog {
  Q_OBJECT
 public:
  explicit frmStartView(const StartupValues& startup, QWidget* parent = nullptr);
  QPushButton* OkButton() const { return ok_; }

 private:
  QPushButton* ok_;
};

}  // namespace rivulet
