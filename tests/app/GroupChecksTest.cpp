#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/KeyedMerge.h"

namespace {

const QString kFile = QStringLiteral("GroupChecksFile");

class GroupChecks : public dbtest::Fixture {
 protected:
  void SetUp() override { open(kFile, "VoTran.mdb"); }
  bool fill(const QStringList& statements) {
    for (const QString& sql : statements)
      if (!dbtest::exec(kFile, sql)) return false;
    return true;
  }
};

}  // namespace

static QStringList textColumns(const QString& date, const QString& vo1) {
  QStringList columns = {"MKEY INTEGER PRIMARY KEY"};
  for (const char* c : {"CUSTNO", "VODATE", "VOVOTA", "MEMO1", "MEMO2", "AutoKey", "PrtFG"})
    columns << QString(c) + " TEXT";
  for (int i = 1; i <= 24; ++i) columns << QStringLiteral("VO%1 TEXT").arg(i);
  return {"DROP TABLE VODATA", "CREATE TABLE VODATA (" + columns.join(", ") + ")",
          QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VO1) VALUES ('C1', %1, %2)")
              .arg(date, vo1)};
}

// A test row of client C1 with `values` in `columns`.
static QStringList testRow(const QString& columns, const QString& values) {
  return {"INSERT INTO VODATA (CUSTNO, " + columns + ") VALUES ('C1', " + values + ")"};
}

// Values a scan of the whole file clears and values it leaves to the conversion itself: the
// outcome is that of converting every value, and a failure names its row and column.
TEST_F(GroupChecks, ValuesThatMayNotConvertAreConverted) {
  // What, clients (else the program group), the failure (empty: the group passes), rows.
  const std::tuple<const char*, bool, const char*, QStringList> cases[] = {
      {"plain rows", true, "",
       testRow("VODATE, VOVOTA, VO1", "45000.5, 1, 12.5")
           << "INSERT INTO VOCUST (CUSTNO, NAME, HEIGHT) VALUES ('C1', 'n', 170)"},
      {"number as text", true, "row 1, column VO5", testRow("VO5", "'abc'")},
      {"second row",
       true,
       "row 2, column VO24",
       {"INSERT INTO VODATA (CUSTNO) VALUES ('C1'), ('C1')",
        "UPDATE VODATA SET VO24 = x'01' WHERE MKEY = (SELECT MAX(MKEY) FROM VODATA)"}},
      {"yes/no words", true, "", testRow("VOVOTA", "' TRUE '")},
      {"yes/no other text", true, "column VOVOTA", testRow("VOVOTA", "'maybe'")},
      {"date as text", true, "", testRow("VODATE", "'2024-03-05'")},
      {"date of the sixth century", true, "", testRow("VODATE", "-500000.25")},
      {"date past the calendar", true, "column VODATE", testRow("VODATE", "1e7")},
      {"height as text", true, "column HEIGHT",
       QStringList{"INSERT INTO VOCUST (CUSTNO, HEIGHT) VALUES ('C2', 'tall')"}},
      {"age in an optional run", false, "",
       QStringList{"INSERT INTO VOPRDT (ProNo, ProAGL) VALUES ('P1', 'x')"}},
      {"energy as text", false, "column ProEng",
       QStringList{"INSERT INTO VOPRDT (ProNo, ProEng) VALUES ('P1', 'x')"}},
      // A file of other make may declare every column as text: numbers are then texts too.
      {"text columns, a number", true, "column VODATE", textColumns("'12'", "'12.5'")},
      {"text columns, a date", true, "", textColumns("'2024/01/02'", "'12.5'")},
      {"text columns, a word", true, "column VO1", textColumns("'2024/01/02'", "'abc'")}};
  for (const auto& [what, clients, fails, statements] : cases) {
    ASSERT_TRUE(fill(
        {"DELETE FROM VOCUST", "DELETE FROM VODATA", "DELETE FROM VOPRO", "DELETE FROM VOPRDT"}));
    ASSERT_TRUE(fill(statements)) << what;
    QString error;
    const bool ok = CheckGroupValues(kFile, clients ? kClientGroup : kProgramGroup, &error);
    EXPECT_EQ(ok, *fails == 0) << what << ": " << error.toStdString();
    if (!ok) {
      EXPECT_TRUE(error.contains(fails)) << what << ": " << error.toStdString();
    }
  }
}

// Numbers are judged by their characters as the program counts them: letters outside the
// basic plane count twice.
TEST_F(GroupChecks, KeysMustBeNonBlankAndFitTheirWidth) {
  const QString chinese15 = QStringLiteral("客戶一二三四五六七八九十一二三");
  const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
  const std::pair<QStringList, bool> cases[] = {
      {{"C1", "C\t", chinese15, smile.repeated(7), "123456789012345"}, true},
      {{"  ", "\t", chinese15 + "x", smile.repeated(8), "1234567890123456"}, false}};
  for (const auto& [keys, ok] : cases)
    for (const QString& key : keys) {
      // The test's link is checked as the client's number is.
      ASSERT_TRUE(fill({"DELETE FROM VOCUST", "DELETE FROM VODATA"}));
      ASSERT_TRUE(dbtest::exec(kFile, "INSERT INTO VODATA (CUSTNO) VALUES (?)", {key}));
      QString error;
      EXPECT_EQ(CheckGroupKeys(kFile, kClientGroup, &error), ok) << key.toStdString();
      if (!ok) {
        EXPECT_TRUE(error.startsWith("VODATA.CUSTNO")) << error.toStdString();
      }
    }
}
