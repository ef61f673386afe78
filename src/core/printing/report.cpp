#include "core/printing/report.h"

#include <sstream>

#include "core/printing/report_text.h"
#include "core/shell/app_texts.h"
#include "core/shell/utf8_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {
namespace {

const std::string kMargin(kReportMargin, ' ');

constexpr char kDisclaimerText[] =
    "Tarn makes no warranty or guarantee, expressed or implied, as to the accuracy, "
    "reliability, suitability, functioning, or results derived from the use of this program "
    "and of the values it reports.  Nor shall the fact of distribution or sale of the program "
    "constitute any such warranty or guarantee.  No responsibility or liability is assumed by "
    "Tarn in connection therewith.  Every result should be checked by a qualified engineer "
    "against the conditions of the site before it is used for design, for construction or for "
    "any other purpose.";

// The text, then blanks up to width characters (none when it is as wide or wider), as
// PadRight gives it, added to line without a string of its own.
void AppendPadded(std::string& line, std::string_view text, size_t width) {
  const size_t w = CharacterCount(text);
  line.append(text);
  if (w < width) line.append(width - w, ' ');
}

// "(X)  CAPTION   VALUE   UNIT" made in line: a report has ten of them.
void Row(std::string& line, bool selected, const std::string& caption, std::string_view value,
         const ComboBox& unit) {
  line.assign(kMargin).append(selected ? "(X)  " : "( )  ");
  AppendPadded(line, caption, 19);
  AppendPadded(line, value, 22);
  line.append(unit.Text());
}

void InputRow(std::string& line, const OptionButton& option, const TextBox& value,
              const ComboBox& unit, bool naWhenEmpty) {
  const std::string_view text =
      naWhenEmpty && value.Text().empty() ? std::string_view("N/A") : value.Text();
  Row(line, option.Value(), option.Caption(), text, unit);
}

void ResultRow(std::string& line, const Label& label, const TextBox& value, const ComboBox& unit) {
  Row(line, true, label.Caption(), value.Text(), unit);
}

// Words spread over lines of exactly `width` characters by doubling blanks between words;
// the last line is padded at its end.
std::vector<std::string> Justify(const std::string& text, size_t width) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> current;
  size_t length = 0;
  for (const std::string& w : words) {
    const size_t next = current.empty() ? w.size() : length + 1 + w.size();
    if (!current.empty() && next > width) {
      lines.push_back(current);
      current.clear();
      length = w.size();
    } else {
      length = next;
    }
    current.push_back(w);
  }
  if (!current.empty()) lines.push_back(current);

  std::vector<std::string> out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& ws = lines[i];
    size_t chars = 0;
    for (const auto& w : ws) chars += w.size();
    std::string line = ws[0];
    if (i + 1 == lines.size() || ws.size() == 1) {
      for (size_t k = 1; k < ws.size(); ++k) line += " " + ws[k];
      out.push_back(PadRight(line, width));
      continue;
    }
    const size_t gaps = ws.size() - 1;
    const size_t blanks = width - chars;
    for (size_t k = 1; k < ws.size(); ++k) {
      // Wider gaps first, so the doubled blanks sit towards the left.
      const size_t gap = blanks / gaps + (k - 1 < blanks % gaps ? 1 : 0);
      line += std::string(gap, ' ') + ws[k];
    }
    out.push_back(line);
  }
  return out;
}

