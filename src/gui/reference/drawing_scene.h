// A section drawing as a list of vector items in the picture's own units (its nominal
// pixels), so it paints crisp at any scale and can be checked without a screen.
#pragma once

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "core/reference/section_drawings.h"

class QPainter;

namespace rivulet {

struct SceneText {
  QString text;
  QPointF anchor;
  /// Where the anchor sits on the text's box (Qt::AlignLeft | Qt::AlignTop, ...).
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
  double pixelSize = 11;
  bool bold = false;
  bool underline = false;
  /// Wrap to this width when above 0.
  double wrapWidth = 0;
};

/// A dimension line with arrowheads at both ends and the word that names it.
struct SceneDimension {
  QLineF line;
  QString label;
};

struct DrawingScene {
  QSizeF size;
  QList<QPainterPath> ground;  // very light grey: earth and pipe wall
  QPainterPath water;          // light blue
  QList<QPainterPath> walls;   // heavy black lines
  QList<QPainterPath> lines;   // light black lines: water surface, extensions, sketch legs
  QList<SceneDimension> dimensions;
  QList<SceneText> texts;
};

/// The picture of one section.
DrawingScene BuildDrawingScene(SectionKind kind);

/// The font of a text item, sized in picture units.
QFont SceneFont(const SceneText& text);
/// The box a text item occupies, in picture units.
QRectF SceneTextRect(const SceneText& text);

/// Paints the scene into target, scaled to fit and centred.
void PaintDrawingScene(QPainter& painter, const DrawingScene& scene, const QRectF& target);

}  // namespace rivulet
