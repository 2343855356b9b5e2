#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "app/RecordSet.h"
#include "app/RecordTableModel.h"
#include "base/DateTime.h"

namespace {

const QString kConn = QStringLiteral("RecordSetTest");

class RecordSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenDatabase(kConn, dbtest::freshCopy(dir, "ruto4.mdb"), kMainTables),
              DbOpenResult::Ok);
  }
  void TearDown() override { CloseDatabase(kConn); }

  qint64 addClient(RecordSet& set, const QString& no, const QString& name, double birth = 0,
                   bool male = true) {
    return set.insert({{"CustNo", no}, {"Name", name}, {"DBirth", birth}, {"Sex", male}});
  }

  QTemporaryDir dir;
};

QStringList column(const RecordSet& set, const QString& name) {
  QStringList out;
  for (int r = 0; r < set.rowCount(); ++r) out << set.value(r, name).toString();
  return out;
}

TEST_F(RecordSetTest, SortsByTheGivenColumnsAndKeepsKeyOrderForTies) {
  RecordSet set(kConn, "vocust");
  ASSERT_TRUE(set.open()) << set.lastError().toStdString();
  EXPECT_EQ(set.table(), "VOCUST");
  EXPECT_EQ(set.position(), -1);
  addClient(set, "b2", "Lee");
  addClient(set, "A1", "Wang");
  addClient(set, "c3", "Lee");
  addClient(set, "a0", "Chen");

  ASSERT_TRUE(set.setSort("CustNo ASC"));
  ASSERT_TRUE(set.refresh());
  // Client numbers sort without regard to case.
  EXPECT_EQ(column(set, "CUSTNO"), QStringList({"a0", "A1", "b2", "c3"}));
  EXPECT_EQ(column(set, "RENO"), QStringList({"1", "2", "3", "4"}));
  ASSERT_TRUE(set.setSort("NAME DESC"));
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(column(set, "CUSTNO"), QStringList({"A1", "b2", "c3", "a0"}));

  // Unknown columns never reach the SQL.
  EXPECT_FALSE(set.setSort("NAME; DROP TABLE VOCUST"));
  EXPECT_FALSE(set.setSort("Nickname ASC"));
  EXPECT_FALSE(set.setSort("NAME UP"));
  EXPECT_EQ(set.sort().size(), 1);
  EXPECT_TRUE(set.refresh());
  EXPECT_EQ(set.rowCount(), 4);
}

TEST_F(RecordSetTest, LocateBookmarkAndRefreshKeepThePosition) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setSort("CUSTNO"));
  ASSERT_TRUE(set.open());
  addClient(set, "K100", "Lin");
  const qint64 k2 = addClient(set, "K200", "Lim");
  addClient(set, "K300", "O'Brien");
  EXPECT_EQ(set.bookmark(), set.keyAt(2)) << "an insert makes the new row current";

  EXPECT_FALSE(set.locate("NAME", "lim"));
  EXPECT_EQ(set.position(), 2) << "a failed locate leaves the position";
  EXPECT_TRUE(set.locate("NAME", "lim", LocateOption::CaseInsensitive));
  EXPECT_EQ(set.bookmark(), k2);
  EXPECT_TRUE(set.locate("CUSTNO", "k3", LocateOption::CaseInsensitive | LocateOption::PartialKey));
  EXPECT_EQ(set.field("NAME").toString(), "O'Brien");
  EXPECT_TRUE(set.locate("MKEY", QString::number(k2)));
  EXPECT_EQ(set.position(), 1);
  EXPECT_TRUE(set.locate("Sex_S", "男")) << "calculated columns can be located";

  // Another writer adds a row sorting first; the current row follows its key.
  ASSERT_TRUE(set.gotoBookmark(k2));
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('K000')"));
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(set.position(), 2);
  EXPECT_EQ(set.bookmark(), k2);
  // Deleting the current row moves to the row after it; deleting the last to the new last.
  ASSERT_TRUE(set.remove(k2));
  EXPECT_EQ(set.field("CUSTNO").toString(), "K300");
  ASSERT_TRUE(set.remove(set.bookmark()));
  EXPECT_EQ(set.field("CUSTNO").toString(), "K100");
  EXPECT_FALSE(set.gotoBookmark(k2));
}

