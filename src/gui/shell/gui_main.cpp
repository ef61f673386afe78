#include "gui/shell/gui_main.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <memory>

#include "core/batch/details_output.h"
#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/files/view_settings.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "core/window/shell_commands.h"
#include "gui/cases/case_table_window.h"
#include "gui/design/design_attach.h"
#include "gui/files/program_documents.h"
#include "gui/printing/print_window.h"
#include "gui/reference/reference_windows.h"
#include "gui/shell/about_view.h"
#include "gui/shell/display_precision.h"
#include "gui/shell/qt_services.h"
#include "gui/shell/splash_view.h"
#include "gui/shell/window_placement.h"
#include "gui/window/flow_details_panel.h"
#include "gui/window/frm_rivulet_view.h"
#include "gui/window/rating_window.h"
#include "gui/window/results_export.h"
#include "gui/window/section_sketch_view.h"
#include "gui/worksheets/worksheet_windows.h"

// The resources live in a static library, so they are registered by hand; the macro must
// be used outside any namespace.
static void InitResources() { Q_INIT_RESOURCE(rivulet); }

namespace rivulet {
namespace {

// Everything that lives from the splash's OK to the end of the run. The sheet outlives its
// window: reference windows left open after Exit may still write to it.
struct Application {
  explicit Application(const StartupValues& startup) : form(services, startup) {}
  QtServices services;
  frmRivulet form;
  QPointer<frmRivuletView> view;
  QPointer<frmAboutView> about;
  std::unique_ptr<RecentFiles> recent;
};

void ShowMainWindow(Application& app, const QString& fileToOpen) {
  frmRivulet& form = app.form;
  AttachCalcFileCommands(form);
  AttachDefaultsCommands(form);
  AttachShellCommands(form);
  form.Form_Load();
  AttachViewSettings(form);
  auto* view = new frmRivuletView(form);
  view->setAttribute(Qt::WA_DeleteOnClose);
  app.view = view;
  // Message boxes and dialogs show the sheet as it stands ("Thinking...", the results).
  app.services.SetBeforeModal([&app] {
    if (app.view) app.view->Sync(false);  // mid-command: no Undo step yet
  });
  // Reference windows have no parent: they stay open after Exit until the user closes them.
  AttachReferenceWindows(form, nullptr, [&app] {
    if (app.view) app.view->Sync();
  });
  // One printer for every window that prints, so Print Setup's choices hold for all.
  PrintWindow* printing = AttachPrinting(form, app.services.Printer(), view);
  AttachRatingWindow(form, app.services, app.services.Printer(), view);
  AttachDesignChecks(form, app.services, view);
  // Printing puts on paper the flow details and design checks the panel shows.
  printing->SetDetailsBlock([&form, guarded = QPointer<frmRivuletView>(view)] {
    return DetailsReportLines(form, guarded ? guarded->Details()->DesignSettingsInUse() : nullptr,
                              DisplayPrecision::Instance().Digits());
  });
  printing->SetDrawings([&form] { return CalculationDrawings(form); });
  // The status line says where the report went until the next change redraws it.
  printing->SetPrintedToFile([&form,
                              guarded = QPointer<frmRivuletView>(view)](const std::string& path) {
    if (auto* status = guarded ? guarded->findChild<QLineEdit*>("txtStatus") : nullptr)
      status->setText(QString::fromStdString(form.txtStatus.Text() + "  Report saved as " + path));
  });
  AttachResultsExport(form, *view, *view->Details());
  AttachDisplayPrecision(form, *view, [guarded = QPointer<frmRivuletView>(view)] {
    if (guarded) guarded->Sync();
  });
  view->confirmClose = [&form] { return ConfirmDiscard(form); };
  AttachCaseTableWindow(form, app.services, app.services.Printer(), view);
  form.mnuExit.onClick = [&app] {
    if (app.view) app.view->close();
  };
  form.mnuAbout.onClick = [&app] {
    if (!app.about) {
      app.about = new frmAboutView(app.form.Startup(), app.services);
      app.about->adjustSize();
      CentreOnScreen(*app.about);
    }
    app.about->show();
    app.about->raise();
    app.about->activateWindow();
  };
  view->CentreOnScreen();
  view->show();
  AddToolsMenu(*view, BuiltInKinds(), app.services, app.services.Printer());
  // One recent-files list for every window, kept for the run (worksheets outlive the
  // calculation window); each file opens in the window of its kind.
  app.recent = std::make_unique<RecentFiles>(SettingsFolders(form.Startup()));
  Documents().recent = app.recent.get();
  Documents().open = [&app](const std::string& path) {
    if (IsWorksheetFile(path)) {
      if (OpenWorksheetWindow(path, BuiltInKinds(), app.services, app.services.Printer()))
        app.recent->Add(path);
    } else if (app.view && IsCaseTableFile(path)) {
      OpenCaseTableFile(app.form, *app.view, path);
    } else if (app.view) {
      app.view->OpenFile(path, true);
    }
  };
  view->SetWorksheetOpener([&app](const std::string& path) {
    return OpenWorksheetWindow(path, BuiltInKinds(), app.services, app.services.Printer()) !=
           nullptr;
  });
  if (!fileToOpen.isEmpty() && IsWorksheetFile(fileToOpen.toStdString())) {
    if (OpenWorksheetWindow(fileToOpen.toStdString(), BuiltInKinds(), app.services,
                            app.services.Printer()))
      view->Recent().Add(fileToOpen.toStdString());
  } else if (!fileToOpen.isEmpty()) {
    if (OpenNamedFile(form, fileToOpen.toStdString()) == OpenResult::Loaded)
      view->Recent().Add(form.currentFilePath);
    view->Sync();
  }
}

}  // namespace

int GuiMain(int argc, char** argv) {
  QApplication qapp(argc, argv);
  InitResources();
  QApplication::setApplicationName(kProductName);
  QApplication::setApplicationVersion(QString::fromStdString(BuildVersionString()));
  QApplication::setWindowIcon(QIcon(":/icons/rivulet.svg"));
  // Every window, whatever opens it, lands wholly on the screen (a laptop's 768 rows too).
  KeepWindowsOnScreen(qapp);

  // Qt has taken its own options out of the arguments; the first other one names a file.
  const QStringList args = QApplication::arguments();
  const QString fileToOpen = args.size() > 1 ? args[1] : QString();

  const StartupValues startup = StartupValues::Compute();
  Application app(startup);

  // The start-up window comes first; its OK replaces it by the calculation window, any
  // other way of closing it ends the program.
  auto* splash = new frmStartView(startup);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(splash, &QDialog::accepted,
                   [&app, &fileToOpen] { ShowMainWindow(app, fileToOpen); });
  splash->adjustSize();
  CentreOnScreen(*splash);
  splash->show();
  return QApplication::exec();
}

}  // namespace rivulet
