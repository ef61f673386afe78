// The rating's rows as a Qt table model, with a column of design-check marks when the
// rating is judged against the design limits.
#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <vector>

#include "core/design/rating_checks.h"
#include "core/hydraulics/rating_table.h"
#include "core/window/rating_sheet.h"

namespace rivulet {

/// The rows for a QTableView: cells are formatted when they are drawn, so a table of a
/// hundred thousand rows costs no more to show than the screenful in view.
class RatingTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  /// Shows rows in units; with checks, a last column marks the limits each row breaks.
  void SetTable(const std::vector<RatingRow>* rows, bool pipe, const RatingUnits& units,
                std::optional<RatingCheckBasis> checks = std::nullopt);
  /// The widest text of a column: its largest value at the column's decimals.
  QString WidestText(int column) const;
  /// The column of design-check marks, or -1 when there is none.
  int ChecksColumn() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::vector<RatingRow>* rows_ = nullptr;
  std::vector<RatingColumn> columns_;
  std::vector<int> decimals_;
  RatingUnits units_;
  std::optional<RatingCheckBasis> checks_;
  QString legend_;
};

}  // namespace rivulet
