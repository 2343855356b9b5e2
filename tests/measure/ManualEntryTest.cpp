#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/RecordSet.h"
#include "app/SharedRecords.h"
#include "measure/ManualEntry.h"

namespace {

TEST(ManualEntryTest, NormalizeEntryCell) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},           {"5", "  5.0"}, {"12.34", " 12.3"}, {"250", "200.0"},    {"0.09", ""},
      {"0.091", "  0.1"}, {"-3", ""},     {" 7 ", "  7.0"},   {"199.95", "200.0"}, {"0.05", ""}};
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(NormalizeEntryCell(QString::fromUtf8(in)), QString::fromUtf8(out));
  }
  for (const char* bad : {"1-2", ".", "-", "1.2.3"})
    EXPECT_FALSE(NormalizeEntryCell(QString::fromUtf8(bad)).has_value()) << bad;
  // Saved values are clamped.
  const std::pair<const char*, double> saved[] = {
      {"", 0}, {"  5.0", 5}, {"-4", 0}, {"250", 200}, {"0.05", 0.05}};
  for (const auto& [in, out] : saved) EXPECT_EQ(EntryCellValue(QString::fromUtf8(in)), out) << in;
  EXPECT_FALSE(EntryCellValue("1-2").has_value());
  EXPECT_EQ(EntryValueText(0), "");
  EXPECT_EQ(EntryValueText(42.25), "42.3");
}

// Enter moves one cell right; the end of the first row goes on to the second, the end of the
// second stays.
TEST(ManualEntryTest, EnterMovesRightAndWrapsOnce) {
  EXPECT_EQ(NextEntryCell({1, 1}), (EntryCell{2, 1}));
  EXPECT_EQ(NextEntryCell({11, 1}), (EntryCell{12, 1}));
  EXPECT_EQ(NextEntryCell({12, 1}), (EntryCell{1, 2}));
  EXPECT_EQ(NextEntryCell({5, 2}), (EntryCell{6, 2}));
  EXPECT_EQ(NextEntryCell({11, 2}), (EntryCell{12, 2}));
  EXPECT_EQ(NextEntryCell({12, 2}), (EntryCell{12, 2}));
}

// Digits, the sign, the point, Backspace and Enter reach the cell; every other key is dropped.
TEST(ManualEntryTest, KeyFilter) {
  for (QChar c : QStringLiteral("0123456789-.\b\r"))
    EXPECT_TRUE(EntryKeyAccepted(c)) << static_cast<int>(c.unicode());
  for (QChar c : QStringLiteral("a ,+e\t"))
    EXPECT_FALSE(EntryKeyAccepted(c)) << static_cast<int>(c.unicode());
}

class ManualEntrySaveTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kMainConnection, QStringLiteral("ruto4.mdb"));
    InitCompFactors();
    CurrentTest = {};
  }
};

TEST_F(ManualEntrySaveTest, NewModeWritesTestInWorkAndDropsStoredKeyOnChange) {
  EntryValues e;
  for (int p = 1; p <= 24; ++p) e.Values[p] = 10;
  e.HighRange = true;
  e.VoDate = 45000.5;
  e.Memo = {"x"};
  CurrentTest.MKey = 7;
  SaveEntryToCurrentTest(e);
  EXPECT_EQ(fields(CurrentTest.CompValues[20]), "12.424");
  EXPECT_EQ(CurrentTest.MKey, 0) << "changed values are a new test";
  EXPECT_TRUE(CurrentTest.VoVota);
  EXPECT_EQ(CurrentTest.Memo1, QStringList{"x"});

  CurrentTest.MKey = 7;  // stored as it is now
  e.Memo = {"only the note"};
  SaveEntryToCurrentTest(e);
  EXPECT_EQ(CurrentTest.MKey, 7);
}

TEST_F(ManualEntrySaveTest, ModifyModeChangesOnlyTheStoredRow) {
  RecordSet(kMainConnection, "VOCUST").insert({{"CUSTNO", "A"}});
  QVariantMap row{{"CUSTNO", "A"}, {"VODATE", 0.0}, {"VOVOTA", 0}, {"MEMO1", "a\r\nb\r\n"}};
  for (int p = 1; p <= 24; ++p) row.insert(QStringLiteral("VO%1").arg(p), 1.0);
  const int key = static_cast<int>(RecordSet(kMainConnection, "VODATA").insert(row));
  EntryValues read;
  ASSERT_TRUE(ReadStoredEntry(kMainConnection, key, &read));
  EXPECT_EQ(read.Memo, QStringList({"a", "b"}));
  EXPECT_FALSE(ReadStoredEntry(kMainConnection, key + 1, &read));

  CurrentTest.Values[1] = 3;
  read.Values[1] = 150;
  read.HighRange = true;
  ASSERT_TRUE(SaveEntryToStoredRow(kMainConnection, key, read));
  EXPECT_EQ(dbtest::firstRow(kMainConnection, "SELECT VO1, VO2, VOVOTA, MEMO1 FROM VODATA"),
            "150|1|1|a\r\nb\r\n");
  EXPECT_EQ(CurrentTest.Values[1], 3.0) << "the test in work stays as it was";
}

}  // namespace
