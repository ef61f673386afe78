#include "core/window/flow_details_table.h"

#include <charconv>
#include <cmath>
#include <functional>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

constexpr int kFeet = 4;
constexpr int kInches = 3;

const char kGravityText[] = "g = 9.80665 m/s²";
const char kUnitWeightText[] = "γ = ρ·g = 1000 kg/m³ × 9.80665 m/s² = 9806.65 N/m³";

// Where each kind of figure takes its unit from, and how the sheet writes numbers.
struct Units {
  int length, velocity, discharge, slope, side;
  std::string lengthName, velocityName, dischargeName, slopeName, sideName;
  bool psf;  // shear in lb/ft² when the depth is in feet or inches
  bool fixed;
};

Units UnitsOf(const frmRivulet& f) {
  const bool velocityFirst = f.VelocityGiven();
  const ComboBox& vel = velocityFirst ? f.cboVelDis1 : f.cboVelDis2;
  const ComboBox& dis = velocityFirst ? f.cboVelDis2 : f.cboVelDis1;
  Units u{f.cboDepth.ListIndex(), vel.ListIndex(),   dis.ListIndex(), f.cboSlope.ListIndex(),
          f.cboSide.ListIndex(),  f.cboDepth.Text(), vel.Text(),      dis.Text(),
          f.cboSlope.Text(),      f.cboSide.Text(),  false,           f.mnuOptionsFix.Checked()};
  u.psf = u.length == kFeet || u.length == kInches;
  return u;
}

// One kind of figure: its unit's name and the conversion from the base unit.
struct Kind {
  std::string unit;
  std::function<double(double)> convert;
};

class TableBuilder {
 public:
  TableBuilder(const Units& units, const FlowDetails& primary, const FlowDetails* alternate,
               const SolvedFlows& flows)
      : u_(units), p_(primary), a_(alternate), flows_(flows) {
    const double pi = 4 * std::atan(1.0);
    length_ = {u_.lengthName, [this](double v) { return ConvertLength(v, u_.length, kFromBase); }};
    velocity_ = {u_.velocityName,
                 [this](double v) { return ConvertVelocity(v, u_.velocity, kFromBase); }};
    discharge_ = {u_.dischargeName,
                  [this](double v) { return ConvertDischarge(v, u_.discharge, kFromBase); }};
    slope_ = {u_.slopeName, [this](double v) { return ConvertSlope(v, u_.slope, kFromBase); }};
    side_ = {u_.sideName,
             [this, pi](double v) { return ConvertSideSlope(v, u_.side, kFromBase, pi); }};
    shear_ = {u_.psf ? "lb/ft²" : "Pa",
              [this](double v) { return u_.psf ? v / kPascalPerPsf : v; }};
    plain_ = {"", [](double v) { return v; }};
    percent_ = {"%", [](double v) { return v; }};
  }

