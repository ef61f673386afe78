#include "gui/window/flow_details_panel.h"

#include <QAction>
#include <QImage>
#include <QScreen>
#include <QTableWidget>
#include <cmath>

#include "core/window/section_sketch.h"
#include "gui/window/section_sketch_view.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

class FlowDetailsPanelTest : public ViewTest {
 protected:
  FlowDetailsPanel* Panel() { return Find<FlowDetailsPanel>("fraFlowDetails"); }
  QString StateText() { return Find<QLabel>("lblDetailsState")->text(); }

  // A 1 m pipe at 1/1000, n 0.013, asked for 1.05 m/s: depths 0.627 m and 0.958 m.
  void CalculateTwoDepthPipe() {
    QTest::mouseClick(Button("optDepth"), Qt::LeftButton);
    Type("txtVelDis1", "1.05");
    Type("txtDiam", "1");
    Type("txtSlope", "1");
    Type("txtManning", "0.013");
    QTest::mouseClick(Button("cmdCalculate"), Qt::LeftButton);
    ASSERT_EQ(Box("txtStatus")->text().toStdString(), kStatusComplete);
  }

  // Pixels of the water's fill colour in a picture.
  static int WaterPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(170, 210, 255)) ++n;
    return n;
  }
};

// Hidden, the panel takes no room: the sheet keeps its exact layout. Shown, it adds below.
TEST_F(FlowDetailsPanelTest, ViewMenuShowsAndHidesThePanelBelowTheSheet) {
  ASSERT_TRUE(active);
  Settle();
  const QSize size = view->size();
  const QRect status = Box("txtStatus")->geometry();
  const QRect diameter = Box("txtDiam")->geometry();
  EXPECT_FALSE(Panel()->isVisible());

  QAction* item = Find<QAction>("mnuFlowDetails");
  EXPECT_EQ(item->text(), "&Flow Details");
  item->trigger();
  Settle();
  EXPECT_TRUE(form.mnuFlowDetails.Checked());
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(Panel()->isVisible());
  EXPECT_GT(view->height(), size.height() + 200);
  EXPECT_EQ(view->width(), size.width());
  EXPECT_EQ(Box("txtDiam")->geometry(), diameter);
  EXPECT_EQ(Box("txtStatus")->geometry(), status);
  const auto top = [this](QWidget* w) { return w->mapTo(view.get(), QPoint(0, 0)).y(); };
  EXPECT_GE(top(Panel()), top(Box("txtStatus")) + status.height());
  // However tall the details, the window fits the free part of its screen.
  const QRect free = view->screen()->availableGeometry();
  EXPECT_LE(view->frameGeometry().height(), free.height());
  // (The offscreen screen is narrower than the sheet itself; its height is what counts.)
  EXPECT_GE(view->frameGeometry().top(), free.top());
  EXPECT_LE(view->frameGeometry().bottom(), free.bottom());
  EXPECT_EQ(StateText(), "No results: the details appear after a calculation.");

  item->trigger();
  Settle();
  EXPECT_FALSE(Panel()->isVisible());
  EXPECT_EQ(view->size(), size);
  EXPECT_EQ(Box("txtStatus")->geometry(), status);
}

