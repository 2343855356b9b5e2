#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/MainSchema.h"

using namespace ruto;

namespace {

const QString kDb = QStringLiteral("SchemaTest");

// The tables as the first released schema made them: linked by cascading foreign keys,
// yes/no columns that could be null.
const QStringList kEarlierSchema = {
    "PRAGMA foreign_keys = ON",
    "CREATE TABLE VOCUST (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CUSTNO TEXT NOT NULL COLLATE "
    "NOCASE UNIQUE, NAME TEXT, SEX INTEGER, DBIRTH REAL, ADDR TEXT, TEL TEXT, TEL2 TEXT, TEL3 "
    "TEXT, EMAIL TEXT, BTYPE TEXT, HEIGHT REAL, WEIGHT REAL, MEMO TEXT, CUSTCAT TEXT, CUSTFG "
    "TEXT, PrtFG INTEGER)",
    "CREATE TABLE VODATA (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, CUSTNO TEXT NOT NULL COLLATE "
    "NOCASE REFERENCES VOCUST (CUSTNO) ON UPDATE CASCADE ON DELETE CASCADE DEFERRABLE "
    "INITIALLY DEFERRED, VODATE REAL, VOVOTA INTEGER, MEMO1 TEXT, MEMO2 TEXT, AutoKey TEXT, "
    "VO1 REAL, VO2 REAL, VO3 REAL, VO4 REAL, VO5 REAL, VO6 REAL, VO7 REAL, VO8 REAL, VO9 REAL, "
    "VO10 REAL, VO11 REAL, VO12 REAL, VO13 REAL, VO14 REAL, VO15 REAL, VO16 REAL, VO17 REAL, "
    "VO18 REAL, VO19 REAL, VO20 REAL, VO21 REAL, VO22 REAL, VO23 REAL, VO24 REAL, PrtFG "
    "INTEGER)",
    "CREATE TABLE VOPRO (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT NOT NULL COLLATE "
    "NOCASE UNIQUE, ProName TEXT, ProData TEXT, ProPict BLOB, ProScal INTEGER, ProFN TEXT, "
    "ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, ProScrp4 TEXT, ProPrg1 TEXT, ProPrg2 TEXT, "
    "ProPrg3 TEXT, ProPrg4 TEXT, ProParm1 TEXT, ProParm2 TEXT, ProParm3 TEXT, ProParm4 TEXT, "
    "PrtFG INTEGER)",
    "CREATE TABLE VOPRDT (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT NOT NULL COLLATE "
    "NOCASE REFERENCES VOPRO (ProNo) ON UPDATE CASCADE ON DELETE CASCADE DEFERRABLE INITIALLY "
    "DEFERRED, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, ProCond TEXT, ProEng REAL, ProAGL "
    "INTEGER, ProAGH INTEGER, ProFlg INTEGER, PrtFG INTEGER)",
    "CREATE INDEX VOCS1 ON VOCUST (NAME)", "CREATE INDEX VODT1 ON VODATA (CUSTNO, VODATE)",
    "CREATE INDEX VoProB ON VOPRO (ProName)", "CREATE INDEX VOPRDT_ProNo ON VOPRDT (ProNo)",
    "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, MEMO, PrtFG) VALUES "
    "('A1', '王', 1, 30000.5, 'm', NULL), ('b2', NULL, NULL, NULL, NULL, 1)",
    "INSERT INTO VODATA (MKEY, CUSTNO, VODATE, VOVOTA, VO1, VO24) VALUES "
    "(3, 'a1', 45000.25, 1, 12.5, 99), (9, 'B2', 0, NULL, NULL, 1)",
    // The highest key was deleted: it must not be handed out again.
    "INSERT INTO VODATA (MKEY, CUSTNO) VALUES (40, 'A1')", "DELETE FROM VODATA WHERE MKEY = 40",
    "INSERT INTO VOPRO (ProNo, ProName, ProPict, ProScal, ProFN) VALUES "
    "('P1', 'Calm', x'00FF', NULL, '1010')",
    "INSERT INTO VOPRDT (ProNo, ProCond, ProAGL, ProAGH, ProFlg) VALUES ('p1', '12', 18, 65, 1)"};

// Every row of every main table, keys included, as text.
QString everything() {
  QStringList out;
  for (const QString& table : kMainTables) {
    QSqlQuery q(QSqlDatabase::database(kDb));
    EXPECT_TRUE(q.exec("SELECT * FROM " + table + " ORDER BY MKEY"));
    const QSqlRecord r = q.record();
    while (q.next()) {
      QStringList row;
      for (int i = 0; i < r.count(); ++i)
        row << r.fieldName(i).toUpper() + '=' +
                   (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
      std::sort(row.begin(), row.end());  // column order is not relied on
      out << table + ':' + row.join(',');
    }
  }
  return out.join('\n');
}

class MainSchema : public dbtest::Fixture {
 protected:
  void openEarlier(QStringList statements = kEarlierSchema) {
    path = dir.filePath("ruto4.mdb");
    ASSERT_TRUE(dbtest::makeDatabase(path, statements));
    opened_ << kDb;
    ASSERT_EQ(OpenDatabase(kDb, path, kMainTables), DbOpenResult::Ok);
  }
  QString path;
};

}  // namespace

TEST(SqlScript, SplitsAtSemicolonsOutsideQuotesAndComments) {
  EXPECT_EQ(SplitSqlStatements("-- a; comment\nCREATE TABLE t (a TEXT DEFAULT ';');\n\n;"
                               "INSERT INTO \"x;y\" VALUES (1) -- tail;\n"),
            QStringList({"CREATE TABLE t (a TEXT DEFAULT ';')", "INSERT INTO \"x;y\" VALUES (1)"}));
  EXPECT_GE(MainSchemaStatements().size(), 8);
}

TEST_F(MainSchema, TheTemplateIsCurrentAndLinksNothing) {
  open(kDb, "VoSpa.mdb");
  EXPECT_TRUE(MainSchemaCurrent(kDb)) << "the template and the program carry one schema";
  bool rebuilt = true;
  ASSERT_TRUE(UpgradeMainSchema(kDb, &rebuilt));
  EXPECT_FALSE(rebuilt);
  // Orphan rows are stored as they are; yes/no columns default to 0 and are never null.
  EXPECT_TRUE(dbtest::exec(kDb, "INSERT INTO VODATA (CUSTNO) VALUES ('nobody')"));
  EXPECT_TRUE(dbtest::exec(kDb, "INSERT INTO VOPRDT (ProNo) VALUES ('none')"));
  EXPECT_FALSE(dbtest::exec(kDb, "INSERT INTO VOCUST (CUSTNO, SEX) VALUES ('c2', NULL)"));
  EXPECT_EQ(dbtest::firstRow(kDb, "SELECT COUNT(*), MIN(VOVOTA), MIN(PrtFG) FROM VODATA"), "1|0|0");
}

TEST_F(MainSchema, AnEarlierDatabaseIsRebuiltWithEveryRowAndKey) {
  openEarlier();
  const QString before = everything();
  EXPECT_FALSE(MainSchemaCurrent(kDb));
  bool rebuilt = false;
  QString error;
  ASSERT_TRUE(UpgradeMainSchema(kDb, &rebuilt, &error)) << error.toStdString();
  EXPECT_TRUE(rebuilt);
  EXPECT_TRUE(MainSchemaCurrent(kDb));
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM APPROVED"), 0);  // the table is made
  // Only the null yes/no values changed, to 0.
  QString expected = before;
  expected.replace("PRTFG=<null>", "PRTFG=0")
      .replace("SEX=<null>", "SEX=0")
      .replace("VOVOTA=<null>", "VOVOTA=0")
      .replace("PROSCAL=<null>", "PROSCAL=0");
  EXPECT_EQ(everything(), expected);

  // The links are gone, the next test key continues after the deleted one, and the file
  // survives a reopen as current.
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM pragma_foreign_key_list('VODATA')"), 0);
  EXPECT_TRUE(dbtest::exec(kDb, "DELETE FROM VOCUST WHERE CUSTNO = 'A1'"));
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM VODATA"), 2);
  EXPECT_TRUE(dbtest::exec(kDb, "INSERT INTO VODATA (CUSTNO) VALUES ('A1')"));
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT MAX(MKEY) FROM VODATA"), 41);
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM sqlite_master WHERE name LIKE 'earlier%'"),
            0);
  CloseDatabase(kDb);
  ASSERT_EQ(OpenDatabase(kDb, path, kMainTables), DbOpenResult::Ok);
  EXPECT_TRUE(MainSchemaCurrent(kDb));
}

