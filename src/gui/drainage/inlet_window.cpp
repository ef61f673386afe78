#include "gui/drainage/inlet_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <any>

#include "core/worksheets/inlet_sheet.h"
#include "gui/drainage/inlet_plan_view.h"

namespace rivulet {

namespace {

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
  const auto* solved = std::any_cast<InletSolved>(&model.Outcome().solved);
  if (!solved) return {};
  const InletInputs& in = solved->inputs;
  const InletResults& r = solved->results;
  const Document document = model.ToDocument();
  Drawings d;
  const DrawingLengthUnit length = UnitOf(document, "spread", Dimension::Length);
  d.plan = InletPlan{in, r, length, UnitOf(document, "interceptedDischarge", Dimension::Discharge)};
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
  const auto follow = [&window, solve, depth, capacity, plan, section] {
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
