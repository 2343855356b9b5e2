#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QSqlRecord>
#include <algorithm>

#include "app/AppTestSupport.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"

using namespace ruto;

const QString kSource = QStringLiteral("TransferSource");
const QString kTarget = QStringLiteral("TransferTarget");

class Transfer : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kSource, "VoTran.mdb");
    targetPath = open(kTarget, "ruto4.mdb");
  }
  static int count(const QString& table) {
    return dbtest::scalar(kTarget, "SELECT COUNT(*) FROM " + table).toInt();
  }
  QString targetPath;
};

// A column added to the template but not to the transfer list would be lost by every export.
TEST_F(Transfer, EveryTemplateColumnButTheKeyTravels) {
  for (const QString& table : kMainTables) {
    QStringList stored, listed;
    const QSqlRecord record = QSqlDatabase::database(kSource).record(table);
    for (int i = 0; i < record.count(); ++i)
      if (record.fieldName(i) != "MKEY") stored << record.fieldName(i);
    for (const TransferColumn& c : TransferColumns(table)) listed << c.name;
    stored.sort();
    listed.sort();
    EXPECT_EQ(listed, stored) << table.toStdString();
  }
}

TEST_F(Transfer, CopiesEveryColumnAndTheTargetAssignsKeys) {
  ASSERT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO) VALUES ('T1'), ('T2')"));
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VOCUST (CUSTNO) VALUES ('C'), ('b')"));
  const double when = ruto::toOleDate(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10, 600)));
  const QByteArray picture("\x00\x01\xFF\xFE BM", 8);
  const std::pair<const char*, QVariantList> inserts[] = {
      {"INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, HEIGHT, MEMO, PrtFG) VALUES (?,?,?,?,?,?,?)",
       {"S1", "王小明", 1, 30000.25, 172.5, "line1\r\nline2", 0}},
      {"INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1, VO24, AutoKey) "
       "VALUES ('s1', ?, 1, 12.5, 99.25, 'k7')",
       {when}},
      {"INSERT INTO VOPRO (ProNo, ProName, ProPict, ProScal, ProFN, ProParm4) "
       "VALUES ('P1', 'Calm', ?, 1, '1010', '-x')",
       {picture}},
      {"INSERT INTO VOPRDT (ProNo, ProCond, ProEng, ProAGL, ProAGH, ProFlg) "
       "VALUES ('P1', '123', 1.5, 17.5, 65, 1)",
       {}}};
  for (const auto& [sql, values] : inserts) ASSERT_TRUE(dbtest::exec(kSource, sql, values));
  int rows = 0, progressCalls = 0;
  QString error;
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VOCUST", nullptr, &error, {"MKEY", {}}));
  for (const QString& table : kMainTables)  // clients in the order of their numbers
    ASSERT_TRUE(
        CopyTransferTable(kSource, kTarget, table, &rows, &error,
                          {table == "VOCUST" ? "custno" : "", [&](int) { ++progressCalls; }}))
        << error.toStdString();
  EXPECT_EQ(progressCalls, 6);
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT group_concat(CUSTNO, ' ') FROM "
                             "(SELECT CUSTNO FROM VOCUST ORDER BY MKEY)"),
            "T1 T2 b C S1");

  // New keys, the test's time to the second, the picture's bytes, ages rounded into longs.
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT MKEY, NAME, SEX, DBIRTH, HEIGHT, MEMO FROM VOCUST "
                             "WHERE CUSTNO = 'S1'"),
            "5|王小明|1|30000.25|172.5|line1\r\nline2");
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT VOVOTA, VO1, VO24, AutoKey, VO2 FROM VODATA"),
            "1|12.5|99.25|k7|<null>");
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT ProFN, ProParm4, ProScal, hex(ProPict), ProAGL, "
                             "ProAGH, ProEng, ProFlg FROM VOPRO, VOPRDT"),
            "1010|-x|1|0001FFFE20424D00|18|65|1.5|1");
  EXPECT_EQ(
      ruto::formatOleDateTime(dbtest::scalar(kTarget, "SELECT VODATE FROM VODATA").toDouble()),
      "2024/03/05 14:22:10");
}

TEST_F(Transfer, AFailureMidwayLeavesTheTargetUnchanged) {
  ASSERT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('DUP', 'mine')"));
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VOCUST (CUSTNO) VALUES ('N1'), ('N2'), ('dup')"));
  int rows = -1;
  QString error;
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VOCUST", &rows, &error));
  EXPECT_TRUE(error.contains("row 3")) << error.toStdString();
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(count("VOCUST"), 1);
  // A test whose client is missing is copied as it is: links are the program's business.
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VODATA (CUSTNO) VALUES ('N1')"));
  ASSERT_TRUE(CopyTransferTable(kSource, kTarget, "VODATA", &rows, &error)) << error.toStdString();
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT CUSTNO, VOVOTA, PrtFG FROM VODATA"), "N1|0|0");
  // A test date whose text is no date fails the whole copy.
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('N2', 'soon')"));
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VODATA", &rows, &error));
  EXPECT_TRUE(error.contains("row 2, column VODATE")) << error.toStdString();
  EXPECT_EQ(count("VODATA"), 1);
  // The target connection is usable afterwards.
  EXPECT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO) VALUES ('after')"));
  EXPECT_EQ(count("VOCUST"), 2);
}

