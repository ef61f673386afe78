// The rating of the section in its window: depth against discharge stepped by depth or by
// discharge, as a table and a curve (the program's rating table and plot), with the
// solution and critical depths marked, and CSV export.
#pragma once

#include <QWidget>

#include "core/hydraulics/rating_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace rivulet {

class RatingPlotView;
class RatingTableModel;
class WorksheetWindow;

class SectionRatingWindow : public QWidget {
  Q_OBJECT

 public:
  SectionRatingWindow(WorksheetWindow& window, QWidget* parent = nullptr);

  const RatingTable& Table() const { return table_; }
  /// Rebuilds the table from the worksheet as it stands.
  void Refresh();
  void SaveCsv();

 private:
  WorksheetWindow& window_;
  QComboBox* step_ = nullptr;
  QLineEdit* to_ = nullptr;
  QSpinBox* rows_ = nullptr;
  QLabel* note_ = nullptr;
  RatingTableModel* model_ = nullptr;
  RatingPlotView* plot_ = nullptr;
  RatingTable table_;
};

}  // namespace rivulet
