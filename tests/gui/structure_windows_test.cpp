// The structure worksheets' windows: each drawing follows the current results only, and the
// outlet window tables its rating, saves it as CSV and copies it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/worksheets/orifice_sheet.h"
#include "core/worksheets/outlet_sheet.h"
#include "core/worksheets/weir_sheet.h"
#include "gui/structures/orifice_window.h"
#include "gui/structures/outlet_window.h"
#include "gui/structures/weir_window.h"
#include "support/example_files.h"
#include "support/recording_services.h"
#include "support/temp_folder.h"

namespace rivulet {
namespace {

struct StructureWindow {
  explicit StructureWindow(const WorksheetKind& kind)
      : window(std::make_unique<WorksheetWindow>(kind, services, printer)) {
    window->SetSaveQuestion([](const std::string&) { return SaveAnswer::Discard; });
  }
  // Opens the example and then edits an input, which leaves the results out of date.
  void OpenThenEdit(const std::string& example, const char* input) {
    ASSERT_TRUE(window->OpenFile(Example(example)));
    ASSERT_EQ(window->Model().State(), ResultsState::Current);
    auto* box = window->findChild<QLineEdit*>(QString("input_") + input);
    ASSERT_NE(box, nullptr);
    box->setText(box->text() + "1");
    emit box->textEdited(box->text());
  }
  RecordingServices services;
  SharedPrinter printer;
  std::unique_ptr<WorksheetWindow> window;
};

TEST(StructureWindows, DrawingsFollowTheCurrentResultsOnly) {
  StructureWindow weir(WeirKind());
  SetUpWeirWindow(*weir.window);
  auto* face = weir.window->findChild<WeirFaceView*>("weirFaceView");
  ASSERT_NE(face, nullptr);
  ASSERT_TRUE(weir.window->OpenFile(Example("weir-v-notch-us.rvw")));
  ASSERT_TRUE(face->Solved().has_value());
  EXPECT_NEAR(face->Solved()->results.head, 0.746 * 0.3048, 1e-4);
  weir.OpenThenEdit("weir-v-notch-us.rvw", "discharge");
  EXPECT_FALSE(face->Solved().has_value());

  StructureWindow orifice(OrificeKind());
  SetUpOrificeWindow(*orifice.window);
  auto* wall = orifice.window->findChild<OrificeFaceView*>("orificeFaceView");
  ASSERT_NE(wall, nullptr);
  orifice.OpenThenEdit("orifice-low-flow-si.rvw", "upstreamElevation");
  EXPECT_FALSE(wall->Solved().has_value());
}

TEST(StructureWindows, OutletTablesItsRatingAndSavesItAsCsv) {
  StructureWindow outlet(OutletStructureKind());
  SetUpOutletWindow(*outlet.window);
  ASSERT_TRUE(outlet.window->OpenFile(Example("outlet-pond-riser-us.rvw")));
  auto* table = outlet.window->findChild<QTableWidget*>("resultTable_rating");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 21);
  EXPECT_EQ(table->columnCount(), 8);
  EXPECT_EQ(table->horizontalHeaderItem(2)->text(), "WQ Discharge\n(ft³/s)");
  EXPECT_EQ(table->item(20, 0)->text(), "655.00");

  testing::TempFolder folder;
  const std::string path = (folder.path / "rating.csv").string();
  outlet.services.saveAnswers.push_back(FileChoice{path, "rating.csv"});
  auto* save = outlet.window->findChild<QAction*>("mnuOutletSaveCsv");
  ASSERT_NE(save, nullptr);
  save->trigger();
  std::ifstream in(path, std::ios::binary);
  const std::string csv{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "stage (ft),discharge (ft3/s),WQ discharge (ft3/s),WQ regime,10-yr discharge "
            "(ft3/s),10-yr regime,riser discharge (ft3/s),riser regime");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 22);
  EXPECT_TRUE(outlet.services.messages.empty());
  // Copy Rating gives the same rows tab-separated, for a spreadsheet.
  outlet.window->findChild<QAction*>("mnuOutletCopyRating")->trigger();
  ASSERT_TRUE(outlet.services.clipboard.has_value());
  std::string tabbed = csv;
  std::replace(tabbed.begin(), tabbed.end(), ',', '\t');
  EXPECT_EQ(*outlet.services.clipboard, tabbed);
}

}  // namespace
}  // namespace rivulet
