#include "core/sections/section_model.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

constexpr double kFiveThirds = 5.0 / 3.0;

std::string Num(double v) { return SignificantFigures(v, 10); }

std::string PointName(size_t i) { return "Point " + std::to_string(i + 1); }

// The wetted part of a straight piece of ground from (a, za) to (b, zb), b > a, of the given
// length, under a water surface at w, added to the zone.
void WetPiece(double a, double za, double b, double zb, double length, double w, ZoneFlow& z) {
  const double lo = std::min(za, zb), hi = std::max(za, zb);
  if (lo >= w) return;
  const double width = b - a;
  if (hi <= w) {
    z.area += (w - (za + zb) / 2) * width;
    z.perimeter += length;
    z.topWidth += width;
    return;
  }
  // The surface cuts the piece: only the part below it is wet.
  const double f = (w - lo) / (hi - lo);
  z.area += (w - lo) * f * width / 2;
  z.perimeter += f * length;
  z.topWidth += f * width;
  z.perimeterRate += length / (hi - lo);
}

// A vertical piece of ground from za to zb at one station.
void WetWall(double za, double zb, double w, ZoneFlow& z) {
  const double lo = std::min(za, zb), hi = std::max(za, zb);
  if (lo >= w) return;
  z.perimeter += std::min(w, hi) - lo;
  if (w < hi) z.perimeterRate += 1;
}

}  // namespace

const char* CompositeMethodKey(CompositeMethod method) {
  switch (method) {
    case CompositeMethod::Conveyance:
      return "conveyance";
    case CompositeMethod::Horton:
      return "horton";
    case CompositeMethod::Pavlovskii:
      return "pavlovskii";
    case CompositeMethod::Lotter:
      return "lotter";
  }
  return "conveyance";
}

bool CompositeMethodForKey(const std::string& key, CompositeMethod& method) {
  for (CompositeMethod m : {CompositeMethod::Conveyance, CompositeMethod::Horton,
                            CompositeMethod::Pavlovskii, CompositeMethod::Lotter}) {
    if (key == CompositeMethodKey(m)) {
      method = m;
      return true;
    }
  }
  return false;
}

std::string PointsProblem(const StationSection& s) {
  const size_t count = s.station.size();
  if (s.elevation.size() != count)
    return "The section has " + std::to_string(count) + " stations but " +
           std::to_string(s.elevation.size()) + " elevations.";
  if (count < static_cast<size_t>(kMinSectionPoints))
    return "The section needs at least " + std::to_string(kMinSectionPoints) + " points; it has " +
           std::to_string(count) + ".";
  if (count > static_cast<size_t>(kMaxSectionPoints))
    return "The section may have at most " + std::to_string(kMaxSectionPoints) +
           " points; it has " + std::to_string(count) + ".";
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(s.station[i])) return PointName(i) + ": the station is not a number.";
    if (!std::isfinite(s.elevation[i])) return PointName(i) + ": the elevation is not a number.";
    if (i > 0 && s.station[i] < s.station[i - 1])
      return PointName(i) + " (station " + Num(s.station[i]) + ") lies before " + PointName(i - 1) +
             " (station " + Num(s.station[i - 1]) + "): the stations double back.";
  }
  if (!(s.station.back() > s.station.front()))
    return "The section has no width: every point is at station " + Num(s.station.front()) + ".";
  const auto low = std::min_element(s.elevation.begin(), s.elevation.end());
  if (!(*low < s.elevation.front()))
    return PointName(0) +
           " is a lowest point of the section: the section needs a low point between two "
           "higher ends.";
  if (!(*low < s.elevation.back()))
    return PointName(count - 1) +
           " is a lowest point of the section: the section needs a low point between two "
           "higher ends.";
  return "";
}

std::string ZonesProblem(const StationSection& s) {
  for (size_t j = 0; j < s.breaks.size(); ++j) {
    const std::string name = "Break " + std::to_string(j + 1);
    const double b = s.breaks[j];
    if (!std::isfinite(b)) return name + ": the station is not a number.";
    if (!(b > s.station.front() && b < s.station.back()))
      return name + " (station " + Num(b) + ") must lie between the end stations " +
             Num(s.station.front()) + " and " + Num(s.station.back()) + ".";
    if (j > 0 && !(b > s.breaks[j - 1]))
      return name + " (station " + Num(b) + ") must lie beyond break " + std::to_string(j) +
             " (station " + Num(s.breaks[j - 1]) + ").";
  }
  if (s.n.size() != s.breaks.size() + 1)
    return std::to_string(s.breaks.size()) + " breaks make " + std::to_string(s.breaks.size() + 1) +
           " zones, but " + std::to_string(s.n.size()) + " values of Manning's n are given.";
  for (size_t j = 0; j < s.n.size(); ++j)
    if (!(std::isfinite(s.n[j]) && s.n[j] > 0))
      return "Zone " + std::to_string(j + 1) + ": Manning's n must be a number above 0.";
  return "";
}

SectionModel::SectionModel(const StationSection& section, CompositeMethod method)
    : section_(section), method_(method), extendWalls_(section.extendWalls) {
  lowest_ = *std::min_element(section_.elevation.begin(), section_.elevation.end());
  levels_ = section_.elevation;
  std::sort(levels_.begin(), levels_.end());
  levels_.erase(std::unique(levels_.begin(), levels_.end()), levels_.end());
  zones_.resize(section_.n.size());
  // Lengths are the costliest part of the geometry and do not depend on the water.
  for (size_t i = 0; i + 1 < section_.station.size(); ++i)
    lengths_.push_back(std::hypot(section_.station[i + 1] - section_.station[i],
                                  section_.elevation[i + 1] - section_.elevation[i]));
}

