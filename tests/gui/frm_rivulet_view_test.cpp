#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <cmath>

#include "core/window/shell_commands.h"
#include "support/form_test_access.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

TEST_F(ViewTest, LoadedWindowShowsTheSheet) {
  ASSERT_TRUE(active);
  EXPECT_EQ(view->windowTitle().toStdString(), form.Title() + "[*]");
  EXPECT_FALSE(view->isWindowModified());
  const std::pair<const char*, const char*> captions[] = {{"lblSection", "Channel Section:"},
                                                          {"cmdSection", "View Drawing"},
                                                          {"fraSolve", "Solve For"},
                                                          {"fraOther", "Other Values"},
                                                          {"optVelDis1", "Velocity"},
                                                          {"optDiam", "Diameter"},
                                                          {"optManning", "Manning's  N"},
                                                          {"cmdManning", "Look Up Table"},
                                                          {"lblVelDis2", "Discharge"},
                                                          {"lblDDS", "Alt. Depth"},
                                                          {"lblVelDis3", "Alt. Discharge"},
                                                          {"cmdCalculate", "Calculate"},
                                                          {"cmdVelDis", ""},
                                                          {"chkLocDiam", ""}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(Caption(name), caption) << name;

  struct Units {
    const char* name;
    int count;
    const char* shown;
  };
  const Units units[] = {{"cboSection", 5, "Circular Pipe"}, {"cboVelDis1", 4, "m/s"},
                         {"cboDepth", 5, "meters"},          {"cboSide", 3, "degrees"},
                         {"cboSlope", 4, "/1000"},           {"cboVelDis2", 12, "m\u00b3/s"},
                         {"cboArea", 5, "m\u00b2"},          {"cboDDS", 5, "meters"},
                         {"cboVelDis3", 12, "m\u00b3/s"},    {"cboArea2", 5, "m\u00b2"}};
  for (const Units& u : units) {
    EXPECT_EQ(List(u.name)->count(), u.count) << u.name;
    EXPECT_EQ(List(u.name)->currentText(), Utf8(u.shown)) << u.name;
  }
  EXPECT_EQ(List("cboVelDis2")->itemText(11), "USMG/d");

  QLineEdit* status = Box("txtStatus");
  EXPECT_EQ(status->text(), "Welcome to Rivulet...");
  EXPECT_TRUE(status->isReadOnly());
  EXPECT_EQ(Back("txtStatus"), QColor(128, 255, 128));
  EXPECT_EQ(status->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 128));

  const QColor yellow(255, 255, 0);
  const QColor tooltip =
      QApplication::palette("QLineEdit").color(QPalette::Active, QPalette::ToolTipBase);
  const std::pair<const char*, QColor> backs[] = {
      {"txtVelDis1", yellow}, {"txtDepth", DefaultBack()},  {"txtDiam", DefaultBack()},
      {"txtVelDis2", yellow}, {"txtArea", yellow},          {"txtDDS", tooltip},
      {"txtArea2", tooltip},  {"txtManning", DefaultBack()}};
  for (const auto& [name, colour] : backs) EXPECT_EQ(Back(name), colour) << name;

  EXPECT_TRUE(Button("optVelDis1")->isChecked());
  EXPECT_FALSE(Button("optSide")->isEnabled());
  EXPECT_FALSE(Box("txtSide")->isEnabled());
  EXPECT_TRUE(Find("chkLocDiam")->isVisible());
  EXPECT_FALSE(Button("chkLocDiam")->isChecked());
  for (const char* name : {"lblDDS", "txtDDS", "lblVelDis3", "txtVelDis3", "lblArea2", "txtArea2"})
    EXPECT_FALSE(Find(name)->isEnabled()) << name;
  EXPECT_TRUE(List("cboDDS")->isEnabled());
  for (const char* name : {"txtVelDis2", "txtArea", "txtDDS"}) EXPECT_TRUE(Box(name)->isReadOnly());
  EXPECT_FALSE(Box("txtDepth")->isReadOnly());
}

