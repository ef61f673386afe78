#include "gui/structures/orifice_window.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <any>
#include <memory>

namespace rivulet {

OrificeFaceView::OrificeFaceView(QWidget* parent) : QWidget(parent) {
  setObjectName("orificeFaceView");
  setMinimumSize(300, 180);
}

void OrificeFaceView::SetOrifice(std::optional<OrificeSolved> solved) {
  solved_ = std::move(solved);
  update();
}

void OrificeFaceView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!solved_) {
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the orifice.");
    return;
  }
  const Orifice& o = solved_->results.orifice;
  const double up = solved_->results.upstreamElevation;
  const std::optional<double> down = solved_->inputs.downstreamElevation;
  const double d = OrificeHeight(o);
  const double w = o.shape == OrificeShape::Circular ? o.diameter : o.width;
  // Levels from a little below the invert to a little above the higher of the water and
  // the opening's top; the wall three openings wide, or as wide as the levels are tall.
  const double low = o.invertElevation - d / 2;
  const double high = std::max(up, o.invertElevation + d) + d / 2;
  const double wall = std::max(3 * w, high - low);
  const double margin = 12;
  const double scale =
      std::min((width() - 2 * margin) / wall, (height() - 2 * margin - 16) / (high - low));
  const double x0 = width() / 2.0;
  const double y0 = height() - margin - 16;
  const auto pt = [&](double x, double z) {
    return QPointF(x0 + x * scale, y0 - (z - low) * scale);
  };

  const QRectF face(pt(-wall / 2, high), pt(wall / 2, low));
  const QRectF hole(pt(-w / 2, o.invertElevation + d), pt(w / 2, o.invertElevation));
  QPainterPath opening;
  if (o.shape == OrificeShape::Circular)
    opening.addEllipse(hole);
  else
    opening.addRect(hole);
  QPainterPath wallPath;
  wallPath.addRect(face);
  p.fillPath(wallPath.subtracted(opening), QColor(190, 185, 175));
  // Water standing upstream, seen through the opening and above the wall's face.
  QPainterPath water;
  water.addRect(QRectF(pt(-wall / 2, up), pt(wall / 2, low)));
  p.fillPath(opening.intersected(water), QColor(120, 170, 230));
  p.setPen(QPen(Qt::black, 1.2));
  p.drawPath(wallPath.subtracted(opening));
  p.setPen(QPen(QColor(20, 60, 160), 1.5));
  p.drawLine(pt(-wall / 2, up), pt(wall / 2, up));
  if (down && *down > low) {
    p.setPen(QPen(QColor(20, 60, 160), 1, Qt::DashLine));
    p.drawLine(pt(-wall / 2, *down), pt(wall / 2, *down));
  }
  p.setPen(Qt::black);
  p.drawText(QRectF(0, y0 + 2, width(), 16), Qt::AlignHCenter,
             "Seen from upstream, to scale; downstream level dashed");
}

void SetUpOrificeWindow(WorksheetWindow& window) {
  auto* view = new OrificeFaceView;
  window.AddBelowInputs(view);
  const auto follow = [&window, view] {
    const WorksheetModel& model = window.Model();
    const auto* solved = std::any_cast<OrificeSolved>(&model.Outcome().solved);
    view->SetOrifice(model.State() == ResultsState::Current && solved
                         ? std::optional<OrificeSolved>(*solved)
                         : std::nullopt);
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

std::vector<ReportDrawing> OrificeReportDrawings(const Document&, const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<OrificeSolved>(&outcome.solved);
  if (!solved) return {};
  auto view = std::make_shared<OrificeFaceView>();
  view->SetOrifice(*solved);
  return {WidgetDrawing("The opening seen from upstream", view, {560, 300})};
}

}  // namespace rivulet
