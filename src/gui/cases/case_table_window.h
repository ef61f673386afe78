// The Case Table window: many calculation-sheet cases in one table, recalculated
// together without freezing the window, opened from and saved to CSV, exchanged with
// the calculation window and with spreadsheets, printed landscape.
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <vector>

#include "core/cases/case_design.h"
#include "core/cases/case_document.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "gui/shell/shared_printer.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QMenu;
class QPushButton;
class QTableView;
class QUndoStack;

namespace rivulet {

class CaseFilterModel;
class CaseTableModel;
class frmRivuletView;

class CaseTableWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// mainWindow, when given, is redrawn after a row is opened in the sheet; printer is the
  /// program's one printer, set up by Print Setup.
  CaseTableWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                  frmRivuletView* mainWindow = nullptr, QWidget* parent = nullptr);
  ~CaseTableWindow() override;

  CaseDocument& Document() { return doc_; }
  CaseTableModel* Model() const { return model_; }
  CaseFilterModel* Filter() const { return filter_; }
  QTableView* TableView() const { return view_; }
  bool Recalculating() const { return next_.has_value(); }

  void AddRow();
  void DuplicateRows();
  void DeleteRows();
  void AddCurrentSheet();
  /// Puts the current row on the calculation sheet and calculates it there.
  void OpenRowInSheet();
  /// Starts recalculating every row, a slice at a time between events.
  void RecalculateAll();
  void CancelRecalculation();
  void CopyRows();
  void PasteRows();
  /// False when the user cancelled or the save failed.
  bool Save();
  bool SaveAs();
  void OpenFile();
  /// An empty table after asking about unsaved changes.
  void NewTable();
  /// Opens a file without asking about unsaved changes; false (after a message) on failure.
  bool OpenPath(const QString& path);
  void Print();
  void SavePdf();
  /// Asks about unsaved changes: true when the window may drop them (saved, or the user
  /// chose to discard them).
  bool MayDiscardChanges();
  /// Goes back to the table as its file holds it, or to a new table when it has none.
  void RevertToSaved();

  /// Puts a table back, as Undo and Redo do.
  void ApplyTable(const CaseDocument& table);
  QUndoStack* UndoStack() const { return undo_; }

  /// The source rows selected in the view, in document order.
  std::vector<size_t> SelectedRows() const;
  /// The source rows in the order the view shows them.
  std::vector<size_t> ShownRows() const;
  /// Each shown row's design checks and standard size for the printed table, while the
  /// calculation window applies design settings; none otherwise.
  std::optional<std::vector<CaseDesignCells>> RowDesigns() const;

 signals:
  /// Rows were recalculated up to the end or a cancel.
  void RecalculationFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ArrangeColumns();
  QWidget* BuildFilterBar();
  void RecalculateSlice();
  void EndRecalculation();
  void SetBusyControls(bool busy);
  void DocumentChanged();
  void UpdateTitle();
  void UpdateCounts();
  int CurrentSourceRow() const;
  QString ProposedName(const char* extension) const;
  void BuildUndo(QMenu* edit);
  void ForgetUndoOnClose();
  void RecordEdit();
  void ForgetEdits();
  void MarkUndoClean();

  frmRivulet& form_;
  Services& services_;
  frmRivuletView* main_;
  CaseDocument doc_;
  CaseTableModel* model_ = nullptr;
  CaseFilterModel* filter_ = nullptr;
  QTableView* view_ = nullptr;
  QLineEdit* filterText_ = nullptr;
  QComboBox* filterMark_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* counts_ = nullptr;
  QList<QAction*> editActions_;
  QString path_;
  SharedPrinter& printer_;
  std::unique_ptr<CaseStart> start_;
  std::optional<size_t> next_;
  // The calculation that follows opening a file: the file's rows calculated afresh are not
  // a change to save.
  bool openingCalculation_ = false;
  QUndoStack* undo_ = nullptr;
  CaseDocument recorded_;  // the table as the last Undo step left it
  bool applying_ = false;
};

/// A case table's file (.csv), as the recent-files list tells them apart.
bool IsCaseTableFile(const std::string& path);
/// Shows the sheet's case table and opens the file there, asking about its unsaved changes
/// first.
void OpenCaseTableFile(frmRivulet& form, frmRivuletView& mainWindow, const std::string& path);

/// Wires Tools > Case Table to one case table window of the sheet, made on first use.
void AttachCaseTableWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                           frmRivuletView* mainWindow);

}  // namespace rivulet
