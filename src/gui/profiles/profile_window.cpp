#include "gui/profiles/profile_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLayout>
#include <QPushButton>
#include <any>

#include "core/shell/dialog_folder.h"
#include "core/shell/safe_file.h"
#include "core/shell/startup.h"
#include "core/worksheets/profile_sheet.h"
#include "gui/profiles/profile_view.h"

namespace rivulet {
namespace {

// Nothing is drawn unless the results are current: a stale profile beside edited inputs
// would mislead.
std::optional<ProfileDrawing> CurrentDrawing(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return std::nullopt;
  const auto* solved = std::any_cast<ProfileSolved>(&model.Outcome().solved);
  if (!solved) return std::nullopt;
  double metres = 1;
  QString symbol = "m";
  if (const FileUnit* u = model.ToDocument().ResultUnit("depth", Dimension::Length)) {
    metres = u->factor;
    symbol = QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()));
  }
  return MakeProfileDrawing(solved->inputs, solved->results, metres, symbol);
}

void SaveProfileCsv(WorksheetWindow& window) {
  const WorksheetModel& model = window.Model();
  if (model.State() != ResultsState::Current) return;
  const std::string csv = ProfileTableCsv(model.Outcome(), model.ToDocument());
  if (csv.empty()) return;
  Services& services = window.WindowServices();
  const auto choice = services.SaveFileDialog({"Save Profile as CSV",
                                               {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
                                               "profile.csv",
                                               "csv",
                                               FileDialogStartFolder(model.FilePath())});
  if (!choice) return;
  if (const SaveOutcome saved = ReplaceFileContent(choice->path, csv); !saved)
    services.MessageBox(SaveFailureText(saved), kProductName, MessageIcon::Exclamation);
}

// Seven options do not fit one row of a laptop's screen: the method and its choices go to a
// row of their own under the channel and controls.
void SplitOptionRow(WorksheetWindow& window) {
  auto* first = window.findChild<QComboBox*>("option_method");
  QLayout* column = first ? first->parentWidget()->layout() : nullptr;
  if (!column) return;
  for (int i = 0; i < column->count(); ++i) {
    auto* row = qobject_cast<QBoxLayout*>(column->itemAt(i)->layout());
    const int at = row ? row->indexOf(first) : -1;
    if (at < 1) continue;
    auto* second = new QHBoxLayout;
    // The label before the method's list, then every pair after it; the stretch stays.
    while (row->count() > at) {
      QLayoutItem* item = row->takeAt(at - 1);
      if (!item->widget()) {
        row->addItem(item);
        break;
      }
      second->addItem(item);
    }
    second->addStretch(1);
    qobject_cast<QBoxLayout*>(column)->insertLayout(i + 1, second);
    return;
  }
}

}  // namespace

// The list of sections would stand below the long column of results, out of sight: it goes
// under the inputs instead, where the other channel's inputs stand greyed.
void MoveSectionsUnderInputs(WorksheetWindow& window) {
  auto* list = window.findChild<QWidget*>("list_sections");
  if (!list || !list->parentWidget() || !list->parentWidget()->layout()) return;
  list->parentWidget()->layout()->removeWidget(list);
  window.AddBelowInputs(list);
}

void SetUpProfileWindow(WorksheetWindow& window) {
  SplitOptionRow(window);
  MoveSectionsUnderInputs(window);
  auto* view = new ProfileView;
  // The results column runs long; the drawing keeps a readable height at its top.
  auto* holder = new QWidget;
  auto* stack = new QVBoxLayout(holder);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->addWidget(view);
  stack->addStretch(1);
  window.SetDrawing(holder);
  auto* csv = new QPushButton("Save Profile CSV...");
  csv->setObjectName("cmdProfileCsv");
  window.AddBelowInputs(csv);
  QObject::connect(csv, &QPushButton::clicked, &window, [&window] { SaveProfileCsv(window); });
  const auto follow = [&window, view, csv] {
    view->SetDrawing(CurrentDrawing(window.Model()));
    csv->setEnabled(view->Drawing().has_value());
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

}  // namespace rivulet
