#pragma once
// Draws a meridian figure: a schematic body outline, the meridian's course on both sides and
// its main points, labelled on one side.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

struct TFigurePoint {
  QPointF at;
  QString name;
};

struct TFigureDrawing {
  QString title;          // e.g. "手太陰肺經"
  bool back = false;      // back view instead of front view
  QColor color;           // course colour
  QList<QPointF> course;  // on the side x > 200 of a 400 x 560 canvas
  QList<TFigurePoint> points;
};

inline constexpr int kFigureWidth = 400;
inline constexpr int kFigureHeight = 560;

QImage paintFigure(const TFigureDrawing& drawing);
