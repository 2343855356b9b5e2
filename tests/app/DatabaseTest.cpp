#include <optional>

#include "app/AppTestSupport.h"
#include "app/Databases.h"

using namespace ruto;

const QString kConn = QStringLiteral("DatabaseTest");
using DatabaseOpen = dbtest::Fixture;

TEST_F(DatabaseOpen, RefusesFilesThatAreNoUsableSqliteDatabase) {
  QByteArray jet(2048, '\0'), damaged("SQLite format 3");
  jet.replace(4, 15, "Standard Jet DB");
  damaged.append('\0').append(QByteArray(600, '\xEE'));
  // The file's name, its bytes (none: the file is missing), the result.
  const std::tuple<const char*, std::optional<QByteArray>, DbOpenResult> cases[] = {
      {"missing.mdb", std::nullopt, DbOpenResult::Missing},
      {"empty.mdb", QByteArray(), DbOpenResult::NotSqlite},
      {"text.mdb", QByteArray("just some text, not a database at all"), DbOpenResult::NotSqlite},
      {"jet.mdb", jet, DbOpenResult::JetFile},
      {"damaged.mdb", damaged, DbOpenResult::Damaged}};
  opened_ << kConn;
  for (const auto& [name, data, expected] : cases) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(name);
    if (data) {
      ASSERT_TRUE(ruto::test::writeFile(path, *data));
    }
    QString detail;
    EXPECT_EQ(OpenDatabase(kConn, path, kMainTables, &detail), expected);
    EXPECT_TRUE(detail.contains(path)) << detail.toStdString();
    EXPECT_FALSE(QSqlDatabase::contains(kConn));
    EXPECT_EQ(QFile::exists(path), data.has_value()) << "opening must not create the file";
    EXPECT_EQ(ruto::test::readFile(path), data.value_or(QByteArray()))
        << "opening must not change the file";
  }
}

TEST_F(DatabaseOpen, ChecksRequiredTablesIgnoringCase) {
  const QString path = open(kConn, "ruto4.mdb");
  QString detail;
  EXPECT_EQ(OpenDatabase(kConn, path, {"vocust", "VoData"}, &detail), DbOpenResult::Ok);
  EXPECT_TRUE(detail.isEmpty());
  // A failed reopen leaves no connection behind, not the previous one.
  EXPECT_EQ(OpenDatabase(kConn, path, kReferenceTables, &detail), DbOpenResult::MissingTables);
  EXPECT_TRUE(detail.contains("VOMTDB"));
  EXPECT_FALSE(QSqlDatabase::contains(kConn));
}

TEST_F(DatabaseOpen, KeysAreNeverReusedAndNumbersAreUniqueIgnoringCase) {
  open(kConn, "VoSpa.mdb");
  for (const char* sql :
       {"INSERT INTO VOCUST (CUSTNO) VALUES ('A1'), ('A2')",
        "DELETE FROM VOCUST WHERE CUSTNO = 'A2'", "INSERT INTO VOCUST (CUSTNO) VALUES ('A3')",
        "INSERT INTO VOPRO (ProNo) VALUES ('P-x')"})
    ASSERT_TRUE(dbtest::exec(kConn, sql));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT MKEY FROM VOCUST WHERE CUSTNO = 'A3'").toInt(), 3);
  EXPECT_FALSE(dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO) VALUES ('a1')"));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT CUSTNO FROM VOCUST WHERE CUSTNO = 'a1'").toString(),
            "A1");
  EXPECT_FALSE(dbtest::exec(kConn, "INSERT INTO VOPRO (ProNo) VALUES ('p-X')"));
  // The database keeps no links: the program deletes a client's tests itself.
  ASSERT_TRUE(dbtest::exec(kConn, "INSERT INTO VODATA (CUSTNO) VALUES ('a1')"));
  ASSERT_TRUE(dbtest::exec(kConn, "DELETE FROM VOCUST WHERE CUSTNO = 'A1'"));
  EXPECT_EQ(dbtest::scalar(kConn, "SELECT COUNT(*) FROM VODATA").toInt(), 1);
}
