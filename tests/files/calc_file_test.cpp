#include "core/files/calc_file.h"

#include <functional>
#include <sstream>

#include "core/batch/worksheet_batch.h"
#include "core/shell/dialog_folder.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"
#include "core/shell/text_file.h"
#include "files_fixture.h"

namespace rivulet {
namespace {

using CalcFileTest = FilesTest;

void FillPipe(frmRivulet& f) {
  f.optDepth.SetValue(true);
  f.txtVelDis1.SetText("1.05");
  f.txtDiam.SetText("1");
  f.txtSlope.SetText("1");
  f.txtManning.SetText("0.013");
}

TEST_F(CalcFileTest, SaveWritesTheFormatByteForByte) {
  FillPipe(form);
  form.cboArea2.SetListIndex(1);
  services.saveAnswers.push_back(Choice("pipe.rvl"));
  ASSERT_TRUE(mnuSave_Click(form));  // no file yet: Save runs Save As
  ASSERT_EQ(services.saveRequests.size(), 1u);
  EXPECT_EQ(services.saveRequests[0].title, "Save As");
  EXPECT_EQ(services.saveRequests[0].defaultExtension, "rvl");
  EXPECT_EQ(services.saveRequests[0].filters.size(), 2u);
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + " [pipe.rvl]");
  const std::string expected =
      "Rivulet\r\nVersion " + BuildVersionString() +
      "\r\n 0 \r\nVelocity\r\nFalse\r\n1.05\r\n 0 \r\nTrue\r\n\r\n 2 \r\n"
      "False\r\n1\r\n 2 \r\nFalse\r\n\r\n 2 \r\nFalse\r\n1\r\n 0 \r\nFalse\r\n0.013\r\n 0 \r\n"
      " 2 \r\n 2 \r\n 0 \r\n 1 \r\n";
  EXPECT_EQ(ReadFile(folder / "pipe.rvl"), expected);
}

TEST_F(CalcFileTest, DischargeModeWritesDischargeOnLineFour) {
  form.cmdVelDis_Click();
  form.txtVelDis1.SetText("0.7");
  const auto lines = CalcFileLines(form);
  ASSERT_EQ(lines.size(), 26u);
  EXPECT_EQ(lines[3], "Discharge");
  EXPECT_EQ(lines[5], "0.7");
}

TEST_F(CalcFileTest, RoundTripEverySectionUnknownAndMode) {
  OptionButton* unknowns[] = {&form.optVelDis1, &form.optDepth, &form.optDiam,
                              &form.optSide,    &form.optSlope, &form.optManning};
  int saved = 0;
  for (int section = 0; section < 5; ++section) {
    for (int u = 0; u < 6; ++u) {
      for (bool discharge : {false, true}) {
        mnuNew_Click(form);
        if (discharge) form.cmdVelDis_Click();
        form.cboSection.SetListIndex(section);
        unknowns[u]->SetValue(true);
        form.txtVelDis1.SetText(discharge ? "0.5" : "1.2");
        form.txtDepth.SetText("0.6");
        form.txtDiam.SetText("1.5");
        form.txtSide.SetText("30");
        form.txtSlope.SetText("2");
        form.txtManning.SetText("0.014");
        form.cboDepth.SetListIndex(1);
        form.cboVelDis2.SetListIndex(section % 4);
        const auto before = CalcFileLines(form);
        std::string name = "f";
        name.append(std::to_string(saved++)).append(".rvl");
        services.saveAnswers.push_back(Choice(name));
        ASSERT_TRUE(mnuSaveAs_Click(form));

        mnuNew_Click(form);
        services.openAnswers.push_back(Choice(name));
        ASSERT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
        SCOPED_TRACE(name);
        // Calculate may move the unknown only through the running-full rule, which these
        // depths (0.6 cm against 1.5 m) never trigger, so the inputs come back as saved
        // apart from the unknown's own text, which Calculate recomputes.
        const auto after = CalcFileLines(form);
        for (size_t i = 0; i < before.size(); ++i) {
          const bool unknownText = (i == 5 && u == 0) || (i == 8 && u == 1) ||
                                   (i == 11 && u == 2) || (i == 14 && u == 3) ||
                                   (i == 17 && u == 4) || (i == 20 && u == 5);
          if (!unknownText) {
            EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
          }
        }
        EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + "  [" + name + "]");
        // The unknown's box is yellow after New and Open as after any Open.
        TextBox* boxes[] = {&form.txtVelDis1, &form.txtDepth, &form.txtDiam,
                            &form.txtSide,    &form.txtSlope, &form.txtManning};
        for (int b = 0; b < 6; ++b) {
          EXPECT_EQ(boxes[b]->BackColour() == kHighlightYellow, unknowns[b]->Value())
              << boxes[b]->Name();
        }
        EXPECT_TRUE(form.txtStatus.Text() == kStatusComplete ||
                    form.txtStatus.Text() == kStatusNoSolution);
      }
    }
  }
}

