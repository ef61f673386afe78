#include "gui/drainage/inlet_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <any>
#include <memory>

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

// A sag's section shows the local depression at the inlet, the bed lowered by a at the kerb
// and back on the gutter's line at W, and d as the results give the ponding depth: over the
// depressed bed.
void ShowLocalDepression(GutterProfile& profile, const InletInputs& in, double pondingDepth) {
  profile.depthAtCurb = pondingDepth;
  const double a = in.depression.value_or(0);
  const double w = in.depressionWidth.value_or(0);
  if (!(a > 0) || !(w > 0)) return;
  auto& bed = profile.bed;
  for (size_t i = 0; i + 1 < bed.size(); ++i) {
    if (bed[i].x != 0 || bed[i].z != 0) continue;
    // The gutter's height at W, along the bed from the kerb.
    double zAtW = bed.back().z;
    for (size_t j = i; j + 1 < bed.size(); ++j)
      if (bed[j].x <= w && bed[j + 1].x >= w && bed[j + 1].x > bed[j].x) {
        zAtW = bed[j].z + (bed[j + 1].z - bed[j].z) * (w - bed[j].x) / (bed[j + 1].x - bed[j].x);
        break;
      }
    std::vector<ProfilePoint> lowered(bed.begin(), bed.begin() + static_cast<long>(i));
    lowered.push_back({0, -a});
    lowered.push_back({w, zAtW});
    for (size_t j = i + 1; j < bed.size(); ++j)
      if (bed[j].x > w) lowered.push_back(bed[j]);
    bed = std::move(lowered);
    return;
  }
}

struct Drawings {
  std::optional<InletPlan> plan;
  std::optional<GutterSectionDrawing> section;
};

// The drawings of the current results, or none when they are not current: a picture of stale
// figures would contradict the inputs beside it.
Drawings DrawingsOf(const Document& document, const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<InletSolved>(&outcome.solved);
  if (!solved) return {};
  const InletInputs& in = solved->inputs;
  const InletResults& r = solved->results;
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
    GutterProfile profile = GutterSectionProfile(in.gutter, at);
    if (r.pondingDepth) ShowLocalDepression(profile, in, *r.pondingDepth);
    d.section = GutterSectionDrawing{std::move(profile), length};
  }
  return d;
}

Drawings CurrentDrawings(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return {};
  return DrawingsOf(model.ToDocument(), model.Outcome());
}

}  // namespace

std::vector<ReportDrawing> InletReportDrawings(const Document& document,
                                               const SheetOutcome& outcome) {
  Drawings d = DrawingsOf(document, outcome);
  std::vector<ReportDrawing> out;
  if (d.plan) {
    auto view = std::make_shared<InletPlanView>();
    view->SetPlan(std::move(d.plan));
    out.push_back(WidgetDrawing("The inlet in plan", view, {560, 240}));
  }
  if (d.section)
    out.push_back({"Road-edge section at the inlet",
                   {560, 240},
                   [s = *d.section](QPainter& painter, const QRectF& rect) {
                     PaintGutterSection(painter, rect, s);
                   }});
  return out;
}

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
