// The road edge of a solved gutter as lines to draw to scale: the bed and kerb, the water
// surface out to the spread, and the vertical exaggeration that keeps a shallow film
// visible. Offsets x across the road from the kerb face (or the V bottom), heights z above
// the lowest point of the bed; all in m.
#pragma once

#include <vector>

#include "core/drainage/gutter.h"

namespace rivulet {

struct ProfilePoint {
  double x = 0;  ///< m
  double z = 0;  ///< m
};

struct GutterProfile {
  std::vector<ProfilePoint> bed;  ///< left to right, the kerb (if any) first
  double waterLevel = 0;          ///< height of the water surface, m
  double waterLeft = 0;           ///< m; the kerb face, or the V's outer edge
  double waterRight = 0;          ///< m; the spread's edge
  bool hasKerb = false;
  double kerbHeight = 0;         ///< as drawn, m
  bool kerbHeightGiven = false;  ///< false: drawn at a height chosen to show the water
  double panWidth = 0;           ///< composite W, m; 0 when there is none
  double depthAtCurb = 0;        ///< the dimension d, m
  double spread = 0;             ///< the dimension T, m
  double left = 0, right = 0;    ///< horizontal extent of the drawing, m
  double top = 0;                ///< highest point of the drawing, m
};

/// The lines of the road edge for inputs that solved into results.
GutterProfile GutterSectionProfile(const GutterInputs& in, const GutterResults& r);

/// The vertical exaggeration for a drawing whose natural ratio of vertical to horizontal
/// scale would be `fit`: the largest of 1, 2, 5 × 10^k not above it, and at least 1.
int DrawingExaggeration(double fit);

}  // namespace rivulet
