// Statistics and levels on hand-made tests; every expected number below was worked out by hand
// from the values (sums, average, band factor, limits) and is not taken from the code.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "measure/Voana.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TPointValues valuesOf(std::initializer_list<double> list) {
  TPointValues v{};
  int p = 1;
  for (double x : list) v[p++] = x;
  return v;
}

TPointValues ascending() {
  TPointValues v{};
  for (int p = 1; p <= 24; ++p) v[p] = p;
  return v;
}

// Average 50 makes the band factor exactly 1: limits 21, 11.5, 10.5, 20.
TPointValues spread() {
  return valuesOf({75, 25, 48, 50, 50, 50, 70, 32, 50, 50, 50, 50,
                   72, 72, 28, 28, 72, 28, 72, 72, 28, 28, 72, 28});
}

TEST(AnalysisStatistics, GroupSumsAverageSidesAndLimits) {
  TAnalysisResult a;
  ComputeMeridianStatistics(a, ascending());
  const double groups[9] = {0, 6, 15, 24, 33, 42, 51, 60, 69};
  for (int g = 1; g <= 8; ++g) EXPECT_EQ(a.GroupSum[g], groups[g]) << g;
  EXPECT_EQ(a.Average, 12.5);
  EXPECT_EQ(a.YinSum, 132);
  EXPECT_EQ(a.YangSum, 168);
  EXPECT_EQ(a.UpperSum, 78);
  EXPECT_EQ(a.LowerSum, 222);
  EXPECT_EQ(a.LeftSum, 114);
  EXPECT_EQ(a.RightSum, 186);
  // k = 2.5 x 0.0084375 + 0.6625 = 0.68359375
  EXPECT_DOUBLE_EQ(a.AcceptLimitHigh, 14.35546875);
  EXPECT_DOUBLE_EQ(a.NormalLimitHigh, 7.861328125);
  EXPECT_DOUBLE_EQ(a.NormalLimitLow, 7.177734375);
  EXPECT_DOUBLE_EQ(a.AcceptLimitLow, 13.671875);
  EXPECT_EQ(a.Deviation[1], -11.5);
  EXPECT_EQ(a.Deviation[24], 11.5);
  // Points 1-5 lie 11.5..7.5 below, 21-24 lie 8.5..11.5 above the average.
  for (int p = 1; p <= 24; ++p) {
    const int expected = p <= 5 ? -1 : p >= 21 ? 1 : 0;
    EXPECT_EQ(a.PointLevel[p], expected) << "point " << p;
  }
  const double elements[5] = {18.5, 6.5, 18.5, 6.5, 18.5};  // wood, fire, earth, metal, water
  for (int e = 0; e < 5; ++e) {
    EXPECT_EQ(a.ElementMean[e], elements[e]) << e;
    EXPECT_EQ(a.ElementLevel[e], 0) << e;
  }
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(a.MeridianMean[m], m <= 6 ? m + 3 : m + 9) << m;
  EXPECT_EQ(a.GroupMax, 69);
  EXPECT_EQ(a.GroupMin, 6);
  EXPECT_TRUE(a.PointOrder[1] == 1 && a.PointOrder[2] == 7 && a.PointOrder[24] == 24);
}

TEST(AnalysisStatistics, BandFactorAtAverageTen) {
  TAnalysisResult a;
  TPointValues v{};
  for (int p = 1; p <= 24; ++p) v[p] = 10;
  a.SummaryLevel.fill(3);
  a.PairLevel.fill(2);
  ComputeMeridianStatistics(a, v);
  EXPECT_EQ(a.Average, 10);
  EXPECT_DOUBLE_EQ(a.AcceptLimitHigh, 13.9125);
  EXPECT_DOUBLE_EQ(a.NormalLimitHigh, 7.61875);
  EXPECT_DOUBLE_EQ(a.NormalLimitLow, 6.95625);
  EXPECT_DOUBLE_EQ(a.AcceptLimitLow, 13.25);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.SummaryLevel[i], 0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a.PairLevel[i], 0);

  // Edges belong to the inner band; the next double beyond them does not.
  struct Case {
    double d;
    int level;
  } cases[] = {
      {0.0, 0},
      {-0.0, 0},
      {a.NormalLimitHigh, 0},
      {std::nextafter(a.NormalLimitHigh, kInf), 1},
      {a.AcceptLimitHigh, 1},
      {std::nextafter(a.AcceptLimitHigh, kInf), 2},
      {-a.NormalLimitLow, 0},
      {std::nextafter(-a.NormalLimitLow, -kInf), -1},
      {-a.AcceptLimitLow, -1},
      {std::nextafter(-a.AcceptLimitLow, -kInf), -2},
      {1000, 2},
      {-1000, -2},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyDeviation(a, c.d), c.level) << c.d;
}

