#include "core/worksheets/document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "test_kind.h"

namespace rivulet {
namespace {

using testing::kStripInputs;
using testing::StripText;

struct ParseCase {
  const char* name;
  std::string bytes;
  std::string message;  // "" when the worksheet reads
};

TEST(WorksheetParse, RefusesWhatIsNoWorksheetAndNamesTheFaultyField) {
  const std::string nested = std::string(2000, '[') + std::string(2000, ']');
  const ParseCase cases[] = {
      {"plain", StripText(kStripInputs), ""},
      {"bom", "\xEF\xBB\xBF" + StripText(kStripInputs), ""},
      {"unknownKeysIgnored", StripText(kStripInputs, "depth", R"("futureKey": [1, 2],)"), ""},
      {"empty", "", kInvalidFileFormat},
      {"calcFile", "Rivulet Calculation File\r\n2\r\n", kInvalidFileFormat},
      {"array", "[1, 2]", kInvalidFileFormat},
      // A worksheet edited by hand is told where the reading stopped.
      {"brokenJson", R"({"rivulet": "worksheet", "version": 1,)",
       "The worksheet is not valid JSON at line 1, column 39: unexpected end of input; expected "
       "string literal."},
      {"doubleComma", "{\"rivulet\": \"worksheet\",\n \"version\": 1,\n \"kind\": \"s\",,\n}",
       "The worksheet is not valid JSON at line 3, column 14: unexpected ','; expected string "
       "literal."},
      {"otherJson", R"({"name": "x", "version": 1, "kind": "strip"})", kInvalidFileFormat},
      {"noVersion", R"({"rivulet": "worksheet", "kind": "strip"})", kInvalidFileFormat},
      {"textVersion", R"({"rivulet": "worksheet", "version": "1", "kind": "s"})",
       kInvalidFileFormat},
      {"deepNesting", R"({"rivulet": "worksheet", "version": 1, "kind": "s", "x": )" + nested + "}",
       kInvalidFileFormat},
      {"newerVersion", R"({"rivulet": "worksheet", "version": 7, "kind": "strip"})",
       "This worksheet is version 7; this program reads worksheets up to version 1."},
      {"overflowingNumber", StripText(R"({"x": {"value": 1e999, "unit": "m"}})"),
       kInvalidFileFormat},
      {"noKind", R"({"rivulet": "worksheet", "version": 1})", "The worksheet names no \"kind\"."},
      {"kindNumber", R"({"rivulet": "worksheet", "version": 1, "kind": 3})",
       "\"kind\" must be a text."},
      {"inputsArray", R"({"rivulet": "worksheet", "version": 1, "kind": "s", "inputs": []})",
       "\"inputs\" must be an object."},
      {"badSystem", R"({"rivulet": "worksheet", "version": 1, "kind": "s", "resultUnits": "CU"})",
       "\"resultUnits\" must be \"SI\" or \"US\"."},
      {"badChoice",
       R"({"rivulet": "worksheet", "version": 1, "kind": "s", "resultUnitChoices": {"a": 1}})",
       "\"resultUnitChoices\": \"a\" must name a unit."},
      {"unknownUnit",
       R"({"rivulet": "worksheet", "version": 1, "kind": "s", "resultUnitChoices": {"a": "rod"}})",
       "\"resultUnitChoices\": \"a\": \"rod\" is not a unit."},
      {"textAfterTheEnd",
       R"({"rivulet": "worksheet", "version": 1, "kind": "s"})"
       "\n  x",
       "The worksheet goes on after its closing brace, at line 2, column 3."},
      {"secondBrace", R"({"rivulet": "worksheet", "version": 1, "kind": "s"}})",
       "The worksheet goes on after its closing brace, at line 1, column 52."},
      // The parser would stop at the NUL and take the object before it.
      {"nulAfterTheEnd",
       std::string(R"({"rivulet": "worksheet", "version": 1, "kind": "s"})"
                   "\0zz",
                   54),
       "The worksheet goes on after its closing brace, at line 1, column 52."},
      {"blanksAfterTheEnd",
       R"({"rivulet": "worksheet", "version": 1, "kind": "s"})"
       " \r\n\t\n",
       ""},
      {"zeroVersion", R"({"rivulet": "worksheet", "version": 0, "kind": "s"})", kInvalidFileFormat},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    const WorksheetRead read = ParseWorksheet(c.bytes);
    EXPECT_EQ(read.message, c.message);
    EXPECT_EQ(read.document.has_value(), c.message.empty());
  }
}

TEST(WorksheetSolve, AResultUnitOfAnotherDimensionIsRefusedNamingIt) {
  const struct {
    const char* choices;
    std::string message;  // "" when the choices suit the results
  } cases[] = {
      {R"({"discharge": "gpm", "velocity": "ft/s", "notAResult": "m"})", ""},
      {R"({"velocity": "m"})",
       "\"resultUnitChoices\": \"velocity\" cannot be shown in \"m\"; it is in units such as "
       "\"m/s\"."},
      {R"({"deep": "m"})",
       "\"resultUnitChoices\": \"deep\" cannot be shown in \"m\"; it has no unit."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choices);
    const WorksheetRead read = ParseWorksheet(StripText(
        kStripInputs, "discharge", std::string(R"("resultUnitChoices": )") + c.choices + ","));
    ASSERT_TRUE(read.document) << read.message;
    const SheetOutcome o = SolveWorksheet(testing::StripKind(), *read.document);
    EXPECT_EQ(o.ok, c.message.empty());
    if (!c.message.empty()) {
      EXPECT_EQ(o.message, c.message);
      EXPECT_EQ(o.field, "resultUnitChoices");
      EXPECT_TRUE(o.results.empty());
    }
  }
}

TEST(WorksheetParse, ReadsEveryKnownField) {
  const WorksheetRead read = ParseWorksheet(
      R"({"rivulet": "worksheet", "version": 1, "kind": "strip", "title": "Ditch 4",
          "inputs": {"width": {"value": 2, "unit": "ft"}}, "solveFor": "depth",
          "options": {"lining": "earth"}, "resultUnits": "US",
          "resultUnitChoices": {"discharge": "gpm"}})");
  ASSERT_TRUE(read.document);
  const Document& d = *read.document;
  EXPECT_EQ(d.kind, "strip");
  EXPECT_EQ(d.title, "Ditch 4");
  EXPECT_EQ(d.solveFor, "depth");
  EXPECT_EQ(d.resultUnits, UnitSystem::US);
  EXPECT_DOUBLE_EQ(d.Input("width", Dimension::Length), 0.6096);
  EXPECT_EQ(d.Option("lining", {"concrete", "earth"}, "concrete"), "earth");
  EXPECT_EQ(d.ResultUnit("discharge", Dimension::Discharge)->name, "gpm");
  EXPECT_EQ(d.ResultUnit("velocity", Dimension::Velocity)->name, "ft/s");
  // A choice of the wrong dimension falls back to the system's unit.
  EXPECT_EQ(d.ResultUnit("discharge", Dimension::Length)->name, "ft");
}

struct AccessCase {
  const char* name;
  std::string entry;  // the JSON of input "x", or "" for none
  Dimension dimension;
  Allowed allowed;
  double base;          // expected value when message is empty
  std::string message;  // expected refusal
};

TEST(WorksheetInputs, EveryRefusalNamesTheField) {
  const AccessCase cases[] = {
      {"metres", R"({"value": 2.5, "unit": "m"})", Dimension::Length, Allowed::Positive, 2.5, ""},
      {"percent", R"({"value": 2, "unit": "%"})", Dimension::Slope, Allowed::Positive, 0.02, ""},
      {"oneIn", R"({"value": 250, "unit": "1:x"})", Dimension::Slope, Allowed::Positive, 0.004, ""},
      {"noUnitNeeded", R"({"value": 0.013})", Dimension::None, Allowed::Positive, 0.013, ""},
      {"zeroAllowed", R"({"value": 0, "unit": "m"})", Dimension::Length, Allowed::NonNegative, 0,
       ""},
      {"negativeAllowed", R"({"value": -1, "unit": "m"})", Dimension::Length, Allowed::Any, -1, ""},
      {"missing", "", Dimension::Length, Allowed::Positive, 0, "Input \"x\" is missing."},
      {"noValue", R"({"unit": "m"})", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\" is missing."},
      {"nullValue", R"({"value": null, "unit": "m"})", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\" is missing."},
      {"bareNumber", "3", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\" must be an object with a \"value\"."},
      {"textValue", R"({"value": "3", "unit": "m"})", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\" must be a number."},
      {"zero", R"({"value": 0, "unit": "m"})", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\" must be greater than zero."},
      {"negative", R"({"value": -0.5, "unit": "m"})", Dimension::Length, Allowed::NonNegative, 0,
       "Input \"x\" must not be negative."},
      {"oneInZero", R"({"value": 0, "unit": "1:x"})", Dimension::Slope, Allowed::Positive, 0,
       "Input \"x\" is out of range."},
      {"oneInNegative", R"({"value": -50, "unit": "1:x"})", Dimension::Slope, Allowed::Positive, 0,
       "Input \"x\" must be greater than zero."},
      {"noUnit", R"({"value": 1})", Dimension::Slope, Allowed::Positive, 0,
       "Input \"x\" needs a slope unit (m/m, ft/ft, %, permille, 1:x)."},
      {"foreignUnit", R"({"value": 1, "unit": "m2"})", Dimension::Length, Allowed::Positive, 0,
       "Input \"x\": \"m2\" is not a length unit (m, cm, mm, ft, in)."},
      {"unitNotText", R"({"value": 1, "unit": 5})", Dimension::Velocity, Allowed::Positive, 0,
       "Input \"x\" needs a velocity unit (m/s, ft/s)."},
  };
  for (const AccessCase& c : cases) {
    SCOPED_TRACE(c.name);
    Document d;
    if (!c.entry.empty()) d.inputs["x"] = nlohmann::json::parse(c.entry);
    if (c.message.empty()) {
      EXPECT_NEAR(d.Input("x", c.dimension, c.allowed), c.base, 1e-15);
      continue;
    }
    try {
      d.Input("x", c.dimension, c.allowed);
      ADD_FAILURE() << "accepted";
    } catch (const WorksheetError& e) {
      EXPECT_EQ(e.what(), c.message);
      EXPECT_EQ(e.Field(), "x");
    }
  }
}

TEST(WorksheetInputs, OptionalInputsListsAndOptions) {
  Document d;
  d.inputs = nlohmann::json::parse(R"({
      "kerb": {"value": null, "unit": "m"},
      "points": {"unit": "ft", "station": [0, 10, 20], "elevation": [5, 1, "x"]}})");
  d.options = nlohmann::json::parse(R"({"method": "lotter", "walls": "yes"})");
  auto refusal = [](auto call) {
    try {
      call();
    } catch (const WorksheetError& e) {
      return e.Field() + ": " + e.what();
    }
    return std::string("accepted");
  };
  EXPECT_EQ(d.OptionalInput("kerb", Dimension::Length), std::nullopt);
  d.SetInput("huge", HUGE_VAL, "m");
  EXPECT_EQ(refusal([&] { d.Input("huge", Dimension::Length); }),
            "huge: Input \"huge\" is not a finite number.");
  EXPECT_EQ(d.OptionalInput("absent", Dimension::Length), std::nullopt);
  const std::vector<double> stations = d.InputList("points", "station", Dimension::Length);
  ASSERT_EQ(stations.size(), 3u);
  EXPECT_DOUBLE_EQ(stations[2], 6.096);
  EXPECT_EQ(refusal([&] { d.InputList("points", "elevation", Dimension::Length); }),
            "points: Input \"points\", \"elevation\" item 3 must be a number.");
  EXPECT_EQ(refusal([&] { d.InputList("points", "offset", Dimension::Length); }),
            "points: Input \"points\" needs a list \"offset\".");
  EXPECT_EQ(d.Option("method", {"conveyance", "lotter"}, "conveyance"), "lotter");
  EXPECT_EQ(d.Option("shape", {"a", "b"}, "b"), "b");
  EXPECT_EQ(refusal([&] {
              d.Option("method", {"conveyance", "horton"}, "conveyance");
            }),
            "method: Option \"method\" must be one of conveyance, horton.");
  EXPECT_EQ(refusal([&] { d.OptionFlag("walls", false); }),
            "walls: Option \"walls\" must be true or false.");
  d.solveFor = "slope";
  EXPECT_EQ(refusal([&] {
              d.Unknown({"depth", "discharge"});
            }),
            "solveFor: \"solveFor\" must be one of depth, discharge.");
  d.solveFor.clear();
  EXPECT_EQ(d.Unknown({"depth", "discharge"}), "depth");
}

