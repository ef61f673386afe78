#include "core/structures/orifice.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "core/hydraulics/checked_math.h"
#include "core/structures/structure_error.h"
#include "core/structures/structure_search.h"
#include "core/structures/weir.h"

namespace rivulet {
namespace {

// Sharp-edged orifices, Cd against the head in feet (Hamilton Smith's experiments): the
// circle, the square, and rectangles 4:1 and 16:1 with their long sides vertical or
// horizontal.
constexpr double kSmithHeads[] = {1, 2, 4, 6, 10, 20};
constexpr double kSmithCircle[] = {.620, .613, .608, .607, .605, .603};
constexpr double kSmithSquare[] = {.627, .620, .616, .614, .612, .609};
constexpr double kSmith4Upright[] = {.642, .634, .628, .626, .622, .620};
constexpr double kSmith4Flat[] = {.643, .636, .629, .627, .624, .621};
constexpr double kSmith16Upright[] = {.663, .650, .641, .637, .632, .629};
constexpr double kSmith16Flat[] = {.664, .651, .642, .637, .633, .628};

constexpr double kVillemontePower = 0.385;

[[noreturn]] void Refuse(const char* field, const std::string& message) {
  throw StructureInputError(field, message);
}

double Area(const Orifice& o) {
  return o.shape == OrificeShape::Circular ? std::numbers::pi / 4 * o.diameter * o.diameter
                                           : o.width * o.height;
}

double ColumnAt(std::span<const double> column, double headFeet) {
  const std::span<const double> heads(kSmithHeads);
  const double x = std::clamp(headFeet, heads.front(), heads.back());
  std::size_t i = 0;
  while (i + 2 < heads.size() && heads[i + 1] < x) ++i;
  return column[i] + (column[i + 1] - column[i]) * (x - heads[i]) / (heads[i + 1] - heads[i]);
}

// A sharp edge's Cd at a head (m); rectangles between the tabulated proportions by the
// logarithm of their proportion, which spaces 1, 4 and 16 evenly.
double SharpCoefficient(const Orifice& o, double head, std::vector<std::string>& warnings) {
  const double feet = head / kFootInMetres;
  if (feet < kSmithHeads[0] || feet > kSmithHeads[5])
    warnings.push_back(
        "The head is outside 1-20 ft (0.30-6.1 m), the range of the sharp-edged orifice "
        "coefficients; the value at its end is used.");
  if (o.shape == OrificeShape::Circular) return ColumnAt(kSmithCircle, feet);
  const bool upright = o.height > o.width;
  const double proportion = std::max(o.width, o.height) / std::min(o.width, o.height);
  if (proportion > 16)
    warnings.push_back(
        "The opening is more than 16 times as long as it is wide; the "
        "coefficients of 16:1 are used.");
  const double step = std::min(std::log(proportion) / std::log(4.0), 2.0);
  const double square = ColumnAt(kSmithSquare, feet);
  const double four = ColumnAt(upright ? kSmith4Upright : kSmith4Flat, feet);
  const double sixteen = ColumnAt(upright ? kSmith16Upright : kSmith16Flat, feet);
  return step <= 1 ? square + (four - square) * step : four + (sixteen - four) * (step - 1);
}

double Coefficient(const Orifice& o, double head, std::vector<std::string>& warnings) {
  if (o.dischargeCoefficient) return *o.dischargeCoefficient;
  switch (o.edge) {
    case OrificeEdge::Sharp:
      return SharpCoefficient(o, head, warnings);
    case OrificeEdge::Ragged:
      return kRaggedCd;
    case OrificeEdge::SquareEdged:
    case OrificeEdge::Rounded:
      break;
  }
  return kSquareEdgedCd;
}

}  // namespace

double OrificeHeight(const Orifice& o) {
  return o.shape == OrificeShape::Circular ? o.diameter : o.height;
}

void CheckOrifice(const Orifice& o) {
  if (o.shape == OrificeShape::Circular) {
    if (!(o.diameter > 0)) Refuse("diameter", "Diameter (diameter) must be greater than 0.");
  } else {
    if (!(o.width > 0)) Refuse("width", "Width (width) must be greater than 0.");
    if (!(o.height > 0)) Refuse("height", "Height (height) must be greater than 0.");
  }
  if (o.dischargeCoefficient && !(*o.dischargeCoefficient > 0 && *o.dischargeCoefficient <= 1))
    Refuse("dischargeCoefficient",
           "Discharge coefficient (dischargeCoefficient) must be above 0 and at most 1.");
  if (o.edge == OrificeEdge::Rounded && !o.dischargeCoefficient)
    Refuse("dischargeCoefficient",
           "A rounded entrance has no default coefficient: give the discharge coefficient "
           "(dischargeCoefficient).");
}

OrificeFlow OrificeDischarge(const Orifice& o, double up, std::optional<double> down) {
  OrificeFlow f;
  f.area = Area(o);
  const double d = OrificeHeight(o);
  const double h1 = up - o.invertElevation;
  if (h1 <= 0 || (down && *down >= up)) {
    f.coefficient = Coefficient(o, d / 2, f.warnings);
    return f;
  }
  const double root2g = std::sqrt(2 * kWeirGravity);
  if (h1 < d) {
    // Below the top the opening is a weir whose law meets the orifice law at the top
    // (Q = Cd A g^½ h^1.5 / D gives Cd A (2g D/2)^½ there).
    f.regime = OrificeRegime::Weir;
    f.effectiveHead = h1;
    f.coefficient = Coefficient(o, d / 2, f.warnings);
    f.discharge = f.coefficient * f.area * std::sqrt(kWeirGravity) * Pow(h1, 1.5) / d;
    if (down && *down > o.invertElevation) {
      f.submerged = true;
      const double ratio = (*down - o.invertElevation) / h1;
      f.discharge *= std::pow(1 - std::pow(ratio, 1.5), kVillemontePower);
      // Never more than the whole opening passes at the same difference of levels, which
      // keeps the flow rising with the upstream level into the orifice law.
      f.discharge = std::min(f.discharge, f.coefficient * f.area * root2g * Sqrt(up - *down));
    }
  } else {
    f.regime = OrificeRegime::Orifice;
    const double centroid = o.invertElevation + d / 2;
    f.submerged = down && *down > centroid;
    f.effectiveHead = up - (f.submerged ? *down : centroid);
    f.coefficient = Coefficient(o, f.effectiveHead, f.warnings);
    f.discharge = f.coefficient * f.area * root2g * Sqrt(f.effectiveHead);
  }
  f.velocity = f.discharge / f.area;
  return f;
}

OrificeResults SolveOrifice(const OrificeInputs& in) {
  OrificeResults r;
  r.orifice = in.orifice;
  Orifice& o = r.orifice;
  const std::optional<double> down = in.downstreamElevation;
  if (in.solveFor == OrificeUnknown::Size) {
    // The size sought stands at 1 m for the checks of the rest.
    Orifice probe = o;
    (o.shape == OrificeShape::Circular ? probe.diameter : probe.width) = 1;
    CheckOrifice(probe);
  } else {
    CheckOrifice(o);
  }
  if (in.solveFor != OrificeUnknown::Discharge && !(in.discharge > 0))
    Refuse("discharge", "Discharge (discharge) must be greater than 0.");
  r.upstreamElevation = in.upstreamElevation;
  if (in.solveFor != OrificeUnknown::UpstreamElevation) {
    if (!(in.upstreamElevation > o.invertElevation) && in.solveFor == OrificeUnknown::Size)
      Refuse("upstreamElevation",
             "Upstream elevation (upstreamElevation) must be above the invert to pass any flow.");
    if (down && *down >= in.upstreamElevation)
      Refuse("downstreamElevation",
             "Downstream elevation (downstreamElevation) must be below the upstream elevation.");
  }
  switch (in.solveFor) {
    case OrificeUnknown::Discharge:
      break;
    case OrificeUnknown::UpstreamElevation: {
      const double least = std::max(0.0, down ? *down - o.invertElevation : 0.0);
      const RisingSolve s = SolveRising(
          [&](double rise) {
            return OrificeDischarge(o, o.invertElevation + rise, down).discharge;
          },
          in.discharge, least);
      r.upstreamElevation = o.invertElevation + s.value;
      r.evaluations = s.evaluations;
      break;
    }
    case OrificeUnknown::Size: {
      double& size = o.shape == OrificeShape::Circular ? o.diameter : o.width;
      const RisingSolve s = SolveRising(
          [&](double trial) {
            Orifice t = o;
            (t.shape == OrificeShape::Circular ? t.diameter : t.width) = trial;
            return trial > 0 ? OrificeDischarge(t, in.upstreamElevation, down).discharge : 0.0;
          },
          in.discharge, 0.0);
      if (!s.found || !(s.value > 0))
        Refuse("discharge", "No opening of this kind carries the discharge (discharge).");
      size = s.value;
      r.evaluations = s.evaluations;
      break;
    }
  }
  r.flow = OrificeDischarge(o, r.upstreamElevation, down);
  r.discharge = in.solveFor == OrificeUnknown::Discharge ? r.flow.discharge : in.discharge;
  return r;
}

}  // namespace rivulet
