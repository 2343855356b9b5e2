// The first byte picks what the rest of the input is:
//   0: an LZH stream, preceded by the 2-byte size to decode;
//   1: a stored skin package as read from a file;
//   2: an unpacked package, packed by our encoder first, so the layout checks get inputs
//      that unpack cleanly.
// A package that reads is walked as the skin layer will: every entry, the definition and
// its sections, bitmap values.

#include "lzh/SkinPackage.h"
#include "skin/LZH.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"

#include <QBuffer>
#include <cstdint>
#include <vector>

namespace {

void walk(const QByteArrayView package) {
  ruto::TSkinReader reader;
  if (!reader.ReadSkinPackage(package)) return;
  QByteArray dest;
  for (const QString& name : reader.Names()) {
    reader.ExtractEntry(name, dest);
    ruto::LoadBitmapEntry(reader, name, dest);
  }
  QString found;
  reader.ExtractEntryByPart(QStringLiteral(".bmp"), dest, found);
  if (!reader.ExtractDefinition(dest)) return;
  QBuffer buffer(&dest);
  buffer.open(QIODevice::ReadOnly);
  ruto::TQuickIni ini;
  ini.LoadFromStream(&buffer);
  QStringList sections;
  ini.ReadSections(sections);
  for (const QString& section : sections) {
    QString value;
    ini.ReadString(section, QStringLiteral("bitmap"), value, QString());
    ruto::LoadBitmapEntry(reader, value, dest);
    ini.ReadInteger(section, QStringLiteral("color"), 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const QByteArrayView rest(reinterpret_cast<const char*>(data + 1),
                            static_cast<qsizetype>(size - 1));
  switch (data[0] % 3) {
    case 0: {
      if (size < 3) return 0;
      std::vector<std::uint8_t> out(static_cast<std::size_t>(data[1] | data[2] << 8));
      ruto::LzhDecode({data + 3, size - 3}, out);
      break;
    }
    case 1:
      walk(rest);
      break;
    default:
      walk(ruto::PackStored(rest));
      break;
  }
  return 0;
}
