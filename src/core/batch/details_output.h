// The flow details in batch output: a block of report lines, and a JSON object with
// every input, result, alternate and detail of a calculation, each with its unit.
#pragma once

#include <string>
#include <vector>

#include "core/design/design_settings.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// The details block that follows a report: fixed-width lines in the report's margin,
/// the alternate solution after the primary one, a pipe's capacity in words, and the design
/// checks under the settings when they are given. Figures with `digits` significant digits
/// when above 0, else as the sheet writes them.
std::vector<std::string> DetailsReportLines(const frmRivulet& form,
                                            const DesignSettings* design = nullptr, int digits = 0);

/// One line of JSON describing the sheet as it stands, opened from file, with its design
/// checks under the settings when they are given.
std::string CalculationJson(const frmRivulet& form, const std::string& file,
                            const DesignSettings* design = nullptr);

}  // namespace rivulet
