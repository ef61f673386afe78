// The drawings reports carry: every kind whose window draws gets them in its report, they
// paint something, and stale or failed results give none.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <set>
#include <sstream>

#include "core/batch/worksheet_batch.h"
#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "gui/window/section_sketch_view.h"
#include "gui/worksheets/worksheet_windows.h"
#include "support/example_files.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

// The share of the image's pixels that are not white: a drawing paints more than a frame.
double InkedShare(const QImage& image) {
  long inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != QColor(Qt::white)) ++inked;
  return static_cast<double>(inked) / (image.width() * image.height());
}

TEST(ReportDrawings, EveryKindWhoseWindowDrawsPrintsItsDrawings) {
  for (const auto& [kind, setup] : WorksheetWindowSetups())
    EXPECT_TRUE(ReportDrawingsHooks().count(kind)) << kind << " has no report drawings";
  std::set<std::string> kindsSeen;
  for (const auto& entry : std::filesystem::directory_iterator(ExamplesFolder())) {
    if (entry.path().extension() != ".rvw") continue;
    int status = 0;
    std::ostringstream err;
    const auto solved = SolveWorksheetFile(entry.path().string(), BuiltInKinds(), err, status);
    ASSERT_TRUE(solved && solved->outcome.ok) << entry.path() << err.str();
    if (!ReportDrawingsHooks().count(solved->kind->name)) continue;
    kindsSeen.insert(solved->kind->name);
    const auto drawings = WorksheetReportDrawings(*solved->kind, solved->document, solved->outcome);
    ASSERT_FALSE(drawings.empty()) << entry.path();
    for (const ReportDrawing& d : drawings) {
      EXPECT_FALSE(d.caption.isEmpty());
      EXPECT_GT(InkedShare(RenderDrawing(d, 1.0)), 0.05)
          << entry.path() << " " << d.caption.toStdString();
    }
    // A failed outcome has nothing to draw.
    EXPECT_TRUE(WorksheetReportDrawings(*solved->kind, solved->document, SheetOutcome::Failed("no"))
                    .empty());
  }
  EXPECT_EQ(kindsSeen.size(), ReportDrawingsHooks().size());
}

TEST(ReportDrawings, TheCalculationReportDrawsCurrentResultsOnly) {
  RecordingServices services;
  frmRivulet form(services, StartupValues::ForFolder("/nonexistent/rivulet"));
  form.Form_Load();
  EXPECT_TRUE(CalculationDrawings(form).empty());
  form.optDepth.SetValue(true);
  form.txtVelDis1.SetText("1");
  form.txtDiam.SetText("1");
  form.txtSlope.SetText("1");
  form.txtManning.SetText("0.013");
  form.cmdCalculate_Click();
  ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  const auto drawings = CalculationDrawings(form);
  ASSERT_EQ(drawings.size(), 1u);
  EXPECT_GT(InkedShare(RenderDrawing(drawings[0], 1.0)), 0.05);
  form.txtSlope.SetText("2");
  EXPECT_TRUE(CalculationDrawings(form).empty());
}

}  // namespace
}  // namespace rivulet