  std::vector<DetailRow> Rows() {
    const SectionKind shape = flows_.primary.section.shape;
    Number("depth", "Depth", length_, "The flow depth above the invert.",
           [](const FlowDetails& f, const FlowState&) { return f.depth; });
    if (shape != SectionKind::Pipe && shape != SectionKind::Rectangle) {
      Number("sideSlope", "Side Slope", side_, "The side slope of this solution.",
             [](const FlowDetails&, const FlowState& s) { return s.section.side; });
    }
    Number("velocity", "Velocity", velocity_, "Mean velocity V = Q/A.",
           [](const FlowDetails& f, const FlowState&) { return f.velocity; });
    Number("discharge", "Discharge", discharge_, "Discharge Q.",
           [](const FlowDetails&, const FlowState& s) { return s.discharge; });
    Number("wettedPerimeter", "Wetted Perimeter", length_,
           "P: the length of boundary the water touches.",
           [](const FlowDetails& f, const FlowState&) { return f.wettedPerimeter; });
    Number("hydraulicRadius", "Hydraulic Radius", length_, "R = A/P.",
           [](const FlowDetails& f, const FlowState&) { return f.hydraulicRadius; });
    Number("topWidth", "Top Width", length_,
           "T: the width of the water surface (for a pipe the chord D·sin(θ/2)).",
           [](const FlowDetails& f, const FlowState&) { return f.topWidth; });
    MaybeNumber(
        "hydraulicDepth", "Hydraulic Depth", length_, "D = A/T.",
        [](const FlowDetails& f) { return f.hydraulicDepth; },
        [](const FlowDetails&) { return std::string("None: running full"); });
    Number("velocityHead", "Velocity Head", length_,
           std::string("V²/2g with ") + kGravityText + " and a velocity coefficient of 1.",
           [](const FlowDetails& f, const FlowState&) { return f.velocityHead; });
    Number("specificEnergy", "Specific Energy", length_,
           std::string("E = y + V²/2g above the invert: hydrostatic pressure, a small slope, ") +
               "a velocity coefficient of 1, " + kGravityText + ".",
           [](const FlowDetails& f, const FlowState&) { return f.specificEnergy; });
    MaybeNumber(
        "froudeNumber", "Froude Number", plain_,
        std::string("Fr = V/√(g·D), D = A/T, ") + kGravityText + ".",
        [](const FlowDetails& f) { return f.froude; },
        [](const FlowDetails&) { return std::string("None: running full"); });
    Words("regime", "Flow Regime",
          "Critical while |Fr − 1| ≤ 0.01; subcritical below, supercritical above.",
          [](const FlowDetails& f) { return std::string(RegimeName(f.regime)); });
    MaybeNumber(
        "criticalDepth", "Critical Depth", length_,
        std::string("The depth at which Q²·T/(g·A³) = 1, ") + kGravityText +
            "; found by bisection on this section's own geometry. A pipe's is sought up to "
            "the crown; one within a millionth of the diameter of it counts as none.",
        [](const FlowDetails& f) {
          return f.critical.state == CriticalState::Found ? std::optional(f.critical.depth)
                                                          : std::nullopt;
        },
        [](const FlowDetails& f) {
          return std::string(f.critical.state == CriticalState::NoFlow ? "None: no flow"
                                                                       : "None below the crown");
        });
    MaybeNumber(
        "criticalVelocity", "Critical Velocity", velocity_, "Q/A at the critical depth.",
        [](const FlowDetails& f) { return f.criticalVelocity; }, NoCritical);
    MaybeNumber(
        "criticalSlope", "Critical Slope", slope_,
        "The slope at which Manning's equation carries this discharge at the critical depth "
        "with this n.",
        [](const FlowDetails& f) { return f.criticalSlope; }, NoCritical);
    Words("slopeClass", "Slope Class",
          "Mild when the normal depth is above the critical depth, steep when it is below, "
          "critical while the flow is (|Fr − 1| ≤ 0.01).",
          [](const FlowDetails& f) {
            return f.slopeClass ? std::string(SlopeClassName(*f.slopeClass)) : std::string("-");
          });
    const std::string psf = u_.psf ? "; 1 lb/ft² = 47.880259 Pa." : ".";
    Number("averageShear", "Average Shear", shear_,
           std::string("τ = γ·R·S, the mean over the wetted perimeter; ") + kUnitWeightText + psf,
           [](const FlowDetails& f, const FlowState&) { return f.averageShear; });
    Number("maximumShear", "Maximum Shear", shear_,
           std::string("τ ≈ γ·y·S, the bed shear of a wide channel at the flow depth, which the ") +
               "deepest point of these sections approaches; " + kUnitWeightText + psf,
           [](const FlowDetails& f, const FlowState&) { return f.maximumShear; });
    if (shape == SectionKind::Pipe) PipeRows();
    return std::move(rows_);
  }

 private:
  using Getter = std::function<double(const FlowDetails&, const FlowState&)>;

  static std::string NoCritical(const FlowDetails&) { return "-"; }

