// The solved section drawn to scale: its walls, the water, the alternate and critical
// levels and the measured dimensions with their values. Coordinates are metres, x across
// the section and y up from the invert; the view only maps them to pixels.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/window/flow_details_table.h"

namespace rivulet {

struct SketchPoint {
  double x = 0;
  double y = 0;
};

/// A horizontal line across the section at one depth: a short tag beside it on the
/// drawing and a legend entry with its value.
struct SketchLevel {
  double depth = 0;
  double left = 0;
  double right = 0;
  std::string tag;
  std::string legend;
};

/// A measured distance between two points of the section and the side of the drawing its
/// dimension line goes on; lines lead from the points out to it.
struct SketchDimension {
  enum class Side { Below, Above, Right };
  SketchPoint from;
  SketchPoint to;
  Side side = Side::Below;
  std::string label;
};

struct SectionSketch {
  /// The walls: an open line for a channel, the pipe's circle as a closed polygon.
  std::vector<SketchPoint> walls;
  bool closed = false;
  /// The flow area below the water surface, as a polygon.
  std::vector<SketchPoint> water;
  SketchLevel surface;
  /// The alternate solution's water surface (a pipe's other depth) and, where the
  /// alternate is another side slope, its walls.
  std::optional<SketchLevel> alternateSurface;
  std::vector<SketchPoint> alternateWalls;
  std::optional<SketchLevel> critical;
  std::vector<SketchDimension> dimensions;
  /// "1 : z" beside a sloping wall, at the wall's middle.
  std::string slopeLabel;
  SketchPoint slopeAnchor;
  /// The box every point above lies in.
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

/// The sketch of solved flows; lengths labelled in the length unit at that list position,
/// the critical level drawn where there is one.
SectionSketch SketchFlows(const SolvedFlows& flows, const std::optional<double>& criticalDepth,
                          int lengthUnit, const std::string& unitName);

/// The sketch of the sheet's last completed calculation, or nullopt without one.
std::optional<SectionSketch> SketchOf(const frmRivulet& form);

}  // namespace rivulet