TEST(AnalysisStatistics, PointsOnAndJustBeyondEveryEdge) {
  // Average 50, limits exactly 21, 11.5, 10.5, 20; each group still sums to 150.
  TPointValues v = valuesOf({61.5,
                             38.5,
                             50,
                             71,
                             29,
                             50,
                             60.5,
                             39.5,
                             50,
                             70,
                             30,
                             50,
                             std::nextafter(61.5, kInf),
                             std::nextafter(38.5, -kInf),
                             50,
                             std::nextafter(71.0, kInf),
                             0,
                             50,
                             std::nextafter(39.5, -kInf),
                             std::nextafter(60.5, kInf),
                             50,
                             std::nextafter(30.0, -kInf),
                             std::nextafter(70.0, kInf),
                             50});
  v[17] = 100 - v[16];
  TAnalysisResult a;
  ComputeMeridianStatistics(a, v);
  ASSERT_EQ(a.Average, 50);
  ASSERT_EQ(a.NormalLimitHigh, 11.5);
  ASSERT_EQ(a.AcceptLimitLow, 20);
  const int expected[25] = {0, 0,  -1, 0, 1,  -2, 0,  0, 0, 0,  1, -1, 0,
                            1, -1, 0,  2, -2, 0,  -1, 0, 0, -2, 1, 0};
  for (int p = 1; p <= 24; ++p) EXPECT_EQ(a.PointLevel[p], expected[p]) << "point " << p;
}

TEST(AnalysisStatistics, ElementAndPairLevels) {
  TAnalysisResult a;
  ComputeMeridianStatistics(a, spread());
  ASSERT_EQ(a.Average, 50);
  const int points[25] = {0, 2, -2, 0,  0, 0,  0, 1, -1, 0,  0, 0, 0,
                          2, 2, -2, -2, 2, -2, 2, 2, -2, -2, 2, -2};
  for (int p = 1; p <= 24; ++p) EXPECT_EQ(a.PointLevel[p], points[p]) << "point " << p;
  // wood 72, fire 355/8, earth 50, metal 245/4, water 28
  EXPECT_EQ(a.ElementMean[ElementWood], 72);
  EXPECT_EQ(a.ElementMean[ElementFire], 44.375);
  EXPECT_EQ(a.ElementMean[ElementEarth], 50);
  EXPECT_EQ(a.ElementMean[ElementMetal], 61.25);
  EXPECT_EQ(a.ElementMean[ElementWater], 28);
  const int elements[5] = {2, 0, 0, 0, -2};
  for (int e = 0; e < 5; ++e) EXPECT_EQ(a.ElementLevel[e], elements[e]) << e;
  const double means[13] = {0, 72.5, 28.5, 49, 50, 50, 50, 72, 72, 28, 28, 72, 28};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(a.MeridianMean[m], means[m]) << m;
  EXPECT_EQ(a.GroupMax, 172);
  EXPECT_EQ(a.GroupMin, 128);

  ComputeSummaryLevels(a, true);
  // Differences 22.5 (>= 22), 21.5, 1, 44 (>= 41), 0, 0.
  const int pairs[6] = {1, 0, 0, 2, 0, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a.PairLevel[i], pairs[i]) << "pair " << i;
  const auto rows = PairRows(a);
  EXPECT_EQ(rows[0].DifferenceText, "# 22.5");
  EXPECT_EQ(rows[0].MeanA, " 72.5");
  EXPECT_EQ(rows[0].MeanB, " 50.0");
  EXPECT_EQ(rows[0].State, "尚可");
  EXPECT_EQ(rows[0].BarColor, ruto::clYellow);
  EXPECT_EQ(rows[0].BarPosition, 22);  // 22.5 rounds to even
  EXPECT_EQ(rows[3].State, "表裡不平衡");
  EXPECT_EQ(rows[3].BarColor, ruto::clRed);
  EXPECT_EQ(rows[4].DifferenceText, "#  0.0");
  EXPECT_EQ(rows[4].State, "正常");
  EXPECT_EQ(rows[4].BarPosition, 0);
  EXPECT_EQ(rows[4].BarColor, ruto::clGreen);

  const auto elementRows = ElementRows(a);     // metal, wood, water, fire, earth
  EXPECT_EQ(elementRows[0].MeanText, "61.3");  // a decimal tie rounds away from zero
  EXPECT_EQ(elementRows[0].DeviationText, "[11.3]");
  EXPECT_EQ(elementRows[0].BarPosition, 61);
  EXPECT_EQ(elementRows[0].BarColor, ruto::clGreen);
  EXPECT_EQ(elementRows[1].MeanText, "72.0");
  EXPECT_EQ(elementRows[1].BarColor, ruto::clRed);
  EXPECT_EQ(elementRows[2].DeviationText, "[-22.0]");
  EXPECT_EQ(elementRows[3].BarPosition, 44);
}