TEST_F(CalcFileTest, HeaderIsCheckedTrimmedAndCaseSensitive) {
  WriteFile(folder / "blanks.rvl", "  Rivulet  \r\nVersion 9.9.9\r\n 3 \r\n");
  WriteFile(folder / "lower.rvl", "rivulet\r\n");
  services.openAnswers.push_back(Choice("blanks.rvl"));
  EXPECT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
  EXPECT_EQ(form.cboSection.ListIndex(), 3);
  const std::string title = form.Title();
  services.messages.clear();
  services.openAnswers.push_back(Choice("lower.rvl"));
  EXPECT_EQ(mnuOpen_Click(form), OpenResult::InvalidFormat);
  ASSERT_FALSE(services.messages.empty());
  EXPECT_EQ(services.messages[0], (Message{"Invalid File Format", "Rivulet", MessageIcon::None}));
  EXPECT_EQ(form.Title(), title);
  EXPECT_EQ(form.currentFileName, "blanks.rvl");
}

TEST_F(CalcFileTest, BadFilesNeverCrashOrTouchTheSheet) {
  std::string huge = "Rivulet\n";
  huge.append(10'000'000, '7');
  const std::pair<const char*, std::string> bad[] = {
      {"empty.rvl", ""},
      {"binary.rvl", std::string("Rivulet\r\n\0\x01\x02\xff", 13)},
      {"hugeline.rvl", huge},
      {"hugefirst.rvl", std::string(10'000'000, 'R')},
  };
  form.txtDepth.SetText("0.5");
  for (const auto& [name, bytes] : bad) {
    WriteFile(folder / name, bytes);
    services.openAnswers.push_back(Choice(name));
    EXPECT_EQ(mnuOpen_Click(form), OpenResult::InvalidFormat) << name;
    EXPECT_EQ(form.txtDepth.Text(), "0.5") << name;
  }
  services.openAnswers.push_back(Choice("missing.rvl"));
  EXPECT_EQ(mnuOpen_Click(form), OpenResult::InvalidFormat);
  services.openAnswers.push_back(Choice(""));  // a directory, not a file
  EXPECT_EQ(mnuOpen_Click(form), OpenResult::InvalidFormat);
}

TEST_F(CalcFileTest, LinesThatDoNotFitAreSkipped) {
  // LF line ends, a position far outside its list, a flag that says "yes", a short file.
  WriteFile(folder / "odd.rvl",
            "Rivulet\nVersion 2.0.1\n 3 \nVelocity\nyes\n1.5\n 99999999 \nTrue\n0.4\n 2.5 \n");
  form.cboVelDis1.SetListIndex(2);
  services.openAnswers.push_back(Choice("odd.rvl"));
  EXPECT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
  EXPECT_EQ(form.cboSection.ListIndex(), 3);
  EXPECT_EQ(form.cboVelDis1.ListIndex(), 2);  // kept
  EXPECT_EQ(form.cboDepth.ListIndex(), 2);    // 2.5 rounds to even
  EXPECT_EQ(form.txtVelDis1.Text() != "", true);
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + "  [odd.rvl]");
}

