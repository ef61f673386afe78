#include "core/design/design_criteria.h"

namespace rivulet {

namespace {
constexpr double kFoot = 0.3048;
}  // namespace

const std::vector<Lining>& LiningTable() {
  static const std::vector<Lining> table = [] {
    const struct {
      const char* name;
      double psf;
    } rows[] = {
        {"Woven paper net", 0.15},
        {"Jute net", 0.45},
        {"Fiberglass roving, single", 0.60},
        {"Fiberglass roving, double", 0.85},
        {"Straw with net", 1.45},
        {"Curled wood mat", 1.55},
        {"Synthetic mat", 2.00},
        {"Vegetation, class A", 3.70},
        {"Vegetation, class B", 2.10},
        {"Vegetation, class C", 1.00},
        {"Vegetation, class D", 0.60},
        {"Vegetation, class E", 0.35},
        {"Gravel riprap, 1 in", 0.33},
        {"Gravel riprap, 2 in", 0.67},
        {"Rock riprap, 6 in", 2.00},
        {"Rock riprap, 12 in", 4.00},
    };
    std::vector<Lining> out;
    for (const auto& r : rows) out.push_back({r.name, r.psf * kPascalPerPsf});
    return out;
  }();
  return table;
}

DesignCriteria DefaultCriteria(UnitSystem system) {
  DesignCriteria c;
  if (system == UnitSystem::US) {
    c.minVelocity = 2 * kFoot;
    c.maxVelocity = 10 * kFoot;
  }
  return c;
}

double DefaultMinFullVelocity(UnitSystem system) {
  return system == UnitSystem::US ? 3 * kFoot : 0.9;
}

}  // namespace rivulet
