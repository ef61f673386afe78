#include "core/sections/section_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/flow_details.h"
#include "core/hydraulics/geometry.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

constexpr double kFiveThirds = 5.0 / 3.0;

// x^(2/3) by a cube root, which costs much less than a general power.
double TwoThirdsPower(double x) { return Checked(std::cbrt(x * x)); }

// x^(1/3) for the bounds, from a first guess on the exponent and two of Halley's steps: to
// about 1e-12, several times cheaper than the library's exact root, which the bounds do not
// need. Zero, infinities and numbers too small for the guess go to the library.
double RoughCubeRoot(double x) {
  if (!(x >= std::numeric_limits<double>::min() && x <= std::numeric_limits<double>::max()))
    return std::cbrt(x);
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  bits = bits / 3 + 0x2A9F7893782DA1CEull;
  double y;
  std::memcpy(&y, &bits, sizeof y);
  for (int i = 0; i < 2; ++i) {
    const double y3 = y * y * y;
    y *= (y3 + 2 * x) / (2 * y3 + x);
  }
  return y;
}

// The bounds' roots are rough by at most this fraction.
constexpr double kRoughRoot = 1e-10;

// How one zone's geometry changes at a level: steps where flat ground starts to wet, and
// changes of the rates at which top width and perimeter grow above it.
struct ZoneEvent {
  double level = 0;
  double topWidthStep = 0, perimeterStep = 0;
  double topWidthRate = 0, perimeterRate = 0;
  int cut = 0;    // pieces of sloping ground the surface starts (+1) or stops (−1) cutting
  int walls = 0;  // vertical pieces it starts or stops wetting
};

// A straight piece of ground from (a, za) to (b, zb), b > a, of the given length.
void AddPiece(double a, double za, double b, double zb, double length,
              std::vector<ZoneEvent>& events) {
  const double lo = std::min(za, zb), hi = std::max(za, zb);
  const double width = b - a;
  if (lo == hi) {
    events.push_back({lo, width, length, 0, 0, 0, 0});
    return;
  }
  // Below the surface the cut moves across the piece at a fixed rate per metre of rise.
  const double rise = hi - lo;
  events.push_back({lo, 0, 0, width / rise, length / rise, 1, 0});
  events.push_back({hi, 0, 0, -width / rise, -length / rise, -1, 0});
}

// A vertical piece of ground from za to zb at one station; zb may be infinite.
void AddWall(double za, double zb, std::vector<ZoneEvent>& events) {
  const double lo = std::min(za, zb), hi = std::max(za, zb);
  if (lo == hi) return;
  events.push_back({lo, 0, 0, 0, 1, 0, 1});
  if (std::isfinite(hi)) events.push_back({hi, 0, 0, 0, -1, 0, -1});
}

// Knots from a zone's events: the geometry integrated from level to level.
std::vector<ZoneKnot> Integrate(const std::vector<ZoneEvent>& events) {
  // The levels are sorted with the events' places rather than the events themselves: a third
  // of the data to move, and the same comparisons, so events at one level still add up in
  // the same order.
  struct Key {
    double level;
    size_t event;
  };
  std::vector<Key> order(events.size());
  for (size_t i = 0; i < events.size(); ++i) order[i] = {events[i].level, i};
  std::sort(order.begin(), order.end(),
            [](const Key& x, const Key& y) { return x.level < y.level; });
  std::vector<ZoneKnot> knots;
  knots.reserve(order.size());
  ZoneKnot k;
  int cut = 0, walls = 0;
  for (size_t i = 0; i < order.size();) {
    const double level = order[i].level;
    if (!knots.empty()) {
      const double rise = level - k.level;
      k.area += rise * (k.topWidth + k.topWidthRate * rise / 2);
      k.topWidth += k.topWidthRate * rise;
      k.perimeter += k.perimeterRate * rise;
    }
    k.level = level;
    for (; i < order.size() && order[i].level == level; ++i) {
      const ZoneEvent& e = events[order[i].event];
      k.topWidth += e.topWidthStep;
      k.perimeter += e.perimeterStep;
      k.topWidthRate += e.topWidthRate;
      k.perimeterRate += e.perimeterRate;
      cut += e.cut;
      walls += e.walls;
    }
    // Once no sloping piece is cut the rates are known exactly: no rounding carried up.
    if (cut == 0) {
      k.topWidthRate = 0;
      k.perimeterRate = walls;
    }
    knots.push_back(k);
  }
  return knots;
}

}  // namespace

