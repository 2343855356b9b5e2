// Which items the three lists hold for given point levels, and the pane texts for an item.

#include <gtest/gtest.h>

#include "measure/AnalysisLists.h"

using namespace ruto;

namespace {

// Point levels of the given meridians, each as {meridian, left level, right level}.
TAnalysisResult withSides(std::initializer_list<std::array<int, 3>> meridians) {
  TAnalysisResult a;
  for (const auto& [m, left, right] : meridians) {
    a.PointLevel[LeftPointOf(m)] = left;
    a.PointLevel[RightPointOf(m)] = right;
  }
  return a;
}

// A row whose every text names its column, so a misplaced column shows.
TReferenceRow fakeRow(int key) {
  TReferenceRow row;
  row.MKEY = key;
  row.Found = true;
  for (const TReferenceColumn& c : ReferenceTextColumns())
    row.*(c.member) = QString::fromLatin1(c.name);
  return row;
}

TEST(AbnormalLists, BodyStatesThenMeridiansAbnormalOnBothSides) {
  // Lung +1/-1, liver both high, kidney both low; heart and meridian 12 on one side only.
  TAnalysisResult a = withSides({{1, 1, -1}, {3, 2, 0}, {8, 2, 1}, {9, -1, -2}, {12, 0, -1}});
  const TDiagnosisLists lists = FillDiagnosisLists(a);
  EXPECT_EQ(lists.Diagnosis, QStringList({"   身體能量狀況", "   精神壓力狀態", "   肌肉骨骼系統",
                                          "   機體新陳代謝", "   自律神經功能", "【肺經異常辨證】",
                                          "【肝經異常辨證】", "【腎經異常辨證】"}));
  EXPECT_EQ(lists.Diet, QStringList({"【肺經異常食療】", "【肝經異常食療】", "【腎經異常食療】"}));
  EXPECT_EQ(a.ExplainCodes, (std::array<int, 25>{13, 14, 15, 16, 17, 1, 8, 9}));
  EXPECT_EQ(a.DietCodes, (std::array<int, 25>{1, 8, 9}));
  // Only meridians both high or both low get a prescription.
  EXPECT_EQ(FillPrescriptionList(a), QStringList({"【肝經異常】", "【腎經異常】"}));
  EXPECT_EQ(a.RemedyCodes, (std::array<int, 25>{8, 9}));

  // No meridian abnormal on both sides: only the body states, no diet, no prescription.
  TAnalysisResult none = withSides({{1, 2, 0}, {12, 0, -1}});
  const TDiagnosisLists bodyOnly = FillDiagnosisLists(none);
  EXPECT_EQ(bodyOnly.Diagnosis, lists.Diagnosis.mid(0, 5));
  EXPECT_TRUE(bodyOnly.Diet.isEmpty());
  EXPECT_TRUE(FillPrescriptionList(none).isEmpty());
}

TEST(ReferenceTexts, MeridianDiagnosisByLevel) {
  const QString item = "【肺經異常辨證】";
  const auto texts = [&](int left, int right, const TReferenceRow& row) {
    return DiagnosisTexts(withSides({{1, left, right}}), 1, item, row);
  };
  // The detail pane: the item, the general texts, then the one for the level.
  const QStringList head = {item, "", "DtMA2", "", "DtMA1", ""};
  const TDiagnosisTexts high = texts(2, 1, fakeRow(1));
  EXPECT_EQ(high.Detail, head + QStringList{"DtMH1"});
  EXPECT_EQ(high.Ryodoraku, QStringList{"DtMH5"});
  const TDiagnosisTexts low = texts(-2, -1, fakeRow(1));
  EXPECT_EQ(low.Detail, head + QStringList{"DtML1"});
  EXPECT_EQ(low.Ryodoraku, QStringList{"DtML5"});
  const TDiagnosisTexts mixed = texts(1, -1, fakeRow(1));
  EXPECT_EQ(mixed.Detail, head);
  EXPECT_TRUE(mixed.Ryodoraku.isEmpty());
  // A missing row shows empty texts, never another key's.
  TReferenceRow missing;
  missing.MKEY = 1;
  EXPECT_EQ(texts(2, 2, missing).Detail, QStringList({item, "", "", "", "", "", ""}));
}

TEST(ReferenceTexts, DietAndPrescriptionByLevel) {
  const TReferenceRow row = fakeRow(8);
  const auto levels = [](int left, int right) { return withSides({{8, left, right}}); };
  EXPECT_EQ(DietTexts(levels(1, 2), 8, row), QStringList({"DtMA3", "", "DtMH4"}));
  EXPECT_EQ(PrescriptionTexts(levels(1, 2), 8, row), QStringList({"DtMH3", "", "DtMH2"}));
  EXPECT_EQ(DietTexts(levels(-1, -1), 8, row), QStringList({"DtMA3", "", "DtML4"}));
  EXPECT_EQ(PrescriptionTexts(levels(-1, -1), 8, row), QStringList({"DtML3", "", "DtML2"}));
  EXPECT_EQ(DietTexts(levels(-1, 1), 8, row), QStringList({"DtMA3", ""}));
  EXPECT_TRUE(PrescriptionTexts(levels(-1, 1), 8, row).isEmpty());
}

TEST(ReferenceTexts, BodyStateTextsAndLowEnergyWarning) {
  TAnalysisResult a;
  const TReferenceRow row = fakeRow(13);
  a.SummaryLevel = {-3, 2, 0, -1, 0};
  const QString warning = "【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】";
  const TDiagnosisTexts t = DiagnosisTexts(a, 13, "   身體能量狀況", row);
  EXPECT_EQ(t.Detail, QStringList({"DtMA1", "", "DtML1", "", warning}));
  EXPECT_TRUE(t.Ryodoraku.isEmpty());
  EXPECT_EQ(DiagnosisTexts(a, 14, "", row).Detail, QStringList({"DtMA1", "", "DtMH1"}));
  EXPECT_EQ(DiagnosisTexts(a, 15, "", row).Detail, QStringList({"DtMA1", "", "DtMA2"}));
  EXPECT_EQ(DiagnosisTexts(a, 16, "", row).Detail, QStringList({"DtMA1", "", "DtML1"}));
  a.SummaryLevel[0] = -2;
  EXPECT_EQ(DiagnosisTexts(a, 13, "", row).Detail, QStringList({"DtMA1", "", "DtML1"}));
}

}  // namespace
