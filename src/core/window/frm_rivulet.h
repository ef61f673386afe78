// The calculation window without a screen: its controls are the sheet, its handlers
// rearrange, filter, track and calculate. The Qt view draws this state and forwards input.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/hydraulics/sheet_reader.h"
#include "core/hydraulics/solver.h"
#include "core/shell/controls.h"
#include "core/shell/results_state.h"
#include "core/shell/services.h"
#include "core/shell/sheet.h"
#include "core/shell/startup.h"

namespace rivulet {

// Status line texts and colours.
inline constexpr char kStatusWelcome[] = "Welcome to Rivulet...";
inline constexpr char kStatusThinking[] = "Thinking...";
inline constexpr char kStatusComplete[] = "Calculations Complete!";
inline constexpr char kStatusNoSolution[] = "A suitable solution could not be found!";
inline constexpr char kStatusModified[] = "Input has been modified, please recalculate.";
inline constexpr Colour kStatusWelcomeColour = Colour::FromRgb(128, 255, 128);
inline constexpr Colour kStatusGreen = Colour::FromRgb(192, 255, 192);
inline constexpr Colour kStatusOrange = Colour::FromRgb(255, 192, 128);
inline constexpr Colour kStatusPink = Colour::FromRgb(255, 192, 192);
inline constexpr Colour kStatusNavy = Colour::FromRgb(0, 0, 128);

/// Most characters a value box holds: more than any number needs, and few enough that a
/// saved file always reads back.
inline constexpr int kValueLength = 64;

/// The solve behind the results of a completed calculation.
struct CompletedSolve {
  SolveRecord record;
  /// The discharge the user gave (m³/s) when no part-full depth carried it and the pipe was
  /// solved running full instead.
  std::optional<double> requestedDischarge;
  /// The same for a velocity (m/s).
  std::optional<double> requestedVelocity = std::nullopt;
};

/// A menu as the view builds it: an item and, for menus and submenus, its children.
struct MenuNode {
  MenuItem* item;
  std::vector<MenuNode> children;
};

class frmRivulet : public CalculationSheet {
 public:
  frmRivulet(Services& services, StartupValues startup);

  /// Fills the lists, selects their start positions and applies the defaults file.
  void Form_Load();

  // Public routines of the window.
  void Changes();
  void FixResults();

  // Handlers other parts of the program call directly.
  void cmdCalculate_Click();
  void mnuCalculate_Click() { cmdCalculate_Click(); }
  void cmdVelDis_Click();
  void cboSection_Click();
  void chkLocDiam_Click();
  void mnuOptionsFix_Click();
  /// Colours the unknown's box (and a locked depth) yellow and every other input box
  /// normal; selects n as the unknown when none is, as the solver takes it.
  void HighlightUnknown();
  /// Shows or hides the flow details panel (the check mark is the state).
  void mnuFlowDetails_Click();

  /// Whether an input, unit, section, unknown or mode changed since the last New, Open or
  /// successful Save.
  bool Modified() const { return modified_; }
  void SetModified(bool on) { modified_ = on; }
  /// Counts the user's edits (Calculate's own writes are none), so that a view can tell an
  /// edit from a calculation that changed the same boxes.
  long EditCount() const { return edits_; }

  /// Title of the window; it also records whether the sheet has a file ("[").
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  /// "Rivulet - Ver. " and the version.
  std::string BaseTitle() const;

  const StartupValues& Startup() const { return startup_; }
  Services& Svc() { return services_; }
  HydraulicState& Hydraulics() { return hydraulics_; }
  /// The solve behind the sheet's results: set by a calculation that ends "Calculations
  /// Complete!", emptied when one gets past its input checks and fails.
  const std::optional<CompletedSolve>& LastSolve() const { return lastSolve_; }
  /// Where the sheet's results stand: Current after a calculation that completed, Modified
  /// once an input changed since, Failed after one that found no solution, None before any
  /// and after New. LastSolve() holds the solve whenever it is Current or Modified.
  ResultsState Results() const { return results_; }
  /// Empties the results' standing and shows the welcome line, as New does.
  void ClearResults();

  /// Current file: full path and bare name of the file last opened or saved as.
  std::string currentFilePath;
  std::string currentFileName;

  /// Tells whether a defaults file exists; wired by the files module. Load applies the
  /// defaults (mnuOptionsApplyDefaults) only when it says so.
  std::function<bool()> defaultsFileExists;

  /// What the input filter last dropped from a typed or pasted text, in a sentence the
  /// view shows beside the box; empty when the last edit was kept whole.
  std::string inputNote;

  /// The control that has the keyboard focus, as the view reports it (nullptr: none).
  Control* activeControl = nullptr;

