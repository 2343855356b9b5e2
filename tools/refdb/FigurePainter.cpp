#include "FigurePainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

// Half of the body silhouette, from the neck round the arm and leg to the crotch; the other
// half is its mirror image about x = 200.
const QList<QPointF> kHalfOutline = {{215, 92},  {258, 108}, {284, 128}, {300, 230}, {316, 312},
                                     {321, 362}, {304, 366}, {296, 318}, {279, 240}, {260, 168},
                                     {252, 262}, {260, 300}, {252, 420}, {246, 518}, {258, 548},
                                     {210, 550}, {212, 518}, {208, 420}, {203, 335}, {200, 335}};

QPointF mirrored(const QPointF& p) { return {kFigureWidth - p.x(), p.y()}; }

QPolygonF outline() {
  QPolygonF poly;
  for (const QPointF& p : kHalfOutline) poly << p;
  for (auto it = kHalfOutline.rbegin(); it != kHalfOutline.rend(); ++it) poly << mirrored(*it);
  return poly;
}

QFont figureFont(int pixelSize, bool bold = false) {
  QFont font(QStringLiteral("Noto Sans CJK TC"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace

QImage paintFigure(const TFigureDrawing& drawing) {
  QImage image(kFigureWidth, kFigureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QColor skin(250, 234, 214), line(110, 96, 84);
  p.setPen(QPen(line, 2));
  p.setBrush(skin);
  p.drawPolygon(outline());
  p.drawEllipse(QPointF(200, 58), 27, 34);
  if (drawing.back) {
    p.setPen(QPen(line, 1, Qt::DashLine));
    p.drawLine(QPointF(200, 96), QPointF(200, 300));
  } else {
    p.setPen(QPen(line, 1.5));
    p.drawEllipse(QPointF(190, 52), 3, 2);
    p.drawEllipse(QPointF(210, 52), 3, 2);
    p.drawLine(QPointF(193, 76), QPointF(207, 76));
  }

  QPainterPath left, right;
  for (qsizetype i = 0; i < drawing.course.size(); ++i) {
    if (i == 0) {
      right.moveTo(drawing.course[i]);
      left.moveTo(mirrored(drawing.course[i]));
    } else {
      right.lineTo(drawing.course[i]);
      left.lineTo(mirrored(drawing.course[i]));
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(drawing.color, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(right);
  p.drawPath(left);

  const QFont labelFont = figureFont(12);
  const QFontMetrics fm(labelFont);
  p.setFont(labelFont);
  for (const TFigurePoint& pt : drawing.points) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(drawing.color.darker(150));
    p.drawEllipse(pt.at, 4, 4);
    p.drawEllipse(mirrored(pt.at), 4, 4);
    const int width = fm.horizontalAdvance(pt.name);
    QPointF at = pt.at + QPointF(8, 4);
    if (at.x() + width > kFigureWidth - 4) at.setX(pt.at.x() - 8 - width);
    p.setPen(Qt::black);
    p.drawText(at, pt.name);
  }

  p.setFont(figureFont(20, true));
  p.setPen(drawing.color.darker(130));
  p.drawText(QPointF(12, 32), drawing.title);
  p.setFont(figureFont(13));
  p.setPen(line);
  p.drawText(QPointF(12, 54),
             drawing.back ? QStringLiteral("（背面）") : QStringLiteral("（正面）"));
  p.end();
  return image;
}
