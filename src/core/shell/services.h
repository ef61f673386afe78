// The platform services the core may ask for. The Qt view implements them for real;
// tests use RecordingServices, which answers from a script and records what was asked.
#pragma once

#include <deque>
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

/// Services for tests and the batch mode: scripted dialog answers, recorded messages.
class RecordingServices : public Services {
 public:
  std::vector<Message> messages;
  /// Save / Discard / Cancel questions asked, and the answers to give (Discard when none).
  std::vector<Message> questions;
  std::deque<SaveChoice> saveChoices;
  std::vector<bool> busyCalls;
  int endKeys = 0;
  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::deque<std::optional<FileChoice>> openAnswers, saveAnswers;
  std::optional<std::string> clipboard;
  std::vector<std::string> launched;
  bool launchSucceeds = true;
  /// Pages the help viewer was asked for, and whether it shows them.
  std::vector<std::string> helpPages;
  bool helpViewerWorks = false;
  int printerSetups = 0;
  int screenWidth = 1920, screenHeight = 1080;

  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
    messages.push_back({text, title, icon});
  }
  SaveChoice AskSaveChanges(const std::string& text, const std::string& title) override {
    questions.push_back({text, title, MessageIcon::None});
    if (saveChoices.empty()) return SaveChoice::Discard;
    const SaveChoice c = saveChoices.front();
    saveChoices.pop_front();
    return c;
  }
  void SetBusy(bool busy) override { busyCalls.push_back(busy); }
  int ScreenWidth() const override { return screenWidth; }
  int ScreenHeight() const override { return screenHeight; }
  void SendEndKey() override { ++endKeys; }
  std::optional<FileChoice> OpenFileDialog(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next(openAnswers);
  }
  std::optional<FileChoice> SaveFileDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next(saveAnswers);
  }
  std::optional<std::string> ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  bool ShellOpen(const std::string& target) override {
    launched.push_back(target);
    return launchSucceeds;
  }
  bool ShowHelpPage(const std::string& page) override {
    helpPages.push_back(page);
    return helpViewerWorks;
  }
  void PrinterSetup() override { ++printerSetups; }

 private:
  static std::optional<FileChoice> Next(std::deque<std::optional<FileChoice>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace rivulet
