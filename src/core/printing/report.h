// The results report: a fixed-width text page (70 columns, 10 of them margin) made from
// the sheet as it stands, the print window's comments and its file-name choice.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr int kReportMargin = 10;
inline constexpr int kReportBodyWidth = 60;

/// A rule of c across the report's body, after its margin.
inline std::string ReportRule(char c) {
  return std::string(kReportMargin, ' ') + std::string(kReportBodyWidth, c);
}

/// What the print window adds to the sheet.
struct ReportExtras {
  std::array<std::string, 5> comments;
  bool printFileName = false;
};

/// The report's lines, without line ends.
std::vector<std::string> ReportLines(frmRivulet& form, const ReportExtras& extras);

/// The disclaimer set as ten justified lines of 60 characters.
const std::vector<std::string>& DisclaimerLines();

}  // namespace rivulet
