// The section drawn to scale: the ground line, the roughness zones shaded and labelled,
// the water surface and the critical depth line of the last results, with the vertical
// exaggeration stated.
#pragma once

#include <QWidget>

#include "core/worksheets/section_editor_model.h"

namespace rivulet {

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
