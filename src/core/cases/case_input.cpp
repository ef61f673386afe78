#include "core/cases/case_input.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/cases/case_units.h"
#include "core/shell/number_text.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {
namespace {

constexpr const char* kFieldNames[kCaseFieldCount] = {
    "name",          "section",       "solveFor",     "runningFull", "flow",
    "flowUnit",      "depth",         "depthUnit",    "width",       "widthUnit",
    "sideSlope",     "sideSlopeUnit", "slope",        "slopeUnit",   "manningsN",
    "otherFlowUnit", "areaUnit",      "altValueUnit", "altFlowUnit", "altAreaUnit"};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : ", ") + w;
  return out;
}

std::string Quoted(std::string_view text) {
  // A whole megabyte of cell in a message helps no one.
  constexpr size_t kShown = 40;
  std::string out = "\"";
  out.append(text.substr(0, kShown));
  if (text.size() > kShown) out.append("...");
  return out.append("\"");
}

// Why a number text is beyond what a double holds in full, or "". The sheet would read it
// as the largest double, as 0 or with digits lost, and then call it not above zero.
std::string RangeFault(std::string_view text) {
  if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  const bool anyDigit =
      text.substr(0, text.find_first_of("eE")).find_first_of("123456789") != std::string_view::npos;
  if (ec == std::errc() && std::isfinite(value) && value < std::numeric_limits<double>::max() &&
      std::fpclassify(value) != FP_SUBNORMAL && (value != 0 || !anyDigit))
    return {};
  // Out of range one way or the other: the first significant digit's place says which.
  long place = 0;
  bool found = false, afterPoint = false;
  size_t i = 0;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    if (text[i] == '.') {
      afterPoint = true;
    } else if (!found && text[i] != '0') {
      found = true;
      place = afterPoint ? place - 1 : 0;
    } else if (found && !afterPoint) {
      ++place;
    } else if (!found && afterPoint) {
      --place;
    }
  }
  long exponent = 0;
  if (i < text.size()) {
    std::string_view e = text.substr(i + 1);
    const bool negative = e.starts_with('-');
    if (e.starts_with('+') || e.starts_with('-')) e.remove_prefix(1);
    for (char c : e) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
    if (negative) exponent = -exponent;
  }
  return place + exponent >= 0 ? "is out of range: too large (beyond 1.8e308)"
                               : "is out of range: too small (between 0 and 2.2e-308)";
}

// Reads a row cell by cell; the first fault found is kept.
class Reader {
 public:
  explicit Reader(const CaseCells& cells) : cells_(cells) {}

  std::string_view Cell(CaseField f) const { return cells_[static_cast<size_t>(f)]; }
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

  void Fail(CaseField f, const std::string& what) {
    if (error_.empty()) error_ = std::string(CaseFieldName(f)) + ": " + what;
  }

  // A value the sheet reads: numeric or empty (the sheet then names it), never words.
  std::string Number(CaseField f) {
    const std::string_view text = Cell(f);
    // A comma typed for the decimal point reads as one, as in every value box.
    const std::string number = DecimalPointText(Trimmed(text));
    if (number.empty()) return {};
    if (!IsNumericText(number))
      Fail(f, Quoted(Trimmed(text)) + " is not a number");
    else if (const std::string fault = RangeFault(number); !fault.empty())
      Fail(f, Quoted(Trimmed(text)) + " " + fault);
    return number;
  }

  std::optional<int> Unit(CaseField f, UnitList list) {
    const std::string_view text = Trimmed(Cell(f));
    if (text.empty()) return std::nullopt;
    const auto position = FindUnit(list, text);
    if (!position) Fail(f, Quoted(text) + " is not one of " + UnitChoices(list));
    return position;
  }

 private:
  const CaseCells& cells_;
  std::string error_;
};

std::optional<int> WordIndex(const std::vector<std::string>& words, std::string_view text) {
  for (size_t i = 0; i < words.size(); ++i)
    if (SameWord(words[i], text)) return static_cast<int>(i);
  return std::nullopt;
}

// Whether the unknown is one this section's sheet can solve for; the message otherwise.
std::string UnknownFault(int position, CaseUnknown unknown) {
  const SectionKind section = SectionKindAt(position);
  switch (unknown) {
    case CaseUnknown::Diameter:
      if (section != SectionKind::Pipe)
        return "diameter applies to a pipe; use width for this section";
      break;
    case CaseUnknown::Width:
      if (section == SectionKind::Pipe) return "a pipe has no width; use diameter";
      if (section == SectionKind::Triangle) return "a triangle has no width";
      break;
    case CaseUnknown::SideSlope:
      if (!HasSideSlope(section)) return "this section has no side slope";
      break;
    default:
      break;
  }
  return {};
}

// The mode the row asks for: from the flow unit, else from the unknown, else from the
// other flow's unit, else the start sheet's.
bool ModeOf(Reader& r, CaseUnknown unknown, bool startMode, std::optional<int>& flowUnit) {
  std::optional<bool> mode;
  const std::string_view flowText = Trimmed(r.Cell(CaseField::FlowUnit));
  if (!flowText.empty()) {
    if ((flowUnit = FindUnit(UnitList::Velocity, flowText)))
      mode = true;
    else if ((flowUnit = FindUnit(UnitList::Discharge, flowText)))
      mode = false;
    else
      r.Fail(CaseField::FlowUnit, Quoted(flowText) + " is not a velocity or discharge unit");
  }
  if (unknown == CaseUnknown::Velocity || unknown == CaseUnknown::Discharge) {
    const bool wanted = unknown == CaseUnknown::Velocity;
    const char* kind = wanted ? "velocity" : "discharge";
    if (mode && *mode != wanted)
      r.Fail(CaseField::SolveFor,
             std::string(kind) + " needs a " + kind + " unit in flowUnit, not " + Quoted(flowText));
    mode = wanted;
  }
  if (mode) return *mode;
  // The other row holds whichever of velocity and discharge the first does not.
  const std::string_view otherText = Trimmed(r.Cell(CaseField::OtherFlowUnit));
  if (FindUnit(UnitList::Discharge, otherText)) return true;
  if (FindUnit(UnitList::Velocity, otherText)) return false;
  return startMode;
}