TEST_F(CalcFileTest, OpenHighlightsTheBoxCalculateFills) {
  // No flag line says "True": the solver takes n as the unknown, and the sheet says so.
  WriteFile(folder / "none.rvl",
            "Rivulet\r\nVersion 2.0.1\r\n 1 \r\nVelocity\r\nFalse\r\n1.2\r\n 0 \r\nFalse\r\n"
            "0.5\r\n 2 \r\nFalse\r\n2\r\n 2 \r\nFalse\r\n\r\n 2 \r\nFalse\r\n1\r\n 0 \r\n"
            "False\r\n\r\n");
  form.optDepth.SetValue(true);
  mnuNew_Click(form);
  services.openAnswers.push_back(Choice("none.rvl"));
  ASSERT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
  EXPECT_TRUE(form.optManning.Value());
  EXPECT_EQ(form.txtManning.BackColour(), kHighlightYellow);
  EXPECT_EQ(form.txtDepth.BackColour(), Colour::Window());
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  // n = R^(2/3)·S^(1/2)/V for the 2 m wide channel 0.5 m deep at 1/1000 and 1.2 m/s.
  EXPECT_NEAR(ReadNumber(form.txtManning.Text()), 0.0126688711, 1e-9) << form.txtManning.Text();
}

TEST_F(CalcFileTest, ModifiedFollowsEditsAndClearsOnSaveOpenNew) {
  EXPECT_FALSE(form.Modified());  // loading the window is no edit
  struct Step {
    const char* name;
    std::function<void()> act;
    bool modified;
  };
  const Step steps[] = {
      {"typing a depth", [&] { form.txtDepth.SetText("0.4"); }, true},
      {"save as",
       [&] {
         FillPipe(form);
         services.saveAnswers.push_back(Choice("m.rvl"));
         mnuSaveAs_Click(form);
       },
       false},
      {"calculate", [&] { form.cmdCalculate_Click(); }, false},
      {"a unit", [&] { form.cboSlope.SetListIndex(2); }, true},
      {"save", [&] { mnuSave_Click(form); }, false},
      {"the unknown", [&] { form.optSlope.SetValue(true); }, true},
      {"open",
       [&] {
         services.openAnswers.push_back(Choice("m.rvl"));
         mnuOpen_Click(form);
       },
       false},
      {"the section", [&] { form.cboSection.SetListIndex(1); }, true},
      {"new", [&] { mnuNew_Click(form); }, false},
      {"the mode", [&] { form.cmdVelDis_Click(); }, true},
      {"restore defaults",
       [&] {
         mnuNew_Click(form);
         mnuOptionsRestoreDefaults_Click(form);
       },
       true},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(form.Modified(), step.modified) << step.name;
  }
}

