#include "gui/shell/qt_services.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>

namespace rivulet {
namespace {

TEST(QtFileFilter, TranslatesFilterPairs) {
  struct Row {
    std::vector<std::pair<std::string, std::string>> filters;
    const char* expected;
  };
  const Row rows[] = {
      {{{"*.rvl ", "*.rvl"}}, "*.rvl"},
      {{{"Rivulet Files", "*.rvl"}}, "Rivulet Files (*.rvl)"},
      {{{"Rivulet Files (*.rvl)", "*.rvl"}}, "Rivulet Files (*.rvl)"},
      {{{"Text", "*.txt;*.log"}, {"All Files", "*.*"}}, "Text (*.txt *.log);;All Files (*.*)"},
      {{}, ""},
  };
  for (const Row& r : rows) {
    FileDialogRequest request;
    request.filters = r.filters;
    EXPECT_EQ(QtFileFilter(request).toStdString(), r.expected);
  }
}

TEST(QtServices, MessageBoxShowsTitleTextAndIconAfterTheWindowsRedraw) {
  struct Row {
    MessageIcon icon;
    QMessageBox::Icon shown;
  };
  const Row rows[] = {{MessageIcon::Exclamation, QMessageBox::Warning},
                      {MessageIcon::Stop, QMessageBox::Critical},
                      {MessageIcon::None, QMessageBox::NoIcon}};
  for (const Row& r : rows) {
    QtServices services;
    std::vector<std::string> events;
    services.SetBeforeModal([&] { events.push_back("redraw"); });
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        events.push_back("no box");
        return;
      }
      events.push_back("box");
      EXPECT_EQ(box->windowTitle(), "Oops!");
      EXPECT_EQ(box->text(), "Invalid value for Slope.");
      EXPECT_EQ(box->icon(), r.shown);
      EXPECT_EQ(box->buttons().size(), 1);
      box->button(QMessageBox::Ok)->click();
    });
    services.MessageBox("Invalid value for Slope.", "Oops!", r.icon);
    EXPECT_EQ(events, std::vector<std::string>({"redraw", "box"}));
  }
}

TEST(QtServices, ClipboardHoldsPlainTextOnly) {
  QtServices services;
  services.SetClipboardText("0.0132");
  EXPECT_EQ(services.ClipboardText(), "0.0132");
  auto* image = new QMimeData;
  image->setData("image/png", QByteArray("\x89PNG", 4));
  QGuiApplication::clipboard()->setMimeData(image);
  EXPECT_EQ(services.ClipboardText(), std::nullopt);
}

TEST(QtServices, BusyPointerIsBalanced) {
  QtServices services;
  services.SetBusy(true);
  services.SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  services.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtServices, EndKeyMovesTheFocusedCaret) {
  QtServices services;
  QLineEdit edit("12.5");
  edit.show();
  edit.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
  edit.setFocus();
  edit.setCursorPosition(1);
  services.SendEndKey();
  EXPECT_EQ(edit.cursorPosition(), 4);
  EXPECT_GT(services.ScreenWidth(), 0);
  EXPECT_GT(services.ScreenHeight(), 0);
}

}  // namespace
}  // namespace rivulet
