#include "PointPicturePainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>

#include "app/SharedRecords.h"
#include "measure/PointTables.h"

namespace ruto {

namespace {

// Outlines are drawn for the left limb; the right one is the mirror image.
QPainterPath leftHand() {
  QPainterPath hand;
  hand.addRoundedRect(QRectF(80, 78, 82, 76), 18, 18);  // palm
  const struct {
    double x, top;
  } fingers[] = {{82, 34}, {102, 22}, {122, 28}, {142, 44}};  // index .. little
  for (const auto& f : fingers) {
    QPainterPath finger;
    finger.addRoundedRect(QRectF(f.x, f.top, 18, 100 - f.top), 9, 9);
    hand = hand.united(finger);
  }
  QPainterPath thumb;
  thumb.addRoundedRect(QRectF(-10, -9, 62, 19), 9, 9);
  hand = hand.united(QTransform().translate(88, 132).rotate(-135).map(thumb));
  QPainterPath wrist;
  wrist.addRect(QRectF(90, 146, 62, 54));
  return hand.united(wrist);
}

QPainterPath leftFoot() {
  QPainterPath foot;
  foot.addEllipse(QRectF(72, 42, 100, 92));  // forefoot
  QPainterPath heel;
  heel.addEllipse(QRectF(88, 96, 70, 90));
  foot = foot.united(heel);
  const struct {
    double x, y, r;
  } toes[] = {{150, 40, 15}, {127, 27, 9}, {110, 27, 8}, {95, 33, 7}, {82, 43, 6}};
  for (const auto& t : toes) {
    QPainterPath toe;
    toe.addEllipse(QPointF(t.x, t.y), t.r, t.r * 1.2);
    foot = foot.united(toe);
  }
  QPainterPath leg;
  leg.addRect(QRectF(96, 170, 56, 30));
  return foot.united(leg);
}

// Marked positions of the six points of each limb (left side), by index 1..6.
constexpr std::array<QPointF, 6> kHandPoints = {
    QPointF(96, 152),   // 太淵 LU9: wrist crease, thumb side
    QPointF(121, 152),  // 大陵 PC7: wrist crease, middle
    QPointF(146, 152),  // 神門 HT7: wrist crease, little-finger side
    QPointF(160, 132),  // 腕骨 SI4: little-finger edge above the wrist
    QPointF(121, 172),  // 陽池 SJ4: back of the wrist, middle
    QPointF(84, 128)};  // 陽谿 LI5: hollow at the thumb's root
constexpr std::array<QPointF, 6> kFootPoints = {
    QPointF(170, 96),    // 太白 SP3: inner edge behind the big toe's joint
    QPointF(140, 76),    // 太衝 LR3: between the first two long bones
    QPointF(156, 176),   // 大鐘 KI4: behind the inner ankle
    QPointF(74, 92),     // 束骨 BL65: outer edge behind the little toe's joint
    QPointF(90, 154),    // 丘墟 GB40: in front of the outer ankle
    QPointF(122, 112)};  // 衝陽 ST42: top of the foot

QFont font(int pixels, bool bold) {
  QFont f(QStringLiteral("Noto Sans CJK TC"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

}  // namespace

QImage PaintPointPicture(int point, int kind) {
  const PicturePart part = PointPicturePart(point);
  if (part.index == 0 || PictureKindLetter(kind) == 0) return {};
  const bool hand = part.limb == 'h';
  const bool right = part.side == 'R';
  const int column = MeridianColumn(point);

  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
  image.fill(kind == 2 ? QColor(Qt::white) : QColor(232, 240, 248));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QTransform mirror = right ? QTransform(-1, 0, 0, 1, kPictureWidth, 0) : QTransform();
  const QPainterPath outline = mirror.map(hand ? leftHand() : leftFoot());
  const bool shaded = kind != 2, lined = kind != 1;
  if (shaded) {
    QLinearGradient skin(0, 20, 0, kPictureHeight);
    skin.setColorAt(0, QColor(246, 214, 184));
    skin.setColorAt(1, QColor(214, 164, 124));
    p.fillPath(outline, skin);
  }
  if (lined) {
    p.setPen(QPen(QColor(40, 40, 40), kind == 2 ? 2.0 : 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
  } else {
    p.setPen(QPen(QColor(190, 140, 105), 1.0));
    p.drawPath(outline);
  }

  // The point: a red ring with a dot, and its name beside the limb.
  const QPointF at = mirror.map((hand ? kHandPoints : kFootPoints)[part.index - 1]);
  p.setPen(QPen(QColor(220, 0, 0), 2.5));
  p.setBrush(QColor(255, 255, 255, 160));
  p.drawEllipse(at, 7, 7);
  p.setBrush(QColor(220, 0, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(at, 2.5, 2.5);

  p.setPen(QColor(20, 20, 20));
  p.setFont(font(13, true));
  const QRectF top(6, 4, kPictureWidth - 12, 18);
  p.drawText(top, right ? Qt::AlignRight : Qt::AlignLeft, LimbLabel(point).remove(' '));
  p.setFont(font(12, false));
  p.drawText(top, right ? Qt::AlignLeft : Qt::AlignRight, MeridianName(column));
  p.setPen(QColor(200, 0, 0));
  p.setFont(font(14, true));
  const QString name = PointName(column);
  // The name stands level with the point, on the side of the picture away from it.
  const bool nameLeft = at.x() > kPictureWidth / 2.0;
  const qreal y = std::clamp(at.y() - 8, 24.0, kPictureHeight - 22.0);
  const QRectF label = nameLeft ? QRectF(4, y, 86, 18) : QRectF(kPictureWidth - 90, y, 86, 18);
  p.drawText(label, (nameLeft ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, name);
  return image;
}

}  // namespace ruto
