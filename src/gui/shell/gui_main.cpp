#include "gui/shell/gui_main.h"

#include <QApplication>

#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "gui/shell/qt_services.h"
#include "gui/window/frm_rivulet_view.h"

namespace rivulet {

int GuiMain(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kProductName);
  QApplication::setApplicationVersion(QString::fromStdString(BuildVersionString()));

  QtServices services;
  frmRivulet form(services, StartupValues::Compute());
  form.Form_Load();
  frmRivuletView view(form);
  // Message boxes and dialogs show the sheet as it stands ("Thinking...", the results).
  services.SetBeforeModal([&view] { view.Sync(); });
  view.CentreOnScreen();
  view.show();
  return QApplication::exec();
}

}  // namespace rivulet
