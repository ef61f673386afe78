#include "gui/drainage/inlet_plan_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/shell/number_text.h"
#include "gui/shell/qt_text.h"

namespace rivulet {

namespace {

const QColor kPavement(226, 226, 222);
const QColor kKerb(150, 150, 150);
const QColor kWater(110, 160, 225, 150);
const QColor kGrate(70, 70, 70);
const QColor kOpening(200, 90, 40);
const QColor kArrow(30, 80, 190);
constexpr double kMargin = 14;

QString Amount(double base, const DrawingLengthUnit& u) {
  return ToQt(SignificantFigures(base / u.metres, 3)) + " " + u.symbol;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QString& label, bool labelAbove) {
  p.setPen(QPen(kArrow, 2));
  p.setBrush(kArrow);
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPolygonF head;
  head << to << QPointF(to.x() - 8 * std::cos(a - 0.4), to.y() - 8 * std::sin(a - 0.4))
       << QPointF(to.x() - 8 * std::cos(a + 0.4), to.y() - 8 * std::sin(a + 0.4));
  p.drawPolygon(head);
  const QFontMetricsF fm(p.font());
  const QPointF mid = (from + to) / 2;
  const double w = fm.horizontalAdvance(label);
  p.setPen(Qt::black);
  p.drawText(QPointF(mid.x() - w / 2, labelAbove ? mid.y() - 6 : mid.y() + fm.ascent() + 4), label);
}

}  // namespace

InletPlanView::InletPlanView(QWidget* parent) : QWidget(parent) {
  setObjectName("picPlan");
  setMinimumSize(360, 190);
}

void InletPlanView::SetPlan(std::optional<InletPlan> plan) {
  plan_ = std::move(plan);
  update();
}

void InletPlanView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  if (!plan_) {
    p.setPen(Qt::darkGray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to see the inlet in plan.");
    return;
  }
  const InletInputs& in = plan_->inputs;
  const InletResults& r = plan_->results;
  const bool sag = in.location == InletLocation::Sag;
  const bool grate = in.inletType == InletType::Grate || in.inletType == InletType::Combination;
  const bool opening = in.inletType != InletType::Grate;
  const double inletLength =
      std::max(grate ? in.grateLength : 0.0, opening ? in.openingLength : 0.0);
  const double spread = sag ? r.spreadAtPonding.value_or(0) : (r.gutter ? r.gutter->spread : 0);
  const double across = std::max({spread, grate ? in.grateWidth : 0.0, 0.1});

  // One scale both ways, so the inlet and the spread keep their true proportions.
  const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin + 16, -kMargin, -kMargin - 18);
  const double scale =
      std::min(area.width() * 0.45 / std::max(inletLength, 1e-6), area.height() / across);
  const double kerbY = area.top();
  const double inletLeft = area.center().x() - inletLength * scale / 2;

  p.fillRect(QRectF(area.left(), kerbY, area.width(), area.height()), kPavement);
  p.fillRect(QRectF(area.left(), kerbY, area.width(), spread * scale), kWater);
  p.fillRect(QRectF(area.left(), kerbY - 8, area.width(), 8), kKerb);
  p.setPen(Qt::black);
  p.drawText(QPointF(area.left(), kerbY - 11), "Kerb");

  if (opening) {
    // A sweeper's opening starts upstream of the grate; an equal one lies beside it.
    p.fillRect(QRectF(inletLeft, kerbY - 8, in.openingLength * scale, 8), kOpening);
  }
  if (grate) {
    const QRectF g(inletLeft + (inletLength - in.grateLength) * scale, kerbY,
                   in.grateLength * scale, in.grateWidth * scale);
    p.setPen(QPen(kGrate, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(g);
    for (double x = g.left() + 4; x < g.right(); x += 5)
      p.drawLine(QPointF(x, g.top()), QPointF(x, g.bottom()));
  }
  if (in.inletType == InletType::Slotted)
    p.fillRect(QRectF(inletLeft, kerbY, in.openingLength * scale, 3), kGrate);

  const double flowY = kerbY + std::max(spread * scale * 0.5, 12.0);
  const DrawingLengthUnit& qu = plan_->discharge;
  if (r.gutter)
    Arrow(p, QPointF(area.left() + 4, flowY), QPointF(inletLeft - 6, flowY),
          "Q " + Amount(r.gutter->discharge, qu), true);
  if (r.interceptedDischarge) {
    const QPointF into(area.center().x(), kerbY + 4);
    Arrow(p, QPointF(into.x(), area.bottom() - 4), into,
          "Qi " + Amount(*r.interceptedDischarge, qu), false);
  }
  if (r.bypassDischarge && *r.bypassDischarge > 0)
    Arrow(p, QPointF(inletLeft + inletLength * scale + 6, flowY), QPointF(area.right() - 4, flowY),
          "Qb " + Amount(*r.bypassDischarge, qu), true);

  p.setPen(Qt::black);
  QString caption = "Spread " + Amount(spread, plan_->length);
  if (sag && r.pondingDepth && r.regime)
    caption = "Ponding depth " + Amount(*r.pondingDepth, plan_->length) + ", " + caption + ", " +
              QString::fromStdString(SagRegimeName(*r.regime));
  p.drawText(QPointF(area.left(), rect().bottom() - 6), caption + "  (plan, to scale)");
}

}  // namespace rivulet
