#include <gtest/gtest.h>
#include <unistd.h>

#include <QSqlRecord>
#include <algorithm>
#include <cmath>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/OldDatabaseMigration.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"

using namespace ruto;

// Readable failure output for texts and lists of texts.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QString kOld = QStringLiteral("OldFile");

QString sqlType(TransferType t) {
  switch (t) {
    case TransferType::Text:
      return "TEXT";
    case TransferType::Bytes:
      return "BLOB";
    case TransferType::Boolean:
    case TransferType::Long:
      return "INTEGER";
    default:
      return "REAL";
  }
}

// The four tables as an earlier version laid them out: no unique numbers, no links, and
// optionally without the two optional runs.
QStringList oldLayout(bool optionalRuns = true, const QString& leaveOut = {}) {
  QStringList out;
  for (const QString& table : kMainTables) {
    if (table == leaveOut) continue;
    QStringList columns{"MKEY INTEGER PRIMARY KEY AUTOINCREMENT"};
    for (const TransferColumn& c : TransferColumns(table))
      if ((optionalRuns || c.run == 0) && table + "." + c.name != leaveOut)
        columns << c.name + " " + sqlType(c.type);
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(", "));
  }
  return out;
}

// Each row's transfer columns as the target stores them, the number left out when asked;
// sorted, so that two tables compare as multisets.
QStringList dump(const QString& connection, const QString& table) {
  const QSqlRecord record = QSqlDatabase::database(connection, false).record(table);
  QStringList names;
  QList<TransferColumn> columns;
  for (const TransferColumn& c : TransferColumns(table)) {
    columns << c;
    names << (record.contains(c.name) ? c.name : QStringLiteral("NULL"));
  }
  QSqlQuery q(QSqlDatabase::database(connection, false));
  EXPECT_TRUE(q.exec(QStringLiteral("SELECT %1 FROM %2").arg(names.join(','), table)));
  QStringList rows;
  while (q.next()) {
    QStringList cells;
    for (int i = 0; i < columns.size(); ++i) {
      const QVariant v = q.value(i);
      const TransferColumn& c = columns[i];
      // Yes/no columns are never empty in the target.
      if (v.isNull() && c.type == TransferType::Boolean) {
        cells << "0";
        continue;
      }
      if (v.isNull()) {
        cells << "~";
        continue;
      }
      switch (c.type) {
        case TransferType::Text:
          // Numbers link without regard to case; details may take their master's spelling.
          cells << (c.name == "CUSTNO" || c.name == "ProNo" ? v.toString().toUpper()
                                                            : v.toString());
          break;
        case TransferType::Bytes:
          cells << QString::fromLatin1(v.toByteArray().toHex());
          break;
        case TransferType::Boolean:
          cells << (v.toDouble() != 0 ? "1" : "0");
          break;
        case TransferType::DateTime:
          // A test's date travels as text: whole seconds.
          cells << QString::number(c.access == TransferAccess::Text
                                       ? std::nearbyint(v.toDouble() * 86400.0)
                                       : v.toDouble(),
                                   'g', 17);
          break;
        case TransferType::Long:
          cells << QString::number(std::nearbyint(v.toDouble()));
          break;
        case TransferType::Double:
          cells << QString::number(v.toDouble(), 'g', 17);
          break;
      }
    }
    rows << cells.join('|');
  }
  rows.sort();
  return rows;
}

// The whole table as one text, for readable failure output.
std::string table(const QString& connection, const QString& name) {
  return dump(connection, name).join('\n').toStdString();
}

double when(int y, int m, int d, int h, int mi, int s) {
  return ruto::toOleDate(QDateTime(QDate(y, m, d), QTime(h, mi, s)));
}

}  // namespace

