// How a report falls on pages: its drawings go before the closing block, and the status
// and the disclaimer share a page whatever comes before them.
#include <gtest/gtest.h>

#include "core/printing/printer.h"
#include "core/printing/report.h"
#include "core/shell/startup.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

// A printer with pages of a fixed number of lines, which records the page of every line
// and where the drawings went (each takes `drawingLines` lines).
class PagedPrinter : public Printer {
 public:
  explicit PagedPrinter(int pageLines, int drawingLines = 0)
      : pageLines_(pageLines), drawingLines_(drawingLines) {}
  int FontCount() override { return 0; }
  std::string FontName(int) override { return {}; }
  bool IsFixedPitch(const std::string&) override { return true; }
  bool PrintsToFile() override { return false; }
  void SetOutputFile(const std::string&) override {}
  void SetFont(const std::string&, int) override {}
  void PrintLine(const std::string& text) override {
    if (used_ + 1 > pageLines_) NewPage();
    ++used_;
    printed.push_back({text, page});
  }
  void NewPage() override {
    ++page;
    used_ = 0;
  }
  void KeepTogether(int lines) override {
    if (used_ + lines > pageLines_) NewPage();
  }
  void PrintDrawings() override {
    if (used_ + drawingLines_ > pageLines_) NewPage();
    used_ += drawingLines_;
    drawingsAt.push_back(printed.size());
  }
  void EndDocument() override {}
  void AbortDocument() noexcept override {}

  struct Line {
    std::string text;
    int page;
  };
  std::vector<Line> printed;
  std::vector<size_t> drawingsAt;
  int page = 1;

  int PageOf(const std::string& start) const {
    for (const Line& l : printed)
      if (l.text.find(start) != std::string::npos) return l.page;
    return -1;
  }

 private:
  int pageLines_, drawingLines_;
  int used_ = 0;
};

std::vector<std::string> CalculationReport() {
  RecordingServices services;
  frmRivulet form(services, StartupValues::ForFolder("/nonexistent"));
  form.Form_Load();
  form.txtStatus.SetText("Calculations Complete!");
  return ReportLines(form, ReportExtras{});
}

TEST(ReportPaging, TheDisclaimerKeepsTheStatusOnItsPage) {
  const std::vector<std::string> report = CalculationReport();
  const ReportTail tail = FindReportTail(report);
  ASSERT_LT(tail.start, report.size());
  EXPECT_EQ(report[tail.start].find("Status"), 15u);
  // From the status to the closing rule, comments and all, with the file name were it printed.
  EXPECT_EQ(tail.start + static_cast<size_t>(tail.keep), report.size());
  const std::vector<std::string> extra{"          /home/eng/pipe.rvl", "          Flow details"};
  std::vector<std::string> withDetails = report;
  withDetails.insert(withDetails.end(), extra.begin(), extra.end());
  EXPECT_EQ(FindReportTail(withDetails).keep, tail.keep + 1);
  // Every page length at which the report breaks somewhere between its status and the end
  // of its disclaimer, with and without a drawing before the status.
  for (int drawing : {0, 20})
    for (int pageLines = 35; pageLines <= 80; ++pageLines) {
      PagedPrinter printer(pageLines, drawing);
      ReportDocument document(printer);
      document.Add(report);
      const int disclaimer = printer.PageOf("Disclaimer:");
      EXPECT_EQ(printer.PageOf("Status"), disclaimer) << pageLines << " " << drawing;
      EXPECT_EQ(printer.PageOf(DisclaimerLines().back()), disclaimer) << pageLines;
      EXPECT_EQ(printer.printed.back().page, disclaimer) << pageLines;
      ASSERT_EQ(printer.drawingsAt.size(), 1u);
      EXPECT_EQ(printer.drawingsAt[0], tail.start);
    }
}

TEST(ReportPaging, LinesWithoutADisclaimerTakeTheDrawingsAtTheirEnd) {
  PagedPrinter printer(10, 4);
  ReportDocument document(printer);
  document.Add({"a", "b", "c"});
  EXPECT_EQ(printer.drawingsAt, std::vector<size_t>{3});
  EXPECT_EQ(FindReportTail({"a"}).start, 1u);
}

}  // namespace
}  // namespace rivulet
