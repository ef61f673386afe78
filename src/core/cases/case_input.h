// One row of the case table read into a calculation: the section, the unknown, the values
// as typed and the unit list positions, checked cell by cell with messages naming the column.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hydraulics/section_kind.h"

namespace rivulet {

/// The columns the case table reads, in the order the table shows them.
enum class CaseField {
  Name,
  Section,
  SolveFor,
  RunningFull,
  Flow,
  FlowUnit,
  Depth,
  DepthUnit,
  Width,
  WidthUnit,
  SideSlope,
  SideSlopeUnit,
  Slope,
  SlopeUnit,
  ManningsN,
  // Units of the results; an empty or missing cell keeps the start sheet's.
  OtherFlowUnit,
  AreaUnit,
  AltValueUnit,
  AltFlowUnit,
  AltAreaUnit,
};
inline constexpr size_t kCaseFieldCount = 20;

/// The column name of a field ("solveFor").
const char* CaseFieldName(CaseField field);

/// A row's cells by field; a column the table lacks reads as "".
using CaseCells = std::array<std::string_view, kCaseFieldCount>;

/// The quantity solved for.
enum class CaseUnknown { Velocity, Discharge, Depth, Diameter, Width, SideSlope, Slope, ManningsN };

/// The words of the section and solveFor columns, in list order.
const std::vector<std::string>& CaseSectionWords();
const std::vector<std::string>& CaseUnknownWords();

/// A row ready for the sheet. Texts go into the boxes as typed; "" where a value is the
/// unknown or does not apply to the section. A unit position left empty keeps the start
/// sheet's.
struct CaseInput {
  int section = 0;  ///< position in the section list
  CaseUnknown unknown = CaseUnknown::Velocity;
  bool runningFull = false;
  /// True: velocity in the first row, discharge among the other values.
  bool velocityMode = true;
  std::string flow, depth, width, sideSlope, slope, manningsN;
  std::optional<int> flowUnit, depthUnit, widthUnit, sideSlopeUnit, slopeUnit;
  std::optional<int> otherFlowUnit, areaUnit, altValueUnit, altFlowUnit, altAreaUnit;
};

/// A row read and checked: the calculation, or the message of the first cell at fault.
struct ParsedCase {
  std::optional<CaseInput> caseInput;
  std::string error;
};

/// Reads a row's cells. startVelocityMode is the start sheet's mode, which holds when
/// neither the unknown nor a flow unit says which mode the row is in.
ParsedCase ParseCase(const CaseCells& cells, bool startVelocityMode);

/// True when the section's pipe, so that the alternate row is a depth and the lock exists.
inline bool IsPipeSection(int section) { return SectionKindAt(section) == SectionKind::Pipe; }
/// The alternate value is a side slope for a trapezoid and a gutter, else a length.
inline bool AltIsSideSlope(int section) {
  const SectionKind kind = SectionKindAt(section);
  return kind == SectionKind::Trapezoid || kind == SectionKind::Gutter;
}

}  // namespace rivulet
