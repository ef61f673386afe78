#include "core/reference/n_values.h"

#include "core/shell/number_text.h"

namespace rivulet {

const std::array<NValueRow, kNValueRowCount>& NValueRows() {
  static const std::array<NValueRow, kNValueRowCount> rows{{
      {"0.010", "Glass, copper, plastic or other smooth surfaces", 0.01},
      {"0.012", "Smooth unpainted steel, planed wood", 0.012},
      {"0.013", "Painted steel or coated cast iron", 0.013},
      {"0.013", "Smooth asphalt, common clay drainage tile", 0.013},
      {"0.013", "Trowel finished concrete, glazed brick", 0.013},
      {"0.014", "Vitrified clay sewer tile", 0.014},
      {"0.014", "Uncoated cast iron, black wrought iron pipe", 0.014},
      {"0.015", "Brick in cement mortar, float finished concrete", 0.015},
      {"0.017", "Formed, unfinished concrete", 0.017},
      {"0.022", "Clean excavated earth", 0.022},
      {"0.024", "Corrugated metal storm drain", 0.024},
      {"0.050", "Earth with light brush", 0.05},
      {"0.100", "Earth with heavy brush", 0.1},
  }};
  return rows;
}

// The sheet's own number writer already gives the shortest text for these values and
// never uses the locale's separator.
std::string NValueText(double value) { return FormatNumber(value); }

frmNValues::frmNValues(TextBox& txtManning) : txtManning_(txtManning) {
  Frame1.SetCaption(kNValuesFrameCaption);
  for (int i = 1; i <= kNValueRowCount; ++i) {
    const NValueRow& row = NValueRows()[i - 1];
    opt_.push_back(std::make_unique<OptionButton>("opt" + std::to_string(i), rows));
    opt_.back()->SetCaption(std::string(row.caption));
    label_.push_back(std::make_unique<Label>("Label" + std::to_string(i)));
    label_.back()->SetCaption(std::string(row.material));
  }
  Label14.SetCaption("Values as published in a standard fluid mechanics textbook (1994).");
  cmdOK.SetCaption("OK");
  cmdCancel.SetCaption("Cancel");
  Command1.SetCaption("More...");
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
}

double frmNValues::ChosenValue() const {
  for (int i = 0; i < kNValueRowCount; ++i)
    if (opt_[i]->Value()) return NValueRows()[i].value;
  return kNValueWithoutChoice;
}

void frmNValues::cmdOK_Click() {
  // Written whatever the unknown is: the sheet treats it as a typed edit of n.
  txtManning_.SetText(NValueText(ChosenValue()));
  if (unload) unload();
}

void frmNValues::cmdCancel_Click() {
  if (unload) unload();
}

void frmNValues::Command1_Click() {
  if (showGrassTable) showGrassTable();
}

}  // namespace rivulet
