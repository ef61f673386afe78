// A loaded calculation window drawn by its Qt view, active on the offscreen screen.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "gui/window/frm_rivulet_view.h"
#include "support/recording_services.h"
#include "support/temp_program_folder.h"

namespace rivulet {

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() : form(services, programFolder.Startup()) {
    form.Form_Load();
    view = std::make_unique<frmRivuletView>(form);
    view->show();
    view->activateWindow();
    active = QTest::qWaitForWindowActive(view.get());
  }

  /// The widget with a control's name; the test fails when there is none.
  template <class W = QWidget>
  W* Find(const QString& name) {
    W* w = view->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QLineEdit* Box(const QString& name) { return Find<QLineEdit>(name); }
  QComboBox* List(const QString& name) { return Find<QComboBox>(name); }
  QAbstractButton* Button(const QString& name) { return Find<QAbstractButton>(name); }

  /// Caption of a label, button or frame, title of a group box.
  QString Caption(const QString& name) {
    QWidget* w = Find(name);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
  }
  QColor Back(const QString& name) {
    return Box(name)->palette().color(QPalette::Active, QPalette::Base);
  }
  static QColor DefaultBack() {
    return QApplication::palette("QLineEdit").color(QPalette::Active, QPalette::Base);
  }

  /// Types into a box as the user does, with the focus in it.
  void Type(const QString& name, const QString& keys) {
    QLineEdit* box = Box(name);
    box->setFocus();
    QTest::keyClicks(box, keys);
  }

  /// Lets pending layout requests resize the window.
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  // Before the sheet, which is made in it and must go first.
  TempProgramFolder programFolder;
  RecordingServices services;
  frmRivulet form;
  std::unique_ptr<frmRivuletView> view;
  bool active = false;
};

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace rivulet
