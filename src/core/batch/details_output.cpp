#include "core/batch/details_output.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "core/design/sheet_design.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/section_kind.h"
#include "core/hydraulics/units.h"
#include "core/printing/report.h"
#include "core/shell/number_text.h"
#include "core/shell/rounded_number.h"
#include "core/shell/utf8_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {
namespace {

const std::string kMargin(kReportMargin, ' ');
constexpr size_t kLabelWidth = 20;
constexpr size_t kValueWidth = 21;
constexpr size_t kIndent = 5;

// Words on lines of at most the body's width less the indent.
std::vector<std::string> Wrap(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  std::string line;
  const size_t width = kReportBodyWidth - kIndent;
  for (std::string w; in >> w;) {
    if (!line.empty() && line.size() + 1 + w.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + w;
  }
  if (!line.empty()) lines.push_back(line);
  for (std::string& l : lines) l = kMargin + std::string(kIndent, ' ') + l;
  return lines;
}

void AddSolution(std::vector<std::string>& out, const DetailsTable& table, bool alternate,
                 int digits) {
  for (const DetailRow& row : table.rows) {
    const DetailCell& cell = alternate ? row.alternate : row.primary;
    const std::string text =
        digits > 0 && cell.value ? RoundedNumber(*cell.value, digits) : cell.text;
    out.push_back(
        kMargin + std::string(kIndent, ' ') + PadRight(row.label, kLabelWidth, 1) +
        (row.unit.empty() || !cell.value ? text : PadRight(text, kValueWidth, 1) + row.unit));
  }
  const std::string& note = alternate ? table.alternateNote : table.primaryNote;
  if (!note.empty()) {
    out.push_back(" ");
    for (std::string& l : Wrap(note)) out.push_back(std::move(l));
  }
}

// ---- JSON ----

std::string Quote(const std::string& text) {
  std::string s = "\"";
  // JSON is UTF-8: a file name in another encoding must not make the line unreadable.
  for (unsigned char c : ValidUtf8(text)) {
    switch (c) {
      case '"':
        s += "\\\"";
        break;
      case '\\':
        s += "\\\\";
        break;
      case '\n':
        s += "\\n";
        break;
      case '\r':
        s += "\\r";
        break;
      case '\t':
        s += "\\t";
        break;
      default:
        if (c < 0x20) {
          const char* hex = "0123456789abcdef";
          s += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
        } else {
          s += static_cast<char>(c);
        }
    }
  }
  return s + "\"";
}

// The shortest text that reads back as the same double; JSON has no infinities.
std::string JsonNumber(const std::optional<double>& v) {
  if (!v || !std::isfinite(*v)) return "null";
  return ShortestChars(*v);
}

// The member names of the sheet's rows. Scripts key on them, so they are fixed here, one
// entry per row and meaning, and never made from a caption that may be reworded.
struct RowKeys {
  const char* first;   // velocity in row 1; a pipe; an alternate depth
  const char* second;  // discharge in row 1; any other section; an alternate side slope
  const char* third;   // an alternate diameter
};
constexpr RowKeys kFlowKeys{"velocity", "discharge", nullptr};
constexpr RowKeys kOtherFlowKeys{"discharge", "velocity", nullptr};
constexpr RowKeys kDiameterKeys{"diameter", "width", nullptr};
constexpr RowKeys kAltValueKeys{"altDepth", "altSideSlope", "altDiameter"};
constexpr RowKeys kAltFlowKeys{"altDischarge", "altVelocity", nullptr};
constexpr char kDepthKey[] = "depth";
constexpr char kSideSlopeKey[] = "sideSlope";
constexpr char kSlopeKey[] = "channelSlope";
constexpr char kManningKey[] = "manningsN";
constexpr char kAreaKey[] = "flowArea";
constexpr char kAltAreaKey[] = "altFlowArea";

// The alternate row holds a depth, a side slope or a diameter; its label says which.
const char* AltValueKey(const frmRivulet& form) {
  const std::string& caption = form.lblDDS.Caption();
  if (caption == "Alt. Side Slope") return kAltValueKeys.second;
  if (caption == "Alt. Diameter") return kAltValueKeys.third;
  return kAltValueKeys.first;
}

// The member name of an input row by its option button.
const char* InputKey(const frmRivulet& form, const OptionButton& option) {
  if (&option == &form.optVelDis1) return form.VelocityGiven() ? kFlowKeys.first : kFlowKeys.second;
  if (&option == &form.optDepth) return kDepthKey;
  if (&option == &form.optDiam)
    return form.cboSection.ListIndex() == ListPosition(SectionKind::Pipe) ? kDiameterKeys.first
                                                                          : kDiameterKeys.second;
  if (&option == &form.optSide) return kSideSlopeKey;
  if (&option == &form.optSlope) return kSlopeKey;
  return kManningKey;
}

std::string Field(const std::optional<double>& value, const std::string& unit,
                  const std::string& text) {
  return "{\"value\":" + JsonNumber(value) + ",\"unit\":" + Quote(unit) +
         ",\"text\":" + Quote(text) + "}";
}

std::string SheetField(const TextBox& box, const std::string& unit) {
  const std::string& text = box.Text();
  return Field(IsNumberBeingTyped(text) ? std::optional(ReadNumber(text)) : std::nullopt, unit,
               text);
}

std::string Object(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string s = "{";
  for (const auto& [key, value] : members) {
    if (s.size() > 1) s += ",";
    s += Quote(key) + ":" + value;
  }
  return s + "}";
}

std::string DetailsJson(const DetailsTable& table, bool alternate) {
  std::vector<std::pair<std::string, std::string>> members;
  for (const DetailRow& row : table.rows) {
    const DetailCell& cell = alternate ? row.alternate : row.primary;
    members.emplace_back(row.key, Field(cell.value, cell.value ? row.unit : "", cell.text));
  }
  const std::string& note = alternate ? table.alternateNote : table.primaryNote;
  if (!note.empty()) members.emplace_back("pipeCapacity", Quote(note));
  return Object(members);
}

std::string DesignMember(const frmRivulet& form, const DesignSettings* settings) {
  if (!settings) return "null";
  const auto d = DesignOfSheet(form, *settings);
  return d ? DesignJson(*d) : "null";
}

}  // namespace

std::vector<std::string> DetailsReportLines(const frmRivulet& form, const DesignSettings* design,
                                            int digits) {
  const DetailsTable table = FlowDetailsTable(form);
  std::vector<std::string> out{" ", ReportRule('='),
                               kMargin + std::string(kIndent, ' ') + "Flow Details"};
  out.push_back(ReportRule('-'));
  if (table.state == DetailsState::Empty) {
    out.push_back(kMargin + std::string(kIndent, ' ') + "None: no completed calculation.");
    out.push_back(ReportRule('='));
    return out;
  }
  if (table.state == DetailsState::Stale) {
    out.push_back(kMargin + std::string(kIndent, ' ') + "Out of date: " + kStatusModified);
    out.push_back(ReportRule('-'));
  }
  AddSolution(out, table, false, digits);
  if (table.hasAlternate) {
    out.push_back(ReportRule('-'));
    out.push_back(kMargin + std::string(kIndent, ' ') + "Alternate Solution (" +
                  form.lblDDS.Caption() + ")");
    out.push_back(ReportRule('-'));
    AddSolution(out, table, true, digits);
  }
  if (design) {
    if (const auto d = DesignOfSheet(form, *design)) {
      out.push_back(ReportRule('-'));
      for (const std::string& l : DesignReportLines(*d, kReportBodyWidth))
        out.push_back(kMargin + l);
    }
  }
  out.push_back(ReportRule('='));
  return out;
}

std::string CalculationJson(const frmRivulet& form, const std::string& file,
                            const DesignSettings* design) {
  const OptionButton* solved = form.solveFor.Selected();
  struct Input {
    const OptionButton& option;
    const TextBox& value;
    const ComboBox* unit;
  };
  const Input inputs[] = {{form.optVelDis1, form.txtVelDis1, &form.cboVelDis1},
                          {form.optDepth, form.txtDepth, &form.cboDepth},
                          {form.optDiam, form.txtDiam, &form.cboDiam},
                          {form.optSide, form.txtSide, &form.cboSide},
                          {form.optSlope, form.txtSlope, &form.cboSlope},
                          {form.optManning, form.txtManning, nullptr}};
  std::vector<std::pair<std::string, std::string>> in;
  for (const Input& i : inputs)
    in.emplace_back(InputKey(form, i.option), SheetField(i.value, i.unit ? i.unit->Text() : ""));
  struct Result {
    const char* key;
    const TextBox& value;
    const ComboBox& unit;
  };
  const bool velocity = form.VelocityGiven();
  const Result results[] = {
      {velocity ? kOtherFlowKeys.first : kOtherFlowKeys.second, form.txtVelDis2, form.cboVelDis2},
      {kAreaKey, form.txtArea, form.cboArea},
      {AltValueKey(form), form.txtDDS, form.cboDDS},
      {velocity ? kAltFlowKeys.first : kAltFlowKeys.second, form.txtVelDis3, form.cboVelDis3},
      {kAltAreaKey, form.txtArea2, form.cboArea2}};
  std::vector<std::pair<std::string, std::string>> out;
  for (const Result& r : results) out.emplace_back(r.key, SheetField(r.value, r.unit.Text()));

  const DetailsTable table = FlowDetailsTable(form);
  const char* state = table.state == DetailsState::Current ? "current"
                      : table.state == DetailsState::Stale ? "stale"
                                                           : "none";
  std::string details = "null";
  if (table.state != DetailsState::Empty) {
    details = Object({{"state", Quote(state)},
                      {"primary", DetailsJson(table, false)},
                      {"alternate", table.hasAlternate ? DetailsJson(table, true) : "null"}});
  }
  std::vector<std::pair<std::string, std::string>> members{
      {"file", Quote(file)},
      {"status", Quote(form.txtStatus.Text())},
      {"section", Quote(form.cboSection.Text())},
      {"solvedFor", solved ? Quote(InputKey(form, *solved)) : "null"},
      {"inputs", Object(in)},
      {"results", Object(out)},
      {"details", details}};
  // Above a pipe's part-full capacity the sheet shows the pipe running full; what was asked
  // for stays beside it, in the unit it was asked in.
  if (const auto& solve = form.LastSolve()) {
    const int unit = form.cboVelDis1.ListIndex();
    auto asked = [&](const char* key, double value, bool velocity) {
      std::optional<double> shown;
      try {
        shown = velocity ? ConvertVelocity(value, unit, kFromBase)
                         : ConvertDischarge(value, unit, kFromBase);
      } catch (const ArithmeticFault&) {
      }
      members.emplace_back(key,
                           Field(shown, form.cboVelDis1.Text(), shown ? FormatNumber(*shown) : ""));
    };
    if (solve->requestedDischarge) asked("requestedDischarge", *solve->requestedDischarge, false);
    if (solve->requestedVelocity) asked("requestedVelocity", *solve->requestedVelocity, true);
    if (const auto full = RunningFullCapacity(form)) {
      members.emplace_back("fullFlowCapacity",
                           Field(full->capacity, full->unit, FormatNumber(full->capacity)));
      members.emplace_back("capacityRatio", JsonNumber(full->ratio));
    }
  }
  members.emplace_back("surcharged", table.surcharged ? "true" : "false");
  members.emplace_back("design", DesignMember(form, design));
  return Object(members);
}

}  // namespace rivulet
