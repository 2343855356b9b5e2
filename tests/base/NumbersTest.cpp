#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Numbers.h"

using namespace ruto;

TEST(Numbers, NearRoundsHalfToEven) {
  EXPECT_EQ(near(0.5), 0);
  EXPECT_EQ(near(1.5), 2);
  EXPECT_EQ(near(2.5), 2);
  EXPECT_EQ(near(-2.5), -2);
  EXPECT_EQ(near(2.5000001), 3);
}

TEST(Numbers, NearIsDefinedForEveryDouble) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr long long lmax = std::numeric_limits<long long>::max();
  constexpr long long lmin = std::numeric_limits<long long>::min();
  constexpr int imax = std::numeric_limits<int>::max(), imin = std::numeric_limits<int>::min();
  const std::tuple<double, long long, int> cases[] = {{std::nan(""), 0, 0},
                                                      {inf, lmax, imax},
                                                      {-inf, lmin, imin},
                                                      {1e69, lmax, imax},
                                                      {-1e300, lmin, imin},
                                                      {9223372036854775808.0, lmax, imax},
                                                      {-9223372036854775808.0, lmin, imin},
                                                      {4294967296.5, 4294967296, imax},
                                                      {-2147483648.5, -2147483648, imin},
                                                      {2147483646.5, 2147483646, 2147483646},
                                                      {-3.5, -4, -4}};
  for (const auto& [x, wide, narrow] : cases) {
    EXPECT_EQ(near(x), wide) << x;
    EXPECT_EQ(nearInt(x), narrow) << x;
  }
}

TEST(Numbers, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);  // 64-bit intermediate
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(Numbers, FormatRoundsDecimalTiesAwayFromZero) {
  EXPECT_EQ(Format("%5.1f", {42.25}), " 42.3");
  EXPECT_EQ(Format("%5.2f", {1.005}), " 1.01");
  EXPECT_EQ(Format("%3.0f", {2.5}), "  3");
  EXPECT_EQ(Format("%5.1f", {-0.04}), "  0.0");
  EXPECT_EQ(Format("%5.1f", {-1.25}), " -1.3");
  EXPECT_EQ(Format("%.2f", {999.999}), "1000.00");
}

TEST(Numbers, FormatIntegersStringsAndMixedArguments) {
  EXPECT_EQ(Format("%6.0d", {0LL}), "     0");
  EXPECT_EQ(Format("%6.0d", {1234LL}), "  1234");
  EXPECT_EQ(Format("[%d]", {12LL}), "[12]");
  EXPECT_EQ(Format("%-4d|", {7LL}), "7   |");
  EXPECT_EQ(Format("%.2X", {10LL}), "0A");
  EXPECT_EQ(Format("%s=%5.2f%%", {QString("a"), 1.0}), "a= 1.00%");
  EXPECT_EQ(Format("%d %d", {1LL}), "1 ");
}

TEST(Numbers, FormatGroupsThousandsWithN) {
  const std::tuple<const char*, FormatArg, const char*> cases[] = {
      {"%5.0n", 3496.0, "3,496"},        {"%5.0n", 999.0, "  999"},
      {"%8.0n", 1234567LL, "1,234,567"}, {"%8.0n", 100000.0, " 100,000"},
      {"%.2n", 1234.565, "1,234.57"},    {"%6.0n", -1234.0, "-1,234"},
      {"%n", 1000.0, "1,000.00"},        {"%5.0n", 999.5, "1,000"}};
  for (const auto& [fmt, arg, want] : cases) EXPECT_EQ(Format(fmt, {arg}), want) << fmt;
}

TEST(Numbers, ConversionsAreLocaleFree) {
  bool ok = true;
  EXPECT_DOUBLE_EQ(StrToFloatDef(" 3.5 ", 0), 3.5);
  EXPECT_DOUBLE_EQ(StrToFloatDef("3,5", -1, &ok), -1);
  EXPECT_FALSE(ok);
  EXPECT_EQ(StrToIntDef("$1F", 0), 31);
  EXPECT_EQ(StrToIntDef("x", 9), 9);
  EXPECT_EQ(FloatToStr(0.8541), "0.8541");
  EXPECT_EQ(FloatToStr(1e-5), "0.00001");
  EXPECT_EQ(FloatToStr(200), "200");
  EXPECT_DOUBLE_EQ(StrToFloatDef(FloatToStr(0.1 + 0.2), 0), 0.1 + 0.2);
}
