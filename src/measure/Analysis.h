#pragma once
// The analysis of one test: group sums, ratios, the deviation bands, point, element and pair
// levels and the five body-state levels, with the verdict and caption texts the summary pages
// show. Everything here is arithmetic on the 24 compensated values and the client's sex, so the
// analysis window, the charts and the printed report read one result computed without a window.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "base/Colors.h"

namespace ruto {

// Compensated values of a test, entries 1..24 (entry 0 unused).
using TPointValues = std::array<double, 25>;

struct TAnalysisResult {
  std::array<double, 9> GroupSum{};  // g1..g8 at indices 1..8
  double Average = 0;
  double YinSum = 0, YangSum = 0, UpperSum = 0, LowerSum = 0, LeftSum = 0, RightSum = 0;
  double AcceptLimitHigh = 0, NormalLimitHigh = 0, NormalLimitLow = 0, AcceptLimitLow = 0;
  std::array<double, 25> Deviation{};   // 1..24
  std::array<int, 25> PointLevel{};     // 1..24, -2..2
  std::array<double, 5> ElementMean{};  // wood, fire, earth, metal, water
  std::array<int, 5> ElementLevel{};
  std::array<double, 13> MeridianMean{};  // meridian columns 1..12
  double GroupMax = 0, GroupMin = 0;
  std::array<int, 5> SummaryLevel{};   // energy, stress, musculoskeletal, metabolism, autonomic
  std::array<int, 6> PairLevel{};      // 0 normal, 1 acceptable, 2 unbalanced
  std::array<int, 25> PointOrder{};    // chart position 1..24 -> point
  std::array<int, 25> ExplainCodes{};  // reference key per diagnosis item
  std::array<int, 25> DietCodes{};     // reference key per diet item
  std::array<int, 25> RemedyCodes{};   // reference key per prescription item
};

// The analysis of the test in work, shared by the whole program: the analysis window fills it
// when it opens; the lists, the program matcher, the charts and the printed report read it.
inline TAnalysisResult Analysis;

// Five-element indices of ElementMean / ElementLevel.
enum TElement { ElementWood = 0, ElementFire, ElementEarth, ElementMetal, ElementWater };
// Indices of SummaryLevel.
enum TSummaryItem {
  SummaryEnergy = 0,
  SummaryStress,
  SummaryMusculoskeletal,
  SummaryMetabolism,
  SummaryAutonomic
};

// Chart position -> point: the left and right point of each meridian side by side.
inline constexpr std::array<int, 25> kPointOrder = {
    0, 1, 7, 2, 8, 3, 9, 4, 10, 5, 11, 6, 12, 13, 19, 14, 20, 15, 21, 16, 22, 17, 23, 18, 24};
// Meridian columns of the six interior-exterior pairs, in PairLevel order.
inline constexpr std::array<std::array<int, 2>, 6> kPairColumns = {
    {{1, 6}, {2, 5}, {3, 4}, {7, 12}, {8, 11}, {9, 10}}};

// The statistics step of the analysis window's show handler.
void ComputeMeridianStatistics(TAnalysisResult& a, const TPointValues& compValues);

// Band rule around Average: -2..2; a deviation exactly on an edge belongs to the inner band.
int ClassifyDeviation(const TAnalysisResult& a, double d);

// Left and right point of meridian column m (1..12).
int LeftPointOf(int m);
int RightPointOf(int m);

// GroupMin as a divisor: a group minimum of 0 (or less, from an imported test) counts as 1.0,
// wherever the autonomic ratio is formed (summary, chart, report).
double AutonomicDivisor(const TAnalysisResult& a);

// The three summary ratios and the autonomic ratio. Empty when the divisor is not positive
// (an imported test may hold zeros); the autonomic divisor is GroupMin after its 0 -> 1.0
// substitution, so it is empty only when no test is behind the result.
struct TSummaryRatios {
  std::optional<double> Stress;           // UpperSum / LowerSum
  std::optional<double> Musculoskeletal;  // LeftSum / RightSum
  std::optional<double> Metabolism;       // YinSum / YangSum
  std::optional<double> Autonomic;        // GroupMax / GroupMin
};

// The level-deriving half of ShowAnalysisSummary: zeroes and writes SummaryLevel and PairLevel,
// replaces a non-positive GroupMin by 1.0, and returns the ratios the summary page shows.
// With a non-positive Average every summary level stays 0 and every ratio is empty.
TSummaryRatios ComputeSummaryLevels(TAnalysisResult& a, bool male);

// Level -3..3 of `value` against six ascending cuts: the index of the half-open interval.
int LevelByCuts(double value, const std::array<double, 6>& cuts);
// Autonomic level 0..3 of a max/min ratio (closed upper edges).
int AutonomicLevel(double ratio);

// Verdict of summary item `item` at `level`; empty for a level outside its range.
QString SummaryVerdict(int item, int level);

// Captions that depend on the client's sex.
QString SexCaption(bool male);  // "男  性" / "女  性"
ruto::TColor SexColor(bool male);
QString EnergyRangeCaption(bool male);     // "(28 - 59)" / "(26 - 58)"
QString StressRangeCaption(bool male);     // "(0.88-1.15)" / "(0.78-1.05)"
QString RangeKindCaption(bool highRange);  // "高電位 (擴大)" / "標準電位 (正常)"
ruto::TColor RangeKindColor(bool highRange);

// One row of the body-state summary as the summary page shows it.
struct TSummaryRow {
  QString Detail;  // e.g. "上  12.3 / 下  45.6 =", empty for the energy row
  QString Value;   // "%5.2f" average or "%5.3f" ratio; empty when there is no ratio
  QString Verdict;
  int BarPosition = 0;
  int BarMax = 0;
  ruto::TColor BarColor = ruto::clGreen;
};
// Rows in SummaryLevel order (energy, stress, musculoskeletal, metabolism, autonomic), from the
// result after ComputeSummaryLevels and the ratios it returned.
std::array<TSummaryRow, 5> SummaryRows(const TAnalysisResult& a, const TSummaryRatios& r);

// One interior-exterior pair row of the pair page.
struct TPairRow {
  double Difference = 0;
  QString DifferenceText;  // "#" + "%5.1f"
  QString MeanA, MeanB;    // "%5.1f"
  QString State;           // "正常", "尚可", "表裡不平衡"
  int BarPosition = 0;     // of 100
  ruto::TColor BarColor = ruto::clGreen;
};
std::array<TPairRow, 6> PairRows(const TAnalysisResult& a);

// One five-element row of the summary page, in the page's order metal, wood, water, fire, earth.
struct TElementRow {
  int Element = 0;        // TElement
  QString MeanText;       // "%3.1f"
  QString DeviationText;  // "[" + "%3.1f" + "]"
  int BarPosition = 0;    // of 150
  ruto::TColor BarColor = ruto::clGreen;
};
std::array<TElementRow, 5> ElementRows(const TAnalysisResult& a);

// Value grid of the summary page: captions and the cell of point p.
QString MeridianColumnCaption(int m);  // 1..12, "肺　經" ..
QString SideRowCaption(int row);       // 1 "左　側", 2 "右　側"
struct TGridCell {
  int Column = 0, Row = 0;
};
TGridCell GridCellOfPoint(int p);
QString GridValueText(double value);  // "%4.1f", empty for 0

}  // namespace ruto
