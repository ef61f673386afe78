// The worksheet file (.rvw): a JSON document read without trusting it, typed access to its
// inputs that names the field in every refusal, and the atomic save.
#pragma once

#include <cstddef>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/safe_file.h"
#include "core/worksheets/file_units.h"
#include "core/worksheets/results.h"

namespace rivulet {

/// The newest worksheet format this program reads and the one it writes.
inline constexpr int kWorksheetVersion = 1;
/// Larger files are refused unread; a worksheet with 5000 surveyed points is ~200 kB.
inline constexpr std::size_t kMaxWorksheetBytes = 4 * 1024 * 1024;
/// Deeper JSON nesting is refused before parsing; worksheets nest three or four levels.
inline constexpr int kMaxWorksheetNesting = 32;
inline constexpr char kInvalidFileFormat[] = "Invalid File Format";

/// A refusal of a worksheet's content; Field() names the input or option at fault.
class WorksheetError : public std::runtime_error {
 public:
  WorksheetError(std::string field, const std::string& message)
      : std::runtime_error(message), field_(std::move(field)) {}
  const std::string& Field() const { return field_; }

 private:
  std::string field_;
};

/// Which values a quantity may take, judged in base units.
enum class Allowed { Any, NonNegative, Positive };

/// One row of a list input ("orifices": [{"id": "low", "diameter": {...}}, ...]), read
/// without trusting it. Every refusal is a WorksheetError whose Field() is the list's name
/// and whose text names the row (by position from 1 and id) and the member.
class InputRow {
 public:
  InputRow(std::string list, std::size_t position, const nlohmann::json& row);

  std::size_t Position() const { return position_; }  ///< 0-based place in the list
  const std::string& Id() const { return id_; }       ///< the row's "id", "" when none
  /// How messages name the row: `orifices row 2 ("low")`.
  std::string Name() const;
  /// The member is present and not null.
  bool Has(std::string_view member) const;
  /// A quantity member {"value", "unit"} in base units, refused as Document::Input does.
  double Number(std::string_view member, Dimension dimension,
                Allowed allowed = Allowed::Positive) const;
  /// As Number, but nullopt when the member is absent or its value is null.
  std::optional<double> OptionalNumber(std::string_view member, Dimension dimension,
                                       Allowed allowed = Allowed::Positive) const;
  /// A word member among choices; fallback when absent ("" makes it required).
  std::string Word(std::string_view member, const std::vector<std::string>& choices,
                   const std::string& fallback) const;
  /// A plain text member (a structure's id a pipe runs from); "" when absent.
  std::string Text(std::string_view member) const;
  /// A nested list of plain numbers in the points form ({"unit": "m", "station": [...]}).
  std::vector<double> Numbers(std::string_view member, std::string_view list, Dimension dimension,
                              Allowed allowed = Allowed::Any) const;
  const nlohmann::json& Json() const { return *row_; }

 private:
  [[noreturn]] void Refuse(std::string_view member, const std::string& what) const;

  std::string list_;
  std::size_t position_;
  const nlohmann::json* row_;
  std::string id_;
};

/// A worksheet as read from or written to a .rvw file.
struct Document {
  std::string kind;
  std::string title;
  nlohmann::json inputs = nlohmann::json::object();   ///< name -> {"value", "unit"} or lists
  std::string solveFor;                               ///< "" when the kind has no choice
  nlohmann::json options = nlohmann::json::object();  ///< name -> string, number or bool
  UnitSystem resultUnits = UnitSystem::SI;
  std::map<std::string, std::string> resultUnitChoices;   ///< result name -> file unit name
  nlohmann::json unknownKeys = nlohmann::json::object();  ///< kept and written back on save

  /// True when the input is present (whatever its content).
  bool HasInput(std::string_view name) const;

  /// The input's value in base units. Throws WorksheetError naming the input when it is
  /// missing, not a finite number, outside `allowed`, or in a unit not of its dimension.
  double Input(std::string_view name, Dimension dimension,
               Allowed allowed = Allowed::Positive) const;

  /// As Input, but nullopt when the input is absent or its value is null.
  std::optional<double> OptionalInput(std::string_view name, Dimension dimension,
                                      Allowed allowed = Allowed::Positive) const;

  /// The numbers of list `member` of an input ({"unit": "m", "station": [...]}) in base
  /// units of the input's unit; each refusal names the input, the member and the position.
  std::vector<double> InputList(std::string_view name, std::string_view member, Dimension dimension,
                                Allowed allowed = Allowed::Any) const;

  /// The rows of list input `name` (empty when absent or null). Refuses anything but an
  /// array of objects, naming the list and the row.
  std::vector<InputRow> InputRows(std::string_view name) const;

  /// The unit an input is written in (its file name), or "" when it has none.
  std::string InputUnit(std::string_view name) const;

  /// A text option among choices; fallback when absent. Throws naming the option otherwise.
  std::string Option(std::string_view name, const std::vector<std::string>& choices,
                     const std::string& fallback) const;

  /// A true/false option; fallback when absent. Throws naming the option otherwise.
  bool OptionFlag(std::string_view name, bool fallback) const;

  /// solveFor among choices; the first choice when absent. Throws naming solveFor otherwise.
  std::string Unknown(const std::vector<std::string>& choices) const;

  /// The unit a result of the dimension is shown in: its entry in resultUnitChoices when
  /// that names a unit of the dimension, else the resultUnits system's unit.
  const FileUnit* ResultUnit(std::string_view resultName, Dimension dimension) const;

  /// "" when each result unit choice that names one of the results (or a field of their
  /// records) names a unit of that result's dimension; else the refusal, naming it.
  std::string ResultUnitProblem(const std::vector<NamedResult>& results) const;

  /// Sets an input's value and unit ("" for a dimensionless input).
  void SetInput(const std::string& name, double value, const std::string& unit);
};

/// What reading a worksheet gave: the document, or the message saying why not.
struct WorksheetRead {
  std::optional<Document> document;
  std::string message;  ///< kInvalidFileFormat when the bytes are no worksheet at all
};

/// True when the bytes begin (after a UTF-8 byte-order mark and blanks) with a JSON
/// object: what tells a worksheet from a calculation file, whatever the file is called.
bool LooksLikeWorksheet(std::string_view head);

/// How many leading bytes of a file are looked at to tell a worksheet.
inline constexpr std::size_t kWorksheetSniffBytes = 64;

/// True when the file at path looks like a worksheet (its first bytes only are read).
bool IsWorksheetFile(const std::string& path);

/// Reads a worksheet from bytes: a JSON object with "rivulet": "worksheet", a version not
/// newer than kWorksheetVersion and a kind; unknown keys are kept aside.
WorksheetRead ParseWorksheet(std::string_view bytes);

/// Reads the file at path (at most kMaxWorksheetBytes) as ParseWorksheet does.
WorksheetRead ReadWorksheetFile(const std::string& path);

/// The document as the JSON text written to files (two-space indent, final newline).
std::string WorksheetText(const Document& document);

/// Replaces the file at path with the document, whole or not at all (a read-only file is
/// refused, a link keeps pointing at the file written); the outcome says why a save failed.
SaveOutcome SaveWorksheetFile(const Document& document, const std::string& path);

}  // namespace rivulet