TEST_F(CalcFileTest, UnsavedChangesAreAskedAbout) {
  struct Case {
    const char* name;
    bool named;
    SaveChoice answer;
    bool saveDialogAnswers;  // for an unnamed sheet's Save As
    bool goesOn;
  };
  const Case cases[] = {
      {"cancel", true, SaveChoice::Cancel, false, false},
      {"discard", true, SaveChoice::Discard, false, true},
      {"save to its file", true, SaveChoice::Save, false, true},
      {"save as, chosen", false, SaveChoice::Save, true, true},
      {"save as, cancelled", false, SaveChoice::Save, false, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    for (bool open : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (open ? ", open" : ", new"));
      services.saveChoices.clear();
      mnuNew_Click(form);
      const std::string name = "ask" + std::to_string(n++) + ".rvl";
      if (c.named) {
        services.saveAnswers.push_back(Choice(name));
        ASSERT_TRUE(mnuSaveAs_Click(form));
      }
      FillPipe(form);
      form.txtDepth.SetText("0.25");
      ASSERT_TRUE(form.Modified());
      services.questions.clear();
      services.openRequests.clear();
      services.saveChoices.push_back(c.answer);
      if (!c.named)
        services.saveAnswers.push_back(c.saveDialogAnswers ? Choice(name) : FileChoice{});
      const std::string title = form.Title();
      bool wentOn;
      if (open) {
        services.openAnswers.clear();
        services.openAnswers.push_back(std::nullopt);
        mnuOpen_Click(form);
        wentOn = !services.openRequests.empty();
      } else {
        wentOn = mnuNew_Click(form);
      }
      ASSERT_EQ(services.questions.size(), 1u);
      EXPECT_EQ(services.questions[0].text,
                "Save changes to " + (c.named ? name : std::string("Untitled")) + "?");
      EXPECT_EQ(services.questions[0].title, "Rivulet");
      EXPECT_EQ(wentOn, c.goesOn);
      if (!c.goesOn) {
        EXPECT_EQ(form.txtDepth.Text(), "0.25");  // nothing lost
        EXPECT_TRUE(form.Modified());
      }
      if (c.answer == SaveChoice::Save && c.goesOn) {
        EXPECT_NE(ReadFile(folder / name).find("\r\n0.25\r\n"), std::string::npos);
      }
      if (!open && !c.goesOn) {
        EXPECT_EQ(form.Title(), title);
      }
    }
  }
  // An unmodified sheet is not asked about.
  mnuNew_Click(form);
  services.questions.clear();
  mnuNew_Click(form);
  EXPECT_TRUE(services.questions.empty());
}

TEST_F(CalcFileTest, LineFourTogglesTheModeOnlyWhenItDiffers) {
  WriteFile(folder / "q.rvl",
            "Rivulet\r\nVersion 2.0.1\r\n 0 \r\nDischarge\r\nFalse\r\n0.7\r\n 0 \r\n");
  services.openAnswers.push_back(Choice("q.rvl"));
  mnuOpen_Click(form);
  EXPECT_EQ(form.optVelDis1.Caption(), "Discharge");
  services.openAnswers.push_back(Choice("q.rvl"));
  mnuOpen_Click(form);
  EXPECT_EQ(form.optVelDis1.Caption(), "Discharge");
}

TEST_F(CalcFileTest, NewKeepsTheFileNameForTheNextSaveAs) {
  FillPipe(form);
  services.saveAnswers.push_back(Choice("keep.rvl"));
  mnuSaveAs_Click(form);
  mnuNew_Click(form);
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString());
  EXPECT_EQ(form.txtStatus.Text(), kStatusWelcome);
  EXPECT_EQ(form.txtStatus.BackColour(), kStatusGreen);
  EXPECT_EQ(form.txtManning.Text(), "");
  services.saveAnswers.push_back(std::nullopt);  // cancelled
  EXPECT_FALSE(mnuSave_Click(form));
  ASSERT_EQ(services.saveRequests.size(), 2u);
  EXPECT_EQ(services.saveRequests[1].proposedName, "keep.rvl");
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString());
}

