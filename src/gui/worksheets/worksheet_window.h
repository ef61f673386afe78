// The window of a worksheet kind: a value box and unit list per input, the unknown chosen
// by option buttons, option lists, Calculate (F5), a status line that says whether the
// results are current, result rows with unit lists, a place for the kind's drawing, the
// file, print and copy commands, and Help (F1) at the kind's section of the help page.
// Inputs and options the chosen options leave unused are greyed, and each caption says
// whether its input is optional, by the kind's rule. It draws a WorksheetModel and
// forwards each action.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/shell/services.h"
#include "core/worksheets/worksheet_model.h"
#include "gui/shell/shared_printer.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QVBoxLayout;

namespace rivulet {

class WorksheetListEditor;

/// The answer to "Save changes to NAME?".
enum class SaveAnswer { Save, Discard, Cancel };

class WorksheetWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// A new, untitled worksheet of kind; dialogs and messages go through services, and it
  /// prints on printer, the one Print Setup configures.
  WorksheetWindow(const WorksheetKind& kind, Services& services, SharedPrinter& printer,
                  QWidget* parent = nullptr);

  WorksheetModel& Model() { return model_; }
  /// The dialogs and shell of this window, for what a kind adds to it.
  Services& WindowServices() { return services_; }
  /// The printer this window prints on, for the windows a kind opens from it.
  SharedPrinter& WindowPrinter() { return printer_; }
  const WorksheetModel& Model() const { return model_; }

  /// Puts the kind's drawing beside the inputs; it redraws on Synced().
  void SetDrawing(QWidget* drawing);
  /// Puts a widget (a drawing, say) under the Inputs group, where a short list of inputs
  /// leaves room, so the window stays narrow enough for a laptop screen.
  void AddBelowInputs(QWidget* widget);
  /// Asks whether to save unsaved changes; a message box unless a test replaces it.
  void SetSaveQuestion(std::function<SaveAnswer(const std::string& name)> ask) {
    askSave_ = std::move(ask);
  }

  /// Reads the file into this window and calculates; false (after a message) when the file
  /// is no worksheet of this kind.
  bool OpenFile(const std::string& path);
  /// The menu commands; each false when cancelled or failed (after a message).
  bool Open();
  bool Save();
  bool SaveAs();
  void Print();
  /// Prints the report on the window's printer as it is set up, without asking; false
  /// (after a message) when the printer failed.
  bool PrintOnPrinter();
  bool SavePdf();
  void CopyResults();
  void Calculate();

  /// Redraws every widget, the title and the results from the model.
  void Sync();

 signals:
  /// The window has redrawn from the model (a drawing follows it).
  void Synced();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildInputs();
  QWidget* BuildResults();
  void BuildMenus();
  void RebuildResultRows();
  void RebuildResultTables(bool current);
  void ShowInputUse();
  void FitToContent();
  QSize WantedSize() const;
  void ScheduleRefit();
  bool MayDiscard();
  bool SaveTo(const std::string& path);
  void Message(const std::string& text, MessageIcon icon);

  struct InputRow {
    QRadioButton* unknown = nullptr;
    QLabel* caption = nullptr;  ///< the caption of a row that cannot be the unknown
    QLineEdit* value = nullptr;
    QComboBox* unit = nullptr;
  };
  struct ResultWidgets {
    QLineEdit* value = nullptr;
    QComboBox* unit = nullptr;
  };

  WorksheetModel model_;
  Services& services_;
  SharedPrinter& printer_;
  std::function<SaveAnswer(const std::string&)> askSave_;
  QLineEdit* title_ = nullptr;
  std::map<std::string, InputRow> inputs_;
  std::map<std::string, QComboBox*> options_;
  std::map<std::string, WorksheetListEditor*> lists_;  ///< list inputs by name
  std::map<std::string, QTableWidget*> resultTables_;  ///< table results by name
  QVBoxLayout* tablesSlot_ = nullptr;
  QComboBox* resultSystem_ = nullptr;
  QGridLayout* resultGrid_ = nullptr;
  std::vector<std::pair<std::string, std::string>> shownRows_;  // name and label per row
  std::vector<ResultWidgets> results_;
  QLabel* warnings_ = nullptr;
  QLineEdit* status_ = nullptr;
  QVBoxLayout* drawingSlot_ = nullptr;
  QVBoxLayout* inputsColumn_ = nullptr;
  bool refitPending_ = false;
};

}  // namespace rivulet
