#pragma once
// A one-member LHA archive around an already compressed -lh1- stream, so that the LHA
// tools can check and unpack what our encoder writes.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace ruto {

// CRC-16 of LHA headers (polynomial 0xA001, reflected, start 0).
std::uint16_t LhaCrc16(QByteArrayView data);

// Level-0 header for member `name` (at most 233 bytes), the compressed bytes, and the end
// mark. The unpacked bytes give the header its size and CRC.
QByteArray MakeLh1Archive(const QByteArray& name, QByteArrayView original,
                          QByteArrayView compressed);

}  // namespace ruto
