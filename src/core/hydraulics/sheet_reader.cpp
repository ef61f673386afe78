#include "core/hydraulics/sheet_reader.h"

#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {

SectionKind SectionOf(const CalculationSheet& sheet) {
  return SectionKindAt(sheet.cboSection.ListIndex());
}

double ReadFlow(const CalculationSheet& sheet) {
  const double typed = ReadNumber(sheet.txtVelDis1.Text());
  const int unit = sheet.cboVelDis1.ListIndex();
  return sheet.VelocityGiven() ? ConvertVelocity(typed, unit, kToBase)
                               : ConvertDischarge(typed, unit, kToBase);
}

double ReadDepth(const CalculationSheet& sheet) {
  return ConvertLength(ReadNumber(sheet.txtDepth.Text()), sheet.cboDepth.ListIndex(), kToBase);
}

double ReadDiameterRow(const CalculationSheet& sheet) {
  return ConvertLength(ReadNumber(sheet.txtDiam.Text()), sheet.cboDiam.ListIndex(), kToBase);
}

double ReadSideSlope(const CalculationSheet& sheet, double pi) {
  return ConvertSideSlope(ReadNumber(sheet.txtSide.Text()), sheet.cboSide.ListIndex(), kToBase, pi);
}

double ReadSlope(const CalculationSheet& sheet) {
  return ConvertSlope(ReadNumber(sheet.txtSlope.Text()), sheet.cboSlope.ListIndex(), kToBase);
}

double ReadManningN(const CalculationSheet& sheet) { return ReadNumber(sheet.txtManning.Text()); }

}  // namespace rivulet
