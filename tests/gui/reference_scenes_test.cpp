// The section pictures checked as geometry: words inside the picture and clear of every
// line, arrows ending on the lines they measure, each word beside its own dimension.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <set>

#include "gui/reference/drawing_scene.h"

namespace rivulet {
namespace {

// Fonts need an application; the suite's environment normally provides it.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

QPainterPath Outline(const QPainterPath& path, double width) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  return stroker.createStroke(path);
}

QPainterPath LinePath(const QLineF& line) {
  QPainterPath path(line.p1());
  path.lineTo(line.p2());
  return path;
}

// Every black line the eye reads: walls as drawn, thin lines and dimension shafts.
QList<QPainterPath> InkOutlines(const DrawingScene& scene) {
  QList<QPainterPath> ink;
  for (const auto& p : scene.walls) ink.append(Outline(p, 2.4));
  for (const auto& p : scene.lines) ink.append(Outline(p, 1.0));
  for (const auto& d : scene.dimensions) ink.append(Outline(LinePath(d.line), 5.2));
  return ink;
}

double Distance(const QRectF& r, QPointF p) {
  const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
  const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
  return std::hypot(dx, dy);
}

struct SceneCase {
  SectionKind kind;
  const char* name;
  std::set<QString> dimensions;
  std::set<QString> words;  // besides the title and the dimension words
};

void PrintTo(const SceneCase& c, std::ostream* out) { *out << c.name; }

class SceneTest : public testing::TestWithParam<SceneCase> {
 protected:
  void SetUp() override {
    EnsureApplication();
    scene = BuildDrawingScene(GetParam().kind);
  }
  DrawingScene scene;
};

const QString kNote = "For increased accuracy, use the inside diameter of the pipe.";

INSTANTIATE_TEST_SUITE_P(
    AllSections, SceneTest,
    testing::Values(
        SceneCase{SectionKind::Pipe, "Circle", {"depth", "diameter"}, {"Note:", kNote}},
        SceneCase{SectionKind::Rectangle, "Rectangle", {"depth", "width"}, {}},
        SceneCase{SectionKind::Triangle, "Triangle", {"depth"}, {"1", "x", "y", "Outside angle"}},
        SceneCase{SectionKind::Trapezoid,
                  "Trapezoid",
                  {"depth", "width"},
                  {"1", "x", "y", "Outside angle"}},
        SceneCase{
            SectionKind::Gutter, "Gutter", {"depth", "width"}, {"1", "x", "y", "Outside angle"}}),
    [](const testing::TestParamInfo<SceneCase>& info) { return std::string(info.param.name); });

TEST_P(SceneTest, HasItsUnderlinedTitleItsDimensionsAndItsWords) {
  const DrawingInfo& info = DrawingFor(GetParam().kind);
  EXPECT_EQ(scene.size, QSizeF(info.width, info.height));
  ASSERT_FALSE(scene.texts.isEmpty());
  const SceneText& title = scene.texts.front();
  EXPECT_EQ(title.text.toStdString(), info.title);
  EXPECT_TRUE(title.underline);
  EXPECT_LT(SceneTextRect(title).left(), 20);
  EXPECT_LT(SceneTextRect(title).top(), 20);

  std::set<QString> dims, words;
  for (const SceneDimension& d : scene.dimensions) dims.insert(d.label);
  for (const SceneText& t : scene.texts.mid(1))
    if (!dims.count(t.text)) words.insert(t.text);
  EXPECT_EQ(dims, GetParam().dimensions);
  EXPECT_EQ(words, GetParam().words);
  EXPECT_FALSE(scene.water.isEmpty());
}

TEST_P(SceneTest, WordsStayInsideThePictureAndClearOfEachOther) {
  const QRectF picture(QPointF(0, 0), scene.size);
  for (int i = 0; i < scene.texts.size(); ++i) {
    const QRectF r = SceneTextRect(scene.texts[i]);
    EXPECT_TRUE(picture.contains(r)) << scene.texts[i].text.toStdString() << " is clipped";
    for (int j = i + 1; j < scene.texts.size(); ++j)
      EXPECT_FALSE(r.intersects(SceneTextRect(scene.texts[j])))
          << scene.texts[i].text.toStdString() << " / " << scene.texts[j].text.toStdString();
  }
}

TEST_P(SceneTest, WordsDoNotTouchAnyLine) {
  const QList<QPainterPath> ink = InkOutlines(scene);
  for (const SceneText& t : scene.texts) {
    // Glyphs do not fill their box: allow a hair at its edges.
    const QRectF r = SceneTextRect(t).adjusted(0.5, 1.5, -0.5, -1.5);
    for (int k = 0; k < ink.size(); ++k)
      EXPECT_FALSE(ink[k].intersects(r)) << t.text.toStdString() << " touches line " << k;
  }
}

TEST_P(SceneTest, EveryArrowEndsOnALine) {
  QList<QPainterPath> targets;
  for (const auto& p : scene.walls) targets.append(Outline(p, 2.4 + 1.0));
  for (const auto& p : scene.lines) targets.append(Outline(p, 1.0 + 1.0));
  for (const SceneDimension& d : scene.dimensions) {
    for (QPointF end : {d.line.p1(), d.line.p2()}) {
      const bool onLine = std::any_of(targets.begin(), targets.end(),
                                      [&](const QPainterPath& t) { return t.contains(end); });
      EXPECT_TRUE(onLine) << d.label.toStdString() << " arrow at " << end.x() << "," << end.y()
                          << " ends in the air";
    }
  }
}

TEST_P(SceneTest, EachDimensionMeasuresWhatItsWordSays) {
  const QRectF water = scene.water.boundingRect();
  for (const SceneDimension& d : scene.dimensions) {
    SCOPED_TRACE(d.label.toStdString());
    // The nearest word to the middle of an arrow is its own.
    const QPointF mid = d.line.center();
    const auto nearest = std::min_element(
        scene.texts.begin(), scene.texts.end(), [&](const SceneText& a, const SceneText& b) {
          return Distance(SceneTextRect(a), mid) < Distance(SceneTextRect(b), mid);
        });
    EXPECT_EQ(nearest->text, d.label);

    if (d.label == "depth") {
      // From the lowest point of the water to its surface.
      EXPECT_NEAR(d.line.dx(), 0, 1e-9);
      EXPECT_NEAR(std::max(d.line.y1(), d.line.y2()), water.bottom(), 0.5);
      EXPECT_NEAR(std::min(d.line.y1(), d.line.y2()), water.top(), 0.5);
    } else if (d.label == "width") {
      // Across the bed: the water's bottom edge, below the water.
      EXPECT_NEAR(d.line.dy(), 0, 1e-9);
      QList<double> bedXs;
      for (const QPolygonF& poly : scene.water.toSubpathPolygons())
        for (QPointF p : poly)
          if (std::abs(p.y() - water.bottom()) < 0.5) bedXs.append(p.x());
      ASSERT_GE(bedXs.size(), 2);
      const auto [lo, hi] = std::minmax_element(bedXs.begin(), bedXs.end());
      EXPECT_NEAR(std::min(d.line.x1(), d.line.x2()), *lo, 0.5);
      EXPECT_NEAR(std::max(d.line.x1(), d.line.x2()), *hi, 0.5);
      EXPECT_GT(d.line.y1(), water.bottom());
    } else if (d.label == "diameter") {
      // The bore, the smaller of the two pipe circles, from top to bottom.
      double bore = 1e9;
      for (const auto& wall : scene.walls) bore = std::min(bore, wall.boundingRect().height());
      EXPECT_NEAR(d.line.dx(), 0, 1e-9);
      EXPECT_NEAR(std::abs(d.line.dy()), bore, 0.5);
    } else {
      ADD_FAILURE() << "unexpected dimension";
    }
  }
}

// Painted at twice the size, water and walls land where the scene puts them.
TEST_P(SceneTest, PaintsWaterAndWallsWhereTheSceneSaysAtDoubleSize) {
  QImage image((scene.size * 2).toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintDrawingScene(painter, scene, QRectF(QPointF(0, 0), scene.size * 2));
  }
  // A spot of open water: no line and no word within a few units.
  const QList<QPainterPath> ink = InkOutlines(scene);
  const QRectF water = scene.water.boundingRect();
  QPointF inside;
  bool found = false;
  for (double y = water.bottom() - 4; y > water.top() && !found; y -= 1) {
    for (double x = water.left() + 4; x < water.right() && !found; x += 1) {
      const QRectF probe(x - 3, y - 3, 6, 6);
      found = scene.water.contains(probe) &&
              std::none_of(ink.begin(), ink.end(),
                           [&](const QPainterPath& p) { return p.intersects(probe); }) &&
              std::none_of(scene.texts.begin(), scene.texts.end(),
                           [&](const SceneText& t) { return SceneTextRect(t).intersects(probe); });
      inside = QPointF(x, y);
    }
  }
  ASSERT_TRUE(found);
  const QColor waterPixel = image.pixelColor((inside * 2).toPoint());
  EXPECT_GT(waterPixel.blue(), waterPixel.red() + 30) << "not light blue";
  EXPECT_GT(waterPixel.lightness(), 150);

  const QPointF wallPoint = scene.walls.front().pointAtPercent(0.5);
  EXPECT_LT(image.pixelColor((wallPoint * 2).toPoint()).lightness(), 60) << "wall not black";
}

}  // namespace
}  // namespace rivulet
