#include "core/files/recent_files.h"

#include <sys/stat.h>

#include <vector>

#include "core/files/defaults_file.h"
#include "core/shell/startup.h"
#include "core/shell/text_file.h"
#include "files_fixture.h"

namespace rivulet {
namespace {

// A part-full pipe solved for its depth.
void FillPipe(frmRivulet& f) {
  f.optDepth.SetValue(true);
  f.txtVelDis1.SetText("1.05");
  f.txtDiam.SetText("1");
  f.txtSlope.SetText("1");
  f.txtManning.SetText("0.013");
}

class RecentFilesTest : public FilesTest {
 protected:
  RecentFilesTest() : recent(SettingsFolders(form.Startup())) { AttachRecentFiles(form, recent); }

  std::string PathOf(const std::string& name) { return (folder / name).string(); }

  // A small calculation file that opens and solves.
  std::string SavedSheet(const std::string& name) {
    FillPipe(form);
    services.saveAnswers.push_back(Choice(name));
    form.mnuSaveAs.Click();
    return PathOf(name);
  }

  RecentFiles recent;
};

TEST_F(RecentFilesTest, NewestFirstOnceAndAtMostFive) {
  struct Case {
    const char* name;
    std::vector<std::string> added;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"one", {"a"}, {"a"}},
      {"newest first", {"a", "b", "c"}, {"c", "b", "a"}},
      {"again moves to the front", {"a", "b", "c", "a"}, {"a", "c", "b"}},
      {"the same file twice", {"a", "a"}, {"a"}},
      {"six keep five", {"a", "b", "c", "d", "e", "f"}, {"f", "e", "d", "c", "b"}},
      {"an old one back after six", {"a", "b", "c", "d", "e", "f", "a"}, {"a", "f", "e", "d", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder / kRecentFilesName);
    for (const std::string& name : c.added) ASSERT_TRUE(recent.Add(PathOf(name)));
    std::vector<std::string> expected;
    for (const std::string& name : c.expected) expected.push_back(PathOf(name));
    EXPECT_EQ(recent.Paths(), expected);
  }
}

TEST_F(RecentFilesTest, StoredBesideTheViewSettingsAndSeenByEveryList) {
  ASSERT_TRUE(recent.Add(PathOf("a.rvl")));
  ASSERT_TRUE(recent.Add(PathOf("b.rvw")));
  EXPECT_EQ(ReadFile(folder / kRecentFilesName), std::string(kRecentFilesHeader) + "\r\n" +
                                                     PathOf("b.rvw") + "\r\n" + PathOf("a.rvl") +
                                                     "\r\n");
  // Another window or a later run reads the same list.
  const RecentFiles other(SettingsFolders(form.Startup()));
  EXPECT_EQ(other.Paths(), recent.Paths());
  ASSERT_TRUE(recent.Remove(PathOf("b.rvw")));
  EXPECT_EQ(other.Paths(), std::vector<std::string>{PathOf("a.rvl")});
}

TEST_F(RecentFilesTest, RelativePathsAreStoredAbsolute) {
  ASSERT_TRUE(recent.Add("some/where/../x.rvl"));
  const auto expected = (std::filesystem::current_path() / "some/x.rvl").string();
  EXPECT_EQ(recent.Paths(), std::vector<std::string>{expected});
}

TEST_F(RecentFilesTest, ABrokenOrForeignFileGivesAnEmptyListAndIsReplaced) {
  const std::string header = std::string(kRecentFilesHeader) + "\r\n";
  const std::pair<const char*, std::string> files[] = {
      {"another header", "Rivulet Default Values File\r\n/a.rvl\r\n"},
      {"empty", ""},
      {"binary", std::string("Rivulet Recent Files\r\n/a\0b.rvl\r\n", 32)},
      {"line too long", header + "/" + std::string(kMaxLineLength + 10, 'x') + "\r\n"},
  };
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteFile(folder / kRecentFilesName, bytes);
    EXPECT_TRUE(recent.Paths().empty());
    ASSERT_TRUE(recent.Add(PathOf("new.rvl")));
    EXPECT_EQ(recent.Paths(), std::vector<std::string>{PathOf("new.rvl")});
  }
  // Blank lines and repeats in a hand-edited list are passed over; LF endings read too.
  WriteFile(folder / kRecentFilesName, "Rivulet Recent Files\n/a.rvl\n\n/a.rvl\n/b.rvl\n");
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/a.rvl", "/b.rvl"}));
}

TEST_F(RecentFilesTest, ANameWithALineBreakIsNotStored) {
  EXPECT_FALSE(recent.Add(PathOf("two\nlines.rvl")));
  EXPECT_TRUE(recent.Paths().empty());
}

TEST_F(RecentFilesTest, GoesToTheNextFolderWhenTheFirstCannotTakeIt) {
  // A folder below a plain file cannot be made, even by root.
  WriteFile(folder / "plain", "x");
  const std::string blocked = (folder / "plain" / "sub").string();
  RecentFiles fallback({blocked, (folder / "config").string()});
  ASSERT_TRUE(fallback.Add("/x/a.rvl"));
  EXPECT_TRUE(std::filesystem::exists(folder / "config" / kRecentFilesName));
  EXPECT_EQ(fallback.Paths(), std::vector<std::string>{"/x/a.rvl"});
  RecentFiles nowhere({blocked});
  EXPECT_FALSE(nowhere.Add("/x/a.rvl"));
  EXPECT_TRUE(nowhere.Paths().empty());
}

TEST(RecentFileCaption, NumberedWithTheBareNameAndAmpersandsShown) {
  EXPECT_EQ(RecentFileCaption(0, "/home/e/storm.rvl"), "&1  storm.rvl");
  EXPECT_EQ(RecentFileCaption(4, "/home/e/Smith & Co/a&b.rvw"), "&5  a&&b.rvw");
}

TEST_F(RecentFilesTest, OpenSaveAndSaveAsPutTheFileFirst) {
  const std::string a = SavedSheet("a.rvl");
  EXPECT_EQ(recent.Paths(), std::vector<std::string>{a});
  const std::string b = SavedSheet("b.rvl");
  services.openAnswers.push_back(Choice("a.rvl"));
  form.mnuOpen.Click();
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{a, b}));
  form.mnuSave.Click();
  EXPECT_EQ(recent.Paths().front(), a);
  // Nothing opened, nothing saved: the list is as it was.
  const auto before = recent.Paths();
  form.mnuNew.Click();
  services.openAnswers.push_back(std::nullopt);
  form.mnuOpen.Click();
  EXPECT_EQ(recent.Paths(), before);
}

