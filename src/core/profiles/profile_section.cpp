#include "core/profiles/profile_section.h"

#include <cmath>
#include <limits>
#include <utility>

#include "core/hydraulics/brackets.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/geometry.h"
#include "core/hydraulics/searches.h"
#include "core/sections/section_solve.h"

namespace rivulet {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const double kPi = 4 * std::atan(1.0);

// The bracket [0, ceiling] (or [0, doubling] for an open section) around the depth where
// the test first holds; none when it never holds below the ceiling.
template <typename Test>
std::optional<double> FirstDepthWhere(double ceiling, Test holds) {
  Bracket b{0, ceiling};
  if (std::isfinite(ceiling)) {
    if (!holds(ceiling)) return std::nullopt;
  } else {
    WidenUpward(b, holds);
  }
  CloseBracket(b, holds);
  return b.above;
}

SectionHydraulics WithConveyance(const SectionGeometry& g, double n, double firstMoment) {
  SectionHydraulics h;
  h.area = g.area;
  h.perimeter = g.perimeter;
  h.topWidth = g.topWidth;
  h.conveyance = Div(Mul(g.area, Pow(HydraulicRadius(g.area, g.perimeter), kTwoThirds)), n);
  h.firstMoment = firstMoment;
  return h;
}

class PrismaticSection : public ProfileSection {
 public:
  PrismaticSection(const ChannelSection& shape, double n) : shape_(shape), n_(n) {
    // One field per shape: the rectangle has no side slope, the triangle no width.
    if (shape_.shape == SectionKind::Rectangle) shape_.side = 0;
    if (shape_.shape == SectionKind::Triangle) shape_.width = 0;
  }

  SectionHydraulics At(double y) const override {
    if (!(y > 0)) throw ArithmeticFault("no water");
    const SectionGeometry g = GeometryAt(shape_, y);
    return WithConveyance(g, n_, FirstMoment(g, std::min(y, Ceiling())));
  }

  double Ceiling() const override {
    return shape_.shape == SectionKind::Pipe ? shape_.diameter : kInfinity;
  }

  std::optional<double> CriticalDepth(double q) const override {
    const CriticalDepthResult c = rivulet::CriticalDepth(shape_, q);
    if (c.state != CriticalState::Found) return std::nullopt;
    return c.depth;
  }

  std::optional<double> NormalDepth(double q, double s) const override {
    const SearchContext ctx{shape_.shape, MachineEpsilon(), kPi};
    const FlowTarget flow{FlowQuantity::Discharge, q, s, n_};
    if (shape_.shape == SectionKind::Pipe) {
      const SearchResult r = PartFullPipeDepth(ctx, flow, shape_.diameter);
      if (r.end != SearchEnd::Converged ||
          shape_.diameter - r.value <= 2 * ctx.eps * shape_.diameter)
        return std::nullopt;
      return r.value;
    }
    const SearchResult r =
        BisectOpenChannel(ctx, {ChannelUnknown::Depth, flow, shape_.width, 0, shape_.side});
    if (r.value >= kNoSolution) return std::nullopt;
    return r.value;
  }

 private:
  double FirstMoment(const SectionGeometry& g, double y) const {
    if (shape_.shape != SectionKind::Pipe)
      return shape_.width * y * y / 2 + shape_.side * y * y * y / 3;
    // A circular segment's centroid lies 4r·sin³(θ/2) / (3(θ − sin θ)) below the centre.
    const double r = shape_.diameter / 2;
    const double theta = 2 * std::acos(std::clamp(1 - 2 * y / shape_.diameter, -1.0, 1.0));
    const double below = Div(4 * r * Pow(std::sin(theta / 2), 3), 3 * (theta - std::sin(theta)));
    return g.area * (below - (r - y));
  }

  ChannelSection shape_;
  double n_;
};

class SurveyedSection : public ProfileSection {
 public:
  SurveyedSection(const StationSection& survey, CompositeMethod method) : model_(survey, method) {}

  SectionHydraulics At(double y) const override {
    if (!(y > 0)) throw ArithmeticFault("no water");
    const double w = model_.Lowest() + y;
    const SectionState s = model_.StateAt(w, false);
    SectionHydraulics h;
    h.area = Checked(s.area);
    h.perimeter = s.perimeter;
    h.topWidth = s.topWidth;
    h.conveyance = Checked(s.conveyance);
    h.alpha = s.alpha;
    h.firstMoment = FirstMoment(w);
    if (!(h.area > 0 && h.conveyance > 0)) throw ArithmeticFault("no water");
    return h;
  }

