// The window showing one section's labelled drawing, with an OK button beside it.
#pragma once

#include <QDialog>
#include <QWidget>

#include "gui/reference/drawing_scene.h"

namespace rivulet {

/// The picture control: paints its scene at whatever size and pixel density it gets.
class ScenePicture : public QWidget {
  Q_OBJECT
 public:
  ScenePicture(DrawingScene scene, double scale, QWidget* parent = nullptr);
  const DrawingScene& Scene() const { return scene_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DrawingScene scene_;
};

/// frmCircle, frmRectangle, frmTriangle, frmTrapezoid or frmGutter. Closing it by OK or
/// the title bar destroys it.
class SectionDrawingView : public QDialog {
  Q_OBJECT
 public:
  SectionDrawingView(SectionKind kind, QWidget* parent = nullptr);
  SectionKind Kind() const { return kind_; }

 private:
  SectionKind kind_;
};

}  // namespace rivulet