// A result with only the fields the summary levels read.
TAnalysisResult summaryInput(double average, double upper, double lower, double left, double right,
                             double yin, double yang, double gmax, double gmin) {
  TAnalysisResult a;
  a.Average = average;
  a.UpperSum = upper;
  a.LowerSum = lower;
  a.LeftSum = left;
  a.RightSum = right;
  a.YinSum = yin;
  a.YangSum = yang;
  a.GroupMax = gmax;
  a.GroupMin = gmin;
  return a;
}

TEST(AnalysisSummary, LevelsOfBothSexesAtAndAroundEveryCut) {
  struct Case {
    bool male;
    int item;
    double value;  // average, or ratio numerator over a divisor of 100
    int level;
  } cases[] = {
      {true, SummaryEnergy, 18.99, -3},       {true, SummaryEnergy, 19, -2},
      {true, SummaryEnergy, 26, -1},          {true, SummaryEnergy, 27.99, -1},
      {true, SummaryEnergy, 28, 0},           {true, SummaryEnergy, 25, -2},
      {true, SummaryEnergy, 59.99, 0},        {true, SummaryEnergy, 60, 1},
      {true, SummaryEnergy, 62, 2},           {true, SummaryEnergy, 68, 3},
      {false, SummaryEnergy, 17.9, -3},       {false, SummaryEnergy, 18, -2},
      {false, SummaryEnergy, 25, -1},         {false, SummaryEnergy, 26, 0},
      {false, SummaryEnergy, 59, 1},          {false, SummaryEnergy, 61, 2},
      {false, SummaryEnergy, 66.99, 2},       {false, SummaryEnergy, 67, 3},
      {true, SummaryStress, 62, -3},          {true, SummaryStress, 63, -2},
      {true, SummaryStress, 83, -1},          {true, SummaryStress, 88, 0},
      {true, SummaryStress, 115, 0},          {true, SummaryStress, 116, 1},
      {true, SummaryStress, 131, 2},          {true, SummaryStress, 140, 2},
      {true, SummaryStress, 141, 3},          {false, SummaryStress, 52, -3},
      {false, SummaryStress, 53, -2},         {false, SummaryStress, 73, -1},
      {false, SummaryStress, 78, 0},          {false, SummaryStress, 106, 1},
      {false, SummaryStress, 120, 2},         {false, SummaryStress, 129, 3},
      {true, SummaryMusculoskeletal, 39, -3}, {false, SummaryMusculoskeletal, 40, -2},
      {true, SummaryMusculoskeletal, 70, -1}, {false, SummaryMusculoskeletal, 80, 0},
      {true, SummaryMusculoskeletal, 120, 1}, {false, SummaryMusculoskeletal, 130, 2},
      {true, SummaryMusculoskeletal, 160, 3}, {false, SummaryMetabolism, 39, -3},
      {true, SummaryMetabolism, 40, -2},      {false, SummaryMetabolism, 79, -1},
      {true, SummaryMetabolism, 119, 0},      {false, SummaryMetabolism, 129, 1},
      {true, SummaryMetabolism, 159, 2},      {false, SummaryMetabolism, 160, 3},
      {true, SummaryAutonomic, 100, 0},       {false, SummaryAutonomic, 150, 0},
      {true, SummaryAutonomic, 151, 1},       {false, SummaryAutonomic, 180, 1},
      {true, SummaryAutonomic, 181, 2},       {false, SummaryAutonomic, 210, 2},
      {true, SummaryAutonomic, 211, 3},
  };
  // The field each item's value goes into; everything else balanced (ratios 1, average 40).
  double TAnalysisResult::*const field[5] = {&TAnalysisResult::Average, &TAnalysisResult::UpperSum,
                                             &TAnalysisResult::LeftSum, &TAnalysisResult::YinSum,
                                             &TAnalysisResult::GroupMax};
  for (const Case& c : cases) {
    TAnalysisResult a = summaryInput(40, 100, 100, 100, 100, 100, 100, 100, 100);
    a.*field[c.item] = c.value;
    ComputeSummaryLevels(a, c.male);
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(a.SummaryLevel[i], i == c.item ? c.level : 0)
          << (c.male ? "male " : "female ") << "item " << c.item << " value " << c.value
          << " level of item " << i;
  }
}

