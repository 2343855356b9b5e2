#pragma once
// Checks the measure tests share: the numbers of one record as a line, pixels counted, and a
// one-colour picture.

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QStringList>

#include <string>

#include "base/Colors.h"
#include "support/TestSupport.h"

namespace ruto::test {

// Numbers joined by ' ', as QString::number writes them.
template <class... Number>
std::string numbers(Number... values) {
  QStringList s;
  ((s << QString::number(values)), ...);
  return s.join(' ').toStdString();
}

// The pixels of `image` in `area` (the whole image when null) whose colour `match`es.
template <class Match>
int countPixels(const QImage& image, Match match, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += match(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

// The pixels of exactly the program's colour `c`.
inline int countColor(const QImage& image, TColor c, QRect area = {}) {
  return countPixels(
      image, [c](const QColor& q) { return fromQColor(q) == c; }, area);
}

// A PNG file's bytes: one colour all over.
inline QByteArray solidPng(const QColor& colour, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray png;
  QBuffer buffer(&png);
  return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") ? png : QByteArray();
}

}  // namespace ruto::test
