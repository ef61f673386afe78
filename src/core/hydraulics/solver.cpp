#include "core/hydraulics/solver.h"

#include <string>
#include <utility>
#include <vector>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/closed_forms.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"
#include "core/hydraulics/sheet_reader.h"
#include "core/hydraulics/sheet_text.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"

namespace rivulet {
namespace {

// Depth / diameter from which a part-full pipe carries its full-flow discharge again, so
// that a second depth with the same discharge exists between it and the crown.
constexpr double kFullDischargeDepthRatio = 0.819629372686432;
// Below this the gutter's angle search found no flatter solution worth keeping.
constexpr double kFlatGutterSide = 1e-8;
// A side slope this close to vertical counts as no solution.
constexpr double kVerticalSide = 1e-6;

enum class Unknown { Velocity, Discharge, Depth, Diameter, MaxDiam, Width, Side, Slope, Manning };

Unknown UnknownFor(const CalculationSheet& sheet, SectionKind section) {
  if (sheet.optVelDis1.Value())
    return sheet.VelocityGiven() ? Unknown::Velocity : Unknown::Discharge;
  if (sheet.optDepth.Value()) return Unknown::Depth;
  if (sheet.optDiam.Value()) {
    if (section != SectionKind::Pipe) return Unknown::Width;
    return sheet.chkLocDiam.Value() == 1 ? Unknown::MaxDiam : Unknown::Diameter;
  }
  if (sheet.optSide.Value()) return Unknown::Side;
  if (sheet.optSlope.Value()) return Unknown::Slope;
  return Unknown::Manning;
}

// One step of the iterative path: a fault abandons the step alone, so whatever it was
// assigning keeps its previous value and the solve goes on with the next step.
template <typename Action>
void Step(Action&& action) {
  try {
    action();
  } catch (const ArithmeticFault&) {
  }
}

// One calculation: the working values of a solve and its steps.
class ManningSolve {
 public:
  ManningSolve(CalculationSheet& sheet, HydraulicState& state, Services& services)
      : sheet_(sheet), state_(state), services_(services) {}

  void Run() {
    velocityGiven_ = sheet_.VelocityGiven();
    kind_ = SectionOf(sheet_);
    state_.section = kind_;
    unknown_ = UnknownFor(sheet_, kind_);
    state_.last = {};
    try {
      ReadInputs();
      if (IsDirect()) {
        SolveDirect();
        Record();
        return;
      }
    } catch (const ArithmeticFault&) {
      // An input that cannot be converted, or a section that carries nothing: there is no
      // result to write, only the verdict.
      ClearAlternates(sheet_);
      Reject();
      return;
    }
    state_.eps = MachineEpsilon();
    ctx_ = SearchContext{kind_, state_.eps, state_.pi};
    SolveUnknown();
    WriteResults();
    FinalCheck();
    if (!state_.noSolution) Record();
  }

 private:
  bool IsDirect() const {
    return unknown_ == Unknown::Velocity || unknown_ == Unknown::Discharge ||
           unknown_ == Unknown::Slope || unknown_ == Unknown::Manning;
  }
  bool Is(SectionKind kind) const { return kind_ == kind; }
  FlowQuantity Quantity() const {
    return velocityGiven_ ? FlowQuantity::Velocity : FlowQuantity::Discharge;
  }
  double Target() const { return velocityGiven_ ? v_ : q_; }
  FlowTarget Flow() const { return {Quantity(), Target(), s_, n_}; }

  // A search's value is used as it stands however the search ended, as it always was; an
  // end other than converging is kept for the record.
  void Note(SearchEnd end) { searchEnd_ = WorseEnd(searchEnd_, end); }
  double Use(const SearchResult& result) {
    Note(result.end);
    return result.value;
  }

  // Only the rows the section has are read: a triangle's hidden width row or the side slope
  // being solved for may hold anything.
  void ReadInputs() {
    (velocityGiven_ ? v_ : q_) = ReadFlow(sheet_);
    y_ = ReadDepth(sheet_);
    if (!Is(SectionKind::Triangle)) (Is(SectionKind::Pipe) ? d_ : b_) = ReadDiameterRow(sheet_);
    if (HasSideSlope(kind_) && unknown_ != Unknown::Side) z_ = ReadSideSlope(sheet_, state_.pi);
    s_ = ReadSlope(sheet_);
    n_ = ReadManningN(sheet_);
  }

