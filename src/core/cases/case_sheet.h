// A case on the calculation sheet: each row gets a sheet started as the program starts
// it, takes its values in the order a calculation file gives them, and is calculated.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/cases/case_input.h"
#include "core/shell/services.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// How every row's sheet starts: the built-in defaults, then the defaults file, read once
/// so that a table of many rows touches the disk once.
class CaseStart {
 public:
  /// Looks for the defaults file where the program does.
  explicit CaseStart(StartupValues startup);
  /// The built-in defaults and no file.
  static CaseStart BuiltIn(StartupValues startup);

  const StartupValues& Startup() const { return startup_; }
  /// True when the start sheet has velocity in its first row.
  bool VelocityMode() const { return velocityMode_; }

  /// Runs the sheet's start-up (Form_Load) with the defaults read at construction.
  void Load(frmRivulet& form) const;

 private:
  CaseStart(StartupValues startup, bool fileFound, std::optional<std::vector<std::string>> lines);

  StartupValues startup_;
  bool fileFound_ = false;
  std::optional<std::vector<std::string>> lines_;
  bool velocityMode_ = true;
};

/// Services of a row's sheet: message boxes are kept, dialogs cancelled.
class CaseServices : public HeadlessServices {
 public:
  std::vector<Message> messages;

  void MessageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
    messages.push_back({text, title, icon});
  }
};

/// Puts the case on the sheet (section, mode, then each row of values and the result
/// units, as a calculation file is read) without calculating.
void ApplyCase(frmRivulet& form, const CaseInput& caseInput);

/// A detail of the flow as the sheet's details table gives it.
struct CaseDetail {
  std::string key;
  std::string text;  ///< "" when the figure does not exist
  std::string unit;  ///< "" when it has none or does not exist
};

/// What a calculated row shows. The result texts are empty unless the status is
/// "Calculations Complete!".
struct CaseOutcome {
  std::string status;
  std::vector<Message> messages;
  bool solved = false;
  std::string unknownText, unknownUnit;
  std::string area, areaUnit;
  std::string otherFlow, otherFlowUnit;
  std::string altValue, altValueUnit, altFlow, altFlowUnit, altArea, altAreaUnit;
  /// The unit texts the inputs were read in (the start sheet's where a cell was empty).
  std::string flowUnit, depthUnit, widthUnit, sideSlopeUnit, slopeUnit;
  std::vector<CaseDetail> details;
  /// For a pipe asked for more than it carries running full: what was asked, the capacity
  /// and which results are at capacity. Empty otherwise.
  std::string surcharge;
};

/// The keys of the flow details a row reports, in column order.
const std::vector<std::string>& CaseDetailKeys();

/// Calculates one case on a fresh sheet.
CaseOutcome RunCase(const CaseStart& start, const CaseInput& caseInput, bool withDetails);

/// The outcome of a sheet that has been calculated.
CaseOutcome OutcomeOf(const frmRivulet& form, const CaseInput& caseInput, bool withDetails);

}  // namespace rivulet