TEST_F(ViewTest, TabOrderAndFirstFocusFollowTheSheet) {
  EXPECT_EQ(QApplication::focusWidget(), Find("cboSection"));
  std::vector<std::string> expected, chain;
  for (const Control* c : form.TabOrder()) expected.push_back(c->Name());
  QWidget* w = Find("cboSection");
  do {
    if (view->Binder().ControlOf(w) && (w->focusPolicy() & Qt::TabFocus))
      chain.push_back(w->objectName().toStdString());
    w = w->nextInFocusChain();
  } while (w != Find("cboSection") && chain.size() <= expected.size());
  EXPECT_EQ(chain, expected);
}

TEST_F(ViewTest, MenusFollowTheMenuTree) {
  QStringList titles;
  for (QAction* a : view->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Options", "&Tools", "&Help"}));

  QMenu* file = view->menuBar()->actions().front()->menu();
  QStringList items;
  for (QAction* a : file->actions()) items << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(items, QStringList({"&New", "&Open...", "&Save", "Save &As...", "-", "&Print",
                                "Print Set&up...", "-", "&Calculate", "-", "E&xit"}));

  const std::pair<const char*, QKeySequence> keys[] = {
      {"mnuCalculate", QKeySequence(Qt::Key_F5)},
      {"mnuSaveAs", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {"mnuOptionsFix", QKeySequence(Qt::CTRL | Qt::Key_F)},
      {"mnuHelpContents", QKeySequence(Qt::Key_F1)},
      {"mnuExit", QKeySequence()}};
  for (const auto& [name, key] : keys) EXPECT_EQ(Find<QAction>(name)->shortcut(), key) << name;

  QAction* links = Find<QAction>("mnuLinks");
  ASSERT_NE(links->menu(), nullptr);
  EXPECT_EQ(links->menu()->actions().size(), 3);
  EXPECT_EQ(links->menu()->actions()[1]->text(), "&2.  Rivulet Web Page");

  QAction* fix = Find<QAction>("mnuOptionsFix");
  EXPECT_FALSE(fix->isChecked());
  fix->trigger();
  EXPECT_TRUE(form.mnuOptionsFix.Checked());
  EXPECT_TRUE(fix->isChecked());
  fix->trigger();
  EXPECT_FALSE(form.mnuOptionsFix.Checked());
  EXPECT_FALSE(fix->isChecked());
}

TEST_F(ViewTest, TypedTextGoesThroughTheFilter) {
  ASSERT_TRUE(active);
  struct Row {
    const char* box;
    const char* keys;
    const char* kept;
  };
  // Each keystroke is filtered on its own; "1e" and "1e-" stay while the exponent is
  // typed, and a comma is the decimal point.
  const Row rows[] = {{"txtDepth", "12x", "12"},
                      {"txtDepth", ".", "0."},
                      {"txtSlope", "-", ""},
                      {"txtManning", "0.013", "0.013"},
                      {"txtDiam", "1e-3", "1e-3"},
                      {"txtVelDis1", "2.5.", "2.5"},
                      {"txtDepth", "7 m", "7 "},
                      {"txtManning", "0,013", "0.013"},
                      {"txtSlope", "2.5E+x1", "2.5E+1"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.box) + " <- " + r.keys);
    Type(r.box, r.keys);
    auto* box = Box(r.box);
    EXPECT_EQ(box->text(), r.kept);
    EXPECT_EQ(view->Binder().ControlOf(box), form.activeControl);
    EXPECT_EQ(static_cast<TextBox*>(form.activeControl)->Text(), r.kept);
    EXPECT_EQ(box->cursorPosition(), box->text().size());
    static_cast<TextBox*>(form.activeControl)->SetText("");
    view->Sync();
  }
}

TEST_F(ViewTest, CaretStaysWhereTheUserTypedUnlessTheFilterCut) {
  ASSERT_TRUE(active);
  QLineEdit* depth = Box("txtDepth");
  Type("txtDepth", "12");
  QTest::keyClick(depth, Qt::Key_Home);
  QTest::keyClick(depth, '3');
  EXPECT_EQ(form.txtDepth.Text(), "312");
  EXPECT_EQ(depth->cursorPosition(), 1);

  // "3x12" is cut back from its end to "3".
  QTest::keyClick(depth, 'x');
  EXPECT_EQ(form.txtDepth.Text(), "3");
  EXPECT_EQ(depth->text(), "3");
  EXPECT_EQ(depth->cursorPosition(), 1);

  // Enter is not a command in a value box: the work stays as typed.
  Type("txtDepth", "5");
  QTest::keyClick(depth, Qt::Key_Return);
  EXPECT_EQ(depth->text(), "35");
  EXPECT_EQ(form.txtStatus.Text(), kStatusWelcome);
}

TEST_F(ViewTest, ListChoiceIsForwardedEvenForTheSameEntry) {
  FormTestAccess::CalculateRectangle(form);
  ASSERT_EQ(form.Results(), ResultsState::Current);
  view->Sync();
  QComboBox* slope = List("cboSlope");
  emit slope->activated(slope->currentIndex());
  EXPECT_EQ(Box("txtStatus")->text().toStdString(), kStatusModified);
  EXPECT_EQ(Back("txtStatus"), QColor(255, 192, 192));

  QComboBox* depth = List("cboDepth");
  depth->setFocus();
  QTest::keyClick(depth, Qt::Key_Home);
  EXPECT_EQ(form.cboDepth.ListIndex(), 0);
  EXPECT_EQ(depth->currentText(), "mm");
}

TEST_F(ViewTest, OptionClickMovesTheHighlight) {
  QTest::mouseClick(Button("optDepth"), Qt::LeftButton);
  EXPECT_TRUE(form.optDepth.Value());
  EXPECT_FALSE(Button("optVelDis1")->isChecked());
  EXPECT_EQ(Back("txtDepth"), QColor(255, 255, 0));
  EXPECT_EQ(Back("txtVelDis1"), DefaultBack());

  QTest::mouseClick(Button("optDiam"), Qt::LeftButton);
  EXPECT_TRUE(Button("optDiam")->isChecked());
  EXPECT_FALSE(Button("optDepth")->isChecked());
  EXPECT_EQ(Caption("lblDDS"), "Alt. Diameter");
  EXPECT_EQ(Back("txtDiam"), QColor(255, 255, 0));
  EXPECT_EQ(Back("txtDepth"), DefaultBack());
}

TEST_F(ViewTest, SectionAndModeChangesRearrangeWithoutMovingTheWindow) {
  Settle();
  const QSize size = view->size();
  const QRect diamBox = Box("txtDiam")->geometry();
  auto unmoved = [&](const char* step) {
    Settle();
    EXPECT_EQ(view->size(), size) << step;
    EXPECT_EQ(Box("txtDiam")->geometry(), diamBox) << step;
  };

  QTest::mouseClick(Button("optDiam"), Qt::LeftButton);
  emit List("cboSection")->activated(2);  // Triangle takes the width away
  EXPECT_TRUE(Button("optSide")->isChecked());
  EXPECT_FALSE(Button("optDiam")->isEnabled());
  EXPECT_FALSE(Box("txtDiam")->isEnabled());
  EXPECT_FALSE(Find("chkLocDiam")->isVisible());
  EXPECT_EQ(Caption("optDiam"), "Width");
  EXPECT_EQ(Back("txtSide"), QColor(255, 255, 0));
  unmoved("triangle");

  emit List("cboSection")->activated(3);
  EXPECT_EQ(Caption("lblDDS"), "Alt. Side Slope");
  EXPECT_EQ(List("cboDDS")->currentText(), "degrees");
  unmoved("trapezoid");

  Type("txtVelDis1", "2");
  QTest::mouseClick(Button("cmdVelDis"), Qt::LeftButton);
  EXPECT_EQ(Caption("optVelDis1"), "Discharge");
  EXPECT_EQ(Caption("lblVelDis2"), "Velocity");
  EXPECT_EQ(Caption("lblVelDis3"), "Alt. Velocity");
  EXPECT_EQ(List("cboVelDis1")->count(), 12);
  EXPECT_EQ(List("cboVelDis1")->currentText(), Utf8("m\u00b3/s"));
  EXPECT_EQ(Box("txtVelDis2")->text(), "2");
  EXPECT_EQ(Box("txtVelDis1")->text(), "");
  unmoved("toggled");

  emit List("cboSection")->activated(0);
  EXPECT_TRUE(Find("chkLocDiam")->isVisible());
  EXPECT_EQ(Caption("optDiam"), "Diameter");
  unmoved("pipe");
}

TEST_F(ViewTest, DepthLockMirrorsTheDiameter) {
  ASSERT_TRUE(active);
  QTest::mouseClick(Button("chkLocDiam"), Qt::LeftButton);
  EXPECT_EQ(form.chkLocDiam.Value(), 1);
  EXPECT_FALSE(Box("txtDepth")->isEnabled());
  EXPECT_FALSE(List("cboDepth")->isEnabled());
  EXPECT_EQ(Back("txtDepth"), QColor(255, 255, 0));

  Type("txtDiam", "250");
  EXPECT_EQ(Box("txtDepth")->text(), "250");
  emit List("cboDiam")->activated(0);
  EXPECT_EQ(List("cboDepth")->currentText(), "mm");

  QTest::mouseClick(Button("chkLocDiam"), Qt::LeftButton);
  EXPECT_EQ(form.chkLocDiam.Value(), 0);
  EXPECT_TRUE(Box("txtDepth")->isEnabled());
}

// A half-full pipe of 1 m: A = pi/8 m², R = 0.25 m; V = R^(2/3) S^(1/2) / n.
TEST_F(ViewTest, CalculateShowsTheResultsAndF5RepeatsIt) {
  ASSERT_TRUE(active);
  Type("txtDepth", "0.5");
  Type("txtDiam", "1");
  Type("txtSlope", "1");
  Type("txtManning", "0.013");
  QTest::mouseClick(Button("cmdCalculate"), Qt::LeftButton);
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(Box("txtStatus")->text().toStdString(), kStatusComplete);
  EXPECT_EQ(Back("txtStatus"), QColor(192, 255, 192));

  const double pi = 4 * std::atan(1.0);
  const double area = pi / 8;
  const double velocity = std::pow(0.25, 2.0 / 3) * std::sqrt(0.001) / 0.013;
  // Relative: the results are written with 15 significant digits.
  auto reads = [this](const char* box, double expected) {
    bool ok = false;
    const double shown = Box(box)->text().toDouble(&ok);
    EXPECT_TRUE(ok) << box << " shows " << Box(box)->text().toStdString();
    EXPECT_NEAR(shown, expected, 1e-12 * expected) << box;
  };
  reads("txtVelDis1", velocity);
  reads("txtArea", area);
  reads("txtVelDis2", velocity * area);
  for (const char* alt : {"txtDDS", "txtVelDis3", "txtArea2"}) EXPECT_EQ(Box(alt)->text(), "N/A");

  Type("txtSlope", "0");
  EXPECT_EQ(Box("txtStatus")->text().toStdString(), kStatusModified);
  QTest::keyClick(Box("txtSlope"), Qt::Key_F5);
  EXPECT_EQ(Box("txtStatus")->text().toStdString(), kStatusComplete);
  reads("txtVelDis1", velocity * std::sqrt(10.0));
}

// Ctrl+C and Ctrl+V are the menu's keys even inside a text box; the commands then
// act on the selection the box showed.
TEST_F(ViewTest, MenuKeysActOnTheFocusedBoxThroughTheCore) {
  ASSERT_TRUE(active);
  AttachShellCommands(form);
  int saveAs = 0;
  form.mnuSaveAs.onClick = [&] { ++saveAs; };
  form.txtArea.SetText("0.785398163397448");
  view->Sync();
  QLineEdit* area = Box("txtArea");
  area->setFocus();
  area->setSelection(0, 5);
  QTest::keyClick(area, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(services.clipboard, "0.785");

  services.clipboard = "4.5x";
  Type("txtDepth", "12");
  QLineEdit* depth = Box("txtDepth");
  depth->setSelection(1, 1);
  QTest::keyClick(depth, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtDepth.Text(), "14.5");
  EXPECT_EQ(depth->text(), "14.5");
  EXPECT_EQ(depth->cursorPosition(), 4);

  // Ctrl+A selects the box's text, as in any text box; Save As keeps its other key.
  QTest::keyClick(depth, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(saveAs, 0);
  EXPECT_EQ(depth->selectedText(), "14.5");
  QTest::keyClick(depth, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(saveAs, 1);
}

TEST_F(ViewTest, FocusAndSelectionReachTheCore) {
  ASSERT_TRUE(active);
  Type("txtVelDis1", "12.5");
  Box("txtVelDis1")->setSelection(1, 2);
  EXPECT_EQ(form.txtVelDis1.SelectedText(), "2.");
  Box("txtArea")->setFocus();
  EXPECT_EQ(form.activeControl, &form.txtArea);
  List("cboArea")->setFocus();
  EXPECT_EQ(form.activeControl, &form.cboArea);
}

TEST(TextOffsets, ConvertBetweenUtf8AndUtf16) {
  const std::string text = "m\u00b3/s";
  const QString shown = QString::fromStdString(text);
  const std::pair<int, int> pairs[] = {{0, 0}, {1, 1}, {2, 3}, {4, 5}};
  for (const auto& [utf16, utf8] : pairs) {
    EXPECT_EQ(Utf8Offset(shown, utf16), utf8);
    EXPECT_EQ(Utf16Offset(text, utf8), utf16);
  }
  EXPECT_EQ(Utf16Offset(text, 99), 4);
  EXPECT_EQ(Utf16Offset(text, -1), 0);
}

}  // namespace
}  // namespace rivulet

namespace rivulet {
namespace {

TEST_F(ViewTest, ASurchargedPipeIsSaidToBeOneUnderTheStatusLine) {
  ASSERT_TRUE(active);
  auto* line = Find<QLabel>("lblSurcharge");
  ASSERT_NE(line, nullptr);
  // A 0.45 m pipe at 4/1000 asked for 0.4 m³/s, more than twice what it carries full.
  form.cmdVelDis_Click();
  form.cboVelDis1.SetListIndex(0);
  form.optDepth.SetValue(true);
  for (const auto& [box, text] :
       {std::pair{&form.txtVelDis1, "0.4"}, {&form.txtDiam, "0.45"}, {&form.txtManning, "0.013"}})
    box->SetText(text);
  form.cboDiam.SetListIndex(2);
  form.txtSlope.SetText("4");
  form.cmdCalculate_Click();
  view->Sync();
  EXPECT_TRUE(line->isVisible());
  EXPECT_TRUE(line->text().startsWith("Pipe surcharged: the discharge asked for, 0.4 m³/s, is 2.2"))
      << line->text().toStdString();
  EXPECT_EQ(Box("txtVelDis1")->text(), "0.4");
  // Within capacity the line goes.
  form.txtVelDis1.SetText("0.1");
  form.cmdCalculate_Click();
  view->Sync();
  EXPECT_FALSE(line->isVisible());
}

}  // namespace
}  // namespace rivulet
