// Skin bitmaps read directly give what Qt's reader gives; a file lacking pixels gives nothing.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QtEndian>
#include <cstring>

#include "skin/BitmapFile.h"
#include "skin/TestSkin.h"

using namespace ruto;

namespace {

QImage byReader(const QByteArray& bytes) {
  QImage img;
  if (!img.loadFromData(bytes, "BMP")) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

// A 24-bit file written by hand: rows bottom-up for a positive height, top-down for a
// negative one, each padded to four bytes; `gap` bytes between the headers and the pixels.
QByteArray bitmap24(int width, int height, int gap = 0, quint16 bits = 24, quint32 compression = 0,
                    quint32 colours = 0) {
  const int rows = std::abs(height);
  const int stride = (width * 3 + 3) & ~3;
  QByteArray out(54 + gap + stride * rows, '\0');
  char* d = out.data();
  std::memcpy(d, "BM", 2);
  // The 32-bit fields at their offsets (width and height signed), then planes and bits.
  const std::pair<int, qint64> fields[] = {{2, out.size()}, {10, 54 + gap}, {14, 40},
                                           {18, width},     {22, height},   {30, compression},
                                           {38, 2835},      {42, 3937},     {46, colours}};
  for (const auto& [at, value] : fields)
    qToLittleEndian<quint32>(static_cast<quint32>(value), d + at);
  qToLittleEndian<quint16>(1, d + 26);
  qToLittleEndian<quint16>(bits, d + 28);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        d[54 + gap + y * stride + x * 3 + c] = static_cast<char>((x * 37 + y * 11 + c * 91) & 0xFF);
  return out;
}

void expectSame(const QByteArray& bytes, const char* what) {
  const QImage want = byReader(bytes);
  const QImage got = DecodeSkinBitmap(bytes);
  ASSERT_EQ(got.isNull(), want.isNull()) << what;
  if (want.isNull()) return;
  EXPECT_EQ(got.format(), QImage::Format_RGB32) << what;
  EXPECT_EQ(got, want) << what;
  EXPECT_EQ(got.dotsPerMeterX(), want.dotsPerMeterX()) << what;
  EXPECT_EQ(got.dotsPerMeterY(), want.dotsPerMeterY()) << what;
}

// A 2 x 2 8-bit run-length file with a two-colour table and the given stream.
QByteArray rle8(std::initializer_list<char> stream) {
  QByteArray out = bitmap24(2, 2, 8, 8, 1);
  out.truncate(62);
  qToLittleEndian<quint32>(62, out.data() + 10);
  qToLittleEndian<quint32>(2, out.data() + 46);
  return out + QByteArray(stream.begin(), static_cast<qsizetype>(stream.size()));
}

QByteArray saved(const QImage& img) {
  QByteArray out;
  QBuffer b(&out);
  b.open(QIODevice::WriteOnly);
  img.save(&b, "BMP");
  return out;
}

}  // namespace

TEST(SkinBitmapFile, ReadsAsQtsReaderDoes) {
  // Row padding of every kind, both row orders, pixels after a gap.
  for (int width : {1, 2, 3, 4, 5, 7, 40})
    for (int height : {1, 3, -1, -3, 24}) {
      const QByteArray name = QByteArray::number(width) + "x" + QByteArray::number(height);
      expectSame(bitmap24(width, height), name.constData());
      expectSame(bitmap24(width, height, 6), (name + " gap").constData());
    }
  // Files the direct path leaves to the reader, and damaged ones.
  QByteArray badMagic = bitmap24(4, 4);
  badMagic[0] = 'X';
  QByteArray zeroWidth = bitmap24(4, 4);
  qToLittleEndian<qint32>(0, zeroWidth.data() + 18);
  QByteArray offsetInHeader = bitmap24(4, 4);
  qToLittleEndian<quint32>(20, offsetInHeader.data() + 10);
  QByteArray offsetPastEnd = bitmap24(4, 4);
  qToLittleEndian<quint32>(1u << 30, offsetPastEnd.data() + 10);
  const std::pair<QByteArray, const char*> others[] = {
      {rle8({2, 0, 0, 0, 2, 1, 0, 0, 0, 1}), "run-length"},
      {badMagic, "bad magic"},
      {zeroWidth, "zero width"},
      {offsetInHeader, "offset inside the header"},
      {offsetPastEnd, "offset past the end"},
      {bitmap24(4, 4, 0, 24, 3), "bit fields"},
      {bitmap24(4, 4, 0, 24, 0, 16), "colours listed"},
      {QByteArray("BM"), "header only"},
      {QByteArray(), "empty"},
      {saved(QImage(5, 3, QImage::Format_Indexed8)), "8-bit"},
      {saved(QImage(5, 3, QImage::Format_ARGB32)), "32-bit"},
      {saved(QImage(5, 3, QImage::Format_Mono)), "1-bit"}};
  for (const auto& [bytes, what] : others) expectSame(bytes, what);

  // Pixels missing from the file: the reader would fill them from memory it never set.
  const auto chopped = [](QByteArray bytes, int by) {
    bytes.chop(by);
    return bytes;
  };
  QImage indexed(9, 9, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  indexed.fill(1);
  const std::pair<QByteArray, const char*> short_[] = {
      {chopped(bitmap24(9, 9), 5), "24-bit"},
      {chopped(saved(indexed), 9), "8-bit"},
      {chopped(saved(QImage(40, 9, QImage::Format_Mono)), 4), "1-bit"},
      {rle8({2, 0, 0, 0}), "run-length without its end"},
      {rle8({2, 0, 0, 0, 1, 1, 0, 1}), "run-length row ended early"},
      {rle8({2, 0, 0, 2, 0, 1, 0, 1}), "run-length delta"},
      {rle8({0, 4, 1, 2}), "run-length literal cut short"}};
  for (const auto& [bytes, what] : short_) EXPECT_TRUE(DecodeSkinBitmap(bytes).isNull()) << what;

  // Sides so large that the bytes they promise do not fit in 64 bits: still refused (the
  // sanitizer sees the overflow that once let such a header through).
  QByteArray huge = bitmap24(1, 1);
  qToLittleEndian<qint32>(1'490'000'000, huge.data() + 18);
  qToLittleEndian<qint32>(2'130'000'000, huge.data() + 22);
  EXPECT_TRUE(DecodeSkinBitmap(huge).isNull());

  // The frame-coded images as the test skin stores them.
  for (int frames : {1, 3})
    expectSame(test::bmp(test::codedStrip(2, frames, 13, 7, frames > 1, true)), "coded strip");
}
