// The test double of the platform services: it answers dialogs from a script and records
// every message box, question and request in order, for tests, benchmarks and fuzz targets.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/shell/services.h"

namespace rivulet {

/// Services for tests: scripted dialog answers, every message and request recorded.
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
