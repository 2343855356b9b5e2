#pragma once
// The comparison of two tests: the chart of both curves with the physiological band of
// either, and the printed comparison page.

#include <QDateTime>
#include <QString>
#include <array>

#include "app/SharedRecords.h"
#include "base/Canvas.h"

namespace ruto {

class PrintJob;

// Column labels by meridian column 1..12 and the chart's point order (entries 1..24).
extern const std::array<QString, 13> CmpMeridianNames;
extern const std::array<QString, 13> CmpElementNames;
extern const std::array<int, 25> CmpPointOrder;

// Mean of the 24 values of points 1..24.
double RawMean(const TPointValues& values);

enum class BandSource { Hidden, Current, Compare };

// The four band levels around a mean: red at +21k and -20k, olive at +11.5k and -10.5k,
// k = (mean - 10) * 0.0084375 + 0.6625.
struct BandLevels {
  double RedHigh, OliveHigh, OliveLow, RedLow;
};
BandLevels ComparisonBand(double mean);

// One header block: a test's client, mean, range and date.
struct ComparisonBlock {
  QString CustNo;
  QString Name;
  double Mean = 0;
  bool HighRange = false;
  double VoDate = 0;
};
QString RangeText(bool highRange);     // "高電位" / "標準電位"
TColor RangeColor(bool highRange);     // $0000FF / $008000
QString BlockDateText(double voDate);  // empty for an undated test
QString BlockTimeText(double voDate);

struct ComparisonData {
  TPointValues Curve1{};  // compensated values of the test in work
  TPointValues Curve2{};  // compensated values of the comparison test
  int CurveCount = 1;
  ComparisonBlock Block1;
  ComparisonBlock Block2;
  BandSource Band = BandSource::Hidden;
  QString UserData1;
  QString UserData2;
  QDateTime PrintedAt;
};

// The chart on a paint area of width x height; the band over it unless hidden.
void DrawComparisonChart(Canvas& canvas, int width, int height, const ComparisonData& data);
void DrawComparisonBand(Canvas& canvas, int width, int height, const ComparisonData& data);

// The printed comparison page as the job's steps: header and blocks, then the chart.
void AddComparisonPage(PrintJob& job, const ComparisonData& data);
// Title of the comparison print job.
QString ComparisonJobTitle();

}  // namespace ruto
