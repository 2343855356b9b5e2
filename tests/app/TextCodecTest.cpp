#include <gtest/gtest.h>

#include "app/TextCodec.h"

TEST(TextCodec, EmptyAndStartPairOnlyGiveEmptyText) {
  EXPECT_EQ(UnscrambleBytes("").value(), QByteArray());
  EXPECT_EQ(UnscrambleBytes("7F").value(), QByteArray());
  EXPECT_EQ(UnscrambleBytes("7F4").value(), QByteArray());  // a lone digit is ignored
}

TEST(TextCodec, DecodesByHandWorkedPairs) {
  // Start 0x10; 'T' (0x54) ^ 0x44 = 0x10 = t equal to Prev -> byte 255.
  EXPECT_EQ(UnscrambleBytes("1044").value(), QByteArray(1, char(0xFF)));
  // t = 0x54 ^ 0x75 = 0x21 > 0x10 -> 0x11; then prev 0x75, 'h'(0x68) ^ 0x00 = 0x68 <= 0x75 ->
  // 0x68+255-0x75
  EXPECT_EQ(UnscrambleBytes("107500").value(), QByteArray("\x11\xF2", 2));
  EXPECT_EQ(UnscrambleBytes("107500").value(), UnscrambleBytes("107500").value());
}

TEST(TextCodec, KeyWrapsAfterThirteenBytes) {
  QByteArray plain(14, 'A');
  const QString s = ScrambleBytes(plain, 0x33).value();
  ASSERT_EQ(s.size(), 2 + 2 * 14);
  EXPECT_EQ(UnscrambleBytes(s).value(), plain);
  // The 14th pair was made with key character 1 ('T'): re-encode byte 14 alone after pair 13.
  const int prev = s.mid(26, 2).toInt(nullptr, 16);
  const int c = s.mid(28, 2).toInt(nullptr, 16);
  const int t = c ^ 'T';
  EXPECT_EQ(t > prev ? t - prev : t + 255 - prev, 'A');
}

TEST(TextCodec, NonHexIsAnErrorNotACrash) {
  QString error;
  EXPECT_FALSE(UnscrambleBytes("10G4", &error).has_value());
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(UnscrambleBytes("ZZ44").has_value());
  bool ok = true;
  EXPECT_TRUE(UnscrambleText("10xx", &ok).isEmpty());
  EXPECT_FALSE(ok);
}

TEST(TextCodec, Big5RoundTripOfChineseText) {
  const QString text = QStringLiteral("手太陰肺經：咳嗽、氣喘 ABC 123");
  for (int start : {0, 1, 0x5A, 254, 255}) {
    const auto scrambled = ScrambleText(text, static_cast<unsigned char>(start));
    ASSERT_TRUE(scrambled.has_value());
    bool ok = false;
    EXPECT_EQ(UnscrambleText(*scrambled, &ok), text);
    EXPECT_TRUE(ok);
    EXPECT_EQ(UnscrambleText(scrambled->toLower()), text);
  }
}

TEST(TextCodec, EveryByteValueAfterEveryPrevRoundTrips) {
  for (int start = 0; start < 256; ++start) {
    QByteArray plain;
    for (int b = 1; b < 256; ++b) plain.append(char(b));
    const auto s = ScrambleBytes(plain, static_cast<unsigned char>(start));
    ASSERT_TRUE(s.has_value());
    ASSERT_EQ(UnscrambleBytes(*s).value(), plain) << start;
  }
}
