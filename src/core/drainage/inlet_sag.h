// Inlets in a sag: every drop reaching the low point must pass the inlet, which acts as a
// weir at shallow depth and as an orifice deeper, with a transition between. The capacity at
// a ponding depth and the ponding depth for a flow are the two uses of one capacity curve.
#pragma once

#include "core/drainage/inlet.h"
#include "core/drainage/inlet_equations.h"

namespace rivulet {

/// Stopping rule of the depth search: the bracket is within this fraction of the depth.
inline constexpr double kSagDepthTolerance = 1e-12;
/// Evaluations allowed to the depth search.
inline constexpr int kSagSearchCap = 400;
/// No ponding at an inlet comes near this (m); a search past it has no answer.
inline constexpr double kSagDepthLimit = 100;

/// A sag inlet's geometry as the weir and orifice equations take it, clogging applied.
struct SagInlet {
  InletType type = InletType::Grate;
  GutterBed bed;               ///< the road bed at the inlet (local depression not included)
  double grateLength = 0;      ///< m
  double grateWidth = 0;       ///< as drawn, m; the average depth is taken over it
  double grateOpenWidth = 0;   ///< width left open by clogging from the kerb, m
  double openingRatio = 0;     ///< clear area over gross area
  double curbLength = 0;       ///< effective curb-opening or slot length, m
  double openingHeight = 0;    ///< h, m
  double depression = 0;       ///< a below the pavement plane at the kerb, m
  double depressionWidth = 0;  ///< W of that depression, m; 0 when not depressed
  ThroatType throat = ThroatType::Horizontal;
  double throatAngle = 0;  ///< degrees
  double slotWidth = 0;    ///< m
};

/// The inlet's geometry from the inputs, clogging applied as the worksheet states.
SagInlet SagInletOf(const InletInputs& in);

/// What the inlet takes at one ponding depth.
struct SagPoint {
  double capacity = 0;  ///< m³/s
  SagRegime regime = SagRegime::Weir;
};

/// Capacity at depth at the kerb di (m): the weir, orifice or transition value by the
/// manual's rules, then never more than at any greater depth (the conservative envelope).
SagPoint SagCapacity(const SagInlet& inlet, double gravity, double di);

struct SagDepthSearch {
  double depth = 0;  ///< m
  int evaluations = 0;
  bool converged = false;
};

/// The smallest depth at the kerb (m) at which the capacity reaches q (m³/s), by bisection
/// on the non-decreasing capacity curve.
SagDepthSearch SagDepthForFlow(const SagInlet& inlet, double gravity, double q);

}  // namespace rivulet
