// A solved pressure pipe drawn with QPainter: its profile between the two ends with the
// energy and hydraulic grade lines to scale (heights exaggerated, as said in words), and the
// head-loss curve from zero to twice the discharge with the design point marked.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "core/worksheets/pressure_pipe_sheet.h"

namespace rivulet {

/// What the view draws, with the units its labels use.
struct PressurePipeDrawing {
  PressurePipeSolved solved;
  double lengthFactor = 1;  ///< metres per shown length unit
  QString lengthSymbol = "m";
  double dischargeFactor = 1;  ///< m3/s per shown discharge unit
  QString dischargeSymbol = "m³/s";
};

class PressurePipeView : public QWidget {
  Q_OBJECT

 public:
  explicit PressurePipeView(QWidget* parent = nullptr);

  /// The drawing to show; nullopt shows a note that there is nothing solved to draw.
  void SetDrawing(std::optional<PressurePipeDrawing> drawing);
  const std::optional<PressurePipeDrawing>& Drawing() const { return drawing_; }
  /// The vertical exaggeration of the last profile painted (0 when none was).
  int Exaggeration() const { return exaggeration_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::optional<PressurePipeDrawing> drawing_;
  int exaggeration_ = 0;
};

}  // namespace rivulet
