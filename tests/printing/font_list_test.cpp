#include "core/printing/font_list.h"

#include <gtest/gtest.h>

#include "core/shell/text_file.h"
#include "files/files_fixture.h"
#include "printing/fake_printer.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

class FontListTest : public ::testing::Test {
 protected:
  FontListTest() : folder(MakeTempFolder()), program(folder / "bin"), config(folder / "config") {
    fs::create_directories(program);
    printer.fonts = {"Arial", "Courier New", "Lucida Console"};
  }
  ~FontListTest() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  // In reading order, as the program passes them: the user's folder first.
  std::vector<std::string> Folders() const { return {config.string(), program.string()}; }
  std::vector<std::string> Load() { return LoadFontList(printer, Folders()); }

  fs::path folder, program, config;
  FakePrinter printer;
};

TEST_F(FontListTest, FirstLoadWritesCountAndEveryNameInPrinterOrder) {
  EXPECT_EQ(Load(), printer.fonts);
  EXPECT_EQ(ReadFile(program / "RIVULET.FTS"), " 3 \r\nArial\r\nCourier New\r\nLucida Console\r\n");
  EXPECT_FALSE(fs::exists(config / "RIVULET.FTS"));
}

TEST_F(FontListTest, MatchingCountReusesTheFileWithoutAskingForNames) {
  // The names are not compared: a printer with as many fonts keeps the old list.
  WriteFile(program / "RIVULET.FTS", " 3 \r\nOld One\r\nOld Two\r\nOld Three\r\n");
  EXPECT_EQ(Load(), (std::vector<std::string>{"Old One", "Old Two", "Old Three"}));
  EXPECT_EQ(printer.fontNameCalls, 0);
  EXPECT_EQ(printer.fontCountCalls, 1);
}

TEST_F(FontListTest, FileIsRebuiltWhenItDoesNotFitThePrinter) {
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"fewer fonts", " 2 \r\nOld One\r\nOld Two\r\n"},
      {"more fonts", " 4 \r\nA\r\nB\r\nC\r\nD\r\n"},
      {"count not a number", "three\r\nA\r\nB\r\nC\r\n"},
      {"empty file", ""},
      {"binary file", std::string("\x00\x01\x02", 3)},
      {"line too long", std::string(kMaxLineLength + 10, 'x')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WriteFile(program / "RIVULET.FTS", row.bytes);
    printer.fontNameCalls = 0;
    EXPECT_EQ(Load(), printer.fonts);
    EXPECT_EQ(printer.fontNameCalls, 3);
    EXPECT_EQ(ReadFile(program / "RIVULET.FTS"),
              " 3 \r\nArial\r\nCourier New\r\nLucida Console\r\n");
  }
}

TEST_F(FontListTest, FileNameIsMatchedWithoutRegardToCase) {
  WriteFile(program / "rivulet.fts", " 3 \nx\ny\nz\n");  // LF endings read the same
  EXPECT_EQ(Load(), (std::vector<std::string>{"x", "y", "z"}));
  // A rebuild replaces that file rather than leaving a second one beside it.
  printer.fonts.push_back("Verdana");
  EXPECT_EQ(Load(), printer.fonts);
  EXPECT_EQ(ReadFile(program / "rivulet.fts").substr(0, 5), " 4 \r\n");
  EXPECT_FALSE(fs::exists(program / "RIVULET.FTS"));
}

TEST_F(FontListTest, UnwritableProgramFolderFallsBackToTheConfigurationFolder) {
  // A program "folder" that is a plain file can be written by nobody, root included.
  fs::remove_all(program);
  WriteFile(program, "not a folder");
  EXPECT_EQ(Load(), printer.fonts);
  EXPECT_TRUE(fs::exists(config / "RIVULET.FTS"));
  printer.fontNameCalls = 0;
  EXPECT_EQ(Load(), printer.fonts);
  EXPECT_EQ(printer.fontNameCalls, 0) << "the second load reads the fallback file";
}

TEST_F(FontListTest, StaleProgramFolderFileGivesWayToAValidFallbackFile) {
  WriteFile(program / "RIVULET.FTS", " 1 \r\nStale\r\n");
  fs::create_directories(config);
  WriteFile(config / "RIVULET.FTS", " 3 \r\nP\r\nQ\r\nR\r\n");
  EXPECT_EQ(Load(), (std::vector<std::string>{"P", "Q", "R"}));
  EXPECT_EQ(printer.fontNameCalls, 0);
}

TEST_F(FontListTest, TheUsersFolderIsReadFirst) {
  WriteFile(program / "RIVULET.FTS", " 3 \r\nA\r\nB\r\nC\r\n");
  fs::create_directories(config);
  WriteFile(config / "RIVULET.FTS", " 3 \r\nP\r\nQ\r\nR\r\n");
  EXPECT_EQ(Load(), (std::vector<std::string>{"P", "Q", "R"}));
}

TEST_F(FontListTest, NamesStillComeBackWhenNothingCanBeWritten) {
  fs::remove_all(program);
  WriteFile(program, "not a folder");
  WriteFile(config, "not a folder either");
  EXPECT_EQ(Load(), printer.fonts);
}

TEST_F(FontListTest, PrinterWithoutFonts) {
  printer.fonts.clear();
  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(ReadFile(program / "RIVULET.FTS"), " 0 \r\n");
  EXPECT_TRUE(Load().empty());
}

TEST(InitialFont, CourierRuleThenFirstFixedPitchFont) {
  const struct {
    const char* name;
    std::vector<std::string> fonts;
    std::set<std::string> fixed;
    int expected;
  } rows[] = {
      {"Courier New wins over Courier",
       {"Arial", "Courier", "Courier New"},
       {"Courier", "Courier New"},
       2},
      {"only Courier", {"Arial", "Courier", "Verdana"}, {"Courier"}, 1},
      {"neither, first entry fixed", {"Fixedsys", "Arial"}, {"Fixedsys"}, 0},
      {"neither, first entry proportional: first fixed-pitch font",
       {"Arial", "DejaVu Sans", "DejaVu Sans Mono", "Noto Mono"},
       {"DejaVu Sans Mono", "Noto Mono"},
       2},
      {"no fixed-pitch font at all keeps the first entry", {"Arial", "Verdana"}, {}, 0},
      {"letter case and blanks do not matter", {"Arial", "  courier new "}, {"  courier new "}, 1},
      {"plain name preferred to a longer variant",
       {"Courier 10 Pitch", "Courier"},
       {"Courier 10 Pitch", "Courier"},
       1},
      {"only variants: the first of them",
       {"Arial", "Courier New Bold", "Courier New Italic", "Courier"},
       {"Courier New Bold", "Courier New Italic", "Courier"},
       1},
      {"a proportional Courier New gives way to a fixed-pitch font",
       {"Courier New", "Arial", "Lucida Console"},
       {"Lucida Console"},
       2},
      {"empty list", {}, {}, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakePrinter printer;
    printer.fixedPitch = row.fixed;
    EXPECT_EQ(InitialFontIndex(row.fonts, printer), row.expected);
  }
}

}  // namespace
}  // namespace rivulet
