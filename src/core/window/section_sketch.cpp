#include "core/window/section_sketch.h"

#include <algorithm>
#include <cmath>

#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Points along a pipe's arc: enough that the polygon's area is the circle's to 0.05%.
constexpr int kArcPoints = 180;
// Open channels are drawn a quarter deeper than the highest level they show.
constexpr double kFreeboard = 1.25;

// Where the walls of an open channel stand at height h: x of the left and right wall.
struct Walls {
  SectionKind shape;
  double b, z;
  double Left(double h) const {
    if (shape == SectionKind::Gutter) return 0;  // the kerb is vertical
    return -b / 2 - z * h;
  }
  double Right(double h) const {
    if (shape == SectionKind::Gutter) return b + z * h;
    return b / 2 + z * h;
  }
};

Walls WallsOf(const ChannelSection& s) {
  const double b = s.shape == SectionKind::Triangle ? 0 : s.width;
  const double z = s.shape == SectionKind::Rectangle ? 0 : s.side;
  return {s.shape, b, z};
}

class Sketcher {
 public:
  Sketcher(int unit, std::string unitName) : unit_(unit), unitName_(std::move(unitName)) {}

  std::string Length(const char* symbol, double metres) const {
    return std::string(symbol) + " = " + ShortNumber(ConvertLength(metres, unit_, kFromBase)) +
           " " + unitName_;
  }

  void Pipe(SectionSketch& k, const SolvedFlows& flows, const std::optional<double>& yc) const {
    const double d = flows.primary.section.diameter;
    const double r = d / 2;
    const double pi = 4 * std::atan(1.0);
    for (int i = 0; i < kArcPoints; ++i) {
      const double a = 2 * pi * i / kArcPoints;
      k.walls.push_back({r * std::sin(a), r - r * std::cos(a)});
    }
    k.closed = true;
    const double y = std::min(flows.primary.depth, d);
    // Half the wetted angle, measured from the invert.
    const double half = std::acos(std::clamp(1 - 2 * y / d, -1.0, 1.0));
    for (int i = 0; i <= kArcPoints; ++i) {
      const double a = -half + 2 * half * i / kArcPoints;
      k.water.push_back({r * std::sin(a), r - r * std::cos(a)});
    }
    auto level = [&](double depth, std::string tag, std::string legend) {
      const double w = std::sqrt(std::max(0.0, depth * (d - depth)));
      return SketchLevel{depth, -w, w, std::move(tag), std::move(legend)};
    };
    k.surface = level(y, "", "Water surface, " + Length("y", y));
    if (flows.alternate) {
      const double y2 = flows.alternate->depth;
      k.alternateSurface = level(y2, "y₂", "Alternate surface, " + Length("y₂", y2));
    }
    if (yc) k.critical = level(*yc, "yc", "Critical depth, " + Length("yc", *yc));
    k.dimensions.push_back({{-r, r}, {r, r}, SketchDimension::Side::Below, Length("D", d)});
    k.dimensions.push_back(
        {{0, 0}, {k.surface.right, y}, SketchDimension::Side::Right, Length("y", y)});
    k.minX = -r, k.maxX = r, k.minY = 0, k.maxY = d;
  }

  void Channel(SectionSketch& k, const SolvedFlows& flows, const std::optional<double>& yc) const {
    const ChannelSection& s = flows.primary.section;
    const Walls w = WallsOf(s);
    const double y = flows.primary.depth;
    const double rim = kFreeboard * std::max(y, yc.value_or(0));
    auto wallLine = [rim](const Walls& v) {
      return std::vector<SketchPoint>{
          {v.Left(rim), rim}, {v.Left(0), 0}, {v.Right(0), 0}, {v.Right(rim), rim}};
    };
    k.walls = wallLine(w);
    k.water = {{w.Left(y), y}, {w.Left(0), 0}, {w.Right(0), 0}, {w.Right(y), y}};
    k.surface = {y, w.Left(y), w.Right(y), "", "Water surface, " + Length("y", y)};
    k.minX = w.Left(rim), k.maxX = w.Right(rim), k.minY = 0, k.maxY = rim;
    if (flows.alternate) {
      const Walls a = WallsOf(flows.alternate->section);
      k.alternateWalls = wallLine(a);
      k.alternateSurface = SketchLevel{y, a.Left(y), a.Right(y), "",
                                       "Alternate side slope, 1 : " + ShortNumber(a.z)};
      k.minX = std::min(k.minX, a.Left(rim));
      k.maxX = std::max(k.maxX, a.Right(rim));
    }
    if (yc) {
      k.critical =
          SketchLevel{*yc, w.Left(*yc), w.Right(*yc), "yc", "Critical depth, " + Length("yc", *yc)};
    }
    if (w.b > 0) {
      k.dimensions.push_back(
          {{w.Left(0), 0}, {w.Right(0), 0}, SketchDimension::Side::Below, Length("b", w.b)});
    }
    k.dimensions.push_back(
        {{w.Right(0), 0}, {w.Right(y), y}, SketchDimension::Side::Right, Length("y", y)});
    k.dimensions.push_back({{w.Left(y), y},
                            {w.Right(y), y},
                            SketchDimension::Side::Above,
                            Length("T", w.Right(y) - w.Left(y))});
    if (w.z > 0) {
      k.slopeLabel = "1 : " + ShortNumber(w.z);
      k.slopeAnchor = {w.Right(rim / 2), rim / 2};
    }
  }

 private:
  int unit_;
  std::string unitName_;
};

}  // namespace

SectionSketch SketchFlows(const SolvedFlows& flows, const std::optional<double>& criticalDepth,
                          int lengthUnit, const std::string& unitName) {
  SectionSketch sketch;
  const Sketcher sketcher(lengthUnit, unitName);
  if (flows.primary.section.shape == SectionKind::Pipe) {
    sketcher.Pipe(sketch, flows, criticalDepth);
  } else {
    sketcher.Channel(sketch, flows, criticalDepth);
  }
  return sketch;
}

std::optional<SectionSketch> SketchOf(const frmRivulet& form) {
  const ResultsState state = form.Results();
  if (!form.LastSolve() || (state != ResultsState::Current && state != ResultsState::Modified))
    return std::nullopt;
  const SolvedFlows flows = FlowsOf(*form.LastSolve());
  const auto details = ComputeFlowDetails(flows.primary);
  if (!details) return std::nullopt;
  std::optional<double> yc;
  if (details->critical.state == CriticalState::Found) yc = details->critical.depth;
  return SketchFlows(flows, yc, form.cboDepth.ListIndex(), form.cboDepth.Text());
}

}  // namespace rivulet
