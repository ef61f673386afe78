// The irregular-section window: points in by import and by table edits reach the
// worksheet, a file read fills the tables, Calculate draws the water, and the rating
// follows the section.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <chrono>
#include <memory>

#include "core/shell/services.h"
#include "core/worksheets/section_sheet.h"
#include "gui/sections/section_drawing.h"
#include "gui/sections/section_editor.h"
#include "gui/sections/section_points_model.h"
#include "gui/sections/section_rating_window.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {
namespace {

class SectionWindowTest : public ::testing::Test {
 protected:
  SectionWindowTest() : window(std::make_unique<WorksheetWindow>(SectionKind(), services)) {
    SetUpSectionWindow(*window);
    editor = window->findChild<SectionEditor*>("sectionEditor");
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  }
  void TypeInput(const char* name, const char* text) {
    auto* box = window->findChild<QLineEdit*>(name);
    ASSERT_NE(nullptr, box) << name;
    box->setText(text);
    emit box->textEdited(text);
  }

  RecordingServices services;
  std::unique_ptr<WorksheetWindow> window;
  SectionEditor* editor = nullptr;
};

TEST_F(SectionWindowTest, ImportedPointsAndZonesSolveAndDraw) {
  ASSERT_NE(nullptr, editor);
  // Stations in feet, elevations in metres, into a window whose points are in metres.
  ASSERT_TRUE(
      editor->ImportText("Station (ft),Elevation (m)\n0,3\n10,1\n20,0\n30,1\n40,3\n", "ft", "m"));
  const nlohmann::json* points = window->Model().ListInput("points");
  ASSERT_NE(nullptr, points);
  EXPECT_EQ("m", (*points)["unit"]);
  EXPECT_DOUBLE_EQ(3.048, (*points)["station"][1].get<double>());
  EXPECT_DOUBLE_EQ(1, (*points)["elevation"][1].get<double>());

  QTableWidget* zones = editor->Zones();
  zones->item(0, 1)->setText("0.035");
  ASSERT_NE(nullptr, zones->item(0, 1));
  TypeInput("input_longitudinalSlope", "0.002");
  TypeInput("input_discharge", "4");
  window->Calculate();
  ASSERT_EQ(ResultsState::Current, window->Model().State()) << window->Model().StatusText();
  const SectionPicture& picture = editor->Drawing()->Picture();
  ASSERT_TRUE(picture.waterSurface);
  EXPECT_GT(*picture.waterSurface, 0);
  EXPECT_LT(*picture.waterSurface, 3);
  ASSERT_TRUE(picture.criticalSurface);
  EXPECT_FALSE(picture.depthText.isEmpty());

  // Editing one cell marks the results modified and moves the drawing's ground.
  const QModelIndex cell = editor->Points()->index(2, 1);
  ASSERT_TRUE(editor->Points()->setData(cell, "-0.5", Qt::EditRole));
  EXPECT_EQ(ResultsState::Modified, window->Model().State());
  EXPECT_DOUBLE_EQ(-0.5, editor->Drawing()->Picture().elevation[2]);
  EXPECT_FALSE(editor->Points()->setData(cell, "abc", Qt::EditRole));

  // A second zone splits the section; the zone table's text reaches the file's lists.
  zones->insertRow(1);
  zones->setItem(1, 0, new QTableWidgetItem("6"));
  zones->setItem(1, 1, new QTableWidgetItem("0.05"));
  const nlohmann::json* n = window->Model().ListInput("nZones");
  ASSERT_NE(nullptr, n);
  EXPECT_EQ(1u, (*n)["breaks"].size());
  EXPECT_EQ(2u, (*n)["n"].size());
  window->Calculate();
  EXPECT_EQ(ResultsState::Current, window->Model().State()) << window->Model().StatusText();

  SectionRatingWindow rating(*window);
  EXPECT_TRUE(rating.Table().problem.empty()) << rating.Table().problem;
  EXPECT_EQ(51u, rating.Table().rows.size());
  EXPECT_TRUE(rating.Table().cutAt);  // bank-full
}

TEST_F(SectionWindowTest, AFileFillsTheTables) {
  Document d;
  d.kind = "section";
  d.inputs["points"] = {{"unit", "ft"}, {"station", {0, 5, 10}}, {"elevation", {4, 1, 3}}};
  d.inputs["nZones"] = {{"unit", "ft"}, {"breaks", {4}}, {"n", {0.04, 0.03}}};
  ASSERT_EQ("", window->Model().Load(d, ""));
  window->Sync();
  EXPECT_EQ(3, editor->Points()->rowCount());
  EXPECT_EQ(2, editor->Zones()->rowCount());
  EXPECT_EQ("4", editor->Zones()->item(1, 0)->text());
  EXPECT_EQ("0.03", editor->Zones()->item(1, 1)->text());
  EXPECT_FALSE(window->Model().HasUnsavedChanges());
}

TEST_F(SectionWindowTest, ImportRefusalsChangeNothing) {
  QStringList said;
  editor->SetMessageSink([&](const QString& text) { said << text; });
  ASSERT_TRUE(editor->ImportText("0,3\n1,0\n2,3\n", "m", "m"));
  EXPECT_FALSE(editor->ImportText("0,3\n1,x\n", "m", "m"));
  EXPECT_EQ(3, editor->Points()->rowCount());
  ASSERT_EQ(1, said.size());
  EXPECT_TRUE(said[0].startsWith("Line 2: the elevation")) << said[0].toStdString();
}

TEST(SectionDrawingScale, ExaggerationIsARoundNumber) {
  const struct {
    double ratio, shown;
  } rows[] = {{0.3, 1}, {1, 1}, {1.9, 1}, {2, 2}, {4.99, 2}, {7, 5}, {19, 10}, {260, 200}};
  for (const auto& r : rows) EXPECT_EQ(r.shown, RoundExaggeration(r.ratio)) << r.ratio;
}

}  // namespace
}  // namespace rivulet
