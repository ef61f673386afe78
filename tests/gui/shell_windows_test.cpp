#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/shell/app_texts.h"
#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "gui/shell/about_view.h"
#include "gui/shell/splash_view.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

TEST(SplashWindow, CaptionHeaderAndDisclaimer) {
  frmStartView splash(StartupValues::ForFolder("/nonexistent"));
  EXPECT_EQ(splash.windowTitle().toStdString(), "Rivulet - Ver. " + BuildVersionString());
  EXPECT_EQ(splash.findChild<QLabel*>("lblCompany1")->text(), "Tarn");
  EXPECT_EQ(splash.findChild<QLabel*>("lblProject")->text(), "Rivulet");
  EXPECT_TRUE(splash.findChild<QLabel*>("lblProject")->font().bold());
  auto* disclaimer = splash.findChild<QPlainTextEdit*>("txtDisclaimer");
  ASSERT_NE(disclaimer, nullptr);
  EXPECT_TRUE(disclaimer->isReadOnly());
  EXPECT_EQ(disclaimer->toPlainText().toStdString(), DisclaimerText());
  EXPECT_EQ(splash.OkButton()->text(), "&OK");
  // OK accepts: the caller replaces the splash by the calculation window.
  bool accepted = false;
  QObject::connect(&splash, &QDialog::accepted, [&] { accepted = true; });
  splash.OkButton()->click();
  EXPECT_TRUE(accepted);
}

TEST(AboutWindow, CaptionsVersionAndReleaseDate) {
  RecordingServices services;
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const auto startup = StartupValues::ForFolder(folder.path().toStdString());
  // No program file beside it: the date stays empty, and the window opens all the same.
  EXPECT_TRUE(frmAboutView::ReleaseDateText(startup).isEmpty());
  std::ofstream(std::filesystem::path(startup.programFolder) / kProgramFileName) << "x";
  EXPECT_FALSE(frmAboutView::ReleaseDateText(startup).isEmpty());

  auto* about = new frmAboutView(startup, services);
  EXPECT_EQ(about->windowTitle().toStdString(), "About Rivulet - Ver. " + BuildVersionString());
  EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text().toStdString(),
            "Version: " + BuildVersionString());
  EXPECT_FALSE(about->findChild<QLabel*>("lblRelDate")->text().isEmpty());
  // The links carry their targets and open them through the launcher.
  EXPECT_TRUE(about->findChild<QLabel*>("Label8")->text().contains(kMakerHomeUrl));
  EXPECT_TRUE(about->findChild<QLabel*>("Label15")->text().contains(kSupportMailUrl));
  emit about->findChild<QLabel*>("Label8")->linkActivated(kMakerHomeUrl);
  emit about->findChild<QLabel*>("Label15")->linkActivated(kSupportMailUrl);
  emit about->findChild<QLabel*>("Label1")->linkActivated(kMakerHomeUrl);
  ASSERT_EQ(services.launched.size(), 3u);
  EXPECT_EQ(services.launched[1], kSupportMailUrl);
  EXPECT_NE(about->findChild<QLabel*>("Label8")->cursor().shape(), Qt::ArrowCursor);
  delete about;
}

}  // namespace
}  // namespace rivulet
