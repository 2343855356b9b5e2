#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "app/Database.h"
#include "app/Databases.h"

namespace {

const QString kConn = QStringLiteral("DatabaseTest");

class DatabaseOpen : public ::testing::Test {
 protected:
  void TearDown() override { CloseDatabase(kConn); }
  QTemporaryDir dir;
};

TEST_F(DatabaseOpen, RefusesFilesThatAreNoSqliteDatabase) {
  QString detail;
  const QString missing = dir.filePath("ruto4.mdb");
  EXPECT_EQ(OpenDatabase(kConn, missing, kMainTables, &detail), DbOpenResult::Missing);
  EXPECT_FALSE(QFile::exists(missing)) << "SQLite must not create the missing file";
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
  EXPECT_TRUE(detail.contains(missing));

  const QString empty = dir.filePath("empty.mdb");
  ASSERT_TRUE(ruto::test::writeFile(empty, {}));
  EXPECT_EQ(OpenDatabase(kConn, empty, kMainTables, &detail), DbOpenResult::NotSqlite);
  EXPECT_EQ(QFileInfo(empty).size(), 0);

  const QString text = dir.filePath("text.mdb");
  ASSERT_TRUE(ruto::test::writeFile(text, "just some text, not a database at all"));
  EXPECT_EQ(OpenDatabase(kConn, text, kMainTables, &detail), DbOpenResult::NotSqlite);

  QByteArray jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  ASSERT_TRUE(ruto::test::writeFile(dir.filePath("jet.mdb"), jet));
  EXPECT_EQ(OpenDatabase(kConn, dir.filePath("jet.mdb"), kMainTables, &detail),
            DbOpenResult::JetFile);
  jet.replace(4, 15, "Standard ACE DB");
  ASSERT_TRUE(ruto::test::writeFile(dir.filePath("ace.accdb"), jet));
  EXPECT_EQ(OpenDatabase(kConn, dir.filePath("ace.accdb"), kMainTables, &detail),
            DbOpenResult::JetFile);
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
}

TEST_F(DatabaseOpen, DamagedSqliteFileFailsToOpen) {
  QByteArray damaged("SQLite format 3");
  damaged.append('\0');
  damaged.append(QByteArray(600, '\xEE'));
  const QString path = dir.filePath("damaged.mdb");
  ASSERT_TRUE(ruto::test::writeFile(path, damaged));
  QString detail;
  EXPECT_EQ(OpenDatabase(kConn, path, kMainTables, &detail), DbOpenResult::OpenFailed);
  EXPECT_FALSE(detail.isEmpty());
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
}

TEST_F(DatabaseOpen, ChecksRequiredTablesIgnoringCase) {
  const QString path = dbtest::freshCopy(dir, "ruto4.mdb");
  ASSERT_FALSE(path.isEmpty());
  QString detail;
  EXPECT_EQ(OpenDatabase(kConn, path, kReferenceTables, &detail), DbOpenResult::MissingTables);
  EXPECT_TRUE(detail.contains("VOMTDB"));
  EXPECT_FALSE(QSqlDatabase::contains(kConn));

  EXPECT_EQ(OpenDatabase(kConn, path, {"vocust", "VoData"}, &detail), DbOpenResult::Ok);
  EXPECT_TRUE(detail.isEmpty());
  EXPECT_EQ(OpenDatabase(kConn, path, kMainTables, &detail), DbOpenResult::Ok);
  ASSERT_TRUE(QSqlDatabase::contains(kConn));
  EXPECT_EQ(dbtest::scalar(kConn, "PRAGMA foreign_keys").toInt(), 1);
  EXPECT_EQ(dbtest::scalar(kConn, "PRAGMA busy_timeout").toInt(), kBusyTimeoutMs);
  CloseDatabase(kConn);
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
  CloseDatabase(kConn);  // a second close is harmless
}

TEST_F(DatabaseOpen, ReopeningReplacesTheConnection) {
  const QString a = dbtest::freshCopy(dir, "a.mdb");
  const QString b = dbtest::freshCopy(dir, "b.mdb");
  ASSERT_EQ(OpenDatabase(kConn, a, kMainTables), DbOpenResult::Ok);
  ASSERT_EQ(OpenDatabase(kConn, b, kMainTables), DbOpenResult::Ok);
  EXPECT_EQ(QSqlDatabase::database(kConn, false).databaseName(), b);
  // A failed reopen leaves no connection behind, not the previous one.
  EXPECT_EQ(OpenDatabase(kConn, dir.filePath("none.mdb"), kMainTables), DbOpenResult::Missing);
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
}

TEST(TemplateDatabase, KeysAreNeverReusedAndNumbersAreUniqueIgnoringCase) {
  QTemporaryDir dir;
  const QString path = dbtest::freshCopy(dir, "VoSpa.mdb");
  ASSERT_EQ(OpenDatabase(kConn, path, kMainTables), DbOpenResult::Ok);
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('A1')"));
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('A2')"));
  ASSERT_TRUE(dbtest::exec(kConn, "DELETE FROM VOCUST WHERE CUSTNO = 'A2'"));
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('A3')"));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT MKEY FROM VOCUST WHERE CUSTNO = 'A3'").toInt(), 3);

  EXPECT_FALSE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('a1')"));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT CUSTNO FROM VOCUST WHERE CUSTNO = 'a1'").toString(),
            "A1");
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VOPRO (ProNo) VALUES ('P-x')"));
  EXPECT_FALSE(dbtest::exec(kConn, "INSERT INTO VOPRO (ProNo) VALUES ('p-X')"));

  // A test needs its client once the transaction ends; deleting the client takes its tests.
  EXPECT_FALSE(dbtest::exec(kConn, "INSERT INTO VODATA (CUSTNO) VALUES ('nobody')"));
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VODATA (CUSTNO) VALUES ('a1')"));
  ASSERT_TRUE(dbtest::exec(kConn, "DELETE FROM VOCUST WHERE CUSTNO = 'A1'"));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT COUNT(*) FROM VODATA").toInt(), 0);
  CloseDatabase(kConn);
}

}  // namespace