  void PipeRows() {
    const std::string full = "Manning's equation for the pipe running full: A = πD²/4, R = D/4.";
    Number("percentFull", "Percent Full", percent_, "Flow depth over diameter, in per cent.",
           [](const FlowDetails& f, const FlowState&) { return f.pipe->percentFull; });
    Number("fullFlowDischarge", "Full-Flow Discharge", discharge_, full,
           [](const FlowDetails& f, const FlowState&) { return f.pipe->full.discharge; });
    Number("fullFlowVelocity", "Full-Flow Velocity", velocity_, full,
           [](const FlowDetails& f, const FlowState&) { return f.pipe->full.velocity; });
    const std::string peak =
        "The largest part-full discharge, where d(A·R^(2/3))/dy = 0: found by bisection, "
        "near 0.938 D for any pipe with a constant n.";
    Number("maximumDischarge", "Maximum Discharge", discharge_, peak,
           [](const FlowDetails& f, const FlowState&) { return f.pipe->maximum.discharge; });
    Number("maximumDischargeDepth", "Depth at Maximum", length_, peak,
           [](const FlowDetails& f, const FlowState&) { return f.pipe->maximum.depth; });
  }

  DetailCell NumberCell(const Kind& kind, double base) const {
    try {
      const double v = kind.convert(base);
      return {v, u_.fixed ? FormatFixed3(v) : FormatNumber(v)};
    } catch (const ArithmeticFault&) {
      return {std::nullopt, "N/A"};
    }
  }

  void Add(DetailRow row,
           const std::function<DetailCell(const FlowDetails&, const FlowState&)>& cell) {
    row.primary = cell(p_, flows_.primary);
    if (a_) row.alternate = cell(*a_, *flows_.alternate);
    rows_.push_back(std::move(row));
  }

  void Number(const char* key, const char* label, const Kind& kind, std::string tip, Getter get) {
    Add({key, label, kind.unit, std::move(tip), {}, {}},
        [&](const FlowDetails& f, const FlowState& s) { return NumberCell(kind, get(f, s)); });
  }

  void MaybeNumber(const char* key, const char* label, const Kind& kind, std::string tip,
                   const std::function<std::optional<double>(const FlowDetails&)>& get,
                   const std::function<std::string(const FlowDetails&)>& none) {
    Add({key, label, kind.unit, std::move(tip), {}, {}},
        [&](const FlowDetails& f, const FlowState&) {
          const auto v = get(f);
          return v ? NumberCell(kind, *v) : DetailCell{std::nullopt, none(f)};
        });
  }

  void Words(const char* key, const char* label, std::string tip,
             const std::function<std::string(const FlowDetails&)>& get) {
    Add({key, label, "", std::move(tip), {}, {}}, [&](const FlowDetails& f, const FlowState&) {
      return DetailCell{std::nullopt, get(f)};
    });
  }

  const Units& u_;
  const FlowDetails& p_;
  const FlowDetails* a_;
  const SolvedFlows& flows_;
  Kind length_, velocity_, discharge_, slope_, side_, shear_, plain_, percent_;
  std::vector<DetailRow> rows_;
};

std::string PipeNote(const FlowDetails& f, const Units& u) {
  if (!f.pipe) return "";
  const PipeDetails& p = *f.pipe;
  auto q = [&u](double base) {
    return ShortNumber(ConvertDischarge(base, u.discharge, kFromBase)) + " " + u.dischargeName;
  };
  switch (p.capacity) {
    case PipeCapacity::NoFlow:
      return "A level pipe: nothing flows.";
    case PipeCapacity::OneDepth:
      return "Below full flow (" + q(p.full.discharge) +
             "): one part-full depth carries this discharge.";
    case PipeCapacity::TwoDepths:
      return "Between full flow (" + q(p.full.discharge) + ") and the maximum (" +
             q(p.maximum.discharge) + "): two depths carry this discharge.";
    case PipeCapacity::AboveMaximum:
      if (p.requestedVelocity && p.maximumVelocity) {
        auto v = [&u](double base) {
          return ShortNumber(ConvertVelocity(base, u.velocity, kFromBase)) + " " + u.velocityName;
        };
        return "The velocity asked for (" + v(*p.requestedVelocity) +
               ") is above the largest part-full velocity (" + v(p.maximumVelocity->velocity) +
               "): no open-channel depth gives it. The pipe surcharges; shown running full.";
      }
      if (p.requestedDischarge) {
        return "The discharge asked for (" + q(*p.requestedDischarge) + ") is above the maximum (" +
               q(p.maximum.discharge) +
               "): no open-channel depth carries it. The pipe surcharges; shown running full.";
      }
      return "Above the maximum (" + q(p.maximum.discharge) +
             "): no open-channel depth carries this discharge; the pipe surcharges.";
    case PipeCapacity::RunningFull:
      return "Running full: no free surface.";
  }
  return "";
}

}  // namespace