TEST_F(FlowDetailsPanelTest, FillsOnCalculateWithTheAlternateAndTurnsStaleOnEdit) {
  ASSERT_TRUE(active);
  form.mnuFlowDetails.SetChecked(true);
  view->Sync();
  CalculateTwoDepthPipe();
  EXPECT_EQ(StateText(), "Current: the details of the results above.");
  QTableWidget* table = Find<QTableWidget>("grdDetails");
  ASSERT_GT(table->rowCount(), 20);
  auto cell = [&](const QString& label, int column) -> QString {
    for (int r = 0; r < table->rowCount(); ++r)
      if (table->item(r, 0)->text() == label) return table->item(r, column)->text();
    ADD_FAILURE() << label.toStdString();
    return {};
  };
  EXPECT_EQ(cell("Depth", 1), Box("txtDepth")->text());
  EXPECT_EQ(cell("Depth", 2), Box("txtDDS")->text());
  EXPECT_EQ(cell("Depth", 3), "meters");
  EXPECT_EQ(cell("Flow Regime", 1), "Subcritical");
  EXPECT_EQ(cell("Average Shear", 3), "Pa");
  EXPECT_EQ(cell("Percent Full", 3), "%");
  EXPECT_FALSE(table->item(0, 1)->toolTip().isEmpty());
  for (int r = 0; r < table->rowCount(); ++r) {
    const QString label = table->item(r, 0)->text();
    if (label == "Froude Number" || label == "Velocity Head" || label == "Critical Depth") {
      EXPECT_TRUE(table->item(r, 1)->toolTip().contains("9.80665 m/s\u00b2"))
          << label.toStdString();
    }
    if (label.endsWith("Shear")) {
      EXPECT_TRUE(table->item(r, 1)->toolTip().contains("9806.65 N/m\u00b3"));
    }
  }
  // The same velocity at two depths: the lower carries less than full flow, the higher more.
  const QString note = Find<QLabel>("lblPipeNote")->text();
  EXPECT_TRUE(note.startsWith("Below full flow")) << note.toStdString();
  EXPECT_TRUE(note.contains("\nAlternate: Between full flow")) << note.toStdString();
  auto* sketch = Find<SectionSketchView>("picSection");
  ASSERT_TRUE(sketch->Sketch());
  EXPECT_TRUE(sketch->Sketch()->alternateSurface);
  EXPECT_FALSE(sketch->Stale());

  Type("txtSlope", "2");
  EXPECT_EQ(StateText().toStdString(), std::string("Out of date: ") + kStatusModified);
  EXPECT_TRUE(sketch->Stale());
  EXPECT_EQ(cell("Depth", 1), Box("txtDepth")->text());  // still the last results
  QTest::keyClick(Box("txtSlope"), Qt::Key_F5);
  EXPECT_EQ(StateText(), "Current: the details of the results above.");
  EXPECT_FALSE(sketch->Stale());
}

// The picture keeps one scale for both axes and grows with the room it gets.
TEST_F(FlowDetailsPanelTest, SketchScalesCleanlyWithItsSize) {
  ASSERT_TRUE(active);
  CalculateTwoDepthPipe();
  SectionSketchView picture;
  picture.SetSketch(SketchOf(form), false);
  const SketchPoint left{-0.5, 0.5}, right{0.5, 0.5}, invert{0, 0}, crown{0, 1};
  double scales[2];
  int water[2];
  const QSize sizes[2] = {QSize(320, 300), QSize(640, 600)};
  for (int i = 0; i < 2; ++i) {
    picture.resize(sizes[i]);
    const QPointF l = picture.Map(left, sizes[i]), r = picture.Map(right, sizes[i]);
    const QPointF b = picture.Map(invert, sizes[i]), t = picture.Map(crown, sizes[i]);
    scales[i] = r.x() - l.x();
    EXPECT_NEAR(b.y() - t.y(), scales[i], 1e-9);  // a circle stays a circle
    EXPECT_GE(std::min({l.x(), r.x(), b.x()}), 0);
    EXPECT_LE(r.x(), sizes[i].width());
    EXPECT_GE(t.y(), 0);
    EXPECT_LE(b.y(), sizes[i].height());
    water[i] = WaterPixels(picture.grab().toImage());
  }
  EXPECT_GT(scales[1], 1.9 * scales[0]);
  // The water's share of the picture grows with the square of the scale.
  const double expected = std::pow(scales[1] / scales[0], 2);
  EXPECT_NEAR(static_cast<double>(water[1]) / water[0], expected, 0.05 * expected);
}

// The legend sits under a picture whose width is what the table leaves; its lines must
// read whole at the laptop width rather than lose their units.
TEST_F(FlowDetailsPanelTest, LegendTypeShrinksUntilTheLinesFitThenStopsAtThreeQuarters) {
  QFont base = QApplication::font();
  base.setPointSizeF(9);
  const QStringList lines{"Water surface, y = 289.2 mm", "Critical depth, yc = 271.6 mm"};
  const double natural = QFontMetricsF(base).horizontalAdvance(lines[1]);
  struct Row {
    const char* name;
    double room;
    bool fits;
  };
  const Row rows[] = {{"room to spare", natural + 10, true},
                      {"a tenth too narrow", natural * 0.9, true},
                      {"half the room", natural * 0.5, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QFont f = FitLegendFont(base, lines, row.room);
    const QFontMetricsF m(f);
    const double widest = std::max(m.horizontalAdvance(lines[0]), m.horizontalAdvance(lines[1]));
    EXPECT_EQ(widest <= row.room, row.fits) << widest << " in " << row.room;
    EXPECT_GE(f.pointSizeF(), 0.75 * 9);
    if (row.room > natural) {
      EXPECT_EQ(f.pointSizeF(), 9);
    }
  }
}

}  // namespace
}  // namespace rivulet
