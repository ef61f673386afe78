// Calculate: the input checks, the solve and the running-full re-solve, apart from the
// sheet's set-up and edit handling.
#include <cctype>
#include <cmath>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/manning_check.h"
#include "core/hydraulics/sheet_reader.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/window/flow_details_table.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {
namespace {

constexpr char kNote[] =
    "Note:  You must select the variable to solve for, by clicking it before you click "
    "'Calculate'.  The variable which will be calculated will have a dot beside it, and the "
    "cell where the value is to be calculated will appear highlighted in yellow.";

// The value of an input box as the checks see it. A number too large for a double (read
// as the largest one), too small to be held to full precision (subnormal) or not finite
// reads as NaN, which fails every check with the field's own message.
double InputValue(const std::string& text) {
  const double v = ReadNumber(text);
  if (!std::isfinite(v) || std::fabs(v) == std::numeric_limits<double>::max() ||
      std::fpclassify(v) == FP_SUBNORMAL)
    return std::numeric_limits<double>::quiet_NaN();
  return v;
}

// Whether the text begins with a number at all (blanks and a sign allowed before it).
bool HasLeadingNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  if (text[i] == '+' || text[i] == '-') ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

void ClearFailedResults(frmRivulet& form) {
  // Whatever a failed search left in the result boxes is no answer; the inputs stay.
  if (OptionButton* unknown = form.solveFor.Selected()) {
    for (auto [option, box] :
         {std::pair<OptionButton*, TextBox*>{&form.optVelDis1, &form.txtVelDis1},
          {&form.optDepth, &form.txtDepth},
          {&form.optDiam, &form.txtDiam},
          {&form.optSide, &form.txtSide},
          {&form.optSlope, &form.txtSlope},
          {&form.optManning, &form.txtManning}})
      if (option == unknown) box->SetText("");
  }
  form.txtVelDis2.SetText("");
  form.txtArea.SetText("");
  ClearAlternates(form);
}

}  // namespace

bool frmRivulet::CheckInputs() {
  auto fail = [this](const std::string& message) {
    services_.MessageBox(message, "Oops!", MessageIcon::Exclamation);
    services_.MessageBox(kNote, kProductName, MessageIcon::Exclamation);
    return false;
  };
  const SectionKind section = SectionOf(*this);
  if (!optVelDis1.Value() && !(InputValue(txtVelDis1.Text()) > 0)) {
    return fail(VelocityGiven() ? "Invalid value for velocity:  values should be greater than 0."
                                : "Invalid value for discharge:  values should be greater than 0.");
  }
  // A lock left checked on a pipe stays checked, hidden, when another section is chosen;
  // it must not let a negative depth through there, where nothing mirrors the diameter.
  const bool depthLocked = chkLocDiam.Value() == 1 && chkLocDiam.Visible();
  if (!depthLocked && !optDepth.Value() && !(InputValue(txtDepth.Text()) > 0))
    return fail("Invalid value for depth:  values should be greater than 0.");
  if (!optDiam.Value()) {
    const double d = InputValue(txtDiam.Text());
    if (section == SectionKind::Pipe && !(d > 0))
      return fail("Invalid Value for diameter:  values for this section should be greater than 0.");
    if (section == SectionKind::Rectangle && !(d > 0))
      return fail("Invalid value for width:  values for this section should be greater than 0.");
    if (HasSideSlope(section) && !(d >= 0))
      return fail(
          "Invalid value for width:  values for this section should be greater than or equal "
          "to 0.");
  }
  // A file may leave the section or the side-slope unit at "none" (-1). The solver then
  // works a gutter and takes the number as x per 1, so the check does the same.
  if (HasSideSlope(section) && !optSide.Value()) {
    const double z = InputValue(txtSide.Text());
    switch (cboSide.ListIndex()) {
      case 0:
      default:
        if (!(z >= 0))
          return fail(
              "Invalid value for side slope: X values should be greater than or equal to zero.");
        break;
      case 1:
        if (!(z > 0))
          return fail("Invalid value for side slope: Y values should be greater than zero.");
        break;
      case 2:
        if (!(z > 0 && z <= 90))
          return fail(
              "Invalid value for side slope: Outside angle should be greater than zero and less "
              "than or equal to 90.");
        break;
    }
  }
  if (!optSlope.Value()) {
    // An empty box is no slope at all, not a level channel.
    if (!HasLeadingNumber(txtSlope.Text()))
      return fail("Invalid value for Slope:  the channel slope is empty or not a number.");
    const double s = InputValue(txtSlope.Text());
    if (!(s >= 0)) return fail("Invalid value for Slope.");
    // Nothing flows down a level channel, so no depth, size or roughness carries a flow.
    if (s == 0 && !optVelDis1.Value())
      return fail(std::string("Invalid value for Slope:  with a channel slope of 0 nothing ") +
                  "flows, so no solution gives a " + (VelocityGiven() ? "velocity" : "discharge") +
                  " greater than 0.");
  }
  if (!optManning.Value() && !(InputValue(txtManning.Text()) > 0))
    return fail("Invalid value for Manning's n-value.");
  return true;
}