TEST_F(RecentFilesTest, AnEntryOpensAsFileOpenDoes) {
  const std::string a = SavedSheet("a.rvl");
  const std::string b = SavedSheet("b.rvl");
  form.mnuNew.Click();
  EXPECT_EQ(OpenRecentCalcFile(form, recent, a), OpenResult::Loaded);
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + "  [a.rvl]");
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(recent.Paths(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(RecentFilesTest, AMissingEntryIsRemovedWithAMessage) {
  const std::string a = SavedSheet("a.rvl");
  const std::string b = SavedSheet("b.rvl");
  std::filesystem::remove(a);
  const std::string title = form.Title();
  EXPECT_EQ(OpenRecentCalcFile(form, recent, a), OpenResult::Cancelled);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text,
            a + " could not be found.  It has been removed from the list of recent files.");
  EXPECT_EQ(services.messages[0].title, "Rivulet");
  EXPECT_EQ(recent.Paths(), std::vector<std::string>{b});
  EXPECT_EQ(form.Title(), title);

  // A named pipe where the file was is refused unopened: opening it would wait for ever.
  ASSERT_EQ(mkfifo(a.c_str(), 0600), 0);
  recent.Add(a);
  EXPECT_EQ(OpenRecentCalcFile(form, recent, a), OpenResult::Cancelled);
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.messages[1].text, a + " cannot be opened: it is a named pipe.  It has been "
                                           "removed from the list of recent files.");
  EXPECT_EQ(recent.Paths(), std::vector<std::string>{b});
}

TEST_F(RecentFilesTest, UnsavedChangesAreAskedAboutFirst) {
  const std::string a = SavedSheet("a.rvl");
  form.mnuNew.Click();
  form.txtDepth.SetText("2");
  services.saveChoices.push_back(SaveChoice::Cancel);
  EXPECT_EQ(OpenCalcFileFromList(form, recent, a), OpenResult::Cancelled);
  ASSERT_EQ(services.questions.size(), 1u);
  EXPECT_EQ(services.questions[0].text, "Save changes to Untitled?");
  EXPECT_EQ(form.txtDepth.Text(), "2");
  services.saveChoices.push_back(SaveChoice::Discard);
  EXPECT_EQ(OpenRecentCalcFile(form, recent, a), OpenResult::Loaded);
  EXPECT_EQ(services.questions.size(), 2u);
}

TEST_F(RecentFilesTest, AnInvalidFileStaysOffTheList) {
  WriteFile(folder / "notes.rvl", "shopping list\r\n");
  EXPECT_EQ(OpenCalcFileFromList(form, recent, PathOf("notes.rvl")), OpenResult::InvalidFormat);
  EXPECT_TRUE(recent.Paths().empty());
}

}  // namespace
}  // namespace rivulet
