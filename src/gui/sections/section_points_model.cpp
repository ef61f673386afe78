#include "gui/sections/section_points_model.h"

#include <algorithm>

#include "core/worksheets/section_editor_model.h"
#include "gui/shell/qt_text.h"

namespace rivulet {

SectionPointsModel::SectionPointsModel(SectionEditorModel& points, QObject* parent)
    : QAbstractTableModel(parent), points_(points) {}

void SectionPointsModel::Reset() {
  beginResetModel();
  endResetModel();
}

void SectionPointsModel::AddAfter(int row) {
  const int at = std::clamp(row + 1, 0, rowCount());
  beginInsertRows({}, at, at);
  points_.AddPointAfter(row);
  endInsertRows();
  emit Edited();
}

void SectionPointsModel::RemoveRows(std::vector<int> rows) {
  beginResetModel();
  const bool removed = points_.RemovePoints(std::move(rows));
  endResetModel();
  if (removed) emit Edited();
}

int SectionPointsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(points_.Stations().size());
}

int SectionPointsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant SectionPointsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  const auto& column = index.column() == 0 ? points_.Stations() : points_.Elevations();
  return ToQt(SectionCellText(column[static_cast<size_t>(index.row())]));
}

bool SectionPointsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const auto& column = index.column() == 0 ? points_.Stations() : points_.Elevations();
  const double before = column[static_cast<size_t>(index.row())];
  if (!points_.SetPoint(index.row(), index.column(),
                        SectionCellNumber(value.toString().toStdString())))
    return false;
  if (column[static_cast<size_t>(index.row())] == before) return true;
  emit dataChanged(index, index);
  emit Edited();
  return true;
}

Qt::ItemFlags SectionPointsModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant SectionPointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section == 0 ? QString("Station") : QString("Elevation");
}

}  // namespace rivulet