TEST_F(MainSchema, ARebuildThatWouldLoseAColumnChangesNothing) {
  QStringList statements = kEarlierSchema;
  statements[1].replace("PrtFG INTEGER)", "PrtFG INTEGER, Extra TEXT)");
  // A column the earlier table lacked is simply added.
  statements[3].replace("ProFN TEXT, ", "");
  statements[statements.indexOf(QRegularExpression("INSERT INTO VOPRO.*"))] =
      "INSERT INTO VOPRO (ProNo) VALUES ('P1')";
  openEarlier(statements);
  const QString before = everything();
  QString error;
  EXPECT_FALSE(UpgradeMainSchema(kDb, nullptr, &error));
  EXPECT_TRUE(error.contains("Extra")) << error.toStdString();
  EXPECT_EQ(everything(), before);
  EXPECT_EQ(dbtest::scalar(kDb, "SELECT COUNT(*) FROM sqlite_master WHERE name LIKE 'earlier%'"),
            0);

  ASSERT_TRUE(dbtest::exec(kDb, "ALTER TABLE VOCUST DROP COLUMN Extra"));
  ASSERT_TRUE(UpgradeMainSchema(kDb, nullptr, &error)) << error.toStdString();
  EXPECT_EQ(dbtest::firstRow(kDb, "SELECT ProNo, ProFN, ProScal FROM VOPRO"), "P1|<null>|0");
}
