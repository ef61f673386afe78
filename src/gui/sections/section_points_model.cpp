#include "gui/sections/section_points_model.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace rivulet {

void SectionPointsModel::SetPoints(std::vector<double> station, std::vector<double> elevation) {
  beginResetModel();
  station_ = std::move(station);
  elevation_ = std::move(elevation);
  elevation_.resize(station_.size());
  endResetModel();
}

void SectionPointsModel::AddAfter(int row) {
  const int at = std::clamp(row + 1, 0, static_cast<int>(station_.size()));
  double s = 0, z = 0;
  if (!station_.empty()) {
    // Halfway between its neighbours, or one unit beyond the end it extends.
    const size_t i = static_cast<size_t>(at);
    if (i == 0) {
      s = station_.front() - 1, z = elevation_.front();
    } else if (i == station_.size()) {
      s = station_.back() + 1, z = elevation_.back();
    } else {
      s = (station_[i - 1] + station_[i]) / 2, z = (elevation_[i - 1] + elevation_[i]) / 2;
    }
  }
  beginInsertRows({}, at, at);
  station_.insert(station_.begin() + at, s);
  elevation_.insert(elevation_.begin() + at, z);
  endInsertRows();
  emit Edited();
}

void SectionPointsModel::RemoveRows(std::vector<int> rows) {
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return;
  beginResetModel();
  for (int r : rows) {
    if (r < 0 || r >= static_cast<int>(station_.size())) continue;
    station_.erase(station_.begin() + r);
    elevation_.erase(elevation_.begin() + r);
  }
  endResetModel();
  emit Edited();
}

int SectionPointsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(station_.size());
}

int SectionPointsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant SectionPointsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  const auto& column = index.column() == 0 ? station_ : elevation_;
  return QLocale::c().toString(column[static_cast<size_t>(index.row())], 'g', 12);
}

bool SectionPointsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  bool ok = false;
  // "." is the decimal point whatever the locale, as everywhere in the program.
  const double v = QLocale::c().toDouble(value.toString().trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return false;
  auto& column = index.column() == 0 ? station_ : elevation_;
  double& cell = column[static_cast<size_t>(index.row())];
  if (cell == v) return true;
  cell = v;
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
