// The File menu's recent files and files dropped on the main window, on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "core/files/calc_file.h"
#include "core/files/recent_files.h"
#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "gui/window/frm_rivulet_view.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

class RecentFilesViewTest : public ::testing::Test {
 protected:
  RecentFilesViewTest()
      : folder(std::filesystem::temp_directory_path() /
               ("rivulet-recent-" + std::to_string(std::random_device()()))),
        form(services, StartupValues::ForFolder(Made(folder))) {
    AttachCalcFileCommands(form);
    form.Form_Load();
    view = std::make_unique<frmRivuletView>(form);
    view->show();
  }
  ~RecentFilesViewTest() override {
    view.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  static std::string Made(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    return dir.string();
  }

  // A calculation file of a part-full pipe, saved through the sheet.
  std::string SavedSheet(const std::string& name) {
    form.optDepth.SetValue(true);
    form.txtVelDis1.SetText("1.05");
    form.txtDiam.SetText("1");
    form.txtSlope.SetText("1");
    form.txtManning.SetText("0.013");
    const std::string path = (folder / name).string();
    services.saveAnswers.push_back(FileChoice{path, name});
    form.mnuSaveAs.Click();
    return path;
  }

  QMenu* FileMenu() { return view->menuBar()->actions().front()->menu(); }

  // The File menu's captions as it opens, separators as "-".
  std::vector<std::string> FileMenuCaptions() {
    QMenu* menu = FileMenu();
    emit menu->aboutToShow();
    std::vector<std::string> captions;
    for (QAction* a : menu->actions())
      captions.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return captions;
  }

  QAction* Entry(int number) {
    emit FileMenu()->aboutToShow();
    return FileMenu()->findChild<QAction*>(QString("mnuRecent%1").arg(number));
  }

  // Whether the window takes a drag of these URLs, and drops them when it does.
  bool Drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint centre = view->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(view.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &drop);
    QCoreApplication::processEvents();
    return true;
  }

  std::filesystem::path folder;
  RecordingServices services;
  frmRivulet form;
  std::unique_ptr<frmRivuletView> view;
};

TEST_F(RecentFilesViewTest, EntriesStandBetweenTheFileCommandsAndExit) {
  const std::vector<std::string> empty = FileMenuCaptions();
  ASSERT_GE(empty.size(), 3u);
  EXPECT_EQ(empty.back(), "E&xit");
  EXPECT_EQ(std::count(empty.begin(), empty.end(), "-"), 3);  // no list, no extra line

  SavedSheet("a.rvl");
  SavedSheet("b & c.rvl");
  std::vector<std::string> expected = empty;
  expected.insert(expected.end() - 2, {"-", "&1  b && c.rvl", "&2  a.rvl"});
  EXPECT_EQ(FileMenuCaptions(), expected);
  EXPECT_EQ(Entry(1)->toolTip().toStdString(), (folder / "b & c.rvl").string());
}

TEST_F(RecentFilesViewTest, AnEntryOpensWithOneClick) {
  const std::string a = SavedSheet("a.rvl");
  SavedSheet("b.rvl");
  form.mnuNew.Click();
  view->Sync();
  Entry(2)->trigger();
  EXPECT_EQ(view->windowTitle().toStdString(),
            "Rivulet - Ver. " + BuildVersionString() + "  [a.rvl][*]");
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(view->Recent().Paths().front(), a);
}

TEST_F(RecentFilesViewTest, AMissingEntrySaysSoAndLeavesTheMenu) {
  const std::string a = SavedSheet("a.rvl");
  SavedSheet("b.rvl");
  std::filesystem::remove(a);
  const std::string title = form.Title();
  Entry(2)->trigger();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_NE(services.messages[0].text.find("could not be found"), std::string::npos);
  EXPECT_NE(Entry(1), nullptr);
  EXPECT_EQ(Entry(2), nullptr);
  EXPECT_EQ(form.Title(), title);
}

TEST_F(RecentFilesViewTest, ADroppedCalculationFileOpensAsFileOpenDoes) {
  const std::string a = SavedSheet("a.rvl");
  form.mnuNew.Click();
  view->Sync();
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(a))}));
  EXPECT_EQ(view->windowTitle().toStdString(),
            "Rivulet - Ver. " + BuildVersionString() + "  [a.rvl][*]");
  EXPECT_EQ(form.txtStatus.Text(), kStatusComplete);
  EXPECT_EQ(view->Recent().Paths().front(), a);
}

TEST_F(RecentFilesViewTest, DragsItCannotOpenAreRefused) {
  const std::string a = SavedSheet("a.rvl");
  const std::string b = SavedSheet("b.rvl");
  const std::string worksheet = (folder / "w.rvw").string();
  std::ofstream(worksheet) << R"({"rivulet": "worksheet", "version": 1, "kind": "gutter"})";
  const QUrl urlA = QUrl::fromLocalFile(QString::fromStdString(a));
  const std::string title = form.Title();
  const std::pair<const char*, QList<QUrl>> drags[] = {
      {"two files", {urlA, QUrl::fromLocalFile(QString::fromStdString(b))}},
      {"a web address", {QUrl("https://www.tarn.example/a.rvl")}},
      {"a folder", {QUrl::fromLocalFile(QString::fromStdString(folder.string()))}},
      {"a missing file", {QUrl::fromLocalFile(QString::fromStdString(a + ".gone"))}},
      {"a worksheet with no worksheet window",
       {QUrl::fromLocalFile(QString::fromStdString(worksheet))}},
      {"nothing", {}},
  };
  for (const auto& [name, urls] : drags) EXPECT_FALSE(Drop(urls)) << name;
  EXPECT_EQ(form.Title(), title);
}

TEST_F(RecentFilesViewTest, AWorksheetGoesToTheWorksheetOpener) {
  const std::string worksheet = (folder / "w.rvw").string();
  std::ofstream(worksheet) << R"({"rivulet": "worksheet", "version": 1, "kind": "gutter"})";
  std::vector<std::string> opened;
  bool opens = false;
  view->SetWorksheetOpener([&](const std::string& path) {
    opened.push_back(path);
    return opens;
  });
  // One that does not open (an unknown kind, say) stays off the list.
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(worksheet))}));
  EXPECT_TRUE(view->Recent().Paths().empty());
  opens = true;
  ASSERT_TRUE(Drop({QUrl::fromLocalFile(QString::fromStdString(worksheet))}));
  EXPECT_EQ(opened, std::vector<std::string>(2, worksheet));
  EXPECT_EQ(view->Recent().Paths(), std::vector<std::string>{worksheet});
  Entry(1)->trigger();
  EXPECT_EQ(opened.size(), 3u);
}

}  // namespace
}  // namespace rivulet
