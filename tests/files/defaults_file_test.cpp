#include "core/files/defaults_file.h"

#include "core/files/view_settings.h"
#include "files_fixture.h"
#include "support/form_test_access.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using DefaultsTest = FilesTest;

TEST_F(DefaultsTest, WriteRestoreApplyReturnsToTheWrittenState) {
  form.cmdVelDis_Click();
  form.cboSection.SetListIndex(3);
  form.cboVelDis1.SetListIndex(6);
  form.cboDepth.SetListIndex(4);
  form.cboDDS.SetListIndex(0);
  form.mnuOptionsFix.SetChecked(true);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  EXPECT_EQ(ReadFile(folder / "RIVULET.DEF"),
            "Rivulet Default Values File\r\n 2 \r\n 3 \r\n 6 \r\n 4 \r\n 2 \r\n 2 \r\n 0 \r\n"
            " 0 \r\n 2 \r\n 0 \r\n 2 \r\n 0 \r\nTrue\r\n");
  const auto written = DefaultsFileLines(form);

  mnuOptionsRestoreDefaults_Click(form);
  EXPECT_EQ(form.optVelDis1.Caption(), "Velocity");
  EXPECT_EQ(form.cboSection.ListIndex(), 0);
  EXPECT_FALSE(form.mnuOptionsFix.Checked());

  mnuOptionsApplyDefaults_Click(form);
  EXPECT_EQ(DefaultsFileLines(form), written);
  EXPECT_EQ(form.optVelDis1.Caption(), "Discharge");
  // Busy pointer on and off around each command.
  ASSERT_GE(services.busyCalls.size(), 2u);
  EXPECT_FALSE(services.busyCalls.back());
}

TEST_F(DefaultsTest, DefaultsCommandsLeaveNoCurrentResults) {
  // Restore and Apply change sections and units under the results, so those are stale.
  form.cboSection.SetListIndex(3);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  for (auto command : {&mnuOptionsRestoreDefaults_Click, &mnuOptionsApplyDefaults_Click}) {
    FormTestAccess::MarkComplete(form);
    command(form);
    EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
  }
}

TEST_F(DefaultsTest, StartUpAppliesTheFileFoundWithoutRegardToCase) {
  WriteFile(folder / "rivulet.def",
            "Rivulet Default Values File\r\n 1 \r\n 1 \r\n 2 \r\n 0 \r\n 1 \r\n 0 \r\n 3 \r\n"
            " 4 \r\n 0 \r\n 2 \r\n 1 \r\n 5 \r\nFalse\r\n");
  RecordingServices s;
  frmRivulet f(s, form.Startup());
  AttachDefaultsCommands(f);
  f.Form_Load();
  EXPECT_EQ(f.cboSection.Text(), "Rectangle");
  EXPECT_FALSE(f.chkLocDiam.Visible());
  EXPECT_EQ(f.optDiam.Caption(), "Width");
  EXPECT_EQ(f.cboVelDis1.Text(), "ft/s");
  EXPECT_EQ(f.cboDepth.Text(), "mm");
  EXPECT_EQ(f.cboVelDis2.Text(), "ft\u00b3/s");
  EXPECT_EQ(f.cboVelDis3.Text(), "ft\u00b3/d");
}

TEST_F(DefaultsTest, InvalidFilesFallBackOrKeepWhatTheyCannotSet) {
  struct Case {
    const char* name;
    std::string bytes;
    int section;
    bool fix;
  };
  const Case cases[] = {
      {"trailing blank header", "Rivulet Default Values File \r\n 1 \r\n 3 \r\n", 0, false},
      {"short file", "Rivulet Default Values File\r\n 1 \r\n 4 \r\n", 4, true},
      {"position outside", "Rivulet Default Values File\r\n 1 \r\n 77 \r\n", 1, true},
      {"mode 3, flag yes",
       "Rivulet Default Values File\r\n 3 \r\n 2 \r\n 0 \r\n 2 \r\n 2 \r\n 2 \r\n 0 \r\n 0 \r\n"
       " 2 \r\n 2 \r\n 2 \r\n 0 \r\nyes\r\n",
       2, true},
      {"binary", std::string("\0\0\0", 3), 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.cboSection.SetListIndex(1);
    form.mnuOptionsFix.SetChecked(true);
    WriteFile(folder / "RIVULET.DEF", c.bytes);
    mnuOptionsApplyDefaults_Click(form);
    EXPECT_EQ(form.cboSection.ListIndex(), c.section);
    EXPECT_EQ(form.mnuOptionsFix.Checked(), c.fix);
    EXPECT_EQ(form.optVelDis1.Caption(), "Velocity");
  }
}

TEST_F(DefaultsTest, ApplyLeavesValuesAndTheUnknownAlone) {
  form.optSlope.SetValue(true);
  form.txtDepth.SetText("0.75");
  form.txtArea.SetText("1.25");
  mnuOptionsApplyDefaults_Click(form);  // no file: the built-in defaults
  EXPECT_TRUE(form.optSlope.Value());
  EXPECT_EQ(form.txtDepth.Text(), "0.75");
  EXPECT_EQ(form.txtArea.Text(), "1.25");
}

TEST_F(DefaultsTest, UnwritableProgramFolderFallsBackThenReports) {
  // A file in the way of the folder makes the program folder unusable even for root.
  RecordingServices s;
  const auto blocked = folder / "blocked";
  WriteFile(blocked, "x");
  frmRivulet f(s, StartupValues::ForFolder((blocked / "sub").string(), (folder / "cfg").string()));
  AttachDefaultsCommands(f);
  f.Form_Load();
  EXPECT_TRUE(mnuOptionsWriteDefaults_Click(f));
  EXPECT_TRUE(std::filesystem::exists(folder / "cfg" / "RIVULET.DEF"));
  EXPECT_TRUE(s.messages.empty());
  f.cboSection.SetListIndex(4);
  EXPECT_TRUE(mnuOptionsWriteDefaults_Click(f));
  f.cboSection.SetListIndex(0);
  mnuOptionsApplyDefaults_Click(f);  // read back from the fallback
  EXPECT_EQ(f.cboSection.ListIndex(), 4);

  frmRivulet nowhere(s,
                     StartupValues::ForFolder((blocked / "a").string(), (blocked / "b").string()));
  AttachDefaultsCommands(nowhere);
  EXPECT_FALSE(mnuOptionsWriteDefaults_Click(nowhere));
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].title, "Rivulet");
}