TEST_F(RecordSetTest, WritesBindValuesAndRefuseUnknownColumns) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.open());
  const QString tricky = "x'); DELETE FROM VOCUST; --";
  const qint64 key = addClient(set, tricky, "Robert");
  ASSERT_GT(key, 0);
  EXPECT_EQ(set.field("CUSTNO").toString(), tricky);
  EXPECT_EQ(addClient(set, "X'); delete from vocust; --", "Twin"), 0) << "duplicate number";
  EXPECT_TRUE(set.lastError().contains("UNIQUE"));
  EXPECT_EQ(set.insert({{"MKEY", 99}}), 0);
  EXPECT_EQ(set.insert({{"NAME\" = 1 --", "x"}}), 0);

  EXPECT_TRUE(set.update(key, {{"name", "Bobby"}, {"Tel", "02-1234"}}));
  EXPECT_EQ(set.field("NAME").toString(), "Bobby");
  EXPECT_FALSE(set.update(key + 100, {{"NAME", "nobody"}}));
  EXPECT_EQ(set.rowCount(), 1);
}

TEST_F(RecordSetTest, LinkedTestsAndDeletingAllTestsOfAClient) {
  RecordSet clients(kConn, "VOCUST");
  ASSERT_TRUE(clients.open());
  addClient(clients, "C1", "One");
  addClient(clients, "C2", "Two");
  RecordSet tests(kConn, "VODATA");
  ASSERT_TRUE(tests.open());
  for (const char* no : {"C1", "c1", "C2", "C1"}) ASSERT_GT(tests.insert({{"CUSTNO", no}}), 0);

  ASSERT_TRUE(tests.setLink("CUSTNO", "C1"));
  ASSERT_TRUE(tests.refresh());
  EXPECT_EQ(tests.rowCount(), 3) << "the link compares client numbers without case";
  EXPECT_EQ(column(tests, "STNO"), QStringList({"1", "2", "3"}));
  EXPECT_FALSE(tests.setLink("NoSuchColumn", "C1"));

  EXPECT_EQ(tests.removeWhere("CUSTNO", "c1"), 3);
  EXPECT_EQ(tests.rowCount(), 0);
  EXPECT_EQ(tests.position(), -1);
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT COUNT(*) FROM VODATA").toInt(), 1);
  EXPECT_EQ(tests.removeWhere("Nope", "c1"), -1);
}

TEST_F(RecordSetTest, TransactionRollsBackUnlessCommitted) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.open());
  {
    Transaction t(kConn);
    ASSERT_TRUE(t.active());
    addClient(set, "T1", "Gone");
    EXPECT_EQ(set.rowCount(), 1);
    // A write inside the transaction that needs its own joins it.
    EXPECT_EQ(set.removeWhere("CUSTNO", "nobody"), 0);
  }
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(set.rowCount(), 0);
  {
    Transaction t(kConn);
    addClient(set, "T2", "Kept");
    // A test of a client that does not exist is refused at the end of the transaction.
    ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VODATA (CUSTNO) VALUES ('ghost')"));
    QString error;
    EXPECT_FALSE(t.commit(&error));
    EXPECT_TRUE(error.contains("FOREIGN KEY")) << error.toStdString();
  }
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(set.rowCount(), 0);
  {
    Transaction t(kConn);
    addClient(set, "T3", "Kept");
    EXPECT_TRUE(t.commit());
  }
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(column(set, "CUSTNO"), QStringList({"T3"}));
}

