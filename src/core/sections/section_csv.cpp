#include "core/sections/section_csv.h"

#include <csv.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/sections/section_model.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Cells kept of a header for the names and units shown; a longer one is no header.
constexpr size_t kMaxKeptHeaderCell = 1024;

int OnlySpace(unsigned char c) { return c == ' '; }

std::string Trim(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return std::string(s.substr(a, b - a));
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

// A finite number, the whole cell; a leading "+" is allowed, and a decimal comma where
// commas do not separate cells (decimalComma then says one was read).
std::optional<double> Number(const std::string& cell, bool* decimalComma = nullptr) {
  std::string t = Trim(cell);
  if (decimalComma && t.find(',') != t.npos) {
    const std::string pointed = DecimalPointText(t);
    if (pointed != t) *decimalComma = true;
    t = pointed;
  }
  if (!t.empty() && t.front() == '+') t.erase(0, 1);
  if (t.empty()) return std::nullopt;
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string Cut(const std::string& s) { return s.size() > 20 ? s.substr(0, 20) + "..." : s; }

bool ContainsAny(const std::string& lowered, std::initializer_list<const char*> words) {
  for (const char* w : words)
    if (lowered.find(w) != lowered.npos) return true;
  return false;
}

// The rows as libcsv reports them, judged as they come: of a row only the cells that are
// read are looked at, and of the whole text only the points, the header's names and the
// first fault are kept, so that memory does not grow with the text.
struct Collector {
  size_t line = 1;
  bool afterCr = false;
  // The row being read.
  size_t cells = 0;
  bool blank = true;
  std::optional<double> station, elevation;
  std::string stationText, elevationText;
  // The first row: a header or the first point, told apart at its end.
  bool firstDone = false;
  std::string first[2];
  std::optional<double> firstNumber[2];
  std::optional<size_t> stationNamed, elevationNamed;
  std::string stationNamedText, elevationNamedText;
  // What the text gives.
  size_t stationColumn = 0, elevationColumn = 1;
  size_t points = 0;
  std::string fault;
  StationText* out = nullptr;
  bool commaSeparated = true;
  bool decimalComma = false;

  void Field(std::string_view cell) {
    const size_t column = cells++;
    if (!cell.empty()) blank = false;
    if (!firstDone) {
      const std::string kept(cell.substr(0, kMaxKeptHeaderCell));
      if (column < 2) {
        first[column] = kept;
        firstNumber[column] = Number(std::string(cell), Comma());
      }
      // As a header it names its columns; the first named like each is the one read.
      if (!stationNamed || !elevationNamed) {
        const std::string lowered = Lower(cell);
        if (!stationNamed &&
            ContainsAny(lowered, {"station", "sta", "chainage", "offset", "distance"}))
          stationNamed = column, stationNamedText = kept;
        if (!elevationNamed && ContainsAny(lowered, {"elev", "elv", "level", "height"}))
          elevationNamed = column, elevationNamedText = kept;
      }
      return;
    }
    if (column == stationColumn) Read(cell, station, stationText);
    if (column == elevationColumn) Read(cell, elevation, elevationText);
  }

  bool* Comma() { return commaSeparated ? nullptr : &decimalComma; }

  void Read(std::string_view cell, std::optional<double>& value, std::string& text) {
    value = Number(std::string(cell), Comma());
    text = value ? std::string() : Cut(std::string(cell.substr(0, 64)));
  }

  void RowEnd() {
    if (!blank && !firstDone)
      FirstRowEnd();
    else if (!blank)
      Point(station, elevation, stationText, elevationText);
    cells = 0;
    blank = true;
    station.reset();
    elevation.reset();
    ++line;
  }

  void FirstRowEnd() {
    firstDone = true;
    if (cells >= 2 && firstNumber[0] && firstNumber[1]) {
      Point(firstNumber[0], firstNumber[1], first[0], first[1]);
      return;
    }
    // A header: its named columns when it names two, else the first two.
    if (stationNamed && elevationNamed && *stationNamed != *elevationNamed)
      stationColumn = *stationNamed, elevationColumn = *elevationNamed;
    if (cells > std::max(stationColumn, elevationColumn)) {
      auto text = [&](size_t column, const std::string& named) {
        return Trim(column < 2 ? first[column] : named);
      };
      out->stationHeader =
          text(stationColumn, stationColumn == stationNamed ? stationNamedText : "");
      out->elevationHeader =
          text(elevationColumn, elevationColumn == elevationNamed ? elevationNamedText : "");
      out->stationUnit = LengthUnitInHeader(out->stationHeader);
      out->elevationUnit = LengthUnitInHeader(out->elevationHeader);
    }
  }

  void Point(const std::optional<double>& s, const std::optional<double>& e,
             const std::string& sText, const std::string& eText) {
    // Past the most points a section may have, only the count goes on.
    if (++points > static_cast<size_t>(kMaxSectionPoints) || !fault.empty()) return;
    const std::string where = "Line " + std::to_string(line);
    if (cells <= std::max(stationColumn, elevationColumn)) {
      fault = where + " has " + std::to_string(cells) + " cell" + (cells == 1 ? "" : "s") +
              ": a station and an elevation are needed.";
    } else if (!s) {
      fault = where + ": the station \"" + sText + "\" is not a number.";
    } else if (!e) {
      fault = where + ": the elevation \"" + eText + "\" is not a number.";
    } else {
      out->station.push_back(*s);
      out->elevation.push_back(*e);
    }
  }
};

void OnField(void* s, size_t len, void* data) {
  static_cast<Collector*>(data)->Field(s ? std::string_view(static_cast<const char*>(s), len)
                                         : std::string_view());
}

// Called at every unquoted line end, so that lines can be named in messages.
void OnRow(int end, void* data) {
  auto* c = static_cast<Collector*>(data);
  // CR LF is one line end: the LF of it comes as an empty row of its own.
  const bool secondHalf = end == '\n' && c->afterCr && c->cells == 0;
  c->afterCr = end == '\r';
  if (!secondHalf) c->RowEnd();
}

char Delimiter(std::string_view text) {
  const std::string_view first = text.substr(0, text.find('\n'));
  if (first.find('\t') != first.npos) return '\t';
  // Where a comma is the decimal point, spreadsheets separate cells by semicolons.
  if (first.find(';') != first.npos) return ';';
  return ',';
}

}  // namespace

std::string LengthUnitInHeader(std::string_view header) {
  const std::string h = Lower(header);
  size_t open = h.find_last_of("([");
  if (open == h.npos) return "";
  const size_t close = h.find_first_of(")]", open);
  if (close == h.npos) return "";
  const std::string unit = Trim(std::string_view(h).substr(open + 1, close - open - 1));
  const struct {
    const char* text;
    const char* name;
  } known[] = {{"m", "m"},   {"meters", "m"}, {"metres", "m"}, {"cm", "cm"}, {"mm", "mm"},
               {"ft", "ft"}, {"feet", "ft"},  {"foot", "ft"},  {"in", "in"}, {"inches", "in"}};
  for (const auto& k : known)
    if (unit == k.text) return k.name;
  return "";
}

StationText ReadStationText(std::string_view text) {
  StationText out;
  if (text.size() > kMaxStationTextBytes) {
    out.message = "The text is larger than " + std::to_string(kMaxStationTextBytes / 1048576) +
                  " MB: it is not a list of points.";
    return out;
  }
  // An editor's byte-order mark is no part of the first cell: left there, it would make
  // the first point of a file without a header read as a header.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  csv_parser parser;
  if (csv_init(&parser, CSV_REPALL_NL) != 0) {
    out.message = "The reader of comma-separated text could not start.";
    return out;
  }
  const char delimiter = Delimiter(text);
  csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
  if (delimiter == '\t') csv_set_space_func(&parser, OnlySpace);
  Collector c;
  c.out = &out;
  c.commaSeparated = delimiter == ',';
  const bool parsed =
      csv_parse(&parser, text.data(), text.size(), OnField, OnRow, &c) == text.size() &&
      csv_fini(&parser, OnField, OnRow, &c) == 0;
  csv_free(&parser);
  const std::string fault =
      !parsed ? "The text could not be read as comma-separated values."
      : c.points > static_cast<size_t>(kMaxSectionPoints)
          ? "There are more than " + std::to_string(kMaxSectionPoints) + " points."
      : !c.fault.empty()    ? c.fault
      : out.station.empty() ? "There are no points in the text."
                            : "";
  if (!fault.empty()) {
    StationText refused;
    refused.message = fault;
    return refused;
  }
  out.ok = true;
  out.layout = delimiter == '\t'  ? "tab-separated"
               : delimiter == ';' ? "semicolon-separated"
                                  : "comma-separated";
  out.layout += c.decimalComma ? ", decimal comma" : ", decimal point";
  return out;
}

}  // namespace rivulet
