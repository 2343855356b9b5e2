// Which items the three lists hold for given point levels, and the pane texts for an item.

#include <gtest/gtest.h>

#include "measure/AnalysisLists.h"

namespace {

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

TEST(AbnormalLists, NoAbnormalMeridianListsOnlyTheBodyStates) {
  TAnalysisResult a = withSides({{1, 2, 0}, {12, 0, -1}});  // one side only: not listed
  const TDiagnosisLists lists = FillDiagnosisLists(a);
  EXPECT_EQ(lists.Diagnosis, QStringList({"   身體能量狀況", "   精神壓力狀態", "   肌肉骨骼系統",
                                          "   機體新陳代謝", "   自律神經功能"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.ExplainCodes[i], 13 + i);
  EXPECT_TRUE(lists.Diet.isEmpty());
  EXPECT_TRUE(FillPrescriptionList(a).isEmpty());
}

TEST(AbnormalLists, OppositeSidesListDiagnosisAndDietButNoPrescription) {
  // Lung +1/-1, liver both high, kidney both low, heart +2/0.
  TAnalysisResult a = withSides({{1, 1, -1}, {3, 2, 0}, {8, 2, 1}, {9, -1, -2}});
  const TDiagnosisLists lists = FillDiagnosisLists(a);
  ASSERT_EQ(lists.Diagnosis.size(), 8);
  EXPECT_EQ(lists.Diagnosis.mid(5),
            QStringList({"【肺經異常辨證】", "【肝經異常辨證】", "【腎經異常辨證】"}));
  EXPECT_EQ(lists.Diet, QStringList({"【肺經異常食療】", "【肝經異常食療】", "【腎經異常食療】"}));
  const int explain[] = {13, 14, 15, 16, 17, 1, 8, 9};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a.ExplainCodes[i], explain[i]) << i;
  EXPECT_EQ(a.DietCodes[0], 1);
  EXPECT_EQ(a.DietCodes[1], 8);
  EXPECT_EQ(a.DietCodes[2], 9);

  const QStringList remedies = FillPrescriptionList(a);
  EXPECT_EQ(remedies, QStringList({"【肝經異常】", "【腎經異常】"}));
  EXPECT_EQ(a.RemedyCodes[0], 8);
  EXPECT_EQ(a.RemedyCodes[1], 9);
}

TEST(ReferenceTexts, MeridianDiagnosisByLevel) {
  const TReferenceRow row = fakeRow(1);
  const QString item = "【肺經異常辨證】";
  const QStringList head = {item, "", "DtMA2", "", "DtMA1", ""};

  TDiagnosisTexts t = DiagnosisTexts(withSides({{1, 2, 1}}), 1, item, row);
  EXPECT_EQ(t.Detail, head + QStringList{"DtMH1"});
  EXPECT_EQ(t.Ryodoraku, QStringList{"DtMH5"});

  t = DiagnosisTexts(withSides({{1, -2, -1}}), 1, item, row);
  EXPECT_EQ(t.Detail, head + QStringList{"DtML1"});
  EXPECT_EQ(t.Ryodoraku, QStringList{"DtML5"});

  t = DiagnosisTexts(withSides({{1, 1, -1}}), 1, item, row);
  EXPECT_EQ(t.Detail, head);
  EXPECT_TRUE(t.Ryodoraku.isEmpty());

  // A missing row shows empty texts, never another key's.
  TReferenceRow missing;
  missing.MKEY = 1;
  t = DiagnosisTexts(withSides({{1, 2, 2}}), 1, item, missing);
  EXPECT_EQ(t.Detail, QStringList({item, "", "", "", "", "", ""}));
}

TEST(ReferenceTexts, BodyStateTextsAndLowEnergyWarning) {
  TAnalysisResult a;
  const TReferenceRow row = fakeRow(13);
  a.SummaryLevel = {-3, 2, 0, -1, 0};
  const QString warning = "【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】";
  TDiagnosisTexts t = DiagnosisTexts(a, 13, "   身體能量狀況", row);
  EXPECT_EQ(t.Detail, QStringList({"DtMA1", "", "DtML1", "", warning}));
  EXPECT_TRUE(t.Ryodoraku.isEmpty());
  EXPECT_EQ(DiagnosisTexts(a, 14, "", row).Detail, QStringList({"DtMA1", "", "DtMH1"}));
  EXPECT_EQ(DiagnosisTexts(a, 15, "", row).Detail, QStringList({"DtMA1", "", "DtMA2"}));
  EXPECT_EQ(DiagnosisTexts(a, 16, "", row).Detail, QStringList({"DtMA1", "", "DtML1"}));
  a.SummaryLevel[0] = -2;
  EXPECT_EQ(DiagnosisTexts(a, 13, "", row).Detail, QStringList({"DtMA1", "", "DtML1"}));
}

TEST(ReferenceTexts, DietAndPrescriptionByLevel) {
  const TReferenceRow row = fakeRow(8);
  const TAnalysisResult high = withSides({{8, 1, 2}});
  const TAnalysisResult low = withSides({{8, -1, -1}});
  const TAnalysisResult mixed = withSides({{8, -1, 1}});
  EXPECT_EQ(DietTexts(high, 8, row), QStringList({"DtMA3", "", "DtMH4"}));
  EXPECT_EQ(DietTexts(low, 8, row), QStringList({"DtMA3", "", "DtML4"}));
  EXPECT_EQ(DietTexts(mixed, 8, row), QStringList({"DtMA3", ""}));
  EXPECT_EQ(PrescriptionTexts(high, 8, row), QStringList({"DtMH3", "", "DtMH2"}));
  EXPECT_EQ(PrescriptionTexts(low, 8, row), QStringList({"DtML3", "", "DtML2"}));
  EXPECT_TRUE(PrescriptionTexts(mixed, 8, row).isEmpty());
}

}  // namespace
