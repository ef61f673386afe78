// The case table's columns: which input column is which field, the output columns after
// them, and one record computed into its output cells.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/cases/case_input.h"
#include "core/cases/case_sheet.h"

namespace rivulet {

/// Status of a row the sheet never calculated: a cell the table could not read, or
/// values the sheet's own checks refused (the message says which).
inline constexpr char kStatusNotCalculated[] = "Not calculated";
/// Status of a pipe row whose flow is more than the pipe carries running full: its results
/// are those of the full pipe, and the message says which and by how much.
inline constexpr char kStatusSurcharged[] = "Pipe surcharged: results at full-flow capacity";

/// How a row ended.
enum class CaseRowState { Solved, Surcharged, Unsolved, Rejected };

/// The columns of one table, from its header row.
class CaseColumns {
 public:
  /// Maps a header. On a missing required column or a column named twice, error says
  /// which and the columns are not usable.
  static CaseColumns FromHeader(const std::vector<std::string>& header, bool withDetails,
                                std::string& error);
  /// The columns a table needs.
  static const std::vector<CaseField>& Required();

  /// The input columns as given, then the missing value columns, then the results.
  const std::vector<std::string>& OutputHeader() const { return output_; }
  size_t InputWidth() const { return inputWidth_; }
  bool WithDetails() const { return withDetails_; }
  /// The output column of a name, if there is one.
  std::optional<size_t> Find(const std::string& name) const;

  /// The row's cells as read, by field.
  CaseCells CellsOf(const std::vector<std::string>& record) const;

  /// Reads, calculates and writes one record: cells holds the record as read and becomes
  /// the output row (input cells kept, the unknown's value and the results written).
  CaseRowState Compute(const CaseStart& start, std::vector<std::string>& cells) const;

  /// Writes a calculated outcome into an output row.
  void WriteOutcome(const CaseInput& caseInput, const CaseOutcome& o,
                    std::vector<std::string>& cells) const;
  /// Writes a row the table could not read: status and message, results emptied (and the
  /// unknown's value, where the row names one).
  void WriteRejected(const std::string& message, std::vector<std::string>& cells) const;

 private:
  void Put(const std::string& name, std::string text, std::vector<std::string>& cells) const;
  void ClearResults(std::vector<std::string>& cells) const;

  std::vector<std::string> output_;
  size_t inputWidth_ = 0;
  bool withDetails_ = false;
  std::optional<size_t> field_[kCaseFieldCount];
  std::vector<std::string> resultNames_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace rivulet
