// The five section pictures. Coordinates are the picture's nominal pixels, y downward.
// Each open channel's right side rises kRun units across per unit up, and its sketches
// repeat that same side so the three ways of giving a side slope read alike.
#include <QtMath>

#include "gui/reference/drawing_scene.h"

namespace rivulet {
namespace {

constexpr double kTitleSize = 14;
constexpr double kLabelSize = 12;
constexpr double kGroundDepth = 8;  // thickness of the earth band drawn outside the walls
constexpr double kRun = 1.5;        // horizontal per vertical of every sloping side

class SceneBuilder {
 public:
  explicit SceneBuilder(SectionKind kind) {
    const DrawingInfo& info = DrawingFor(kind);
    scene_.size = QSizeF(info.width, info.height);
    SceneText title;
    title.text = QString::fromUtf8(info.title.data(), static_cast<int>(info.title.size()));
    title.anchor = QPointF(10, 6);
    title.pixelSize = kTitleSize;
    title.bold = true;
    title.underline = true;
    scene_.texts.append(title);
  }

  DrawingScene Take() { return std::move(scene_); }

  void Ground(const QPainterPath& path) { scene_.ground.append(path); }
  void Ground(const QPolygonF& outline) {
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    Ground(path);
  }
  void Water(const QPainterPath& path) { scene_.water = path; }
  void Water(const QPolygonF& outline) {
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    Water(path);
  }
  void Wall(const QPolygonF& polyline) {
    QPainterPath path;
    path.addPolygon(polyline);
    scene_.walls.append(path);
  }
  void Wall(const QPainterPath& path) { scene_.walls.append(path); }
  void Line(QPointF a, QPointF b) {
    QPainterPath path(a);
    path.lineTo(b);
    scene_.lines.append(path);
  }
  void Dimension(QPointF a, QPointF b, const QString& label) {
    scene_.dimensions.append({QLineF(a, b), label});
  }
  void Text(const QString& text, QPointF anchor, Qt::Alignment align, double size = kLabelSize) {
    SceneText t;
    t.text = text;
    t.anchor = anchor;
    t.align = align;
    t.pixelSize = size;
    scene_.texts.append(t);
  }
  void Paragraph(const QString& text, QPointF topLeft, double width, bool bold = false) {
    SceneText t;
    t.text = text;
    t.anchor = topLeft;
    t.pixelSize = kLabelSize;
    t.bold = bold;
    t.wrapWidth = width;
    scene_.texts.append(t);
  }

  /// A vertical depth dimension from the bed up to the water surface, its word to the
  /// right at labelY (by default halfway up).
  void Depth(double x, double bedY, double surfaceY, double labelY = -1) {
    Dimension(QPointF(x, bedY), QPointF(x, surfaceY), "depth");
    if (labelY < 0) labelY = (bedY + surfaceY) / 2;
    Text("depth", QPointF(x + 5, labelY), Qt::AlignLeft | Qt::AlignVCenter);
  }

  /// A bottom width between two bed corners: extension lines down, arrow, word below.
  void BottomWidth(double left, double right, double bedY, double arrowY) {
    Line(QPointF(left, bedY), QPointF(left, arrowY + 5));
    Line(QPointF(right, bedY), QPointF(right, arrowY + 5));
    Dimension(QPointF(left, arrowY), QPointF(right, arrowY), "width");
    Text("width", QPointF((left + right) / 2, arrowY + 3), Qt::AlignHCenter | Qt::AlignTop);
  }

  /// A right triangle on the open side of a side rising kRun across per unit up: from
  /// foot, on the side, straight up by rise, then across by kRun * rise back to the side.
  /// The upright leg's word goes to its left, the across leg's word above it.
  void SlopeTriangle(QPointF foot, double rise, const QString& up, const QString& across) {
    const QPointF corner(foot.x(), foot.y() - rise);
    const QPointF top(foot.x() + kRun * rise, corner.y());
    Line(foot, corner);
    Line(corner, top);
    Text(up, QPointF(foot.x() - 4, (foot.y() + corner.y()) / 2), Qt::AlignRight | Qt::AlignVCenter);
    Text(across, QPointF((corner.x() + top.x()) / 2, corner.y() - 1),
         Qt::AlignHCenter | Qt::AlignBottom);
  }

  /// The point of a side rising kRun across per unit up, rise above its foot.
  static QPointF Up(QPointF foot, double rise) {
    return QPointF(foot.x() + kRun * rise, foot.y() - rise);
  }

