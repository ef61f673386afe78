#include "gui/printing/print_window.h"

#include <QWidget>

#include "core/window/frm_rivulet.h"
#include "gui/printing/frm_print_view.h"

namespace rivulet {
namespace {

// The QtPrinter, made when the print path first asks for anything.
class DeferredQtPrinter : public Printer {
 public:
  explicit DeferredQtPrinter(SharedPrinter& shared) : shared_(shared) {}
  int FontCount() override { return Get().FontCount(); }
  std::string FontName(int index) override { return Get().FontName(index); }
  bool IsFixedPitch(const std::string& name) override { return Get().IsFixedPitch(name); }
  bool PrintsToFile() override { return Get().PrintsToFile(); }
  void SetOutputFile(const std::string& path) override { Get().SetOutputFile(path); }
  void SetFont(const std::string& name, int points) override { Get().SetFont(name, points); }
  void PrintLine(const std::string& text) override { Get().PrintLine(text); }
  void NewPage() override { Get().NewPage(); }
  void KeepTogether(int lines) override { Get().KeepTogether(lines); }
  void PrintDrawings() override {
    if (drawings_) Get().SetDrawings(drawings_());
    Get().PrintDrawings();
  }
  std::function<std::vector<ReportDrawing>()> drawings_;
  void EndDocument() override { Get().EndDocument(); }
  void AbortDocument() noexcept override {
    if (printer_) printer_->AbortDocument();
  }

 private:
  QtPrinter& Get() {
    if (!printer_) printer_ = std::make_unique<QtPrinter>(shared_.Get());
    return *printer_;
  }
  SharedPrinter& shared_;
  std::unique_ptr<QtPrinter> printer_;
};

}  // namespace

PrintWindow::PrintWindow(frmRivulet& form, SharedPrinter& printer, QWidget* mainWindow)
    : QObject(mainWindow),
      printer_(std::make_unique<DeferredQtPrinter>(printer)),
      commands_(form, *printer_),
      mainWindow_(mainWindow) {}

PrintWindow::~PrintWindow() { Destroy(); }

void PrintWindow::SetDrawings(std::function<std::vector<ReportDrawing>()> drawings) {
  static_cast<DeferredQtPrinter&>(*printer_).drawings_ = std::move(drawings);
}

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

PrintWindow* AttachPrinting(frmRivulet& form, SharedPrinter& printer, QWidget* mainWindow) {
  auto* window = new PrintWindow(form, printer, mainWindow);
  const QPointer<PrintWindow> guard(window);
  form.mnuPrint.onClick = [guard] {
    if (guard) guard->Open();
  };
  form.mnuPrintSetup.onClick = [guard] {
    if (guard) guard->Setup();
  };
  return window;
}

}  // namespace rivulet
