// The platform services done with Qt: message boxes, the busy pointer, the file and
// printer-setup dialogs, the clipboard, the caret and launching documents.
#pragma once

#include <QString>
#include <functional>

class QMessageBox;

#include "core/shell/services.h"
#include "gui/shell/shared_printer.h"

namespace rivulet {

/// The filter pairs of a request as one Qt filter string ("Text (*.txt);;All (*)"). A pair
/// whose description is only its pattern shows the pattern alone.
QString QtFileFilter(const FileDialogRequest& request);

/// Access keys on the Save, Discard and Cancel buttons of a "Save changes?" box.
void GiveSaveButtonsKeys(QMessageBox& box);

class QtServices : public Services {
 public:
  QtServices();
  ~QtServices() override;

  /// Runs before any modal dialog, so the windows show their state as it stands.
  void SetBeforeModal(std::function<void()> beforeModal) { beforeModal_ = std::move(beforeModal); }

  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
  SaveChoice AskSaveChanges(const std::string& text, const std::string& title) override;
  void SetBusy(bool busy) override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  void SendEndKey() override;
  std::optional<FileChoice> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<FileChoice> SaveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  bool ShellOpen(const std::string& target) override;
  bool ShowHelpPage(const std::string& page) override;
  void PrinterSetup() override;

  /// The printer the setup dialog configures: hand it to the windows that print.
  SharedPrinter& Printer() { return printer_; }

 private:
  void BeforeModal();
  std::optional<FileChoice> FileDialog(const FileDialogRequest& request, bool save);

  std::function<void()> beforeModal_;
  SharedPrinter printer_;
  bool busy_ = false;
};

}  // namespace rivulet