  /// A short stretch of the sloping side from its foot, as the sketches show it.
  void Side(QPointF foot, double rise) { Wall(QPolygonF{foot, Up(foot, rise)}); }

  /// Sketch of the side with y up per 1 across.
  void VerticalPerHorizontalSketch(QPointF foot, double rise) {
    Side(foot, rise);
    SlopeTriangle(Up(foot, rise * 0.3), rise * 0.44, "y", "1");
  }

  /// Sketch of the side with the angle it makes with the horizontal outside the channel.
  void OutsideAngleSketch(QPointF foot, double rise, double baseLength) {
    Side(foot, rise);
    Line(foot, QPointF(foot.x() + baseLength, foot.y()));
    const double radius = rise * 0.6;
    const double degrees = qRadiansToDegrees(std::atan(1.0 / kRun));
    QPainterPath arc;
    arc.arcMoveTo(QRectF(foot.x() - radius, foot.y() - radius, 2 * radius, 2 * radius), 0);
    arc.arcTo(QRectF(foot.x() - radius, foot.y() - radius, 2 * radius, 2 * radius), 0, degrees);
    scene_.lines.append(arc);
    Text("Outside angle", QPointF(foot.x() + 2, foot.y() + 3), Qt::AlignLeft | Qt::AlignTop);
  }