TEST_F(DefaultsTest, TheUsersOwnSettingsWinOverTheProgramFolders) {
  namespace fs = std::filesystem;
  // A shared defaults file beside the program that the user may not change.
  form.cboSection.SetListIndex(3);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  fs::permissions(folder / "RIVULET.DEF", fs::perms::owner_read | fs::perms::group_read);
  const std::string shared = ReadFile(folder / "RIVULET.DEF");
  auto sectionAtStart = [&] {
    RecordingServices s;
    frmRivulet f(s, form.Startup());
    AttachDefaultsCommands(f);
    f.Form_Load();
    const int atStart = f.cboSection.ListIndex();
    f.cboSection.SetListIndex(0);
    mnuOptionsApplyDefaults_Click(f);
    EXPECT_EQ(f.cboSection.ListIndex(), atStart) << "Apply reads what start-up read";
    return atStart;
  };
  EXPECT_EQ(sectionAtStart(), 3);

  // Write Defaults goes to the configuration folder, and from then on that file is used.
  form.cboSection.SetListIndex(4);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  EXPECT_EQ(ReadFile(folder / "RIVULET.DEF"), shared);
  EXPECT_TRUE(fs::exists(folder / "config" / "RIVULET.DEF"));
  EXPECT_EQ(sectionAtStart(), 4);

  // Once the user has a file, writing stays there even where the program folder would
  // take it: a file written beside the program would be hidden behind the user's.
  fs::permissions(folder / "RIVULET.DEF", fs::perms::owner_read | fs::perms::owner_write);
  form.cboSection.SetListIndex(1);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  EXPECT_EQ(ReadFile(folder / "RIVULET.DEF"), shared);
  EXPECT_EQ(sectionAtStart(), 1);
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(DefaultsTest, ViewSettingsFollowTheSameOrderAndAFailureIsReportedOnce) {
  namespace fs = std::filesystem;
  WriteFile(folder / "RIVULET.VEW", "Rivulet View Settings File\r\nFlowDetails=False\r\n");
  fs::permissions(folder / "RIVULET.VEW", fs::perms::owner_read);
  AttachViewSettings(form);
  form.mnuFlowDetails.Click();
  EXPECT_EQ(ReadFile(folder / "config" / "RIVULET.VEW"),
            "Rivulet View Settings File\r\nFlowDetails=True\r\n");
  RecordingServices s;
  frmRivulet next(s, form.Startup());
  AttachViewSettings(next);
  EXPECT_TRUE(next.mnuFlowDetails.Checked());
  EXPECT_TRUE(services.messages.empty());

  // Neither folder can take the file (each lies below a plain file, even for root).
  WriteFile(folder / "plain", "x");
  frmRivulet nowhere(s, StartupValues::ForFolder((folder / "plain" / "a").string(),
                                                 (folder / "plain" / "b").string()));
  AttachViewSettings(nowhere);
  for (int i = 0; i < 3; ++i) nowhere.mnuFlowDetails.Click();
  EXPECT_TRUE(nowhere.mnuFlowDetails.Checked());  // the choice holds for the session
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].title, "Rivulet");
  EXPECT_NE(s.messages[0].text.find("RIVULET.VEW"), std::string::npos);
}

TEST_F(DefaultsTest, DisplayDigitsAreReadWithinTheirRangeAndKeptByTheViewMenu) {
  const std::pair<const char*, int> rows[] = {
      {"DisplayDigits=6", 6}, {"DisplayDigits= 15 ", 15}, {"DisplayDigits=16", 0},
      {"DisplayDigits=2", 0}, {"DisplayDigits=-5", 0},    {"DisplayDigits=six", 0},
      {"DisplayDigits=", 0},  {"FlowDetails=True", 0},
  };
  for (const auto& [line, digits] : rows) {
    WriteFile(folder / "RIVULET.VEW",
              std::string("Rivulet View Settings File\r\n") + line + "\r\n");
    EXPECT_EQ(ReadDisplayDigits(form.Startup()), digits) << line;
  }
  ASSERT_TRUE(WriteViewSettings(form, 8));
  AttachViewSettings(form);
  form.mnuFlowDetails.Click();
  EXPECT_EQ(ReadDisplayDigits(form.Startup()), 8);
}

}  // namespace
}  // namespace rivulet
