#include "core/worksheets/document.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>

#include "core/shell/text_file.h"

namespace rivulet {
namespace {

using nlohmann::json;

std::string Quoted(std::string_view name) {
  std::string s(1, '"');
  s.append(name).push_back('"');
  return s;
}

std::string Join(const std::vector<std::string>& items) {
  std::string s;
  for (const std::string& i : items) s += (s.empty() ? "" : ", ") + i;
  return s;
}

// The deepest nesting of arrays and objects, counted before parsing so that hostile input
// never reaches the parser or the destructor with thousands of levels.
int NestingDepth(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  bool escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// "line L, column C" of a byte offset, counted as an editor counts them (from 1).
std::string LineAndColumn(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  size_t line = 1, column = 1;
  for (size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Why the parser refused the text: where bytes follow a complete JSON value, or the first
// fault with its line and column, so that a worksheet edited by hand can be put right.
struct JsonFault {
  std::optional<size_t> trailingAt;
  std::string message;
};

JsonFault FindJsonFault(std::string_view bytes) {
  JsonFault fault;
  try {
    const json whole = json::parse(bytes);  // thrown on the text's first fault
    (void)whole;
  } catch (const json::parse_error& e) {
    const std::string_view what = e.what();
    // Its byte (from 1) is the first one after the value, where the end was expected.
    if (what.find("; expected end of input") != std::string_view::npos && e.byte >= 1) {
      fault.trailingAt = e.byte - 1;
      return fault;
    }
    // The parser's own words after "- " say what it met and what it expected.
    const size_t dash = what.find(" - ");
    const std::string detail(dash == std::string_view::npos ? "" : what.substr(dash + 3));
    const size_t at = e.byte >= 1 ? std::min<size_t>(e.byte - 1, bytes.size()) : 0;
    fault.message = "The worksheet is not valid JSON at " + LineAndColumn(bytes, at) +
                    (detail.empty() ? std::string(".") : ": " + detail + ".");
  } catch (const json::exception&) {
    // Refused for another reason (a number out of range).
  }
  return fault;
}

std::string AfterClosingBrace(std::string_view bytes, size_t at) {
  return "The worksheet goes on after its closing brace, at " + LineAndColumn(bytes, at) + ".";
}

bool NamesAUnit(std::string_view name) {
  for (Dimension d : kDimensionsWithUnits)
    if (FindFileUnit(d, name)) return true;
  return false;
}

// The first result unit choice that its result, here or in a record, cannot be shown in.
std::string UnsuitedChoice(const Document& d, const std::vector<NamedResult>& results) {
  for (const NamedResult& r : results) {
    const auto choice = d.resultUnitChoices.find(r.name);
    if (choice != d.resultUnitChoices.end() && r.shape != NamedResult::Shape::Records &&
        !FindFileUnit(r.dimension, choice->second)) {
      const FileUnit* own = SystemUnit(r.dimension, d.resultUnits);
      return "\"resultUnitChoices\": " + Quoted(r.name) + " cannot be shown in " +
             Quoted(choice->second) +
             (own ? "; it is in units such as " + Quoted(own->name) + "." : "; it has no unit.");
    }
    for (const auto& record : r.records)
      if (std::string why = UnsuitedChoice(d, record); !why.empty()) return why;
  }
  return "";
}

std::string_view WithoutBom(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return bytes;
}

// Checks one number read for a quantity and converts it to base units.
double ToBaseChecked(const std::string& what, double value, const FileUnit* unit, Allowed allowed,
                     const std::string& field) {
  if (!std::isfinite(value)) throw WorksheetError(field, what + " is not a finite number.");
  const double base = unit ? ToBase(*unit, value) : value;
  if (!std::isfinite(base)) throw WorksheetError(field, what + " is out of range.");
  if (allowed == Allowed::Positive && !(base > 0))
    throw WorksheetError(field, what + " must be greater than zero.");
  if (allowed == Allowed::NonNegative && base < 0)
    throw WorksheetError(field, what + " must not be negative.");
  return base;
}

}  // namespace

bool Document::HasInput(std::string_view name) const {
  return inputs.is_object() && inputs.contains(name);
}

std::string Document::InputUnit(std::string_view name) const {
  if (!HasInput(name)) return "";
  const json& entry = inputs.find(name).value();
  if (!entry.is_object()) return "";
  const auto unit = entry.find("unit");
  return unit != entry.end() && unit->is_string() ? unit->get<std::string>() : "";
}

namespace {

const FileUnit* UnitOf(const json& entry, const std::string& field, Dimension dimension) {
  if (dimension == Dimension::None) return nullptr;
  const std::string expected =
      "a " + std::string(DimensionName(dimension)) + " unit (" + UnitNameList(dimension) + ")";
  const auto unit = entry.find("unit");
  if (unit == entry.end() || !unit->is_string())
    throw WorksheetError(field, "Input " + Quoted(field) + " needs " + expected + ".");
  const FileUnit* u = FindFileUnit(dimension, unit->get<std::string>());
  if (!u)
    throw WorksheetError(field, "Input " + Quoted(field) + ": " + Quoted(unit->get<std::string>()) +
                                    " is not " + expected + ".");
  return u;
}

const json& Entry(const json& inputs, std::string_view name) {
  const std::string field(name);
  if (!inputs.is_object() || !inputs.contains(name))
    throw WorksheetError(field, "Input " + Quoted(name) + " is missing.");
  const json& entry = inputs.find(name).value();
  if (!entry.is_object())
    throw WorksheetError(field, "Input " + Quoted(name) + " must be an object with a \"value\".");
  return entry;
}

}  // namespace

std::optional<double> Document::OptionalInput(std::string_view name, Dimension dimension,
                                              Allowed allowed) const {
  if (!HasInput(name)) return std::nullopt;
  const std::string field(name);
  const json& entry = Entry(inputs, name);
  const auto value = entry.find("value");
  if (value == entry.end() || value->is_null()) return std::nullopt;
  if (!value->is_number())
    throw WorksheetError(field, "Input " + Quoted(name) + " must be a number.");
  const FileUnit* unit = UnitOf(entry, field, dimension);
  return ToBaseChecked("Input " + Quoted(name), value->get<double>(), unit, allowed, field);
}

double Document::Input(std::string_view name, Dimension dimension, Allowed allowed) const {
  const std::optional<double> value = OptionalInput(name, dimension, allowed);
  if (!value) throw WorksheetError(std::string(name), "Input " + Quoted(name) + " is missing.");
  return *value;
}

std::vector<double> Document::InputList(std::string_view name, std::string_view member,
                                        Dimension dimension, Allowed allowed) const {
  const std::string field(name);
  const json& entry = Entry(inputs, name);
  const auto list = entry.find(member);
  if (list == entry.end() || !list->is_array())
    throw WorksheetError(field, "Input " + Quoted(name) + " needs a list " + Quoted(member) + ".");
  const FileUnit* unit = UnitOf(entry, field, dimension);
  std::vector<double> values;
  values.reserve(list->size());
  for (size_t i = 0; i < list->size(); ++i) {
    const std::string what =
        "Input " + Quoted(name) + ", " + Quoted(member) + " item " + std::to_string(i + 1);
    const json& item = (*list)[i];
    if (!item.is_number()) throw WorksheetError(field, what + " must be a number.");
    values.push_back(ToBaseChecked(what, item.get<double>(), unit, allowed, field));
  }
  return values;
}

namespace {

// The unit a row's member ({"value", "unit"} or {"unit", list...}) is written in; why says
// what is wrong when there is no such unit.
const FileUnit* RowUnit(const json& entry, Dimension dimension, std::string& why) {
  if (dimension == Dimension::None) return nullptr;
  const auto name = entry.find("unit");
  const std::string expected =
      "a " + std::string(DimensionName(dimension)) + " unit (" + UnitNameList(dimension) + ")";
  if (name == entry.end() || !name->is_string()) {
    why = "needs " + expected + ".";
    return nullptr;
  }
  const FileUnit* unit = FindFileUnit(dimension, name->get<std::string>());
  if (!unit) why = "is in " + Quoted(name->get<std::string>()) + ", not " + expected + ".";
  return unit;
}

}  // namespace

InputRow::InputRow(std::string list, std::size_t position, const json& row)
    : list_(std::move(list)), position_(position), row_(&row) {
  const auto id = row.find("id");
  if (id != row.end() && id->is_string()) id_ = id->get<std::string>();
}

std::string InputRow::Name() const {
  return Quoted(list_) + " row " + std::to_string(position_ + 1) +
         (id_.empty() ? "" : " (" + Quoted(id_) + ")");
}

void InputRow::Refuse(std::string_view member, const std::string& what) const {
  throw WorksheetError(list_, "Input " + Name() + ", " + Quoted(member) + " " + what);
}

bool InputRow::Has(std::string_view member) const {
  const auto found = row_->find(member);
  return found != row_->end() && !found->is_null();
}

std::optional<double> InputRow::OptionalNumber(std::string_view member, Dimension dimension,
                                               Allowed allowed) const {
  if (!Has(member)) return std::nullopt;
  const json& entry = row_->find(member).value();
  if (!entry.is_object()) Refuse(member, "must be an object with a \"value\".");
  const auto value = entry.find("value");
  if (value == entry.end() || value->is_null()) return std::nullopt;
  if (!value->is_number()) Refuse(member, "must be a number.");
  std::string why;
  const FileUnit* unit = RowUnit(entry, dimension, why);
  if (!why.empty()) Refuse(member, why);
  return ToBaseChecked("Input " + Name() + ", " + Quoted(member), value->get<double>(), unit,
                       allowed, list_);
}

double InputRow::Number(std::string_view member, Dimension dimension, Allowed allowed) const {
  const std::optional<double> value = OptionalNumber(member, dimension, allowed);
  if (!value) Refuse(member, "is missing.");
  return *value;
}

std::string InputRow::Word(std::string_view member, const std::vector<std::string>& choices,
                           const std::string& fallback) const {
  if (!Has(member)) {
    if (fallback.empty()) Refuse(member, "is missing.");
    return fallback;
  }
  const json& value = row_->find(member).value();
  if (value.is_string())
    for (const std::string& c : choices)
      if (value.get<std::string>() == c) return c;
  Refuse(member, "must be one of " + Join(choices) + ".");
}

std::string InputRow::Text(std::string_view member) const {
  if (!Has(member)) return "";
  const json& value = row_->find(member).value();
  if (!value.is_string()) Refuse(member, "must be a text.");
  return value.get<std::string>();
}

std::vector<double> InputRow::Numbers(std::string_view member, std::string_view list,
                                      Dimension dimension, Allowed allowed) const {
  if (!Has(member)) Refuse(member, "is missing.");
  const json& entry = row_->find(member).value();
  if (!entry.is_object()) Refuse(member, "must be an object with a list " + Quoted(list) + ".");
  const auto items = entry.find(list);
  if (items == entry.end() || !items->is_array())
    Refuse(member, "needs a list " + Quoted(list) + ".");
  std::string why;
  const FileUnit* unit = RowUnit(entry, dimension, why);
  if (!why.empty()) Refuse(member, why);
  std::vector<double> values;
  values.reserve(items->size());
  for (size_t i = 0; i < items->size(); ++i) {
    const std::string what = "Input " + Name() + ", " + Quoted(member) + " " + Quoted(list) +
                             " item " + std::to_string(i + 1);
    const json& item = (*items)[i];
    if (!item.is_number()) throw WorksheetError(list_, what + " must be a number.");
    values.push_back(ToBaseChecked(what, item.get<double>(), unit, allowed, list_));
  }
  return values;
}

std::vector<InputRow> Document::InputRows(std::string_view name) const {
  std::vector<InputRow> rows;
  if (!HasInput(name)) return rows;
  const std::string field(name);
  const json& entry = inputs.find(name).value();
  if (entry.is_null()) return rows;
  if (!entry.is_array())
    throw WorksheetError(field,
                         "Input " + Quoted(name) + " must be a list of rows ([{...}, ...]).");
  rows.reserve(entry.size());
  for (size_t i = 0; i < entry.size(); ++i) {
    if (!entry[i].is_object())
      throw WorksheetError(field, "Input " + Quoted(name) + " row " + std::to_string(i + 1) +
                                      " must be an object ({...}).");
    rows.emplace_back(field, i, entry[i]);
  }
  return rows;
}

std::string Document::Option(std::string_view name, const std::vector<std::string>& choices,
                             const std::string& fallback) const {
  if (!options.is_object() || !options.contains(name)) return fallback;
  const json& value = options.find(name).value();
  if (value.is_string()) {
    const std::string text = value.get<std::string>();
    for (const std::string& c : choices)
      if (c == text) return text;
  }
  throw WorksheetError(std::string(name),
                       "Option " + Quoted(name) + " must be one of " + Join(choices) + ".");
}

bool Document::OptionFlag(std::string_view name, bool fallback) const {
  if (!options.is_object() || !options.contains(name)) return fallback;
  const json& value = options.find(name).value();
  if (!value.is_boolean())
    throw WorksheetError(std::string(name), "Option " + Quoted(name) + " must be true or false.");
  return value.get<bool>();
}

std::string Document::Unknown(const std::vector<std::string>& choices) const {
  if (solveFor.empty() && !choices.empty()) return choices.front();
  for (const std::string& c : choices)
    if (c == solveFor) return c;
  throw WorksheetError("solveFor", "\"solveFor\" must be one of " + Join(choices) + ".");
}

std::string Document::ResultUnitProblem(const std::vector<NamedResult>& results) const {
  return UnsuitedChoice(*this, results);
}

const FileUnit* Document::ResultUnit(std::string_view resultName, Dimension dimension) const {
  const auto choice = resultUnitChoices.find(std::string(resultName));
  if (choice != resultUnitChoices.end())
    if (const FileUnit* u = FindFileUnit(dimension, choice->second)) return u;
  return SystemUnit(dimension, resultUnits);
}

void Document::SetInput(const std::string& name, double value, const std::string& unit) {
  // Whole numbers are written as such ("10", not "10.0"), as a person would write them.
  json entry = {{"value", value}};
  if (value == std::trunc(value) && std::fabs(value) < 1e15)
    entry["value"] = static_cast<long long>(value);
  if (!unit.empty()) entry["unit"] = unit;
  inputs[name] = std::move(entry);
}

bool LooksLikeWorksheet(std::string_view head) {
  head = WithoutBom(head);
  const size_t first = head.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && head[first] == '{';
}

bool IsWorksheetFile(const std::string& path) {
  if (!NotAFileToRead(path).empty()) return false;
  std::ifstream in(path, std::ios::binary);
  char head[kWorksheetSniffBytes] = {};
  in.read(head, sizeof head);
  return LooksLikeWorksheet(std::string_view(head, static_cast<size_t>(in.gcount())));
}

WorksheetRead ParseWorksheet(std::string_view bytes) {
  bytes = WithoutBom(bytes);
  WorksheetRead read;
  read.message = kInvalidFileFormat;
  if (bytes.size() > kMaxWorksheetBytes || NestingDepth(bytes) > kMaxWorksheetNesting) return read;
  json j = json::parse(bytes, nullptr, false);
  if (j.is_discarded()) {
    if (!LooksLikeWorksheet(bytes)) return read;
    const JsonFault fault = FindJsonFault(bytes);
    if (fault.trailingAt)
      read.message = AfterClosingBrace(bytes, *fault.trailingAt);
    else if (!fault.message.empty())
      read.message = fault.message;
    return read;
  }
  // The parser takes a NUL byte for the end of the text: one after the object (none can
  // stand inside it) would hide whatever follows.
  if (const size_t nul = bytes.find('\0'); nul != std::string_view::npos && j.is_object()) {
    read.message = AfterClosingBrace(bytes, nul);
    return read;
  }
  if (!j.is_object()) return read;
  const auto tag = j.find("rivulet");
  if (tag == j.end() || *tag != "worksheet") return read;
  const auto version = j.find("version");
  if (version == j.end() || !version->is_number_integer() || version->get<long long>() < 1)
    return read;
  if (version->get<long long>() > kWorksheetVersion) {
    read.message = "This worksheet is version " + std::to_string(version->get<long long>()) +
                   "; this program reads worksheets up to version " +
                   std::to_string(kWorksheetVersion) + ".";
    return read;
  }

  Document d;
  auto refuse = [&](const std::string& message) {
    read.message = message;
    return read;
  };
  for (auto it = j.begin(); it != j.end(); ++it) {
    const std::string& key = it.key();
    const json& v = it.value();
    if (key == "rivulet" || key == "version") continue;
    if (key == "kind" || key == "title" || key == "solveFor" || key == "resultUnits") {
      if (!v.is_string()) return refuse(Quoted(key) + " must be a text.");
      const std::string text = v.get<std::string>();
      if (key == "kind") d.kind = text;
      if (key == "title") d.title = text;
      if (key == "solveFor") d.solveFor = text;
      if (key == "resultUnits") {
        const auto system = ParseUnitSystem(text);
        if (!system) return refuse("\"resultUnits\" must be \"SI\" or \"US\".");
        d.resultUnits = *system;
      }
    } else if (key == "inputs" || key == "options") {
      if (!v.is_object()) return refuse(Quoted(key) + " must be an object.");
      (key == "inputs" ? d.inputs : d.options) = v;
    } else if (key == "resultUnitChoices") {
      if (!v.is_object()) return refuse("\"resultUnitChoices\" must be an object.");
      for (auto c = v.begin(); c != v.end(); ++c) {
        if (!c.value().is_string())
          return refuse("\"resultUnitChoices\": " + Quoted(c.key()) + " must name a unit.");
        const std::string unit = c.value().get<std::string>();
        if (!NamesAUnit(unit))
          return refuse("\"resultUnitChoices\": " + Quoted(c.key()) + ": " + Quoted(unit) +
                        " is not a unit.");
        d.resultUnitChoices[c.key()] = unit;
      }
    } else {
      d.unknownKeys[key] = v;
    }
  }
  if (d.kind.empty()) return refuse("The worksheet names no \"kind\".");
  read.message.clear();
  read.document = std::move(d);
  return read;
}

WorksheetRead ReadWorksheetFile(const std::string& path) {
  if (const std::string why = NotAFileToRead(path); !why.empty())
    return {std::nullopt, "The file " + path + " cannot be opened: " + why + "."};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::nullopt, "The file " + path + " cannot be opened."};
  std::string bytes(kMaxWorksheetBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (bytes.size() > kMaxWorksheetBytes) return {std::nullopt, kInvalidFileFormat};
  return ParseWorksheet(bytes);
}

std::string WorksheetText(const Document& d) {
  // Known keys first in a fixed order, so that files read well and compare well.
  nlohmann::ordered_json j;
  j["rivulet"] = "worksheet";
  j["version"] = kWorksheetVersion;
  j["kind"] = d.kind;
  j["title"] = d.title;
  j["inputs"] = nlohmann::ordered_json(d.inputs);
  if (!d.solveFor.empty()) j["solveFor"] = d.solveFor;
  j["options"] = nlohmann::ordered_json(d.options);
  j["resultUnits"] = std::string(UnitSystemName(d.resultUnits));
  if (!d.resultUnitChoices.empty()) j["resultUnitChoices"] = d.resultUnitChoices;
  for (auto it = d.unknownKeys.begin(); it != d.unknownKeys.end(); ++it)
    if (!j.contains(it.key())) j[it.key()] = nlohmann::ordered_json(it.value());
  return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

SaveOutcome SaveWorksheetFile(const Document& document, const std::string& path) {
  return ReplaceFileContent(path, WorksheetText(document));
}

}  // namespace rivulet