TEST(AnalysisSummary, AutonomicEdgeAndDivisorGuards) {
  TAnalysisResult a = summaryInput(40, 100, 100, 100, 100, 100, 100, 1.5, 1);
  ComputeSummaryLevels(a, true);
  EXPECT_EQ(a.SummaryLevel[SummaryAutonomic], 0);
  a.GroupMax = std::nextafter(1.5, kInf);
  ComputeSummaryLevels(a, true);
  EXPECT_EQ(a.SummaryLevel[SummaryAutonomic], 1);

  // A group minimum of 0 stands as 1.0 from then on.
  a = summaryInput(40, 100, 100, 100, 100, 100, 100, 1.4, 0);
  TSummaryRatios r = ComputeSummaryLevels(a, true);
  EXPECT_EQ(a.GroupMin, 1.0);
  ASSERT_TRUE(r.Autonomic);
  EXPECT_EQ(*r.Autonomic, 1.4);
  EXPECT_EQ(SummaryRows(a, r)[SummaryAutonomic].Detail, "高   1.4 / 低   1.0 =");

  // A zero divisor gives no ratio, level 0 and no verdict; the other rows are unaffected.
  a = summaryInput(40, 100, 0, 30, 100, 100, 100, 100, 100);
  r = ComputeSummaryLevels(a, false);
  EXPECT_FALSE(r.Stress);
  EXPECT_EQ(a.SummaryLevel[SummaryStress], 0);
  EXPECT_EQ(a.SummaryLevel[SummaryMusculoskeletal], -3);
  auto rows = SummaryRows(a, r);
  EXPECT_EQ(rows[SummaryStress].Value, "");
  EXPECT_EQ(rows[SummaryStress].Verdict, "");
  EXPECT_EQ(rows[SummaryStress].BarPosition, 0);
  EXPECT_EQ(rows[SummaryMusculoskeletal].Value, "0.300");

  // No test behind the result: every level 0, no ratio, no verdict, nothing infinite.
  a = TAnalysisResult{};
  ComputeMeridianStatistics(a, TPointValues{});
  r = ComputeSummaryLevels(a, true);
  EXPECT_FALSE(r.Stress || r.Musculoskeletal || r.Metabolism || r.Autonomic);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.SummaryLevel[i], 0);
  rows = SummaryRows(a, r);
  for (const TSummaryRow& row : rows) EXPECT_EQ(row.Verdict, "");
  EXPECT_EQ(rows[SummaryEnergy].Value, " 0.00");
}

