// The platform services the core may ask for. The Qt view implements them for real;
// tests use a recording double that answers from a script and records what was asked.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rivulet {

enum class MessageIcon { None, Exclamation, Stop };

/// One message box as shown: text, title, icon.
struct Message {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const Message&) const = default;
};

/// What a file dialog is asked to show.
struct FileDialogRequest {
  std::string title;
  /// Filter pairs of description and pattern, e.g. {"*.rvl ", "*.rvl"}.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string proposedName;
  std::string defaultExtension;
  /// The folder the dialog opens in; empty: the user's documents folder.
  std::string startFolder;
};

/// The answer to "Save changes to NAME?".
enum class SaveChoice { Save, Discard, Cancel };

/// A file chosen in a dialog: full path and bare name.
struct FileChoice {
  std::string path;
  std::string name;
};

class Services {
 public:
  virtual ~Services() = default;

  /// Modal message box with one OK button; returns when dismissed.
  virtual void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  /// The platform's Save / Discard / Cancel question. Without a screen nobody can answer,
  /// so nothing is kept back: Discard.
  virtual SaveChoice AskSaveChanges(const std::string& /*text*/, const std::string& /*title*/) {
    return SaveChoice::Discard;
  }
  /// Busy (hourglass) pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  /// Screen size in the units of window positions.
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  /// Moves the caret of the focused text box to the end of its text (the End key).
  virtual void SendEndKey() = 0;
  /// File dialogs; nullopt on cancel.
  virtual std::optional<FileChoice> OpenFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<FileChoice> SaveFileDialog(const FileDialogRequest& request) = 0;
  /// Plain-text clipboard; nullopt when it holds no text.
  virtual std::optional<std::string> ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  /// Opens a file or address with the program registered for it; false when that failed.
  virtual bool ShellOpen(const std::string& target) = 0;
  /// Shows a help page (a path or file: address, with an optional #section) in the
  /// program's own viewer; false when there is none or the page cannot be read.
  virtual bool ShowHelpPage(const std::string& page) {
    (void)page;
    return false;
  }
  /// The printer-setup dialog.
  virtual void PrinterSetup() = 0;
};

/// Services with no screen, no dialogs and no clipboard, for sheets run in batch: every
/// dialog is cancelled and only messages are left to say where they go.
class HeadlessServices : public Services {
 public:
  void SetBusy(bool) override {}
  int ScreenWidth() const override { return 0; }
  int ScreenHeight() const override { return 0; }
  void SendEndKey() override {}
  std::optional<FileChoice> OpenFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<FileChoice> SaveFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> ClipboardText() override { return {}; }
  void SetClipboardText(const std::string&) override {}
  bool ShellOpen(const std::string&) override { return false; }
  void PrinterSetup() override {}
};

/// The busy pointer for as long as the object lives, whatever way the work ends.
class BusyPointer {
 public:
  explicit BusyPointer(Services& services) : services_(services) { services_.SetBusy(true); }
  ~BusyPointer() { services_.SetBusy(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  Services& services_;
};

}  // namespace rivulet
