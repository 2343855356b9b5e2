#include "measure/Analysis.h"

#include <algorithm>
#include <cmath>

#include "base/Numbers.h"

namespace ruto {

using ruto::Format;

namespace {

constexpr std::array<double, 6> kEnergyCutsMale = {19, 26, 28, 60, 62, 68};
constexpr std::array<double, 6> kEnergyCutsFemale = {18, 24, 26, 59, 61, 67};
constexpr std::array<double, 6> kStressCutsMale = {0.63, 0.83, 0.88, 1.16, 1.31, 1.41};
constexpr std::array<double, 6> kStressCutsFemale = {0.53, 0.73, 0.78, 1.06, 1.2, 1.29};
constexpr std::array<double, 6> kBalanceCuts = {0.4, 0.7, 0.8, 1.2, 1.3, 1.6};

// Points of each element, summed in this order.
constexpr std::array<int, 4> kWoodPoints = {14, 17, 20, 23};
constexpr std::array<int, 8> kFirePoints = {2, 3, 4, 5, 8, 9, 10, 11};
constexpr std::array<int, 4> kEarthPoints = {13, 18, 19, 24};
constexpr std::array<int, 4> kMetalPoints = {1, 7, 6, 12};
constexpr std::array<int, 4> kWaterPoints = {15, 16, 21, 22};

template <size_t N>
double meanOf(const TPointValues& v, const std::array<int, N>& points) {
  double sum = 0;
  for (int p : points) sum += v[p];
  return sum / N;
}

std::optional<double> ratioOf(double numerator, double divisor) {
  if (!(divisor > 0)) return std::nullopt;
  return numerator / divisor;
}

ruto::TColor levelColor(int level) {
  if (level == 0) return ruto::clGreen;
  return (level == -3 || level == 3) ? ruto::clRed : ruto::clYellow;
}

const QStringList& verdicts(int item) {
  static const std::array<QStringList, 5> texts = {
      QStringList{"體能狀況低落,元氣不足", "體能精氣狀態稍弱", "體能元氣狀態偏虛,但仍屬正常",
                  "體能及元氣狀態正常", "體能狀態偏旺,但仍在正常範圍", "體能狀態略有亢奮現象",
                  "體能狀態亢奮,活動力旺盛"},
      QStringList{"下焦氣血旺盛,有明顯精神衰弱傾向", "上焦氣血不足,有中度精神衰弱傾向",
                  "上焦氣血偏虛,精神活動力略降", "上下焦氣血平衡,精神活動力正常",
                  "上焦氣血略旺,有輕微精神壓力傾向", "上盛下衰,有中度精神壓力傾向",
                  "上焦氣血旺盛,有明顯精神壓力傾向"},
      QStringList{"左側氣血衰弱,肌肉骨骼系統有明顯運作不良", "右側氣血旺盛,肌骨系統運作失調",
                  "右側氣血略旺,肌骨系統運作稍微失衡", "左右氣血平衡,肌肉骨骼系統運作正常",
                  "左右稍微失衡,肌骨系統稍有障礙", "左盛右衰,肌骨系統功能障礙",
                  "右側氣血衰弱,肌肉骨骼系統運作有明顯障礙"},
      QStringList{"陽腑盛於陰臟,機體代謝功能異常增加", "陽盛於陰,機體代謝功能增加",
                  "陽盛於陰,機體代謝稍快", "陰陽平衡,機體代謝功能正常", "陰盛於陽,機體代謝稍低",
                  "陰盛於陽,機體代謝功能降低", "陰臟盛於陽腑,機體代謝功能異常不足"},
      QStringList{"全身自律神經系統功能正常", "自律神經系統有輕微失衡現象",
                  "自律神經系統有中度失衡傾象", "有明顯自律神經系統失衡傾象"}};
  return texts[item];
}

}  // namespace

int LeftPointOf(int m) { return m <= 6 ? m : m + 6; }
int RightPointOf(int m) { return m <= 6 ? m + 6 : m + 12; }

void ComputeMeridianStatistics(TAnalysisResult& a, const TPointValues& v) {
  a.PointOrder = kPointOrder;
  for (int g = 1; g <= 8; ++g) {
    const int first = 3 * (g - 1) + 1;
    a.GroupSum[g] = v[first] + v[first + 1] + v[first + 2];
  }
  const auto& g = a.GroupSum;
  double total = 0;
  for (int i = 1; i <= 8; ++i) total += g[i];
  a.Average = total * 100 / 24 / 100;
  a.YinSum = g[1] + g[3] + g[5] + g[7];
  a.YangSum = g[2] + g[4] + g[6] + g[8];
  a.UpperSum = g[1] + g[2] + g[3] + g[4];
  a.LowerSum = g[5] + g[6] + g[7] + g[8];
  a.LeftSum = g[1] + g[2] + g[5] + g[6];
  a.RightSum = g[3] + g[4] + g[7] + g[8];

  const double k = (a.Average - 10) * 0.0084375 + 0.6625;
  a.AcceptLimitHigh = 21 * k;
  a.NormalLimitHigh = 11.5 * k;
  a.NormalLimitLow = 10.5 * k;
  a.AcceptLimitLow = 20 * k;

  a.Deviation[0] = 0;
  a.PointLevel[0] = 0;
  for (int p = 1; p <= 24; ++p) {
    a.Deviation[p] = v[p] - a.Average;
    a.PointLevel[p] = ClassifyDeviation(a, a.Deviation[p]);
  }

  a.ElementMean[ElementWood] = meanOf(v, kWoodPoints);
  a.ElementMean[ElementFire] = meanOf(v, kFirePoints);
  a.ElementMean[ElementEarth] = meanOf(v, kEarthPoints);
  a.ElementMean[ElementMetal] = meanOf(v, kMetalPoints);
  a.ElementMean[ElementWater] = meanOf(v, kWaterPoints);
  for (int e = 0; e < 5; ++e)
    a.ElementLevel[e] = ClassifyDeviation(a, a.ElementMean[e] - a.Average);

  a.MeridianMean[0] = 0;
  for (int m = 1; m <= 12; ++m) a.MeridianMean[m] = (v[LeftPointOf(m)] + v[RightPointOf(m)]) / 2;

  a.GroupMax = g[1];
  a.GroupMin = g[8];
  for (int i = 1; i <= 8; ++i) {
    if (g[i] > a.GroupMax) a.GroupMax = g[i];
    if (g[i] < a.GroupMin) a.GroupMin = g[i];
  }
  a.SummaryLevel.fill(0);
  a.PairLevel.fill(0);
}

int ClassifyDeviation(const TAnalysisResult& a, double d) {
  if (d >= 0) {
    if (d <= a.NormalLimitHigh) return 0;
    return d <= a.AcceptLimitHigh ? 1 : 2;
  }
  const double m = std::fabs(d);
  if (m <= a.NormalLimitLow) return 0;
  return m <= a.AcceptLimitLow ? -1 : -2;
}

double AutonomicDivisor(const TAnalysisResult& a) { return a.GroupMin <= 0 ? 1.0 : a.GroupMin; }

int LevelByCuts(double value, const std::array<double, 6>& cuts) {
  int level = -3;
  for (double cut : cuts)
    if (value >= cut) ++level;
  return level;
}

int AutonomicLevel(double r) {
  if (r <= 1.5) return 0;
  if (r <= 1.8) return 1;
  if (r <= 2.1) return 2;
  return 3;
}

TSummaryRatios ComputeSummaryLevels(TAnalysisResult& a, bool male) {
  a.SummaryLevel.fill(0);
  a.PairLevel.fill(0);
  a.GroupMin = AutonomicDivisor(a);

  TSummaryRatios r;
  if (a.Average > 0) {
    a.SummaryLevel[SummaryEnergy] =
        LevelByCuts(a.Average, male ? kEnergyCutsMale : kEnergyCutsFemale);
    r.Metabolism = ratioOf(a.YinSum, a.YangSum);
    if (r.Metabolism) a.SummaryLevel[SummaryMetabolism] = LevelByCuts(*r.Metabolism, kBalanceCuts);
    r.Stress = ratioOf(a.UpperSum, a.LowerSum);
    if (r.Stress)
      a.SummaryLevel[SummaryStress] =
          LevelByCuts(*r.Stress, male ? kStressCutsMale : kStressCutsFemale);
    r.Musculoskeletal = ratioOf(a.LeftSum, a.RightSum);
    if (r.Musculoskeletal)
      a.SummaryLevel[SummaryMusculoskeletal] = LevelByCuts(*r.Musculoskeletal, kBalanceCuts);
    r.Autonomic = a.GroupMax / a.GroupMin;
    a.SummaryLevel[SummaryAutonomic] = AutonomicLevel(*r.Autonomic);
  }

  for (size_t i = 0; i < kPairColumns.size(); ++i) {
    const double d =
        std::fabs(a.MeridianMean[kPairColumns[i][0]] - a.MeridianMean[kPairColumns[i][1]]);
    int level = 0;
    if (d >= a.NormalLimitHigh + a.NormalLimitLow) {
      level = 1;
      if (d >= a.AcceptLimitHigh + a.AcceptLimitLow) level = 2;
    }
    a.PairLevel[i] = level;
  }
  return r;
}

QString SummaryVerdict(int item, int level) {
  if (item < 0 || item > 4) return {};
  const QStringList& texts = verdicts(item);
  const int index = item == SummaryAutonomic ? level : level + 3;
  return index >= 0 && index < texts.size() ? texts[index] : QString();
}

QString SexCaption(bool male) { return male ? QStringLiteral("男  性") : QStringLiteral("女  性"); }
ruto::TColor SexColor(bool male) { return male ? ruto::clGreen : ruto::clRed; }
QString EnergyRangeCaption(bool male) {
  return male ? QStringLiteral("(28 - 59)") : QStringLiteral("(26 - 58)");
}
QString StressRangeCaption(bool male) {
  return male ? QStringLiteral("(0.88-1.15)") : QStringLiteral("(0.78-1.05)");
}
QString RangeKindCaption(bool highRange) {
  return highRange ? QStringLiteral("高電位 (擴大)") : QStringLiteral("標準電位 (正常)");
}
ruto::TColor RangeKindColor(bool highRange) { return highRange ? ruto::clRed : ruto::clGreen; }

std::array<TSummaryRow, 5> SummaryRows(const TAnalysisResult& a, const TSummaryRatios& r) {
  std::array<TSummaryRow, 5> rows;
  const bool tested = a.Average > 0;
  const auto verdictOf = [&](int item) {
    return tested ? SummaryVerdict(item, a.SummaryLevel[item]) : QString();
  };

  TSummaryRow& energy = rows[SummaryEnergy];
  energy.Value = Format("%5.2f", {a.Average});
  energy.Verdict = verdictOf(SummaryEnergy);
  energy.BarMax = 180;
  energy.BarPosition = nearInt(a.Average);
  energy.BarColor = levelColor(a.SummaryLevel[SummaryEnergy]);

  struct RatioLine {
    int item;
    const char* left;
    double numerator;
    const char* right;
    double divisor;
    const std::optional<double>& ratio;
    int barMax;
  };
  const RatioLine ratioLines[] = {
      {SummaryStress, "上", a.UpperSum, " / 下", a.LowerSum, r.Stress, 20},
      {SummaryMusculoskeletal, "左", a.LeftSum, " / 右", a.RightSum, r.Musculoskeletal, 20},
      {SummaryMetabolism, "陰", a.YinSum, " / 陽", a.YangSum, r.Metabolism, 20},
      {SummaryAutonomic, "高", a.GroupMax, " / 低", a.GroupMin, r.Autonomic, 40}};
  for (const RatioLine& s : ratioLines) {
    TSummaryRow& row = rows[s.item];
    row.Detail = QString::fromUtf8(s.left) + Format("%6.1f", {s.numerator}) +
                 QString::fromUtf8(s.right) + Format("%6.1f", {s.divisor}) + QStringLiteral(" =");
    row.BarMax = s.barMax;
    row.BarColor = levelColor(a.SummaryLevel[s.item]);
    if (!s.ratio) continue;
    row.Value = Format("%5.3f", {*s.ratio});
    row.Verdict = verdictOf(s.item);
    row.BarPosition = nearInt(*s.ratio * 10);
  }
  return rows;
}

std::array<TPairRow, 6> PairRows(const TAnalysisResult& a) {
  static const QStringList states = {"正常", "尚可", "表裡不平衡"};
  static const std::array<ruto::TColor, 3> colors = {ruto::clGreen, ruto::clYellow, ruto::clRed};
  std::array<TPairRow, 6> rows;
  for (size_t i = 0; i < rows.size(); ++i) {
    const double meanA = a.MeridianMean[kPairColumns[i][0]];
    const double meanB = a.MeridianMean[kPairColumns[i][1]];
    TPairRow& row = rows[i];
    row.Difference = std::fabs(meanA - meanB);
    row.DifferenceText = QStringLiteral("#") + Format("%5.1f", {row.Difference});
    row.MeanA = Format("%5.1f", {meanA});
    row.MeanB = Format("%5.1f", {meanB});
    const int level = std::clamp(a.PairLevel[i], 0, 2);
    row.State = states[level];
    row.BarColor = colors[level];
    row.BarPosition = nearInt(std::min(row.Difference, 100.0));
  }
  return rows;
}

std::array<TElementRow, 5> ElementRows(const TAnalysisResult& a) {
  static constexpr std::array<int, 5> order = {ElementMetal, ElementWood, ElementWater, ElementFire,
                                               ElementEarth};
  std::array<TElementRow, 5> rows;
  for (size_t i = 0; i < order.size(); ++i) {
    const int e = order[i];
    const double mean = a.ElementMean[e];
    TElementRow& row = rows[i];
    row.Element = e;
    row.MeanText = Format("%3.1f", {mean});
    row.DeviationText = QStringLiteral("[") + Format("%3.1f", {mean - a.Average}) + "]";
    row.BarPosition = nearInt(mean);
    const int level = std::abs(a.ElementLevel[e]);
    row.BarColor = level == 2 ? ruto::clRed : level == 1 ? ruto::clYellow : ruto::clGreen;
  }
  return rows;
}

QString MeridianColumnCaption(int m) {
  static const QStringList captions = {"肺　經", "心包經", "心　經", "小腸經", "三焦經", "大腸經",
                                       "脾　經", "肝　經", "腎　經", "膀胱經", "膽　經", "胃　經"};
  return m >= 1 && m <= 12 ? captions[m - 1] : QString();
}

QString SideRowCaption(int row) {
  if (row == 1) return QStringLiteral("左　側");
  if (row == 2) return QStringLiteral("右　側");
  return {};
}

TGridCell GridCellOfPoint(int p) {
  if (p >= 1 && p <= 6) return {p, 1};
  if (p >= 7 && p <= 12) return {p - 6, 2};
  if (p >= 13 && p <= 18) return {p - 6, 1};
  if (p >= 19 && p <= 24) return {p - 12, 2};
  return {};
}

QString GridValueText(double value) { return value == 0 ? QString() : Format("%4.1f", {value}); }

}  // namespace ruto
