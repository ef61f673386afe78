#include "core/sections/section_csv.h"

#include <csv.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/sections/section_model.h"

namespace rivulet {
namespace {

using Row = std::vector<std::string>;

// Rows as libcsv reports them; blank rows are dropped, but their line numbers are kept.
struct Collector {
  std::vector<Row> rows;
  std::vector<size_t> lines;
  Row current;
  size_t line = 1;
  bool afterCr = false;
  bool tooMany = false;
};

void OnField(void* s, size_t len, void* data) {
  auto* c = static_cast<Collector*>(data);
  c->current.emplace_back(s ? static_cast<const char*>(s) : "", s ? len : 0);
}

// Called at every unquoted line end, so that lines can be named in messages.
void OnRow(int end, void* data) {
  auto* c = static_cast<Collector*>(data);
  // CR LF is one line end: the LF of it comes as an empty row of its own.
  const bool secondHalf = end == '\n' && c->afterCr && c->current.empty();
  c->afterCr = end == '\r';
  if (secondHalf) return;
  const bool blank = std::all_of(c->current.begin(), c->current.end(),
                                 [](const std::string& f) { return f.empty(); });
  // A header and the most points a section may have, plus one to tell that there are more.
  if (!blank && !c->tooMany) {
    if (c->rows.size() > static_cast<size_t>(kMaxSectionPoints) + 1) {
      c->tooMany = true;
    } else {
      c->rows.push_back(std::move(c->current));
      c->lines.push_back(c->line);
    }
  }
  c->current.clear();
  ++c->line;
}

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

// A finite number in "." notation, the whole cell; a leading "+" is allowed.
std::optional<double> Number(const std::string& cell) {
  std::string t = Trim(cell);
  if (!t.empty() && t.front() == '+') t.erase(0, 1);
  if (t.empty()) return std::nullopt;
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

char Delimiter(std::string_view text) {
  const std::string_view first = text.substr(0, text.find('\n'));
  if (first.find('\t') != first.npos) return '\t';
  if (first.find(';') != first.npos && first.find(',') == first.npos) return ';';
  return ',';
}

// The column whose header contains one of the words, if any.
std::optional<size_t> ColumnNamed(const Row& header, std::initializer_list<const char*> words) {
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string h = Lower(header[i]);
    for (const char* w : words)
      if (h.find(w) != h.npos) return i;
  }
  return std::nullopt;
}

std::string Cut(const std::string& s) { return s.size() > 20 ? s.substr(0, 20) + "..." : s; }

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
  csv_parser parser;
  if (csv_init(&parser, CSV_REPALL_NL) != 0) {
    out.message = "The reader of comma-separated text could not start.";
    return out;
  }
  const char delimiter = Delimiter(text);
  csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
  if (delimiter == '\t') csv_set_space_func(&parser, OnlySpace);
  Collector c;
  const bool parsed =
      csv_parse(&parser, text.data(), text.size(), OnField, OnRow, &c) == text.size() &&
      csv_fini(&parser, OnField, OnRow, &c) == 0;
  csv_free(&parser);
  if (!parsed) {
    out.message = "The text could not be read as comma-separated values.";
    return out;
  }
  if (c.tooMany) {
    out.message = "There are more than " + std::to_string(kMaxSectionPoints) + " points.";
    return out;
  }
  size_t first = 0, stationColumn = 0, elevationColumn = 1;
  if (!c.rows.empty() && !(c.rows[0].size() >= 2 && Number(c.rows[0][0]) && Number(c.rows[0][1]))) {
    const Row& header = c.rows[0];
    first = 1;
    const auto s = ColumnNamed(header, {"station", "sta", "chainage", "offset", "distance"});
    const auto e = ColumnNamed(header, {"elev", "elv", "level", "height"});
    if (s && e && *s != *e) stationColumn = *s, elevationColumn = *e;
    if (header.size() > std::max(stationColumn, elevationColumn)) {
      out.stationHeader = Trim(header[stationColumn]);
      out.elevationHeader = Trim(header[elevationColumn]);
      out.stationUnit = LengthUnitInHeader(out.stationHeader);
      out.elevationUnit = LengthUnitInHeader(out.elevationHeader);
    }
  }
  if (c.rows.size() - first > static_cast<size_t>(kMaxSectionPoints)) {
    out.message = "There are more than " + std::to_string(kMaxSectionPoints) + " points.";
    return out;
  }
  for (size_t i = first; i < c.rows.size(); ++i) {
    const Row& row = c.rows[i];
    const std::string line = "Line " + std::to_string(c.lines[i]);
    if (row.size() <= std::max(stationColumn, elevationColumn)) {
      out.message = line + " has " + std::to_string(row.size()) + " cell" +
                    (row.size() == 1 ? "" : "s") + ": a station and an elevation are needed.";
      return out;
    }
    const auto s = Number(row[stationColumn]);
    const auto e = Number(row[elevationColumn]);
    if (!s) {
      out.message = line + ": the station \"" + Cut(row[stationColumn]) + "\" is not a number.";
      return out;
    }
    if (!e) {
      out.message = line + ": the elevation \"" + Cut(row[elevationColumn]) + "\" is not a number.";
      return out;
    }
    out.station.push_back(*s);
    out.elevation.push_back(*e);
  }
  if (out.station.empty()) {
    out.message = "There are no points in the text.";
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace rivulet
