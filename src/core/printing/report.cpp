#include "core/printing/report.h"

#include <sstream>

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

// "(X)  CAPTION   VALUE   UNIT" made in one string: a report has ten of them.
std::string Row(bool selected, const std::string& caption, std::string_view value,
                const ComboBox& unit) {
  std::string line;
  line.reserve(80);
  line.append(kMargin).append(selected ? "(X)  " : "( )  ");
  AppendPadded(line, caption, 19);
  AppendPadded(line, value, 22);
  line.append(unit.Text());
  return line;
}

std::string InputRow(const OptionButton& option, const TextBox& value, const ComboBox& unit,
                     bool naWhenEmpty) {
  const std::string_view text =
      naWhenEmpty && value.Text().empty() ? std::string_view("N/A") : value.Text();
  return Row(option.Value(), option.Caption(), text, unit);
}

std::string ResultRow(const Label& label, const TextBox& value, const ComboBox& unit) {
  return Row(true, label.Caption(), value.Text(), unit);
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

}  // namespace

std::vector<std::string> ReportLines(frmRivulet& form, const ReportExtras& extras) {
  const FixedLines& fixed = Fixed();
  const std::string& blank = fixed.blank;
  std::vector<std::string> r;
  r.reserve(64);
  for (const std::string& line : {blank, blank, blank}) r.push_back(line);
  r.push_back(kMargin + kProductName);
  r.push_back(kMargin + "Version " + form.Startup().version);
  r.push_back(blank);
  for (const std::string& line : fixed.makers) r.push_back(line);
  r.push_back(blank);
  r.push_back(fixed.ruleEquals);
  r.push_back("               Channel Section    " + form.cboSection.Text());
  r.push_back(fixed.ruleDash);
  r.push_back(InputRow(form.optVelDis1, form.txtVelDis1, form.cboVelDis1, false));
  r.push_back(InputRow(form.optDepth, form.txtDepth, form.cboDepth, false));
  r.push_back(InputRow(form.optDiam, form.txtDiam, form.cboDiam, true));
  r.push_back(InputRow(form.optSide, form.txtSide, form.cboSide, true));
  r.push_back(InputRow(form.optSlope, form.txtSlope, form.cboSlope, false));
  r.push_back(kMargin + "(" + (form.optManning.Value() ? "X" : " ") + ")  Manning's N        " +
              form.txtManning.Text());
  r.push_back(fixed.ruleDash);
  r.push_back(ResultRow(form.lblVelDis2, form.txtVelDis2, form.cboVelDis2));
  r.push_back(ResultRow(form.lblArea, form.txtArea, form.cboArea));
  r.push_back(ResultRow(form.lblDDS, form.txtDDS, form.cboDDS));
  r.push_back(ResultRow(form.lblVelDis3, form.txtVelDis3, form.cboVelDis3));
  r.push_back(ResultRow(form.lblArea2, form.txtArea2, form.cboArea2));
  r.push_back(fixed.ruleDash);
  // The status sits under the values when it fits; a longer one closes up to stay within
  // the 70 columns.
  const std::string& status = form.txtStatus.Text();
  const size_t len = CharacterCount(status);
  const size_t gap = len <= 36 ? 13 : len >= 47 ? 2 : 47 - len;
  r.push_back("               Status" + std::string(gap, ' ') + status);
  // The results of a surcharged pipe are those of the pipe running full: the page says so.
  if (const auto s = SurchargeOf(form)) {
    const std::string indent(15, ' ');
    for (const std::string& line : WordWrap(SurchargeSentence(*s), kReportBodyWidth - 5))
      r.push_back(indent + line);
  }
  for (const std::string& line : fixed.after) r.push_back(line);
  for (const std::string& c : extras.comments) r.push_back(kMargin + c);
  r.push_back(blank);
  r.push_back(fixed.ruleEquals);
  if (extras.printFileName) r.push_back(kMargin + form.currentFilePath);
  return r;
}

}  // namespace rivulet
