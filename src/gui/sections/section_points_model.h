// The surveyed points as a table: station and elevation per row, in the points' unit. Cells
// are formatted when drawn, so 5000 points cost no more to show than the rows in view.
#pragma once

#include <QAbstractTableModel>
#include <vector>

namespace rivulet {

class SectionPointsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  const std::vector<double>& Stations() const { return station_; }
  const std::vector<double>& Elevations() const { return elevation_; }
  /// Replaces every point (no Edited signal: the caller knows).
  void SetPoints(std::vector<double> station, std::vector<double> elevation);
  /// A point after row (before the first when row is -1), halfway to the next one.
  void AddAfter(int row);
  /// Removes the rows given, in any order.
  void RemoveRows(std::vector<int> rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  /// The user changed the points.
  void Edited();

 private:
  std::vector<double> station_, elevation_;
};

}  // namespace rivulet
