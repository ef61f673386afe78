#include "core/cases/csv_reader.h"

#include <csv.h>

#include <algorithm>

#include "core/files/csv_cell.h"

namespace rivulet {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kChunk = 64 * 1024;

// RFC 4180: spaces are part of a field, so none are stripped.
int NoSpace(unsigned char) { return 0; }

}  // namespace

CsvReader::CsvReader(RecordHandler onRecord, size_t maxRecordBytes, char delimiter)
    : onRecord_(std::move(onRecord)),
      maxRecordBytes_(maxRecordBytes),
      parser_(std::make_unique<csv_parser>()) {
  csv_init(parser_.get(), 0);
  csv_set_space_func(parser_.get(), NoSpace);
  csv_set_delim(parser_.get(), static_cast<unsigned char>(delimiter));
}

CsvReader::~CsvReader() { csv_free(parser_.get()); }

void CsvReader::OnCell(void* data, size_t size, void* self) {
  auto& r = *static_cast<CsvReader*>(self);
  r.recordBytes_ += size + 1;
  r.cells_.emplace_back(SpreadsheetCellText(
      data ? std::string_view(static_cast<const char*>(data), size) : std::string_view()));
}

void CsvReader::OnEnd(int, void* self) {
  auto& r = *static_cast<CsvReader*>(self);
  ++r.records_;
  r.onRecord_(r.cells_);
  r.cells_.clear();
  r.recordBytes_ = 0;
}

bool CsvReader::Fail(const std::string& message) {
  if (error_.empty()) error_ = message;
  return false;
}

bool CsvReader::ParseChunk(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::string_view part = bytes.substr(0, std::min(bytes.size(), kChunk));
    bytes.remove_prefix(part.size());
    FollowQuotes(part);
    if (csv_parse(parser_.get(), part.data(), part.size(), OnCell, OnEnd, this) != part.size())
      return Fail(csv_strerror(csv_error(parser_.get())));
    // What is held of the record: its finished cells and the cell being read.
    if (recordBytes_ + csv_get_buffer_size(parser_.get()) > maxRecordBytes_)
      return Fail("row " + std::to_string(records_ + 1) + " is longer than " +
                  (maxRecordBytes_ >= (1u << 20) ? std::to_string(maxRecordBytes_ >> 20) + " MB"
                                                 : std::to_string(maxRecordBytes_) + " bytes") +
                  (field_ == Field::Quoted ? " (" + OpenQuoteWhere() + ")" : ""));
  }
  return true;
}

// The parser's own rules, without spaces (none are skipped): a quote opens a quoted
// field only at its start; in one, a quote doubled is a quote, a quote before a comma or a
// line end closes it, and a quote before anything else is kept, the field staying quoted.
void CsvReader::FollowQuotes(std::string_view bytes) {
  for (const char c : bytes) {
    const bool lineEnd = c == '\r' || (c == '\n' && !afterCr_);
    afterCr_ = c == '\r';
    const bool fieldEnd = c == ',' || c == '\r' || c == '\n';
    switch (field_) {
      case Field::Start:
        if (c == '"') {
          field_ = Field::Quoted;
          quoteLine_ = line_;
        } else if (!fieldEnd) {
          field_ = Field::Plain;
        }
        break;
      case Field::Plain:
        if (fieldEnd) field_ = Field::Start;
        break;
      case Field::Quoted:
        if (c == '"') field_ = Field::QuoteInQuoted;
        break;
      case Field::QuoteInQuoted:
        field_ = fieldEnd ? Field::Start : Field::Quoted;
        break;
    }
    if (lineEnd) ++line_;
  }
}

std::string CsvReader::OpenQuoteWhere() const {
  return "the quote that opens on line " + std::to_string(quoteLine_) + " is never closed";
}

bool CsvReader::Start() {
  started_ = true;
  const std::string head = std::move(head_);
  return head == kByteOrderMark || ParseChunk(head);
}

bool CsvReader::Feed(std::string_view bytes) {
  if (!error_.empty() || finished_) return false;
  if (!started_) {
    const size_t take = std::min(bytes.size(), kByteOrderMark.size() - head_.size());
    head_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    // A beginning that could still be the mark waits for its next bytes.
    if (head_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head_)) return true;
    if (!Start()) return false;
  }
  return ParseChunk(bytes);
}

bool CsvReader::Finish() {
  if (!error_.empty() || finished_) return false;
  if (!started_ && !Start()) return false;
  finished_ = true;
  // The parser would end the field at the end of the text and hand on one row holding
  // every line after the quote.
  if (field_ == Field::Quoted) return Fail(OpenQuoteWhere());
  if (csv_fini(parser_.get(), OnCell, OnEnd, this) != 0)
    return Fail(csv_strerror(csv_error(parser_.get())));
  return true;
}

char CsvDelimiterOf(std::string_view firstLine) {
  firstLine = firstLine.substr(0, firstLine.find('\n'));
  return firstLine.find(';') != std::string_view::npos &&
                 firstLine.find(',') == std::string_view::npos
             ? ';'
             : ',';
}

bool ReadCsvStream(std::istream& in, const CsvReader::RecordHandler& onRecord, std::string& error,
                   char delimiter) {
  CsvReader reader(onRecord, kMaxCsvRecordBytes, delimiter);
  std::string buffer(kChunk, '\0');
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<size_t>(in.gcount());
    if (got == 0) break;
    if (!reader.Feed(std::string_view(buffer.data(), got))) break;
  }
  if (in.bad()) {
    error = "the file could not be read to its end";
    return false;
  }
  const bool ok = reader.Error().empty() && reader.Finish();
  error = reader.Error();
  return ok;
}

void AppendCsvCell(std::string& out, std::string_view cell) { AppendDelimitedCell(out, cell, ','); }

std::string CsvRecordText(const std::vector<std::string>& cells) {
  std::string out;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i) out += ',';
    AppendCsvCell(out, cells[i]);
  }
  out += "\r\n";
  return out;
}

}  // namespace rivulet
