// The road edge of a solved gutter drawn to scale with QPainter: ground and kerb, the water
// out to the spread, the dimensions T, W and d, and the vertical exaggeration in words. The
// same painting serves the window and the printed report.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>

#include "core/drainage/gutter_profile.h"

class QPainter;

namespace rivulet {

/// The unit lengths are labelled in.
struct DrawingLengthUnit {
  double metres = 1;     ///< metres per unit
  QString symbol = "m";  ///< shown after the number
};

struct GutterSectionDrawing {
  GutterProfile profile;
  DrawingLengthUnit unit;
};

/// Paints the drawing into rect and returns the vertical exaggeration used.
int PaintGutterSection(QPainter& painter, const QRectF& rect, const GutterSectionDrawing& drawing);

class GutterSectionView : public QWidget {
  Q_OBJECT

 public:
  explicit GutterSectionView(QWidget* parent = nullptr);

  /// The drawing to show; nullopt shows a note that there is nothing solved to draw.
  void SetDrawing(std::optional<GutterSectionDrawing> drawing);
  const std::optional<GutterSectionDrawing>& Drawing() const { return drawing_; }
  /// The exaggeration of the last painting (0 before any).
  int Exaggeration() const { return exaggeration_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::optional<GutterSectionDrawing> drawing_;
  int exaggeration_ = 0;
};

}  // namespace rivulet