  // Every dimension is known: Manning's equation is solved as it stands. All results are
  // computed before any is written, so a fault leaves the sheet as it was.
  void SolveDirect() {
    double a, p;
    if (Is(SectionKind::Pipe)) {
      const double theta = PipeAngle(y_, d_, state_.pi);
      a = PipeArea(theta, d_);
      p = PipePerimeter(theta, d_);
    } else if (Is(SectionKind::Gutter)) {
      a = GutterArea(b_, y_, z_);
      p = GutterPerimeter(b_, y_, z_);
    } else {
      a = TrapezoidArea(b_, y_, z_);
      p = TrapezoidPerimeter(b_, y_, z_);
    }
    // A section without water (a triangle with vertical sides, say) but with a wetted
    // boundary has R = 0, so Manning's equation gives it no velocity and no flow: an answer.
    // Only a slope or an n would need a division by that zero area or radius.
    if (p == 0) throw ArithmeticFault("section has no wetted perimeter");
    if (a == 0 && (unknown_ == Unknown::Slope || unknown_ == Unknown::Manning))
      throw ArithmeticFault("section carries no flow");
    const double r = HydraulicRadius(a, p);

    std::vector<std::pair<TextBox*, std::string>> writes;
    writes.reserve(4);
    if (unknown_ == Unknown::Velocity || unknown_ == Unknown::Discharge) {
      v_ = ManningVelocity(r, s_, n_);
      q_ = Mul(v_, a);
      if (velocityGiven_) {
        writes.emplace_back(&sheet_.txtVelDis1, VelocityText(v_, sheet_.cboVelDis1));
        writes.emplace_back(&sheet_.txtVelDis2, DischargeText(q_, sheet_.cboVelDis2));
      } else {
        writes.emplace_back(&sheet_.txtVelDis1, DischargeText(q_, sheet_.cboVelDis1));
        writes.emplace_back(&sheet_.txtVelDis2, VelocityText(v_, sheet_.cboVelDis2));
      }
    } else {
      if (velocityGiven_) {
        q_ = Mul(v_, a);
        writes.emplace_back(&sheet_.txtVelDis2, DischargeText(q_, sheet_.cboVelDis2));
      } else {
        v_ = Div(q_, a);
        writes.emplace_back(&sheet_.txtVelDis2, VelocityText(v_, sheet_.cboVelDis2));
      }
      if (unknown_ == Unknown::Slope) {
        s_ = ManningSlope(v_, n_, r);
        writes.emplace_back(&sheet_.txtSlope,
                            FormatNumber(ConvertSlope(s_, sheet_.cboSlope.ListIndex(), kFromBase)));
      } else {
        n_ = ManningRoughness(v_, r, s_);
        writes.emplace_back(&sheet_.txtManning, ManningText(n_));
      }
    }
    writes.emplace_back(&sheet_.txtArea, AreaText(a, sheet_.cboArea));
    for (auto& [box, text] : writes) box->SetText(text);
    ClearAlternates(sheet_);
  }

  void SolveUnknown() {
    if (Is(SectionKind::Pipe)) {
      SolvePipe();
    } else if (Is(SectionKind::Rectangle)) {
      SolveRectangle();
    } else if (Is(SectionKind::Triangle)) {
      SolveTriangle();
    } else {
      SolveTrapezoidOrGutter();
    }
  }

  void SolvePipe() {
    switch (unknown_) {
      case Unknown::Depth:
        SolvePipeDepth();
        return;
      case Unknown::Diameter:
        Step([&] {
          d_ = Use(
              BisectPipe(ctx_, {.unknown = PipeUnknown::Diameter, .flow = Flow(), .depth = y_}));
        });
        break;
      case Unknown::MaxDiam:
        // Running full: A = πD²/4 and R = D/4 invert in closed form.
        Step([&] {
          d_ = velocityGiven_ ? FullPipeDiameterForVelocity(v_, n_, s_)
                              : FullPipeDiameterForDischarge(q_, n_, s_);
        });
        y_ = d_;
        break;
      default:
        break;  // no other unknown belongs to a pipe
    }
    ClearAlternates(sheet_);
  }

