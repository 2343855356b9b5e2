#include "app/AppTestSupport.h"
#include "app/RecordSet.h"
#include "base/DateTime.h"

using namespace ruto;

const QString kConn = QStringLiteral("RecordSetTest");

class RecordSetTest : public dbtest::Fixture {
 protected:
  void SetUp() override { open(kConn, "ruto4.mdb"); }
  // Opens `set` sorted by `sort` and adds clients given as "number:name" (male, no birthday).
  void openSorted(RecordSet& set, const QString& sort, const QStringList& clients = {}) {
    ASSERT_TRUE(set.setSort(sort));
    ASSERT_TRUE(set.open()) << set.lastError().toStdString();
    for (const QString& c : clients)
      ASSERT_GT(addClient(set, c.section(':', 0, 0), c.section(':', 1)), 0) << c.toStdString();
  }
  static qint64 addClient(RecordSet& set, const QString& no, const QString& name, double birth = 0,
                          bool male = true) {
    return set.insert({{"CustNo", no}, {"Name", name}, {"DBirth", birth}, {"Sex", male}});
  }
  static QStringList column(const RecordSet& set, const QString& name) {
    QStringList out;
    for (int r = 0; r < set.rowCount(); ++r) out << set.value(r, name).toString();
    return out;
  }
};

TEST_F(RecordSetTest, SortsByKnownColumnsOnlyAndKeepsKeyOrderForTies) {
  RecordSet set(kConn, "vocust");
  openSorted(set, "CustNo ASC", {"b2:Lee", "A1:Wang", "c3:Lee", "a0:Chen"});
  // Client numbers sort without regard to case.
  EXPECT_EQ(column(set, "CUSTNO"), QStringList({"a0", "A1", "b2", "c3"}));
  EXPECT_EQ(column(set, "RENO"), QStringList({"1", "2", "3", "4"}));
  ASSERT_TRUE(set.setSort("NAME DESC"));
  // Unknown columns never reach the SQL and leave the sort as it was.
  for (const char* bad : {"NAME; DROP TABLE VOCUST", "Nickname ASC", "NAME UP"})
    EXPECT_FALSE(set.setSort(bad)) << bad;
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(column(set, "CUSTNO"), QStringList({"A1", "b2", "c3", "a0"}));
}

TEST_F(RecordSetTest, LocateBookmarkAndRefreshKeepThePosition) {
  RecordSet set(kConn, "VOCUST");
  openSorted(set, "CUSTNO", {"K100:Lin", "K200:Lim", "K300:O'Brien"});
  EXPECT_EQ(set.position(), 2) << "an insert makes the new row current";
  const qint64 k2 = set.keyAt(1);
  EXPECT_FALSE(set.locate("NAME", "lim"));
  EXPECT_EQ(set.position(), 2) << "a failed locate leaves the position";
  EXPECT_TRUE(set.locate("NAME", "lim", LocateOption::CaseInsensitive));
  EXPECT_EQ(set.bookmark(), k2);
  EXPECT_TRUE(set.locate("CUSTNO", "k3", LocateOption::CaseInsensitive | LocateOption::PartialKey));
  EXPECT_EQ(set.field("NAME").toString(), "O'Brien");
  EXPECT_TRUE(set.locate("Sex_S", "男")) << "calculated columns can be located";

  // Another writer adds a row sorting first; the current row follows its key.
  ASSERT_TRUE(set.gotoBookmark(k2));
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('K000')"));
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(set.position(), 2);
  // Deleting the current row moves to the row after it; deleting the last to the new last.
  ASSERT_TRUE(set.remove(k2));
  EXPECT_EQ(set.field("CUSTNO").toString(), "K300");
  ASSERT_TRUE(set.remove(set.bookmark()));
  EXPECT_EQ(set.field("CUSTNO").toString(), "K100");
  EXPECT_FALSE(set.gotoBookmark(k2));
}