TEST(WorksheetFile, SaveAndReadAgainKeepsEverythingIncludingUnknownKeys) {
  testing::TempFolder folder;
  const WorksheetRead first =
      ParseWorksheet(StripText(kStripInputs, "depth", R"("laterKey": {"a": [1, 2]},)"));
  ASSERT_TRUE(first.document);
  Document d = *first.document;
  d.title = "Culvert ü 3";
  d.resultUnits = UnitSystem::US;
  d.resultUnitChoices["discharge"] = "L/s";
  d.SetInput("discharge", 0.1 + 0.2, "m3/s");
  const std::string path = (folder.path / "a.rvw").string();
  ASSERT_TRUE(SaveWorksheetFile(d, path));
  ASSERT_TRUE(IsWorksheetFile(path));
  const WorksheetRead again = ReadWorksheetFile(path);
  ASSERT_TRUE(again.document) << again.message;
  const Document& r = *again.document;
  EXPECT_EQ(r.title, d.title);
  EXPECT_EQ(r.kind, "strip");
  EXPECT_EQ(r.solveFor, "depth");
  EXPECT_EQ(r.resultUnits, UnitSystem::US);
  EXPECT_EQ(r.resultUnitChoices, d.resultUnitChoices);
  EXPECT_EQ(r.inputs, d.inputs);  // 0.30000000000000004 survives exactly
  EXPECT_EQ(r.unknownKeys, d.unknownKeys);
  EXPECT_EQ(WorksheetText(r), WorksheetText(d));
  // The file starts with what identifies it, for a reader who opens it in an editor.
  EXPECT_EQ(WorksheetText(d).rfind("{\n  \"rivulet\": \"worksheet\",\n  \"version\": 1,", 0), 0u);
}

