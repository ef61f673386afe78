#include "core/window/shell_commands.h"

#include "core/shell/app_texts.h"
#include "core/shell/clipboard_commands.h"
#include "support/recording_services.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

class ShellCommandsTest : public WindowTest {
 protected:
  ShellCommandsTest() { AttachShellCommands(form); }
};

TEST_F(ShellCommandsTest, PasteRunsTheFilterAndTheEditTracking) {
  form.txtDepth.SetText("12");
  form.txtDepth.SetSelection(2, 0);
  form.activeControl = &form.txtDepth;
  MarkComplete();
  services.clipboard = "5abc";
  form.mnuPaste.Click();
  EXPECT_EQ(form.txtDepth.Text(), "125");
  EXPECT_EQ(form.txtStatus.Text(), kStatusModified);

  form.txtDepth.SetSelection(0, 2);  // a selection is replaced
  services.clipboard = "9";
  form.mnuPaste.Click();
  EXPECT_EQ(form.txtDepth.Text(), "95");

  form.txtDepth.SetSelection(0, 1);  // a clipboard without text deletes the selection
  services.clipboard.reset();
  form.mnuPaste.Click();
  EXPECT_EQ(form.txtDepth.Text(), "5");
}

TEST_F(ShellCommandsTest, APasteLongerThanAValueBoxIsCutWithANotice) {
  const std::string notice = "The pasted text was cut to 64 characters, the most this box holds.";
  struct Case {
    const char* name;
    std::string before;
    int selStart, selLength;
    std::string clipboard;
    std::string after;
    bool cut;
  };
  const std::string digits60(60, '1');
  const Case cases[] = {
      {"five megabytes", "", 0, 0, std::string(5'000'000, '7'), std::string(64, '7'), true},
      {"fits exactly", digits60, 60, 0, "2345", digits60 + "2345", false},
      {"one too many", digits60, 60, 0, "23456", digits60 + "2345", true},
      {"a selection makes room", digits60, 0, 10, std::string(14, '9'),
       std::string(14, '9') + std::string(50, '1'), false},
      // The cut comes first, then the filter; an exponent cut to its "e" reads as its
      // leading number, as one being typed does.
      {"cut then filtered", "", 0, 0, std::string(63, '3') + "e5", std::string(63, '3') + "e",
       true},
      {"cut then letters dropped", "", 0, 0, std::string(62, '3') + "kg5", std::string(62, '3'),
       true},
  };
  form.activeControl = &form.txtManning;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.txtManning.SetText(c.before);
    form.txtManning.SetSelection(c.selStart, c.selLength);
    services.clipboard = c.clipboard;
    services.messages.clear();
    form.mnuPaste.Click();
    EXPECT_EQ(form.txtManning.Text(), c.after);
    if (c.cut) {
      ASSERT_EQ(services.messages.size(), 1u);
      EXPECT_EQ(services.messages[0], (Message{notice, "Rivulet", MessageIcon::Exclamation}));
    } else {
      EXPECT_TRUE(services.messages.empty());
    }
  }
  // Every value box has the limit, and a value set from a file is held to it as well.
  for (TextBox* box : {&form.txtVelDis1, &form.txtDepth, &form.txtDiam, &form.txtSide,
                       &form.txtSlope, &form.txtManning}) {
    box->SetText(std::string(100, '4'));
    EXPECT_EQ(box->Text(), std::string(64, '4')) << box->Name();
  }
}

