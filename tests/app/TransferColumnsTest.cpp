#include <gtest/gtest.h>

#include <QSqlRecord>

#include "DbTestSupport.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"

namespace {

const QString kSource = QStringLiteral("TransferSource");
const QString kTarget = QStringLiteral("TransferTarget");

QStringList names(const QList<TransferColumn>& list) {
  QStringList out;
  for (const TransferColumn& c : list) out << c.name;
  return out;
}

// Makes an SQLite file from statements, for sources shaped unlike the template.
bool makeDatabase(const QString& path, const QStringList& statements) {
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
    db.setDatabaseName(path);
    ok = db.open();
    QSqlQuery q(db);
    for (const QString& s : statements) ok = ok && q.exec(s);
    db.close();
  }
  QSqlDatabase::removeDatabase("maker");
  return ok;
}

class Transfer : public ::testing::Test {
 protected:
  void SetUp() override {
    sourcePath = dbtest::freshCopy(dir, "VoTran.mdb");
    targetPath = dbtest::freshCopy(dir, "ruto4.mdb");
    ASSERT_EQ(OpenDatabase(kSource, sourcePath, kMainTables), DbOpenResult::Ok);
    ASSERT_EQ(OpenDatabase(kTarget, targetPath, kMainTables), DbOpenResult::Ok);
  }
  void TearDown() override {
    CloseDatabase(kSource);
    CloseDatabase(kTarget);
  }
  int count(const QString& connection, const QString& table) {
    return dbtest::scalar(connection, "SELECT COUNT(*) FROM " + table).toInt();
  }

  QTemporaryDir dir;
  QString sourcePath, targetPath;
};

TEST(TransferColumnList, EveryTemplateColumnButTheKeyTravelsInCopyOrder) {
  QTemporaryDir dir;
  ASSERT_EQ(OpenDatabase("Template", dbtest::freshCopy(dir, "VoSpa.mdb"), kMainTables),
            DbOpenResult::Ok);
  for (const QString& table : kMainTables) {
    QStringList stored;
    const QSqlRecord record = QSqlDatabase::database("Template").record(table);
    for (int i = 0; i < record.count(); ++i)
      if (record.fieldName(i) != "MKEY") stored << record.fieldName(i);
    QStringList listed = names(TransferColumns(table.toLower()));
    EXPECT_EQ(listed.size(), stored.size()) << table.toStdString();
    std::sort(stored.begin(), stored.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, stored) << table.toStdString();
  }
  CloseDatabase("Template");

  const QStringList data = names(TransferColumns("VODATA"));
  EXPECT_EQ(data.mid(0, 7),
            QStringList({"CUSTNO", "VODATE", "VOVOTA", "MEMO1", "MEMO2", "AutoKey", "VO1"}));
  EXPECT_EQ(data.last(), "PrtFG");
  for (const TransferColumn& c : TransferColumns("VODATA"))
    if (c.name == "VODATE" || c.name == "VOVOTA") {
      EXPECT_EQ(c.access, TransferAccess::Text);
    }
  QStringList runs;
  for (const QString& table : kMainTables)
    for (const TransferColumn& c : TransferColumns(table))
      if (c.run) runs << c.name;
  EXPECT_EQ(runs, QStringList({"ProFN", "ProScrp1", "ProScrp2", "ProScrp3", "ProScrp4", "ProPrg1",
                               "ProPrg2", "ProPrg3", "ProPrg4", "ProParm1", "ProParm2", "ProParm3",
                               "ProParm4", "ProAGL", "ProAGH"}));
  EXPECT_TRUE(TransferColumns("VOMTDB").isEmpty());
}

