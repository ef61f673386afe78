#include "gui/profiles/profile_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/drainage/gutter_profile.h"
#include "core/shell/number_text.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

const QColor kGround(214, 205, 188);
const QColor kWater(110, 160, 225, 150);
const QColor kSurface(30, 80, 190);
const QColor kEnergy(200, 40, 40);
const QColor kCritical(200, 120, 0);
const QColor kNormal(40, 140, 60);
constexpr double kMargin = 12;

struct Frame {
  double x0, z0, sx, sz;
  QRectF area;
  QPointF At(double x, double z) const {
    return {area.left() + (x - x0) * sx, area.bottom() - (z - z0) * sz};
  }
};

QString Length(double metres, const ProfileDrawing& d) {
  return ToQt(SignificantFigures(metres / d.unitMetres, 4)) + " " + d.unitSymbol;
}

// One line through the points, broken where the value is missing.
template <typename Value>
void Polyline(QPainter& p, const Frame& f, const std::vector<ProfileRow>& points, Value value) {
  QPolygonF line;
  for (const ProfileRow& pt : points) {
    const std::optional<double> z = value(pt);
    if (z) {
      line << f.At(pt.station, *z);
    } else if (!line.isEmpty()) {
      p.drawPolyline(line);
      line.clear();
    }
  }
  if (!line.isEmpty()) p.drawPolyline(line);
}

void LegendItem(QPainter& p, QPointF at, const QPen& pen, const QString& text) {
  p.setPen(pen);
  p.drawLine(at, at + QPointF(22, 0));
  p.setPen(Qt::black);
  p.drawText(at + QPointF(26, 4), text);
}

}  // namespace

ProfileDrawing MakeProfileDrawing(const ProfileInputs& in, const ProfileResults& r,
                                  double metresPerUnit, const QString& symbol) {
  ProfileDrawing d;
  d.points = r.points;
  if (in.channel == ProfileChannel::Prismatic) {
    d.bed = {{0, in.bedElevation}, {in.reachLength, in.bedElevation + in.slope * in.reachLength}};
  } else {
    for (const SurveyedStation& s : in.sections)
      d.bed.emplace_back(s.station,
                         *std::min_element(s.section.elevation.begin(), s.section.elevation.end()));
  }
  if (r.jump) d.jumpStation = r.jump->station;
  d.unitMetres = metresPerUnit;
  d.unitSymbol = symbol;
  return d;
}

