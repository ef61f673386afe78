// The rating curve drawn with QPainter: depth up the side, discharge along the bottom and
// velocity along the top, with the marked points labelled. The same painting serves the
// screen and the printed page.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/hydraulics/rating_table.h"
#include "core/window/rating_sheet.h"

class QPainter;

namespace rivulet {

/// What the plot shows. The rows are sorted by depth, as every rating table is.
struct RatingPlotData {
  std::vector<RatingRow> rows;
  /// The curves, finely stepped over the rows' depths, so that they are smooth whatever
  /// the rows are; empty: the rows themselves.
  std::vector<RatingRow> curve;
  std::vector<RatingMark> marks;
  RatingUnits units;
};

/// Where things landed in the last painting, for hovering.
struct RatingPlotLayout {
  QRectF area;                                             ///< the plotting area inside the axes
  double depthTop = 1, dischargeTop = 1, velocityTop = 1;  ///< axis ends, shown units
  struct Placed {
    RatingMarkKind kind;
    QPointF at;
    QString text;
  };
  std::vector<Placed> marks;
};

/// Paints the plot into rect. highlight, a row index, is ringed on both curves.
RatingPlotLayout PaintRatingPlot(QPainter& painter, const QRectF& rect, const RatingPlotData& data,
                                 std::optional<size_t> highlight);

class RatingPlotView : public QWidget {
  Q_OBJECT

 public:
  explicit RatingPlotView(QWidget* parent = nullptr);

  void SetData(RatingPlotData data);
  const RatingPlotData& Data() const { return data_; }
  /// Rings a row on both curves (nullopt: none).
  void SetHighlight(std::optional<size_t> row);

  /// What hovering at a point shows: a mark's name and values, or the nearest curve
  /// point's values; "" when nothing is near.
  QString HoverText(QPointF at, std::optional<size_t>* row = nullptr) const;
  /// Where a row's point lies on the discharge curve as last painted.
  std::optional<QPointF> DischargePoint(size_t row) const;
  /// Where the mark of this kind was painted, if it was.
  std::optional<QPointF> MarkPosition(RatingMarkKind kind) const;

 signals:
  /// The user hovered over a row's point.
  void RowHovered(size_t row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  RatingPlotData data_;
  RatingPlotLayout layout_;
  std::optional<size_t> highlight_;
};

}  // namespace rivulet
