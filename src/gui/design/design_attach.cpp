#include "gui/design/design_attach.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "core/design/design_settings_file.h"
#include "core/design/sheet_design.h"
#include "gui/design/design_checks_view.h"
#include "gui/design/design_settings_dialog.h"
#include "gui/window/flow_details_panel.h"
#include "gui/window/frm_rivulet_view.h"

namespace rivulet {

namespace {

// Holds the settings for as long as the window lives.
class DesignSettingsHolder : public QObject {
 public:
  using QObject::QObject;
  DesignSettings settings = DefaultDesignSettings();
};

}  // namespace

void AttachDesignChecks(frmRivulet& form, Services& services, frmRivuletView* view) {
  auto* holder = new DesignSettingsHolder(view);
  std::string problem;
  holder->settings = LoadDesignSettings(form.Startup(), &problem);
  if (!problem.empty()) {
    // Said once the window is up, so the message has the window behind it.
    QTimer::singleShot(0, view, [&services, problem] {
      services.MessageBox(problem + " The built-in design settings are used.", kProductName,
                          MessageIcon::Exclamation);
    });
  }
  FlowDetailsPanel* panel = view->Details();
  panel->SetDesignSettings(&holder->settings);
  QPointer<frmRivuletView> guarded(view);

  auto openSettings = [&form, &services, holder, guarded] {
    if (!guarded) return;
    DesignSettingsDialog dialog(holder->settings, guarded);
    if (dialog.exec() != QDialog::Accepted) return;
    holder->settings = dialog.Settings();
    if (SaveDesignSettings(form.Startup(), holder->settings).empty()) {
      services.MessageBox(
          "The design settings could not be saved; they apply until Rivulet is closed. Check "
          "that the program folder or your configuration folder can be written.",
          kProductName, MessageIcon::Exclamation);
    }
    guarded->Sync();
  };
  form.mnuOptionsDesign.onClick = openSettings;
  QObject::connect(panel->Design(), &DesignChecksView::settingsRequested, view, openSettings);
  QObject::connect(panel->Design(), &DesignChecksView::useSizeRequested, view,
                   [&form, holder, guarded] {
                     if (!guarded) return;
                     const auto design = DesignOfSheet(form, holder->settings);
                     if (design && design->current) UseStandardSize(form, *design);
                     guarded->Sync();
                     emit guarded->Changed();
                   });
}

}  // namespace rivulet
