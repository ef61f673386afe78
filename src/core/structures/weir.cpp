#include "core/structures/weir.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/hydraulics/checked_math.h"
#include "core/shell/number_text.h"
#include "core/structures/structure_error.h"
#include "core/structures/structure_search.h"
#include "core/structures/table_lookup.h"

namespace rivulet {
namespace {

const double kRoot2g = std::sqrt(2 * kWeirGravity);
// √(2g) in feet: divides a US coefficient in ft^½/s into its dimensionless form, so that
// the SI discharge is the US coefficient times √0.3048 exactly.
const double kRoot2gFeet = std::sqrt(2 * kWeirGravity / kFootInMetres);

// Kindsvater-Carter Ce = c1 (h/P) + c2 in ft^½/s against L/B (Water Measurement Manual
// Eq. 7-2, as tabulated in the storm water model's hydraulics manual, Table 6-2).
constexpr CurvePoint kKcC1[] = {{0.2, -0.0087}, {0.4, 0.0317}, {0.5, 0.0612}, {0.6, 0.0995},
                                {0.7, 0.1602},  {0.8, 0.2376}, {0.9, 0.3447}, {1.0, 0.4000}};
constexpr CurvePoint kKcC2[] = {{0.2, 3.152}, {0.4, 3.164}, {0.5, 3.173}, {0.6, 3.178},
                                {0.7, 3.182}, {0.8, 3.189}, {0.9, 3.205}, {1.0, 3.220}};
// Head correction kh = 0.003 ft; crest correction kb = -0.001 m for a full-width crest,
// the only value of its curve in figures (Blevins), 0 for contracted crests.
constexpr double kKcHeadCorrection = 0.003 * kFootInMetres;
constexpr double kKcFullWidthCorrection = -0.001;

// Kindsvater-Shen: the fitted Ce(θ) and kh(θ) hold for 25°–100°.
constexpr double kNotchLeast = 25;
constexpr double kNotchMost = 100;

// Cipolletti: Q = 3.367 L h^1.5 in feet (Water Measurement Manual Eq. 7-7).
constexpr double kCipollettiUs = 3.367;
// The simple rectangular form's Cw when none is given (road-drainage manual Eq. 10.32).
constexpr double kSimpleCw = 0.37;

// Broad-crested C (ft^½/s) against head (ft, rows) and crest breadth (ft, columns), Brater
// and King's table.
constexpr double kBroadHeads[] = {0.2, 0.4, 0.6, 0.8, 1.0, 1.2, 1.4, 1.6, 1.8,
                                  2.0, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0, 5.5};
constexpr double kBroadBreadths[] = {0.5, 0.75, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 10, 15};
constexpr double kBroadC[] = {
    2.80, 2.75, 2.69, 2.62, 2.54, 2.48, 2.44, 2.38, 2.34, 2.49, 2.68,  // 0.2
    2.92, 2.80, 2.72, 2.64, 2.61, 2.60, 2.58, 2.54, 2.50, 2.56, 2.70,  // 0.4
    3.08, 2.89, 2.75, 2.64, 2.61, 2.60, 2.68, 2.69, 2.70, 2.70, 2.70,  // 0.6
    3.30, 3.04, 2.85, 2.68, 2.60, 2.60, 2.67, 2.68, 2.68, 2.69, 2.64,  // 0.8
    3.32, 3.14, 2.98, 2.75, 2.66, 2.64, 2.65, 2.67, 2.68, 2.68, 2.63,  // 1.0
    3.32, 3.20, 3.08, 2.86, 2.70, 2.65, 2.64, 2.67, 2.66, 2.69, 2.64,  // 1.2
    3.32, 3.26, 3.20, 2.92, 2.77, 2.68, 2.64, 2.65, 2.65, 2.67, 2.64,  // 1.4
    3.32, 3.29, 3.28, 3.07, 2.89, 2.75, 2.68, 2.66, 2.65, 2.64, 2.63,  // 1.6
    3.32, 3.31, 3.31, 3.07, 2.88, 2.74, 2.68, 2.66, 2.65, 2.64, 2.63,  // 1.8
    3.32, 3.30, 3.30, 3.03, 2.85, 2.76, 2.72, 2.68, 2.65, 2.64, 2.63,  // 2.0
    3.32, 3.31, 3.31, 3.28, 3.07, 2.89, 2.81, 2.72, 2.67, 2.64, 2.63,  // 2.5
    3.32, 3.32, 3.32, 3.32, 3.20, 3.05, 2.92, 2.73, 2.66, 2.64, 2.63,  // 3.0
    3.32, 3.32, 3.32, 3.32, 3.32, 3.19, 2.97, 2.76, 2.68, 2.64, 2.63,  // 3.5
    3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.07, 2.79, 2.70, 2.64, 2.63,  // 4.0
    3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 2.88, 2.74, 2.64, 2.63,  // 4.5
    3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.07, 2.79, 2.64, 2.63,  // 5.0
    3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 3.32, 2.88, 2.64, 2.63,  // 5.5
};

// Roadway overtopping (FHWA/RD-86/108 Fig. 10 as digitised for the storm water model):
// Cr (ft^½/s) against the head (ft) while HWr/Lr <= 0.15, against HWr/Lr above it; and
// the submergence factor kt against ht/HWr.
constexpr double kRoadRatioLimit = 0.15;
constexpr CurvePoint kPavedLow[] = {{0.0, 2.85}, {0.2, 2.95}, {0.7, 3.03}, {4.0, 3.05}};
constexpr CurvePoint kGravelLow[] = {{0.0, 2.50}, {0.5, 2.70}, {1.0, 2.80}, {1.5, 2.90},
                                     {2.0, 2.98}, {2.5, 3.02}, {3.0, 3.03}, {4.0, 3.05}};
constexpr CurvePoint kPavedHigh[] = {{0.15, 3.05}, {0.25, 3.10}};
constexpr CurvePoint kGravelHigh[] = {{0.15, 2.95}, {0.30, 3.10}};
constexpr CurvePoint kPavedKt[] = {{0.80, 1.00}, {0.85, 0.98}, {0.90, 0.92},
                                   {0.93, 0.85}, {0.95, 0.80}, {0.97, 0.70},
                                   {0.98, 0.60}, {0.99, 0.50}, {1.00, 0.40}};
constexpr CurvePoint kGravelKt[] = {{0.75, 1.00}, {0.80, 0.985}, {0.83, 0.97}, {0.86, 0.93},
                                    {0.89, 0.90}, {0.90, 0.87},  {0.92, 0.80}, {0.94, 0.70},
                                    {0.96, 0.60}, {0.98, 0.50},  {0.99, 0.40}, {1.00, 0.24}};

// Villemonte's submergence exponent and power.
constexpr double kVillemontePower = 0.385;

std::string Ratio(double v) { return FormatNumber(std::round(v * 1000) / 1000); }

[[noreturn]] void Refuse(const char* field, const std::string& message) {
  throw StructureInputError(field, message);
}

void RequirePositive(const std::optional<double>& v, const char* field, const char* label) {
  if (v && !(*v > 0))
    Refuse(field, std::string(label) + " (" + field + ") must be greater than 0.");
}

double HeadPower(const Weir& w) { return w.type == WeirType::VNotch ? 2.5 : 1.5; }

// Free flow at head h; the effective crest may vanish (the simple form with contractions),
// which gives no flow here and a refusal in WeirDischarge.
WeirFlow FreeFlow(const Weir& w, double h) {
  WeirFlow f;
  f.effectiveHead = h;
  f.effectiveLength = w.crestLength;
  const auto warn = [&f](std::string text) { f.warnings.push_back(std::move(text)); };
  switch (w.type) {
    case WeirType::Rectangular:
      if (w.method == WeirMethod::Simple) {
        f.coefficient = w.weirCoefficient.value_or(kSimpleCw);
        f.effectiveLength = w.crestLength - 0.1 * w.endContractions * h;
        if (w.endContractions > 0 && h > w.crestLength / 3)
          warn(
              "The head is more than a third of the crest length: the end contraction "
              "correction L - 0.1 n h is no longer reliable.");
        if (*f.effectiveLength <= 0 || h == 0) return f;
        f.discharge = f.coefficient * kRoot2g * *f.effectiveLength * Pow(h, 1.5);
      } else {
        const double ratio = w.crestLength / *w.channelWidth;
        const double hp = h / *w.crestHeight;
        const TableReading c1 = ReadCurve(kKcC1, ratio);
        const TableReading c2 = ReadCurve(kKcC2, ratio);
        f.coefficient =
            w.weirCoefficient.value_or((c1.value * hp + c2.value) / (2.0 / 3.0 * kRoot2gFeet));
        f.effectiveLength = w.crestLength + (ratio > 1 - 1e-9 ? kKcFullWidthCorrection : 0.0);
        f.effectiveHead = h + kKcHeadCorrection;
        if (!w.weirCoefficient) {
          if (hp > 2)
            warn("h/P = " + Ratio(hp) +
                 " is above 2, the range of the Kindsvater-Carter "
                 "coefficients; Ce follows its straight line beyond it.");
          if (c1.held)
            warn("L/B = " + Ratio(ratio) +
                 " is below 0.2, the least ratio tabulated; the "
                 "coefficients of L/B = 0.2 are used.");
        }
        if (h > 0 && h < 0.03)
          warn(
              "The head is below 0.03 m (0.1 ft), the least the Kindsvater-Carter method holds "
              "for.");
        if (w.crestLength < 0.15)
          warn(
              "The crest is shorter than 0.15 m (0.5 ft), the least the Kindsvater-Carter method "
              "holds for.");
        if (*w.crestHeight < 0.1)
          warn(
              "The crest height P is below 0.1 m (0.33 ft), the least the Kindsvater-Carter "
              "method holds for.");
        if (h == 0 || *f.effectiveLength <= 0) return f;
        f.discharge =
            2.0 / 3.0 * f.coefficient * kRoot2g * *f.effectiveLength * Pow(f.effectiveHead, 1.5);
      }
      return f;
    case WeirType::VNotch: {
      f.effectiveLength.reset();
      const double held = std::clamp(w.notchAngle, kNotchLeast, kNotchMost);
      if (held != w.notchAngle)
        warn("The notch angle of " + Ratio(w.notchAngle) +
             " degrees is outside 25-100 degrees, "
             "the range of the Kindsvater-Shen coefficients; Ce and kh of " +
             Ratio(held) + " degrees are used.");
      const double ce = 0.607165052 - 0.000874466963 * held + 6.10393334e-6 * held * held;
      const double khFeet = 0.0144902648 - 0.00033955535 * held + 3.29819003e-6 * held * held -
                            1.06215442e-8 * held * held * held;
      f.coefficient = w.weirCoefficient.value_or(ce);
      f.effectiveHead = h + khFeet * kFootInMetres;
      if (h > 0 && h < 0.06)
        warn("The head is below 0.06 m (0.2 ft), the least a V-notch is rated for.");
      if (h == 0) return f;
      const double slope = std::tan(w.notchAngle * std::numbers::pi / 360);
      f.discharge = 8.0 / 15.0 * f.coefficient * kRoot2g * slope * Pow(f.effectiveHead, 2.5);
      return f;
    }
    case WeirType::Cipolletti:
      f.coefficient = w.weirCoefficient.value_or(kCipollettiUs / (2.0 / 3.0 * kRoot2gFeet));
      if (h > w.crestLength / 3)
        warn(
            "The head is more than a third of the crest length, beyond the conditions the "
            "Cipolletti coefficient was found under.");
      f.discharge = 2.0 / 3.0 * f.coefficient * kRoot2g * w.crestLength * Pow(h, 1.5);
      return f;
    case WeirType::BroadCrested: {
      const TableReading c = ReadGrid(kBroadHeads, kBroadBreadths, kBroadC, h / kFootInMetres,
                                      *w.crestBreadth / kFootInMetres);
      f.coefficient = w.weirCoefficient.value_or(c.value / kRoot2gFeet);
      if (c.held && !w.weirCoefficient && h > 0)
        warn(
            "The head (0.2-5.5 ft, 0.061-1.68 m) or the crest breadth (0.5-15 ft, "
            "0.15-4.57 m) lies outside the broad-crested coefficient table; the coefficient "
            "at its edge is used.");
      f.discharge = f.coefficient * kRoot2g * w.crestLength * Pow(h, 1.5);
      return f;
    }
    case WeirType::Roadway: {
      const bool paved = w.surface == RoadwaySurface::Paved;
      const double ratio = h / *w.crestBreadth;
      const TableReading cr =
          ratio <= kRoadRatioLimit
              ? ReadCurve(paved ? std::span<const CurvePoint>(kPavedLow) : kGravelLow,
                          h / kFootInMetres)
              : ReadCurve(paved ? std::span<const CurvePoint>(kPavedHigh) : kGravelHigh, ratio);
      f.coefficient = w.weirCoefficient.value_or(cr.value / kRoot2gFeet);
      if (cr.held && !w.weirCoefficient)
        warn(ratio <= kRoadRatioLimit
                 ? "The head is above 4 ft (1.22 m), the end of the roadway coefficient curve; "
                   "its last value is used."
                 : "HWr/Lr = " + Ratio(ratio) +
                       " is beyond the roadway coefficient curve; its "
                       "last value is used.");
      f.discharge = f.coefficient * kRoot2g * w.crestLength * Pow(h, 1.5);
      return f;
    }
  }
  return f;
}

// The flow with the tailwater's effect; the tailwater at the head gives no flow.
WeirFlow Flow(const Weir& w, double h, std::optional<double> tw) {
  WeirFlow f = FreeFlow(w, h);
  if (!tw || *tw <= 0) return f;
  const double ratio = std::min(*tw / h, 1.0);
  if (w.type == WeirType::Roadway) {
    f.submergenceFactor =
        ReadCurve(
            w.surface == RoadwaySurface::Paved ? std::span<const CurvePoint>(kPavedKt) : kGravelKt,
            ratio)
            .value;
  } else {
    f.submergenceFactor = std::pow(1 - std::pow(ratio, HeadPower(w)), kVillemontePower);
  }
  if (ratio >= 1) f.submergenceFactor = 0;
  f.submerged = f.submergenceFactor < 1;
  f.discharge *= f.submergenceFactor;
  return f;
}

}  // namespace

void CheckWeir(const Weir& w) {
  if (w.type == WeirType::VNotch) {
    if (!(w.notchAngle > 0 && w.notchAngle < 180))
      Refuse("notchAngle", "Notch angle (notchAngle) must lie between 0 and 180 degrees.");
  } else {
    RequirePositive(w.crestLength, "crestLength", "Crest length");
  }
  RequirePositive(w.crestHeight, "crestHeight", "Crest height");
  RequirePositive(w.channelWidth, "channelWidth", "Channel width");
  RequirePositive(w.crestBreadth, "crestBreadth", "Crest breadth");
  RequirePositive(w.weirCoefficient, "weirCoefficient", "Weir coefficient");
  const bool kc = w.type == WeirType::Rectangular && w.method == WeirMethod::KindsvaterCarter;
  if (kc && !w.crestHeight)
    Refuse("crestHeight",
           "Crest height (crestHeight) is required by the Kindsvater-Carter method.");
  if (kc && !w.channelWidth)
    Refuse("channelWidth",
           "Channel width (channelWidth) is required by the Kindsvater-Carter method.");
  if ((w.type == WeirType::BroadCrested || w.type == WeirType::Roadway) && !w.crestBreadth)
    Refuse("crestBreadth", "Crest breadth (crestBreadth) is required.");
  if (w.type != WeirType::VNotch && w.type != WeirType::Roadway && w.channelWidth &&
      w.crestLength > *w.channelWidth)
    Refuse("crestLength",
           "Crest length (crestLength) must not exceed the channel width (channelWidth).");
  if (w.endContractions < 0 || w.endContractions > 2)
    Refuse("endContractions", "End contractions (endContractions) must be 0, 1 or 2.");
}

WeirFlow WeirDischarge(const Weir& w, double head, std::optional<double> tw) {
  if (!(head >= 0)) Refuse("head", "Head (head) must not be below 0.");
  if (tw && *tw > 0 && *tw >= head)
    Refuse("tailwaterHead", "Tailwater head (tailwaterHead) must be below the head.");
  WeirFlow f = Flow(w, head, tw);
  if (f.effectiveLength && *f.effectiveLength <= 0)
    Refuse("head", w.type == WeirType::Rectangular && w.method == WeirMethod::Simple
                       ? "Head (head): the end contractions leave no effective crest (L - 0.1 n h "
                         "is not above 0)."
                       : "Crest length (crestLength) leaves no effective crest.");
  return f;
}

WeirFlow RoadwayOvertopping(RoadwaySurface surface, double crestLength, double roadWidth,
                            double head, std::optional<double> tw) {
  Weir w;
  w.type = WeirType::Roadway;
  w.surface = surface;
  w.crestLength = crestLength;
  w.crestBreadth = roadWidth;
  CheckWeir(w);
  return WeirDischarge(w, head, tw);
}

WeirResults SolveWeir(const WeirInputs& in) {
  Weir checked = in.weir;
  // The crest length sought is not there to check; any length the channel takes stands in.
  if (in.solveFor == WeirUnknown::CrestLength && checked.type != WeirType::VNotch)
    checked.crestLength = checked.channelWidth.value_or(1.0);
  CheckWeir(checked);
  WeirResults r;
  Weir w = in.weir;
  const std::optional<double> tw = in.tailwaterHead;
  const double least = tw ? std::max(*tw, 0.0) : 0.0;
  switch (in.solveFor) {
    case WeirUnknown::Discharge:
      r.head = in.head;
      break;
    case WeirUnknown::Head: {
      if (!(in.discharge >= 0)) Refuse("discharge", "Discharge (discharge) must not be below 0.");
      // The simple form with end contractions carries most at h = 6L/n, where the shrinking
      // crest outweighs the rising head.
      std::optional<double> cap;
      if (w.type == WeirType::Rectangular && w.method == WeirMethod::Simple &&
          w.endContractions > 0)
        cap = 6 * w.crestLength / w.endContractions;
      const RisingSolve s = in.discharge == 0
                                ? RisingSolve{least, 0, true}
                                : SolveRising([&](double h) { return Flow(w, h, tw).discharge; },
                                              in.discharge, least, cap);
      if (!s.found)
        Refuse("discharge", "No head over this weir carries the discharge (discharge).");
      r.head = s.value;
      r.evaluations = s.evaluations;
      break;
    }
    case WeirUnknown::CrestLength: {
      if (w.type == WeirType::VNotch)
        Refuse("solveFor", "A V-notch has no crest length to solve for (solveFor).");
      if (!(in.discharge >= 0)) Refuse("discharge", "Discharge (discharge) must not be below 0.");
      r.head = in.head;
      if (!(in.head > 0)) Refuse("head", "Head (head) must be greater than 0.");
      if (tw && *tw >= in.head)
        Refuse("tailwaterHead", "Tailwater head (tailwaterHead) must be below the head.");
      const double lo = w.type == WeirType::Rectangular && w.method == WeirMethod::Simple
                            ? 0.1 * w.endContractions * in.head
                            : 0.0;
      std::optional<double> cap;
      if (w.type != WeirType::Roadway && w.channelWidth) cap = *w.channelWidth;
      const auto flow = [&](double length) {
        Weir trial = w;
        trial.crestLength = length;
        return length > 0 ? Flow(trial, in.head, tw).discharge : 0.0;
      };
      const RisingSolve s = SolveRising(flow, in.discharge, lo, cap);
      if (!s.found)
        Refuse("discharge", cap ? "No crest as wide as the channel (channelWidth) carries the "
                                  "discharge (discharge)."
                                : "No crest length carries the discharge (discharge).");
      w.crestLength = s.value;
      if (!(w.crestLength > 0))
        Refuse("discharge", "Discharge (discharge) must be greater than 0 to find a crest.");
      r.evaluations = s.evaluations;
      break;
    }
  }
  r.crestLength = w.crestLength;
  r.flow = WeirDischarge(w, r.head, tw);
  r.discharge = in.solveFor == WeirUnknown::Discharge ? r.flow.discharge : in.discharge;
  if (w.channelWidth && w.crestHeight && w.type != WeirType::Roadway)
    r.approachVelocity = r.discharge / (*w.channelWidth * (*w.crestHeight + r.head));
  if (w.type != WeirType::VNotch) r.dischargePerLength = r.discharge / w.crestLength;
  return r;
}

}  // namespace rivulet
