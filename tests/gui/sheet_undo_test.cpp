// Undo and Redo on the calculation window, and the keys its value boxes keep.
#include "gui/window/sheet_undo.h"

#include <QAction>
#include <QMenuBar>
#include <QUndoStack>

#include "core/files/calc_file.h"
#include "core/files/sheet_edits.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

using SheetUndoTest = ViewTest;

// A solved pipe, then a typed slope, a unit change and a section change: each is one step,
// undone in turn with the results out of date, and Calculate's own writes are none.
TEST_F(SheetUndoTest, EachEditIsOneStepAndCalculateIsNone) {
  ASSERT_TRUE(active);
  Type("txtDepth", "0.5");
  Type("txtDiam", "1");
  Type("txtSlope", "1");
  Type("txtManning", "0.013");
  Button("cmdCalculate")->click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  QUndoStack* stack = view->Undo()->Stack();
  const int solved = stack->index();
  EXPECT_EQ(solved, 4) << "four boxes typed, one step each";

  Box("txtSlope")->selectAll();
  Type("txtSlope", "2.5");
  List("cboDepth")->setCurrentIndex(0);
  emit List("cboDepth")->activated(0);
  List("cboSection")->setCurrentIndex(1);
  emit List("cboSection")->activated(1);
  ASSERT_EQ(stack->index(), solved + 3);

  const struct {
    int section, depthUnit;
    const char* slope;
  } back[] = {{0, 0, "2.5"}, {0, 2, "2.5"}, {0, 2, "1"}};
  for (const auto& b : back) {
    stack->undo();
    EXPECT_EQ(form.cboSection.ListIndex(), b.section);
    EXPECT_EQ(form.cboDepth.ListIndex(), b.depthUnit);
    EXPECT_EQ(form.txtSlope.Text(), b.slope);
    EXPECT_EQ(form.txtDepth.Text(), "0.5");
    EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
    EXPECT_TRUE(view->isWindowModified());
  }
  stack->redo();
  EXPECT_EQ(form.txtSlope.Text(), "2.5");
  // The stale results read grey, as a worksheet's do.
  EXPECT_EQ(Box("txtVelDis2")->palette().color(QPalette::Active, QPalette::Text),
            Box("txtVelDis2")->palette().color(QPalette::Disabled, QPalette::Text));

  // Ctrl+Z in a value box is the window's Undo, Ctrl+A its own Select All.
  QLineEdit* slope = Box("txtSlope");
  slope->setFocus();
  QTest::keyClick(slope, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(form.txtSlope.Text(), "1");
  QTest::keyClick(slope, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(slope->selectedText(), "1");

  form.SetModified(false);  // nothing to ask about: New goes ahead
  mnuNew_Click(form);
  view->Sync();
  EXPECT_EQ(stack->count(), 0) << "a new sheet starts its own history";
}

// The sheet restored from its edits is the sheet that was taken, locked diameter included.
TEST_F(SheetUndoTest, RestoredEditsGiveTheSameSheet) {
  Type("txtDiam", "0.6");
  form.chkLocDiam.SetValue(1);
  Type("txtSlope", "0.4");
  const SheetEdits locked = TakeSheetEdits(form);
  form.chkLocDiam.SetValue(0);
  Box("txtDepth")->selectAll();
  Type("txtDepth", "0.2");
  form.cboSection.SetListIndex(2);
  RestoreSheetEdits(form, locked);
  EXPECT_EQ(TakeSheetEdits(form), locked);
  EXPECT_EQ(form.txtDepth.Text(), "0.6");
}

}  // namespace
}  // namespace rivulet