class Migration : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    putTemplate("ruto4.mdb");
    openMain();
  }
  void TearDown() override {
    CloseDatabase(kOld);
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }
  void openMain() {
    ASSERT_EQ(OpenDatabase(kMainConnection, path("ruto4.mdb"), kMainTables), DbOpenResult::Ok);
  }
  // Makes ruto.mdb from statements and keeps it open as kOld for reading it back.
  void makeOld(const QStringList& statements) {
    ASSERT_TRUE(dbtest::makeDatabase(path("ruto.mdb"), statements));
  }
  void openOld(const QString& name = "ruto_BAK.mdb") {
    ASSERT_EQ(OpenDatabase(kOld, path(name), kMainTables), DbOpenResult::Ok);
  }
  QStringList mainDump() const {
    QStringList out;
    for (const QString& t : kMainTables) out << t << dump(kMainConnection, t);
    return out;
  }
  MigrationResult migrate(std::function<bool(MigrationStep)> allowed = {}) {
    OldDatabaseMigration m(kMainConnection);
    m.progress = [this](int p) { positions << p; };
    m.stepAllowed = std::move(allowed);
    return m.run();
  }
  QStringList column(const QString& sql) const {
    QSqlQuery q(QSqlDatabase::database(kMainConnection, false));
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    QStringList out;
    while (q.next()) out << q.value(0).toString();
    return out;
  }
  // Old files recorded as copied in; the table may not exist yet.
  int migratedCount() const {
    return dbtest::scalar(kMainConnection,
                          "SELECT COUNT(*) FROM sqlite_master WHERE name = 'MIGRATED'")
                       .toInt() == 0
               ? 0
               : dbtest::scalar(kMainConnection, "SELECT COUNT(*) FROM MIGRATED").toInt();
  }
  QList<int> positions;
};

// Rows of every kind of value an earlier version stored.
QStringList completeRows() {
  const QString picture = "x'00424d0000ff00'";
  return {
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, TEL3, EMAIL, BTYPE, "
      "HEIGHT, WEIGHT, MEMO, CUSTCAT, CUSTFG, PrtFG) VALUES ('A001', '王小明', -1, 4000, "
      "'台北市信義路''一段''', '02-1234', '0912', NULL, 'a@b.tw', 'O', 172.5, 65.25, "
      "'第一行\r\n第二行', 'VIP', 'x', -1)",
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, PrtFG) VALUES ('b002', 'O''Brien', 0, "
      "4001, 0)",
      "INSERT INTO VOCUST (CUSTNO) VALUES ('C003')",
      QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1, AutoKey, VO1, VO12, VO24, "
                     "PrtFG) VALUES ('A001', %1, -1, '頭痛''s\r\n', '7', 12.5, 0, 4095, 0)")
          .arg(when(2003, 5, 6, 14, 22, 10), 0, 'g', 17),
      QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('a001', %1, 0)")
          .arg(when(2003, 5, 6, 23, 59, 59), 0, 'g', 17),
      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('b002', 0, 0)",
      "INSERT INTO VOPRO (ProNo, ProName, ProData, ProPict, ProScal, ProFN, ProScrp1, ProPrg1, "
      "ProParm4, PrtFG) VALUES ('P1', '安神', '說明''a''', " +
          picture + ", -1, '1010', '提示', '/usr/bin/true', '-x', 0)",
      "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P2', NULL)",
      "INSERT INTO VOPRDT (ProNo, ProSubN, ProNote, ProAnd, ProCond, ProEng, ProAGL, ProAGH, "
      "ProFlg, PrtFG) VALUES ('P1', '條件', NULL, '000000000000000000000001', "
      "'120000000000000000000000', 1.5, 17.5, 65, -1, 0)",
      "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('p1', 'second')",
  };
}

TEST_F(Migration, NothingToDoWithoutAnOldFile) {
  EXPECT_EQ(migrate().outcome, MigrationResult::NoOldDatabase);
  EXPECT_TRUE(positions.isEmpty());
}

