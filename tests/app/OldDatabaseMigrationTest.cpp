#include <gtest/gtest.h>
#include <unistd.h>

#include <variant>

#include <QSqlRecord>

#include "app/AppTestSupport.h"
#include "app/Databases.h"
#include "app/OldDatabaseMigration.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"

using namespace ruto;

namespace {

const QString kOld = QStringLiteral("OldFile");

// The four tables as an earlier version laid them out: no unique numbers, no links, maybe
// without the optional runs; `leaveOut` drops a table or a "TABLE.COLUMN".
QStringList oldLayout(bool optionalRuns = true, const QString& leaveOut = {}) {
  QStringList out;
  for (const QString& table : kMainTables) {
    QStringList columns{"MKEY INTEGER PRIMARY KEY AUTOINCREMENT"};
    for (const TransferColumn& c : TransferColumns(table))
      if ((optionalRuns || c.run == 0) && table + "." + c.name != leaveOut)
        columns << c.name + (c.type == TransferType::Text ? " TEXT" : "");
    if (table != leaveOut) out << "CREATE TABLE " + table + " (" + columns.join(", ") + ")";
  }
  return out;
}

// A table's rows by their transfer columns, sorted; `arriving` turns old values into what
// the main database stores. Numbers link without regard to case.
std::string dump(const QString& connection, const QString& table, bool arriving = false) {
  const QSqlRecord record = QSqlDatabase::database(connection, false).record(table);
  QSqlQuery q(QSqlDatabase::database(connection, false));
  EXPECT_TRUE(q.exec("SELECT * FROM " + table));
  QStringList rows;
  while (q.next()) {
    QStringList cells;
    for (const TransferColumn& c : TransferColumns(table)) {
      QVariant v = record.contains(c.name) ? q.value(c.name) : QVariant();
      if (arriving) {
        EXPECT_TRUE(ConvertTransferValue(c, QVariant(v), &v));
      }
      cells << (v.isNull()                      ? "~"
                : c.type == TransferType::Bytes ? QString(v.toByteArray().toHex())
                : c.type == TransferType::Text  ? v.toString().toUpper()
                                                : QString::number(v.toDouble(), 'g', 15));
    }
    rows << cells.join('|');
  }
  rows.sort();
  return rows.join('\n').toStdString();
}

QString when(int h, int m, int s) {
  return QString::number(toOleDate(QDateTime(QDate(2003, 5, 6), QTime(h, m, s))), 'g', 17);
}

// Rows of every kind of value an earlier version stored, tests and conditions without a
// client or program among them.
QStringList completeRows() {
  return {
      "INSERT INTO VOCUST VALUES (NULL, 'A001', '王小明', -1, 4000, '台北市''一段''', "
      "'02-1234', '0912', NULL, 'a@b.tw', 'O', 172.5, 65.25, '第一行\r\n第二行', 'VIP', "
      "'x', -1)",
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH) VALUES ('b002', 'O''Brien', 0, 4001)",
      "INSERT INTO VOCUST (CUSTNO) VALUES ('C003')",
      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1, AutoKey, VO1, VO24, PrtFG) VALUES "
      "('A001', " +
          when(14, 22, 10) + ", -1, '頭痛''s\r\n', '7', 12.5, 4095, 0)",
      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('a001', " + when(23, 59, 59) + ", 0)",
      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('X9', 0, 0)",
      "INSERT INTO VOPRO (ProNo, ProName, ProData, ProPict, ProScal, ProFN, ProPrg1, "
      "ProParm4) VALUES ('P1', '安神', '說明''a''', x'00424d0000ff00', -1, '1010', "
      "'/usr/bin/true', '-x')",
      "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P2', NULL)",
      "INSERT INTO VOPRDT (ProNo, ProSubN, ProAnd, ProCond, ProEng, ProAGL, ProAGH, ProFlg) "
      "VALUES ('P1', '條件', '000000000000000000000001', '12', 1.5, 17.5, 65, -1)",
      "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('p1', 'second')",
      "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('Q9', 'no program')"};
}

}  // namespace