UnitList FlowList(bool velocity) { return velocity ? UnitList::Velocity : UnitList::Discharge; }

}  // namespace

const char* CaseFieldName(CaseField field) { return kFieldNames[static_cast<size_t>(field)]; }

const std::vector<std::string>& CaseSectionWords() {
  static const std::vector<std::string> words{"pipe", "rectangle", "triangle", "trapezoid",
                                              "gutter"};
  return words;
}

const std::vector<std::string>& CaseUnknownWords() {
  static const std::vector<std::string> words{"velocity", "discharge", "depth", "diameter",
                                              "width",    "sideSlope", "slope", "manningsN"};
  return words;
}

ParsedCase ParseCase(const CaseCells& cells, bool startVelocityMode) {
  Reader r(cells);
  CaseInput c;

  const std::string_view sectionText = Trimmed(r.Cell(CaseField::Section));
  auto section = WordIndex(CaseSectionWords(), sectionText);
  if (!section) section = WordIndex(SectionNames(), sectionText);
  if (!section) {
    r.Fail(CaseField::Section,
           (sectionText.empty() ? std::string("empty") : Quoted(sectionText) + " is not") +
               " one of " + Joined(CaseSectionWords()));
    return {std::nullopt, r.Error()};
  }
  c.section = *section;

  const std::string_view unknownText = Trimmed(r.Cell(CaseField::SolveFor));
  const auto unknown = WordIndex(CaseUnknownWords(), unknownText);
  if (!unknown) {
    r.Fail(CaseField::SolveFor,
           (unknownText.empty() ? std::string("empty") : Quoted(unknownText) + " is not") +
               " one of " + Joined(CaseUnknownWords()));
    return {std::nullopt, r.Error()};
  }
  c.unknown = static_cast<CaseUnknown>(*unknown);
  if (const std::string fault = UnknownFault(c.section, c.unknown); !fault.empty())
    r.Fail(CaseField::SolveFor, fault);

  const std::string_view fullText = Trimmed(r.Cell(CaseField::RunningFull));
  if (SameWord(fullText, "true") || SameWord(fullText, "yes") || fullText == "1") {
    c.runningFull = true;
    if (!IsPipeSection(c.section))
      r.Fail(CaseField::RunningFull, "true applies to a pipe only");
    else if (c.unknown == CaseUnknown::Depth)
      r.Fail(CaseField::RunningFull,
             "a pipe running full has the depth of its diameter; solve for another value");
  } else if (!fullText.empty() && !SameWord(fullText, "false") && !SameWord(fullText, "no") &&
             fullText != "0") {
    r.Fail(CaseField::RunningFull, Quoted(fullText) + " is not true or false");
  }

  const bool flowUnknown =
      c.unknown == CaseUnknown::Velocity || c.unknown == CaseUnknown::Discharge;
  c.velocityMode = ModeOf(r, c.unknown, startVelocityMode, c.flowUnit);
  c.otherFlowUnit = r.Unit(CaseField::OtherFlowUnit, FlowList(!c.velocityMode));
  c.altFlowUnit = r.Unit(CaseField::AltFlowUnit, FlowList(!c.velocityMode));
  if (!flowUnknown) c.flow = r.Number(CaseField::Flow);

  // The unknown's own cell and cells the section has no box for are not read.
  const bool hasWidth = SectionKindAt(c.section) != SectionKind::Triangle;
  const bool hasSide = HasSideSlope(SectionKindAt(c.section));
  if (c.unknown != CaseUnknown::Depth && !c.runningFull) c.depth = r.Number(CaseField::Depth);
  if (!c.runningFull) c.depthUnit = r.Unit(CaseField::DepthUnit, UnitList::Length);
  const bool widthUnknown = c.unknown == CaseUnknown::Diameter || c.unknown == CaseUnknown::Width;
  if (hasWidth && !widthUnknown) c.width = r.Number(CaseField::Width);
  if (hasWidth) c.widthUnit = r.Unit(CaseField::WidthUnit, UnitList::Length);
  if (hasSide && c.unknown != CaseUnknown::SideSlope) c.sideSlope = r.Number(CaseField::SideSlope);
  if (hasSide) c.sideSlopeUnit = r.Unit(CaseField::SideSlopeUnit, UnitList::SideSlope);
  if (c.unknown != CaseUnknown::Slope) c.slope = r.Number(CaseField::Slope);
  c.slopeUnit = r.Unit(CaseField::SlopeUnit, UnitList::Slope);
  if (c.unknown != CaseUnknown::ManningsN) c.manningsN = r.Number(CaseField::ManningsN);

  c.areaUnit = r.Unit(CaseField::AreaUnit, UnitList::Area);
  // A rectangle and a triangle have no alternate; their row keeps the last section's list.
  if (IsPipeSection(c.section) || AltIsSideSlope(c.section))
    c.altValueUnit = r.Unit(CaseField::AltValueUnit,
                            AltIsSideSlope(c.section) ? UnitList::SideSlope : UnitList::Length);
  c.altAreaUnit = r.Unit(CaseField::AltAreaUnit, UnitList::Area);
  if (r.Failed()) return {std::nullopt, r.Error()};
  return {std::move(c), {}};
}

}  // namespace rivulet
