#include "gui/printing/print_window.h"

#include <QWidget>

#include "core/window/frm_rivulet.h"
#include "gui/printing/frm_print_view.h"
#include "gui/shell/qt_services.h"

namespace rivulet {
namespace {

// The printer Print Setup configures, so that its choices are the ones Print uses.
QPrinter& SharedPrinter(Services& services, std::unique_ptr<QPrinter>& own) {
  if (auto* qt = dynamic_cast<QtServices*>(&services)) return qt->Printer();
  own = std::make_unique<QPrinter>();
  return *own;
}

QPointer<PrintWindow>& LastAttached() {
  static QPointer<PrintWindow> last;
  return last;
}

}  // namespace

PrintWindow::PrintWindow(frmRivulet& form, QWidget* mainWindow)
    : QObject(mainWindow),
      printer_(std::make_unique<QtPrinter>(SharedPrinter(form.Svc(), ownPrinter_))),
      commands_(form, *printer_),
      mainWindow_(mainWindow) {}

PrintWindow::~PrintWindow() { Destroy(); }

void PrintWindow::Open() {
  commands_.mnuPrint_Click();
  frmPrint* core = commands_.Window();
  if (!view_ || &view_->Core() != core) {
    view_ = new frmPrintView(*core, mainWindow_);
    // Safe inside the view's close event: Destroy only detaches the view and deletes it later.
    connect(view_, &frmPrintView::Closed, this, &PrintWindow::Destroy);
  }
  view_->Sync();
  view_->show();
  view_->raise();
  view_->activateWindow();
}

void PrintWindow::Destroy() {
  if (view_) {
    view_->Detach();
    view_->hide();
    view_->deleteLater();
    view_ = nullptr;
  }
  commands_.CloseWindow();
}

PrintWindow* AttachPrinting(frmRivulet& form, QWidget* mainWindow) {
  auto* window = new PrintWindow(form, mainWindow);
  LastAttached() = window;
  const QPointer<PrintWindow> guard(window);
  form.mnuPrint.onClick = [guard] {
    if (guard) guard->Open();
  };
  form.mnuPrintSetup.onClick = [guard] {
    if (guard) guard->Setup();
  };
  return window;
}

void DestroyPrintWindow() {
  if (PrintWindow* window = LastAttached()) window->Destroy();
}

}  // namespace rivulet
