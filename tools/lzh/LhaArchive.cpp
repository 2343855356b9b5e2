#include "lzh/LhaArchive.h"

#include <QtEndian>

namespace ruto {

std::uint16_t LhaCrc16(QByteArrayView data) {
  std::uint16_t crc = 0;
  for (char ch : data) {
    crc ^= static_cast<std::uint8_t>(ch);
    for (int k = 0; k < 8; ++k)
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

QByteArray MakeLh1Archive(const QByteArray& name, QByteArrayView original,
                          QByteArrayView compressed) {
  auto le32 = [](QByteArray& out, std::uint32_t v) {
    char b[4];
    qToLittleEndian<quint32>(v, b);
    out.append(b, 4);
  };
  // Everything after the two leading bytes (header size and checksum).
  QByteArray body = "-lh1-";
  le32(body, static_cast<std::uint32_t>(compressed.size()));
  le32(body, static_cast<std::uint32_t>(original.size()));
  // MS-DOS time stamp: 2026-01-01 12:00:00.
  le32(body,
       (static_cast<std::uint32_t>(2026 - 1980) << 25) | (1u << 21) | (1u << 16) | (12u << 11));
  body.append('\x20');  // attribute: archive
  body.append('\x00');  // header level 0
  body.append(static_cast<char>(name.size()));
  body += name;
  char crc[2];
  qToLittleEndian<quint16>(LhaCrc16(original), crc);
  body.append(crc, 2);

  std::uint8_t sum = 0;
  for (char ch : body) sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(ch));
  QByteArray out;
  out.append(static_cast<char>(body.size()));
  out.append(static_cast<char>(sum));
  out += body;
  out += compressed;
  out.append('\0');
  return out;
}

}  // namespace ruto
