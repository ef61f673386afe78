// The bounds the searches skip runs of levels by: the conveyance and critical discharge at
// every surface of a run lie within them, by each composite method, across flat ground that
// starts to wet at a level, zones that start to wet inside a run and walls above the ends.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/sections/section_model.h"

namespace rivulet {
namespace {

// A rippled survey in three zones whose overbanks start to wet well above the bed.
StationSection Survey() {
  StationSection s;
  for (int i = 0; i < 41; ++i) {
    const double x = 2.5 * i, fromCentre = std::abs(x - 50);
    s.station.push_back(x);
    s.elevation.push_back(
        (fromCentre < 10 ? 0.03 * fromCentre * fromCentre : 3 + 0.1 * fromCentre) +
        0.05 * std::sin(1.7 * i));
  }
  s.breaks = {38.75, 61.25};
  s.n = {0.06, 0.03, 0.08};
  return s;
}

// A 4 m main channel between flat overbanks, with walls above the ends.
StationSection Compound() {
  StationSection s;
  s.station = {0, 0, 10, 10, 14, 14, 24, 24};
  s.elevation = {3, 1, 1, 0, 0, 1, 1, 3};
  s.breaks = {10, 14};
  s.n = {0.05, 0.03, 0.05};
  s.extendWalls = true;
  return s;
}

TEST(SectionBounds, HoldAtEverySurfaceOfTheRun) {
  const struct Row {
    const char* name;
    StationSection section;
  } rows[] = {{"survey", Survey()}, {"compound with walls", Compound()}};
  for (const Row& row : rows)
    for (CompositeMethod method : {CompositeMethod::Conveyance, CompositeMethod::Horton,
                                   CompositeMethod::Pavlovskii, CompositeMethod::Lotter}) {
      SCOPED_TRACE(std::string(row.name) + ", " + CompositeMethodKey(method));
      const SectionModel m(row.section, method);
      std::vector<double> levels = m.Levels();
      levels.push_back(levels.back() + 1.5);  // above the highest level, between walls or not
      int checked = 0;
      for (size_t i = 0; i + 1 < levels.size(); ++i)
        for (size_t j = i + 1; j < levels.size(); j += 1 + j / 4) {
          const FlowingBounds b = m.BoundsBetween(levels[i], levels[j]);
          // Inside each stretch, at its ends from inside it, and just above the run's top.
          for (size_t k = i; k < j; ++k)
            for (double f : {0.0, 0.3, 0.999, 1.0}) {
              const double w = levels[k] + f * (levels[k + 1] - levels[k]);
              const SectionFlowing at = m.FlowingAt(w, f == 0);
              EXPECT_LE(b.conveyanceLow, at.conveyance) << w;
              EXPECT_GE(b.conveyanceHigh, at.conveyance) << w;
              EXPECT_LE(b.criticalLow, at.critical) << w;
              EXPECT_GE(b.criticalHigh, at.critical) << w;
              ++checked;
            }
          const SectionFlowing top = m.FlowingAt(levels[j], true);
          EXPECT_GE(b.conveyanceHigh, top.conveyance);
          EXPECT_GE(b.criticalHigh, top.critical);
        }
      EXPECT_GE(checked, 40);
    }
}

}  // namespace
}  // namespace rivulet