SectionModel::SectionModel(const StationSection& section, CompositeMethod method)
    : section_(section), method_(method), extendWalls_(section.extendWalls) {
  lowest_ = *std::min_element(section_.elevation.begin(), section_.elevation.end());
  zones_.resize(section_.n.size());
  known_.resize(section_.n.size());
  if (method_ == CompositeMethod::Horton || method_ == CompositeMethod::Pavlovskii)
    for (double n : section_.n)
      nPower_.push_back(Pow(n, method_ == CompositeMethod::Horton ? 1.5 : 2.0));
  if (!nPower_.empty()) {
    nPowerLow_ = *std::min_element(nPower_.begin(), nPower_.end());
    nPowerHigh_ = *std::max_element(nPower_.begin(), nPower_.end());
  }
  BuildKnots();
  // Each zone's levels are sorted already: merged pairwise, not sorted again.
  std::vector<size_t> runs{0};
  for (const std::vector<ZoneKnot>& zone : knots_) {
    for (const ZoneKnot& k : zone) levels_.push_back(k.level);
    runs.push_back(levels_.size());
  }
  for (size_t step = 1; step + 1 < runs.size(); step *= 2)
    for (size_t r = 0; r + step + 1 < runs.size(); r += 2 * step)
      std::inplace_merge(levels_.begin() + runs[r], levels_.begin() + runs[r + step],
                         levels_.begin() + runs[std::min(r + 2 * step, runs.size() - 1)]);
  levels_.erase(std::unique(levels_.begin(), levels_.end()), levels_.end());
  below_.resize(levels_.size());
  above_.resize(levels_.size());
  tabulated_.assign(levels_.size(), 0);
}

void SectionModel::BuildKnots() {
  const std::vector<double>& st = section_.station;
  const std::vector<double>& el = section_.elevation;
  const std::vector<double>& br = section_.breaks;
  std::vector<std::vector<ZoneEvent>> events(section_.n.size());
  // Two events a piece, and a piece more at each break.
  for (size_t j = 0; j < events.size(); ++j) {
    const auto from = j == 0 ? st.begin() : std::lower_bound(st.begin(), st.end(), br[j - 1]);
    const auto to = j == br.size() ? st.end() : std::upper_bound(from, st.end(), br[j]);
    events[j].reserve(2 * static_cast<size_t>(to - from) + 4);
  }
  size_t zone = 0;  // breaks at or left of the current station
  for (size_t i = 0; i + 1 < st.size(); ++i) {
    double a = st[i], za = el[i];
    const double b = st[i + 1], zb = el[i + 1];
    while (zone < br.size() && br[zone] <= a) ++zone;
    if (b == a) {
      // A wall standing on a break wets the zone on its low side, where the water is.
      size_t z = zone;
      if (zone > 0 && br[zone - 1] == a && zb > za) z = zone - 1;
      AddWall(za, zb, events[z]);
      continue;
    }
    // Vertical dividers at the breaks cut the piece without adding perimeter.
    const double length = std::sqrt((b - a) * (b - a) + (zb - za) * (zb - za));
    const double perStation = length / (b - a);
    size_t z = zone;
    while (z < br.size() && br[z] < b) {
      const double zc = za + (zb - za) * (br[z] - a) / (b - a);
      AddPiece(a, za, br[z], zc, perStation * (br[z] - a), events[z]);
      a = br[z];
      za = zc;
      ++z;
    }
    AddPiece(a, za, b, zb, z == zone ? length : perStation * (b - a), events[z]);
  }
  if (extendWalls_) {
    const double up = std::numeric_limits<double>::infinity();
    AddWall(LeftEnd(), up, events.front());
    AddWall(RightEnd(), up, events.back());
  }
  knots_.clear();
  for (std::vector<ZoneEvent>& e : events) knots_.push_back(Integrate(e));
}

double SectionModel::BankFull() const { return std::min(LeftEnd(), RightEnd()); }

