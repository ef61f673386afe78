#include "core/shell/controls.h"

#include <gtest/gtest.h>

#include "core/shell/startup.h"

namespace rivulet {
namespace {

TEST(Controls, TextBoxRunsItsHandlerOnlyOnARealChange) {
  TextBox box("txt");
  int runs = 0;
  box.onChange = [&] { ++runs; };
  box.SetText("1");
  box.SetText("1");
  box.SetText("");
  EXPECT_EQ(runs, 2);
}

TEST(Controls, MaximumLengthCountsCharactersNotBytes) {
  TextBox box("txt");
  box.SetMaxLength(3);
  box.SetText("m\u00b3/s");  // m³/s: four characters, five bytes
  EXPECT_EQ(box.Text(), "m\u00b3/");
  box.SetText("ab");
  box.SetSelection(2, 0);
  EXPECT_TRUE(box.ReplaceSelection("\u00b3\u00b3"));
  EXPECT_EQ(box.Text(), "ab\u00b3");
  EXPECT_EQ(box.SelStart(), 4);  // after the whole ³, not inside it
  box.SetMaxLength(0);
  EXPECT_FALSE(box.ReplaceSelection(std::string(10000, 'x')));
  EXPECT_EQ(box.Text().size(), 10004u);
}

TEST(Controls, ListRunsItsHandlerEvenForTheSamePosition) {
  ComboBox list("cbo");
  list.AddItems({"a", "b"});
  int runs = 0;
  list.onClick = [&] { ++runs; };
  EXPECT_TRUE(list.SetListIndex(1));
  EXPECT_TRUE(list.SetListIndex(1));
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(list.Text(), "b");
  // Outside the list: refused, nothing runs, the position stays.
  EXPECT_FALSE(list.SetListIndex(2));
  EXPECT_FALSE(list.SetListIndex(-2));
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(list.ListIndex(), 1);
  list.Clear();
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.Text(), "");
  EXPECT_EQ(runs, 2);
}

TEST(Controls, OptionGroupSelectsOneAndRunsOnlyOnSelection) {
  OptionGroup group;
  OptionButton a("a", group), b("b", group);
  int aRuns = 0, bRuns = 0;
  a.onClick = [&] { ++aRuns; };
  b.onClick = [&] { ++bRuns; };
  a.SetValue(true);
  b.SetValue(true);
  EXPECT_FALSE(a.Value());
  EXPECT_EQ(group.Selected(), &b);
  b.SetValue(false);  // clearing runs nothing and leaves none selected
  EXPECT_EQ(group.Selected(), nullptr);
  EXPECT_EQ(aRuns, 1);
  EXPECT_EQ(bRuns, 1);
}

TEST(Controls, CheckBoxRunsOnChange) {
  CheckBox box("chk");
  int runs = 0;
  box.onClick = [&] { ++runs; };
  box.SetValue(0);
  box.SetValue(1);
  box.SetValue(1);
  box.SetValue(0);
  EXPECT_EQ(runs, 2);
}

TEST(Controls, ReplaceSelectionInsertsAtTheCaret) {
  TextBox box("txt");
  box.SetText("125");
  box.SetSelection(2, 0);
  box.ReplaceSelection("0");
  EXPECT_EQ(box.Text(), "1205");
  EXPECT_EQ(box.SelStart(), 3);
  box.SetSelection(1, 2);
  EXPECT_EQ(box.SelectedText(), "20");
  box.ReplaceSelection("");
  EXPECT_EQ(box.Text(), "15");
}

TEST(StartupValues, VersionAndPaths) {
  EXPECT_EQ(VersionString(2, 0, 1), "2.0.1");
  EXPECT_EQ(VersionString(2, 10, 0), "2.10.0");
  EXPECT_EQ(VersionString(2, 5, 12), "2.5.12");
  EXPECT_EQ(BuildVersionString(), RIVULET_PROJECT_VERSION);
  EXPECT_EQ(PathJoin("/opt/rivulet", "RVHELP/RVHELP.HTM"), "/opt/rivulet/RVHELP/RVHELP.HTM");
  EXPECT_EQ(PathJoin("/", "RVHELP/RVHELP.HTM"), "/RVHELP/RVHELP.HTM");
  const auto root = StartupValues::ForFolder("/");
  EXPECT_EQ(root.programFolder, "/");
  EXPECT_EQ(root.helpPagePath, "/RVHELP/RVHELP.HTM");
  const auto v = StartupValues::ForFolder("/opt/r");
  EXPECT_EQ(v.programFolder, "/opt/r/");
  EXPECT_EQ(v.helpPagePath, "/opt/r/RVHELP/RVHELP.HTM");
  const std::string exeFolder = ExecutableFolder();
  ASSERT_FALSE(exeFolder.empty());
  EXPECT_EQ(exeFolder.back(), '/');
}

}  // namespace
}  // namespace rivulet
