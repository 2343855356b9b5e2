#include "measure/AnalysisLists.h"

namespace ruto {

namespace {

const QStringList& meridianNames() {
  static const QStringList names = {"肺", "心包", "心", "小腸", "三焦", "大腸",
                                    "脾", "肝",   "腎", "膀胱", "膽",   "胃"};
  return names;
}

bool isMeridian(int m) { return m >= 1 && m <= 12; }

}  // namespace

int MeridianLeftLevel(const TAnalysisResult& a, int m) {
  return isMeridian(m) ? a.PointLevel[LeftPointOf(m)] : 0;
}
int MeridianRightLevel(const TAnalysisResult& a, int m) {
  return isMeridian(m) ? a.PointLevel[RightPointOf(m)] : 0;
}
bool MeridianBothHigh(const TAnalysisResult& a, int m) {
  return MeridianLeftLevel(a, m) > 0 && MeridianRightLevel(a, m) > 0;
}
bool MeridianBothLow(const TAnalysisResult& a, int m) {
  return MeridianLeftLevel(a, m) < 0 && MeridianRightLevel(a, m) < 0;
}

QString DiagnosisItemText(int m) {
  return isMeridian(m) ? QStringLiteral("【%1經異常辨證】").arg(meridianNames()[m - 1]) : QString();
}
QString DietItemText(int m) {
  return isMeridian(m) ? QStringLiteral("【%1經異常食療】").arg(meridianNames()[m - 1]) : QString();
}
QString PrescriptionItemText(int m) {
  return isMeridian(m) ? QStringLiteral("【%1經異常】").arg(meridianNames()[m - 1]) : QString();
}
QString BodyStateItemText(int item) {
  static const QStringList items = {"   身體能量狀況", "   精神壓力狀態", "   肌肉骨骼系統",
                                    "   機體新陳代謝", "   自律神經功能"};
  return item >= 0 && item < items.size() ? items[item] : QString();
}

TDiagnosisLists FillDiagnosisLists(TAnalysisResult& a) {
  TDiagnosisLists lists;
  for (int i = 0; i < kBodyStateItemCount; ++i) {
    lists.Diagnosis << BodyStateItemText(i);
    a.ExplainCodes[i] = 13 + i;
  }
  for (int m = 1; m <= 12; ++m) {
    if (MeridianLeftLevel(a, m) == 0 || MeridianRightLevel(a, m) == 0) continue;
    a.ExplainCodes[lists.Diagnosis.size()] = m;
    lists.Diagnosis << DiagnosisItemText(m);
    a.DietCodes[lists.Diet.size()] = m;
    lists.Diet << DietItemText(m);
  }
  return lists;
}

QStringList FillPrescriptionList(TAnalysisResult& a) {
  QStringList items;
  for (int m = 1; m <= 12; ++m) {
    if (!MeridianBothHigh(a, m) && !MeridianBothLow(a, m)) continue;
    a.RemedyCodes[items.size()] = m;
    items << PrescriptionItemText(m);
  }
  return items;
}

QString LowEnergyWarning() {
  return QStringLiteral("【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】");
}

TDiagnosisTexts DiagnosisTexts(const TAnalysisResult& a, int key, const QString& itemText,
                               const TReferenceRow& row) {
  TDiagnosisTexts t;
  if (isMeridian(key)) {
    t.Detail << itemText << QString() << row.DtMA2 << QString() << row.DtMA1 << QString();
    if (MeridianBothHigh(a, key)) {
      t.Detail << row.DtMH1;
      t.Ryodoraku << row.DtMH5;
    } else if (MeridianBothLow(a, key)) {
      t.Detail << row.DtML1;
      t.Ryodoraku << row.DtML5;
    }
  } else if (key >= 13 && key <= 17) {
    const int level = a.SummaryLevel[key - 13];
    t.Detail << row.DtMA1 << QString();
    if (level == 0) {
      t.Detail << row.DtMA2;
    } else if (level > 0) {
      t.Detail << row.DtMH1;
    } else {
      t.Detail << row.DtML1;
      if (key == 13 && level == -3) t.Detail << QString() << LowEnergyWarning();
    }
  }
  return t;
}

QStringList DietTexts(const TAnalysisResult& a, int key, const TReferenceRow& row) {
  QStringList lines;
  if (!isMeridian(key)) return lines;
  lines << row.DtMA3 << QString();
  if (MeridianBothHigh(a, key))
    lines << row.DtMH4;
  else if (MeridianBothLow(a, key))
    lines << row.DtML4;
  return lines;
}

QStringList PrescriptionTexts(const TAnalysisResult& a, int key, const TReferenceRow& row) {
  QStringList lines;
  if (MeridianBothHigh(a, key))
    lines << row.DtMH3 << QString() << row.DtMH2;
  else if (MeridianBothLow(a, key))
    lines << row.DtML3 << QString() << row.DtML2;
  return lines;
}

}  // namespace ruto
