#include "gui/culverts/culvert_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <any>
#include <cmath>
#include <memory>

#include "core/shell/number_text.h"
#include "core/shell/safe_file.h"

namespace rivulet {
namespace {

const QColor kWater(120, 170, 230);
const QColor kFill(205, 190, 160);
const QColor kConcrete(150, 150, 150);
const QColor kGrade(200, 40, 40);

}  // namespace

CulvertProfileView::CulvertProfileView(QWidget* parent) : QWidget(parent) {
  setObjectName("culvertProfileView");
  setMinimumSize(200, 160);
}

void CulvertProfileView::SetCulvert(std::optional<CulvertSolved> solved) {
  solved_ = std::move(solved);
  update();
}

void CulvertProfileView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!solved_) {
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to draw the culvert.");
    return;
  }
  const Culvert& c = solved_->results.culvert;
  const CulvertState& s = solved_->results.state;
  const BarrelFlow& b = s.barrel;
  const double length = c.length;
  const double tailwater = c.outletInvert + s.tailwaterDepth;
  // The road on the barrel's middle; without one, the fill stands a rise over the crown.
  const double crown = std::max(c.inletInvert, c.outletInvert) + c.rise;
  const double crest = c.roadway ? c.roadway->crestElevation : crown + c.rise;
  const double roadWidth = c.roadway ? std::min(c.roadway->width, length) : length / 3;
  const double reach = length * 0.25;  // upstream and downstream of the barrel's ends
  const double bottom = std::min(c.inletInvert, c.outletInvert) - 0.1 * c.rise;
  const double top = std::max({crest, s.headwaterElevation, tailwater}) + 0.15 * c.rise;

  const double margin = 12;
  const double wide = width() - 2 * margin;
  const double tall = height() - 2 * margin - 16;
  const double xScale = wide / (length + 2 * reach);
  const double zScale0 = xScale;
  // A long, low crossing would be a hairline: heights are stretched, the caption says so.
  const double stretch = std::max(1.0, std::floor(tall / ((top - bottom) * zScale0)));
  const double zScale = zScale0 * stretch;
  const double zOffset = (tall - (top - bottom) * zScale) / 2;
  const auto pt = [&](double x, double z) {
    return QPointF(margin + (x + reach) * xScale, margin + zOffset + (top - z) * zScale);
  };

  // Embankment: the crest over the middle, the fill down to the crowns at the barrel's ends.
  QPainterPath fill;
  const double mid = length / 2;
  fill.moveTo(pt(0, c.inletInvert + c.rise));
  fill.lineTo(pt(mid - roadWidth / 2, crest));
  fill.lineTo(pt(mid + roadWidth / 2, crest));
  fill.lineTo(pt(length, c.outletInvert + c.rise));
  fill.closeSubpath();
  p.fillPath(fill, kFill);
  // The stream bed beyond both ends.
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(pt(-reach, c.inletInvert), pt(0, c.inletInvert));
  p.drawLine(pt(length, c.outletInvert), pt(length + reach, c.outletInvert));

  // Headwater upstream and tailwater downstream.
  QPainterPath head;
  head.addRect(QRectF(pt(-reach, s.headwaterElevation), pt(0, c.inletInvert)));
  p.fillPath(head, kWater);
  if (s.tailwaterDepth > 0) {
    QPainterPath tail;
    tail.addRect(QRectF(pt(length, tailwater), pt(length + reach, c.outletInvert)));
    p.fillPath(tail, kWater);
  }
  // Water in the barrel: full under outlet control with a full outlet, else from the
  // critical depth at the inlet to the outlet depth.
  QPainterPath barrelWater;
  const bool full = !b.inletControls && b.outletDepth >= c.rise;
  const double inletDepth = full ? c.rise : b.inletControls ? b.criticalDepth : c.rise;
  barrelWater.moveTo(pt(0, c.inletInvert));
  barrelWater.lineTo(pt(0, c.inletInvert + std::min(inletDepth, c.rise)));
  barrelWater.lineTo(pt(length, c.outletInvert + std::min(b.outletDepth, c.rise)));
  barrelWater.lineTo(pt(length, c.outletInvert));
  barrelWater.closeSubpath();
  p.fillPath(barrelWater, kWater);

  // The barrel: invert and crown.
  p.setPen(QPen(kConcrete.darker(), 2));
  p.drawLine(pt(0, c.inletInvert), pt(length, c.outletInvert));
  p.drawLine(pt(0, c.inletInvert + c.rise), pt(length, c.outletInvert + c.rise));
  p.drawLine(pt(0, c.inletInvert), pt(0, c.inletInvert + c.rise));
  p.drawLine(pt(length, c.outletInvert), pt(length, c.outletInvert + c.rise));

  // Outlet control's grade line: from ho at the outlet up by the friction loss to the inlet.
  if (!b.inletControls) {
    p.setPen(QPen(kGrade, 1.5, Qt::DashLine));
    const double atOutlet = c.outletInvert + b.outlet.outletLevel;
    p.drawLine(pt(length, atOutlet), pt(0, atOutlet + b.outlet.frictionLoss));
  }
  // Water surfaces as lines, the road crest.
  p.setPen(QPen(QColor(20, 60, 160), 1.5));
  p.drawLine(pt(-reach, s.headwaterElevation), pt(0, s.headwaterElevation));
  if (s.overtopping)
    p.drawLine(pt(mid - roadWidth / 2, s.headwaterElevation),
               pt(mid + roadWidth / 2, s.headwaterElevation));
  p.setPen(QPen(Qt::black, 1.2));
  p.drawLine(pt(mid - roadWidth / 2, crest), pt(mid + roadWidth / 2, crest));

  const QString what =
      QString("Profile along the barrel, %1 control").arg(b.inletControls ? "inlet" : "outlet");
  p.drawText(
      QRectF(0, height() - margin - 14, width(), 16), Qt::AlignHCenter,
      stretch > 1 ? what + QString::fromUtf8(", heights ×%1").arg(stretch) : what + ", to scale");
}