int PaintProfile(QPainter& p, const QRectF& rect, const ProfileDrawing& d) {
  if (d.bed.size() < 2 || d.points.empty()) return 0;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetricsF fm(p.font());
  const double line = fm.height();
  const QRectF area =
      rect.adjusted(kMargin, kMargin + 4.4 * line, -kMargin, -(kMargin + 1.6 * line));
  const double x0 = d.bed.front().first, x1 = d.bed.back().first;
  double zLow = d.bed.front().second, zHigh = zLow;
  for (const auto& [x, z] : d.bed) zLow = std::min(zLow, z), zHigh = std::max(zHigh, z);
  for (const ProfileRow& pt : d.points) {
    zHigh = std::max({zHigh, pt.EnergyGrade(), pt.bedElevation + pt.criticalDepth});
    if (pt.normalDepth) zHigh = std::max(zHigh, pt.bedElevation + *pt.normalDepth);
  }
  const double sx = area.width() / std::max(x1 - x0, 1e-9);
  const double height = std::max(zHigh - zLow, 1e-9);
  const int ve = DrawingExaggeration((area.height() / height) / sx);
  const double sz = sx * ve;
  // The water stands in the upper part of the area: the ground fills what is left below.
  const Frame f{x0, zHigh - area.height() / sz, sx, sz, area};

  QPolygonF ground;
  for (const auto& [x, z] : d.bed) ground << f.At(x, z);
  ground << QPointF(area.right(), rect.bottom() - kMargin - 1.6 * line)
         << QPointF(area.left(), rect.bottom() - kMargin - 1.6 * line);
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(kGround);
  p.drawPolygon(ground);

  QPolygonF water;
  for (const ProfileRow& pt : d.points) water << f.At(pt.station, pt.WaterSurface());
  for (auto it = d.points.rbegin(); it != d.points.rend(); ++it)
    water << f.At(it->station, it->bedElevation);
  p.setPen(Qt::NoPen);
  p.setBrush(kWater);
  p.drawPolygon(water);

  const QPen surface(kSurface, 2), energy(kEnergy, 1.2, Qt::DashLine),
      critical(kCritical, 1.2, Qt::DotLine), normal(kNormal, 1.2, Qt::DashDotLine);
  p.setBrush(Qt::NoBrush);
  p.setPen(critical);
  Polyline(p, f, d.points, [](const ProfileRow& pt) -> std::optional<double> {
    return pt.bedElevation + pt.criticalDepth;
  });
  p.setPen(normal);
  Polyline(p, f, d.points, [](const ProfileRow& pt) -> std::optional<double> {
    if (!pt.normalDepth) return std::nullopt;
    return pt.bedElevation + *pt.normalDepth;
  });
  p.setPen(energy);
  Polyline(p, f, d.points,
           [](const ProfileRow& pt) -> std::optional<double> { return pt.EnergyGrade(); });
  p.setPen(surface);
  Polyline(p, f, d.points,
           [](const ProfileRow& pt) -> std::optional<double> { return pt.WaterSurface(); });

  if (d.jumpStation) {
    const QPointF top = f.At(*d.jumpStation, zHigh);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(top, QPointF(top.x(), area.bottom()));
    p.setPen(Qt::black);
    const QString label = "Jump at " + Length(*d.jumpStation, d);
    p.drawText(QPointF(std::min(top.x() + 4, area.right() - fm.horizontalAdvance(label)),
                       top.y() + fm.ascent()),
               label);
  }

  // Scale and legend along the top, wrapped to the width; stations along the foot.
  p.setPen(Qt::black);
  const double y0 = rect.top() + kMargin + fm.ascent();
  p.drawText(QPointF(rect.left() + kMargin, y0),
             (ve == 1 ? QString("No vertical exaggeration")
                      : QString("Vertical exaggeration %1:1").arg(ve)) +
                 QString("; flow from right to left"));
  double legendY = y0 + 1.3 * line;
  double x = rect.left() + kMargin;
  for (const auto& [pen, text] :
       {std::pair{surface, QString("Water surface")}, std::pair{energy, QString("Energy grade")},
        std::pair{critical, QString("Critical depth")},
        std::pair{normal, QString("Normal depth")}}) {
    const double width = 36 + fm.horizontalAdvance(text);
    if (x + width > rect.right() - kMargin && x > rect.left() + kMargin) {
      x = rect.left() + kMargin;
      legendY += 1.2 * line;
    }
    LegendItem(p, QPointF(x, legendY - fm.ascent() / 2 + 2), pen, text);
    x += width;
  }
  const double footY = rect.bottom() - kMargin;
  p.drawText(QPointF(area.left(), footY), Length(x0, d));
  const QString end = Length(x1, d);
  p.drawText(QPointF(area.right() - fm.horizontalAdvance(end), footY), end);
  p.restore();
  return ve;
}

ProfileView::ProfileView(QWidget* parent) : QWidget(parent) {
  setObjectName("picProfile");
  setMinimumSize(360, 320);
  setMaximumHeight(480);
}

void ProfileView::SetDrawing(std::optional<ProfileDrawing> drawing) {
  drawing_ = std::move(drawing);
  update();
}

void ProfileView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!drawing_) {
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the profile.");
    exaggeration_ = 0;
    return;
  }
  exaggeration_ = PaintProfile(p, QRectF(rect()), *drawing_);
}

}  // namespace rivulet
