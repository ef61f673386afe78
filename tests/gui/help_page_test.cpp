// The help page must keep up with the program: every menu item of the main window is in its
// menus table, and every report excerpt and worked number in it is what --report prints.
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "core/batch/batch.h"
#include "core/shell/number_text.h"
#include "core/worksheets/kinds.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/source_dir.h"
#include "support/temp_program_folder.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

const std::string kSourceDir = SourceDir().string();

std::string HelpPage() {
  std::ifstream in(kSourceDir + "/resources/RVHELP/RVHELP.HTM", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The entities the page uses in text that is compared; others stay as they are.
std::string DecodeEntities(const std::string& html) {
  static const std::map<std::string, std::string> kNamed = {
      {"amp", "&"},        {"lt", "<"},          {"gt", ">"},          {"quot", "\""},
      {"nbsp", " "},       {"rsaquo", "\u203a"}, {"permil", "\u2030"}, {"minus", "\u2212"},
      {"times", "\u00d7"}, {"deg", "\u00b0"}};
  std::string out;
  for (size_t i = 0; i < html.size(); ++i) {
    const size_t end = html[i] == '&' ? html.find(';', i) : std::string::npos;
    if (end != std::string::npos && end - i < 10) {
      const auto named = kNamed.find(html.substr(i + 1, end - i - 1));
      if (named != kNamed.end()) {
        out += named->second;
        i = end;
        continue;
      }
    }
    out += html[i];
  }
  return out;
}

// A tag becomes a space, so that the cells of a table row stay apart.
std::string StripTags(const std::string& html) {
  std::string out;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) out += c;
    if (c == '>') {
      inTag = false;
      out += ' ';
    }
  }
  return out;
}

std::string CollapseSpaces(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool space = std::isspace(static_cast<unsigned char>(c));
    if (space && (out.empty() || out.back() == ' ')) continue;
    out += space ? ' ' : c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// An element of the page with its attributes and the text inside it.
struct Element {
  std::string file;
  std::string label;
  std::string text;
};

std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string key = " " + name + "=\"";
  const size_t at = tag.find(key);
  if (at == std::string::npos) return "";
  const size_t from = at + key.size();
  return tag.substr(from, tag.find('"', from) - from);
}

// Every <name class="cls" ...>...</name> of the page, in order.
std::vector<Element> ElementsOf(const std::string& html, const std::string& name,
                                const std::string& cls) {
  std::vector<Element> found;
  const std::string open = "<" + name + " class=\"" + cls + "\"";
  const std::string close = "</" + name + ">";
  for (size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
    const size_t tagEnd = html.find('>', at);
    const size_t end = html.find(close, tagEnd);
    if (tagEnd == std::string::npos || end == std::string::npos) break;
    const std::string tag = html.substr(at, tagEnd - at);
    found.push_back({Attribute(tag, "data-file"), Attribute(tag, "data-label"),
                     DecodeEntities(StripTags(html.substr(tagEnd + 1, end - tagEnd - 1)))});
  }
  return found;
}

// The report with flow details that --report --details prints for an example file, as
// trimmed lines; built-in defaults, whatever defaults file the machine has.
std::vector<std::string> ReportLinesOf(const std::string& file) {
  static std::map<std::string, std::vector<std::string>> cache;
  auto [it, added] = cache.try_emplace(file);
  if (added) {
    std::ostringstream out, err;
    const TempProgramFolder programFolder;
    RunBatch({kSourceDir + "/examples/" + file}, programFolder.Startup(),
             BatchOutput::ReportsWithDetails, out, err);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) it->second.push_back(Trim(line));
  }
  return it->second;
}

// The number a report line gives for the label ("(X)  Depth  350.19915079063  mm" or
// "Froude Number       0.886342133597033"); none when no line has a number for it.
std::optional<std::string> ReportedNumber(const std::vector<std::string>& lines,
                                          const std::string& label) {
  for (std::string line : lines) {
    if (line.rfind("(X)  ", 0) == 0 || line.rfind("( )  ", 0) == 0) line = line.substr(5);
    if (line.rfind(label + " ", 0) != 0) continue;
    std::istringstream rest(line.substr(label.size()));
    std::string token;
    rest >> token;
    if (IsNumericText(token)) return token;
  }
  return std::nullopt;
}