CulvertCurveView::CulvertCurveView(QWidget* parent) : QWidget(parent) {
  setObjectName("culvertCurveView");
  setMinimumSize(200, 160);
}

void CulvertCurveView::SetCurve(std::optional<CulvertSolved> solved, const FileUnit* level,
                                const FileUnit* discharge) {
  solved_ = std::move(solved);
  level_ = level;
  discharge_ = discharge;
  update();
}

void CulvertCurveView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  if (!solved_ || !level_ || !discharge_ || solved_->results.performance.size() < 2) {
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter, "Calculate to plot the performance curve.");
    return;
  }
  const std::vector<PerformancePoint>& pts = solved_->results.performance;
  double qMax = pts.back().discharge, zMin = pts.front().headwaterElevation, zMax = zMin;
  for (const PerformancePoint& pt : pts)
    for (double z : {pt.headwaterInlet, pt.headwaterOutlet, pt.headwaterElevation}) {
      zMin = std::min(zMin, z);
      zMax = std::max(zMax, z);
    }
  zMin = std::min(zMin, solved_->results.culvert.inletInvert);
  if (!(qMax > 0) || !(zMax > zMin)) return;
  const QRectF plot(52, 10, width() - 64, height() - 46);
  const auto pt = [&](double q, double z) {
    return QPointF(plot.left() + plot.width() * q / qMax,
                   plot.bottom() - plot.height() * (z - zMin) / (zMax - zMin));
  };
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(plot);
  const auto curve = [&](auto field, QPen pen) {
    QPainterPath path;
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const QPointF at = pt(pts[i].discharge, field(pts[i]));
      i == 0 ? path.moveTo(at) : path.lineTo(at);
    }
    p.setPen(pen);
    p.drawPath(path);
  };
  curve([](const PerformancePoint& x) { return x.headwaterInlet; },
        QPen(QColor(40, 120, 40), 1, Qt::DashLine));
  curve([](const PerformancePoint& x) { return x.headwaterOutlet; },
        QPen(QColor(200, 40, 40), 1, Qt::DotLine));
  curve([](const PerformancePoint& x) { return x.headwaterElevation; },
        QPen(QColor(20, 60, 160), 2));
  if (const auto& road = solved_->results.culvert.roadway; road && road->crestElevation < zMax) {
    p.setPen(QPen(Qt::gray, 1, Qt::DashDotLine));
    p.drawLine(pt(0, road->crestElevation), pt(qMax, road->crestElevation));
  }
  const CulvertState& s = solved_->results.state;
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::black);
  p.drawEllipse(pt(s.totalDischarge, s.headwaterElevation), 3, 3);
  // Axis ends in the result units.
  const auto lv = [&](double z) {
    return QString::fromStdString(ShortNumber(FromBase(*level_, z)));
  };
  const auto qv = [&](double q) {
    return QString::fromStdString(ShortNumber(FromBase(*discharge_, q)));
  };
  p.drawText(QRectF(0, plot.top() - 6, 48, 14), Qt::AlignRight, lv(zMax));
  p.drawText(QRectF(0, plot.bottom() - 8, 48, 14), Qt::AlignRight, lv(zMin));
  p.drawText(QRectF(plot.left() - 20, plot.bottom() + 2, 40, 14), Qt::AlignHCenter, "0");
  p.drawText(QRectF(plot.right() - 60, plot.bottom() + 2, 60, 14), Qt::AlignRight, qv(qMax));
  p.drawText(QRectF(plot.left(), plot.bottom() + 16, plot.width(), 14), Qt::AlignHCenter,
             QString::fromUtf8("Headwater (%1) against discharge (%2): inlet - - , outlet ···")
                 .arg(QString::fromUtf8(level_->symbol.data(), level_->symbol.size()),
                      QString::fromUtf8(discharge_->symbol.data(), discharge_->symbol.size())));
}

