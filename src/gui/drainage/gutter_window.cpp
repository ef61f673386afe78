#include "gui/drainage/gutter_window.h"

#include <any>

#include "core/worksheets/gutter_sheet.h"
#include "gui/drainage/gutter_section_view.h"

namespace rivulet {

namespace {

// The drawing of the current results, or nothing when they are not current: a picture of
// stale figures would contradict the inputs beside it.
std::optional<GutterSectionDrawing> DrawingOf(const Document& document,
                                              const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<GutterSolved>(&outcome.solved);
  if (!solved) return std::nullopt;
  DrawingLengthUnit unit;
  if (const FileUnit* u = document.ResultUnit("spread", Dimension::Length))
    unit = {u->factor, QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()))};
  return GutterSectionDrawing{GutterSectionProfile(solved->inputs, solved->results), unit};
}

std::optional<GutterSectionDrawing> CurrentDrawing(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return std::nullopt;
  return DrawingOf(model.ToDocument(), model.Outcome());
}

}  // namespace

std::vector<ReportDrawing> GutterReportDrawings(const Document& document,
                                                const SheetOutcome& outcome) {
  const std::optional<GutterSectionDrawing> drawing = DrawingOf(document, outcome);
  if (!drawing) return {};
  return {{"Road edge at the calculated spread",
           {560, 260},
           [d = *drawing](QPainter& painter, const QRectF& rect) {
             PaintGutterSection(painter, rect, d);
           }}};
}

void SetUpGutterWindow(WorksheetWindow& window) {
  auto* view = new GutterSectionView;
  window.SetDrawing(view);
  const auto follow = [&window, view] { view->SetDrawing(CurrentDrawing(window.Model())); };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

}  // namespace rivulet