TEST_F(ShellCommandsTest, CutAndCopyOnTextBoxesResultsAndButtons) {
  form.txtSlope.SetText("2.5");
  form.txtSlope.SetSelection(0, 3);
  form.activeControl = &form.txtSlope;
  form.mnuCut.Click();
  EXPECT_EQ(services.clipboard, "2.5");
  EXPECT_EQ(form.txtSlope.Text(), "");

  // A read-only result can be copied but is not cut or pasted into.
  form.txtArea.SetText("0.785398163397448");
  form.txtArea.SetSelection(0, 5);
  form.activeControl = &form.txtArea;
  form.mnuCopy.Click();
  EXPECT_EQ(services.clipboard, "0.785");
  form.mnuCut.Click();
  services.clipboard = "1";
  form.mnuPaste.Click();
  EXPECT_EQ(form.txtArea.Text(), "0.785398163397448");

  // With a button focused nothing changes and nothing is shown.
  form.activeControl = &form.cmdCalculate;
  services.clipboard = "kept";
  form.mnuCut.Click();
  form.mnuCopy.Click();
  form.mnuPaste.Click();
  EXPECT_EQ(services.clipboard, "kept");
  EXPECT_TRUE(services.messages.empty());
  form.activeControl = nullptr;
  form.mnuPaste.Click();
}

TEST_F(ShellCommandsTest, HelpAndLinksLaunchTheirTargets) {
  form.mnuHelpContents.Click();
  form.mnuLinksTarnHome.Click();
  form.mnuLinksRV.Click();
  form.mnuTarnEmail.Click();
  ASSERT_EQ(services.launched.size(), 4u);
  EXPECT_EQ(services.launched[0], "/nonexistent/rivulet/RVHELP/RVHELP.HTM");
  EXPECT_NE(services.launched[1].find(".example"), std::string::npos);
  EXPECT_EQ(services.launched[3].rfind("mailto:", 0), 0u);
  EXPECT_TRUE(services.messages.empty());

  services.launchSucceeds = false;
  form.mnuLinksRV.Click();
  EXPECT_TRUE(services.messages.empty());  // a failed link says nothing
  // No browser: the program's own viewer shows the page, and nothing is said.
  services.helpViewerWorks = true;
  form.mnuHelpContents.Click();
  EXPECT_TRUE(services.messages.empty());
  ASSERT_EQ(services.helpPages.size(), 1u);
  EXPECT_EQ(services.helpPages[0], "/nonexistent/rivulet/RVHELP/RVHELP.HTM");
  // Neither: the message says where the page is.
  services.helpViewerWorks = false;
  form.mnuHelpContents.Click();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0],
            (Message{"Unable to open on-line help.  Ensure that a Web-Browser is properly "
                     "installed.\n\nThe help page is the file "
                     "/nonexistent/rivulet/RVHELP/RVHELP.HTM; open it in any web browser.",
                     "Oops", MessageIcon::Stop}));
}

TEST(HelpContentsCommand, NamesThePageFileWithoutAddressOrSection) {
  RecordingServices services;
  services.launchSucceeds = false;
  HelpContentsCommand(services, "file:///opt/rivulet/RVHELP/RVHELP.HTM#gutterflow");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_NE(services.messages[0].text.find("the file /opt/rivulet/RVHELP/RVHELP.HTM; "),
            std::string::npos)
      << services.messages[0].text;
  EXPECT_EQ(services.helpPages,
            std::vector<std::string>{"file:///opt/rivulet/RVHELP/RVHELP.HTM#gutterflow"});
}

TEST(AppTexts, CaptionsAndTheDisclaimer) {
  EXPECT_EQ(MainCaption("2.0.1"), "Rivulet - Ver. 2.0.1");
  EXPECT_EQ(AboutCaption("2.0.1"), "About Rivulet - Ver. 2.0.1");
  EXPECT_EQ(AboutVersionLine("2.0.1"), "Version: 2.0.1");
  const std::string start =
      "Tarn makes no warranty or guarantee, expressed or implied, as to the accuracy, "
      "reliability, suitability, functioning, or results derived from the use of this "
      "program.  Nor shall the fact of distribution or sale of the program and related "
      "material constitute any such warranty or guarantee.  No responsability or liability "
      "is assumed by Tarn in connection therewith.  ";
  EXPECT_EQ(DisclaimerText().rfind(start, 0), 0u);
  EXPECT_GT(DisclaimerText().size(), start.size() + 20);
  EXPECT_FALSE(ProgramFileTime("/nonexistent/").has_value());
}

}  // namespace
}  // namespace rivulet
