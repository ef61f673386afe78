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

// The QtPrinter, made when the print path first asks for anything.
class DeferredQtPrinter : public Printer {
 public:
  explicit DeferredQtPrinter(Services& services) : services_(services) {}
  int FontCount() override { return Get().FontCount(); }
  std::string FontName(int index) override { return Get().FontName(index); }
  bool IsFixedPitch(const std::string& name) override { return Get().IsFixedPitch(name); }
  bool PrintsToFile() override { return Get().PrintsToFile(); }
  void SetOutputFile(const std::string& path) override { Get().SetOutputFile(path); }
  void SetFont(const std::string& name, int points) override { Get().SetFont(name, points); }
  void PrintLine(const std::string& text) override { Get().PrintLine(text); }
  void NewPage() override { Get().NewPage(); }
  void EndDocument() override { Get().EndDocument(); }
  void AbortDocument() noexcept override {
    if (printer_) printer_->AbortDocument();
  }

 private:
  QtPrinter& Get() {
    if (!printer_) printer_ = std::make_unique<QtPrinter>(SharedPrinter(services_, ownPrinter_));
    return *printer_;
  }
  Services& services_;
  std::unique_ptr<QPrinter> ownPrinter_;
  std::unique_ptr<QtPrinter> printer_;
};

QPointer<PrintWindow>& LastAttached() {
  static QPointer<PrintWindow> last;
  return last;
}

}  // namespace

PrintWindow::PrintWindow(frmRivulet& form, QWidget* mainWindow)
    : QObject(mainWindow),
      printer_(std::make_unique<DeferredQtPrinter>(form.Svc())),
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