class Migration : public InstallFolderTest {
 protected:
  void SetUp() override {
    InstallFolderTest::SetUp();
    freshMain();
  }
  void TearDown() override {
    CloseDatabase(kOld);
    CloseDatabase(kMainConnection);
    InstallFolderTest::TearDown();
  }
  void freshMain() {
    CloseDatabase(kMainConnection);
    QFile::remove(path("ruto4.mdb"));
    putTemplate("ruto4.mdb");
    openMain();
  }
  void openMain() {
    ASSERT_EQ(OpenDatabase(kMainConnection, path("ruto4.mdb"), kMainTables), DbOpenResult::Ok);
  }
  void makeOld(const QStringList& statements, const QString& name = "ruto.mdb") {
    ASSERT_TRUE(dbtest::makeDatabase(path(name), statements));
  }
  MigrationResult migrate(std::function<bool(MigrationStep)> allowed = {}) {
    OldDatabaseMigration m(kMainConnection);
    m.progress = [this](int p) { positions << p; };
    m.stepAllowed = std::move(allowed);
    return m.run();
  }
  // The main tables hold exactly the rows of the old file `name`, as they arrive.
  void expectMainHoldsOnce(const QString& name) {
    ASSERT_EQ(OpenDatabase(kOld, path(name), kMainTables), DbOpenResult::Ok);
    for (const QString& t : kMainTables) EXPECT_EQ(dump(kMainConnection, t), dump(kOld, t, true));
    CloseDatabase(kOld);
  }
  // The number of recorded migrations.
  static int migrated() {
    return dbtest::scalar(kMainConnection, "SELECT COUNT(*) FROM MIGRATED").toInt();
  }
  std::string mainTables() const {
    std::string out;
    for (const QString& t : kMainTables) out += dump(kMainConnection, t) + "\n";
    return out;
  }
  // The first column of every row, joined by blanks.
  std::string column(const QString& sql) const {
    QSqlQuery q(QSqlDatabase::database(kMainConnection, false));
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    QStringList out;
    while (q.next()) out << q.value(0).toString();
    return out.join(' ').toStdString();
  }
  QList<int> positions;
};