TEST_F(RecordSetTest, ClientCalculatedColumns) {
  RecordSet set(kConn, "VOCUST");
  set.setToday(QDate(2026, 1, 1));
  ASSERT_TRUE(set.setSort("CUSTNO"));
  ASSERT_TRUE(set.open());
  addClient(set, "1", "none", 0.0, true);
  addClient(set, "2", "edge", 4000.0, false);
  addClient(set, "3", "first", 4001.0, true);
  addClient(set, "4", "newyear", ruto::toOleDate(QDate(2025, 12, 31)), false);
  addClient(set, "5", "old", ruto::toOleDate(QDate(1926, 5, 1)), true);

  EXPECT_EQ(column(set, "Sex_S"), QStringList({"男", "女", "男", "女", "男"}));
  EXPECT_EQ(column(set, "VOAGE"), QStringList({"", "", "116", "  1", "100"}));
  EXPECT_TRUE(set.value(0, "DBIRTH_C").isNull());
  EXPECT_TRUE(set.value(1, "DBIRTH_C").isNull());
  EXPECT_EQ(set.value(2, "DBIRTH_C").toDate(), QDate(1910, 12, 14));
  EXPECT_EQ(set.value(3, "dbirth_c").toDate(), QDate(2025, 12, 31));
  EXPECT_TRUE(set.isCalculated(set.columnIndex("VOAGE")));
  EXPECT_FALSE(set.isCalculated(set.columnIndex("DBIRTH")));
}

TEST_F(RecordSetTest, TestCalculatedColumnsAndGridModel) {
  RecordSet clients(kConn, "VOCUST");
  ASSERT_GT(clients.insert({{"CUSTNO", "C"}}), 0);
  RecordSet set(kConn, "VODATA");
  ASSERT_TRUE(set.setSort("VODATE DESC"));
  ASSERT_TRUE(set.open());
  const double when = ruto::toOleDate(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10)));
  set.insert({{"CUSTNO", "C"}, {"VODATE", when}, {"VOVOTA", true}, {"VO1", 12.5}});
  set.insert({{"CUSTNO", "C"}, {"VODATE", 0.0}, {"VOVOTA", false}});
  EXPECT_EQ(set.value(0, "VODATE_C").toDate(), QDate(2024, 3, 5));
  EXPECT_EQ(set.value(0, "VODATE_T").toTime(), QTime(14, 22, 10));
  EXPECT_EQ(set.value(0, "VOVOTA_C").toString(), "高電位");
  EXPECT_EQ(set.value(1, "VOVOTA_C").toString(), "標準");

  RecordTableModel model(&set);
  model.setColumns({{"STNO", "Index", {}},
                    {"VODATE_C", "日期", {}},
                    {"VODATE_T", "時間", {}},
                    {"VO1", "1", [](const QVariant& v) { return v.isNull() ? "-" : "#"; }}});
  EXPECT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Index");
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), "2024/03/05");
  EXPECT_EQ(model.data(model.index(0, 2)).toString(), "14:22:10");
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), "1899/12/30");
  EXPECT_EQ(model.data(model.index(0, 3)).toString(), "#");
  EXPECT_EQ(model.data(model.index(1, 3)).toString(), "-");
  EXPECT_EQ(model.data(model.index(0, 3), Qt::EditRole).toDouble(), 12.5);
}

TEST_F(RecordSetTest, ConditionRowsShowTheirNumberAndRequiredMark) {
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOPRO (ProNo) VALUES ('P')"));
  RecordSet set(kConn, "VOPRDT");
  ASSERT_TRUE(set.setSort("ProSubN DESC"));
  ASSERT_TRUE(set.open());
  set.insert({{"ProNo", "P"}, {"ProSubN", "a"}, {"ProFlg", true}});
  set.insert({{"ProNo", "P"}, {"ProSubN", "b"}, {"ProFlg", false}});
  EXPECT_EQ(column(set, "CoNo"), QStringList({"1", "2"}));
  EXPECT_EQ(column(set, "ProFlgC"), QStringList({"", "X"}));
}

}  // namespace
