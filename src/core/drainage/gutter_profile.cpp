#include "core/drainage/gutter_profile.h"

#include <algorithm>
#include <cmath>

namespace rivulet {

namespace {

// The road beyond the spread is drawn for a quarter of the spread more, so the edge of the
// water is seen meeting the pavement.
constexpr double kRoadBeyondSpread = 0.25;
// Without a kerb height the kerb is drawn this much above the water, or 0.15 m if higher.
constexpr double kDrawnKerbOverDepth = 1.5;
constexpr double kDrawnKerbMinimum = 0.15;
// A strip of footway behind the kerb, as a share of the drawing's width.
constexpr double kFootway = 0.08;

}  // namespace

GutterProfile GutterSectionProfile(const GutterInputs& in, const GutterResults& r) {
  GutterProfile p;
  p.spread = r.spread;
  p.depthAtCurb = r.depthAtCurb;
  p.waterLevel = r.depthAtCurb;
  const double reach = r.spread * (1 + kRoadBeyondSpread);
  if (in.gutterType == GutterType::VShaped) {
    const VGutter v{in.crossSlope1, in.crossSlope2, in.crossSlope3.value_or(0),
                    in.slopeBreakWidth.value_or(0)};
    const double outer = r.depthAtCurb / v.s1;
    p.waterLeft = -outer;
    p.waterRight = r.spread - outer;
    const double margin = kRoadBeyondSpread * r.spread;
    p.left = p.waterLeft - margin;
    p.right = p.waterRight + margin;
    p.bed.push_back({p.left, -p.left * v.s1});
    p.bed.push_back({0, 0});
    if (v.HasBreak() && p.right > v.breakWidth) {
      p.bed.push_back({v.breakWidth, v.BreakDepth()});
      p.bed.push_back({p.right, v.BreakDepth() + (p.right - v.breakWidth) * v.s3});
    } else {
      p.bed.push_back({p.right, p.right * v.s2});
    }
  } else {
    p.hasKerb = true;
    p.kerbHeightGiven = in.kerbHeight.has_value();
    p.kerbHeight =
        in.kerbHeight.value_or(std::max(kDrawnKerbOverDepth * r.depthAtCurb, kDrawnKerbMinimum));
    p.waterLeft = 0;
    p.waterRight = r.spread;
    p.right = reach;
    p.left = -kFootway * reach;
    p.bed.push_back({p.left, p.kerbHeight});
    p.bed.push_back({0, p.kerbHeight});
    p.bed.push_back({0, 0});
    if (in.gutterType == GutterType::Composite) {
      const double sw = r.gutterCrossSlope.value_or(in.crossSlope);
      p.panWidth = *in.gutterWidth;
      const double panEnd = std::min(p.panWidth, p.right);
      p.bed.push_back({panEnd, panEnd * sw});
      if (p.right > panEnd)
        p.bed.push_back({p.right, panEnd * sw + (p.right - panEnd) * in.crossSlope});
    } else {
      p.bed.push_back({p.right, p.right * in.crossSlope});
    }
  }
  p.top = p.waterLevel;
  for (const ProfilePoint& pt : p.bed) p.top = std::max(p.top, pt.z);
  return p;
}

int DrawingExaggeration(double fit) {
  if (!(fit > 1)) return 1;
  int best = 1;
  for (long long decade = 1; decade <= 100000; decade *= 10)
    for (int step : {1, 2, 5})
      if (step * decade <= fit) best = static_cast<int>(step * decade);
  return best;
}

}  // namespace rivulet