// A good file: every old row arrives exactly once, the file becomes ruto_BAK.mdb unchanged
// (replacing an earlier one) and its hash is recorded with the rows.
TEST_F(Migration, GoodFilesArriveWholeAndExactlyOnce) {
  const struct {
    const char* name;
    bool optionalRuns;
  } cases[] = {{"complete", true}, {"without the optional runs", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    putMarker("ruto_BAK.mdb", "an earlier backup");
    QStringList rows = completeRows();
    if (!c.optionalRuns) {
      rows[6] = "INSERT INTO VOPRO (ProNo, ProName, ProPict) VALUES ('P1', '安神', x'0000')";
      rows[8] = "INSERT INTO VOPRDT (ProNo, ProEng, ProFlg) VALUES ('P1', 1.5, -1)";
    }
    makeOld(oldLayout(c.optionalRuns) + rows);
    const QByteArray original = content("ruto.mdb");
    const MigrationResult r = migrate();
    ASSERT_EQ(r.outcome, MigrationResult::Migrated) << r.message.toStdString();
    EXPECT_TRUE(r.renamed.isEmpty());
    EXPECT_EQ(QList<int>(std::begin(r.rowsAdded), std::end(r.rowsAdded)), QList<int>({3, 3, 2, 2}));
    EXPECT_FALSE(has("ruto.mdb"));
    EXPECT_EQ(content("ruto_BAK.mdb"), original);
    openOld();
    for (const QString& t : kMainTables) EXPECT_EQ(table(kMainConnection, t), table(kOld, t));
    EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT COUNT(*) FROM MIGRATED").toInt(), 1);
    if (c.optionalRuns) {
      EXPECT_EQ(dbtest::firstRow(kMainConnection,
                                 "SELECT NAME, SEX, DBIRTH, ADDR, TEL3, MEMO FROM VOCUST "
                                 "WHERE CUSTNO = 'A001'"),
                "王小明|1|4000|台北市信義路'一段'|<null>|第一行\r\n第二行");
      EXPECT_EQ(dbtest::scalar(kMainConnection, "SELECT hex(ProPict) FROM VOPRO WHERE ProNo='P1'"),
                "00424D0000FF00");
      EXPECT_EQ(dbtest::firstRow(kMainConnection,
                                 "SELECT ProAGL, ProAGH, ProFlg FROM VOPRDT WHERE ProEng = 1.5"),
                "18|65|1");
      EXPECT_EQ(column("SELECT VODATE FROM VODATA WHERE CUSTNO = 'A001' ORDER BY VODATE").size(),
                2);
    } else {
      EXPECT_EQ(
          dbtest::firstRow(kMainConnection, "SELECT ProFN, ProParm4 FROM VOPRO WHERE ProNo='P1'"),
          "<null>|<null>");
    }
    // Ready for the next case.
    CloseDatabase(kOld);
    CloseDatabase(kMainConnection);
    QFile::remove(path("ruto4.mdb"));
    putTemplate("ruto4.mdb");
    openMain();
  }
}

// The old file and an earlier backup are found whatever the case of their names.
TEST_F(Migration, NamesInAnyCase) {
  ASSERT_TRUE(dbtest::makeDatabase(path("RUTO.MDB"), oldLayout() + completeRows()));
  putMarker("RUTO_bak.MDB", "an earlier backup");
  const QByteArray original = content("RUTO.MDB");
  ASSERT_EQ(migrate().outcome, MigrationResult::Migrated);
  EXPECT_EQ(QDir(dir_.path()).entryList({"*.mdb", "*.MDB"}, QDir::Files, QDir::Name),
            QStringList({"RUTO_bak.MDB", "ruto4.mdb"}));
  EXPECT_EQ(content("RUTO_bak.MDB"), original);
}

// A damaged or foreign file changes nothing anywhere and says why, once.
TEST_F(Migration, DamagedFilesChangeNothing) {
  ASSERT_TRUE(dbtest::exec(kMainConnection,
                           "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('M1', 'Main client')"));
  QByteArray good;
  {
    makeOld(oldLayout() + completeRows());
    good = content("ruto.mdb");
    QFile::remove(path("ruto.mdb"));
  }
  QByteArray random(4096, '\0');
  for (int i = 0; i < random.size(); ++i) random[i] = char((i * 7919 + 13) % 251);
  QByteArray jet(2048, '\0');
  jet.replace(4, 15, "Standard Jet DB");
  QByteArray truncated = good.left(good.size() / 2 + 100);
  const struct {
    const char* name;
    QByteArray bytes;        // the file as it is, or
    QStringList statements;  // the statements that make it
    const char* reason;
  } cases[] = {
      {"truncated", truncated, {}, "損壞"},
      {"random bytes", random, {}, "不是本系統的資料庫"},
      {"Jet header", jet, {}, "Jet"},
      {"zero length", QByteArray(""), {}, "空的"},
      {"missing table", {}, oldLayout(true, "VOPRDT"), "缺少資料表 VOPRDT"},
      {"missing column", {}, oldLayout(true, "VOCUST.NAME"), "缺少欄位 NAME"},
      {"view instead of a table",
       {},
       oldLayout(true, "VOPRO") << "CREATE VIEW VOPRO AS SELECT 1 AS ProNo",
       "缺少資料表 VOPRO"},
      {"a date that does not convert",
       {},
       oldLayout() + completeRows()
           << "INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('A001', 'soon')",
       "VODATE"},
  };
  const QStringList before = mainDump();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    putMarker("ruto_BAK.mdb", "an earlier backup");
    if (c.statements.isEmpty())
      putMarker("ruto.mdb", c.bytes);
    else
      makeOld(c.statements);
    const QByteArray original = content("ruto.mdb");
    asked_.clear();
    const MigrationResult r = migrate();
    EXPECT_EQ(r.outcome, MigrationResult::Refused);
    EXPECT_TRUE(r.message.startsWith("舊版資料庫 ruto.mdb 無法轉換：")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.reason))) << r.message.toStdString();
    EXPECT_TRUE(r.message.endsWith("。原檔案保留，資料未變更。"));
    EXPECT_EQ(content("ruto.mdb"), original);
    EXPECT_EQ(content("ruto_BAK.mdb"), "an earlier backup");
    EXPECT_EQ(mainDump(), before);
    EXPECT_EQ(migratedCount(), 0);
    QFile::remove(path("ruto.mdb"));
  }
}