  double Ceiling() const override {
    return model_.ExtendWalls() ? kInfinity : model_.BankFull() - model_.Lowest();
  }

  std::optional<double> CriticalDepth(double q) const override {
    const std::vector<double> depths = CriticalDepths(model_, q);
    if (depths.empty()) return std::nullopt;
    return depths.front();
  }

  std::optional<double> NormalDepth(double q, double s) const override {
    const std::optional<double> w = SurfaceForConveyance(model_, Div(q, Sqrt(s)), model_.Lowest());
    if (!w) return std::nullopt;
    return *w - model_.Lowest();
  }

 private:
  // ∫(w − z)²/2 over the wetted ground, segment by segment: each depth varies linearly.
  double FirstMoment(double w) const {
    const StationSection& s = model_.Section();
    double sum = 0;
    for (size_t i = 1; i < s.station.size(); ++i) {
      const double d1 = w - s.elevation[i - 1], d2 = w - s.elevation[i];
      const double dx = s.station[i] - s.station[i - 1];
      if (d1 >= 0 && d2 >= 0) {
        sum += dx * (d1 * d1 + d1 * d2 + d2 * d2) / 6;
      } else if (d1 > 0 || d2 > 0) {
        const double wet = std::max(d1, d2);
        sum += dx * wet / (wet - std::min(d1, d2)) * wet * wet / 6;
      }
    }
    return sum;
  }

  SectionModel model_;
};

class BlendedSection : public ProfileSection {
 public:
  BlendedSection(SectionPtr a, SectionPtr b, double t)
      : a_(std::move(a)), b_(std::move(b)), t_(t) {}

  SectionHydraulics At(double y) const override {
    const SectionHydraulics a = a_->At(y), b = b_->At(y);
    const auto mix = [this](double u, double v) { return u + t_ * (v - u); };
    return {mix(a.area, b.area),         mix(a.perimeter, b.perimeter),
            mix(a.topWidth, b.topWidth), mix(a.conveyance, b.conveyance),
            mix(a.alpha, b.alpha),       mix(a.firstMoment, b.firstMoment)};
  }

  double Ceiling() const override { return std::min(a_->Ceiling(), b_->Ceiling()); }

 private:
  SectionPtr a_, b_;
  double t_;
};

}  // namespace

std::optional<double> ProfileSection::CriticalDepth(double q) const {
  return FirstDepthWhere(Ceiling(), [&](double y) { return FroudeSquared(At(y), q) <= 1; });
}

std::optional<double> ProfileSection::NormalDepth(double q, double s) const {
  const double k = Div(q, Sqrt(s));
  return FirstDepthWhere(Ceiling(), [&](double y) { return At(y).conveyance >= k; });
}

SectionPtr MakePrismaticSection(const ChannelSection& shape, double n) {
  return std::make_shared<PrismaticSection>(shape, n);
}

SectionPtr MakeSurveyedSection(const StationSection& survey, CompositeMethod method) {
  return std::make_shared<SurveyedSection>(survey, method);
}

SectionPtr MakeBlendedSection(SectionPtr a, SectionPtr b, double t) {
  return std::make_shared<BlendedSection>(std::move(a), std::move(b), t);
}

double FroudeSquared(const SectionHydraulics& h, double q) {
  return Div(Mul(h.alpha * q * q, h.topWidth), Mul(kProfileGravity, Pow(h.area, 3)));
}

double VelocityHead(const SectionHydraulics& h, double q) {
  const double v = Div(q, h.area);
  return h.alpha * v * v / (2 * kProfileGravity);
}

double Momentum(const SectionHydraulics& h, double q) {
  return Div(q * q, kProfileGravity * h.area) + h.firstMoment;
}

std::optional<double> SequentDepth(const ProfileSection& section, double q, double depth,
                                   double yc) {
  const double m = Momentum(section.At(depth), q);
  if (depth < yc) {
    // Above critical depth the momentum rises with the depth.
    const auto enough = [&](double y) { return Momentum(section.At(y), q) >= m; };
    const double ceiling = section.Ceiling();
    Bracket b{yc, ceiling};
    if (std::isfinite(ceiling)) {
      if (!enough(ceiling)) return std::nullopt;
    } else {
      WidenUpward(b, enough);
    }
    CloseBracket(b, enough);
    return b.above;
  }
  Bracket b{0, yc};
  CloseBracket(b, [&](double y) { return Momentum(section.At(y), q) <= m; });
  return b.above;
}

}  // namespace rivulet