double SectionModel::BankFull() const { return std::min(LeftEnd(), RightEnd()); }

void SectionModel::WetZones(double w) const {
  const std::vector<double>& st = section_.station;
  const std::vector<double>& el = section_.elevation;
  const std::vector<double>& br = section_.breaks;
  std::fill(zones_.begin(), zones_.end(), ZoneFlow{});
  size_t zone = 0;  // breaks at or left of the current station
  for (size_t i = 0; i + 1 < st.size(); ++i) {
    double a = st[i], za = el[i];
    const double b = st[i + 1], zb = el[i + 1];
    while (zone < br.size() && br[zone] <= a) ++zone;
    if (b == a) {
      // A wall standing on a break wets the zone on its low side, where the water is.
      size_t z = zone;
      if (zone > 0 && br[zone - 1] == a && zb > za) z = zone - 1;
      WetWall(za, zb, w, zones_[z]);
      continue;
    }
    if (std::min(za, zb) >= w) continue;
    // Vertical dividers at the breaks cut the piece without adding perimeter.
    size_t z = zone;
    if (z == br.size() || br[z] >= b) {
      WetPiece(a, za, b, zb, lengths_[i], w, zones_[z]);
      continue;
    }
    const double perStation = lengths_[i] / (b - a);
    while (z < br.size() && br[z] < b) {
      const double zc = za + (zb - za) * (br[z] - a) / (b - a);
      WetPiece(a, za, br[z], zc, perStation * (br[z] - a), w, zones_[z]);
      a = br[z];
      za = zc;
      ++z;
    }
    WetPiece(a, za, b, zb, perStation * (b - a), w, zones_[z]);
  }
  if (extendWalls_) {
    if (w > LeftEnd()) WetWall(LeftEnd(), w + 1, w, zones_.front());
    if (w > RightEnd()) WetWall(RightEnd(), w + 1, w, zones_.back());
  }
}

void SectionModel::Combine(double w, SectionState& s, bool withRates) const {
  s.waterSurface = w;
  s.area = s.perimeter = s.topWidth = 0;
  for (const ZoneFlow& z : zones_) {
    s.area += z.area;
    s.perimeter += z.perimeter;
    s.topWidth += z.topWidth;
  }
  s.alpha = 1;
  s.alphaRate = 0;
  if (!(s.area > 0)) {
    s.conveyance = 0;
    s.compositeN = 0;
    return;
  }
  const double r23 = Pow(HydraulicRadius(s.area, s.perimeter), kTwoThirds);
  const std::vector<double>& n = section_.n;
  // Each zone's own conveyance; the conveyance and Lotter methods add them up.
  double sumK = 0;
  for (size_t j = 0; j < zones_.size(); ++j) {
    ZoneFlow& z = zones_[j];
    z.conveyance = 0;
    if (z.area > 0 && z.perimeter > 0)
      z.conveyance = Div(Pow(z.area, kFiveThirds) / Pow(z.perimeter, kTwoThirds), n[j]);
    sumK += z.conveyance;
  }
  switch (method_) {
    case CompositeMethod::Conveyance:
    case CompositeMethod::Lotter: {
      // Lotter's n_c = P·R^(5/3) / Σ(P_i·R_i^(5/3)/n_i) carries exactly the sum of the zones'
      // conveyances, since P_i·R_i^(5/3)/n_i is K_i; it differs only in taking α as 1.
      s.conveyance = sumK;
      s.compositeN = Div(s.area * r23, sumK);
      if (method_ == CompositeMethod::Lotter) break;
      // α = Σ(K_i³/A_i²) / (K³/A²), and its rate of change from those of K_i and A_i.
      double s3 = 0, ds3 = 0, dK = 0;
      for (const ZoneFlow& z : zones_) {
        if (z.conveyance == 0) continue;
        const double k = z.conveyance;
        const double dk =
            k * (kFiveThirds * z.topWidth / z.area - kTwoThirds * z.perimeterRate / z.perimeter);
        s3 += k * k * k / (z.area * z.area);
        if (withRates) {
          ds3 += 3 * k * k * dk / (z.area * z.area) - 2 * k * k * k * z.topWidth / Pow(z.area, 3);
          dK += dk;
        }
      }
      s.alpha = Checked(s3 * s.area * s.area / (sumK * sumK * sumK));
      if (withRates)
        s.alphaRate = Checked(s.alpha * (ds3 / s3 + 2 * s.topWidth / s.area - 3 * dK / sumK));
      break;
    }
    case CompositeMethod::Horton:
    case CompositeMethod::Pavlovskii: {
      const double p = method_ == CompositeMethod::Horton ? 1.5 : 2.0;
      double sum = 0;
      for (size_t j = 0; j < zones_.size(); ++j) sum += zones_[j].perimeter * Pow(n[j], p);
      s.compositeN = Pow(Div(sum, s.perimeter), 1 / p);
      s.conveyance = Div(s.area * r23, s.compositeN);
      // One velocity over the whole section: each zone carries its share of the area.
      for (ZoneFlow& z : zones_) z.conveyance = s.conveyance * z.area / s.area;
      break;
    }
  }
}

SectionState SectionModel::StateAt(double w, bool withZones) const {
  WetZones(w);
  SectionState s;
  Combine(w, s, true);
  if (withZones) s.zones = zones_;
  return s;
}

double SectionModel::ConveyanceAt(double w) const {
  if (!(w > lowest_)) return 0;
  WetZones(w);
  SectionState s;
  Combine(w, s, false);
  return s.conveyance;
}

std::string SectionProblem(const StationSection& s) {
  std::string problem = PointsProblem(s);
  return problem.empty() ? ZonesProblem(s) : problem;
}

}  // namespace rivulet