TEST_F(Transfer, ABadValueEndsItsOptionalRunForThatRowOnly) {
  // Ages of condition rows: a value that is no number, or too big for a long, ends the run.
  ASSERT_TRUE(dbtest::exec(kSource,
                           "INSERT INTO VOPRDT (ProNo, ProAGL, ProAGH, ProFlg, PrtFG) VALUES "
                           "('A', 17, 'old', 1, 1), ('B', 'x', 65, 1, 0), "
                           "('C', 1e12, 3, 0, 1), ('D', 20, 70, 1, 1)"));
  int rows = 0;
  QString error;
  ASSERT_TRUE(CopyTransferTable(kSource, kTarget, "VOPRDT", &rows, &error)) << error.toStdString();
  EXPECT_EQ(rows, 4);
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT group_concat(ProNo || ':' || ifnull(ProAGL, '-') || ':' || "
                             "ifnull(ProAGH, '-') || ':' || ProFlg || PrtFG, ' ') FROM "
                             "(SELECT * FROM VOPRDT ORDER BY MKEY)"),
            "A:17:-:11 B:-:-:10 C:-:-:01 D:20:70:11");
}

TEST_F(Transfer, OptionalRunsMayBeMissingButRequiredColumnsMayNot) {
  const QString old = dir.filePath("ruto.mdb"), partial = dir.filePath("partial.mdb");
  ASSERT_TRUE(dbtest::makeDatabase(
      old,
      {"CREATE TABLE vopro (MKEY INTEGER PRIMARY KEY, PRONO TEXT, ProName TEXT, "
       "ProData TEXT, ProPict BLOB, ProScal INTEGER, PrtFG INTEGER)",
       "INSERT INTO vopro VALUES (7, 'A', 'Alpha', 'text', NULL, NULL, 1)",
       "CREATE TABLE VOPRDT (ProNo TEXT, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, "
       "ProCond TEXT, ProEng REAL, ProFlg INTEGER, PrtFG INTEGER)",
       "INSERT INTO VOPRDT VALUES ('A', 's', 'n', '1', '2', 3.0, 1, 0)",
       "CREATE TABLE VOCUST (CUSTNO TEXT, NAME TEXT)", "INSERT INTO VOCUST VALUES ('Z', 'z')"}));
  // The run is there up to ProPrg2: those columns travel, the rest stay empty.
  ASSERT_TRUE(dbtest::makeDatabase(
      partial, {"CREATE TABLE VOPRO (ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, "
                "ProScal INTEGER, ProFN TEXT, ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, "
                "ProScrp4 TEXT, ProPrg1 TEXT, ProPrg2 TEXT, ProParm1 TEXT, PrtFG INTEGER)",
                "INSERT INTO VOPRO VALUES ('B', 'Beta', '', NULL, 1, '1100', 'h1', 'h2', 'h3', "
                "'h4', 'p1', 'p2', 'parm1', 0)"}));
  CloseDatabase(kTarget);
  QString error;
  for (const auto& [from, table] : {std::pair{old, "VOPRO"}, {old, "VOPRDT"}, {partial, "VOPRO"}})
    ASSERT_TRUE(CopyTransferTableFile(from, targetPath, table, nullptr, &error))
        << error.toStdString();
  EXPECT_FALSE(CopyTransferTableFile(old, targetPath, "VOCUST", nullptr, &error));
  EXPECT_TRUE(error.contains("SEX")) << error.toStdString();
  EXPECT_FALSE(CopyTransferTableFile(old, targetPath, "VOMTDB", nullptr, &error));
  ASSERT_EQ(OpenDatabase(kTarget, targetPath, kMainTables), DbOpenResult::Ok);

  // The source's key is not copied; nothing of a run after its first gap; a null yes/no
  // value arrives as 0.
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT MKEY, ProName, ProFN, ProParm4, PrtFG, ProScal FROM VOPRO "
                             "WHERE ProNo = 'A'"),
            "1|Alpha|<null>|<null>|1|0");
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT ProFN, ProScrp4, ProPrg2, ProPrg3, ProParm1, "
                             "ProScal FROM VOPRO WHERE ProNo = 'B'"),
            "1100|h4|p2|<null>|<null>|1");
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT ProAGL, ProAGH, ProFlg FROM VOPRDT"),
            "<null>|<null>|1");
  EXPECT_EQ(count("VOCUST"), 0);
}

// A file from outside must not be able to change itself through what it holds (a trigger
// writing to the schema, for one) nor run its schema's functions with full rights.
TEST_F(Transfer, OutsideFilesAreOpenedDefensive) {
  const QSqlDatabase db = QSqlDatabase::database(kSource, false);
  sqlite3* h = SqliteHandle(db);
  ASSERT_NE(h, nullptr);
  int defensive = -1;
  sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive);
  EXPECT_EQ(defensive, 0);
  DistrustOutsideDatabase(db);
  sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive);
  EXPECT_EQ(defensive, 1);
  EXPECT_EQ(dbtest::scalar(kSource, "PRAGMA trusted_schema").toInt(), 0);
}
