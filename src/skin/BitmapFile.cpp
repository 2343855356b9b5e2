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

// Whether a run-length stream sets every pixel: a delta, a row ended early or a stream
// without its end would leave pixels the reader never writes.
bool runsCoverAll(const std::uint8_t* p, const std::uint8_t* end, qint64 width, qint64 rows,
                  bool fourBits) {
  qint64 x = 0, y = 0;
  while (end - p >= 2) {
    const std::uint8_t count = p[0], code = p[1];
    p += 2;
    if (count != 0) {
      x += count;
    } else if (code == 0) {  // end of line: the reader stops after the last one
      if (x < width) return false;
      x = 0;
      if (++y == rows) return true;
    } else if (code == 1) {  // end of bitmap
      return x >= width && y == rows - 1;
    } else if (code == 2) {  // delta: skips pixels
      return false;
    } else {  // literal pixels, padded to a 16-bit boundary
      const qint64 size = ((fourBits ? (code + 1) / 2 : code) + 1) & ~qint64(1);
      if (end - p < size) return false;
      p += size;
      x += code;
    }
  }
  return false;
}

// Whether the file holds every pixel its header promises. The image reader leaves the rows
// it cannot read as the memory it was given, so a short file would give an image part made
// of whatever that memory held.
bool allPixelsPresent(QByteArrayView bytes) {
  if (bytes.size() < FileHeaderSize + 12) return false;
  const char* d = bytes.data();
  const char* info = d + FileHeaderSize;
  const std::uint32_t infoSize = le32(info);
  qint64 width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0, colours = 0;
  if (infoSize == 12) {  // the old core header: 16-bit sides, no compression
    width = le16(info + 4);
    height = qint16(le16(info + 6));
    bits = le16(info + 10);
  } else if (infoSize >= InfoHeaderSize && bytes.size() >= FileHeaderSize + InfoHeaderSize) {
    width = les32(info + 4);
    height = les32(info + 8);
    bits = le16(info + 14);
    compression = le32(info + 16);
    colours = le32(info + 32);
  } else {
    return false;
  }
  const qint64 rows = height < 0 ? -height : height;
  if (width <= 0 || rows == 0 || bits == 0 || bits > 32) return false;
  // The reader takes the pixels from the offset, or from the end of the colour table when
  // the offset points inside it or past the end of the file.
  const qint64 table =
      bits <= 8 ? qint64(colours ? colours : 1u << bits) * (infoSize == 12 ? 3 : 4) : 0;
  const qint64 offset = le32(d + 10);
  const qint64 start =
      qMax(offset <= bytes.size() ? offset : 0, FileHeaderSize + qint64(infoSize) + table);
  if (start > bytes.size()) return false;
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(d) + start;
  const auto* end = reinterpret_cast<const std::uint8_t*>(d) + bytes.size();
  if (compression == 1 || compression == 2)
    return runsCoverAll(pixels, end, width, rows, compression == 2);
  // Divided rather than multiplied: the product of a huge header's sides overflows.
  const qint64 stride = (width * bits + 31) / 32 * 4;
  return rows <= (end - pixels) / stride;
}

}  // namespace

QImage DecodeSkinBitmap(QByteArrayView bytes) {
  QImage img = decodePlain24(bytes);
  if (!img.isNull()) return img;
  if (!allPixelsPresent(bytes) || !img.loadFromData(bytes, "BMP")) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace ruto
