// The case table as the window holds it: a header and rows of text cells, each row with
// how its last calculation ended, opened from and saved to CSV, copied and pasted as the
// tab-separated text spreadsheets exchange.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/cases/case_columns.h"
#include "core/cases/case_sheet.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// How a row of the window stands.
enum class CaseRowMark {
  Pending,     ///< new or edited since its last calculation
  Solved,      ///< "Calculations Complete!"
  Unsolved,    ///< "A suitable solution could not be found!"
  Rejected,    ///< not calculated: a cell or the sheet's checks refused it
  Surcharged,  ///< a pipe asked for more than it carries: results at full-flow capacity
};

struct CaseDocumentRow {
  std::vector<std::string> cells;
  CaseRowMark mark = CaseRowMark::Pending;
};

class CaseDocument {
 public:
  /// An empty table with the standard columns.
  CaseDocument();

  const std::vector<std::string>& Header() const { return header_; }
  size_t RowCount() const { return rows_.size(); }
  const CaseDocumentRow& Row(size_t row) const { return rows_[row]; }
  const CaseColumns& Columns() const { return columns_; }
  /// The column of a name; nullopt when the table has none.
  std::optional<size_t> Column(const std::string& name) const { return columns_.Find(name); }
  /// True for the columns the calculation writes (status, message, results, details).
  bool IsResultColumn(size_t column) const;

  /// Changes an input cell; the row waits for its next calculation.
  void SetCell(size_t row, size_t column, std::string text);
  /// Inserts rows of cells (any width) before position.
  void InsertRows(size_t position, std::vector<std::vector<std::string>> rows);
  void DuplicateRow(size_t row);
  /// Removes the rows at the positions given (any order, duplicates ignored).
  void RemoveRows(std::vector<size_t> rows);

  /// Calculates one row on a fresh sheet.
  void Compute(size_t row, const CaseStart& start);
  /// Rows that are solved, and rows that ended otherwise, among the calculated ones.
  size_t CountMarked(CaseRowMark mark) const;

  /// Reads a whole CSV file: its columns come first, the standard ones follow. False with
  /// a message when it cannot be read or lacks a required column; the table is unchanged.
  bool Open(const std::string& path, std::string& error);
  /// Writes every row to a CSV file (UTF-8 with byte order mark, CR LF) beside the target,
  /// then renames it over the target. False when anything failed.
  bool Save(const std::string& path) const;

  /// The rows as tab-separated lines with the header line first, for a spreadsheet (texts
  /// kept from being formulas, as in the CSV).
  std::string RowsAsText(const std::vector<size_t>& rows) const;
  /// Rows from tab-separated (or, without tabs, comma-separated) text: a first line that
  /// names the table's columns maps the cells by name, otherwise they go in column order.
  std::vector<std::vector<std::string>> RowsFromText(const std::string& text) const;

  /// The cells of a row for the sheet as it stands (its section, unknown, values, units).
  std::vector<std::string> RowFromSheet(const frmRivulet& form) const;
  /// The row read as a calculation; error says which cell is at fault.
  std::optional<CaseInput> InputOf(size_t row, bool startVelocityMode, std::string& error) const;

  /// How the last Open read its file: "comma-separated", or semicolon-separated as
  /// spreadsheets write it where a comma is the decimal point.
  const std::string& ReadAs() const { return readAs_; }

  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 private:
  void SetHeader(const std::vector<std::string>& fileHeader);
  std::vector<std::string> Fit(std::vector<std::string> cells) const;

  std::vector<std::string> header_;
  CaseColumns columns_;
  std::vector<bool> result_;
  std::vector<CaseDocumentRow> rows_;
  bool modified_ = false;
  std::string readAs_;
};

/// The standard input columns in the window's order.
std::vector<std::string> StandardCaseHeader();

}  // namespace rivulet
