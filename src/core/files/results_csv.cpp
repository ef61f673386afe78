#include "core/files/results_csv.h"

#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "core/files/csv_cell.h"
#include "core/shell/safe_file.h"
#include "core/shell/startup.h"

namespace rivulet {
namespace {

void Line(std::string& out, std::initializer_list<std::string_view> cells, char separator) {
  bool first = true;
  for (std::string_view cell : cells) {
    if (!first) out.push_back(separator);
    first = false;
    AppendDelimitedCell(out, cell, separator);
  }
  out += "\r\n";
}

}  // namespace

std::string SheetResultsText(const frmRivulet& form, char separator) {
  std::string out;
  Line(out, {"Channel Section", form.cboSection.Text()}, separator);
  const auto row = [&](const Control& shown, const std::string& caption, const TextBox& value,
                       const std::string& unit, bool solved) {
    if (!shown.Visible() || value.Text().empty()) return;
    Line(out, {caption, value.Text(), unit, solved ? "Solved" : ""}, separator);
  };
  row(form.optVelDis1, form.optVelDis1.Caption(), form.txtVelDis1, form.cboVelDis1.Text(),
      form.optVelDis1.Value());
  row(form.optDepth, form.optDepth.Caption(), form.txtDepth, form.cboDepth.Text(),
      form.optDepth.Value());
  row(form.optDiam, form.optDiam.Caption(), form.txtDiam, form.cboDiam.Text(),
      form.optDiam.Value());
  row(form.optSide, form.optSide.Caption(), form.txtSide, form.cboSide.Text(),
      form.optSide.Value());
  row(form.optSlope, form.optSlope.Caption(), form.txtSlope, form.cboSlope.Text(),
      form.optSlope.Value());
  row(form.optManning, "Manning's N", form.txtManning, "", form.optManning.Value());
  row(form.lblVelDis2, form.lblVelDis2.Caption(), form.txtVelDis2, form.cboVelDis2.Text(), true);
  row(form.lblArea, form.lblArea.Caption(), form.txtArea, form.cboArea.Text(), true);
  row(form.lblDDS, form.lblDDS.Caption(), form.txtDDS, form.cboDDS.Text(), true);
  row(form.lblVelDis3, form.lblVelDis3.Caption(), form.txtVelDis3, form.cboVelDis3.Text(), true);
  row(form.lblArea2, form.lblArea2.Caption(), form.txtArea2, form.cboArea2.Text(), true);
  Line(out, {"Status", form.txtStatus.Text()}, separator);
  return out;
}

std::string DetailsTableText(const DetailsTable& table, char separator) {
  if (table.rows.empty()) return "";
  std::string out;
  if (table.hasAlternate)
    Line(out, {"Quantity", "Primary", "Alternate", "Unit"}, separator);
  else
    Line(out, {"Quantity", "Value", "Unit"}, separator);
  for (const DetailRow& r : table.rows) {
    if (table.hasAlternate)
      Line(out, {r.label, r.primary.text, r.alternate.text, r.unit}, separator);
    else
      Line(out, {r.label, r.primary.text, r.unit}, separator);
  }
  return out;
}

void CopyResultsCommand(frmRivulet& form) {
  std::string text = SheetResultsText(form);
  if (form.mnuFlowDetails.Checked())
    if (const std::string details = DetailsTableText(FlowDetailsTable(form)); !details.empty())
      text += "\r\n" + details;
  form.Svc().SetClipboardText(text);
}

void CopyDetailsCommand(frmRivulet& form) {
  form.Svc().SetClipboardText(DetailsTableText(FlowDetailsTable(form)));
}

bool SaveDetailsCsvCommand(frmRivulet& form) {
  const std::string text = DetailsTableText(FlowDetailsTable(form), ',');
  if (text.empty()) return false;
  FileDialogRequest request;
  request.title = "Save Flow Details as CSV";
  request.filters = {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*)", "*"}};
  const std::filesystem::path current(form.currentFilePath);
  request.proposedName =
      (current.empty() ? std::string("flow-details") : current.stem().string() + "-details") +
      ".csv";
  request.defaultExtension = "csv";
  request.startFolder = current.parent_path().string();
  const auto choice = form.Svc().SaveFileDialog(request);
  if (!choice) return false;
  const SaveOutcome saved = ReplaceFileContent(choice->path, text);
  if (saved) return true;
  form.Svc().MessageBox("The flow details could not be saved to " + choice->path + ": " +
                            SaveCause(saved) + ".  " + SaveAdvice(saved),
                        kProductName, MessageIcon::Exclamation);
  return false;
}

}  // namespace rivulet
