// The printer as the print window and the batch mode see it: a font list, a font, lines
// of text, page breaks and one document at a time. The Qt build puts QPrinter behind it;
// tests use a recording fake.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace rivulet {

/// Any failure of the printer; the print command turns it into its one message.
class PrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Printer {
 public:
  virtual ~Printer() = default;

  /// How many fonts the printer offers; asked every time the print window is made.
  virtual int FontCount() = 0;
  /// The name of font number index (0 to FontCount() - 1), as the printer spells it.
  virtual std::string FontName(int index) = 0;
  /// True when every character of the font has the same width.
  virtual bool IsFixedPitch(const std::string& name) = 0;

  /// True when there is no printer to send to, so each document goes to a file the user
  /// picks; SetOutputFile names it for the next document.
  virtual bool PrintsToFile() = 0;
  virtual void SetOutputFile(const std::string& path) = 0;

  /// The font for the lines that follow; size in points.
  virtual void SetFont(const std::string& name, int points) = 0;
  /// One line of text below the previous one; starts the document when none is open.
  virtual void PrintLine(const std::string& text) = 0;
  virtual void NewPage() = 0;
  /// Starts a new page unless `lines` more lines fit on this one; a printer that does not
  /// know its page lets them run on.
  virtual void KeepTogether(int lines) { (void)lines; }
  /// Prints the drawings that go with the report being printed at this place; a printer
  /// that has none, or cannot draw, prints nothing.
  virtual void PrintDrawings() {}
  /// Sends the document; a document with nothing in it sends nothing.
  virtual void EndDocument() = 0;
  /// Drops a document that a failure left unfinished. Never throws.
  virtual void AbortDocument() noexcept = 0;
};

/// Where a report's closing block starts (its status line, where its drawings go before it)
/// and how many lines from there stay on one page: through the rule closing the report and
/// the line under it (the file name), so the disclaimer never stands alone on a page. start is
/// lines.size() in lines without one.
struct ReportTail {
  size_t start = 0;
  int keep = 0;
};
ReportTail FindReportTail(const std::vector<std::string>& lines);

/// One printed document made of whole reports, each on fresh pages: the print window
/// adds one per copy, the batch mode one per calculation file. The printer's drawings go
/// before each report's closing block.
class ReportDocument {
 public:
  explicit ReportDocument(Printer& printer) : printer_(printer) {}
  /// Prints the report lines, after a new page unless this is the first report.
  void Add(const std::vector<std::string>& lines);
  void End() { printer_.EndDocument(); }
  int Reports() const { return reports_; }

 private:
  Printer& printer_;
  int reports_ = 0;
};

}  // namespace rivulet
