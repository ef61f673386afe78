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
  /// Sends the document; a document with nothing in it sends nothing.
  virtual void EndDocument() = 0;
  /// Drops a document that a failure left unfinished. Never throws.
  virtual void AbortDocument() noexcept = 0;
};

/// One printed document made of whole reports, each on fresh pages: the print window
/// adds one per copy, the batch mode one per calculation file.
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
