#pragma once
// The records every window reads and writes in place. One instance each, for the whole run;
// nothing here is stored except through the database windows and the settings file.

#include <QString>
#include <QStringList>
#include <array>

namespace ruto {

struct TClientInfo {
  QString CustNo;
  QString Name;
  bool Sex = true;  // true = male
  // 4000.0 or less means no birthday in the client lists, the store window and the report;
  // the measurement and analysis windows treat only values below 4000.0 as none.
  double DBirth = 0;
  QString Addr;
  QString Tel;
  QString Tel2;  // mobile
  QString Tel3;  // fax
  QString EMail;
};

// Entry 0 of the point arrays holds nothing; points are 1..24.
using TPointValues = std::array<double, 25>;

struct TCurrentTest {
  TPointValues Values{};
  TPointValues CompValues{};
  double VoDate = 0;    // OLE day number; 0 = none
  bool VoVota = false;  // measured in the high-potential range
  QStringList Memo1;    // symptom and treatment text; cleared and refilled, never replaced
  int MKey = 0;         // key of the stored VODATA row; 0 = not stored
  int LivePointCount = 0;
};

// The second test of a comparison, loaded through the browser in comparison mode.
struct TCompareTest {
  QString CustNo;
  QString Name;
  double VoDate = 0;
  bool VoVota = false;
  TPointValues Values{};  // already compensated
  double Mean = 0;        // of the 24 uncompensated values
  int CurveCount = 1;     // 1 = only the current test, 2 = this one too
};

// The analysis charts; the numbers are the chart buttons' own.
enum class ChartType : int {
  None = 0,
  Bar = 1,
  Curve = 2,
  Generating = 5,
  Controlling = 6,
  Radar = 7,
  Ryodoraku = 8,  // conductance
  Autonomic = 9,
};

struct TViewState {
  ChartType ChartKind = ChartType::Bar;
  int AnalysisPage = 0;
  int ClientSortKey = 1;  // magnitude 1..9 = sort column, negative = descending
  bool BrowseForCurrent = false;
  bool TestLoaded = false;
  bool EntryNewMode = false;
  bool ClientNewMode = false;
  bool ProgramNewMode = false;
  int ReportFontSize = 0;  // 10 or 8 once printed
};

inline TClientInfo CurrentClient;
inline TCurrentTest CurrentTest;
inline TCompareTest CompareTest;
inline TViewState ViewState;
// One factor per meridian column (1..12), the same for left and right; entry 0 unused.
inline std::array<double, 13> CompFactor{};

// Sets the twelve factors; called once by the main window's creation.
void InitCompFactors();
// Meridian column 1..12 of point 1..24 (0 for anything else).
int MeridianColumn(int point);
// Values[p] times the point's factor.
double CompensatedValue(int point, double value);
// Rewrites CompValues from Values for every point.
void RecomputeCompValues(TCurrentTest& test);
// Forgets the test in work (key, values, memo, date, live count); the analysis starts again
// at its first page. The range stays as it is.
void ClearCurrentTest();
// Forgets the client in work: number, name, address, telephone and birthday; male.
void ClearCurrentClient();

}  // namespace ruto
