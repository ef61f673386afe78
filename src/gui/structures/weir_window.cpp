#include "gui/structures/weir_window.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <any>
#include <cmath>
#include <memory>

namespace rivulet {
namespace {

const QColor kWater(120, 170, 230);
const QColor kPlate(190, 185, 175);

// Half the width (m) of the weir's opening at a height z (m) above its crest.
double HalfOpening(const rivulet::Weir& w, double crestLength, double z) {
  switch (w.type) {
    case WeirType::VNotch:
      return std::tan(w.notchAngle * M_PI / 360) * z;
    case WeirType::Cipolletti:
      return crestLength / 2 + z / 4;
    default:
      return crestLength / 2;
  }
}

}  // namespace

WeirFaceView::WeirFaceView(QWidget* parent) : QWidget(parent) {
  setObjectName("weirFaceView");
  setMinimumSize(300, 180);
}

void WeirFaceView::SetWeir(std::optional<WeirSolved> solved) {
  solved_ = std::move(solved);
  update();
}

void WeirFaceView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!solved_) {
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the weir.");
    return;
  }
  const rivulet::Weir& w = solved_->inputs.weir;
  const double h = solved_->results.head;
  const double length = solved_->results.crestLength;
  const bool road = w.type == WeirType::Roadway;
  // Heights above the approach bed; without P the crest is drawn one head up.
  const double crest = road ? 0 : w.crestHeight.value_or(std::max(h, 0.05));
  const double top = crest + std::max(h, 0.05) * 1.4;
  const double openingTop = HalfOpening(w, length, top - crest);
  const double channel =
      road ? length * 1.1 : std::max(w.channelWidth.value_or(0), 2 * openingTop * 1.25);
  const double margin = 12;
  const double tall = height() - 2 * margin - 16;
  const double scale = std::min((width() - 2 * margin) / channel, tall / top);
  // A long, low crest (a road) would be a hairline: its heights are stretched, and the
  // caption says by how much.
  const double stretch = top * scale < tall / 4 ? std::floor(tall * 0.6 / (top * scale)) : 1;
  const double x0 = width() / 2.0;
  const double y0 = height() - margin - 16;
  const auto pt = [&](double x, double z) {
    return QPointF(x0 + x * scale, y0 - z * scale * stretch);
  };

  // The opening, from the crest up.
  QPainterPath opening;
  opening.moveTo(pt(-HalfOpening(w, length, 0), crest));
  for (int i = 0; i <= 20; ++i) {
    const double z = (top - crest) * i / 20;
    opening.lineTo(pt(-HalfOpening(w, length, z), crest + z));
  }
  for (int i = 20; i >= 0; --i) {
    const double z = (top - crest) * i / 20;
    opening.lineTo(pt(HalfOpening(w, length, z), crest + z));
  }
  opening.closeSubpath();
  QPainterPath plate;
  plate.addRect(QRectF(pt(-channel / 2, top), pt(channel / 2, 0)));
  p.fillPath(plate.subtracted(opening), kPlate);
  // Water in the opening up to the upstream level.
  QPainterPath below;
  below.addRect(QRectF(pt(-channel / 2, crest + h), pt(channel / 2, crest)));
  p.fillPath(opening.intersected(below), kWater);
  p.setPen(QPen(Qt::black, 1.2));
  p.drawPath(plate.subtracted(opening));
  // The upstream surface across the channel, the tailwater dashed.
  p.setPen(QPen(QColor(20, 60, 160), 1.5));
  p.drawLine(pt(-channel / 2, crest + h), pt(channel / 2, crest + h));
  if (solved_->inputs.tailwaterHead && *solved_->inputs.tailwaterHead > -crest) {
    p.setPen(QPen(QColor(20, 60, 160), 1, Qt::DashLine));
    const double tw = crest + *solved_->inputs.tailwaterHead;
    p.drawLine(pt(-channel / 2, tw), pt(channel / 2, tw));
  }
  p.setPen(Qt::black);
  p.drawLine(pt(-channel / 2, 0), pt(channel / 2, 0));
  const QString what = road ? "Road crest seen from downstream" : "Seen from downstream";
  p.drawText(
      QRectF(0, y0 + 2, width(), 16), Qt::AlignHCenter,
      stretch > 1 ? what + QString::fromUtf8(", heights ×%1").arg(stretch) : what + ", to scale");
}

void SetUpWeirWindow(WorksheetWindow& window) {
  auto* view = new WeirFaceView;
  window.AddBelowInputs(view);
  const auto follow = [&window, view] {
    const WorksheetModel& model = window.Model();
    const auto* solved = std::any_cast<WeirSolved>(&model.Outcome().solved);
    view->SetWeir(model.State() == ResultsState::Current && solved
                      ? std::optional<WeirSolved>(*solved)
                      : std::nullopt);
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  follow();
}

std::vector<ReportDrawing> WeirReportDrawings(const Document&, const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<WeirSolved>(&outcome.solved);
  if (!solved) return {};
  auto view = std::make_shared<WeirFaceView>();
  view->SetWeir(*solved);
  return {WidgetDrawing("The weir seen from downstream", view, {560, 300})};
}

}  // namespace rivulet
