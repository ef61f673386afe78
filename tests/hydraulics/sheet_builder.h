// A calculation sheet filled by hand, as the window would leave it, for driving the solver
// without the window. Units start at the base unit of each list so that texts are base
// values unless a case says otherwise.
#pragma once

#include <string>

#include "core/hydraulics/units.h"
#include "core/shell/sheet.h"

namespace rivulet::testing {

enum Section { kPipe = 0, kRectangle = 1, kTriangle = 2, kTrapezoid = 3, kGutter = 4 };

enum class Solve { Row1, Depth, Diam, Side, Slope, Manning };

inline constexpr int kMeters = 2;
inline constexpr int kSquareMeters = 2;
inline constexpr int kRatio = 0;    // "1/x"
inline constexpr int kDegrees = 2;  // "degrees"
inline constexpr int kPerOne = 3;   // "/1"

/// Lists and captions for a section and mode; every list at its base-unit position.
inline void PrepareSheet(CalculationSheet& s, int section, bool velocityMode) {
  s.cboSection.Clear();
  s.cboSection.AddItems({"Circular Pipe", "Rectangle", "Triangle", "Trapezoid", "Gutter"});
  s.cboSection.SetListIndex(section);
  s.optVelDis1.SetCaption(velocityMode ? "Velocity" : "Discharge");
  s.lblVelDis2.SetCaption(velocityMode ? "Discharge" : "Velocity");
  const auto& row1 = velocityMode ? VelocityUnits() : DischargeUnits();
  const auto& other = velocityMode ? DischargeUnits() : VelocityUnits();
  auto fill = [](ComboBox& c, const std::vector<std::string>& items, int position) {
    c.Clear();
    c.AddItems(items);
    c.SetListIndex(position);
  };
  fill(s.cboVelDis1, row1, 0);
  fill(s.cboDepth, LengthUnits(), kMeters);
  fill(s.cboDiam, LengthUnits(), kMeters);
  fill(s.cboSide, SideSlopeUnits(), kRatio);
  fill(s.cboSlope, SlopeUnits(), kPerOne);
  fill(s.cboVelDis2, other, 0);
  fill(s.cboArea, AreaUnits(), kSquareMeters);
  const bool sideAlternate = section == kTrapezoid || section == kGutter;
  fill(s.cboDDS, sideAlternate ? SideSlopeUnits() : LengthUnits(),
       sideAlternate ? kRatio : kMeters);
  fill(s.cboArea2, AreaUnits(), kSquareMeters);
  fill(s.cboVelDis3, other, 0);
}

inline void SelectUnknown(CalculationSheet& s, Solve unknown) {
  switch (unknown) {
    case Solve::Row1:
      s.optVelDis1.SetValue(true);
      break;
    case Solve::Depth:
      s.optDepth.SetValue(true);
      break;
    case Solve::Diam:
      s.optDiam.SetValue(true);
      break;
    case Solve::Side:
      s.optSide.SetValue(true);
      break;
    case Solve::Slope:
      s.optSlope.SetValue(true);
      break;
    case Solve::Manning:
      s.optManning.SetValue(true);
      break;
  }
}

/// The texts of the Solve-For rows, in base units.
struct Inputs {
  std::string row1, depth, diam, side, slope, manning;
};

inline void SetInputs(CalculationSheet& s, const Inputs& in) {
  s.txtVelDis1.SetText(in.row1);
  s.txtDepth.SetText(in.depth);
  s.txtDiam.SetText(in.diam);
  s.txtSide.SetText(in.side);
  s.txtSlope.SetText(in.slope);
  s.txtManning.SetText(in.manning);
}

}  // namespace rivulet::testing