TEST(WorksheetFile, AFailedSaveSaysWhyAndKeepsThePreviousFile) {
  testing::TempFolder folder;
  const std::string path = folder.Write("keep.rvw", "previous");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  std::filesystem::create_directories(folder.path / "taken.rvw" / "inside");
  Document d;
  d.kind = "strip";
  const std::pair<std::string, SaveError> cases[] = {
      {path, SaveError::ReadOnlyFile},
      {(folder.path / "no" / "such.rvw").string(), SaveError::FolderMissing},
      {(folder.path / "taken.rvw").string(), SaveError::NotAFile},
  };
  for (const auto& [target, error] : cases) {
    SCOPED_TRACE(target);
    const SaveOutcome saved = SaveWorksheetFile(d, target);
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.error, error);
  }
  std::ifstream in(path);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "previous");
  EXPECT_TRUE(std::filesystem::is_directory(folder.path / "taken.rvw" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2)
      << "a temporary file was left behind";
}

TEST(WorksheetFile, TellsWorksheetsFromOtherFilesByContent) {
  testing::TempFolder folder;
  EXPECT_TRUE(LooksLikeWorksheet("\xEF\xBB\xBF \r\n {"));
  EXPECT_FALSE(LooksLikeWorksheet("Rivulet Calculation File"));
  EXPECT_FALSE(LooksLikeWorksheet(""));
  EXPECT_TRUE(IsWorksheetFile(folder.Write("named.rvl", "{}")));
  EXPECT_FALSE(IsWorksheetFile(folder.Write("named.rvw", "0.5\r\n")));
  EXPECT_FALSE(IsWorksheetFile((folder.path / "absent.rvw").string()));
  // Too big to be a worksheet: refused unread beyond the cap.
  const std::string big =
      folder.Write("big.rvw", StripText(kStripInputs) + std::string(kMaxWorksheetBytes, ' '));
  EXPECT_EQ(ReadWorksheetFile(big).message, kInvalidFileFormat);
  EXPECT_NE(
      ReadWorksheetFile((folder.path / "absent.rvw").string()).message.find("cannot be opened"),
      std::string::npos);
  // A named pipe is refused unopened: opening it would wait for a writer for ever.
  const std::string pipe = (folder.path / "pipe.rvw").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(IsWorksheetFile(pipe));
  EXPECT_NE(ReadWorksheetFile(pipe).message.find("it is a named pipe"), std::string::npos);
}

}  // namespace
}  // namespace rivulet