void SectionModel::WetZone(size_t j, double w, size_t under) const {
  ZoneFlow& z = zones_[j];
  z = ZoneFlow{};
  if (under == 0) return;
  const ZoneKnot& k = knots_[j][under - 1];
  const double rise = w - k.level;
  z.area = k.area + rise * (k.topWidth + k.topWidthRate * rise / 2);
  z.topWidth = k.topWidth + k.topWidthRate * rise;
  z.perimeter = k.perimeter + k.perimeterRate * rise;
  z.topWidthRate = k.topWidthRate;
  z.perimeterRate = k.perimeterRate;
}

void SectionModel::WetZones(double w, bool above) const {
  for (size_t j = 0; j < knots_.size(); ++j) {
    const std::vector<ZoneKnot>& knots = knots_[j];
    // The knots below w (at or below it, from above): w lies in the last one's stretch.
    const auto next =
        above ? std::upper_bound(knots.begin(), knots.end(), w,
                                 [](double v, const ZoneKnot& k) { return v < k.level; })
              : std::lower_bound(knots.begin(), knots.end(), w,
                                 [](const ZoneKnot& k, double v) { return k.level < v; });
    WetZone(j, w, static_cast<size_t>(next - knots.begin()));
  }
}

void SectionModel::Combine(double w, SectionState& s, bool withRates, bool full) const {
  s.waterSurface = w;
  s.area = s.perimeter = s.topWidth = s.topWidthRate = 0;
  double perimeterRate = 0;
  for (const ZoneFlow& z : zones_) {
    s.area += z.area;
    s.perimeter += z.perimeter;
    s.topWidth += z.topWidth;
    s.topWidthRate += z.topWidthRate;
    perimeterRate += z.perimeterRate;
  }
  s.alpha = 1;
  s.alphaRate = 0;
  s.conveyanceRate = 0;
  if (!(s.area > 0)) {
    s.conveyance = 0;
    s.compositeN = 0;
    return;
  }
  // R^(2/3) of the whole section, which only the whole-section methods and the composite n
  // need.
  auto r23 = [&] {
    if (known23_.area != s.area || known23_.perimeter != s.perimeter)
      known23_ = {s.area, s.perimeter, TwoThirdsPower(HydraulicRadius(s.area, s.perimeter))};
    return known23_.conveyance;
  };
  const bool oneVelocity =
      method_ == CompositeMethod::Horton || method_ == CompositeMethod::Pavlovskii;
  const std::vector<double>& n = section_.n;
  // Each zone's own conveyance; the conveyance and Lotter methods add them up.
  double sumK = 0;
  for (size_t j = 0; j < zones_.size() && !(oneVelocity && !full); ++j) {
    ZoneFlow& z = zones_[j];
    z.conveyance = 0;
    if (z.area > 0 && z.perimeter > 0) {
      // The powers are most of an evaluation's cost, and the searches ask again for zones
      // that have not changed (just above a level, or a zone the water has long covered).
      KnownConveyance& known = known_[j];
      if (known.area != z.area || known.perimeter != z.perimeter)
        known = {z.area, z.perimeter, Div(z.area * TwoThirdsPower(z.area / z.perimeter), n[j])};
      z.conveyance = known.conveyance;
    }
    sumK += z.conveyance;
  }
  switch (method_) {
    case CompositeMethod::Conveyance:
    case CompositeMethod::Lotter: {
      // Lotter's n_c = P·R^(5/3) / Σ(P_i·R_i^(5/3)/n_i) carries exactly the sum of the zones'
      // conveyances, since P_i·R_i^(5/3)/n_i is K_i; it differs only in taking α as 1.
      s.conveyance = sumK;
      if (full) s.compositeN = Div(s.area * r23(), sumK);
      // α = Σ(K_i³/A_i²) / (K³/A²), and its rate of change from those of K_i and A_i.
      double s3 = 0, ds3 = 0, dK = 0;
      for (const ZoneFlow& z : zones_) {
        if (z.conveyance == 0) continue;
        const double k = z.conveyance;
        const double dk =
            k * (kFiveThirds * z.topWidth / z.area - kTwoThirds * z.perimeterRate / z.perimeter);
        s3 += k * k * k / (z.area * z.area);
        if (withRates) {
          ds3 += 3 * k * k * dk / (z.area * z.area) -
                 2 * k * k * k * z.topWidth / (z.area * z.area * z.area);
          dK += dk;
        }
      }
      s.conveyanceRate = dK;
      if (method_ == CompositeMethod::Lotter) break;
      s.alpha = Checked(s3 * s.area * s.area / (sumK * sumK * sumK));
      if (withRates)
        s.alphaRate = Checked(s.alpha * (ds3 / s3 + 2 * s.topWidth / s.area - 3 * dK / sumK));
      break;
    }
    case CompositeMethod::Horton:
    case CompositeMethod::Pavlovskii: {
      const double p = method_ == CompositeMethod::Horton ? 1.5 : 2.0;
      double sum = 0, dSum = 0;
      for (size_t j = 0; j < zones_.size(); ++j) {
        const double np = nPower_[j];
        sum += zones_[j].perimeter * np;
        dSum += zones_[j].perimeterRate * np;
      }
      const double mean = Div(sum, s.perimeter);
      s.compositeN = p == 2.0 ? Sqrt(mean) : TwoThirdsPower(mean);
      s.conveyance = Div(s.area * r23(), s.compositeN);
      if (withRates) {
        // K = A·R^(2/3)/n_c with n_c^p = Σ(P_i·n_i^p)/P: the logarithmic rates add.
        const double dLogN = (dSum / sum - perimeterRate / s.perimeter) / p;
        s.conveyanceRate =
            Checked(s.conveyance * (kFiveThirds * s.topWidth / s.area -
                                    kTwoThirds * perimeterRate / s.perimeter - dLogN));
      }
      // One velocity over the whole section: each zone carries its share of the area.
      if (full)
        for (ZoneFlow& z : zones_) z.conveyance = s.conveyance * z.area / s.area;
      break;
    }
  }
}

