#pragma once
// Checks the measure tests share: the numbers of one record as a line and a one-colour
// picture.

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QStringList>

#include <string>

#include "support/TestSupport.h"

namespace ruto::test {

// Numbers joined by ' ', as QString::number writes them.
template <class... Number>
std::string numbers(Number... values) {
  QStringList s;
  ((s << QString::number(values)), ...);
  return s.join(' ').toStdString();
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
