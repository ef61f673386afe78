#include "core/hydraulics/sheet_text.h"

#include <initializer_list>

#include "core/hydraulics/solver.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Manning's n in this open range is written with the n pattern, elsewhere as a plain number.
constexpr double kManningPatternLow = 0.000999999;
constexpr double kManningPatternHigh = 1;

}  // namespace

std::string LengthText(double v, const ComboBox& unit) {
  return FormatNumber(ConvertLength(v, unit.ListIndex(), kFromBase));
}
std::string AreaText(double v, const ComboBox& unit) {
  return FormatNumber(ConvertArea(v, unit.ListIndex(), kFromBase));
}
std::string VelocityText(double v, const ComboBox& unit) {
  return FormatNumber(ConvertVelocity(v, unit.ListIndex(), kFromBase));
}
std::string DischargeText(double v, const ComboBox& unit) {
  return FormatNumber(ConvertDischarge(v, unit.ListIndex(), kFromBase));
}
std::string SideSlopeText(double v, const ComboBox& unit, double pi) {
  return FormatNumber(ConvertSideSlope(v, unit.ListIndex(), kFromBase, pi));
}
std::string ManningText(double n) {
  if (n > kManningPatternLow && n < kManningPatternHigh) return FormatManningPattern(n);
  return FormatNumber(n);
}

void EnableAlternates(CalculationSheet& sheet) {
  for (Control* c :
       std::initializer_list<Control*>{&sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2,
                                       &sheet.txtDDS, &sheet.txtVelDis3, &sheet.txtArea2})
    c->SetEnabled(true);
}

void ClearAlternates(CalculationSheet& sheet) {
  sheet.txtDDS.SetText("");
  sheet.txtVelDis3.SetText("");
  sheet.txtArea2.SetText("");
  for (Control* c :
       std::initializer_list<Control*>{&sheet.txtDDS, &sheet.txtVelDis3, &sheet.txtArea2,
                                       &sheet.lblDDS, &sheet.lblVelDis3, &sheet.lblArea2})
    c->SetEnabled(false);
}

}  // namespace rivulet
