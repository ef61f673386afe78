// The case table for Qt's views: one row per case, cells drawn from the document when
// they are shown, the status cell worded and coloured, and sorting that reads numbers as
// numbers.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <functional>

#include "core/cases/case_document.h"

namespace rivulet {

class CaseTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  /// The numeric value of a cell for sorting (a text that is no number sorts as text).
  static constexpr int kSortRole = Qt::UserRole + 1;
  /// The row's mark as an int, for the status filter.
  static constexpr int kMarkRole = Qt::UserRole + 2;

  explicit CaseTableModel(CaseDocument& document, QObject* parent = nullptr);

  CaseDocument& Document() { return doc_; }
  /// The status as the table words it: the calculation's status, or why there is none.
  static QString StatusWords(const CaseDocumentRow& row, const std::string& status);
  /// A cell as the table shows and prints it: a figure of a figure column (flow, depth, area...)
  /// at the display precision, six significant digits by default; anything else as it is.
  /// The file and the editor keep every digit.
  static QString ShownCell(const std::string& column, const std::string& cell);

  /// Tell the views that rows first..last changed in place.
  void RowsChanged(int first, int last);
  /// Makes a change to the rows (a file opened, rows added, pasted or removed) with the
  /// views told before and after.
  void Restructure(const std::function<void()>& change);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  /// A cell was edited by the user.
  void Edited();

 private:
  CaseDocument& doc_;
};

/// Sorting and filtering: a text found in any cell, and a status to show.
class CaseFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  /// -1 shows every row; otherwise only rows with that CaseRowMark.
  void SetMark(int mark);
  void SetText(const QString& text);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  int mark_ = -1;
  QString text_;
};

}  // namespace rivulet
