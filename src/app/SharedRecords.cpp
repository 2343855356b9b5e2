#include "app/SharedRecords.h"

namespace ruto {

void InitCompFactors() {
  CompFactor = {0.0, 0.8541, 0.9318, 1.1081, 0.9318, 0.8039, 0.8039,
                1.0, 1.2424, 1.0,    1.0789, 1.2424, 1.1388};
}

int MeridianColumn(int point) {
  if (point >= 1 && point <= 6) return point;
  if (point >= 7 && point <= 18) return point - 6;
  if (point >= 19 && point <= 24) return point - 12;
  return 0;
}

double CompensatedValue(int point, double value) {
  const int column = MeridianColumn(point);
  return column ? value * CompFactor[column] : 0.0;
}

void RecomputeCompValues(TCurrentTest& test) {
  for (int p = 1; p <= 24; ++p) test.CompValues[p] = CompensatedValue(p, test.Values[p]);
}

void ClearCurrentTest() {
  CurrentTest.MKey = 0;
  CurrentTest.LivePointCount = 0;
  CurrentTest.Memo1.clear();
  ViewState.AnalysisPage = 0;
  CurrentTest.Values.fill(0);
  CurrentTest.CompValues.fill(0);
  CurrentTest.VoDate = 0;
}

void ClearCurrentClient() {
  CurrentClient.CustNo.clear();
  CurrentClient.Name.clear();
  CurrentClient.Addr.clear();
  CurrentClient.Tel.clear();
  CurrentClient.Sex = true;
  CurrentClient.DBirth = 0;
}

}  // namespace ruto
