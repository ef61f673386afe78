// The surveyed points as a table over the editor's view-model: station and elevation per
// row, in the points' unit. Cells are formatted when drawn, so 5000 points cost no more to
// show than the rows in view.
#pragma once

#include <QAbstractTableModel>
#include <vector>

namespace rivulet {

class SectionEditorModel;

class SectionPointsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  SectionPointsModel(SectionEditorModel& points, QObject* parent = nullptr);

  /// The points changed in the view-model: every row is drawn again.
  void Reset();
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
  /// The user changed the points (the view-model has sent them to the worksheet).
  void Edited();

 private:
  SectionEditorModel& points_;
};

}  // namespace rivulet