SolvedFlows FlowsOf(const CompletedSolve& solve) {
  const SolveRecord& r = solve.record;
  const ChannelSection section{r.section, r.diameter, r.width, r.side};
  SolvedFlows flows{{section, r.depth, r.slope, r.n, r.discharge, solve.requestedDischarge,
                     solve.requestedVelocity},
                    {}};
  if (r.altDepth > 0) {
    flows.alternate = FlowState{section, r.altDepth, r.slope, r.n, r.altDischarge, {}, {}};
  } else if (r.altSide > 0) {
    ChannelSection other = section;
    other.side = r.altSide;
    flows.alternate = FlowState{other, r.depth, r.slope, r.n, r.altDischarge, {}, {}};
  }
  return flows;
}

int DetailsLengthUnit(const frmRivulet& form) { return form.cboDepth.ListIndex(); }

DetailsTable FlowDetailsTable(const frmRivulet& form) {
  DetailsTable table;
  const ResultsState state = form.Results();
  if (!form.LastSolve() || (state != ResultsState::Current && state != ResultsState::Modified))
    return table;
  const SolvedFlows flows = FlowsOf(*form.LastSolve());
  const auto primary = ComputeFlowDetails(flows.primary);
  if (!primary) return table;
  const auto alternate =
      flows.alternate ? ComputeFlowDetails(*flows.alternate) : std::optional<FlowDetails>();
  const Units units = UnitsOf(form);
  table.state = state == ResultsState::Current ? DetailsState::Current : DetailsState::Stale;
  table.hasAlternate = alternate.has_value();
  table.rows = TableBuilder(units, *primary, alternate ? &*alternate : nullptr, flows).Rows();
  table.primaryNote = PipeNote(*primary, units);
  table.surcharged = SurchargeOf(form).has_value();
  if (alternate) table.alternateNote = PipeNote(*alternate, units);
  return table;
}

std::optional<Surcharge> RunningFullCapacity(const frmRivulet& form) {
  const auto& solve = form.LastSolve();
  const ResultsState state = form.Results();
  if (!solve || (state != ResultsState::Current && state != ResultsState::Modified))
    return std::nullopt;
  const bool velocity = solve->requestedVelocity.has_value();
  const std::optional<double>& asked =
      velocity ? solve->requestedVelocity : solve->requestedDischarge;
  if (!asked) return std::nullopt;
  // The running-full solve found the first row's quantity for the pipe flowing full.
  const double capacity = velocity ? solve->record.velocity : solve->record.discharge;
  const int unit = form.cboVelDis1.ListIndex();
  try {
    Surcharge s;
    s.velocity = velocity;
    s.asked = velocity ? ConvertVelocity(*asked, unit, kFromBase)
                       : ConvertDischarge(*asked, unit, kFromBase);
    s.capacity = velocity ? ConvertVelocity(capacity, unit, kFromBase)
                          : ConvertDischarge(capacity, unit, kFromBase);
    s.ratio = Div(*asked, capacity);
    s.unit = form.cboVelDis1.Text();
    return s;
  } catch (const ArithmeticFault&) {
    return std::nullopt;
  }
}

std::optional<Surcharge> SurchargeOf(const frmRivulet& form) {
  // A solve for the slope or n of a pipe given full gives back what was asked to within
  // rounding: at capacity, not above it.
  constexpr double kAtCapacity = 1 + 1e-9;
  auto s = RunningFullCapacity(form);
  if (!s || !(s->ratio > kAtCapacity)) return std::nullopt;
  return s;
}

std::string SurchargeSentence(const Surcharge& s) {
  const char* what = s.velocity ? "velocity" : "discharge";
  return std::string("Pipe surcharged: the ") + what + " asked for, " + ShortNumber(s.asked) + " " +
         s.unit + ", is " + SignificantFigures(s.ratio, 3) + " times the full-flow " +
         (s.velocity ? "velocity, " : "capacity, ") + ShortNumber(s.capacity) + " " + s.unit +
         ". Depth, flow area and " + (s.velocity ? "discharge" : "velocity") +
         " are those of the pipe running full.";
}

}  // namespace rivulet
