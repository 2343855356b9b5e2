#include "lzh/SkinPackage.h"

#include "lzh/LzhEncoder.h"

#include <QtEndian>

namespace ruto {

namespace {

void appendLE32(QByteArray& out, std::uint32_t v) {
  char b[4];
  qToLittleEndian<quint32>(v, b);
  out.append(b, 4);
}

}  // namespace

QByteArray BuildUnpackedPackage(const QList<SkinPackageEntry>& entries, std::uint32_t code) {
  QByteArray names;
  for (const auto& e : entries) names += e.name.toUtf8() + "\r\n";
  const int skip = code == 30000 ? 256 : code == 40000 ? 80 : 0;

  QByteArray out;
  appendLE32(out, code);
  appendLE32(out, static_cast<std::uint32_t>(names.size()));
  appendLE32(out, 0);
  appendLE32(out, 0);
  out.append(QByteArray(skip, '\0'));
  out += names;
  for (const auto& e : entries) appendLE32(out, static_cast<std::uint32_t>(e.data.size()));
  for (const auto& e : entries) out += e.data;
  return out;
}

QByteArray PackStored(QByteArrayView unpacked) {
  QByteArray out;
  appendLE32(out, static_cast<std::uint32_t>(unpacked.size()));
  out += LzhEncode(unpacked);
  return out;
}

}  // namespace ruto
