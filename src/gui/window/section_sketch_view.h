// The solved section drawn to scale in the flow details panel: walls, water, the alternate
// and critical levels, and the dimensions with their values. It paints at any size.
#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/window/section_sketch.h"
#include "gui/printing/report_drawing.h"

namespace rivulet {

/// The base font, or a smaller one down to three quarters of it, in which the widest of the
/// lines fits the room (pixels); the legend's lines are shortened only past that.
QFont FitLegendFont(const QFont& base, const QStringList& lines, double room);

/// The report's drawing of the sheet's last calculation, as the flow details panel shows it;
/// none before one, or when the inputs have changed since.
std::vector<ReportDrawing> CalculationDrawings(const frmRivulet& form);

class SectionSketchView : public QWidget {
  Q_OBJECT

 public:
  explicit SectionSketchView(QWidget* parent = nullptr);

  /// The sketch to draw (none: an empty picture) and whether it belongs to stale results.
  void SetSketch(std::optional<SectionSketch> sketch, bool stale);
  const std::optional<SectionSketch>& Sketch() const { return sketch_; }
  bool Stale() const { return stale_; }

  /// Where a point of the sketch (metres) lands in a picture of this size: one scale for
  /// both axes, room left around the section for the labels.
  QPointF Map(const SketchPoint& p, const QSize& size) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Frame {
    double scale = 1;
    QPointF origin;  // where (minX, maxY) lands
  };
  Frame FrameFor(const QSize& size) const;
  QMarginsF LabelRoom() const;
  /// The levels the legend explains, top to bottom.
  std::vector<const SketchLevel*> Legend() const;

  std::optional<SectionSketch> sketch_;
  bool stale_ = false;
};

}  // namespace rivulet
