#include "gui/drainage/gutter_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <map>

#include "core/shell/clipboard_commands.h"
#include "core/shell/startup.h"
#include "core/worksheets/gutter_sheet.h"
#include "gui/drainage/gutter_section_view.h"

namespace rivulet {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The drawing of the current results, or nothing when they are not current: a picture of
// stale figures would contradict the inputs beside it.
std::optional<GutterSectionDrawing> CurrentDrawing(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return std::nullopt;
  try {
    const Document document = model.ToDocument();
    const GutterInputs in = ReadGutterInputs(document);
    const GutterResults r = SolveGutter(in);
    if (!r.Ok()) return std::nullopt;
    DrawingLengthUnit unit;
    if (const FileUnit* u = document.ResultUnit("spread", Dimension::Length))
      unit = {u->factor, QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()))};
    return GutterSectionDrawing{GutterSectionProfile(in, r), unit};
  } catch (const WorksheetError&) {
    return std::nullopt;
  }
}

QString Caption(const InputField& f, GutterInputUse use) {
  switch (use) {
    case GutterInputUse::Optional:
      return Q(f.label) + " (optional)";
    case GutterInputUse::EitherOfPair:
      return Q(f.label) + (f.name == "gutterCrossSlope" ? " (or a)" : " (or Sw)");
    default:
      return Q(f.label);
  }
}

// The caption widget of each input row: its unknown button, or the label the window gave it.
std::map<std::string, QWidget*> Captions(WorksheetWindow& window) {
  std::map<std::string, QWidget*> captions;
  const QList<QLabel*> labels = window.findChildren<QLabel*>();
  for (const InputField& f : window.Model().Kind().inputs) {
    if (auto* button = window.findChild<QRadioButton*>("unknown_" + Q(f.name))) {
      captions[f.name] = button;
      continue;
    }
    for (QLabel* label : labels)
      if (label->text() == Q(f.label) || label->text() == Q(f.label) + " (optional)")
        captions[f.name] = label;
  }
  return captions;
}

// Only the chosen gutter's dimensions and the quantity solved from can be typed, and each
// caption says whether it is needed.
void ShowInputUse(WorksheetWindow& window, const std::map<std::string, QWidget*>& captions) {
  const WorksheetModel& model = window.Model();
  const std::string type = model.Option("gutterType");
  const std::string known = model.Option("known");
  for (const InputField& f : model.Kind().inputs) {
    const GutterInputUse use = GutterInputUseFor(f.name, type, model.Unknown(), known);
    const bool used = use != GutterInputUse::Unused;
    if (auto* box = window.findChild<QLineEdit*>("input_" + Q(f.name))) box->setEnabled(used);
    if (auto* unit = window.findChild<QComboBox*>("unit_" + Q(f.name))) unit->setEnabled(used);
    const auto caption = captions.find(f.name);
    if (caption == captions.end()) continue;
    if (auto* label = qobject_cast<QLabel*>(caption->second)) {
      label->setText(Caption(f, use));
      label->setEnabled(used);
    } else if (auto* button = qobject_cast<QRadioButton*>(caption->second)) {
      button->setText(Caption(f, use));
    }
  }
}

// Help opens the page at this worksheet's section, which also says how it differs from the
// calculation window's Gutter section.
void AddHelpMenu(WorksheetWindow& window) {
  QMenu* help = window.menuBar()->addMenu("&Help");
  QAction* item = help->addAction("Gutter Flow &Help");
  item->setObjectName("mnuGutterHelp");
  item->setShortcut(QKeySequence(Qt::Key_F1));
  QObject::connect(item, &QAction::triggered, &window, [&window] {
    HelpContentsCommand(window.WindowServices(),
                        "file://" + HelpPagePath(ExecutableFolder()) + "#gutterflow");
  });
}

}  // namespace

void SetUpGutterWindow(WorksheetWindow& window) {
  auto* view = new GutterSectionView;
  window.SetDrawing(view);
  AddHelpMenu(window);
  const auto follow = [&window, view, captions = Captions(window)] {
    ShowInputUse(window, captions);
    view->SetDrawing(CurrentDrawing(window.Model()));
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

}  // namespace rivulet