// Words on lines of at most width characters, ragged on the right.
std::vector<std::string> WordWrap(const std::string& text, size_t width) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  std::string line;
  for (std::string w; in >> w;) {
    if (!line.empty() && CharacterCount(line) + 1 + CharacterCount(w) > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + w;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

const std::vector<std::string>& DisclaimerLines() {
  static const std::vector<std::string> lines = Justify(kDisclaimerText, kReportBodyWidth);
  return lines;
}

namespace {

// The lines every report shares, made once: a batch run writes thousands of reports.
struct FixedLines {
  std::vector<std::string> makers;  // the two lines after the version
  std::vector<std::string> after;   // from the rule under the status to "Comments:"
  std::string blank = " ";
  std::string ruleEquals = ReportRule('=');
  std::string ruleDash = ReportRule('-');
};

const FixedLines& Fixed() {
  static const FixedLines fixed = [] {
    FixedLines f;
    const std::string phone = std::string("Tel: ") + kMakerPhone;
    f.makers = {kMargin + PadRight(kMakerName, kReportBodyWidth - CharacterCount(phone)) + phone,
                kMargin + PadRight(kMakerWeb, kReportBodyWidth - CharacterCount(kMakerEmail)) +
                    kMakerEmail};
    const int width = kReportMargin + kReportBodyWidth;
    f.after = {f.ruleEquals, f.blank, PadRight(kMargin + "(X)  Denotes calculated values", width),
               f.blank,      f.blank, PadRight(kMargin + "Disclaimer:", width),
               f.blank};
    for (const std::string& line : DisclaimerLines()) f.after.push_back(kMargin + line);
    for (const std::string& line :
         {f.blank, f.blank, PadRight(kMargin + "Comments:", width), f.blank})
      f.after.push_back(line);
    return f;
  }();
  return fixed;
}

// The report's lines in order, each handed to emit as it is made; line is room to make
// them in, reused from line to line.
template <class Emit>
void EmitReport(frmRivulet& form, const ReportExtras& extras, Emit&& emit) {
  const FixedLines& fixed = Fixed();
  const std::string& blank = fixed.blank;
  std::string line;
  for (int i = 0; i < 3; ++i) emit(blank);
  emit(line.assign(kMargin).append(kProductName));
  emit(line.assign(kMargin).append("Version ").append(form.Startup().version));
  emit(blank);
  for (const std::string& l : fixed.makers) emit(l);
  emit(blank);
  emit(fixed.ruleEquals);
  emit(line.assign("               Channel Section    ").append(form.cboSection.Text()));
  emit(fixed.ruleDash);
  InputRow(line, form.optVelDis1, form.txtVelDis1, form.cboVelDis1, false);
  emit(line);
  InputRow(line, form.optDepth, form.txtDepth, form.cboDepth, false);
  emit(line);
  InputRow(line, form.optDiam, form.txtDiam, form.cboDiam, true);
  emit(line);
  InputRow(line, form.optSide, form.txtSide, form.cboSide, true);
  emit(line);
  InputRow(line, form.optSlope, form.txtSlope, form.cboSlope, false);
  emit(line);
  emit(line.assign(kMargin)
           .append(form.optManning.Value() ? "(X)" : "( )")
           .append("  Manning's N        ")
           .append(form.txtManning.Text()));
  emit(fixed.ruleDash);
  ResultRow(line, form.lblVelDis2, form.txtVelDis2, form.cboVelDis2);
  emit(line);
  ResultRow(line, form.lblArea, form.txtArea, form.cboArea);
  emit(line);
  ResultRow(line, form.lblDDS, form.txtDDS, form.cboDDS);
  emit(line);
  ResultRow(line, form.lblVelDis3, form.txtVelDis3, form.cboVelDis3);
  emit(line);
  ResultRow(line, form.lblArea2, form.txtArea2, form.cboArea2);
  emit(line);
  emit(fixed.ruleDash);
  // The status sits under the values when it fits; a longer one closes up to stay within
  // the 70 columns.
  const std::string& status = form.txtStatus.Text();
  const size_t len = CharacterCount(status);
  const size_t gap = len <= 36 ? 13 : len >= 47 ? 2 : 47 - len;
  emit(line.assign("               Status").append(gap, ' ').append(status));
  // The results of a surcharged pipe are those of the pipe running full: the page says so.
  if (const auto s = SurchargeOf(form)) {
    for (const std::string& l : WordWrap(SurchargeSentence(*s), kReportBodyWidth - 5))
      emit(line.assign(15, ' ').append(l));
  }
  for (const std::string& l : fixed.after) emit(l);
  for (const std::string& c : extras.comments) emit(line.assign(kMargin).append(c));
  emit(blank);
  emit(fixed.ruleEquals);
  if (extras.printFileName) emit(line.assign(kMargin).append(form.currentFilePath));
}

}  // namespace

std::vector<std::string> ReportLines(frmRivulet& form, const ReportExtras& extras) {
  std::vector<std::string> r;
  r.reserve(64);
  EmitReport(form, extras, [&r](const std::string& line) { r.push_back(line); });
  return r;
}

void AppendReportText(frmRivulet& form, const ReportExtras& extras, std::string& text) {
  EmitReport(form, extras, [&text](const std::string& line) { text.append(line).push_back('\n'); });
}

}  // namespace rivulet
