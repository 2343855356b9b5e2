// The LZH decoder, and the tools that write what it reads: the encoder, the LHA archive
// wrapper and the skin packer.
#include "skin/LZH.h"
#include "skin/SkinReader.h"

#include "lzh/LhaArchive.h"
#include "lzh/LzhEncoder.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "support/TestSupport.h"

using namespace ruto;

namespace {

std::span<std::uint8_t> bytes(QByteArray& a) {
  return {reinterpret_cast<std::uint8_t*>(a.data()), static_cast<std::size_t>(a.size())};
}

// Decodes `size` bytes; nothing when the decoder reports a failure.
std::optional<QByteArray> decode(QByteArray stream, qsizetype size, QString* error = nullptr) {
  QByteArray out(size, '\0');
  return LzhDecode(bytes(stream), bytes(out), error) ? std::optional(out) : std::nullopt;
}

// Random bytes, or text-like data with runs: matches of many lengths and distances, and
// literal noise.
QByteArray sample(qsizetype n, quint32 seed, bool random = false) {
  const QByteArray words = "frame button  scroll Caption=\r\n[Form]menu.bmp 0x00FF00FF";
  QRandomGenerator gen(seed);
  QByteArray a;
  while (a.size() < n) {
    const int pick = random ? 8 : gen.bounded(12);
    a += pick < 8    ? words.mid(pick * 6, 3 + pick)
         : pick < 10 ? QByteArray(1, static_cast<char>(gen.bounded(256)))
                     : QByteArray(gen.bounded(1, 200), static_cast<char>('a' + pick));
  }
  return a.left(n);
}

// Exit code of a program (-1 when it did not finish normally) and its standard output; its
// error output goes to the test log.
std::pair<int, QByteArray> run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(program, args);
  const bool done = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
  return {done ? p.exitCode() : -1, p.readAllStandardOutput()};
}

}  // namespace

// Codes worked out from the starting tree: "A" (65) is 111001101 (path 625, 623, 619, 610,
// 592, 557, 487, 346 and the odd leaf 65); the length-3 symbol 256 is 10001100 both before
// and after one "A" is counted. A distance below 64 is 000 and its 6 low bits.
TEST(LzhDecode, HandCheckedStreams) {
  EXPECT_EQ(decode(QByteArray(), 0), "");
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

  // The match of 3 after "A" is cut after its first byte; nothing past the span is touched.
  QByteArray stream("\xE6\xC6\x00\x00", 4), buffer(8, '\xEE');
  ASSERT_TRUE(LzhDecode(bytes(stream), bytes(buffer).first(2)));
  EXPECT_EQ(buffer, "AA\xEE\xEE\xEE\xEE\xEE\xEE");
}

TEST(LzhDecode, InputEndingEarlyIsAFailure) {
  auto fails = [](const QByteArray& input, qsizetype size) {
    QString error;
    return !decode(input, size, &error) && !error.isEmpty();
  };
  EXPECT_TRUE(fails(QByteArray("\xE6", 1), 1));  // the ninth bit of "A" is missing
  EXPECT_TRUE(fails(QByteArray(), 1));
  // Asking for more than the stream holds, and a stream cut anywhere.
  const QByteArray data = sample(20000, 7), stream = LzhEncode(data);
  EXPECT_TRUE(fails(stream, data.size() + 1000));
  for (qsizetype cut : {qsizetype(1), stream.size() / 2, stream.size() - 1})
    EXPECT_TRUE(fails(stream.left(cut), data.size())) << "cut at " << cut;
}

TEST(LzhRoundTrip, RandomAndRepetitiveDataOfSeveralSizesAndAcrossTreeRebuilds) {
  // The two large ones rebuild the tree: random bytes give one symbol per byte, the
  // text-like data mostly matches.
  QList<QByteArray> cases = {sample(400000, 3, true), sample(3000000, 4)};
  for (qsizetype size : {1, 2, 3, 59, 60, 61, 4095, 4096, 4097, 70000, 300000})
    cases << sample(size, 11 + size, true) << sample(size, 5 + size) << QByteArray(size, ' ')
          << QByteArray(size, '\0');
  for (const QByteArray& data : cases) {
    LzhEncodeStats stats;
    ASSERT_EQ(decode(LzhEncode(data, &stats), data.size()), data) << "size " << data.size();
    EXPECT_GE(stats.rebuilds, data.size() > 300000 ? 2 : 0) << "size " << data.size();
  }
}

TEST(LzhLha, LhaAcceptsOurStreamsAsLh1Members) {
  const QString lha = QStandardPaths::findExecutable(QStringLiteral("lha"));
  if (lha.isEmpty()) GTEST_SKIP() << "lha is not installed";
  QTemporaryDir dir;
  // Leading blanks make the encoder refer into the blank-filled ring from the start.
  const QByteArray cases[] = {QByteArray("          ruto skin") + sample(5000, 1),
                              sample(200000, 2, true) + sample(600000, 3)};
  for (const QByteArray& data : cases) {
    const QString path = dir.filePath(QStringLiteral("member.lzh"));
    ASSERT_TRUE(test::writeFile(path, MakeLh1Archive("skin.dat", data, LzhEncode(data))));
    EXPECT_EQ(run(lha, {"t", path}).first, 0) << data.size();
    EXPECT_TRUE(run(lha, {"pq", path}).second == data) << data.size();
  }
}

TEST(SkinPacker, BuildsAPackageFromADefinitionAndBitmaps) {
  QTemporaryDir dir;
  const QString skinpack = QStringLiteral(SKINPACK_PATH), ini = dir.filePath("Rove.ini"),
                bmp = dir.filePath("sub/FrameTop.bmp"), out = dir.filePath("skin.pkg");
  ASSERT_TRUE(test::writeFile(ini, "[Form]\r\nCaption=1\r\n"));
  ASSERT_TRUE(test::writeFile(bmp, QByteArray(3000, 'B')));
  ASSERT_EQ(run(skinpack, {out, ini, bmp}).first, 0);
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadSkinPackage(test::readFile(out)));
  EXPECT_EQ(reader.Names(), QStringList({"rove.ini", "frametop.bmp"}));
  QByteArray dest;
  EXPECT_TRUE(reader.ExtractDefinition(dest));
  EXPECT_EQ(dest, "[Form]\r\nCaption=1\r\n");

  // A definition that is not an .ini or a second .ini is refused: the reader could not
  // tell which entry is the definition.
  EXPECT_NE(run(skinpack, {out, bmp}).first, 0);
  EXPECT_NE(run(skinpack, {out, ini, ini}).first, 0);
}
