// A worksheet as its window holds it, without the window: the typed inputs and their
// units, the unknown, options, result units, whether the results are current, and the
// file. The Qt window draws this state and forwards the user's actions to it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/shell/results_state.h"
#include "core/worksheets/kinds.h"
#include "core/worksheets/worksheet_edits.h"
#include "core/worksheets/worksheet_report.h"

namespace rivulet {

inline constexpr char kWorksheetWelcome[] = "Enter the values and press Calculate (F5).";
inline constexpr char kWorksheetModified[] = "Input has been modified, please recalculate.";

/// One result row as a window shows it (records are flattened, one row per field).
struct ResultRow {
  std::string name;   ///< --json name, also the key of its unit choice
  std::string label;  ///< "Spread", "Zone 2 Flow Area"
  Dimension dimension = Dimension::None;
  std::string text;        ///< shown value
  std::string unitName;    ///< file name of the unit shown, "" when none
  std::string unitSymbol;  ///< its symbol
};

class WorksheetModel {
 public:
  explicit WorksheetModel(const WorksheetKind& kind);

  const WorksheetKind& Kind() const { return kind_; }

  /// An input's text as typed (after the numeric filter).
  const std::string& Text(const std::string& input) const;
  /// Runs the numeric filter on text, keeps what survives and returns it; an actual
  /// change marks the results modified.
  std::string SetText(const std::string& input, const std::string& text);
  /// File name of an input's unit ("" for a dimensionless input).
  const std::string& Unit(const std::string& input) const;
  void SetUnit(const std::string& input, const std::string& unitName);

  /// The chosen unknown ("" when the kind has no choice); its input row shows a result.
  const std::string& Unknown() const { return unknown_; }
  void SetUnknown(const std::string& name);
  bool IsUnknown(const std::string& input) const { return !unknown_.empty() && input == unknown_; }

  const std::string& Option(const std::string& name) const;
  void SetOption(const std::string& name, const std::string& value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  /// An input the window edits as a whole (a list of points, say): its JSON entry as the
  /// file holds it, or nullptr when absent.
  const nlohmann::json* ListInput(const std::string& name) const;
  /// Replaces such an input; an actual change marks the results modified.
  void SetListInput(const std::string& name, nlohmann::json entry);
  /// A true/false option kept for the file (not one of the kind's text options).
  bool FlagOption(const std::string& name) const;
  void SetFlagOption(const std::string& name, bool value);

  /// Converts every input to the system's units, each value converted (3 ft becomes
  /// 0.9144 m), lists with a unit (a survey's points) too; units both systems use (%, 1:x)
  /// stay. The results follow the system. Inputs change, so the results are out of date.
  void ConvertInputs(UnitSystem system);

  /// Results' unit system and per-result choices: they change the display, not the results.
  UnitSystem ResultSystem() const { return system_; }
  void SetResultSystem(UnitSystem system);
  void SetResultUnit(const std::string& result, const std::string& unitName);

  /// The significant digits results are shown, reported and copied with; 0: each result's
  /// own. Files keep every digit whatever this is.
  int DisplayDigits() const { return digits_; }
  void SetDisplayDigits(int digits) { digits_ = digits; }

  /// Solves the worksheet as it stands; the unknown's row takes its result.
  void Calculate();
  ResultsState State() const { return state_; }
  const SheetOutcome& Outcome() const { return outcome_; }
  /// The status line: welcome, the outcome's message, or the modified text.
  std::string StatusText() const;
  /// The results' rows in their shown units (empty before the first solve or after a
  /// refusal).
  std::vector<ResultRow> ResultRows() const;
  /// The table results (not among ResultRows) in their shown units.
  std::vector<ResultTable> ResultTables() const;

  /// The worksheet as a file holds it; inputs left empty are left out.
  Document ToDocument() const;
  /// Takes a document read from path. Returns "" or the refusal naming the field, in which
  /// case nothing changed.
  std::string Load(const Document& document, const std::string& path);
  /// Everything the user edited, for Undo; restoring it marks the results out of date and
  /// the worksheet unsaved.
  WorksheetEdits Edits() const;
  void RestoreEdits(const WorksheetEdits& edits);
  /// The file was written to path: no unsaved changes.
  void MarkSaved(const std::string& path);
  /// Unsaved changes since the last Load or save.
  bool HasUnsavedChanges() const { return unsaved_; }
  const std::string& FilePath() const { return path_; }
  /// The file's bare name, or "Untitled" before the first save.
  std::string FileName() const;

  /// The report as printed: results only when current, else the status in their place.
  std::vector<std::string> ReportLines() const;
  /// Inputs and results as tab-separated lines (label, value, unit) for the clipboard.
  std::string CopyText() const;

 private:
  void Edited();

  const WorksheetKind& kind_;
  std::map<std::string, std::string> texts_, units_, options_;
  std::string unknown_, title_, path_;
  UnitSystem system_ = UnitSystem::SI;
  std::map<std::string, std::string> resultUnits_;
  // Inputs and options the window does not edit (lists, later additions), kept for saving.
  nlohmann::json otherInputs_ = nlohmann::json::object();
  nlohmann::json otherOptions_ = nlohmann::json::object();
  nlohmann::json unknownKeys_ = nlohmann::json::object();
  SheetOutcome outcome_;
  ResultsState state_ = ResultsState::None;
  bool unsaved_ = false;
  int digits_ = 0;
};

}  // namespace rivulet
