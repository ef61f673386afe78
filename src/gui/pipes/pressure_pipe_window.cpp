#include "gui/pipes/pressure_pipe_window.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <any>
#include <memory>

#include "core/shell/dialog_folder.h"
#include "core/shell/number_text.h"
#include "core/shell/safe_file.h"
#include "core/shell/startup.h"
#include "gui/pipes/pressure_pipe_view.h"

namespace rivulet {
namespace {

const PressurePipeSolved* CurrentSolve(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return nullptr;
  return std::any_cast<PressurePipeSolved>(&model.Outcome().solved);
}

// The drawing of the current results, or nothing when they are not current: a picture of
// stale figures would contradict the inputs beside it.
std::optional<PressurePipeDrawing> CurrentDrawing(const WorksheetModel& model) {
  const PressurePipeSolved* solved = CurrentSolve(model);
  if (!solved) return std::nullopt;
  PressurePipeDrawing d{*solved};
  const Document doc = model.ToDocument();
  if (const FileUnit* u = doc.ResultUnit("totalHeadLoss", Dimension::Length)) {
    d.lengthFactor = u->factor;
    d.lengthSymbol = QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()));
  }
  if (const FileUnit* u = doc.ResultUnit("discharge", Dimension::Discharge)) {
    d.dischargeFactor = u->factor;
    d.dischargeSymbol = QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()));
  }
  return d;
}

// A material chosen by the user writes its values into the boxes, in their units, where
// they stay editable; one read from a file leaves the file's values alone.
void FillMaterial(WorksheetModel& model, const std::string& material) {
  const struct {
    const char* field;
    Dimension dimension;
  } fields[] = {{"roughness", Dimension::Length},
                {"hazenWilliamsC", Dimension::None},
                {"manningsN", Dimension::None}};
  for (const auto& f : fields) {
    const std::optional<double> value = MaterialValue(material, f.field);
    const FileUnit* unit = FindFileUnit(f.dimension, model.Unit(f.field));
    model.SetText(f.field, !value ? "" : FormatNumber(unit ? FromBase(*unit, *value) : *value));
  }
}

}  // namespace

bool SaveHeadLossCurve(WorksheetWindow& window) {
  const PressurePipeSolved* solved = CurrentSolve(window.Model());
  Services& services = window.WindowServices();
  if (!solved) {
    services.MessageBox("Calculate first: there is no current head-loss curve to save.",
                        kProductName, MessageIcon::Exclamation);
    return false;
  }
  const auto choice = services.SaveFileDialog({"Save Head-Loss Curve as CSV",
                                               {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
                                               "head-loss-curve.csv",
                                               "csv",
                                               FileDialogStartFolder(window.Model().FilePath())});
  if (!choice) return false;
  const std::string csv = HeadLossCurveCsv(window.Model().ToDocument(), solved->results);
  if (!ReplaceFileContent(choice->path, csv)) {
    services.MessageBox("The curve could not be saved to " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
    return false;
  }
  return true;
}

void SetUpPressurePipeWindow(WorksheetWindow& window) {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new PressurePipeView;
  auto* save = new QPushButton("Save Curve as CSV...");
  save->setObjectName("cmdSaveCurve");
  // Both panels in sight beside the inputs, whatever the length of the results column.
  view->setFixedHeight(500);
  layout->addWidget(view);
  layout->addWidget(save, 0, Qt::AlignRight);
  layout->addStretch(1);
  window.SetDrawing(panel);
  // The fittings under the inputs they add to, in sight, rather than below the long column
  // of results.
  if (auto* fittings = window.findChild<QWidget*>("list_minorLosses"))
    window.AddBelowInputs(fittings);
  QObject::connect(save, &QPushButton::clicked, &window, [&window] { SaveHeadLossCurve(window); });
  auto material = std::make_shared<std::string>(window.Model().Option("material"));
  const auto follow = [&window, view, save, material] {
    WorksheetModel& model = window.Model();
    if (model.Option("material") != *material) {
      *material = model.Option("material");
      if (model.HasUnsavedChanges() && *material != "custom") {
        FillMaterial(model, *material);
        window.Sync();
        return;  // the Sync above has drawn everything
      }
    }
    view->SetDrawing(CurrentDrawing(model));
    save->setEnabled(CurrentSolve(model) != nullptr);
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

}  // namespace rivulet
