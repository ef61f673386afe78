#include "gui/drainage/inlet_window.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

#include "core/shell/clipboard_commands.h"
#include "core/shell/startup.h"
#include "core/worksheets/inlet_sheet.h"
#include "gui/drainage/inlet_plan_view.h"

namespace rivulet {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

DrawingLengthUnit UnitOf(const Document& d, const char* result, Dimension dim) {
  DrawingLengthUnit unit;
  if (const FileUnit* u = d.ResultUnit(result, dim))
    unit = {u->factor, QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()))};
  return unit;
}

struct Drawings {
  std::optional<InletPlan> plan;
  std::optional<GutterSectionDrawing> section;
};

// The drawings of the current results, or none when they are not current: a picture of stale
// figures would contradict the inputs beside it.
Drawings CurrentDrawings(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return {};
  try {
    const Document document = model.ToDocument();
    const InletInputs in = ReadInletInputs(document);
    const InletResults r = SolveInlet(in);
    if (!r.Ok()) return {};
    Drawings d;
    const DrawingLengthUnit length = UnitOf(document, "spread", Dimension::Length);
    d.plan =
        InletPlan{in, r, length, UnitOf(document, "interceptedDischarge", Dimension::Discharge)};
    // The section at the inlet: the approach flow on a grade, the ponded water in a sag.
    if (r.gutter || r.pondingDepth) {
      GutterResults at = r.gutter.value_or(GutterResults{});
      if (r.pondingDepth) {
        at.depthAtCurb = *r.pondingDepthInGutter;
        at.spread = *r.spreadAtPonding;
      }
      d.section = GutterSectionDrawing{GutterSectionProfile(in.gutter, at), length};
    }
    return d;
  } catch (const WorksheetError&) {
    return {};
  }
}

InletChoices ChoicesOf(const WorksheetModel& model) {
  return {model.Option("location"), model.Option("inletType"), model.Option("gutterType"),
          model.Option("throat"), model.Unknown()};
}

QString Caption(const InputField& f, InletInputUse use) {
  switch (use) {
    case InletInputUse::Optional:
      return Q(f.label) + " (optional)";
    case InletInputUse::EitherOfPair:
      return Q(f.label) + (f.name == "gutterCrossSlope" ? " (or a)" : " (or Sw)");
    default:
      return Q(f.label);
  }
}

// The caption label of each input row, found by the text the window gave it.
std::map<std::string, QLabel*> Captions(WorksheetWindow& window) {
  std::map<std::string, QLabel*> captions;
  const QList<QLabel*> labels = window.findChildren<QLabel*>();
  for (const InputField& f : window.Model().Kind().inputs)
    for (QLabel* label : labels)
      if (label->text() == Q(f.label) || label->text() == Q(f.label) + " (optional)")
        captions[f.name] = label;
  return captions;
}

void ShowInputUse(WorksheetWindow& window, const std::map<std::string, QLabel*>& captions) {
  const WorksheetModel& model = window.Model();
  const InletChoices choices = ChoicesOf(model);
  for (const InputField& f : model.Kind().inputs) {
    const InletInputUse use = InletInputUseFor(f.name, choices);
    const bool used = use != InletInputUse::Unused;
    if (auto* box = window.findChild<QLineEdit*>("input_" + Q(f.name))) box->setEnabled(used);
    if (auto* unit = window.findChild<QComboBox*>("unit_" + Q(f.name))) unit->setEnabled(used);
    const auto caption = captions.find(f.name);
    if (caption == captions.end()) continue;
    caption->second->setText(Caption(f, use));
    caption->second->setEnabled(used);
  }
  // The grate list and the throat list matter only where there is a grate or an opening.
  for (const char* option : {"grateType", "throat"})
    if (auto* box = window.findChild<QComboBox*>(QString("option_") + option))
      box->setEnabled(InletFieldApplies(option, choices));
}

void AddHelpMenu(WorksheetWindow& window) {
  QMenu* help = window.menuBar()->addMenu("&Help");
  QAction* item = help->addAction("Inlet &Help");
  item->setObjectName("mnuInletHelp");
  item->setShortcut(QKeySequence(Qt::Key_F1));
  QObject::connect(item, &QAction::triggered, &window, [&window] {
    HelpContentsCommand(window.WindowServices(),
                        "file://" + HelpPagePath(ExecutableFolder()) + "#inlets");
  });
}

}  // namespace

void SetUpInletWindow(WorksheetWindow& window) {
  auto* panel = new QWidget;
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  auto* solve = new QGroupBox("In a Sag, Solve For");
  auto* row = new QHBoxLayout(solve);
  auto* depth = new QRadioButton("Ponding &Depth");
  depth->setObjectName("optSolveDepth");
  auto* capacity = new QRadioButton("Capacit&y at Ponding Depth");
  capacity->setObjectName("optSolveCapacity");
  row->addWidget(depth);
  row->addWidget(capacity);
  row->addStretch(1);
  for (auto [button, name] : {std::pair{depth, "depth"}, std::pair{capacity, "capacity"}})
    QObject::connect(button, &QRadioButton::clicked, &window,
                     [&window, unknown = std::string(name)] {
                       window.Model().SetUnknown(unknown);
                       window.Sync();
                     });
  auto* plan = new InletPlanView;
  auto* section = new GutterSectionView;
  // Heights that keep both drawings in view beside the long input list on a 768-pixel screen.
  plan->setMaximumHeight(220);
  section->setMaximumHeight(250);
  column->addWidget(solve);
  column->addWidget(plan, 1);
  column->addWidget(section, 1);
  column->addStretch(0);
  window.SetDrawing(panel);
  AddHelpMenu(window);
  const auto follow = [&window, solve, depth, capacity, plan, section,
                       captions = Captions(window)] {
    ShowInputUse(window, captions);
    const WorksheetModel& model = window.Model();
    solve->setEnabled(model.Option("location") == "sag");
    depth->setChecked(model.Unknown() == "depth");
    capacity->setChecked(model.Unknown() == "capacity");
    Drawings d = CurrentDrawings(model);
    plan->SetPlan(std::move(d.plan));
    section->SetDrawing(std::move(d.section));
  };
  QObject::connect(&window, &WorksheetWindow::Synced, panel, follow);
  follow();
}

}  // namespace rivulet