  // Menus, in menu order. Separators have the caption "-".
  MenuItem mnuFile{"mnuFile", "&File"};
  MenuItem mnuNew{"mnuNew", "&New", "Ctrl+N"};
  MenuItem mnuOpen{"mnuOpen", "&Open...", "Ctrl+O"};
  MenuItem mnuSave{"mnuSave", "&Save", "Ctrl+S"};
  MenuItem mnuSaveAs{"mnuSaveAs", "Save &As...", "Ctrl+A"};
  MenuItem mnuPrintBreak{"mnuPrintBreak", "-"};
  MenuItem mnuPrint{"mnuPrint", "&Print", "Ctrl+P"};
  MenuItem mnuPrintSetup{"mnuPrintSetup", "Print Set&up..."};
  MenuItem mnuBreak2{"mnuBreak2", "-"};
  MenuItem mnuCalculate{"mnuCalculate", "&Calculate", "F5"};
  MenuItem mnuBreak0{"mnuBreak0", "-"};
  MenuItem mnuExit{"mnuExit", "E&xit"};
  MenuItem mnuEdit{"mnuEdit", "&Edit"};
  MenuItem mnuCut{"mnuCut", "Cu&t", "Ctrl+X"};
  MenuItem mnuCopy{"mnuCopy", "&Copy", "Ctrl+C"};
  MenuItem mnuPaste{"mnuPaste", "&Paste", "Ctrl+V"};
  MenuItem mnuView{"mnuView", "&View"};
  MenuItem mnuCircle{"mnuCircle", "&Circular Pipe"};
  MenuItem mnuRectangle{"mnuRectangle", "&Rectangle"};
  MenuItem mnuTrapezoid{"mnuTrapezoid", "&Trapezoid"};
  MenuItem mnuTriangle{"mnuTriangle", "Tr&iangle"};
  MenuItem mnuGutter{"mnuGutter", "&Gutter"};
  MenuItem mnuDetailsBreak{"mnuDetailsBreak", "-"};
  MenuItem mnuFlowDetails{"mnuFlowDetails", "&Flow Details"};
  MenuItem mnuRatingTable{"mnuRatingTable", "R&ating Table"};
  MenuItem mnuOptions{"mnuOptions", "&Options"};
  MenuItem mnuOptionsRestoreDefaults{"mnuOptionsRestoreDefaults", "&Restore Defaults", "Ctrl+R"};
  MenuItem mnuOptionsApplyDefaults{"mnuOptionsApplyDefaults", "&Apply Defaults", "Ctrl+D"};
  // No key: Ctrl+W closes a window everywhere else, and must not overwrite the defaults here.
  MenuItem mnuOptionsWriteDefaults{"mnuOptionsWriteDefaults", "&Write Defaults"};
  MenuItem mnuOptionsFix{"mnuOptionsFix", "&Fix Results to 3 Decimal Places", "Ctrl+F"};
  MenuItem mnuOptionsDesignBreak{"mnuOptionsDesignBreak", "-"};
  MenuItem mnuOptionsDesign{"mnuOptionsDesign", "D&esign Settings..."};
  MenuItem mnuTools{"mnuTools", "&Tools"};
  MenuItem mnuCaseTable{"mnuCaseTable", "&Case Table..."};
  MenuItem mnuHelp{"mnuHelp", "&Help"};
  MenuItem mnuHelpContents{"mnuHelpContents", "&Contents", "F1"};
  MenuItem mnuLinks{"mnuLinks", "&Links"};
  MenuItem mnuLinksTarnHome{"mnuLinksTarnHome", "&1.  Tarn Home Page"};
  MenuItem mnuLinksRV{"mnuLinksRV", "&2.  Rivulet Web Page"};
  MenuItem mnuTarnEmail{"mnuTarnEmail", "&3.  Send Email to Tarn"};
  MenuItem mnuSPC1{"mnuSPC1", "-"};
  MenuItem mnuAbout{"mnuAbout", "&About Rivulet..."};

  /// The menu bar, top-level menus in order with their items.
  std::vector<MenuNode> MenuBar();

  /// Every control of the sheet in tab order.
  std::vector<Control*> TabOrder();

 private:
  void InitialiseControls();
  void WireHandlers();

  // Choice of the unknown.
  void ClearHighlights();
  void SetAltDepthRow();
  void OptionClick(TextBox& box, bool altDepthRow);

  // Edit tracking.
  void NumericFilter(TextBox& box);
  void txtDiam_Change();
  void cboDiam_Click();

  // Calculate.
  bool CheckInputs();
  bool RunningFull();
  void SetStatus(const std::string& text, Colour back, ResultsState state);
  /// Records a change of the sheet's inputs; Calculate's own writes are no edit.
  void Touch();

  // Tests put the sheet into a results state without solving.
  friend struct FormTestAccess;

  Services& services_;
  StartupValues startup_;
  HydraulicState hydraulics_;
  std::optional<CompletedSolve> lastSolve_;
  ResultsState results_ = ResultsState::None;
  /// Set while Calculate writes its own results, which are no edit.
  bool calculating_ = false;
  std::string title_;
  bool modified_ = false;
  long edits_ = 0;
};

}  // namespace rivulet