TEST_F(RecordSetTest, WritesBindValuesAndRefuseUnknownColumns) {
  RecordSet set(kConn, "VOCUST");
  openSorted(set, "CUSTNO", {"x');DELETE --:Robert"});
  const qint64 key = set.bookmark();
  EXPECT_EQ(set.field("CUSTNO").toString(), "x');DELETE --");
  EXPECT_EQ(addClient(set, "X');delete --", "Twin"), 0) << "duplicate number";
  EXPECT_TRUE(set.lastError().contains("UNIQUE"));
  EXPECT_EQ(set.insert({{"MKEY", 99}}), 0);
  EXPECT_EQ(set.insert({{"NAME\" = 1 --", "x"}}), 0);
  EXPECT_TRUE(set.update(key, {{"name", "Bobby"}, {"Tel", "02-1234"}}));
  EXPECT_EQ(set.field("NAME").toString(), "Bobby");
  EXPECT_FALSE(set.update(key + 100, {{"NAME", "nobody"}}));
}

TEST_F(RecordSetTest, LinkedTestsDeletingAllTestsOfAClientAndTransactions) {
  RecordSet clients(kConn, "VOCUST");
  openSorted(clients, "CUSTNO", {"C1:One", "C2:Two"});
  RecordSet tests(kConn, "VODATA");
  ASSERT_TRUE(tests.open());
  for (const char* no : {"C1", "c1", "C2", "C1"}) ASSERT_GT(tests.insert({{"CUSTNO", no}}), 0);
  ASSERT_TRUE(tests.setLink("CUSTNO", "C1"));
  ASSERT_TRUE(tests.refresh());
  EXPECT_EQ(column(tests, "STNO"), QStringList({"1", "2", "3"}))
      << "the link compares client numbers without case";
  {
    Transaction t(kConn);
    // A write that needs its own transaction joins the open one, and is rolled back with it.
    EXPECT_EQ(tests.removeWhere("CUSTNO", "c1"), 3);
    EXPECT_EQ(tests.rowCount(), 0);
    EXPECT_EQ(tests.position(), -1);
  }
  ASSERT_TRUE(tests.refresh());
  EXPECT_EQ(tests.rowCount(), 3);
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT COUNT(*) FROM VODATA").toInt(), 4);
}

TEST_F(RecordSetTest, ClientCalculatedColumns) {
  RecordSet set(kConn, "VOCUST");
  set.setToday(QDate(2026, 1, 1));
  openSorted(set, "CUSTNO");
  // No birthday, the last day before the first, the first, born yesterday, a 100th birthday.
  const double births[] = {0.0, 4000.0, 4001.0, ruto::toOleDate(QDate(2025, 12, 31)),
                           ruto::toOleDate(QDate(1926, 5, 1))};
  for (int i = 0; i < 5; ++i) addClient(set, QString::number(i + 1), "c", births[i], i % 2 == 0);
  EXPECT_EQ(column(set, "Sex_S"), QStringList({"男", "女", "男", "女", "男"}));
  EXPECT_EQ(column(set, "VOAGE"), QStringList({"", "", "116", "  1", "100"}));
  EXPECT_EQ(column(set, "dbirth_c"),
            QStringList({"", "", "1910-12-14", "2025-12-31", "1926-05-01"}));
  EXPECT_TRUE(set.value(0, "DBIRTH_C").isNull());
}

TEST_F(RecordSetTest, TestCalculatedColumns) {
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('C')"));
  RecordSet set(kConn, "VODATA");
  openSorted(set, "VODATE DESC");
  const double when = ruto::toOleDate(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
  for (const auto& [date, high] : {std::pair(when, true), {0.0, false}})
    set.insert({{"CUSTNO", "C"}, {"VODATE", date}, {"VOVOTA", high}});
  EXPECT_EQ(column(set, "VOVOTA_C"), QStringList({"高電位", "標準"}));
  EXPECT_EQ(column(set, "VODATE_C"), QStringList({"2024-03-05", "1899-12-30"}));
  EXPECT_EQ(column(set, "VODATE_T"), QStringList({"14:22:10.000", "00:00:00.000"}));
}
