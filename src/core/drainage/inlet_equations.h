// The elementary inlet equations, each a plain function of numbers in SI base units (m,
// m/s, m³/s). The constants of the chosen unit system come in an InletConstants, already
// carried into metres, so the same function serves the SI and the US form.
#pragma once

#include "core/drainage/gutter_geometry.h"
#include "core/drainage/inlet_constants.h"

namespace rivulet {

/// The unit-bearing constants of one published form, for lengths in m and times in s.
struct InletConstants {
  double frontalKu = 0;     ///< Eq. 7.5, per m/s
  double sideKu = 0;        ///< Eq. 7.6
  double curbLengthKu = 0;  ///< Eqs. 7.10, 7.12
  double gravity = 0;       ///< m/s²
};

/// The SI constants as printed, or the US ones carried exactly into metres.
InletConstants InletConstantsFor(GutterConstant constant);

/// Splash-over velocity Vo (m/s) of a grate of length (m) by its fitted cubic.
double SplashOverVelocity(GrateType grate, double length);

/// Rf = 1 − Ku·(V − Vo), held within 0 to 1 (Eq. 7.5); v and vo in m/s.
double FrontalFlowEfficiency(double ku, double v, double vo);

/// Rs = 1/(1 + Ku·V^1.8/(Sx·L^2.3)) (Eq. 7.6); v in m/s, sx in m/m, length in m.
double SideFlowEfficiency(double ku, double v, double sx, double length);

/// Se = Sx + (a/W)·Eo (Eq. 7.11); sx in m/m, depression a and width w in m.
double EquivalentCrossSlope(double sx, double depression, double width, double eo);

/// LT = Ku·Q^0.42·SL^0.3·(1/(n·S))^0.6 (Eqs. 7.10, 7.12), m; q in m³/s, slopes in m/m.
double CurbOpeningLengthForTotal(double ku, double q, double longitudinalSlope, double manningsN,
                                 double crossSlope);

/// E = 1 − (1 − L/LT)^1.8 for L < LT, else 1 (Eq. 7.13); lengths in m.
double CurbOpeningEfficiency(double length, double lengthForTotal);

/// Weir flow Cw·(2g)^½·P·d^1.5 (m³/s) over a crest of length p (m) at head d (m); 0 for d ≤ 0.
double WeirFlow(double cw, double gravity, double p, double d);

/// Orifice flow Co·A·(2g·d)^½ (m³/s) through area a (m²) at head d (m); 0 for d ≤ 0.
double OrificeFlow(double co, double gravity, double a, double d);

/// The road bed at the inlet: how far it falls below the kerb's bed edge at offset x (m)
/// from the kerb, for a uniform gutter (sw = sx) or a composite one (pan of width w).
struct GutterBed {
  double sx = 0;  ///< pavement cross slope, m/m
  double sw = 0;  ///< pan cross slope, m/m (= sx without a pan)
  double w = 0;   ///< pan width, m (0 without a pan)
  /// Drop of the bed (m) from the kerb out to offset x (m).
  double Drop(double x) const;
  /// Water area (m²) between the kerb and offset x (m) at depth d at the kerb (m).
  double AreaWithin(double x, double d) const;
  /// Spread (m) of water of depth d at the kerb (m).
  double SpreadAtDepth(double d) const;
};

}  // namespace rivulet