// Numbers that meet: same name merges, another name moves to a free "-n" number (its tests
// following), and a second run of the same rows adds nothing.
TEST_F(Migration, DuplicateNumbersKeepEveryRowOnce) {
  const QStringList mainRows = {
      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K1', '張三')",
      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '李四')",
      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2-2', '王五')",
      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 100, 0, 1)",
      "INSERT INTO VOPRO (ProNo, ProName) VALUES ('ABCDEFGHIJKL', 'long')",
  };
  for (const QString& s : mainRows) ASSERT_TRUE(dbtest::exec(kMainConnection, s));
  makeOld(oldLayout() +
          QStringList{
              // same number and name as stored, case aside: merges
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('k1', ' 張三 ')",
              // K2 is someone else; K2-2 is taken too: goes to K2-3
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '趙六')",
              // another name already moved earlier to K2-2: merges there
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '王五')",
              // twice inside the old file
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Same')",
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Same')",
              "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Other')",
              // stored test again (skipped) and a new one (added)
              "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 100, 0, 1)",
              "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 200, 0, 1)",
              "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('k2', 300, 0)",
              "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('N1', 400, 0)",
              "INSERT INTO VOPRO (ProNo, ProName) VALUES ('abcdefghijkl', 'other')",
              "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('ABCDEFGHIJKL', 'c')",
          });
  const MigrationResult r = migrate();
  ASSERT_EQ(r.outcome, MigrationResult::Migrated) << r.message.toStdString();
  EXPECT_EQ(r.renamed,
            QStringList({"K2 → K2-3", "K2 → K2-2", "N1 → N1-2", "abcdefghijkl → abcdefghij-2"}));
  EXPECT_TRUE(r.renamedMessage.contains("K2 → K2-3\nK2 → K2-2\nN1 → N1-2\n"))
      << r.renamedMessage.toStdString();
  EXPECT_EQ(column("SELECT CUSTNO || ':' || NAME FROM VOCUST ORDER BY CUSTNO"),
            QStringList({"K1:張三", "K2:李四", "K2-2:王五", "K2-3:趙六", "N1:Same", "N1-2:Other"}));
  EXPECT_EQ(
      column("SELECT upper(CUSTNO) || ':' || CAST(VODATE AS INTEGER) FROM VODATA ORDER BY VODATE"),
      QStringList({"K1:100", "K1:200", "K2-3:300", "N1:400"}));
  EXPECT_EQ(column("SELECT ProNo FROM VOPRDT"), QStringList({"abcdefghij-2"}));
}

// Tests and conditions whose client or program is missing come over as they are.
TEST_F(Migration, RowsWithoutTheirClientOrProgramArriveAsTheyAre) {
  makeOld(oldLayout() +
          QStringList{"INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('X9', 1, 0)",
                      "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('Q9', 'c')"});
  const MigrationResult r = migrate();
  ASSERT_EQ(r.outcome, MigrationResult::Migrated) << r.message.toStdString();
  EXPECT_EQ(column("SELECT CUSTNO FROM VODATA"), QStringList({"X9"}));
  EXPECT_EQ(column("SELECT ProNo FROM VOPRDT"), QStringList({"Q9"}));
}