SectionState SectionModel::StateAt(double w, bool withZones, bool above) const {
  WetZones(w, above);
  SectionState s;
  Combine(w, s, true, true);
  if (withZones) s.zones = zones_;
  return s;
}

double SectionModel::ConveyanceAt(double w) const {
  if (!(w > lowest_)) return 0;
  WetZones(w, false);
  SectionState s;
  Combine(w, s, false, false);
  return s.conveyance;
}

SectionFlowing SectionModel::FlowingAt(double w, bool above) const {
  if (w < lowest_ || (w == lowest_ && !above)) return {};
  WetZones(w, above);
  return Flowing(w);
}

const SectionFlowing& SectionModel::FlowingBelow(size_t i) const {
  if (!(tabulated_[i] & 1)) {
    WetZones(levels_[i], false);
    below_[i] = Flowing(levels_[i]);
    tabulated_[i] |= 1;
  }
  return below_[i];
}

const SectionFlowing& SectionModel::FlowingAbove(size_t i) const {
  if (!(tabulated_[i] & 2)) {
    WetZones(levels_[i], true);
    above_[i] = Flowing(levels_[i]);
    tabulated_[i] |= 2;
  }
  return above_[i];
}

FlowingBounds SectionModel::BoundsBetween(double lo, double hi) const {
  auto wet = [this](BoundsEnd& end, double w) {
    WetZones(w, true);
    end.zones = zones_;
    end.at = w;
    end.known = true;
  };
  if (!(boundsLow_.known && boundsLow_.at == lo)) {
    if (boundsHigh_.known && boundsHigh_.at == lo)
      std::swap(boundsLow_, boundsHigh_);
    else
      wet(boundsLow_, lo);
  }
  if (!(boundsHigh_.known && boundsHigh_.at == hi)) wet(boundsHigh_, hi);
  // Unchecked arithmetic: an overflow makes a bound infinite or NaN, which skips nothing.
  const double infinity = std::numeric_limits<double>::infinity();
  const bool oneVelocity =
      method_ == CompositeMethod::Horton || method_ == CompositeMethod::Pavlovskii;
  double a0 = 0, p0 = 0, t0 = 0, a1 = 0, p1 = 0, t1 = 0;
  double kLow = 0, kHigh = 0;    // Σ K_i
  double s3Low = 0, s3High = 0;  // Σ K_i³/A_i² = Σ A_i·R_i²/n_i³
  double npLow = 0, npHigh = 0;  // Σ P_i·n_i^p
  for (size_t j = 0; j < zones_.size(); ++j) {
    const ZoneFlow& l = boundsLow_.zones[j];
    const ZoneFlow& h = boundsHigh_.zones[j];
    a0 += l.area, p0 += l.perimeter, t0 += l.topWidth;
    a1 += h.area, p1 += h.perimeter, t1 += h.topWidth;
    if (oneVelocity) {
      npLow += l.perimeter * nPower_[j];
      npHigh += h.perimeter * nPower_[j];
      continue;
    }
    if (!(h.area > 0)) continue;
    // A zone's hydraulic radius never exceeds its depth, A ≤ T·y ≤ P·y: a bound even where
    // the zone only starts to wet.
    const double n = section_.n[j];
    const double rLow = l.area > 0 ? l.area / h.perimeter : 0;
    double rHigh = hi - knots_[j].front().level;
    if (l.perimeter > 0) rHigh = std::min(rHigh, h.area / l.perimeter);
    kLow += l.area * RoughCubeRoot(rLow * rLow) / n;
    kHigh += h.area * RoughCubeRoot(rHigh * rHigh) / n;
    s3Low += l.area * rLow * rLow / (n * n * n);
    s3High += h.area * rHigh * rHigh / (n * n * n);
  }
  const double depth = hi - lowest_;
  if (oneVelocity) {
    // n_c^p is the perimeters' mean of n_i^p, within the zones' least and greatest.
    const double meanLow = p1 > 0 ? std::max(nPowerLow_, npLow / p1) : nPowerLow_;
    const double meanHigh = p0 > 0 ? std::min(nPowerHigh_, npHigh / p0) : nPowerHigh_;
    auto root = [&](double mean) {
      return method_ == CompositeMethod::Pavlovskii ? std::sqrt(mean) : RoughCubeRoot(mean * mean);
    };
    const double rLow = a0 > 0 ? a0 / p1 : 0;
    const double rHigh = p0 > 0 ? std::min(depth, a1 / p0) : depth;
    kLow = a0 * RoughCubeRoot(rLow * rLow) / root(meanHigh);
    kHigh = a1 * RoughCubeRoot(rHigh * rHigh) / root(meanLow);
  }
  // Room for the rough roots, and for the rounding of the sums.
  kLow *= 1 - 4 * kRoughRoot;
  kHigh *= 1 + 4 * kRoughRoot;
  // α = Σ(K_i³/A_i²)·A²/K³, never below 1; 1 for all but the conveyance method.
  double alphaLow = 1, alphaHigh = 1;
  if (method_ == CompositeMethod::Conveyance) {
    if (kHigh > 0) alphaLow = std::max(1.0, s3Low * a0 * a0 / (kHigh * kHigh * kHigh));
    alphaHigh = kLow > 0 ? s3High * a1 * a1 / (kLow * kLow * kLow) : infinity;
  }
  FlowingBounds b;
  b.conveyanceLow = kLow;
  b.conveyanceHigh = kHigh;
  // Qc² = g·A³/(α·T), and A ≤ T·y.
  if (a0 > 0) b.criticalLow = std::sqrt(kGravity * a0 * a0 * a0 / (alphaHigh * t1));
  b.criticalHigh =
      std::sqrt(kGravity * a1 * a1 * std::min(depth, t0 > 0 ? a1 / t0 : infinity) / alphaLow);
  return b;
}

SectionFlowing SectionModel::Flowing(double w) const {
  SectionFlowing f;
  SectionState s;
  Combine(w, s, true, false);
  f.conveyance = s.conveyance;
  f.conveyanceRate = s.conveyanceRate;
  if (s.area > 0 && s.topWidth > 0) {
    // Flow is critical where α·Q²·T/(g·A³) = 1, α taken at the surface as it stands.
    f.critical = Sqrt(kGravity * s.area * s.area * s.area / (s.alpha * s.topWidth));
    f.criticalRate =
        Checked(f.critical / 2 *
                (3 * s.topWidth / s.area - s.alphaRate / s.alpha - s.topWidthRate / s.topWidth));
  }
  return f;
}

}  // namespace rivulet