  void SolvePipeDepth() {
    Step([&] { y_ = Use(PartFullPipeDepth(ctx_, Flow(), d_)); });
    const double y1 = y_;
    ClearAlternates(sheet_);
    // The second depth lies between the first and the crown.
    const PipeSearch alternate{
        .unknown = PipeUnknown::AltDepth, .flow = Flow(), .diameter = d_, .lower = y1};
    if (velocityGiven_) {
      if (y1 >= d_ / 2) Step([&] { y2_ = Use(BisectPipe(ctx_, alternate)); });
    } else if (y1 >= kFullDischargeDepthRatio * d_) {
      SearchEnd end = SearchEnd::Converged;
      Step([&] {
        const SearchResult found = BisectPipe(ctx_, alternate);
        y2_ = found.value;
        end = found.end;
      });
      if (y2_ == y1) {
        y2_ = 0;  // no second depth after all
      } else {
        Note(end);
      }
    }
  }

  void SolveRectangle() {
    if (unknown_ == Unknown::Depth) {
      if (velocityGiven_) {
        Step([&] { y_ = RectangleDepthForVelocity(v_, n_, s_, b_); });
      } else {
        Step([&] { y_ = Bisect(ChannelUnknown::Depth); });
      }
    } else if (unknown_ == Unknown::Width) {
      if (velocityGiven_) {
        Step([&] { b_ = TrapezoidWidthForVelocity(v_, n_, s_, y_, z_); });
      } else {
        Step([&] { b_ = Bisect(ChannelUnknown::Width); });
      }
    }
    ClearAlternates(sheet_);
  }

  void SolveTriangle() {
    if (unknown_ == Unknown::Depth) {
      Step([&] {
        y_ = velocityGiven_ ? TriangleDepthForVelocity(v_, n_, s_, z_)
                            : TriangleDepthForDischarge(q_, n_, s_, z_);
      });
    } else {
      // Every other unknown of a triangle is its side slope.
      if (velocityGiven_) {
        Step([&] { z_ = TriangleSideForVelocity(v_, n_, s_, y_); });
      } else {
        Step([&] { z_ = Bisect(ChannelUnknown::Side); });
      }
      RejectVerticalSides();
    }
    ClearAlternates(sheet_);
  }

  void SolveTrapezoidOrGutter() {
    const bool gutter = Is(SectionKind::Gutter);
    switch (unknown_) {
      case Unknown::Depth:
        Step([&] { y_ = Bisect(ChannelUnknown::Depth); });
        break;
      case Unknown::Width:
        if (velocityGiven_) {
          Step([&] {
            b_ = gutter ? GutterWidthForVelocity(v_, n_, s_, y_, z_)
                        : TrapezoidWidthForVelocity(v_, n_, s_, y_, z_);
          });
        } else {
          Step([&] { b_ = Bisect(ChannelUnknown::Width); });
        }
        break;
      case Unknown::Side:
        if (velocityGiven_) {
          SolveSideFromVelocity(gutter);
          RejectVerticalSides();
          return;  // the alternate rows stay as they are
        }
        Step([&] { z_ = Bisect(ChannelUnknown::Side); });
        RejectVerticalSides();
        break;
      default:
        break;
    }
    ClearAlternates(sheet_);
  }

  // Two side slopes can give one velocity: the angle search finds the flatter, Newton's
  // method from vertical sides the steeper. When the angle search fails, Newton's answer
  // becomes the primary one.
  void SolveSideFromVelocity(bool gutter) {
    const SideSlopeSearch channel{.width = b_, .depth = y_, .velocity = v_, .slope = s_, .n = n_};
    const StoppingRule newton{state_.eps, kNewtonCap};
    SearchEnd flatterEnd = SearchEnd::Converged;
    Step([&] {
      const SearchResult flatter = SearchSideSlopeAngle(ctx_, channel);
      z_ = flatter.value;
      flatterEnd = flatter.end;
    });
    const bool flatterFound =
        gutter ? (z_ >= kFlatGutterSide && z_ < kNoSolution) : z_ < kNoSolution;
    if (flatterFound) {
      Note(flatterEnd);
      Step([&] { z2_ = Use(NewtonSideSlope(ctx_, channel, newton)); });
    } else {
      Step([&] { z_ = Use(NewtonSideSlope(ctx_, channel, newton)); });
    }
    if (z2_ > 0 && z2_ < kNoSolution) {
      Step([&] { a2_ = gutter ? GutterArea(b_, y_, z2_) : TrapezoidArea(b_, y_, z2_); });
    }
  }

  void RejectVerticalSides() {
    if (z_ < kVerticalSide) z_ = kNoSolution;
  }

  // The working dimensions go in as they stand: the search ignores the one it seeks.
  double Bisect(ChannelUnknown unknown) {
    return Use(BisectOpenChannel(
        ctx_, {.unknown = unknown, .flow = Flow(), .width = b_, .depth = y_, .side = z_}));
  }

