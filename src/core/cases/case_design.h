// The design checks and the next standard size of each row of a case table, for the printed
// table: a storm-sewer design sheet lists them beside every pipe.
#pragma once

#include <string>
#include <vector>

#include "core/cases/case_document.h"
#include "core/cases/case_sheet.h"
#include "core/design/design_settings.h"

namespace rivulet {

struct CaseDesignCells {
  /// "Meets the limits", "Warn: nearCritical" or "Fail: " with the failed checks' names; ""
  /// for a row that does not solve.
  std::string checks;
  /// The standard size with its unit and list ("450 mm, Metric DN (mm)"), or why there is
  /// none; "" for an open channel.
  std::string standardSize;
};

/// Each row put on a sheet of its own started from start, calculated as the table calculates
/// it, and checked under settings.
std::vector<CaseDesignCells> CaseDesigns(const CaseDocument& document,
                                         const std::vector<size_t>& rows, const CaseStart& start,
                                         const DesignSettings& settings);

}  // namespace rivulet