namespace {

std::optional<CulvertSolved> Current(const WorksheetModel& model) {
  if (model.State() != ResultsState::Current) return std::nullopt;
  const auto* solved = std::any_cast<CulvertSolved>(&model.Outcome().solved);
  return solved ? std::optional<CulvertSolved>(*solved) : std::nullopt;
}

std::string PerformanceText(const WorksheetModel& model, char separator) {
  const std::optional<CulvertSolved> s = Current(model);
  if (!s) return "";
  const Document d = model.ToDocument();
  return CulvertPerformanceCsv(s->results.performance,
                               *d.ResultUnit("headwaterElevation", Dimension::Length),
                               *d.ResultUnit("discharge", Dimension::Discharge), separator);
}

void SaveCsv(WorksheetWindow& window) {
  Services& services = window.WindowServices();
  const std::string text = PerformanceText(window.Model(), ',');
  if (text.empty()) {
    services.MessageBox("Calculate the culvert first.", "Culvert", MessageIcon::Exclamation);
    return;
  }
  const auto choice = services.SaveFileDialog(
      {"Save Performance as CSV", {{"CSV files (*.csv)", "*.csv"}}, "performance.csv", "csv", ""});
  if (!choice) return;
  const SaveOutcome saved = ReplaceFileContent(choice->path, text);
  if (!saved) services.MessageBox(SaveFailureText(saved), "Culvert", MessageIcon::Exclamation);
}

}  // namespace

void SetUpCulvertWindow(WorksheetWindow& window) {
  auto* panel = new QWidget;
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* profile = new CulvertProfileView;
  auto* curve = new CulvertCurveView;
  layout->addWidget(profile, 1);
  layout->addWidget(curve, 1);
  window.SetDrawing(panel);
  const auto follow = [&window, profile, curve] {
    const std::optional<CulvertSolved> solved = Current(window.Model());
    const Document d = window.Model().ToDocument();
    profile->SetCulvert(solved);
    curve->SetCurve(solved, d.ResultUnit("headwaterElevation", Dimension::Length),
                    d.ResultUnit("discharge", Dimension::Discharge));
  };
  QObject::connect(&window, &WorksheetWindow::Synced, profile, follow);
  follow();
  for (QAction* menu : window.menuBar()->actions()) {
    if (!menu->menu() || !menu->text().contains("File")) continue;
    QAction* csv = new QAction("Save Performance as &CSV...", &window);
    csv->setObjectName("mnuCulvertSaveCsv");
    QObject::connect(csv, &QAction::triggered, &window, [&window] { SaveCsv(window); });
    const QList<QAction*> items = menu->menu()->actions();
    menu->menu()->insertAction(items.size() > 3 ? items[3] : nullptr, csv);
  }
  for (QAction* menu : window.menuBar()->actions()) {
    if (!menu->menu() || !menu->text().contains("Edit")) continue;
    QAction* copy = menu->menu()->addAction("Copy &Performance");
    copy->setObjectName("mnuCulvertCopyPerformance");
    QObject::connect(copy, &QAction::triggered, &window, [&window] {
      const std::string text = PerformanceText(window.Model(), '\t');
      if (!text.empty()) window.WindowServices().SetClipboardText(text);
    });
  }
}

std::vector<ReportDrawing> CulvertReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<CulvertSolved>(&outcome.solved);
  if (!solved) return {};
  auto profile = std::make_shared<CulvertProfileView>();
  profile->SetCulvert(*solved);
  auto curve = std::make_shared<CulvertCurveView>();
  curve->SetCurve(*solved, document.ResultUnit("headwaterElevation", Dimension::Length),
                  document.ResultUnit("discharge", Dimension::Discharge));
  return {WidgetDrawing("The culvert through its embankment", profile, {640, 300}),
          WidgetDrawing("Performance: headwater against discharge", curve, {400, 260})};
}

}  // namespace rivulet