// A good file: every old row arrives exactly once, the file becomes ruto_BAK.mdb unchanged
// (replacing an earlier one, names in any case) and its hash is recorded with the rows.
TEST_F(Migration, GoodFilesArriveWholeAndExactlyOnce) {
  EXPECT_EQ(migrate().outcome, MigrationResult::NoOldDatabase);
  const std::tuple<const char*, bool, const char*, const char*> cases[] = {
      {"complete", true, "ruto.mdb", "ruto_BAK.mdb"},
      {"without the optional runs", false, "ruto.mdb", "ruto_BAK.mdb"},
      {"names in another case", true, "RUTO.MDB", "Ruto_bak.MDB"}};
  for (const auto& [name, optionalRuns, file, backup] : cases) {
    SCOPED_TRACE(name);
    putMarker(backup, "an earlier backup");
    QStringList rows = completeRows();
    if (!optionalRuns) {
      rows[6] = "INSERT INTO VOPRO (ProNo, ProName, ProPict) VALUES ('P1', '安神', x'0000')";
      rows[8] = "INSERT INTO VOPRDT (ProNo, ProEng, ProFlg) VALUES ('P1', 1.5, -1)";
    }
    makeOld(oldLayout(optionalRuns) + rows, file);
    const QByteArray original = content(file);
    const MigrationResult r = migrate();
    ASSERT_EQ(r.outcome, MigrationResult::Migrated) << r.message.toStdString();
    EXPECT_TRUE(r.renamed.isEmpty());
    EXPECT_EQ(QList<int>(std::begin(r.rowsAdded), std::end(r.rowsAdded)), QList<int>({3, 3, 2, 3}));
    const QStringList files =
        QDir(dir_.path()).entryList({"*.mdb", "*.MDB"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    EXPECT_EQ(files.join(' ').toStdString(), "ruto4.mdb " + std::string(backup));
    EXPECT_EQ(content(backup), original);
    expectMainHoldsOnce(backup);
    EXPECT_EQ(migrated(), 1);
    EXPECT_EQ(dbtest::firstRow(kMainConnection,
                               "SELECT NAME, SEX, DBIRTH, ADDR, TEL3, MEMO FROM VOCUST "
                               "WHERE CUSTNO = 'A001'"),
              "王小明|1|4000|台北市'一段'|<null>|第一行\r\n第二行");
    QStringList dates;  // to the second
    for (const QString& d :
         QString::fromStdString(
             column("SELECT VODATE FROM VODATA WHERE VODATE > 0 ORDER BY VODATE"))
             .split(' '))
      dates << formatOleDateTime(d.toDouble());
    EXPECT_EQ(dates.join('|').toStdString(), "2003/05/06 14:22:10|2003/05/06 23:59:59");
    EXPECT_EQ(dbtest::firstRow(kMainConnection,
                               "SELECT hex(ProPict), ProFN, ProParm4 FROM VOPRO "
                               "WHERE ProNo = 'P1'"),
              optionalRuns ? "00424D0000FF00|1010|-x" : "0000|<null>|<null>");
    if (optionalRuns) {
      EXPECT_EQ(dbtest::firstRow(kMainConnection,
                                 "SELECT ProAGL, ProAGH, ProFlg FROM VOPRDT WHERE ProEng = 1.5"),
                "18|65|1");
    }
    freshMain();
    QFile::remove(path(backup));
  }
}

// A damaged or foreign file changes nothing anywhere and says why, once.
TEST_F(Migration, DamagedFilesChangeNothing) {
  ASSERT_TRUE(
      dbtest::exec(kMainConnection, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('M1', 'x')"));
  makeOld(oldLayout() + completeRows(), "good.mdb");
  const QByteArray good = content("good.mdb");
  QByteArray random(4096, '\0'), jet(2048, '\0');
  for (int i = 0; i < random.size(); ++i) random[i] = char((i * 7919 + 13) % 251);
  jet.replace(4, 15, "Standard Jet DB");
  const auto all = [](const char* more) { return oldLayout() + completeRows() << more; };
  // The file as it is, or the statements that make it.
  const std::tuple<const char*, std::variant<QByteArray, QStringList>, const char*> cases[] = {
      {"truncated", good.left(good.size() / 2 + 100), "損壞"},
      {"random bytes", random, "不是本系統的資料庫"},
      {"Jet header", jet, "Jet"},
      {"zero length", QByteArray(""), "空的"},
      {"missing table", oldLayout(true, "VOPRDT"), "缺少資料表 VOPRDT"},
      {"missing column", oldLayout(true, "VOCUST.NAME"), "缺少欄位 NAME"},
      {"a view in place of a table",
       oldLayout(true, "VOPRO") << "CREATE VIEW VOPRO AS SELECT 1 AS ProNo", "缺少資料表 VOPRO"},
      {"a date that does not convert",
       all("INSERT INTO VODATA (CUSTNO, VODATE) VALUES ('A001', 'x')"), "VODATE"},
      {"a name longer than its column",
       all("INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('D4', printf('%51s', 'x'))"),
       "資料表 VOCUST 第 4 筆資料的欄位 NAME 超過 50 個字元"},
      {"bytes that are no text", all("UPDATE VOPRO SET ProName = CAST(x'FF' AS TEXT)"),
       "資料表 VOPRO 第 1 筆資料的欄位 ProName 不是有效的文字"}};
  const std::string before = mainTables();
  for (const auto& [name, file, reason] : cases) {
    SCOPED_TRACE(name);
    putMarker("ruto_BAK.mdb", "an earlier backup");
    QFile::remove(path("ruto.mdb"));
    if (const auto* bytes = std::get_if<QByteArray>(&file))
      putMarker("ruto.mdb", *bytes);
    else
      makeOld(std::get<QStringList>(file));
    const QByteArray original = content("ruto.mdb");
    const MigrationResult r = migrate();
    EXPECT_EQ(r.outcome, MigrationResult::Refused);
    EXPECT_TRUE(r.message.startsWith("舊版資料庫 ruto.mdb 無法轉換：")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(reason))) << r.message.toStdString();
    EXPECT_TRUE(r.message.endsWith("。原檔案保留，資料未變更。")) << r.message.toStdString();
    EXPECT_EQ(content("ruto.mdb"), original);
    EXPECT_EQ(content("ruto_BAK.mdb"), "an earlier backup");
    EXPECT_EQ(mainTables(), before);
    EXPECT_EQ(migrated(), 0);
  }
}

// Numbers that meet: same name merges, another name moves to a free "-n" number (its tests
// following), and a stored test is not added twice.
TEST_F(Migration, DuplicateNumbersKeepEveryRowOnce) {
  for (const char* s : {"INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K1', '張三')",
                        "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '李四')",
                        "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2-2', '王五')",
                        "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 100, 0, 1)",
                        "INSERT INTO VOPRO (ProNo, ProName) VALUES ('ABCDEFGHIJKL', 'long')"})
    ASSERT_TRUE(dbtest::exec(kMainConnection, s));
  makeOld(oldLayout() +
          QStringList{"INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('k1', ' 張三 ')",
                      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '趙六')",
                      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K2', '王五')",
                      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Same')",
                      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Same')",
                      "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('N1', 'Other')",
                      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 100, 0, 1)",
                      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, VO1) VALUES ('K1', 200, 0, 1)",
                      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('k2', 300, 0)",
                      "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('N1', 400, 0)",
                      "INSERT INTO VOPRO (ProNo, ProName) VALUES ('abcdefghijkl', 'other')",
                      "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('ABCDEFGHIJKL', 'c')"});
  const MigrationResult r = migrate();
  ASSERT_EQ(r.outcome, MigrationResult::Migrated) << r.message.toStdString();
  EXPECT_EQ(r.renamed,
            QStringList({"K2 → K2-3", "K2 → K2-2", "N1 → N1-2", "abcdefghijkl → abcdefghij-2"}));
  EXPECT_TRUE(
      r.renamedMessage.endsWith("K2 → K2-3\nK2 → K2-2\nN1 → N1-2\nabcdefghijkl → "
                                "abcdefghij-2"));
  EXPECT_EQ(column("SELECT CUSTNO || ':' || NAME FROM VOCUST ORDER BY CUSTNO"),
            "K1:張三 K2:李四 K2-2:王五 K2-3:趙六 N1:Same N1-2:Other");
  EXPECT_EQ(column("SELECT upper(CUSTNO) || ':' || CAST(VODATE AS INTEGER) FROM VODATA "
                   "ORDER BY VODATE"),
            "K1:100 K1:200 K2-3:300 N1:400");
  EXPECT_EQ(column("SELECT ProNo FROM VOPRDT"), "abcdefghij-2");
}

