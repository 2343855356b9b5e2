#include <gtest/gtest.h>

#include "app/TextCodec.h"

using namespace ruto;

TEST(TextCodec, DecodesShortInputsAndHandWorkedPairsAndRefusesNonHex) {
  // The text and its bytes (none: an error).
  const std::pair<const char*, std::optional<QByteArray>> cases[] = {
      {"", QByteArray()},
      {"7F", QByteArray()},   // the start pair alone
      {"7F4", QByteArray()},  // a lone digit is ignored
      // Start 0x10; 'T' (0x54) ^ 0x44 = 0x10 = t equal to Prev -> byte 255.
      {"1044", QByteArray(1, char(0xFF))},
      // t = 0x54 ^ 0x75 = 0x21 > 0x10 -> 0x11; then prev 0x75, 'h' ^ 0x00 = 0x68 <= 0x75
      // -> 0x68 + 255 - 0x75.
      {"107500", QByteArray("\x11\xF2", 2)},
      {"10G4", std::nullopt},
      {"ZZ44", std::nullopt}};
  for (const auto& [in, out] : cases) {
    QString error;
    EXPECT_EQ(UnscrambleBytes(in, &error), out) << in;
    EXPECT_EQ(error.isEmpty(), out.has_value()) << in;
  }
  bool ok = true;
  EXPECT_TRUE(UnscrambleText("10xx", &ok).isEmpty());
  EXPECT_FALSE(ok);
}

TEST(TextCodec, KeyWrapsAfterThirteenBytes) {
  const QByteArray plain(14, 'A');
  const QString s = ScrambleBytes(plain, 0x33).value();
  ASSERT_EQ(s.size(), 2 + 2 * 14);
  EXPECT_EQ(UnscrambleBytes(s).value(), plain);
  // The 14th pair was made with key character 1 ('T'): re-encode byte 14 alone after pair 13.
  const int prev = s.mid(26, 2).toInt(nullptr, 16);
  const int t = s.mid(28, 2).toInt(nullptr, 16) ^ 'T';
  EXPECT_EQ(t > prev ? t - prev : t + 255 - prev, 'A');
}

TEST(TextCodec, EveryByteAfterEveryStartAndBig5TextRoundTrip) {
  QByteArray plain;
  for (int b = 1; b < 256; ++b) plain.append(char(b));
  const QString text = QStringLiteral("手太陰肺經：咳嗽、氣喘 ABC 123");
  for (int start = 0; start < 256; ++start) {
    ASSERT_EQ(UnscrambleBytes(ScrambleBytes(plain, start).value()), plain) << start;
    const QString scrambled = ScrambleText(text, start).value();
    bool ok = false;
    ASSERT_EQ(UnscrambleText(scrambled, &ok), text) << start;
    EXPECT_TRUE(ok) << start;
    ASSERT_EQ(UnscrambleText(scrambled.toLower()), text) << start;
  }
}

TEST(TextCodec, TextThatDoesNotDecodeIsEmptyAndSaysWhy) {
  const struct {
    QString stored, text, reason;
  } cases[] = {{"", "", ""},
               {*ScrambleText("肝"), "肝", ""},
               {"10xx", "", "'xx' is not a valid integer value"},
               // A lead byte followed by a blank: no Big5 character.
               {*ScrambleBytes(QByteArray("\xA4 ")), "", "the text is not valid Big5"}};
  for (const auto& c : cases) {
    bool ok = false;
    QString reason = "unset";
    EXPECT_EQ(UnscrambleText(c.stored, &ok, &reason), c.text) << c.stored.toStdString();
    EXPECT_EQ(ok, c.reason.isEmpty()) << c.stored.toStdString();
    EXPECT_EQ(reason, c.reason) << c.stored.toStdString();
  }
}
