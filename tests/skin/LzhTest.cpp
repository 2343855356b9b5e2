#include "skin/LZH.h"

#include "lzh/LhaArchive.h"
#include "lzh/LzhEncoder.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <vector>

#include "support/TestSupport.h"

using namespace ruto;

namespace {

std::span<const std::uint8_t> bytes(const QByteArray& a) {
  return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

// Decodes `size` bytes; the test fails when the decoder reports an error.
QByteArray decode(const QByteArray& stream, qsizetype size, bool* ok = nullptr,
                  QString* error = nullptr) {
  QByteArray out(size, '\0');
  std::span<std::uint8_t> dest(reinterpret_cast<std::uint8_t*>(out.data()),
                               static_cast<std::size_t>(out.size()));
  const bool good = LzhDecode(bytes(stream), dest, error);
  if (ok) *ok = good;
  return out;
}

QByteArray randomBytes(qsizetype n, quint32 seed) {
  QRandomGenerator gen(seed);
  QByteArray a(n, Qt::Uninitialized);
  for (auto& c : a) c = static_cast<char>(gen.bounded(256));
  return a;
}

// Text-like data with runs: matches of many lengths and distances, and literal noise.
QByteArray repetitiveBytes(qsizetype n, quint32 seed) {
  const QByteArray words = "frame button  scroll Caption=\r\n[Form]menu.bmp 0x00FF00FF";
  QRandomGenerator gen(seed);
  QByteArray a;
  while (a.size() < n) {
    const int pick = gen.bounded(12);
    a += pick < 8    ? words.mid(pick * 6, 3 + pick)
         : pick < 10 ? QByteArray(1, static_cast<char>(gen.bounded(256)))
                     : QByteArray(gen.bounded(1, 200), static_cast<char>('a' + pick));
  }
  return a.left(n);
}

}  // namespace

// Codes worked out from the starting tree: "A" (65) is 111001101 (path 625, 623, 619, 610,
// 592, 557, 487, 346 and the odd leaf 65); the length-3 symbol 256 is 10001100 both before
// and after one "A" is counted. A distance below 64 is 000 and its 6 low bits.
TEST(LzhDecode, HandCheckedStreams) {
  // "A" alone: 111001101, padded.
  EXPECT_EQ(decode(QByteArray("\xE6\x80", 2), 1), "A");

  // "A", then a match of 3 at distance 0: the byte just written, repeated.
  EXPECT_EQ(decode(QByteArray("\xE6\xC6\x00\x00", 4), 4), "AAAA");

  // "A", then a match of 3 at distance 1: it starts in the blank-filled ring before the
  // first output, takes the "A" and then its own first byte.
  EXPECT_EQ(decode(QByteArray("\xE6\xC6\x00\x40", 4), 4), "A A ");

  // A match of 3 as the very first symbol, at distance 0x20 and at 4095 (the 8-bit code
  // 11111111): only blanks, even from ring bytes past the start position.
  EXPECT_EQ(decode(QByteArray("\x8C\x10\x00", 3), 3), "   ");
  EXPECT_EQ(decode(QByteArray("\x8C\xFF\xFC", 3), 3), "   ");
}

TEST(LzhDecode, SizeZeroAndMatchesCutAtTheAnnouncedSize) {
  bool ok = false;
  EXPECT_TRUE(decode(QByteArray(), 0, &ok).isEmpty());
  EXPECT_TRUE(ok);

  // The match of 3 after "A" is cut after its first byte; nothing past the span is touched.
  std::vector<std::uint8_t> buffer(8, 0xEE);
  const QByteArray stream("\xE6\xC6\x00\x00", 4);
  ASSERT_TRUE(LzhDecode(bytes(stream), std::span<std::uint8_t>(buffer).first(2)));
  EXPECT_EQ(buffer[0], 'A');
  EXPECT_EQ(buffer[1], 'A');
  for (std::size_t i = 2; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xEE);
}

TEST(LzhDecode, InputEndingEarlyIsAFailure) {
  QString error;
  bool ok = true;
  // The ninth bit of "A" is missing.
  decode(QByteArray("\xE6", 1), 1, &ok, &error);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.isEmpty());

  decode(QByteArray(), 1, &ok);
  EXPECT_FALSE(ok);

  // Asking for more than the stream holds, and a stream cut anywhere.
  const QByteArray data = repetitiveBytes(20000, 7);
  const QByteArray stream = LzhEncode(data);
  decode(stream, data.size() + 1000, &ok);
  EXPECT_FALSE(ok);
  for (qsizetype cut : {qsizetype(1), stream.size() / 2, stream.size() - 1}) {
    decode(stream.left(cut), data.size(), &ok);
    EXPECT_FALSE(ok) << "cut at " << cut;
  }
}

TEST(LzhRoundTrip, RandomAndRepetitiveDataOfSeveralSizes) {
  for (qsizetype size : {1, 2, 3, 59, 60, 61, 4095, 4096, 4097, 70000, 300000}) {
    for (const QByteArray& data : {randomBytes(size, 11 + size), repetitiveBytes(size, 5 + size),
                                   QByteArray(size, ' '), QByteArray(size, '\0')}) {
      const QByteArray stream = LzhEncode(data);
      bool ok = false;
      const QByteArray back = decode(stream, data.size(), &ok);
      ASSERT_TRUE(ok) << "size " << size;
      ASSERT_EQ(back, data) << "size " << size;
    }
  }
}

TEST(LzhRoundTrip, DecodingGoesOnAcrossTreeRebuilds) {
  // Random bytes give one symbol per byte; the text-like data mostly matches.
  const QByteArray random = randomBytes(400000, 3);
  const QByteArray text = repetitiveBytes(3000000, 4);
  for (const QByteArray& data : {random, text}) {
    LzhEncodeStats stats;
    const QByteArray stream = LzhEncode(data, &stats);
    EXPECT_GE(stats.rebuilds, 2);
    bool ok = false;
    EXPECT_EQ(decode(stream, data.size(), &ok), data);
    EXPECT_TRUE(ok);
  }
}

TEST(LzhLha, LhaAcceptsOurStreamsAsLh1Members) {
  const QString lha = QStandardPaths::findExecutable(QStringLiteral("lha"));
  if (lha.isEmpty()) GTEST_SKIP() << "lha is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  // Leading blanks make the encoder refer into the blank-filled ring from the start.
  const QByteArray cases[] = {QByteArray("          ruto skin") + repetitiveBytes(5000, 1),
                              randomBytes(200000, 2) + repetitiveBytes(600000, 3)};
  int n = 0;
  for (const QByteArray& data : cases) {
    const QString path = dir.filePath(QStringLiteral("member%1.lzh").arg(++n));
    ASSERT_TRUE(test::writeFile(path, MakeLh1Archive("skin.dat", data, LzhEncode(data))));

    QProcess test;
    test.start(lha, {QStringLiteral("t"), path});
    ASSERT_TRUE(test.waitForFinished(60000));
    EXPECT_EQ(test.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(test.exitCode(), 0) << test.readAllStandardOutput().constData()
                                  << test.readAllStandardError().constData();

    QProcess print;
    print.start(lha, {QStringLiteral("pq"), path});
    ASSERT_TRUE(print.waitForFinished(60000));
    EXPECT_TRUE(print.readAllStandardOutput() == data) << "case " << n;
  }
}