TEST_F(Transfer, CopiesEveryColumnAndTheTargetAssignsKeys) {
  ASSERT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO) VALUES ('T1'), ('T2')"));
  ASSERT_TRUE(dbtest::exec(
      kSource,
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, HEIGHT, MEMO, PrtFG) VALUES (?,?,?,?,?,?,?)",
      {"S1", "王小明", 1, 30000.25, 172.5, "line1\r\nline2", 0}));
  const double when = ruto::toOleDate(QDateTime(QDate(2024, 3, 5), QTime(14, 22, 10, 600)));
  ASSERT_TRUE(dbtest::exec(kSource,
                           "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1, VO24, AutoKey) "
                           "VALUES ('s1', ?, 1, 12.5, 99.25, 'k7')",
                           {when}));
  const QByteArray picture("\x00\x01\xFF\xFE BM", 8);
  ASSERT_TRUE(
      dbtest::exec(kSource,
                   "INSERT INTO VOPRO (ProNo, ProName, ProPict, ProScal, ProFN, ProParm4) VALUES "
                   "('P1', 'Calm', ?, 1, '1010', '-x')",
                   {picture}));
  ASSERT_TRUE(
      dbtest::exec(kSource,
                   "INSERT INTO VOPRDT (ProNo, ProCond, ProEng, ProAGL, ProAGH, ProFlg) VALUES "
                   "('P1', '123', 1.5, 17.5, 65, 1)"));

  int rows = 0;
  int progressCalls = 0;
  QString error;
  for (const QString& table : kMainTables)
    ASSERT_TRUE(CopyTransferTable(kSource, kTarget, table, &rows, &error,
                                  {{}, [&](int) { ++progressCalls; }}))
        << error.toStdString();
  EXPECT_EQ(progressCalls, 4);

  // New keys, the test's time to the second, the picture's bytes, ages rounded into longs.
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT MKEY, NAME, SEX, DBIRTH, HEIGHT, MEMO FROM VOCUST "
                             "WHERE CUSTNO = 'S1'"),
            QStringList({"3", "王小明", "1", "30000.25", "172.5", "line1\r\nline2"}));
  const double stored = dbtest::scalar(kTarget, "SELECT VODATE FROM VODATA").toDouble();
  EXPECT_EQ(ruto::formatOleDateTime(stored), "2024/03/05 14:22:10");
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT VOVOTA, VO1, VO24, AutoKey, VO2 FROM VODATA"),
            QStringList({"1", "12.5", "99.25", "k7", "<null>"}));
  EXPECT_EQ(dbtest::scalar(kTarget, "SELECT ProPict FROM VOPRO").toByteArray(), picture);
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT ProFN, ProParm4, ProScal FROM VOPRO"),
            QStringList({"1010", "-x", "1"}));
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT ProAGL, ProAGH, ProEng, ProFlg FROM VOPRDT"),
            QStringList({"18", "65", "1.5", "1"}));
}

TEST_F(Transfer, AFailureMidwayLeavesTheTargetUnchanged) {
  ASSERT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('DUP', 'mine')"));
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VOCUST (CUSTNO) VALUES ('N1'), ('N2'), ('dup')"));
  int rows = -1;
  QString error;
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VOCUST", &rows, &error));
  EXPECT_TRUE(error.contains("row 3")) << error.toStdString();
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(count(kTarget, "VOCUST"), 1);

  // Tests whose client is missing are refused when the copy commits, and rolled back.
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VODATA (CUSTNO) VALUES ('N1')"));
  ASSERT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO) VALUES ('n1')"));
  ASSERT_TRUE(CopyTransferTable(kSource, kTarget, "VODATA", &rows, &error));
  EXPECT_EQ(rows, 1);
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VODATA (CUSTNO) VALUES ('N2')"));
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VODATA", &rows, &error));
  EXPECT_TRUE(error.contains("FOREIGN KEY")) << error.toStdString();
  EXPECT_EQ(count(kTarget, "VODATA"), 1);
  // The target connection is usable afterwards.
  EXPECT_TRUE(dbtest::exec(kTarget, "INSERT INTO VOCUST (CUSTNO) VALUES ('after')"));
  EXPECT_EQ(count(kTarget, "VOCUST"), 3);
  // So does a test date whose text is no date.
  ASSERT_TRUE(dbtest::exec(kSource, "UPDATE VODATA SET CUSTNO = 'DUP', VODATE = 'soon'"));
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VODATA", &rows, &error));
  EXPECT_TRUE(error.contains("VODATE")) << error.toStdString();
}