void CheckMenuCaptions(const QList<QAction*>& actions, const std::string& path,
                       const std::string& table, std::vector<std::string>& missing) {
  for (QAction* action : actions) {
    // The recent files are the user's, not commands to describe.
    if (action->isSeparator() || action->objectName().startsWith("mnuRecent")) continue;
    std::string caption = CollapseSpaces(
        action->text().replace("&&", "\x01").remove('&').replace("\x01", "&").toStdString());
    const std::string where = path.empty() ? caption : path + " \u203a " + caption;
    size_t at = table.find(caption);
    // A caption counts as a whole phrase, not as part of a longer word.
    auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    while (at != std::string::npos &&
           ((at > 0 && isWordChar(table[at - 1])) ||
            (at + caption.size() < table.size() && isWordChar(table[at + caption.size()]))))
      at = table.find(caption, at + 1);
    if (at == std::string::npos) missing.push_back(where);
    if (action->menu()) CheckMenuCaptions(action->menu()->actions(), where, table, missing);
  }
}

TEST_F(ViewTest, EveryMenuItemIsInTheHelpPagesMenusTable) {
  const std::string html = HelpPage();
  const size_t from = html.find("<h3 id=\"menus\">");
  ASSERT_NE(from, std::string::npos) << "the help page has no menus section";
  const size_t to = html.find("<h", from + 4);
  const std::string table = CollapseSpaces(DecodeEntities(StripTags(html.substr(from, to - from))));

  std::vector<std::string> missing;
  // The program adds the worksheets' menu to the window after building it.
  SharedPrinter printer;
  AddToolsMenu(*view, BuiltInKinds(), services, printer);
  const QList<QAction*> top = view->menuBar()->actions();
  ASSERT_GE(top.size(), 6);
  CheckMenuCaptions(top, "", table, missing);
  for (const std::string& item : missing)
    ADD_FAILURE() << "menu item \"" << item
                  << "\" is not in the help page's menus table (RVHELP.HTM, id=\"menus\")";
}

TEST(HelpPage, ReportExcerptsAreWhatTheProgramPrints) {
  const std::vector<Element> excerpts = ElementsOf(HelpPage(), "pre", "report");
  ASSERT_GE(excerpts.size(), 7u);
  for (const Element& excerpt : excerpts) {
    const std::vector<std::string> report = ReportLinesOf(excerpt.file);
    ASSERT_GT(report.size(), 20u) << excerpt.file << " gave no report";
    std::istringstream lines(excerpt.text);
    for (std::string line; std::getline(lines, line);) {
      line = Trim(line);
      if (line.empty()) continue;
      EXPECT_NE(std::find(report.begin(), report.end(), line), report.end())
          << excerpt.file << ": the help page shows \"" << line
          << "\", which its report does not print";
    }
  }
}

TEST(HelpPage, WorkedNumbersAreTheProgramsRounded) {
  const std::vector<Element> numbers = ElementsOf(HelpPage(), "span", "worked");
  ASSERT_GE(numbers.size(), 8u);
  for (const Element& shown : numbers) {
    SCOPED_TRACE(shown.file + ", " + shown.label + " " + shown.text);
    ASSERT_TRUE(IsNumericText(shown.text));
    const auto reported = ReportedNumber(ReportLinesOf(shown.file), shown.label);
    ASSERT_TRUE(reported.has_value()) << "the report has no number for the label";
    // The page rounds to the decimals it shows; the program's number, so rounded, must agree.
    const size_t point = shown.text.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(shown.text.size() - point - 1);
    const double scale = std::pow(10.0, decimals);
    EXPECT_EQ(std::round(ReadNumber(*reported) * scale), std::round(ReadNumber(shown.text) * scale))
        << "the report prints " << *reported;
  }
}

}  // namespace
}  // namespace rivulet
