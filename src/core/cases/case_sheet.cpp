#include "core/cases/case_sheet.h"

#include "core/files/defaults_file.h"
#include "core/shell/text_file.h"
#include "core/window/flow_details_table.h"

namespace rivulet {
namespace {

void SetUnit(ComboBox& list, const std::optional<int>& position) {
  if (position) list.SetListIndex(*position);
}

// The box the unknown is written to, with its unit list (none for Manning's n).
struct UnknownBox {
  const TextBox& text;
  const ComboBox* unit;
};

UnknownBox BoxOf(const frmRivulet& f, CaseUnknown unknown) {
  switch (unknown) {
    case CaseUnknown::Velocity:
    case CaseUnknown::Discharge:
      return {f.txtVelDis1, &f.cboVelDis1};
    case CaseUnknown::Depth:
      return {f.txtDepth, &f.cboDepth};
    case CaseUnknown::Diameter:
    case CaseUnknown::Width:
      return {f.txtDiam, &f.cboDiam};
    case CaseUnknown::SideSlope:
      return {f.txtSide, &f.cboSide};
    case CaseUnknown::Slope:
      return {f.txtSlope, &f.cboSlope};
    case CaseUnknown::ManningsN:
      break;
  }
  return {f.txtManning, nullptr};
}

// "N/A" is what the sheet shows where there is no alternate; the table leaves it empty.
std::string Applicable(const std::string& text) { return text == "N/A" ? std::string() : text; }

}  // namespace

CaseStart::CaseStart(StartupValues startup, bool fileFound,
                     std::optional<std::vector<std::string>> lines)
    : startup_(std::move(startup)), fileFound_(fileFound), lines_(std::move(lines)) {
  CaseServices services;
  frmRivulet form(services, startup_);
  Load(form);
  velocityMode_ = form.VelocityGiven();
}

CaseStart::CaseStart(StartupValues startup)
    : CaseStart(startup, !FindInFolders(SettingsFolders(startup), kDefaultsFileName).empty(),
                ReadDefaultsFile(startup)) {}

CaseStart CaseStart::BuiltIn(StartupValues startup) {
  return CaseStart(std::move(startup), false, std::nullopt);
}

void CaseStart::Load(frmRivulet& form) const {
  form.defaultsFileExists = [this] { return fileFound_; };
  form.mnuOptionsApplyDefaults.onClick = [this, &form] { ApplyDefaultsLines(form, lines_); };
  form.Form_Load();
}

void ApplyCase(frmRivulet& f, const CaseInput& c) {
  f.cboSection.SetListIndex(c.section);
  if (c.velocityMode != f.VelocityGiven()) f.cmdVelDis_Click();
  const CaseUnknown u = c.unknown;
  f.optVelDis1.SetValue(u == CaseUnknown::Velocity || u == CaseUnknown::Discharge);
  f.txtVelDis1.SetText(c.flow);
  SetUnit(f.cboVelDis1, c.flowUnit);
  f.optDepth.SetValue(u == CaseUnknown::Depth);
  f.txtDepth.SetText(c.depth);
  SetUnit(f.cboDepth, c.depthUnit);
  f.optDiam.SetValue(u == CaseUnknown::Diameter || u == CaseUnknown::Width);
  f.txtDiam.SetText(c.width);
  SetUnit(f.cboDiam, c.widthUnit);
  f.optSide.SetValue(u == CaseUnknown::SideSlope);
  f.txtSide.SetText(c.sideSlope);
  SetUnit(f.cboSide, c.sideSlopeUnit);
  f.optSlope.SetValue(u == CaseUnknown::Slope);
  f.txtSlope.SetText(c.slope);
  SetUnit(f.cboSlope, c.slopeUnit);
  f.optManning.SetValue(u == CaseUnknown::ManningsN);
  f.txtManning.SetText(c.manningsN);
  SetUnit(f.cboVelDis2, c.otherFlowUnit);
  SetUnit(f.cboArea, c.areaUnit);
  SetUnit(f.cboDDS, c.altValueUnit);
  SetUnit(f.cboVelDis3, c.altFlowUnit);
  SetUnit(f.cboArea2, c.altAreaUnit);
  // The lock mirrors the diameter into the depth, as its check box does in the window.
  if (IsPipeSection(c.section)) f.chkLocDiam.SetValue(c.runningFull ? 1 : 0);
}

const std::vector<std::string>& CaseDetailKeys() {
  static const std::vector<std::string> keys{
      "wettedPerimeter",      "hydraulicRadius",  "topWidth",
      "hydraulicDepth",       "velocityHead",     "specificEnergy",
      "froudeNumber",         "regime",           "criticalDepth",
      "criticalVelocity",     "criticalSlope",    "slopeClass",
      "averageShear",         "maximumShear",     "percentFull",
      "fullFlowDischarge",    "fullFlowVelocity", "maximumDischarge",
      "maximumDischargeDepth"};
  return keys;
}

CaseOutcome OutcomeOf(const frmRivulet& f, const CaseInput& caseInput, bool withDetails) {
  CaseOutcome o;
  o.status = f.txtStatus.Text();
  o.solved = f.Results() == ResultsState::Current;
  o.flowUnit = f.cboVelDis1.Text();
  o.depthUnit = f.cboDepth.Text();
  const SectionKind kind = SectionKindAt(caseInput.section);
  if (kind != SectionKind::Triangle) o.widthUnit = f.cboDiam.Text();
  if (HasSideSlope(kind)) o.sideSlopeUnit = f.cboSide.Text();
  o.slopeUnit = f.cboSlope.Text();
  o.areaUnit = f.cboArea.Text();
  o.otherFlowUnit = f.cboVelDis2.Text();
  o.altValueUnit = f.cboDDS.Text();
  o.altFlowUnit = f.cboVelDis3.Text();
  o.altAreaUnit = f.cboArea2.Text();
  const UnknownBox box = BoxOf(f, caseInput.unknown);
  if (box.unit) o.unknownUnit = box.unit->Text();
  if (!o.solved) return o;
  if (const auto s = SurchargeOf(f)) o.surcharge = SurchargeSentence(*s);
  o.unknownText = box.text.Text();
  o.area = f.txtArea.Text();
  o.otherFlow = f.txtVelDis2.Text();
  o.altValue = Applicable(f.txtDDS.Text());
  o.altFlow = Applicable(f.txtVelDis3.Text());
  o.altArea = Applicable(f.txtArea2.Text());
  if (!withDetails) return o;
  const DetailsTable table = FlowDetailsTable(f);
  for (const std::string& key : CaseDetailKeys()) {
    CaseDetail d{key, {}, {}};
    for (const DetailRow& row : table.rows) {
      if (row.key != key) continue;
      if (row.primary.value) {
        d.text = row.primary.text;
        d.unit = row.unit;
      } else if (row.unit.empty() && row.primary.text != "-" && key != "froudeNumber") {
        d.text = row.primary.text;  // words: the regime, the slope class
      }
    }
    o.details.push_back(std::move(d));
  }
  return o;
}

CaseOutcome RunCase(const CaseStart& start, const CaseInput& caseInput, bool withDetails) {
  CaseServices services;
  frmRivulet form(services, start.Startup());
  start.Load(form);
  ApplyCase(form, caseInput);
  form.cmdCalculate_Click();
  CaseOutcome o = OutcomeOf(form, caseInput, withDetails);
  o.messages = std::move(services.messages);
  return o;
}

}  // namespace rivulet
