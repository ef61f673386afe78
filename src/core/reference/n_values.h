// The table of typical Manning's n values: its thirteen rows and the window's choice
// logic, without a screen. The Qt window draws this state and forwards clicks here.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/controls.h"

namespace rivulet {

/// One row of the table: the option caption, the material beside it and its n value.
struct NValueRow {
  std::string_view caption;
  std::string_view material;
  double value;
};

inline constexpr int kNValueRowCount = 13;
inline constexpr char kNValuesCaption[] = "Values for Manning's n";
inline constexpr char kNValuesFrameCaption[] = "Select a value for Manning's n";
/// What OK writes when no row is selected: a common concrete or cast iron value.
inline constexpr double kNValueWithoutChoice = 0.013;
/// The row whose option button has the focus when the table opens.
inline constexpr int kNValueFocusRow = 5;

/// The rows in display order (row 1 first).
const std::array<NValueRow, kNValueRowCount>& NValueRows();

/// n as the table writes it into the sheet: shortest form, leading zero, "." always.
std::string NValueText(double value);

/// The n-value table window's controls and handlers. OK writes into the sheet's n field
/// through its text box, so the sheet reacts exactly as to a typed edit.
class frmNValues {
 public:
  explicit frmNValues(TextBox& txtManning);
  frmNValues(const frmNValues&) = delete;
  frmNValues& operator=(const frmNValues&) = delete;

  Label Frame1{"Frame1"};
  OptionGroup rows;
  Label Label14{"Label14"};
  Button cmdOK{"cmdOK"};
  Button cmdCancel{"cmdCancel"};
  Button Command1{"Command1"};

  /// Row i's option button and material label, i from 1 to 13.
  OptionButton& Opt(int row) { return *opt_.at(row - 1); }
  Label& MaterialLabel(int row) { return *label_.at(row - 1); }

  /// Hides and destroys the window; set by the view.
  std::function<void()> unload;
  /// Opens the grass table; set by the view.
  std::function<void()> showGrassTable;

  /// A click on a material label selects its row, as a click on the option would.
  void Label_Click(int row) { Opt(row).SetValue(true); }
  /// The first selected row in row order decides; none selected gives 0.013.
  double ChosenValue() const;

  // The buttons' click handlers are wired to these.
  void cmdOK_Click();
  void cmdCancel_Click();
  void Command1_Click();

 private:
  TextBox& txtManning_;
  std::vector<std::unique_ptr<OptionButton>> opt_;
  std::vector<std::unique_ptr<Label>> label_;
};

}  // namespace rivulet
