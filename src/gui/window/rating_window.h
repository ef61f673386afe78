// The Rating Table window: the rating of the sheet's channel as a table and a plot, with
// its range, rows and units, and the exports (clipboard, CSV, PDF, printer).
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/design/design_settings.h"
#include "core/files/rating_csv.h"
#include "core/hydraulics/rating_table.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "core/window/rating_sheet.h"
#include "core/window/rating_view_model.h"
#include "gui/shell/shared_printer.h"
#include "gui/window/rating_print.h"
#include "gui/window/rating_table_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;

namespace rivulet {

class frmRivuletView;
class RatingPlotView;

class RatingWindow : public QWidget {
  Q_OBJECT

 public:
  /// Prints on printer, the one Print Setup configures.
  RatingWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
               QWidget* parent = nullptr);

  /// Takes in the sheet as it stands and redraws. The table is rebuilt only when its
  /// channel or request changed.
  void Refresh();
  /// The settings rows are judged under from the next Refresh; none leaves the checks out.
  void SetDesignSettings(const DesignSettings* settings);

  const RatingTable& Table() const { return rating_.Table(); }
  const RatingSettings& Settings() const { return rating_.Settings(); }
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
  /// Draws the view-model as it stands: table, plot, note and inputs.
  void Redraw();
  void SyncInputs();
  void FitColumns();
  void RangeEdited(RatingRangeEnd end);
  void UnitsChosen();
  std::optional<RatingCheckBasis> Checks() const;
  /// The marks of every row, for the exports; none without design settings.
  std::optional<RatingTextColumn> ChecksColumn() const;
  /// The legend of the marks in one paragraph; "" without checks.
  QString ChecksLegend() const;

  frmRivulet& form_;
  Services& services_;
  SharedPrinter& printer_;
  RatingViewModel rating_;
  RatingTableModel model_;
  const DesignSettings* design_ = nullptr;

  QLabel* channel_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* legend_ = nullptr;
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
/// made on first use, printing on printer. While shown it follows every change the main
/// window reports.
void AttachRatingWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                        frmRivuletView* mainWindow);

}  // namespace rivulet