// 300 clients: the bar is at 9 before the first row, full at the 259th client, and stays full.
TEST_F(Migration, ProgressFollowsTheRows) {
  QStringList rows = oldLayout();
  for (int i = 1; i <= 300; ++i)
    rows << QStringLiteral("INSERT INTO VOCUST (CUSTNO) VALUES ('C%1')").arg(i);
  rows << "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA) VALUES ('C1', 1, 0)";
  makeOld(rows);
  ASSERT_EQ(migrate().outcome, MigrationResult::Migrated);
  EXPECT_EQ(positions.mid(0, 5), QList<int>({0, 3, 6, 9, 14}));
  EXPECT_EQ(positions.at(3 + 258), 9 + 5 * 258);
  EXPECT_EQ(positions.indexOf(kMigrationBarMax), 3 + 259);
  EXPECT_EQ(positions.size() - positions.indexOf(kMigrationBarMax), 300 - 259 + 1 + 1 + 1 + 1);
}

// A failure at any step, or the process killed before or after the commit, then a new
// start: each old row exactly once.
TEST_F(Migration, InterruptedOrKilledThenStartedAgain) {
  using S = MigrationStep;
  const std::pair<MigrationStep, bool> cases[] = {
      {S::PrivateCopy, 0},  {S::Check, 0},      {S::CopyClients, 0},
      {S::CopyPrograms, 0}, {S::RecordHash, 0}, {S::Commit, 0},
      {S::Rename, 0},       {S::Commit, 1},     {S::Rename, 1}};
  makeOld(oldLayout() + completeRows());
  const QByteArray original = content("ruto.mdb");
  ASSERT_TRUE(QFile::copy(path("ruto.mdb"), path("expected.mdb")));
  for (const auto& c : cases) {
    const MigrationStep step = c.first;
    const bool kill = c.second;
    SCOPED_TRACE(static_cast<int>(step) * 10 + kill);
    const bool afterCommit = step == S::Rename;
    if (kill) {
      CloseDatabase(kMainConnection);
      EXPECT_EXIT(
          {
            openMain();
            migrate([&](MigrationStep s) {
              if (s == step) _exit(7);
              return true;
            });
            _exit(0);
          },
          ::testing::ExitedWithCode(7), "");
      openMain();
    } else {
      EXPECT_EQ(migrate([&](MigrationStep s) { return s != step; }).outcome,
                afterCommit ? MigrationResult::NotRenamed : MigrationResult::Failed);
    }
    EXPECT_EQ(content("ruto.mdb"), original);
    EXPECT_EQ(migrate().outcome,
              afterCommit ? MigrationResult::RenameOnly : MigrationResult::Migrated);
    EXPECT_EQ(content("ruto_BAK.mdb"), original);
    expectMainHoldsOnce("expected.mdb");
    ASSERT_TRUE(QFile::rename(path("ruto_BAK.mdb"), path("ruto.mdb")));
    freshMain();
  }
}
