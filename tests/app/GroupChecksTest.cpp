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
  QStringList columns = {"MKEY INTEGER PRIMARY KEY",
                         "CUSTNO TEXT",
                         "VODATE TEXT",
                         "VOVOTA TEXT",
                         "MEMO1 TEXT",
                         "MEMO2 TEXT",
                         "AutoKey TEXT",
                         "PrtFG TEXT"};
  for (int i = 1; i <= 24; ++i) columns << QStringLiteral("VO%1 TEXT").arg(i);
  return {"DROP TABLE VODATA", "CREATE TABLE VODATA (" + columns.join(", ") + ")",
          QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VO1) VALUES ('C1', %1, %2)")
              .arg(date, vo1)};
}

// Values a scan of the whole file clears and values it leaves to the conversion itself: the
// outcome is that of converting every value, and a failure names its row and column.
TEST_F(GroupChecks, ValuesThatMayNotConvertAreConverted) {
  const struct {
    const char* what;
    QStringList statements;
    bool clients;       // else the program group
    const char* fails;  // empty: the group passes
  } cases[] = {
      {"plain rows",
       {"INSERT INTO VOCUST (CUSTNO, NAME, HEIGHT) VALUES ('C1', 'n', 170)",
        "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('C1', 45000.5, 1, 12.5)"},
       true,
       ""},
      {"number as text",
       {"INSERT INTO VODATA (CUSTNO, VO5) VALUES ('C1', 'abc')"},
       true,
       "row 1, column VO5"},
      {"second row",
       {"INSERT INTO VODATA (CUSTNO) VALUES ('C1'), ('C1')",
        "UPDATE VODATA SET VO24 = x'01' WHERE MKEY = (SELECT MAX(MKEY) FROM VODATA)"},
       true,
       "row 2, column VO24"},
      {"yes/no words", {"INSERT INTO VODATA (CUSTNO, VOVOTA) VALUES ('C1', ' TRUE ')"}, true, ""},
      {"yes/no other text",
       {"INSERT INTO VODATA (CUSTNO, VOVOTA) VALUES ('C1', 'maybe')"},
       true,
       "column VOVOTA"},
      {"date as text",
       {"INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('C1', '2024-03-05')"},
       true,
       ""},
      {"date of the sixth century",
       {"INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('C1', -500000.25)"},
       true,
       ""},
      {"date past the calendar",
       {"INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('C1', 1e7)"},
       true,
       "column VODATE"},
      {"height as text",
       {"INSERT INTO VOCUST (CUSTNO, HEIGHT) VALUES ('C2', 'tall')"},
       true,
       "column HEIGHT"},
      {"age in an optional run",
       {"INSERT INTO VOPRDT (ProNo, ProAGL) VALUES ('P1', 'x')"},
       false,
       ""},
      {"energy as text",
       {"INSERT INTO VOPRDT (ProNo, ProEng) VALUES ('P1', 'x')"},
       false,
       "column ProEng"},
      // A file of other make may declare every column as text: numbers are then texts too.
      {"text columns, a number", textColumns("'12'", "'12.5'"), true, "column VODATE"},
      {"text columns, a date", textColumns("'2024/01/02'", "'12.5'"), true, ""},
      {"text columns, a word", textColumns("'2024/01/02'", "'abc'"), true, "column VO1"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(fill(
        {"DELETE FROM VOCUST", "DELETE FROM VODATA", "DELETE FROM VOPRO", "DELETE FROM VOPRDT"}));
    ASSERT_TRUE(fill(c.statements)) << c.what;
    QString error;
    const bool ok = CheckGroupValues(kFile, c.clients ? kClientGroup : kProgramGroup, &error);
    EXPECT_EQ(ok, *c.fails == 0) << c.what << ": " << error.toStdString();
    if (!ok) {
      EXPECT_TRUE(error.contains(c.fails)) << c.what << ": " << error.toStdString();
    }
  }
}

// Numbers are judged by their characters as the program counts them: letters outside the
// basic plane count twice.
TEST_F(GroupChecks, KeysMustBeNonBlankAndFitTheirWidth) {
  const QString chinese15 = QStringLiteral("客戶一二三四五六七八九十一二三");
  const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
  const struct {
    QString key;
    bool ok;
  } cases[] = {{"C1", true},
               {"  ", false},
               {"\t", false},
               {"C\t", true},
               {chinese15, true},
               {chinese15 + "x", false},
               {smile.repeated(7), true},
               {smile.repeated(8), false},
               {"123456789012345", true},
               {"1234567890123456", false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(fill({"DELETE FROM VOCUST", "DELETE FROM VODATA"}));
    // The test's link is checked as the client's number is.
    ASSERT_TRUE(dbtest::exec(kFile, "INSERT INTO VODATA (CUSTNO) VALUES (?)", {c.key}));
    QString error;
    EXPECT_EQ(CheckGroupKeys(kFile, kClientGroup, &error), c.ok) << c.key.toStdString();
    if (!c.ok) {
      EXPECT_TRUE(error.startsWith("VODATA.CUSTNO")) << error.toStdString();
    }
  }
}
