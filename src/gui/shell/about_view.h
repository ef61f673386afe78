// The about window: product, maker, version and the program file's date, with links.
#pragma once

#include <QDialog>

#include "core/shell/services.h"
#include "core/shell/startup.h"

class QLabel;

namespace rivulet {

class frmAboutView : public QDialog {
  Q_OBJECT
 public:
  frmAboutView(const StartupValues& startup, Services& services, QWidget* parent = nullptr);

  /// The release date as shown: the program file's date, or empty when it cannot be read.
  static QString ReleaseDateText(const StartupValues& startup);

 private:
  QLabel* Link(const QString& text, const char* name, const char* target);
  Services& services_;
};

}  // namespace rivulet