TEST_F(Transfer, OptionalRunsMayBeMissingInTheSource) {
  const QString old = dir.filePath("ruto.mdb");
  ASSERT_TRUE(makeDatabase(
      old, {"CREATE TABLE vopro (MKEY INTEGER PRIMARY KEY, PRONO TEXT, ProName TEXT, "
            "ProData TEXT, ProPict BLOB, ProScal INTEGER, PrtFG INTEGER)",
            "INSERT INTO vopro VALUES (7, 'A', 'Alpha', 'text', NULL, 0, 1)",
            // The run is there up to ProPrg2: those columns travel, the rest stay empty.
            "CREATE TABLE VOPRDT (ProNo TEXT, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, "
            "ProCond TEXT, ProEng REAL, ProFlg INTEGER, PrtFG INTEGER)",
            "INSERT INTO VOPRDT VALUES ('A', 's', 'n', '1', '2', 3.0, 1, 0)"}));
  const QString partial = dir.filePath("partial.mdb");
  ASSERT_TRUE(makeDatabase(
      partial, {"CREATE TABLE VOPRO (ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, "
                "ProScal INTEGER, ProFN TEXT, ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, "
                "ProScrp4 TEXT, ProPrg1 TEXT, ProPrg2 TEXT, ProParm1 TEXT, PrtFG INTEGER)",
                "INSERT INTO VOPRO VALUES ('B', 'Beta', '', NULL, 1, '1100', 'h1', 'h2', 'h3', "
                "'h4', 'p1', 'p2', 'parm1', 0)"}));
  CloseDatabase(kTarget);
  int rows = 0;
  QString error;
  ASSERT_TRUE(CopyTransferTableFile(old, targetPath, "VOPRO", &rows, &error))
      << error.toStdString();
  ASSERT_TRUE(CopyTransferTableFile(old, targetPath, "VOPRDT", &rows, &error))
      << error.toStdString();
  ASSERT_TRUE(CopyTransferTableFile(partial, targetPath, "VOPRO", &rows, &error))
      << error.toStdString();
  ASSERT_EQ(OpenDatabase(kTarget, targetPath, kMainTables), DbOpenResult::Ok);

  // The source's key is not copied; nothing of a run after its first gap.
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT MKEY, ProName, ProFN, ProParm4, PrtFG FROM VOPRO "
                             "WHERE ProNo = 'A'"),
            QStringList({"1", "Alpha", "<null>", "<null>", "1"}));
  EXPECT_EQ(dbtest::firstRow(kTarget,
                             "SELECT ProFN, ProScrp4, ProPrg2, ProPrg3, ProParm1, "
                             "ProScal FROM VOPRO WHERE ProNo = 'B'"),
            QStringList({"1100", "h4", "p2", "<null>", "<null>", "1"}));
  EXPECT_EQ(dbtest::firstRow(kTarget, "SELECT ProAGL, ProAGH, ProFlg FROM VOPRDT"),
            QStringList({"<null>", "<null>", "1"}));
}

TEST_F(Transfer, MissingRequiredColumnsAreRefused) {
  const QString old = dir.filePath("old.mdb");
  ASSERT_TRUE(makeDatabase(old, {"CREATE TABLE VOCUST (CUSTNO TEXT, NAME TEXT)",
                                 "INSERT INTO VOCUST VALUES ('Z', 'z')"}));
  CloseDatabase(kTarget);
  QString error;
  EXPECT_FALSE(CopyTransferTableFile(old, targetPath, "VOCUST", nullptr, &error));
  EXPECT_TRUE(error.contains("SEX")) << error.toStdString();
  EXPECT_FALSE(CopyTransferTableFile(old, targetPath, "VOMTDB", nullptr, &error));

  ASSERT_EQ(OpenDatabase(kTarget, targetPath, kMainTables), DbOpenResult::Ok);
  EXPECT_EQ(count(kTarget, "VOCUST"), 0);
}

}  // namespace

namespace {

TEST_F(Transfer, RowsTravelInTheAskedOrder) {
  ASSERT_TRUE(dbtest::exec(kSource, "INSERT INTO VOCUST (CUSTNO) VALUES ('b'), ('C'), ('a')"));
  QString error;
  ASSERT_TRUE(CopyTransferTable(kSource, kTarget, "VOCUST", nullptr, &error, {"custno", {}}));
  EXPECT_EQ(dbtest::scalar(kTarget,
                           "SELECT group_concat(CUSTNO, '') FROM "
                           "(SELECT CUSTNO FROM VOCUST ORDER BY MKEY)")
                .toString(),
            "abC");
  EXPECT_FALSE(CopyTransferTable(kSource, kTarget, "VOCUST", nullptr, &error, {"MKEY", {}}));
  EXPECT_EQ(count(kTarget, "VOCUST"), 3);
}

}  // namespace
