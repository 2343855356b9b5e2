#include "skin/BitmapFile.h"

#include <QtEndian>
#include <cstdint>

namespace ruto {

namespace {

std::uint32_t le32(const char* p) { return qFromLittleEndian<quint32>(p); }
std::int32_t les32(const char* p) { return qFromLittleEndian<qint32>(p); }
std::uint16_t le16(const char* p) { return qFromLittleEndian<quint16>(p); }

constexpr qsizetype FileHeaderSize = 14, InfoHeaderSize = 40;
constexpr std::int32_t MaxSide = 16384;

// Null unless bytes are an uncompressed 24-bit bitmap with a plain info header and every
// pixel present; the caller then leaves the file to the image reader.
QImage decodePlain24(QByteArrayView bytes) {
  if (bytes.size() < FileHeaderSize + InfoHeaderSize) return {};
  const char* d = bytes.data();
  if (d[0] != 'B' || d[1] != 'M') return {};
  const std::uint32_t offset = le32(d + 10);
  const char* info = d + FileHeaderSize;
  const std::int32_t width = les32(info + 4), height = les32(info + 8);
  if (le32(info) != InfoHeaderSize || le16(info + 12) != 1 || le16(info + 14) != 24 ||
      le32(info + 16) != 0 || le32(info + 32) != 0)
    return {};
  if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
    return {};
  if (offset < FileHeaderSize + InfoHeaderSize) return {};
  const qsizetype rows = height < 0 ? -qsizetype(height) : qsizetype(height);
  const qsizetype stride = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
  if (qsizetype(offset) > bytes.size() || stride * rows > bytes.size() - qsizetype(offset))
    return {};

  QImage img(width, static_cast<int>(rows), QImage::Format_RGB32);
  if (img.isNull()) return {};
  img.setDotsPerMeterX(les32(info + 24));  // as the reader does; zero leaves the default
  img.setDotsPerMeterY(les32(info + 28));
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(d + offset);
  for (qsizetype y = 0; y < rows; ++y) {
    // Rows are stored bottom-up unless the height is negative.
    const std::uint8_t* src = pixels + stride * (height > 0 ? rows - 1 - y : y);
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(static_cast<int>(y)));
    for (std::int32_t x = 0; x < width; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
  }
  return img;
}

}  // namespace

QImage DecodeSkinBitmap(QByteArrayView bytes) {
  QImage img = decodePlain24(bytes);
  if (!img.isNull()) return img;
  if (!img.loadFromData(bytes, "BMP")) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace ruto
