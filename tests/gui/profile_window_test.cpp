// The profile worksheet window: its long section follows the current results only, in the
// results' length unit, and paints the jump to a stated exaggeration.
#include "gui/profiles/profile_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <memory>

#include "core/worksheets/profile_sheet.h"
#include "gui/profiles/profile_view.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

TEST(ProfileWindow, LongSectionShowsTheCurrentResultsOnly) {
  RecordingServices services;
  SharedPrinter printer;
  auto window = std::make_unique<WorksheetWindow>(ProfileKind(), services, printer);
  SetUpProfileWindow(*window);
  window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  auto* view = window->findChild<ProfileView*>("picProfile");
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->Drawing().has_value());

  ASSERT_TRUE(window->OpenFile(Example("profile-spillway-jump-us.rvw")));
  ASSERT_EQ(window->Model().State(), ResultsState::Current) << window->Model().StatusText();
  ASSERT_TRUE(view->Drawing().has_value());
  const ProfileDrawing& d = *view->Drawing();
  EXPECT_EQ(d.unitSymbol, "ft");
  ASSERT_TRUE(d.jumpStation.has_value());
  // The chute's bed from the crest at 400 ft down to its foot, 0.05 ft/ft over a 850 ft base.
  ASSERT_EQ(d.bed.size(), 2u);
  EXPECT_NEAR(d.bed.back().second - d.bed.front().second, 400 * 0.3048 * 0.05, 1e-9);

  QImage image(800, 300, QImage::Format_RGB32);
  QPainter painter(&image);
  // A 400 ft chute a few feet deep only shows its water exaggerated.
  EXPECT_GT(PaintProfile(painter, QRectF(0, 0, 800, 300), d), 1);
  painter.end();

  auto* system = window->findChild<QComboBox*>("option_upstreamControl");
  ASSERT_NE(system, nullptr);
  system->setCurrentIndex(0);
  emit system->activated(0);  // an edit: the picture of the old results goes
  EXPECT_EQ(window->Model().State(), ResultsState::Modified);
  EXPECT_FALSE(view->Drawing().has_value());
  window->close();
}

// A surveyed reach: its sections are listed (and editable) under the inputs, and the long
// section's bed runs through their lowest points.
TEST(ProfileWindow, SurveyedReachListsItsSectionsAndDrawsTheirBed) {
  RecordingServices services;
  SharedPrinter printer;
  auto window = std::make_unique<WorksheetWindow>(ProfileKind(), services, printer);
  SetUpProfileWindow(*window);
  window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  ASSERT_TRUE(window->OpenFile(Example("profile-stream-sections-si.rvw")));
  auto* list = window->findChild<QWidget*>("list_sections");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isEnabled());
  auto* view = window->findChild<ProfileView*>("picProfile");
  ASSERT_TRUE(view->Drawing().has_value());
  ASSERT_EQ(view->Drawing()->bed.size(), 5u);
  EXPECT_DOUBLE_EQ(view->Drawing()->bed.back().first, 650);
  EXPECT_DOUBLE_EQ(view->Drawing()->bed.back().second, 100.98);
  window->close();
}

}  // namespace
}  // namespace rivulet