 private:
  DrawingScene scene_;
};

DrawingScene Circle() {
  SceneBuilder b(SectionKind::Pipe);
  const QPointF c(120, 116);
  const double inner = 70, outer = 79;
  const double bottom = c.y() + inner, top = c.y() - inner;
  const double surface = bottom - 0.62 * 2 * inner;

  QPainterPath ring;
  ring.addEllipse(c, outer, outer);
  ring.addEllipse(c, inner, inner);  // odd-even fill leaves the bore empty
  b.Ground(ring);

  QPainterPath bore;
  bore.addEllipse(c, inner, inner);
  QPainterPath below;
  below.addRect(QRectF(c.x() - outer, surface, 2 * outer, bottom - surface + 1));
  b.Water(bore.intersected(below));

  const double halfChord = std::sqrt(inner * inner - (c.y() - surface) * (c.y() - surface));
  b.Line(QPointF(c.x() - halfChord, surface), QPointF(c.x() + halfChord, surface));
  b.Wall(bore);
  QPainterPath outside;
  outside.addEllipse(c, outer, outer);
  b.Wall(outside);

  b.Depth(c.x(), bottom, surface);

  // The diameter is the bore's: extension lines from its top and bottom points.
  const double arrowX = c.x() + outer + 16;
  b.Line(QPointF(c.x(), top), QPointF(arrowX + 6, top));
  b.Line(QPointF(c.x(), bottom), QPointF(arrowX + 6, bottom));
  b.Dimension(QPointF(arrowX, top), QPointF(arrowX, bottom), "diameter");
  b.Text("diameter", QPointF(arrowX + 5, c.y()), Qt::AlignLeft | Qt::AlignVCenter);

  b.Paragraph("Note:", QPointF(10, 200), 276, true);
  b.Paragraph("For increased accuracy, use the inside diameter of the pipe.", QPointF(10, 215),
              276);
  return b.Take();
}

DrawingScene Rectangle() {
  SceneBuilder b(SectionKind::Rectangle);
  const double left = 55, right = 205, bed = 138, rim = 48, surface = 85;
  const double g = kGroundDepth;
  b.Ground(QPolygonF{{left - g, rim},
                     {left, rim},
                     {left, bed},
                     {right, bed},
                     {right, rim},
                     {right + g, rim},
                     {right + g, bed + g},
                     {left - g, bed + g}});
  b.Water(QPolygonF{{left, surface}, {right, surface}, {right, bed}, {left, bed}});
  b.Line(QPointF(left, surface), QPointF(right, surface));
  b.Wall(QPolygonF{{left, rim}, {left, bed}, {right, bed}, {right, rim}});
  b.Depth(left + 45, bed, surface);
  b.BottomWidth(left, right, bed, bed + 26);
  return b.Take();
}

DrawingScene Triangle() {
  SceneBuilder b(SectionKind::Triangle);
  const QPointF vertex(126, 150);
  const double rim = 74, surface = 104;
  const double halfTop = kRun * (vertex.y() - rim);
  const double halfWater = kRun * (vertex.y() - surface);
  const double g = kGroundDepth;
  b.Ground(QPolygonF{{vertex.x() - halfTop, rim},
                     vertex,
                     {vertex.x() + halfTop, rim},
                     {vertex.x() + halfTop + kRun * g, rim},
                     {vertex.x(), vertex.y() + g},
                     {vertex.x() - halfTop - kRun * g, rim}});
  b.Water(QPolygonF{{vertex.x() - halfWater, surface}, {vertex.x() + halfWater, surface}, vertex});
  b.Line(QPointF(vertex.x() - halfWater, surface), QPointF(vertex.x() + halfWater, surface));
  b.Wall(QPolygonF{{vertex.x() - halfTop, rim}, vertex, {vertex.x() + halfTop, rim}});
  // Near the vertex the water is too narrow for the word, so it stands near the top.
  b.Depth(vertex.x(), vertex.y(), surface, surface + 9);
  // The slope triangle sits on the dry part of the right side, above the water.
  b.SlopeTriangle(SceneBuilder::Up(vertex, 54), 16, "1", "x");

  b.VerticalPerHorizontalSketch(QPointF(268, 140), 50);
  b.OutsideAngleSketch(QPointF(355, 140), 50, 90);
  return b.Take();
}

DrawingScene Trapezoid() {
  SceneBuilder b(SectionKind::Trapezoid);
  const double bedLeft = 104, bedRight = 164, bed = 100, rim = 40, surface = 68;
  const double run = kRun * (bed - rim), water = kRun * (bed - surface);
  const double g = kGroundDepth;
  b.Ground(QPolygonF{{bedLeft - run, rim},
                     {bedLeft, bed},
                     {bedRight, bed},
                     {bedRight + run, rim},
                     {bedRight + run + kRun * g, rim},
                     {bedRight + kRun * g * 0.4, bed + g},
                     {bedLeft - kRun * g * 0.4, bed + g},
                     {bedLeft - run - kRun * g, rim}});
  b.Water(QPolygonF{
      {bedLeft - water, surface}, {bedRight + water, surface}, {bedRight, bed}, {bedLeft, bed}});
  b.Line(QPointF(bedLeft - water, surface), QPointF(bedRight + water, surface));
  b.Wall(QPolygonF{{bedLeft - run, rim}, {bedLeft, bed}, {bedRight, bed}, {bedRight + run, rim}});
  b.Depth(bedLeft + 14, bed, surface);
  b.BottomWidth(bedLeft, bedRight, bed, bed + 18);
  b.SlopeTriangle(SceneBuilder::Up(QPointF(bedRight, bed), 38), 16, "1", "x");

  b.VerticalPerHorizontalSketch(QPointF(272, 112), 40);
  b.OutsideAngleSketch(QPointF(340, 112), 40, 85);
  return b.Take();
}

DrawingScene Gutter() {
  SceneBuilder b(SectionKind::Gutter);
  const double wall = 36, wallTop = 50, bedRight = 100, bed = 166, rim = 90, surface = 120;
  const double run = kRun * (bed - rim), water = kRun * (bed - surface);
  const double g = kGroundDepth;
  b.Ground(QPolygonF{{wall - g, wallTop},
                     {wall, wallTop},
                     {wall, bed},
                     {bedRight, bed},
                     {bedRight + run, rim},
                     {bedRight + run + kRun * g, rim},
                     {bedRight + kRun * g * 0.4, bed + g},
                     {wall - g, bed + g}});
  b.Water(QPolygonF{{wall, surface}, {bedRight + water, surface}, {bedRight, bed}, {wall, bed}});
  b.Line(QPointF(wall, surface), QPointF(bedRight + water, surface));
  b.Wall(QPolygonF{{wall, wallTop}, {wall, bed}, {bedRight, bed}, {bedRight + run, rim}});
  b.Depth(wall + 22, bed, surface);
  b.BottomWidth(wall, bedRight, bed, bed + 24);
  b.SlopeTriangle(SceneBuilder::Up(QPointF(bedRight, bed), 54), 20, "1", "x");

  b.VerticalPerHorizontalSketch(QPointF(250, 110), 50);
  b.OutsideAngleSketch(QPointF(250, 196), 50, 95);
  return b.Take();
}

}  // namespace

DrawingScene BuildDrawingScene(SectionKind kind) {
  switch (kind) {
    case SectionKind::Pipe:
      return Circle();
    case SectionKind::Rectangle:
      return Rectangle();
    case SectionKind::Triangle:
      return Triangle();
    case SectionKind::Trapezoid:
      return Trapezoid();
    case SectionKind::Gutter:
      return Gutter();
  }
  return {};
}

}  // namespace rivulet