  void WriteResults() {
    switch (unknown_) {
      case Unknown::Depth:
        Step([&] { sheet_.txtDepth.SetText(LengthText(y_, sheet_.cboDepth)); });
        break;
      case Unknown::Diameter:
      case Unknown::MaxDiam:
        Step([&] { sheet_.txtDiam.SetText(LengthText(d_, sheet_.cboDiam)); });
        break;
      case Unknown::Width:
        Step([&] { sheet_.txtDiam.SetText(LengthText(b_, sheet_.cboDiam)); });
        break;
      case Unknown::Side:
        Step([&] { sheet_.txtSide.SetText(SideSlopeText(z_, sheet_.cboSide, state_.pi)); });
        break;
      default:
        break;
    }

    if (Is(SectionKind::Pipe)) {
      Step([&] { theta_ = PipeAngle(y_, d_, state_.pi); });
      Step([&] { a_ = PipeArea(theta_, d_); });
      if (y2_ > 0) Step([&] { a2_ = PipeArea(PipeAngle(y2_, d_, state_.pi), d_); });
    } else if (Is(SectionKind::Gutter)) {
      Step([&] { a_ = GutterArea(b_, y_, z_); });
    } else {
      Step([&] { a_ = TrapezoidArea(b_, y_, z_); });
    }
    Step([&] { sheet_.txtArea.SetText(AreaText(a_, sheet_.cboArea)); });

    if (velocityGiven_) {
      Step([&] { q_ = Mul(v_, a_); });
      Step([&] { sheet_.txtVelDis2.SetText(DischargeText(q_, sheet_.cboVelDis2)); });
    } else {
      Step([&] { v_ = Div(q_, a_); });
      Step([&] { sheet_.txtVelDis2.SetText(VelocityText(v_, sheet_.cboVelDis2)); });
    }

    if (y2_ > 0) Step([&] { sheet_.txtDDS.SetText(LengthText(y2_, sheet_.cboDDS)); });
    if (z2_ > 0) Step([&] { sheet_.txtDDS.SetText(SideSlopeText(z2_, sheet_.cboDDS, state_.pi)); });
    if (a2_ > 0) {
      Step([&] { sheet_.txtArea2.SetText(AreaText(a2_, sheet_.cboArea2)); });
      Step([&] {
        sheet_.txtVelDis3.SetText(velocityGiven_ ? DischargeText(Mul(v_, a2_), sheet_.cboVelDis3)
                                                 : VelocityText(Div(q_, a2_), sheet_.cboVelDis3));
      });
      EnableAlternates(sheet_);
    }
  }

  void Record() {
    SolveRecord& r = state_.last;
    r = {kind_, y_, d_, b_, z_, s_, n_, v_, q_};
    r.searchEnd = searchEnd_;
    if (a2_ > 0) {
      r.altDepth = y2_;
      r.altSide = z2_;
      Step([&] { r.altDischarge = velocityGiven_ ? Mul(v_, a2_) : q_; });
    }
  }

  // Velocity, discharge and areas are not judged; every dimension must be in [0, 1e8).
  void FinalCheck() {
    for (double value : {y_, d_, b_, z_, s_, n_}) {
      if (!(value >= 0 && value < kNoSolution)) {
        Reject();
        return;
      }
    }
    state_.noSolution = false;
  }

  void Reject() {
    services_.MessageBox(kNoSolutionMessage, kProductName, MessageIcon::None);
    state_.noSolution = true;
  }

  CalculationSheet& sheet_;
  HydraulicState& state_;
  Services& services_;
  SectionKind kind_ = SectionKind::Gutter;
  Unknown unknown_ = Unknown::Manning;
  bool velocityGiven_ = true;
  SearchContext ctx_;
  SearchEnd searchEnd_ = SearchEnd::Converged;
  // Working values in base units; all start at 0.
  double y_ = 0, d_ = 0, b_ = 0, z_ = 0, s_ = 0, n_ = 0, v_ = 0, q_ = 0;
  double theta_ = 0, a_ = 0;
  double y2_ = 0, z2_ = 0, a2_ = 0;
};

}  // namespace

void SolveManning(CalculationSheet& sheet, HydraulicState& state, Services& services) {
  BusyPointer busy(services);
  ManningSolve(sheet, state, services).Run();
}

}  // namespace rivulet
