#include "gui/shell/gui_main.h"

#include <QApplication>

#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "core/window/shell_commands.h"
#include "gui/shell/qt_services.h"
#include "gui/window/frm_rivulet_view.h"

namespace rivulet {

int GuiMain(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kProductName);
  QApplication::setApplicationVersion(QString::fromStdString(BuildVersionString()));

  QtServices services;
  frmRivulet form(services, StartupValues::Compute());
  AttachCalcFileCommands(form);
  AttachDefaultsCommands(form);
  AttachShellCommands(form);
  form.Form_Load();
  frmRivuletView view(form);
  // Message boxes and dialogs show the sheet as it stands ("Thinking...", the results).
  services.SetBeforeModal([&view] { view.Sync(); });
  view.CentreOnScreen();
  view.show();

  // Qt has taken its own options out of the arguments; the first other one names a file.
  const QStringList args = QApplication::arguments();
  if (args.size() > 1) {
    OpenNamedFile(form, args[1].toStdString());
    view.Sync();
  }
  return QApplication::exec();
}

}  // namespace rivulet
