// What every kind of worksheet must come with: an example, its section of the help page, its
// line in the manual page, a fuzz seed, --json and report naming its results, and a file
// that reads back as it was saved. A kind added without one of them fails here by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/worksheets/document.h"
#include "core/worksheets/kinds.h"
#include "core/worksheets/worksheet_json.h"
#include "core/worksheets/worksheet_model.h"
#include "core/worksheets/worksheet_report.h"
#include "support/example_files.h"
#include "support/temp_folder.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Words of a text joined by single blanks: a manual page breaks its lines anywhere.
std::string Words(const std::string& text) {
  std::istringstream in(text);
  std::string joined, word;
  while (in >> word) joined += word + " ";
  return joined;
}

// The worksheets of that kind among the folder's files, read as the program reads them.
std::vector<std::pair<std::string, Document>> FilesOfKind(const fs::path& folder,
                                                          const std::string& kind) {
  std::vector<std::pair<std::string, Document>> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const WorksheetRead read = ReadWorksheetFile(entry.path().string());
    if (read.document && read.document->kind == kind)
      found.emplace_back(entry.path().string(), *read.document);
  }
  return found;
}

// Whether the example's --json names only results the kind declares, and its report labels
// each of them; "" or what is wrong.
std::string ResultsNamed(const WorksheetKind& kind, const std::string& file, const Document& d) {
  const SheetOutcome outcome = SolveWorksheet(kind, d);
  if (!outcome.ok) return file + " does not solve: " + outcome.message;
  const nlohmann::json json = nlohmann::json::parse(WorksheetJsonLine(file, d, outcome));
  const std::set<std::string> declared(kind.results.begin(), kind.results.end());
  std::string report;
  for (const std::string& line : WorksheetReportLines(kind, d, outcome, "")) report += line + " ";
  report = Words(report);
  std::string wrong;
  for (const NamedResult& r : outcome.results) {
    if (!declared.count(r.name)) wrong += " result \"" + r.name + "\" is not declared;";
    if (!json["results"].contains(r.name)) wrong += " --json lacks \"" + r.name + "\";";
    if (report.find(Words(r.label)) == std::string::npos)
      wrong += " the report lacks \"" + r.label + "\";";
  }
  return wrong.empty() ? "" : file + ":" + wrong;
}

// Whether the example saved and read back gives the same document; "" or what differs.
std::string RoundTrip(const WorksheetKind& kind, const std::string& file, const Document& d) {
  testing::TempFolder folder;
  WorksheetModel model(kind);
  if (const std::string refusal = model.Load(d, file); !refusal.empty())
    return file + " does not load: " + refusal;
  const std::string copy = (folder.path / "copy.rvw").string();
  if (!SaveWorksheetFile(model.ToDocument(), copy)) return file + " cannot be saved";
  const WorksheetRead back = ReadWorksheetFile(copy);
  if (!back.document) return file + " saved does not read back: " + back.message;
  WorksheetModel reopened(kind);
  reopened.Load(*back.document, copy);
  if (WorksheetText(reopened.ToDocument()) != WorksheetText(model.ToDocument()))
    return file + " reads back changed";
  return "";
}

// Everything the kind lacks, each said so that whoever adds a kind knows what to add.
std::vector<std::string> Missing(const WorksheetKind& kind) {
  const fs::path source = SourceDir();
  std::vector<std::string> missing;
  const auto examples = FilesOfKind(ExamplesFolder(), kind.name);
  if (examples.empty()) missing.push_back("an example in examples/ (a .rvw file of this kind)");
  const std::string help = FileText(source / "resources/RVHELP/RVHELP.HTM");
  if (kind.helpAnchor.empty() || help.find("id=\"" + kind.helpAnchor + "\"") == std::string::npos)
    missing.push_back("a section of resources/RVHELP/RVHELP.HTM with id=\"" + kind.helpAnchor +
                      "\" (the kind's helpAnchor)");
  const std::string man = Words(FileText(source / "packaging/rivulet.1.in"));
  if (man.find(Words(kind.title)) == std::string::npos ||
      man.find(" " + kind.name + " ") == std::string::npos)
    missing.push_back("its title \"" + kind.title + "\" and kind name \"" + kind.name +
                      "\" in the manual page packaging/rivulet.1.in");
  if (FilesOfKind(source / "fuzz/corpus/worksheet_file_fuzz", kind.name).empty())
    missing.push_back("a seed of this kind in fuzz/corpus/worksheet_file_fuzz/");
  if (kind.results.empty()) missing.push_back("the names of its results (WorksheetKind::results)");
  for (const auto& [file, document] : examples) {
    if (std::string wrong = ResultsNamed(kind, file, document); !wrong.empty())
      missing.push_back("results named as declared: " + wrong);
    if (std::string wrong = RoundTrip(kind, file, document); !wrong.empty())
      missing.push_back("a save/open round trip: " + wrong);
  }
  return missing;
}

TEST(WorksheetKindContract, EveryKindComesWithWhatUsersAndTestsNeed) {
  ASSERT_FALSE(BuiltInKinds().empty());
  std::set<std::string> names;
  for (const WorksheetKind* kind : BuiltInKinds()) {
    EXPECT_TRUE(names.insert(kind->name).second) << "two kinds are named " << kind->name;
    for (const std::string& m : Missing(*kind))
      ADD_FAILURE() << "The worksheet kind \"" << kind->name << "\" lacks " << m;
  }
}

}  // namespace
}  // namespace rivulet