// 300 clients: the bar starts at 9 before the first row, is full at the 259th client and
// stays full.
TEST_F(Migration, ProgressFollowsTheRows) {
  QStringList rows = oldLayout();
  for (int i = 1; i <= 300; ++i)
    rows << QStringLiteral("INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('C%1', 'n')").arg(i);
  rows << "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('C1', 1, 0)";
  makeOld(rows);
  ASSERT_EQ(migrate().outcome, MigrationResult::Migrated);
  ASSERT_GE(positions.size(), 4 + 300);
  EXPECT_EQ(positions.mid(0, 5), QList<int>({0, 3, 6, 9, 14}));
  EXPECT_EQ(positions.indexOf(kMigrationBarMax), 3 + 259);
  EXPECT_EQ(positions.at(3 + 258), 9 + 5 * 258);
  EXPECT_TRUE(std::all_of(positions.begin() + 3 + 259, positions.end(),
                          [](int p) { return p == kMigrationBarMax; }));
}

// An interruption at any step, then a new start: each old row exactly once.
TEST_F(Migration, InterruptedAtAnyStepThenStartedAgain) {
  const MigrationStep steps[] = {MigrationStep::PrivateCopy, MigrationStep::Check,
                                 MigrationStep::CopyClients, MigrationStep::CopyPrograms,
                                 MigrationStep::RecordHash,  MigrationStep::Commit,
                                 MigrationStep::Rename};
  makeOld(oldLayout() + completeRows());
  const QByteArray original = content("ruto.mdb");
  ASSERT_TRUE(dbtest::makeDatabase(path("expected.mdb"), oldLayout() + completeRows()));
  for (MigrationStep step : steps) {
    SCOPED_TRACE(static_cast<int>(step));
    const MigrationResult first = migrate([step](MigrationStep s) { return s != step; });
    EXPECT_NE(first.outcome, MigrationResult::Migrated);
    const bool afterCommit = step == MigrationStep::Rename;
    EXPECT_EQ(first.outcome, afterCommit ? MigrationResult::NotRenamed : MigrationResult::Failed);
    EXPECT_EQ(content("ruto.mdb"), original);
    const MigrationResult again = migrate();
    EXPECT_EQ(again.outcome, afterCommit ? MigrationResult::RenameOnly : MigrationResult::Migrated);
    EXPECT_EQ(content("ruto_BAK.mdb"), original);
    ASSERT_EQ(OpenDatabase(kOld, path("expected.mdb"), kMainTables), DbOpenResult::Ok);
    for (const QString& t : kMainTables) EXPECT_EQ(table(kMainConnection, t), table(kOld, t));
    CloseDatabase(kOld);
    // Back to the start for the next step.
    ASSERT_TRUE(QFile::rename(path("ruto_BAK.mdb"), path("ruto.mdb")));
    CloseDatabase(kMainConnection);
    QFile::remove(path("ruto4.mdb"));
    putTemplate("ruto4.mdb");
    openMain();
  }
}

// The process killed before and after the commit: the next start still puts each row in once.
TEST_F(Migration, KilledThenStartedAgain) {
  makeOld(oldLayout() + completeRows());
  ASSERT_TRUE(dbtest::makeDatabase(path("expected.mdb"), oldLayout() + completeRows()));
  for (MigrationStep killAt : {MigrationStep::Commit, MigrationStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(killAt));
    CloseDatabase(kMainConnection);
    EXPECT_EXIT(
        {
          openMain();
          migrate([killAt](MigrationStep s) {
            if (s == killAt) _exit(7);
            return true;
          });
          _exit(0);
        },
        ::testing::ExitedWithCode(7), "");
    openMain();
    EXPECT_TRUE(has("ruto.mdb"));
    const MigrationResult again = migrate();
    EXPECT_EQ(again.outcome, killAt == MigrationStep::Rename ? MigrationResult::RenameOnly
                                                             : MigrationResult::Migrated);
    ASSERT_EQ(OpenDatabase(kOld, path("expected.mdb"), kMainTables), DbOpenResult::Ok);
    for (const QString& t : kMainTables) EXPECT_EQ(table(kMainConnection, t), table(kOld, t));
    CloseDatabase(kOld);
    ASSERT_TRUE(QFile::rename(path("ruto_BAK.mdb"), path("ruto.mdb")));
    CloseDatabase(kMainConnection);
    QFile::remove(path("ruto4.mdb"));
    putTemplate("ruto4.mdb");
    openMain();
  }
}