void frmRivulet::cmdCalculate_Click() {
  hydraulics_.noSolution = false;
  if (!CheckInputs()) return;
  txtDDS.SetText("");
  txtArea2.SetText("");
  txtVelDis3.SetText("");
  SetStatus(kStatusThinking, kStatusOrange, ResultsState::None);
  lastSolve_.reset();
  calculating_ = true;
  const bool velocityMode = VelocityGiven();
  // What row 1 asked for, in base units, before the running-full re-solve overwrites it.
  std::optional<double> asked;
  if (!optVelDis1.Value()) {
    try {
      asked = ReadFlow(*this);
    } catch (const ArithmeticFault&) {
    }
  }
  SolveManning(*this, hydraulics_, services_);
  if (txtDDS.Text().empty()) {
    txtDDS.SetText("N/A");
    txtVelDis3.SetText("N/A");
    txtArea2.SetText("N/A");
  }
  const bool ranFull = RunningFull();
  // Whatever path found it, a solution that does not satisfy Manning's equation with its
  // inputs (numbers that underflowed to a dry channel, a step that kept a typed value) is
  // no solution.
  if (!hydraulics_.noSolution && !SatisfiesManning(hydraulics_.last, hydraulics_.pi)) {
    hydraulics_.last = {};
    hydraulics_.noSolution = true;
    ClearFailedResults(*this);  // before the box, so that the screen under it is clear
    services_.MessageBox(kNoSolutionMessage, kProductName, MessageIcon::None);
  }
  if (hydraulics_.noSolution) {
    ClearFailedResults(*this);
    calculating_ = false;
    SetStatus(kStatusNoSolution, kStatusOrange, ResultsState::Failed);
  } else {
    if (mnuOptionsFix.Checked()) FixResults();
    lastSolve_ = CompletedSolve{hydraulics_.last, std::nullopt, std::nullopt};
    if (ranFull && asked)
      (velocityMode ? lastSolve_->requestedVelocity : lastSolve_->requestedDischarge) = *asked;
    calculating_ = false;
    SetStatus(kStatusComplete, kStatusGreen, ResultsState::Current);
  }
}

bool frmRivulet::RunningFull() {
  double diameter = 0, depth = 0;
  try {
    diameter = ReadDiameterRow(*this);
    depth = ReadDepth(*this);
  } catch (const ArithmeticFault&) {
    return false;  // lengths beyond the range of a double cannot describe a pipe
  }
  if (!(diameter <= depth) || SectionOf(*this) != SectionKind::Pipe || chkLocDiam.Value() == 1)
    return false;

  std::string depthText;
  try {
    depthText = FormatNumber(ConvertLength(diameter, cboDepth.ListIndex(), kFromBase));
  } catch (const ArithmeticFault&) {
    return false;
  }
  OptionButton* unknown = solveFor.Selected();
  const std::string flowTyped = txtVelDis1.Text();
  const std::string depthTyped = txtDepth.Text();
  optVelDis1.SetValue(true);
  txtDepth.SetText(depthText);
  SolveManning(*this, hydraulics_, services_);
  // The re-solve wrote the pipe's full-flow capacity into the first row; the inputs keep
  // what was typed, so a second Calculate solves the same case. The capacity is a result.
  if (unknown != &optVelDis1) txtVelDis1.SetText(flowTyped);
  if (unknown != &optDepth) txtDepth.SetText(depthTyped);
  if (unknown) unknown->SetValue(true);
  // Under the caution the sheet already shows what was typed, not the re-solve's working.
  services_.MessageBox(
      "Caution!  Pipe may be surcharged.  Manning's equation has been solved for the "
      "'Running-full' condition.",
      "Caution!", MessageIcon::Exclamation);
  return true;
}

}  // namespace rivulet
