#include "gui/sections/section_drawing.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

const QColor kZoneShades[] = {QColor(214, 234, 200), QColor(238, 226, 196)};
const QColor kGround(150, 120, 80);
const QColor kWater(120, 170, 230, 170);

// The stretches of station (left, right) where the ground lies below the level.
std::vector<std::pair<double, double>> WetStretches(const SectionPicture& p, double level) {
  std::vector<std::pair<double, double>> out;
  for (size_t i = 0; i + 1 < p.station.size(); ++i) {
    const double a = p.station[i], b = p.station[i + 1];
    const double za = p.elevation[i], zb = p.elevation[i + 1];
    if (b <= a || std::min(za, zb) >= level) continue;
    double l = a, r = b;
    if (za > level) l = a + (b - a) * (za - level) / (za - zb);
    if (zb > level) r = b - (b - a) * (zb - level) / (zb - za);
    if (!out.empty() && std::abs(out.back().second - l) < 1e-12)
      out.back().second = r;
    else
      out.emplace_back(l, r);
  }
  return out;
}

}  // namespace

double RoundExaggeration(double ratio) {
  double best = 1;
  for (double decade = 1; decade <= 1e6; decade *= 10)
    for (double step : {1.0, 2.0, 5.0})
      if (step * decade <= ratio) best = step * decade;
  return best;
}

SectionDrawing::SectionDrawing(QWidget* parent) : QWidget(parent) {
  setObjectName("sectionDrawing");
  setMinimumSize(240, 200);
}

void SectionDrawing::SetPicture(SectionPicture picture) {
  picture_ = std::move(picture);
  update();
}

void SectionDrawing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  const SectionPicture& p = picture_;
  if (p.station.size() < 2 || p.station.size() != p.elevation.size()) {
    painter.drawText(rect(), Qt::AlignCenter, "Enter the surveyed points to see the section.");
    return;
  }
  const auto [sMin, sMax] = std::minmax_element(p.station.begin(), p.station.end());
  const auto [zMinIt, zMaxIt] = std::minmax_element(p.elevation.begin(), p.elevation.end());
  double zMin = *zMinIt, zMax = *zMaxIt;
  if (p.waterSurface) zMax = std::max(zMax, *p.waterSurface);
  const double width = *sMax - *sMin, height = std::max(zMax - zMin, 1e-9);
  if (!(width > 0) || !std::isfinite(width) || !std::isfinite(height)) return;

  const QRectF area = QRectF(rect()).adjusted(12, 28, -12, -34);
  double sx = area.width() / width, sy = area.height() / height;
  exaggeration_ = RoundExaggeration(sy / sx);
  if (sy / sx < 1) sx = sy;  // a narrow, deep section: drawn to scale on its height
  sy = sx * exaggeration_;
  const double left = area.left() + (area.width() - width * sx) / 2;
  const double bottom = area.bottom();
  auto at = [&](double s, double z) {
    return QPointF(left + (s - *sMin) * sx, bottom - (z - zMin) * sy);
  };

  // Zones: vertical bands between the breaks, each labelled with its n.
  std::vector<double> edges{*sMin};
  for (double b : p.breaks)
    if (b > *sMin && b < *sMax) edges.push_back(b);
  edges.push_back(*sMax);
  for (size_t j = 0; j + 1 < edges.size(); ++j) {
    const QRectF band(at(edges[j], zMax).x(), area.top() - 16, (edges[j + 1] - edges[j]) * sx,
                      bottom - area.top() + 16);
    painter.fillRect(band, kZoneShades[j % 2]);
    painter.setPen(Qt::black);  // the last band's dashed edge left the pen grey
    if (j < p.zoneLabels.size())
      painter.drawText(band.adjusted(2, 0, -2, 0), Qt::AlignTop | Qt::AlignHCenter,
                       ToQt(p.zoneLabels[j]));
    if (j > 0) {
      painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
      painter.drawLine(band.topLeft(), band.bottomLeft());
    }
  }

  if (p.waterSurface) {
    const double w = *p.waterSurface;
    for (const auto& [l, r] : WetStretches(p, w))
      painter.fillRect(QRectF(at(l, w), at(r, zMin)), kWater);
  }

  QPainterPath ground;
  ground.moveTo(at(p.station.front(), zMin - height));
  for (size_t i = 0; i < p.station.size(); ++i) ground.lineTo(at(p.station[i], p.elevation[i]));
  ground.lineTo(at(p.station.back(), zMin - height));
  ground.closeSubpath();
  painter.setClipRect(QRectF(rect()).adjusted(0, 0, 0, -34 + 6));
  painter.fillPath(ground, QColor(222, 204, 170));
  painter.setPen(QPen(kGround, 2));
  QPolygonF line;
  for (size_t i = 0; i < p.station.size(); ++i) line << at(p.station[i], p.elevation[i]);
  painter.drawPolyline(line);
  painter.setClipping(false);

  if (p.waterSurface) {
    painter.setPen(QPen(QColor(20, 80, 200), 2));
    const double w = *p.waterSurface;
    for (const auto& [l, r] : WetStretches(p, w)) painter.drawLine(at(l, w), at(r, w));
    const auto lowest = std::min_element(p.elevation.begin(), p.elevation.end());
    const double sLow = p.station[static_cast<size_t>(lowest - p.elevation.begin())];
    // The depth dimension at the lowest point.
    painter.setPen(QPen(Qt::black, 1));
    const QPointF top = at(sLow, w), foot = at(sLow, *lowest);
    painter.drawLine(top, foot);
    painter.drawText(top + QPointF(4, (foot.y() - top.y()) / 2 + 4), ToQt("y " + p.depthText));
    painter.setPen(QColor(20, 80, 200));
    // Right-aligned at the right end, so that a long level keeps inside the drawing.
    const QString water = ToQt("water surface " + p.waterText);
    const QPointF end = at(*sMax, w);
    painter.drawText(
        QPointF(std::max(4.0, end.x() - painter.fontMetrics().horizontalAdvance(water) - 4),
                end.y() - 4),
        water);
  }
  if (p.criticalSurface) {
    painter.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    const double c = *p.criticalSurface;
    for (const auto& [l, r] : WetStretches(p, c)) painter.drawLine(at(l, c), at(r, c));
    painter.drawText(at(*sMin, c) + QPointF(4, -4), "critical depth");
  }

  painter.setPen(Qt::black);
  const QString scale = exaggeration_ > 1 ? QString("Vertical exaggeration %1:1").arg(exaggeration_)
                                          : QString("Drawn to scale");
  painter.drawText(QRectF(rect()).adjusted(8, 0, -8, -6), Qt::AlignBottom | Qt::AlignLeft, scale);
}

}  // namespace rivulet
