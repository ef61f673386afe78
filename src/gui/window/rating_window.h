// The Rating Table window: the rating of the sheet's channel as a table and a plot, with
// its range, rows and units, and the exports (clipboard, CSV, PDF, printer).
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "core/window/rating_sheet.h"
#include "gui/window/rating_print.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace rivulet {

class frmRivuletView;
class RatingPlotView;

/// The rows for a QTableView: cells are formatted when they are drawn, so a table of a
/// hundred thousand rows costs no more to show than the screenful in view.
class RatingTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetTable(const std::vector<RatingRow>* rows, bool pipe, const RatingUnits& units);
  /// The widest text of a column: its largest value at the column's decimals.
  QString WidestText(int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const std::vector<RatingRow>* rows_ = nullptr;
  std::vector<RatingColumn> columns_;
  std::vector<int> decimals_;
  RatingUnits units_;
};

class RatingWindow : public QWidget {
  Q_OBJECT

 public:
  RatingWindow(frmRivulet& form, Services& services, QWidget* parent = nullptr);

  /// Takes in the sheet as it stands and redraws. The table is rebuilt only when its
  /// channel or request changed.
  void Refresh();

  const RatingTable& Table() const { return table_; }
  const RatingSettings& Settings() const { return settings_; }
  QTableView* TableView() const { return view_; }
  RatingPlotView* Plot() const { return plot_; }
  /// The heading, channel, note and plot as printed.
  RatingReport Report() const;

  void CopyTable();
  void SaveCsv();
  void SavePdf();
  void Print();

 protected:
  bool event(QEvent* event) override;

 private:
  void BuildWidgets();
  QWidget* BuildInputs();
  QWidget* BuildButtons();
  void Rebuild();
  void SyncInputs();
  void FitColumns();
  void RangeEdited(bool fromEdited);
  void UnitsChosen();
  QString Note() const;
  QString ProposedName(const char* extension) const;

  frmRivulet& form_;
  Services& services_;
  RatingSettings settings_;
  RatingSource source_;
  RatingTable table_;
  std::optional<std::pair<RatingChannel, RatingRequest>> built_;
  RatingTableModel model_;

  QLabel* channel_ = nullptr;
  QLabel* note_ = nullptr;
  QComboBox* step_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QLabel* rangeUnit_ = nullptr;
  QSpinBox* rows_ = nullptr;
  QComboBox* length_ = nullptr;
  QComboBox* area_ = nullptr;
  QComboBox* velocity_ = nullptr;
  QComboBox* discharge_ = nullptr;
  QTableView* view_ = nullptr;
  RatingPlotView* plot_ = nullptr;
};

/// Wires View > Rating Table to one rating window of the sheet, owned by mainWindow and
/// made on first use. While shown it follows every change the main window reports.
void AttachRatingWindow(frmRivulet& form, Services& services, frmRivuletView* mainWindow);

}  // namespace rivulet