TEST_F(CalcFileTest, FailedSaveKeepsWhatWasThereAndSaysSo) {
  FillPipe(form);
  // A target that cannot be replaced (a folder in the way) and one whose folder is gone;
  // both fail even for a user whose rights ignore permissions.
  std::filesystem::create_directories(folder / "taken.rvl" / "inside");
  for (const std::string& path :
       {(folder / "taken.rvl").string(), (folder / "gone" / "x.rvl").string()}) {
    form.currentFilePath = path;
    form.SetTitle(form.BaseTitle() + " [x.rvl]");
    services.messages.clear();
    EXPECT_FALSE(mnuSave_Click(form)) << path;
    ASSERT_EQ(services.messages.size(), 1u) << path;
    EXPECT_EQ(services.messages[0].title, "Rivulet");
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.rvl" / "inside"));
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(CalcFileTest, AFailedSaveAsKeepsThePreviousFileAndSaysWhy) {
  FillPipe(form);
  services.saveAnswers.push_back(Choice("first.rvl"));
  ASSERT_TRUE(mnuSaveAs_Click(form));
  const std::string first = ReadFile(folder / "first.rvl");
  WriteFile(folder / "locked.rvl", "someone else's");
  std::filesystem::permissions(folder / "locked.rvl", std::filesystem::perms::owner_read);
  std::filesystem::create_directories(folder / "dir.rvl");

  struct Case {
    std::string name;
    std::string cause;
  };
  const Case cases[] = {
      {"locked.rvl",
       ": the file is read-only.  Save under another name with Save As, or make "
       "the file writable and save again.  The previous file, if any, is "
       "unchanged."},
      {"gone/x.rvl", ": the folder " + (folder / "gone").string() + " does not exist."},
      {"dir.rvl", ": that name belongs to a folder or a device, not a file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    services.messages.clear();
    services.saveAnswers.push_back(Choice(c.name));
    EXPECT_FALSE(mnuSaveAs_Click(form));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(
        services.messages[0].text.rfind(
            "The calculation could not be saved to " + (folder / c.name).string() + c.cause, 0),
        0u)
        << services.messages[0].text;
    EXPECT_EQ(services.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + " [first.rvl]");
    EXPECT_EQ(form.currentFilePath, (folder / "first.rvl").string());
  }
  EXPECT_EQ(ReadFile(folder / "locked.rvl"), "someone else's");
  // The next Save goes to the file that was saved before.
  form.txtManning.SetText("0.02");
  services.messages.clear();
  EXPECT_TRUE(mnuSave_Click(form));
  EXPECT_TRUE(services.messages.empty());
  EXPECT_NE(ReadFile(folder / "first.rvl"), first);
  EXPECT_NE(ReadFile(folder / "first.rvl").find("\r\n0.02\r\n"), std::string::npos);
}

TEST_F(CalcFileTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
  FillPipe(form);
  std::filesystem::create_directories(folder / "sub");
  WriteFile(folder / "sub" / "real.rvl", "old");
  std::filesystem::create_symlink("sub/real.rvl", folder / "a.rvl");
  services.saveAnswers.push_back(Choice("a.rvl"));
  ASSERT_TRUE(mnuSaveAs_Click(form));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "a.rvl"));
  EXPECT_EQ(ReadFile(folder / "sub" / "real.rvl").rfind("Rivulet\r\n", 0), 0u);
  EXPECT_EQ(form.Title(), "Rivulet - Ver. " + BuildVersionString() + " [a.rvl]");
}

TEST_F(CalcFileTest, FileDialogsOpenBesideTheCurrentFile) {
  std::filesystem::create_directories(folder / "work");
  FillPipe(form);
  form.currentFilePath.clear();
  services.saveAnswers.push_back(FileChoice{(folder / "work" / "w.rvl").string(), "w.rvl"});
  ASSERT_TRUE(mnuSaveAs_Click(form));
  EXPECT_EQ(services.saveRequests.back().startFolder, DocumentsFolder());
  services.openAnswers.push_back(std::nullopt);
  mnuOpen_Click(form);
  services.saveAnswers.push_back(std::nullopt);
  mnuSaveAs_Click(form);
  EXPECT_EQ(services.openRequests.back().startFolder, (folder / "work").string());
  EXPECT_EQ(services.saveRequests.back().startFolder, (folder / "work").string());
  // A folder that has gone since falls back to the documents folder.
  std::filesystem::remove_all(folder / "work");
  services.openAnswers.push_back(std::nullopt);
  mnuOpen_Click(form);
  EXPECT_EQ(services.openRequests.back().startFolder, DocumentsFolder());
}

TEST_F(CalcFileTest, LineEndsAndAByteOrderMarkDoNotChangeWhatIsRead) {
  const std::string bom = "\xEF\xBB\xBF";
  auto file = [](const std::string& eol, const std::string& depth) {
    return "Rivulet" + eol + "Version 2.0.1" + eol + " 0 " + eol + "Velocity" + eol + "False" +
           eol + "1.05" + eol + " 0 " + eol + "True" + eol + depth + eol;
  };
  const std::string full(kMaxLineLength, '5'), over(kMaxLineLength + 1, '5');
  std::string rest;  // lines 10 to 25
  for (int i = 10; i <= 25; ++i) rest += " 0 \r\n";
  const std::string tail = std::string(1, '\0') + std::string(300000, 'x');
  struct Case {
    const char* name;
    std::string bytes;
    bool loads;
  };
  const Case cases[] = {
      {"CR LF", file("\r\n", "0.5"), true},
      {"LF", file("\n", "0.5"), true},
      {"mark, CR LF", bom + file("\r\n", "0.5"), true},
      {"mark, LF", bom + file("\n", "0.5"), true},
      {"longest line, CR LF", file("\r\n", full), true},
      {"longest line, LF", file("\n", full), true},
      {"longest line after a mark", bom + file("\r\n", full), true},
      {"one over, CR LF", file("\r\n", over), false},
      {"one over, LF", file("\n", over), false},
      {"CR not before LF at the cap", file("\r\n", full + "\rx"), false},
      {"mark not at the start", " " + bom + file("\r\n", "0.5"), false},
      // Only the file's 26 lines are read: what follows them, however long, is no concern.
      {"binary tail after the last line", file("\r\n", "0.5") + rest + " 0 \r\n" + tail, true},
      {"binary tail in the last line", file("\r\n", "0.5") + rest + " 0 " + tail, false},
      {"last line far too long", file("\r\n", "0.5") + rest + std::string(300000, '0'), false},
  };
  std::ostringstream out, err;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(folder / "e.rvl", c.bytes);
    services.openAnswers.push_back(Choice("e.rvl"));
    EXPECT_EQ(mnuOpen_Click(form), c.loads ? OpenResult::Loaded : OpenResult::InvalidFormat);
    if (c.loads) {
      EXPECT_EQ(form.txtVelDis1.Text(), "1.05");
    }
    // The batch reads the file once into memory and must judge it alike.
    const int status = RunMixedBatch({(folder / "e.rvl").string()}, form.Startup(),
                                     BatchOutput::Reports, BuiltInKinds(), out, err);
    EXPECT_EQ(status == kBatchBadFile, !c.loads);
  }
  // A defaults file with a mark is applied too.
  WriteFile(folder / "RIVULET.DEF",
            bom + "Rivulet Default Values File\r\n 2 \r\n 3 \r\n 0 \r\n 2 \r\n");
  mnuOptionsApplyDefaults_Click(form);
  EXPECT_EQ(form.optVelDis1.Caption(), "Discharge");
  EXPECT_EQ(form.cboSection.ListIndex(), 3);
}

TEST_F(CalcFileTest, EverySavedValueOpensAgain) {
  // Whatever reaches a value box, a saved file reads back: a box holds 64 characters.
  FillPipe(form);
  form.txtDiam.SetText(std::string(5000, '9'));
  services.saveAnswers.push_back(Choice("long.rvl"));
  ASSERT_TRUE(mnuSaveAs_Click(form));
  const auto saved = CalcFileLines(form);
  mnuNew_Click(form);
  services.openAnswers.push_back(Choice("long.rvl"));
  ASSERT_EQ(mnuOpen_Click(form), OpenResult::Loaded);
  EXPECT_EQ(form.txtDiam.Text(), std::string(kValueLength, '9'));
  EXPECT_EQ(CalcFileLines(form)[11], saved[11]);
}

}  // namespace
}  // namespace rivulet
