#pragma once
// The analysis window's lists of abnormal items and the reference texts shown for a selected
// item. The lists are built from the levels of a finished analysis; the texts come from one
// decoded reference row. Item k of the diet and prescription lists and item k + 5 of the
// diagnosis list follow one another by position.

#include <QString>
#include <QStringList>

#include "measure/Analysis.h"
#include "measure/ReferenceTable.h"

namespace ruto {

// Number of body-state items that head the diagnosis list (reference keys 13..17).
inline constexpr int kBodyStateItemCount = 5;

// Left and right point level of meridian key m (1..12).
int MeridianLeftLevel(const TAnalysisResult& a, int m);
int MeridianRightLevel(const TAnalysisResult& a, int m);
bool MeridianBothHigh(const TAnalysisResult& a, int m);
bool MeridianBothLow(const TAnalysisResult& a, int m);

// Item captions of the three lists for meridian key m.
QString DiagnosisItemText(int m);     // "【肺經異常辨證】"
QString DietItemText(int m);          // "【肺經異常食療】"
QString PrescriptionItemText(int m);  // "【肺經異常】"
QString BodyStateItemText(int item);  // "   身體能量狀況" ..

struct TDiagnosisLists {
  QStringList Diagnosis;  // diagnosisList
  QStringList Diet;       // dietList
};
// Five body-state items, then every meridian whose two sides are both abnormal (either sign).
// Writes ExplainCodes and DietCodes.
TDiagnosisLists FillDiagnosisLists(TAnalysisResult& a);
// Every meridian that is both high or both low. Writes RemedyCodes.
QStringList FillPrescriptionList(TAnalysisResult& a);

// The warning added under a body energy text at the lowest level.
QString LowEnergyWarning();

// Lines of the analysis window's two diagnosis panes for the item with reference key `key`:
// the detail pane and the Ryodoraku pane. `itemText` is the selected item's own caption.
struct TDiagnosisTexts {
  QStringList Detail;
  QStringList Ryodoraku;
};
TDiagnosisTexts DiagnosisTexts(const TAnalysisResult& a, int key, const QString& itemText,
                               const TReferenceRow& row);
// Lines of the diet pane for meridian key `key`.
QStringList DietTexts(const TAnalysisResult& a, int key, const TReferenceRow& row);
// Lines of the prescription pane for meridian key `key`.
QStringList PrescriptionTexts(const TAnalysisResult& a, int key, const TReferenceRow& row);

}  // namespace ruto
