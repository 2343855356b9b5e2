// Statistics and levels on hand-made tests; every expected number below was worked out by hand
// from the values (sums, average, band factor, limits) and is not taken from the code.

#include <gtest/gtest.h>

#include <cmath>

#include "app/AppTestSupport.h"
#include "measure/Analysis.h"

using namespace ruto;

namespace {

void expectLimits(const TAnalysisResult& a, std::array<double, 4> want) {
  const double got[] = {a.AcceptLimitHigh, a.NormalLimitHigh, a.NormalLimitLow, a.AcceptLimitLow};
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(got[i], want[i]) << "limit " << i;
}

TEST(AnalysisStatistics, AscendingValuesThroughStatisticsSummaryRowsAndGrid) {
  TAnalysisResult a;
  TPointValues v{};
  for (int p = 1; p <= 24; ++p) v[p] = p;
  ComputeMeridianStatistics(a, v);
  EXPECT_EQ(a.GroupSum, (std::array<double, 9>{0, 6, 15, 24, 33, 42, 51, 60, 69}));
  EXPECT_EQ(a.Average, 12.5);
  EXPECT_EQ(a.YinSum, 132);
  EXPECT_EQ(a.YangSum, 168);
  EXPECT_EQ(a.UpperSum, 78);
  EXPECT_EQ(a.LowerSum, 222);
  EXPECT_EQ(a.LeftSum, 114);
  EXPECT_EQ(a.RightSum, 186);
  EXPECT_EQ(a.GroupMax, 69);
  EXPECT_EQ(a.GroupMin, 6);
  // k = 2.5 x 0.0084375 + 0.6625 = 0.68359375
  expectLimits(a, {14.35546875, 7.861328125, 7.177734375, 13.671875});
  EXPECT_EQ(a.Deviation[1], -11.5);
  EXPECT_EQ(a.Deviation[24], 11.5);
  EXPECT_EQ(a.PointOrder[1], 1);
  EXPECT_EQ(a.PointOrder[2], 7);
  EXPECT_EQ(a.PointOrder[24], 24);
  // Points 1-5 lie 11.5..7.5 below, 21-24 lie 8.5..11.5 above the average.
  for (int p = 1; p <= 24; ++p)
    EXPECT_EQ(a.PointLevel[p], p <= 5 ? -1 : p >= 21 ? 1 : 0) << "point " << p;
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(a.MeridianMean[m], m <= 6 ? m + 3 : m + 9) << m;

  const TSummaryRatios r = ComputeSummaryLevels(a, false);
  // 12.5 below every energy cut; 78/222 = 0.351; 114/186 = 0.613; 132/168 = 0.786; 69/6 = 11.5
  EXPECT_EQ(a.SummaryLevel, (std::array<int, 5>{-3, -3, -2, -1, 3}));
  const auto rows = SummaryRows(a, r);
  const char* texts[5] = {"|12.50|體能狀況低落,元氣不足",
                          "上  78.0 / 下 222.0 =|0.351|下焦氣血旺盛,有明顯精神衰弱傾向",
                          "左 114.0 / 右 186.0 =|0.613|右側氣血旺盛,肌骨系統運作失調",
                          "陰 132.0 / 陽 168.0 =|0.786|陽盛於陰,機體代謝稍快",
                          "高  69.0 / 低   6.0 =|11.500|有明顯自律神經系統失衡傾象"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(QStringList({rows[i].Detail, rows[i].Value, rows[i].Verdict}).join('|'), texts[i]);
  EXPECT_EQ(rows[0].BarPosition, 12) << "the energy bar: 12.5 rounds to even";
  EXPECT_EQ(rows[0].BarMax, 180);
  EXPECT_EQ(rows[1].BarPosition, 4);
  EXPECT_EQ(rows[3].BarPosition, 8);
  EXPECT_EQ(rows[4].BarMax, 40);
  EXPECT_EQ(rows[0].BarColor, clRed);
  EXPECT_EQ(rows[2].BarColor, clYellow);
  EXPECT_EQ(rows[4].BarColor, clRed);
  EXPECT_EQ(SummaryVerdict(SummaryAutonomic, 0), "全身自律神經系統功能正常");
  EXPECT_EQ(SummaryVerdict(SummaryAutonomic, -1), "");
  EXPECT_EQ(SummaryVerdict(SummaryEnergy, 4), "");
  // Point -> (column, row) of the value grid at the ends of each run of six points.
  const int cells[][3] = {{1, 1, 1},  {6, 6, 1},   {7, 1, 2},  {12, 6, 2},
                          {13, 7, 1}, {18, 12, 1}, {19, 7, 2}, {24, 12, 2}};
  for (const auto& [p, column, row] : cells) {
    EXPECT_EQ(GridCellOfPoint(p).Column, column) << p;
    EXPECT_EQ(GridCellOfPoint(p).Row, row) << p;
  }
  EXPECT_EQ(GridValueText(0), "");
  EXPECT_EQ(GridValueText(7.25), " 7.3");
}

TEST(AnalysisStatistics, BandEdgesBelongToTheInnerBand) {
  // Average 10: limits 13.9125, 7.61875, 6.95625, 13.25; statistics reset the summary levels.
  TAnalysisResult a;
  TPointValues v{};
  for (int p = 1; p <= 24; ++p) v[p] = 10;
  a.SummaryLevel.fill(3);
  a.PairLevel.fill(2);
  ComputeMeridianStatistics(a, v);
  EXPECT_EQ(a.Average, 10);
  expectLimits(a, {13.9125, 7.61875, 6.95625, 13.25});
  EXPECT_EQ(a.SummaryLevel, (std::array<int, 5>{}));
  EXPECT_EQ(a.PairLevel, (std::array<int, 6>{}));
  // {edge, level on it, level of the next double beyond it}
  const double edges[][3] = {{a.NormalLimitHigh, 0, 1},
                             {a.AcceptLimitHigh, 1, 2},
                             {-a.NormalLimitLow, 0, -1},
                             {-a.AcceptLimitLow, -1, -2}};
  for (const auto& [edge, on, beyond] : edges) {
    EXPECT_EQ(ClassifyDeviation(a, edge), on) << edge;
    EXPECT_EQ(ClassifyDeviation(a, std::nextafter(edge, edge * HUGE_VAL)), beyond) << edge;
  }
  for (auto [d, level] : {std::pair{0.0, 0}, {-0.0, 0}, {1000.0, 2}, {-1000.0, -2}})
    EXPECT_EQ(ClassifyDeviation(a, d), level) << d;

  // Average 50, limits exactly 21, 11.5, 10.5, 20; each group still sums to 150. Points 1-12 lie
  // on the edges, 13-24 on the next double beyond them.
  v = {0,    61.5, 38.5, 50, 71, 29, 50,   60.5, 39.5, 50, 70, 30, 50,
       61.5, 38.5, 50,   71, 0,  50, 39.5, 60.5, 50,   30, 70, 50};
  for (int p : {13, 16, 20, 23}) v[p] = std::nextafter(v[p], HUGE_VAL);
  for (int p : {14, 19, 22}) v[p] = std::nextafter(v[p], -HUGE_VAL);
  v[17] = 100 - v[16];
  ComputeMeridianStatistics(a, v);
  ASSERT_EQ(a.Average, 50);
  expectLimits(a, {21, 11.5, 10.5, 20});
  EXPECT_EQ(a.PointLevel, (std::array<int, 25>{0, 0,  -1, 0, 1,  -2, 0,  0, 0, 0,  1, -1, 0,
                                               1, -1, 0,  2, -2, 0,  -1, 0, 0, -2, 1, 0}));
}

TEST(AnalysisStatistics, ElementAndPairLevels) {
  // Average 50 makes the band factor exactly 1: limits 21, 11.5, 10.5, 20.
  TAnalysisResult a;
  ComputeMeridianStatistics(a, {0,  75, 25, 48, 50, 50, 50, 70, 32, 50, 50, 50, 50,
                                72, 72, 28, 28, 72, 28, 72, 72, 28, 28, 72, 28});
  EXPECT_EQ(a.PointLevel, (std::array<int, 25>{0, 2, -2, 0,  0, 0,  0, 1, -1, 0,  0, 0, 0,
                                               2, 2, -2, -2, 2, -2, 2, 2, -2, -2, 2, -2}));
  // wood 72, fire 355/8, earth 50, metal 245/4, water 28
  EXPECT_EQ(a.ElementMean, (std::array<double, 5>{72, 44.375, 50, 61.25, 28}));
  EXPECT_EQ(a.ElementLevel, (std::array<int, 5>{2, 0, 0, 0, -2}));
  EXPECT_EQ(a.MeridianMean,
            (std::array<double, 13>{0, 72.5, 28.5, 49, 50, 50, 50, 72, 72, 28, 28, 72, 28}));

  ComputeSummaryLevels(a, true);
  // Differences 22.5 (>= 22), 21.5, 1, 44 (>= 41), 0, 0.
  EXPECT_EQ(a.PairLevel, (std::array<int, 6>{1, 0, 0, 2, 0, 0}));
  const auto p = PairRows(a);
  EXPECT_EQ(p[0].DifferenceText, "# 22.5");
  EXPECT_EQ(p[0].MeanA, " 72.5");
  EXPECT_EQ(p[0].MeanB, " 50.0");
  EXPECT_EQ(p[0].State, "尚可");
  EXPECT_EQ(p[3].State, "表裡不平衡");
  EXPECT_EQ(p[4].DifferenceText, "#  0.0");
  EXPECT_EQ(p[4].State, "正常");
  EXPECT_EQ(p[0].BarPosition, 22) << "22.5 rounds to even";
  EXPECT_EQ(p[4].BarPosition, 0);
  EXPECT_EQ(p[0].BarColor, clYellow);
  EXPECT_EQ(p[3].BarColor, clRed);
  EXPECT_EQ(p[4].BarColor, clGreen);

  const auto e = ElementRows(a);  // metal, wood, water, fire, earth
  EXPECT_EQ(e[0].MeanText, "61.3") << "61.25: a decimal tie rounds away from zero";
  EXPECT_EQ(e[0].DeviationText, "[11.3]");
  EXPECT_EQ(e[1].MeanText, "72.0");
  EXPECT_EQ(e[2].DeviationText, "[-22.0]");
  EXPECT_EQ(e[3].MeanText, "44.4");
  EXPECT_EQ(e[3].DeviationText, "[-5.6]");
  EXPECT_EQ(e[0].BarPosition, 61);
  EXPECT_EQ(e[1].BarPosition, 72);
  EXPECT_EQ(e[3].BarPosition, 44);
  EXPECT_EQ(e[0].BarColor, clGreen);
  EXPECT_EQ(e[1].BarColor, clRed);
}

// Only the fields the summary levels read: average 40, every sum 100 unless given (ratios 1).
TAnalysisResult balanced(double lower = 100, double left = 100, double gmax = 100,
                         double gmin = 100) {
  TAnalysisResult a;
  a.Average = 40;
  a.UpperSum = a.RightSum = a.YinSum = a.YangSum = 100;
  a.LowerSum = lower;
  a.LeftSum = left;
  a.GroupMax = gmax;
  a.GroupMin = gmin;
  return a;
}

TEST(AnalysisSummary, LevelsOfBothSexesAtAndAroundEveryCut) {
  constexpr bool M = true, F = false;
  const double above150 = std::nextafter(150.0, HUGE_VAL);
  // {male, item, average or ratio numerator over a divisor of 100, level}; the items are
  // 0 energy, 1 stress, 2 musculoskeletal, 3 metabolism and 4 autonomic. The autonomic edge
  // 1.5 belongs to level 0, one double above it to level 1.
  const std::tuple<bool, int, double, int> cases[] = {
      {M, 0, 18.99, -3},   {M, 0, 19, -2},   {M, 0, 26, -1}, {M, 0, 27.99, -1}, {M, 0, 28, 0},
      {M, 0, 25, -2},      {M, 0, 59.99, 0}, {M, 0, 60, 1},  {M, 0, 62, 2},     {M, 0, 68, 3},
      {F, 0, 17.9, -3},    {F, 0, 18, -2},   {F, 0, 25, -1}, {F, 0, 26, 0},     {F, 0, 59, 1},
      {F, 0, 61, 2},       {F, 0, 66.99, 2}, {F, 0, 67, 3},  {M, 1, 62, -3},    {M, 1, 63, -2},
      {M, 1, 83, -1},      {M, 1, 88, 0},    {M, 1, 115, 0}, {M, 1, 116, 1},    {M, 1, 131, 2},
      {M, 1, 140, 2},      {M, 1, 141, 3},   {F, 1, 52, -3}, {F, 1, 53, -2},    {F, 1, 73, -1},
      {F, 1, 78, 0},       {F, 1, 106, 1},   {F, 1, 120, 2}, {F, 1, 129, 3},    {M, 2, 39, -3},
      {F, 2, 40, -2},      {M, 2, 70, -1},   {F, 2, 80, 0},  {M, 2, 120, 1},    {F, 2, 130, 2},
      {M, 2, 160, 3},      {F, 3, 39, -3},   {M, 3, 40, -2}, {F, 3, 79, -1},    {M, 3, 119, 0},
      {F, 3, 129, 1},      {M, 3, 159, 2},   {F, 3, 160, 3}, {M, 4, 100, 0},    {F, 4, 150, 0},
      {M, 4, above150, 1}, {M, 4, 151, 1},   {F, 4, 180, 1}, {M, 4, 181, 2},    {F, 4, 210, 2},
      {M, 4, 211, 3}};
  // The field each item's value goes into; everything else balanced (ratios 1, average 40).
  double TAnalysisResult::*const field[5] = {&TAnalysisResult::Average, &TAnalysisResult::UpperSum,
                                             &TAnalysisResult::LeftSum, &TAnalysisResult::YinSum,
                                             &TAnalysisResult::GroupMax};
  for (const auto& [male, item, value, level] : cases) {
    SCOPED_TRACE(testing::Message() << "male " << male << " item " << item << " value " << value);
    TAnalysisResult a = balanced();
    a.*field[item] = value;
    ComputeSummaryLevels(a, male);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(a.SummaryLevel[i], i == item ? level : 0) << i;
  }
}

TEST(AnalysisSummary, DivisorGuards) {
  // A group minimum of 0 stands as 1.0 from then on.
  TAnalysisResult a = balanced(100, 100, 1.4, 0);
  TSummaryRatios r = ComputeSummaryLevels(a, true);
  EXPECT_EQ(a.GroupMin, 1.0);
  ASSERT_TRUE(r.Autonomic);
  EXPECT_EQ(*r.Autonomic, 1.4);
  EXPECT_EQ(SummaryRows(a, r)[SummaryAutonomic].Detail, "高   1.4 / 低   1.0 =");

  // A zero or negative divisor gives no ratio, level 0 and no verdict; other rows are unaffected.
  for (double lower : {0.0, -50.0}) {
    a = balanced(lower, 30);
    r = ComputeSummaryLevels(a, false);
    const auto rows = SummaryRows(a, r);
    EXPECT_FALSE(r.Stress) << lower;
    EXPECT_EQ(a.SummaryLevel[SummaryStress], 0) << lower;
    EXPECT_EQ(a.SummaryLevel[SummaryMusculoskeletal], -3) << lower;
    EXPECT_EQ(rows[SummaryStress].BarPosition, 0) << lower;
    EXPECT_EQ(rows[SummaryStress].Value, "") << lower;
    EXPECT_EQ(rows[SummaryStress].Verdict, "") << lower;
    EXPECT_EQ(rows[SummaryMusculoskeletal].Value, "0.300") << lower;
  }

  // No test behind the result (average 0): every level 0, no ratio, no verdict, nothing infinite.
  a = TAnalysisResult{};
  ComputeMeridianStatistics(a, TPointValues{});
  r = ComputeSummaryLevels(a, true);
  EXPECT_FALSE(r.Stress);
  EXPECT_FALSE(r.Musculoskeletal);
  EXPECT_FALSE(r.Metabolism);
  EXPECT_FALSE(r.Autonomic);
  EXPECT_EQ(a.SummaryLevel, (std::array<int, 5>{}));
  const auto rows = SummaryRows(a, r);
  for (const TSummaryRow& row : rows) EXPECT_EQ(row.Verdict, "") << row.Detail.toStdString();
  EXPECT_EQ(rows[SummaryEnergy].Value, " 0.00");
}

}  // namespace
