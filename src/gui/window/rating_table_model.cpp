#include "gui/window/rating_table_model.h"

#include <QBrush>
#include <QColor>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {}  // namespace

void RatingTableModel::SetTable(const std::vector<RatingRow>* rows, bool pipe,
                                const RatingUnits& units, std::optional<RatingCheckBasis> checks) {
  beginResetModel();
  rows_ = rows;
  units_ = units;
  columns_ = RatingColumns(pipe);
  decimals_.clear();
  for (RatingColumn c : columns_) decimals_.push_back(RatingColumnDecimals(*rows, c, units));
  checks_ = std::move(checks);
  legend_.clear();
  if (checks_) {
    QStringList lines;
    for (const std::string& line : RatingChecksLegend(*checks_)) lines << ToQt(line);
    legend_ = lines.join('\n');
  }
  endResetModel();
}

int RatingTableModel::ChecksColumn() const {
  return checks_ ? static_cast<int>(columns_.size()) : -1;
}

QString RatingTableModel::WidestText(int column) const {
  if (column == ChecksColumn()) {
    // Every mark at once is the widest a row can be.
    return ToQt("V<min y/D>max FB<min Fr~1");
  }
  double largest = 0;
  for (const RatingRow& row : *rows_)
    if (const auto v = RatingCellValue(row, columns_[column], units_))
      largest = std::max(largest, std::abs(*v));
  return ToQt(RatingCellText(largest, decimals_[column]));
}

int RatingTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !rows_ ? 0 : static_cast<int>(rows_->size());
}

int RatingTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + (checks_ ? 1 : 0);
}

QVariant RatingTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !rows_) return {};
  const RatingRow& row = (*rows_)[index.row()];
  if (index.column() == ChecksColumn()) {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole) return legend_;
    // The words carry the meaning; the tint only helps the eye find the rows.
    if (role == Qt::BackgroundRole)
      return RatingRowMarks(*checks_, row).empty() ? QVariant()
                                                   : QVariant(QBrush(QColor(255, 228, 200)));
    if (role == Qt::DisplayRole) return ToQt(RatingRowMarksText(*checks_, row));
    return {};
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const RatingColumn column = columns_[index.column()];
  return ToQt(RatingCellText(RatingCellValue(row, column, units_), decimals_[index.column()]));
}

QVariant RatingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section == ChecksColumn() && role == Qt::ToolTipRole)
    return legend_;
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section == ChecksColumn()) return ToQt(std::string(kRatingChecksTitle) + "\n(marks)");
  const RatingColumn c = columns_[section];
  return ToQt(RatingColumnTitle(c) + "\n(" + RatingColumnUnit(c, units_) + ")");
}

}  // namespace rivulet
