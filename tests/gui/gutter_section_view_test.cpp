// The gutter cross-section painting: water where the solved spread puts it, and the stated
// exaggeration the one actually used.
#include "gui/drainage/gutter_section_view.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace rivulet {
namespace {

GutterInputs Street() {
  GutterInputs in;
  in.gutterType = GutterType::Composite;
  in.longitudinalSlope = 0.005;
  in.manningsN = 0.016;
  in.crossSlope = 0.02;
  in.gutterWidth = 0.6;
  in.gutterDepression = 0.05;
  in.kerbHeight = 0.15;
  in.discharge = 0.06;
  return in;
}

bool IsWater(QRgb c) { return qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c); }

TEST(GutterSectionPaintTest, WaterReachesTheSpreadAndNoFurther) {
  const GutterInputs in = Street();
  const GutterResults r = SolveGutter(in);
  ASSERT_TRUE(r.Ok());
  const GutterProfile g = GutterSectionProfile(in, r);
  QImage img(700, 300, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  const int ve = PaintGutterSection(p, QRectF(0, 0, 700, 300), {g, {}});
  p.end();
  EXPECT_GE(ve, 1);

  // Find the water's horizontal reach along the row just under its surface.
  int first = -1, last = -1, surfaceRow = -1;
  for (int y = 0; y < img.height() && surfaceRow < 0; ++y)
    for (int x = 0; x < img.width(); ++x)
      if (IsWater(img.pixel(x, y))) {
        surfaceRow = y + 2;
        break;
      }
  ASSERT_GE(surfaceRow, 0);
  for (int x = 0; x < img.width(); ++x)
    if (IsWater(img.pixel(x, surfaceRow))) {
      if (first < 0) first = x;
      last = x;
    }
  // To scale: the water's T in pixels per metre is the whole drawn road's, whose width is
  // the painting's less its margins (12 px each side, and on the left four text lines or the
  // whole d label with its arrow's room, whichever is wider).
  const double pixelsPerMetre = (last - first) / r.spread;
  const QFontMetricsF fm{QFont()};
  const QString label = "d = " + QString::number(r.depthAtCurb, 'g', 3) + " m";
  const double areaWidth =
      700 - 2 * 12 - std::max(4 * fm.height(), fm.horizontalAdvance(label) + 18);
  EXPECT_NEAR(pixelsPerMetre, areaWidth / (g.right - g.left), 4.0);
}

TEST(GutterSectionPaintTest, ViewWithoutResultsSaysSo) {
  GutterSectionView view;
  view.resize(500, 250);
  QImage img(view.size(), QImage::Format_RGB32);
  view.render(&img);
  EXPECT_EQ(view.Exaggeration(), 0);
  view.SetDrawing(GutterSectionDrawing{GutterSectionProfile(Street(), SolveGutter(Street())), {}});
  view.render(&img);
  EXPECT_GE(view.Exaggeration(), 1);
}

}  // namespace
}  // namespace rivulet
