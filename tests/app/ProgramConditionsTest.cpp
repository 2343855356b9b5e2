// Condition strings of expert programs: reading positions, the editor's form and back.

#include <gtest/gtest.h>

#include <random>

#include "app/ProgramConditions.h"

using namespace ruto;

TEST(ProgramConditions, CodesOfStoredStrings) {
  // The stored string, the position, its code.
  const std::tuple<QString, int, int> cases[] = {
      {"", 1, 0},
      {" \t\r\n", 24, 0},
      {"7", 1, 7},
      {"123", 3, 3},
      {"123", 4, 0},
      {"A2", 1, 0},
      {"A2", 2, 2},
      {" 12", 1, 0},
      {" 12", 2, 1},  // untrimmed when not blank
      {"000000000000000000000009", 24, 9},
      {"12", 0, 0},
      {"12", 25, 0},
      {"9", 1, 9},
      {QString(30, u'5'), 25, 5}};  // 30-character column, 24 used
  for (const auto& [stored, position, code] : cases)
    EXPECT_EQ(ConditionCode(stored, position), code) << qPrintable(stored) << " @" << position;
  EXPECT_TRUE(GroupFlagSet("01", 2));
  EXPECT_FALSE(GroupFlagSet("02", 2));
  EXPECT_FALSE(GroupFlagSet("0X", 2));
  EXPECT_FALSE(GroupFlagSet("   ", 1));
}

TEST(ProgramConditions, FunctionKeyFlags) {
  const QString flags = FunctionKeyFlags({true, false, true, false});
  EXPECT_EQ(flags, "1010");
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(FunctionKeyEnabled(flags, n), n % 2 == 1) << n;
  for (int n = 1; n <= 4; ++n) EXPECT_FALSE(FunctionKeyEnabled("", n)) << n;
  EXPECT_TRUE(FunctionKeyEnabled("01", 2));
  EXPECT_FALSE(FunctionKeyEnabled("01", 3)) << "a missing flag counts as disabled";
  EXPECT_FALSE(FunctionKeyEnabled("2111", 1));
}

TEST(ProgramConditions, DecodeTable) {
  // Ticked boxes and settings of a form, by name.
  const auto form =
      [](std::initializer_list<bool TConditionForm::*> on,
         std::initializer_list<std::pair<std::array<bool, 23> TConditionForm::*, int>> boxes,
         int rangeIndex = -1, bool male = true) {
        TConditionForm w;
        for (auto m : on) w.*m = true;
        for (const auto& [m, p] : boxes) (w.*m)[p] = true;
        w.RangeIndex = rangeIndex;
        w.Male = male;
        return w;
      };
  using F = TConditionForm;
  // Position 1 range codes, pairs (3 = both), single boxes (any non-zero code), age and sex.
  EXPECT_EQ(DecodeConditions("531230000000000000000032", "100000100000000000000011"),
            form({&F::Range, &F::AgeLow, &F::AgeHigh, &F::SexCondition},
                 {{&F::First, 2},
                  {&F::Second, 2},
                  {&F::First, 3},
                  {&F::Second, 4},
                  {&F::First, 5},
                  {&F::Group, 1},
                  {&F::Group, 7}},
                 1, false));
  // Codes the controls cannot show leave the position cleared (position 6 holds '9').
  // Empty and short strings read as zeros: every box off.
  for (const char* digits : {"040509000000000000000093", "   "})
    EXPECT_EQ(DecodeConditions(digits, ""), TConditionForm()) << digits;
  EXPECT_EQ(DecodeConditions("1", "1"), form({}, {{&F::First, 1}, {&F::Group, 1}}));
}

TEST(ProgramConditions, RangeCodePastTheComparisonsIsReencodedAsEqual) {
  const TConditionForm f = DecodeConditions("7", "");
  EXPECT_TRUE(f.Range);
  EXPECT_EQ(f.RangeIndex, -1);
  EXPECT_EQ(EncodeConditions(f).first, "400000000000000000000000");
}

TEST(ProgramConditions, EncodingIsAlwaysTwentyFourCharactersWithFlagsEndingInZeros) {
  TConditionForm f;
  f.Group.fill(true);
  f.SexCondition = true;
  f.Male = true;
  f.AgeHigh = true;
  const auto [digits, flags] = EncodeConditions(f);
  EXPECT_EQ(digits, "000000000000000000000021");
  EXPECT_EQ(flags, "111111111111111111111100");
  // The sex box decides; the radio buttons alone store nothing.
  f = TConditionForm();
  f.Male = false;
  EXPECT_EQ(EncodeConditions(f).first, kNoConditions);
}

TEST(ProgramConditions, EveryEditorFormRoundTrips) {
  std::mt19937 rng(15);
  std::bernoulli_distribution coin(0.4);
  std::uniform_int_distribution<int> index(-1, 2);
  for (int i = 0; i < 3000; ++i) {
    TConditionForm f;
    for (int p = 1; p <= 22; ++p) {
      f.First[p] = coin(rng);
      f.Second[p] = p != 3 && p != 5 && coin(rng);  // single-box positions
      f.Group[p] = coin(rng);
    }
    f.Range = coin(rng);
    // In range mode the two boxes are disabled and not stored.
    if (f.Range) {
      f.First[1] = f.Second[1] = false;
      f.RangeIndex = index(rng);
    }
    f.AgeLow = coin(rng);
    f.AgeHigh = coin(rng);
    f.SexCondition = coin(rng);
    f.Male = !f.SexCondition || coin(rng);
    const auto [digits, flags] = EncodeConditions(f);
    ASSERT_EQ(digits.size(), 24);
    ASSERT_EQ(flags.size(), 24);
    ASSERT_TRUE(flags.endsWith("00"));
    TConditionForm back = DecodeConditions(digits, flags);
    if (f.Range && f.RangeIndex < 0) f.RangeIndex = 0;  // "4" with nothing selected
    ASSERT_EQ(back, f) << qPrintable(digits) << " " << qPrintable(flags);
  }
}

TEST(ProgramConditions, SpinPositions) {
  EXPECT_EQ(SpinPosition(27.9, 200), 27);
  EXPECT_EQ(SpinPosition(-3, 200), 0);
  EXPECT_EQ(SpinPosition(500, 200), 200);
  EXPECT_EQ(SpinPosition(std::nan(""), 100), 0);
}

TEST(ProgramConditions, AllCodesAtOnceReadAsOneByOne) {
  for (const QString& s : {QString(), QString("  "), QString("12A4"), QString(" 9"),
                           QString(30, u'7'), QString("000000000000000000000003")}) {
    const auto codes = ConditionCodes(s);
    for (int p = 1; p <= 24; ++p) EXPECT_EQ(codes[p], ConditionCode(s, p)) << qPrintable(s);
  }
}
