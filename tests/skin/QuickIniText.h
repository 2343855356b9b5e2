#pragma once
// Skin definitions for the tests, read from text held in the test itself.

#include <QBuffer>
#include <QByteArray>

#include "skin/QuickIni.h"

namespace ruto::test {

inline TQuickIni iniFromText(const QByteArray& text) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  TQuickIni ini;
  ini.LoadFromStream(&buffer);
  return ini;
}

}  // namespace ruto::test
