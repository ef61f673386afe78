// A cross-section as the water-surface profile sees it: its hydraulic properties at a depth
// above its invert, and its critical, normal and sequent depths. Three shapes share one
// interface: the prismatic sections of the calculation sheet, a surveyed section, and a
// section between two surveyed ones. Base units: m, m², m³/s, m/m.
#pragma once

#include <memory>
#include <optional>

#include "core/hydraulics/flow_details.h"
#include "core/sections/section_model.h"

namespace rivulet {

/// What the step equations need of a section at one depth.
struct SectionHydraulics {
  double area = 0;         ///< m²
  double perimeter = 0;    ///< m
  double topWidth = 0;     ///< m
  double conveyance = 0;   ///< K = (1/n)·A·R^(2/3), m³/s (SI Manning)
  double alpha = 1;        ///< energy coefficient
  double firstMoment = 0;  ///< A·ȳ, the area's moment about the water surface, m³
};

class ProfileSection {
 public:
  virtual ~ProfileSection() = default;
  /// Properties at depth y (m) above the invert; ArithmeticFault where they do not exist.
  virtual SectionHydraulics At(double depth) const = 0;
  /// The deepest water the section holds (m above its invert): a pipe's crown, a survey's
  /// lower bank; infinity for an open prismatic channel or a survey with walls.
  virtual double Ceiling() const = 0;
  /// Critical depth (m) for discharge q (m³/s): Fr = 1, the lowest where there are several.
  /// None when the section fills before the flow turns critical.
  virtual std::optional<double> CriticalDepth(double q) const;
  /// Normal depth (m) for discharge q at friction slope s > 0; none when the section cannot
  /// carry it below its ceiling.
  virtual std::optional<double> NormalDepth(double q, double s) const;
};

using SectionPtr = std::shared_ptr<const ProfileSection>;

/// A prismatic channel of the calculation sheet's shapes (not the gutter) with one n.
SectionPtr MakePrismaticSection(const ChannelSection& shape, double n);
/// A surveyed section; it must have no SectionProblem.
SectionPtr MakeSurveyedSection(const StationSection& survey, CompositeMethod method);
/// The section a fraction t of the way from a to b: its properties at each depth are those
/// of a and b at the same depth, interpolated linearly.
SectionPtr MakeBlendedSection(SectionPtr a, SectionPtr b, double t);

/// Gravity (m/s²) of every energy, Froude and momentum figure of the profile.
inline constexpr double kProfileGravity = kGravity;

/// Froude number squared, α·Q²·T / (g·A³).
double FroudeSquared(const SectionHydraulics& h, double q);
/// Velocity head α·V²/2g (m).
double VelocityHead(const SectionHydraulics& h, double q);
/// Specific force Q²/(g·A) + A·ȳ (m³): conserved across a jump.
double Momentum(const SectionHydraulics& h, double q);

/// The depth (m) of equal momentum on the other side of critical depth yc: the sequent
/// depth of a supercritical y, or the initial depth of a subcritical one. None when it
/// would lie above the section's ceiling.
std::optional<double> SequentDepth(const ProfileSection& section, double q, double depth,
                                   double yc);

}  // namespace rivulet
