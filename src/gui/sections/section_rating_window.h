// The rating of the section in its window: depth against discharge stepped by depth or by
// discharge, as a table and a curve (the program's rating table and plot), with the
// solution and critical depths marked, in the units of the worksheet's results, with CSV
// and PDF export and printing.
#pragma once

#include <QWidget>

#include "core/worksheets/section_rating_view_model.h"
#include "gui/shell/shared_printer.h"
#include "gui/window/rating_print.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace rivulet {

class RatingPlotView;
class RatingTableModel;
class WorksheetWindow;

class SectionRatingWindow : public QWidget {
  Q_OBJECT

 public:
  /// The rating of window's section, printed on printer.
  SectionRatingWindow(WorksheetWindow& window, SharedPrinter& printer, QWidget* parent = nullptr);

  const RatingTable& Table() const { return model_.Table(); }
  /// The units of the table, the plot and the exports: the worksheet's result units.
  const RatingUnits& Units() const { return model_.Units(); }
  const SectionRatingViewModel& ViewModel() const { return model_; }
  /// Rebuilds the table from the worksheet as it stands.
  void Refresh();
  /// The heading, section, note, plot and rows as printed.
  RatingReport Report() const;
  /// The table, tab-separated with its header, to the clipboard.
  void CopyTable();
  void SaveCsv();
  void SavePdf();
  void Print();
  /// Prints the rating on the window's printer as it is set up, without asking; false
  /// (after a message) when the printer failed.
  bool PrintOnPrinter();

 private:
  // What the controls ask for.
  SectionRatingRequest Request() const;
  // Shows the view-model's state.
  void Draw();

  WorksheetWindow& window_;
  SharedPrinter& printer_;
  QComboBox* step_ = nullptr;
  QLineEdit* to_ = nullptr;
  QLabel* toUnit_ = nullptr;
  QSpinBox* rows_ = nullptr;
  QLabel* note_ = nullptr;
  QTableView* tableView_ = nullptr;
  RatingTableModel* tableModel_ = nullptr;
  RatingPlotView* plot_ = nullptr;
  SectionRatingViewModel model_;
};

}  // namespace rivulet
