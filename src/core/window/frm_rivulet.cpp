#include "core/window/frm_rivulet.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/manning_check.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/shell/utf8_text.h"

namespace rivulet {
namespace {

constexpr char kSolveTip[] = "Click here to solve for this variable";

void Fill(ComboBox& box, const std::vector<std::string>& entries, int position) {
  box.Clear();
  box.AddItems(entries);
  box.SetListIndex(position);
}

}  // namespace

frmRivulet::frmRivulet(Services& services, StartupValues startup)
    : services_(services), startup_(std::move(startup)) {
  InitialiseControls();
  WireHandlers();
}

std::string frmRivulet::BaseTitle() const {
  return std::string(kProductName) + " - Ver. " + startup_.version;
}

void frmRivulet::InitialiseControls() {
  title_ = BaseTitle();
  lblSection.SetCaption("Channel Section:");
  cmdSection.SetCaption("View Drawing");
  fraSolve.SetCaption("Solve For");
  fraOther.SetCaption("Other Values");

  optVelDis1.SetCaption("Velocity");
  optDepth.SetCaption("Depth");
  optDiam.SetCaption("Diameter");
  optSide.SetCaption("Side Slope");
  optSlope.SetCaption("Channel Slope");
  optManning.SetCaption("Manning's  N");
  for (OptionButton* b : solveFor.Buttons()) b->SetToolTip(kSolveTip);
  for (TextBox* t : {&txtVelDis1, &txtDepth, &txtDiam, &txtSide, &txtSlope, &txtManning})
    t->SetMaxLength(kValueLength);
  optVelDis1.SetToolTip(
      "Click here to solve for this variable - to switch between velocity and discharge, "
      "click the small button in the \"Other Values\" section");
  // Selected at creation; no handler has run yet, so the highlight is set here.
  optVelDis1.SetValue(true);
  txtVelDis1.SetBackColour(kHighlightYellow);
  chkLocDiam.SetToolTip(
      "Click here to set the depth equal to the diameter.  This is useful when computing "
      "for \"running-full\" conditions.");
  cmdManning.SetCaption("Look Up Table");

  cmdVelDis.SetToolTip(
      "Chick here to switch between \"Discharge\" and \"Velocity\" in the \"Solve For\" "
      "section.");
  lblVelDis2.SetCaption("Discharge");
  lblArea.SetCaption("Flow Area");
  lblDDS.SetCaption("Alt. Depth");
  lblVelDis3.SetCaption("Alt. Discharge");
  lblArea2.SetCaption("Alt. Flow Area");
  for (TextBox* t : {&txtVelDis2, &txtArea, &txtDDS, &txtVelDis3, &txtArea2}) t->SetReadOnly(true);
  txtVelDis2.SetBackColour(kHighlightYellow);
  txtArea.SetBackColour(kHighlightYellow);
  for (TextBox* t : {&txtDDS, &txtVelDis3, &txtArea2}) t->SetBackColour(Colour::Tooltip());
  for (Control* c : std::initializer_list<Control*>{&lblDDS, &lblVelDis3, &lblArea2, &txtDDS,
                                                    &txtVelDis3, &txtArea2})
    c->SetEnabled(false);

  cmdCalculate.SetCaption("Calculate");
  txtStatus.SetReadOnly(true);
  txtStatus.SetText(kStatusWelcome);
  txtStatus.SetBackColour(kStatusWelcomeColour);
  txtStatus.SetForeColour(kStatusNavy);
}

void frmRivulet::WireHandlers() {
  cboSection.onClick = [this] { cboSection_Click(); };
  optVelDis1.onClick = [this] { OptionClick(txtVelDis1, false); };
  optDepth.onClick = [this] { OptionClick(txtDepth, true); };
  optDiam.onClick = [this] { OptionClick(txtDiam, true); };
  optSide.onClick = [this] { OptionClick(txtSide, true); };
  optSlope.onClick = [this] { OptionClick(txtSlope, false); };
  optManning.onClick = [this] { OptionClick(txtManning, false); };
  chkLocDiam.onClick = [this] { chkLocDiam_Click(); };
  cmdVelDis.onClick = [this] { cmdVelDis_Click(); };
  cmdCalculate.onClick = [this] { cmdCalculate_Click(); };
  mnuCalculate.onClick = [this] { mnuCalculate_Click(); };
  mnuOptionsFix.onClick = [this] { mnuOptionsFix_Click(); };
  mnuFlowDetails.onClick = [this] { mnuFlowDetails_Click(); };

  for (TextBox* t : {&txtVelDis1, &txtDepth, &txtSide, &txtSlope, &txtManning})
    t->onChange = [this, t] { NumericFilter(*t); };
  txtDiam.onChange = [this] { txtDiam_Change(); };
  for (TextBox* t : {&txtVelDis2, &txtArea, &txtArea2}) t->onChange = [this] { Changes(); };
  // The alternate rows' units too: a number left under a unit it was not computed in is
  // not a result.
  for (ComboBox* c : {&cboVelDis1, &cboDepth, &cboSide, &cboSlope, &cboVelDis2, &cboArea, &cboArea2,
                      &cboDDS, &cboVelDis3})
    c->onClick = [this] {
      Touch();
      Changes();
    };
  cboDiam.onClick = [this] { cboDiam_Click(); };
}

void frmRivulet::Form_Load() {
  hydraulics_.pi = 4 * std::atan(1.0);
  title_ = BaseTitle();
  Fill(cboSection, SectionNames(), ListPosition(SectionKind::Pipe));
  Fill(cboVelDis1, VelocityUnits(), 0);
  Fill(cboDepth, LengthUnits(), 2);
  Fill(cboDiam, LengthUnits(), 2);
  Fill(cboSide, SideSlopeUnits(), 2);
  Fill(cboSlope, SlopeUnits(), 0);
  Fill(cboVelDis2, DischargeUnits(), 0);
  Fill(cboArea, AreaUnits(), 2);
  Fill(cboDDS, LengthUnits(), 2);
  Fill(cboArea2, AreaUnits(), 2);
  Fill(cboVelDis3, DischargeUnits(), 0);
  if (defaultsFileExists && defaultsFileExists()) mnuOptionsApplyDefaults.Click();
  if (SectionOf(*this) == SectionKind::Pipe) {
    chkLocDiam.SetVisible(true);
    chkLocDiam.SetValue(0);
  }
  modified_ = false;
}

std::vector<MenuNode> frmRivulet::MenuBar() {
  auto items = [](std::initializer_list<MenuItem*> list) {
    std::vector<MenuNode> nodes;
    for (MenuItem* m : list) nodes.push_back({m, {}});
    return nodes;
  };
  MenuNode links{&mnuLinks, items({&mnuLinksTarnHome, &mnuLinksRV, &mnuTarnEmail})};
  std::vector<MenuNode> help;
  help.push_back({&mnuHelpContents, {}});
  help.push_back(links);
  help.push_back({&mnuSPC1, {}});
  help.push_back({&mnuAbout, {}});
  return {
      {&mnuFile, items({&mnuNew, &mnuOpen, &mnuSave, &mnuSaveAs, &mnuPrintBreak, &mnuPrint,
                        &mnuPrintSetup, &mnuBreak2, &mnuCalculate, &mnuBreak0, &mnuExit})},
      {&mnuEdit, items({&mnuCut, &mnuCopy, &mnuPaste})},
      {&mnuView, items({&mnuCircle, &mnuRectangle, &mnuTrapezoid, &mnuTriangle, &mnuGutter,
                        &mnuDetailsBreak, &mnuFlowDetails, &mnuRatingTable})},
      {&mnuOptions,
       items({&mnuOptionsRestoreDefaults, &mnuOptionsApplyDefaults, &mnuOptionsWriteDefaults,
              &mnuOptionsFix, &mnuOptionsDesignBreak, &mnuOptionsDesign})},
      {&mnuTools, items({&mnuCaseTable})},
      {&mnuHelp, help},
  };
}

std::vector<Control*> frmRivulet::TabOrder() {
  // The lock right after the diameter it locks; the status line is read, not typed in.
  return {&cboSection, &cmdSection, &optVelDis1, &optDepth, &optDiam,     &optSide,    &optSlope,
          &optManning, &txtVelDis1, &cboVelDis1, &txtDepth, &cboDepth,    &txtDiam,    &chkLocDiam,
          &cboDiam,    &txtSide,    &cboSide,    &txtSlope, &cboSlope,    &txtManning, &cmdManning,
          &cmdVelDis,  &txtVelDis2, &cboVelDis2, &txtArea,  &cboArea,     &txtDDS,     &cboDDS,
          &txtVelDis3, &cboVelDis3, &txtArea2,   &cboArea2, &cmdCalculate};
}

// ---- Section, unknown and mode switching ----

void frmRivulet::cboSection_Click() {
  // The results shown belong to the section they were computed for.
  Touch();
  Changes();
  optDiam.SetEnabled(true);
  txtDiam.SetEnabled(true);
  optDiam.SetCaption("Width");
  cboDiam.SetEnabled(true);
  optSide.SetEnabled(true);
  txtSide.SetEnabled(true);
  cboSide.SetEnabled(true);

  // A width or side slope the new section cannot have hands the unknown to its neighbour.
  auto moveSideToDiam = [this] {
    if (optSide.Value()) {
      optDiam.onClick();
      optSide.SetValue(false);
      optDiam.SetValue(true);
    }
  };
  auto disableSide = [this] {
    optSide.SetEnabled(false);
    txtSide.SetEnabled(false);
    txtSide.SetText("");
    cboSide.SetEnabled(false);
  };
  switch (SectionOf(*this)) {
    case SectionKind::Pipe:
      optDiam.SetCaption("Diameter");
      moveSideToDiam();
      disableSide();
      chkLocDiam.SetVisible(true);
      chkLocDiam.SetValue(0);
      optDepth.SetEnabled(true);
      txtDepth.SetEnabled(true);
      break;
    case SectionKind::Rectangle:
      moveSideToDiam();
      disableSide();
      chkLocDiam.SetVisible(false);
      optDepth.SetEnabled(true);
      txtDepth.SetEnabled(true);
      cboDepth.SetEnabled(true);
      break;
    case SectionKind::Triangle:
      if (optDiam.Value()) {
        optSide.onClick();
        optSide.SetValue(true);
        optDiam.SetValue(false);
      }
      optDiam.SetEnabled(false);
      txtDiam.SetEnabled(false);
      txtDiam.SetText("");
      cboDiam.SetEnabled(false);
      chkLocDiam.SetVisible(false);
      optDepth.SetEnabled(true);
      txtDepth.SetEnabled(true);
      cboDepth.SetEnabled(true);
      break;
    case SectionKind::Trapezoid:
    case SectionKind::Gutter:
      chkLocDiam.SetVisible(false);
      optDepth.SetEnabled(true);
      txtDepth.SetEnabled(true);
      cboDepth.SetEnabled(true);
      break;
  }
  SetAltDepthRow();
}

void frmRivulet::SetAltDepthRow() {
  // By list position: a list left at none keeps what the last section left.
  switch (cboSection.ListIndex()) {
    case ListPosition(SectionKind::Pipe):
      lblDDS.SetCaption(optDiam.Value() ? "Alt. Diameter" : "Alt. Depth");
      Fill(cboDDS, LengthUnits(), 2);
      break;
    case ListPosition(SectionKind::Trapezoid):
    case ListPosition(SectionKind::Gutter):
      lblDDS.SetCaption("Alt. Side Slope");
      Fill(cboDDS, SideSlopeUnits(), 2);
      break;
    default:  // the rectangle and the triangle keep what the last section left
      break;
  }
}

void frmRivulet::HighlightUnknown() {
  // The solver takes a sheet with no unknown selected as solving for n; show it so.
  if (!solveFor.Selected()) optManning.SetValue(true);
  TextBox* boxes[] = {&txtVelDis1, &txtDepth, &txtDiam, &txtSide, &txtSlope, &txtManning};
  const std::vector<OptionButton*>& buttons = solveFor.Buttons();
  for (size_t i = 0; i < buttons.size(); ++i)
    boxes[i]->SetBackColour(buttons[i]->Value() ? kHighlightYellow : Colour::Window());
  if (chkLocDiam.Value() == 1) txtDepth.SetBackColour(kHighlightYellow);
}

void frmRivulet::ClearHighlights() {
  for (TextBox* t : {&txtVelDis1, &txtDepth, &txtDiam, &txtSide, &txtSlope, &txtManning})
    t->SetBackColour(Colour::Window());
}

void frmRivulet::OptionClick(TextBox& box, bool altDepthRow) {
  Touch();
  ClearHighlights();
  box.SetBackColour(kHighlightYellow);
  if (altDepthRow) SetAltDepthRow();
}

void frmRivulet::chkLocDiam_Click() {
  if (chkLocDiam.Value() == 1) {
    optDepth.SetEnabled(false);
    txtDepth.SetEnabled(false);
    txtDepth.SetBackColour(kHighlightYellow);
    cboDepth.SetEnabled(false);
    if (optDepth.Value()) optDiam.SetValue(true);
    cboDepth.SetListIndex(cboDiam.ListIndex());
    txtDepth.SetText(txtDiam.Text());
  } else {
    optDepth.SetEnabled(true);
    txtDepth.SetEnabled(true);
    cboDepth.SetEnabled(true);
    txtDepth.SetBackColour(Colour::Window());
  }
}

void frmRivulet::cmdVelDis_Click() {
  Touch();
  Changes();
  const bool velocityWasGiven = VelocityGiven();
  const std::string c1 = optVelDis1.Caption();
  const std::string c2 = lblVelDis2.Caption();
  const int p1 = cboVelDis1.ListIndex();
  const int p2 = cboVelDis2.ListIndex();
  const std::string t2 = txtVelDis2.Text();

  cboVelDis1.Clear();
  cboVelDis2.Clear();
  // Each quantity keeps its unit as it moves to the other row.
  if (velocityWasGiven) {
    cboVelDis2.AddItems(VelocityUnits());
    cboVelDis2.SetListIndex(p1);
    cboVelDis1.AddItems(DischargeUnits());
    cboVelDis1.SetListIndex(p2);
  } else {
    cboVelDis1.AddItems(VelocityUnits());
    cboVelDis1.SetListIndex(p2);
    cboVelDis2.AddItems(DischargeUnits());
    cboVelDis2.SetListIndex(p1);
  }
  optVelDis1.SetCaption(c2);
  lblVelDis2.SetCaption(c1);
  txtVelDis2.SetText(txtVelDis1.Text());
  txtVelDis1.SetText(t2);

  cboVelDis3.Clear();
  if (VelocityGiven()) {
    lblVelDis3.SetCaption("Alt. Discharge");
    cboVelDis3.AddItems(DischargeUnits());
  } else {
    lblVelDis3.SetCaption("Alt. Velocity");
    cboVelDis3.AddItems(VelocityUnits());
  }
  cboVelDis3.SetListIndex(cboVelDis2.ListIndex());
}

// ---- Edit tracking and result formatting ----

void frmRivulet::Changes() {
  if (results_ == ResultsState::Current)
    SetStatus(kStatusModified, kStatusPink, ResultsState::Modified);
}

void frmRivulet::NumericFilter(TextBox& box) {
  Touch();
  const std::string typed = box.Text();
  if (typed.empty() || IsNumberBeingTyped(typed)) {
    Changes();
    return;
  }
  long cuts = 0;
  std::string text = NumericInputText(typed, &cuts);
  // Cuts take characters from the end of the text as it was typed, commas read as points.
  std::string asTyped = typed;
  std::replace(asTyped.begin(), asTyped.end(), ',', '.');
  if (cuts > 0 && asTyped.compare(0, text.size(), text) == 0) {
    std::string dropped = asTyped.substr(text.size());
    if (dropped.size() > 40) dropped = dropped.substr(0, 40) + "...";
    inputNote = "Not part of a number, dropped: \"" + dropped + "\"";
  }
  box.SetText(text);
  box.SetSelection(static_cast<int>(box.Text().size()), 0);
  // The End key is idempotent, so a very long cut needs no more than a few of them.
  for (long i = 0; i < std::min(cuts, 1000L); ++i) services_.SendEndKey();
}

void frmRivulet::txtDiam_Change() {
  NumericFilter(txtDiam);
  if (chkLocDiam.Value() == 1 && SectionOf(*this) == SectionKind::Pipe)
    txtDepth.SetText(txtDiam.Text());
}

void frmRivulet::cboDiam_Click() {
  Touch();
  Changes();
  if (chkLocDiam.Value() == 1 && chkLocDiam.Visible()) cboDepth.SetListIndex(cboDiam.ListIndex());
}

void frmRivulet::FixResults() {
  auto fix = [](TextBox& box, bool onlyIfPositive) {
    const std::string& text = box.Text();
    if (text.empty()) return;
    const double v = ReadNumber(text);
    if (onlyIfPositive && !(v > 0)) return;
    box.SetText(FormatFixed3(v));
  };
  // Only what Calculate computed is rounded: rounding an input (an n of 0.0135, a slope of
  // 0.0004 per 1) would change the next calculation's answer.
  if (optVelDis1.Value()) fix(txtVelDis1, false);
  if (optDiam.Value()) fix(txtDiam, true);
  if (optDepth.Value()) fix(txtDepth, false);
  if (optSide.Value()) fix(txtSide, true);
  if (optSlope.Value()) fix(txtSlope, false);
  if (optManning.Value()) fix(txtManning, false);
  fix(txtVelDis2, false);
  fix(txtArea, false);
  fix(txtDDS, true);
  fix(txtVelDis3, true);
  fix(txtArea2, true);
}

void frmRivulet::mnuOptionsFix_Click() {
  if (mnuOptionsFix.Checked()) {
    mnuOptionsFix.SetChecked(false);
  } else {
    mnuOptionsFix.SetChecked(true);
    FixResults();
  }
}

void frmRivulet::mnuFlowDetails_Click() { mnuFlowDetails.SetChecked(!mnuFlowDetails.Checked()); }

// ---- Calculate ----

void frmRivulet::Touch() {
  if (calculating_) return;
  modified_ = true;
  ++edits_;
}

void frmRivulet::SetStatus(const std::string& text, Colour back, ResultsState state) {
  txtStatus.SetBackColour(back);
  txtStatus.SetText(text);
  results_ = state;
}

void frmRivulet::ClearResults() {
  lastSolve_.reset();
  SetStatus(kStatusWelcome, kStatusGreen, ResultsState::None);
}

}  // namespace rivulet
