// The n-value tables and the drawing windows as the user meets them: opened from the
// calculation window, at most one of each, writing n only through OK.
#include "gui/reference/reference_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <memory>

#include "core/reference/grass_table.h"
#include "core/reference/n_values.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "support/form_test_access.h"
#include "support/recording_services.h"
#include "support/temp_program_folder.h"

namespace rivulet {
namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

// Windows closed by OK or Cancel go at the next turn of the event loop.
void FlushDeletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QPoint CentredPosition(const QWidget& w) {
  const QRect screen = w.screen()->geometry();
  return QPoint(screen.x() + (screen.width() - w.frameGeometry().width()) / 2,
                screen.y() + (screen.height() - w.frameGeometry().height()) / 2);
}

class ReferenceWindowsTest : public testing::Test {
 protected:
  ReferenceWindowsTest() {
    EnsureApplication();
    main = std::make_unique<QWidget>();
    windows = new ReferenceWindows(main.get(), txtManning);
    txtManning.onChange = [this] { ++changes; };
    windows->afterChange = [this] { afterChangeSaw.push_back(txtManning.Text()); };
  }
  ~ReferenceWindowsTest() override {
    main.reset();
    FlushDeletions();
  }

  template <class W = QWidget>
  W* In(QWidget* window, const char* name) {
    W* w = window ? window->findChild<W*>(name) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QRadioButton* Row(int row) {
    return In<QRadioButton>(windows->NValues(), ("opt" + std::to_string(row)).c_str());
  }
  void Press(QWidget* window, const char* button) {
    QTest::mouseClick(In<QPushButton>(window, button), Qt::LeftButton);
  }

  TextBox txtManning{"txtManning"};
  int changes = 0;
  std::vector<std::string> afterChangeSaw;
  std::unique_ptr<QWidget> main;
  ReferenceWindows* windows;
};

TEST_F(ReferenceWindowsTest, NTableShowsTheThirteenRowsModelessCentredFocusOnRowFive) {
  windows->OpenNValues();
  QDialog* table = windows->NValues();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->objectName(), "frmNValues");
  EXPECT_EQ(table->windowTitle(), "Values for Manning's n");
  EXPECT_TRUE(table->isVisible());
  EXPECT_FALSE(table->isModal());
  EXPECT_EQ(table->pos(), CentredPosition(*table));
  for (int row = 1; row <= kNValueRowCount; ++row) {
    EXPECT_EQ(Row(row)->text().toStdString(), NValueRows()[row - 1].caption);
    EXPECT_FALSE(Row(row)->isChecked());
    const std::string label = "Label" + std::to_string(row);
    EXPECT_EQ(In<QLabel>(table, label.c_str())->text().toStdString(),
              NValueRows()[row - 1].material);
  }
  EXPECT_EQ(table->focusWidget(), Row(kNValueFocusRow));
}

TEST_F(ReferenceWindowsTest, ClickingAMaterialSelectsItsRowAndOkWritesItsValue) {
  txtManning.SetText("0.02");
  changes = 0;
  windows->OpenNValues();
  QPointer<QDialog> table = windows->NValues();
  QTest::mouseClick(Row(12), Qt::LeftButton);
  QTest::mouseClick(In<QLabel>(table, "Label6"), Qt::LeftButton);
  EXPECT_TRUE(Row(6)->isChecked());
  EXPECT_FALSE(Row(12)->isChecked());
  Press(table, "cmdOK");
  EXPECT_EQ(txtManning.Text(), "0.014");
  EXPECT_EQ(changes, 1);
  // The main view re-syncs once, after the write.
  EXPECT_EQ(afterChangeSaw, std::vector<std::string>{"0.014"});
  FlushDeletions();
  EXPECT_TRUE(table.isNull());
  EXPECT_EQ(windows->NValues(), nullptr);
}

TEST_F(ReferenceWindowsTest, OkWithoutAChoiceWrites0013) {
  windows->OpenNValues();
  Press(windows->NValues(), "cmdOK");
  EXPECT_EQ(txtManning.Text(), "0.013");
}

TEST_F(ReferenceWindowsTest, CancelEscapeAndTitleBarLeaveNAlone) {
  struct Way {
    const char* name;
    std::function<void(QDialog*)> close;
  };
  const Way ways[] = {
      {"Cancel", [this](QDialog* t) { Press(t, "cmdCancel"); }},
      {"Escape", [](QDialog* t) { QTest::keyClick(t, Qt::Key_Escape); }},
      {"title bar", [](QDialog* t) { t->close(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    txtManning.SetText("0.02");
    changes = 0;
    windows->OpenNValues();
    QPointer<QDialog> table = windows->NValues();
    QTest::mouseClick(Row(13), Qt::LeftButton);
    way.close(table);
    FlushDeletions();
    EXPECT_TRUE(table.isNull());
    EXPECT_EQ(txtManning.Text(), "0.02");
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(afterChangeSaw.empty());
  }
}

TEST_F(ReferenceWindowsTest, LookUpTableTwiceKeepsOneWindowWithItsChoice) {
  windows->OpenNValues();
  QDialog* first = windows->NValues();
  QTest::mouseClick(Row(9), Qt::LeftButton);
  windows->OpenNValues();
  EXPECT_EQ(windows->NValues(), first);
  EXPECT_EQ(main->findChildren<QDialog*>("frmNValues").size(), 1);
  EXPECT_TRUE(Row(9)->isChecked());
  // Once closed, the next opening starts afresh.
  Press(first, "cmdCancel");
  FlushDeletions();
  windows->OpenNValues();
  EXPECT_FALSE(Row(9)->isChecked());
}

TEST_F(ReferenceWindowsTest, MoreOpensOneGrassTableThatOutlivesTheNTable) {
  windows->OpenNValues();
  QDialog* table = windows->NValues();
  Press(table, "Command1");
  QPointer<QDialog> grass = windows->GrassTable();
  ASSERT_FALSE(grass.isNull());
  EXPECT_TRUE(grass->isVisible());
  EXPECT_FALSE(grass->isModal());
  EXPECT_TRUE(table->isVisible());
  Press(table, "Command1");
  EXPECT_EQ(windows->GrassTable(), grass);

  Press(table, "cmdCancel");
  FlushDeletions();
  EXPECT_FALSE(grass.isNull());
  Press(grass, "Command1");
  FlushDeletions();
  EXPECT_TRUE(grass.isNull());
  EXPECT_EQ(changes, 0);
}

TEST_F(ReferenceWindowsTest, GrassTableLabelsFollowTheTableInReadingOrder) {
  windows->OpenGrassTable();
  QDialog* grass = windows->GrassTable();
  EXPECT_EQ(grass->windowTitle(), kGrassTableCaption);
  EXPECT_EQ(In<QLabel>(grass, "Label1")->text(), kGrassTableCaption);
  EXPECT_EQ(In<QLabel>(grass, "Label19")->text(), "Source: MTO Drainage Manual");
  std::vector<std::string_view> expected(GrassColumnHeadings().begin(),
                                         GrassColumnHeadings().end());
  for (const GrassRow& row : GrassRows()) {
    expected.push_back(row.text);
    if (!row.IsGroupHeading()) {
      expected.push_back(row.shallow);
      expected.push_back(row.deeper);
    }
  }
  ASSERT_EQ(expected.size(), 17u);
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string name = "Label" + std::to_string(i + 2);
    EXPECT_EQ(In<QLabel>(grass, name.c_str())->text().toStdString(), expected[i]) << name;
  }
}

TEST_F(ReferenceWindowsTest, DrawingWindowsCarryTheirNamesCaptionsAndButtons) {
  for (const DrawingInfo& info : Drawings()) {
    SCOPED_TRACE(std::string(info.windowName));
    windows->OpenDrawing(info.kind);
    QDialog* w = windows->Drawing(info.kind);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName().toStdString(), info.windowName);
    EXPECT_EQ(w->windowTitle().toStdString(), info.caption);
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(In<QPushButton>(w, std::string(info.buttonName).c_str())->text(), "OK");
    QWidget* picture = In(w, "Image1");
    EXPECT_GE(picture->width(), info.width);
    EXPECT_NEAR(picture->width() / double(info.width), picture->height() / double(info.height),
                0.01);
  }
}

TEST_F(ReferenceWindowsTest, OpeningADrawingAgainReplacesItCentred) {
  windows->OpenDrawing(SectionKind::Gutter);
  QPointer<QDialog> first = windows->Drawing(SectionKind::Gutter);
  first->move(5, 5);
  windows->OpenDrawing(SectionKind::Gutter);
  QDialog* second = windows->Drawing(SectionKind::Gutter);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(main->findChildren<QDialog*>("frmGutter").size(), 1);
  EXPECT_EQ(second->pos(), CentredPosition(*second));
}

TEST_F(ReferenceWindowsTest, OkOfOneDrawingLeavesTheOthersOpen) {
  windows->OpenDrawing(SectionKind::Pipe);
  windows->OpenDrawing(SectionKind::Rectangle);
  QPointer<QDialog> circle = windows->Drawing(SectionKind::Pipe);
  Press(circle, "cmdOK");
  FlushDeletions();
  EXPECT_TRUE(circle.isNull());
  ASSERT_NE(windows->Drawing(SectionKind::Rectangle), nullptr);
  EXPECT_TRUE(windows->Drawing(SectionKind::Rectangle)->isVisible());
}

// The calculation window's buttons and menu reach the windows, and OK's write runs the
// sheet's own edit handling.
class AttachedTest : public testing::Test {
 protected:
  AttachedTest() : form(services, programFolder.Startup()) {
    EnsureApplication();
    form.Form_Load();
    main = std::make_unique<QWidget>();
    windows = AttachReferenceWindows(form, main.get(), [this] { ++syncs; });
  }
  ~AttachedTest() override {
    main.reset();
    FlushDeletions();
  }
  std::vector<QString> OpenDrawings() {
    std::vector<QString> names;
    for (const DrawingInfo& info : Drawings())
      if (QDialog* w = windows->Drawing(info.kind)) names.push_back(w->objectName());
    return names;
  }

  TempProgramFolder programFolder;
  RecordingServices services;
  frmRivulet form;
  std::unique_ptr<QWidget> main;
  ReferenceWindows* windows;
  int syncs = 0;
};

TEST_F(AttachedTest, ViewDrawingFollowsTheSectionListNotTheMenuOrder) {
  form.cboSection.SetListIndex(2);
  form.cmdSection.Click();
  EXPECT_EQ(OpenDrawings(), std::vector<QString>{"frmTriangle"});
  form.cboSection.SetListIndex(3);  // an open drawing stays as it is
  EXPECT_EQ(OpenDrawings(), std::vector<QString>{"frmTriangle"});
  form.cmdSection.Click();
  EXPECT_EQ(OpenDrawings(), (std::vector<QString>{"frmTriangle", "frmTrapezoid"}));
}

TEST_F(AttachedTest, ViewMenuItemsOpenTheirOwnDrawings) {
  const std::pair<MenuItem*, const char*> items[] = {
      {&form.mnuCircle, "frmCircle"},       {&form.mnuRectangle, "frmRectangle"},
      {&form.mnuTrapezoid, "frmTrapezoid"}, {&form.mnuTriangle, "frmTriangle"},
      {&form.mnuGutter, "frmGutter"},
  };
  for (const auto& [item, name] : items) {
    item->Click();
    EXPECT_EQ(main->findChildren<QDialog*>(name).size(), 1) << name;
  }
  EXPECT_EQ(OpenDrawings().size(), 5u);
}

TEST_F(AttachedTest, OkWriteMarksCompletedResultsStaleLikeATypedEdit) {
  FormTestAccess::CalculateRectangle(form);
  ASSERT_EQ(form.Results(), ResultsState::Current);
  form.cmdManning.Click();
  form.cmdManning.Click();
  ASSERT_EQ(main->findChildren<QDialog*>("frmNValues").size(), 1);
  QDialog* table = windows->NValues();
  QTest::mouseClick(table->findChild<QRadioButton*>("opt1"), Qt::LeftButton);
  QTest::mouseClick(table->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_EQ(form.txtManning.Text(), "0.01");
  EXPECT_EQ(form.txtStatus.Text(), kStatusModified);
  EXPECT_EQ(form.Results(), ResultsState::Modified);
  EXPECT_EQ(syncs, 1);
}

}  // namespace
}  // namespace rivulet
