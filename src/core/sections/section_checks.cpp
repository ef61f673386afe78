// The checks of a surveyed section before it is modelled, and the composite methods' keys:
// what a file or the window may hand the model, each refusal naming the point or zone.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/sections/section_model.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

std::string Num(double v) { return SignificantFigures(v, 10); }

std::string PointName(size_t i) { return "Point " + std::to_string(i + 1); }

}  // namespace

const char* CompositeMethodKey(CompositeMethod method) {
  switch (method) {
    case CompositeMethod::Conveyance:
      return "conveyance";
    case CompositeMethod::Horton:
      return "horton";
    case CompositeMethod::Pavlovskii:
      return "pavlovskii";
    case CompositeMethod::Lotter:
      return "lotter";
  }
  return "conveyance";
}

bool CompositeMethodForKey(const std::string& key, CompositeMethod& method) {
  for (CompositeMethod m : {CompositeMethod::Conveyance, CompositeMethod::Horton,
                            CompositeMethod::Pavlovskii, CompositeMethod::Lotter}) {
    if (key == CompositeMethodKey(m)) {
      method = m;
      return true;
    }
  }
  return false;
}

std::string PointsProblem(const StationSection& s) {
  const size_t count = s.station.size();
  if (s.elevation.size() != count)
    return "The section has " + std::to_string(count) + " stations but " +
           std::to_string(s.elevation.size()) + " elevations.";
  if (count < static_cast<size_t>(kMinSectionPoints))
    return "The section needs at least " + std::to_string(kMinSectionPoints) + " points; it has " +
           std::to_string(count) + ".";
  if (count > static_cast<size_t>(kMaxSectionPoints))
    return "The section may have at most " + std::to_string(kMaxSectionPoints) +
           " points; it has " + std::to_string(count) + ".";
  for (size_t i = 0; i < count; ++i) {
    if (!std::isfinite(s.station[i])) return PointName(i) + ": the station is not a number.";
    if (!std::isfinite(s.elevation[i])) return PointName(i) + ": the elevation is not a number.";
    if (i > 0 && s.station[i] < s.station[i - 1])
      return PointName(i) + " (station " + Num(s.station[i]) + ") lies before " + PointName(i - 1) +
             " (station " + Num(s.station[i - 1]) + "): the stations double back.";
  }
  if (!(s.station.back() > s.station.front()))
    return "The section has no width: every point is at station " + Num(s.station.front()) + ".";
  const auto low = std::min_element(s.elevation.begin(), s.elevation.end());
  if (!(*low < s.elevation.front()))
    return PointName(0) +
           " is a lowest point of the section: the section needs a low point between two "
           "higher ends.";
  if (!(*low < s.elevation.back()))
    return PointName(count - 1) +
           " is a lowest point of the section: the section needs a low point between two "
           "higher ends.";
  return "";
}

std::string ZonesProblem(const StationSection& s) {
  if (s.breaks.size() >= static_cast<size_t>(kMaxSectionZones))
    return "The section may have at most " + std::to_string(kMaxSectionZones) +
           " roughness zones (" + std::to_string(kMaxSectionZones - 1) + " breaks); it has " +
           std::to_string(s.breaks.size() + 1) + ".";
  for (size_t j = 0; j < s.breaks.size(); ++j) {
    const std::string name = "Break " + std::to_string(j + 1);
    const double b = s.breaks[j];
    if (!std::isfinite(b)) return name + ": the station is not a number.";
    if (!(b > s.station.front() && b < s.station.back()))
      return name + " (station " + Num(b) + ") must lie between the end stations " +
             Num(s.station.front()) + " and " + Num(s.station.back()) + ".";
    if (j > 0 && !(b > s.breaks[j - 1]))
      return name + " (station " + Num(b) + ") must lie beyond break " + std::to_string(j) +
             " (station " + Num(s.breaks[j - 1]) + ").";
  }
  if (s.n.size() != s.breaks.size() + 1)
    return std::to_string(s.breaks.size()) + " breaks make " + std::to_string(s.breaks.size() + 1) +
           " zones, but " + std::to_string(s.n.size()) + " values of Manning's n are given.";
  for (size_t j = 0; j < s.n.size(); ++j)
    if (!(std::isfinite(s.n[j]) && s.n[j] > 0))
      return "Zone " + std::to_string(j + 1) + ": Manning's n must be a number above 0.";
  return "";
}

std::string SectionProblem(const StationSection& s) {
  std::string problem = PointsProblem(s);
  return problem.empty() ? ZonesProblem(s) : problem;
}

}  // namespace rivulet