TEST(AnalysisSummary, RowsTextsAndColours) {
  TAnalysisResult a;
  ComputeMeridianStatistics(a, ascending());
  const TSummaryRatios r = ComputeSummaryLevels(a, false);
  // 12.5 below every energy cut; 78/222 = 0.351; 114/186 = 0.613; 132/168 = 0.786; 69/6 = 11.5
  const int levels[5] = {-3, -3, -2, -1, 3};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.SummaryLevel[i], levels[i]) << i;
  const auto rows = SummaryRows(a, r);
  EXPECT_EQ(rows[SummaryEnergy].Value, "12.50");
  EXPECT_EQ(rows[SummaryEnergy].BarPosition, 12);  // 12.5 rounds to even
  EXPECT_EQ(rows[SummaryEnergy].BarMax, 180);
  EXPECT_EQ(rows[SummaryEnergy].Verdict, "體能狀況低落,元氣不足");
  EXPECT_EQ(rows[SummaryEnergy].BarColor, ruto::clRed);
  EXPECT_EQ(rows[SummaryStress].Detail, "上  78.0 / 下 222.0 =");
  EXPECT_EQ(rows[SummaryStress].Value, "0.351");
  EXPECT_EQ(rows[SummaryStress].BarPosition, 4);
  EXPECT_EQ(rows[SummaryStress].Verdict, "下焦氣血旺盛,有明顯精神衰弱傾向");
  EXPECT_EQ(rows[SummaryMusculoskeletal].Detail, "左 114.0 / 右 186.0 =");
  EXPECT_EQ(rows[SummaryMusculoskeletal].Verdict, "右側氣血旺盛,肌骨系統運作失調");
  EXPECT_EQ(rows[SummaryMusculoskeletal].BarColor, ruto::clYellow);
  EXPECT_EQ(rows[SummaryMetabolism].Detail, "陰 132.0 / 陽 168.0 =");
  EXPECT_EQ(rows[SummaryMetabolism].Value, "0.786");
  EXPECT_EQ(rows[SummaryMetabolism].BarPosition, 8);
  EXPECT_EQ(rows[SummaryMetabolism].Verdict, "陽盛於陰,機體代謝稍快");
  EXPECT_EQ(rows[SummaryAutonomic].Detail, "高  69.0 / 低   6.0 =");
  EXPECT_EQ(rows[SummaryAutonomic].Value, "11.500");
  EXPECT_EQ(rows[SummaryAutonomic].BarMax, 40);
  EXPECT_EQ(rows[SummaryAutonomic].Verdict, "有明顯自律神經系統失衡傾象");
  EXPECT_EQ(rows[SummaryAutonomic].BarColor, ruto::clRed);
}

TEST(AnalysisSummary, VerdictEndsAndGridCells) {
  EXPECT_EQ(SummaryVerdict(SummaryEnergy, 3), "體能狀態亢奮,活動力旺盛");
  EXPECT_EQ(SummaryVerdict(SummaryMetabolism, 1), "陰盛於陽,機體代謝稍低");
  EXPECT_EQ(SummaryVerdict(SummaryAutonomic, 0), "全身自律神經系統功能正常");
  EXPECT_EQ(SummaryVerdict(SummaryAutonomic, -1), "");
  EXPECT_EQ(SummaryVerdict(SummaryEnergy, 4), "");
  // Point -> (column, row) of the value grid at the ends of each run of six points.
  const int cells[][3] = {{1, 1, 1},  {6, 6, 1},   {7, 1, 2},  {12, 6, 2},
                          {13, 7, 1}, {18, 12, 1}, {19, 7, 2}, {24, 12, 2}};
  for (const auto& c : cells)
    EXPECT_TRUE(GridCellOfPoint(c[0]).Column == c[1] && GridCellOfPoint(c[0]).Row == c[2]) << c[0];
  EXPECT_EQ(GridValueText(0), "");
  EXPECT_EQ(GridValueText(7.25), " 7.3");
}

}  // namespace
