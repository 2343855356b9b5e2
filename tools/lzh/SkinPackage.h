#pragma once
// Building skin packages in the layout TSkinReader reads.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

namespace ruto {

struct SkinPackageEntry {
  QString name;
  QByteArray data;
};

// The unpacked package: header (code, name-list length, two zero words), the zero block
// the code asks for, the names each ending in CR LF, the sizes, the entries.
QByteArray BuildUnpackedPackage(const QList<SkinPackageEntry>& entries, std::uint32_t code = 20000);

// The stored form of unpacked bytes: their size, little-endian, then the LZH stream.
QByteArray PackStored(QByteArrayView unpacked);

inline QByteArray BuildSkinPackage(const QList<SkinPackageEntry>& entries,
                                   std::uint32_t code = 20000) {
  return PackStored(BuildUnpackedPackage(entries, code));
}

}  // namespace ruto
