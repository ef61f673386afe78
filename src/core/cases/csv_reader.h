// Comma-separated text read as it streams in (RFC 4180 quoting, CR LF or LF, a UTF-8
// byte order mark skipped), one record at a time, never more than one record held. Cells
// come back as Rivulet wrote them: the apostrophe that kept a text from being a formula is
// taken off again.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

namespace rivulet {

/// Longest record accepted: far beyond any table a person writes, small enough that a
/// file without a closing quote cannot take the machine's memory.
inline constexpr size_t kMaxCsvRecordBytes = 16u << 20;

class CsvReader {
 public:
  /// Called with each record's cells as it ends; the handler may move them away.
  using RecordHandler = std::function<void(std::vector<std::string>& cells)>;

  /// Cells are separated by delimiter: a comma, or the semicolon that spreadsheets write
  /// where a comma is the decimal point.
  explicit CsvReader(RecordHandler onRecord, size_t maxRecordBytes = kMaxCsvRecordBytes,
                     char delimiter = ',');
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  /// Takes the next bytes of the text; false once a fault stopped the reading.
  bool Feed(std::string_view bytes);
  /// Ends the text (a last record without a line end counts); false on a fault.
  bool Finish();
  /// What stopped the reading, or "".
  const std::string& Error() const { return error_; }
  /// Records delivered so far.
  size_t Records() const { return records_; }

 private:
  static void OnCell(void* data, size_t size, void* self);
  static void OnEnd(int terminator, void* self);
  bool Start();
  bool ParseChunk(std::string_view bytes);
  bool Fail(const std::string& message);
  void FollowQuotes(std::string_view bytes);
  std::string OpenQuoteWhere() const;

  RecordHandler onRecord_;
  size_t maxRecordBytes_;
  std::unique_ptr<csv_parser> parser_;
  std::vector<std::string> cells_;
  size_t recordBytes_ = 0;
  size_t records_ = 0;
  std::string head_;  // the first bytes, held until the byte order mark is ruled out
  // Where the bytes stand between quotes, followed beside the parser so that a quote left
  // open can be named by its line instead of swallowing the rest of the file.
  enum class Field { Start, Plain, Quoted, QuoteInQuoted };
  Field field_ = Field::Start;
  size_t line_ = 1;
  size_t quoteLine_ = 0;
  bool afterCr_ = false;
  bool started_ = false;
  bool finished_ = false;
  std::string error_;
};

/// Reads a whole stream in chunks; false with error set when it could not be read.
bool ReadCsvStream(std::istream& in, const CsvReader::RecordHandler& onRecord, std::string& error,
                   char delimiter = ',');

/// The delimiter of a table whose first line is given: a semicolon when the line holds
/// semicolons and no comma, else a comma.
char CsvDelimiterOf(std::string_view firstLine);

/// A cell as RFC 4180 writes it (in double quotes, quotes doubled, when it holds a comma,
/// a quote, a CR or a LF), kept from being a formula (AppendDelimitedCell).
void AppendCsvCell(std::string& out, std::string_view cell);
/// The cells joined by commas and ended by CR LF.
std::string CsvRecordText(const std::vector<std::string>& cells);

}  // namespace rivulet
