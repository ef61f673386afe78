// The long section of a solved water-surface profile drawn to scale with QPainter: the bed,
// the water, the energy grade line, the critical and normal depth lines and the jump, with
// the vertical exaggeration in words.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/profiles/water_profile.h"

class QPainter;

namespace rivulet {

/// What the long section shows, in metres.
struct ProfileDrawing {
  std::vector<ProfileRow> points;
  std::vector<std::pair<double, double>> bed;  ///< (station, elevation) along the reach
  std::optional<double> jumpStation;
  double unitMetres = 1;  ///< metres per unit of the labels
  QString unitSymbol = "m";
};

/// The drawing of solved inputs and results, labelled in the unit of metresPerUnit.
ProfileDrawing MakeProfileDrawing(const ProfileInputs& inputs, const ProfileResults& results,
                                  double metresPerUnit, const QString& symbol);

/// Paints the drawing into rect and returns the vertical exaggeration used.
int PaintProfile(QPainter& painter, const QRectF& rect, const ProfileDrawing& drawing);

class ProfileView : public QWidget {
  Q_OBJECT

 public:
  explicit ProfileView(QWidget* parent = nullptr);
  /// The drawing to show; nullopt shows a note that there is nothing solved to draw.
  void SetDrawing(std::optional<ProfileDrawing> drawing);
  const std::optional<ProfileDrawing>& Drawing() const { return drawing_; }
  int Exaggeration() const { return exaggeration_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::optional<ProfileDrawing> drawing_;
  int exaggeration_ = 0;
};

}  // namespace rivulet
