// The section drawn to scale: the ground line, the roughness zones shaded and labelled,
// the water surface and the critical depth line of the last results, with the vertical
// exaggeration stated.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

namespace rivulet {

/// What the drawing shows, in metres.
struct SectionPicture {
  std::vector<double> station, elevation;
  std::vector<double> breaks;
  std::vector<double> n;
  std::optional<double> waterSurface;
  std::optional<double> criticalSurface;
  /// The water surface and depth as the results show them ("101.5 ft").
  QString waterText, depthText;
};

/// The largest of 1, 2, 5, 10, 20, 50... not above the ratio (at least 1): a vertical
/// exaggeration a reader can take in at a glance.
double RoundExaggeration(double ratio);

class SectionDrawing : public QWidget {
  Q_OBJECT

 public:
  explicit SectionDrawing(QWidget* parent = nullptr);

  void SetPicture(SectionPicture picture);
  const SectionPicture& Picture() const { return picture_; }
  /// The exaggeration of the last painting (1 when drawn to scale).
  double Exaggeration() const { return exaggeration_; }

  QSize sizeHint() const override { return {340, 320}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SectionPicture picture_;
  double exaggeration_ = 1;
};

}  // namespace rivulet
