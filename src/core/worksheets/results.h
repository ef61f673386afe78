// What solving a worksheet gives: named results in base units, warnings, the lines a
// kind adds to its report, and a status; and how a result is shown in a chosen unit.
#pragma once

#include <any>
#include <optional>
#include <string>
#include <vector>

#include "core/worksheets/file_units.h"

namespace rivulet {

/// The status text of a worksheet that solved.
inline constexpr char kCalculationsComplete[] = "Calculations Complete!";
/// Significant digits of a result's shown text unless the result says otherwise.
inline constexpr int kShownDigits = 4;

/// One result under its --json name (camelCase). A number in base units (nullopt when it
/// does not apply), a yes/no flag, a word, a series of numbers, or records of named results.
struct NamedResult {
  enum class Shape { Number, Flag, Series, Records, Text };

  std::string name;   ///< "spread", as in --json
  std::string label;  ///< "Spread", as in windows and reports
  Dimension dimension = Dimension::None;
  Shape shape = Shape::Number;
  std::optional<double> value;                    ///< Number: base units
  bool flag = false;                              ///< Flag
  std::string text;                               ///< Text: shown and written as it is
  std::vector<double> series;                     ///< Series: base units
  std::vector<std::vector<NamedResult>> records;  ///< Records: one list per record
  int digits = kShownDigits;                      ///< significant digits shown
  /// An elevation or station: shown to survey resolution rather than to digits.
  bool level = false;
  /// Records shown as one table, a row per record (a rating, a profile), rather than
  /// field by field; --json writes them alike.
  bool table = false;

  /// A number in base units of dimension; nullopt shows as not applicable.
  static NamedResult Number(std::string name, std::string label, Dimension dimension,
                            std::optional<double> value, int digits = kShownDigits);
  /// An elevation or station in metres (a Length shown as SurveyLevelText writes it).
  static NamedResult Level(std::string name, std::string label, std::optional<double> value);
  static NamedResult Flag(std::string name, std::string label, bool flag);
  /// A word ("weir"), written to --json as a string.
  static NamedResult Text(std::string name, std::string label, std::string text);
  static NamedResult Series(std::string name, std::string label, Dimension dimension,
                            std::vector<double> values, int digits = kShownDigits);
  static NamedResult Records(std::string name, std::string label,
                             std::vector<std::vector<NamedResult>> records);
  /// Records shown as a table; every record should hold the same fields in one order.
  static NamedResult Table(std::string name, std::string label,
                           std::vector<std::vector<NamedResult>> records);
};

/// The outcome of one solve. On failure `message` says why and `field` names the input or
/// option at fault (when there is one), and no results are given.
struct SheetOutcome {
  bool ok = false;
  std::string message;  ///< kCalculationsComplete when solved
  std::string field;
  std::vector<NamedResult> results;
  std::vector<std::string> warnings;     ///< shown, reported and in --json
  std::vector<std::string> methodLines;  ///< method, constants and choices for the report
  std::vector<std::string> checkLines;   ///< checks passed or failed, for the report
  /// The kind's own inputs and results as solved, so that its window draws them without
  /// solving again; empty on failure.
  std::any solved;

  /// A solved outcome with its results.
  static SheetOutcome Solved(std::vector<NamedResult> results);
  /// A refusal naming the field at fault ("" when none).
  static SheetOutcome Failed(std::string message, std::string field = "");
  /// The result of that name, or nullptr.
  const NamedResult* Find(const std::string& name) const;
};

/// A value with `digits` significant digits as plain text, "." as the decimal point
/// whatever the locale ("9.031", "0.01234"; exponent form below 1E-04 and from 1E+15).
std::string ShownNumber(double value, int digits);

/// Text of "not applicable" values.
inline constexpr char kNotApplicable[] = "N/A";

/// A result as shown in a unit (nullptr for a dimensionless one).
struct ShownResult {
  std::optional<double> value;  ///< in the unit; nullopt when not applicable (or a flag)
  std::vector<double> values;   ///< a series in the unit
  std::string text;             ///< "9.031", "N/A", "Yes", "0.52, 1.31"
  std::string unitName;         ///< file name of the unit ("ft3/s"), "" when none
  std::string unitSymbol;       ///< shown symbol ("ft³/s"), "" when none
};

/// The result converted to unit and its shown text (records are not shown this way).
ShownResult ShowResult(const NamedResult& result, const FileUnit* unit);

}  // namespace rivulet
