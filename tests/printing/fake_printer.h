// A printer that records what it is asked to do, with fonts, pitch and failures set by
// the test.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/printing/printer.h"

namespace rivulet {

class FakePrinter : public Printer {
 public:
  std::vector<std::string> fonts;
  std::set<std::string> fixedPitch;
  bool printsToFile = false;
  /// Throw PrinterError at the PrintLine call with this number (1 is the first); 0: never.
  int failAtLine = 0;
  bool failAtNewPage = false;
  bool failAtEnd = false;

  int fontCountCalls = 0;
  int fontNameCalls = 0;
  std::vector<std::string> outputFiles;
  /// One entry per call: "font NAME SIZE", "line TEXT", "page", "end", "abort".
  std::vector<std::string> events;
  int lines = 0;

  int FontCount() override {
    ++fontCountCalls;
    return static_cast<int>(fonts.size());
  }
  std::string FontName(int index) override {
    ++fontNameCalls;
    return fonts.at(static_cast<size_t>(index));
  }
  bool IsFixedPitch(const std::string& name) override { return fixedPitch.count(name) > 0; }
  bool PrintsToFile() override { return printsToFile; }
  void SetOutputFile(const std::string& path) override { outputFiles.push_back(path); }
  void SetFont(const std::string& name, int points) override {
    events.push_back("font " + name + " " + std::to_string(points));
  }
  void PrintLine(const std::string& text) override {
    if (++lines == failAtLine) throw PrinterError("paper jam");
    events.push_back("line " + text);
  }
  void NewPage() override {
    if (failAtNewPage) throw PrinterError("out of paper");
    events.push_back("page");
  }
  void EndDocument() override {
    if (failAtEnd) throw PrinterError("offline");
    events.push_back("end");
  }
  void AbortDocument() noexcept override { events.push_back("abort"); }

  /// The events without the printed lines, e.g. {"font X 12", "page", "end"}.
  std::vector<std::string> Calls() const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.rfind("line ", 0) != 0) out.push_back(e);
    return out;
  }
  /// The printed lines in order.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.rfind("line ", 0) == 0) out.push_back(e.substr(5));
    return out;
  }
};

}  // namespace rivulet
